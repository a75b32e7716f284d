#include "batch/BatchDatesFrame.h"
#include "common/Clock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "support/PaysumTest.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace paysum {
namespace {

// The frame in a window of its own, with the confirm button that follows the transfer date.
// Today is 910505.
class BatchDatesFrameTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 5));
        window_ = new QDialog;
        frame_ = new BatchDatesFrame(window_);
        next_ = new QPushButton(window_);
        frame_->SetNextWidget(next_);
        auto* layout = new QVBoxLayout(window_);
        layout->addWidget(frame_);
        layout->addWidget(next_);
        Activate(window_);
    }

    QLineEdit* Box(int index) { return frame_->Text4[index]; }
    // Enters a box and replaces what it shows with `text`.
    void Type(int index, const QString& text) {
        Box(index)->setFocus(Qt::MouseFocusReason);
        Box(index)->selectAll();
        QTest::keyClicks(Box(index), text);
    }
    // The last message box: this text and title, no icon, only OK.
    void ExpectMessage(const QString& text, const QString& title = "PAYSUM") {
        ASSERT_GT(messages.Count(), 0u);
        EXPECT_EQ(messages.Last().text, text);
        EXPECT_EQ(messages.Last().title, title);
        EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
        EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    }

    QDialog* window_ = nullptr;  // deleted with the other windows by the fixture
    BatchDatesFrame* frame_ = nullptr;
    QPushButton* next_ = nullptr;
};

TEST_F(BatchDatesFrameTest, ProposalsEnterMovesAndStoredDatesComeBack) {
    // Nothing stored: today is proposed, then the login date.
    Box(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box(0)->selectedText(), "910505");
    QTest::keyClicks(Box(0), "910507");
    QTest::keyClick(Box(0), Qt::Key_Return);
    EXPECT_TRUE(Box(1)->hasFocus());
    EXPECT_EQ(Box(1)->selectedText(), "910507");
    QTest::keyClick(Box(1), Qt::Key_Enter);
    EXPECT_TRUE(next_->hasFocus());

    // One row, overwritten by the next store, blanks trimmed.
    EXPECT_TRUE(frame_->SaveBatchDates());
    Type(1, "91061 ");
    EXPECT_TRUE(frame_->SaveBatchDates());
    EXPECT_EQ(Rows("S_DAY"), QList<QStringList>({{"910507", "91061"}}));
    EXPECT_EQ(messages.Count(), 0u);

    // Entering a box shows the stored date again; leaving with the window keeps what was typed.
    Type(1, "910520");
    next_->setFocus();
    Box(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box(1)->text(), "91061");
    Type(0, "910601");
    QDialog other;
    Activate(&other);
    Activate(window_);
    EXPECT_EQ(Box(0)->text(), "910601");
    frame_->LoadBatchDates();
    EXPECT_EQ(Box(0)->text(), "910507");
}

TEST_F(BatchDatesFrameTest, ChecksRefuseInOrderWithMessageAndFocus) {
    const struct {
        const char* login;
        const char* transfer;
        const char* message;  // nullptr: accepted
        const char* title;
        int focus;
    } cases[] = {
        {"910504", "910505", "日期必須大於等於今天", "PAYSUM", 0},
        {"910230", "910505", "輸入日期錯誤!!", "輸入錯誤", 0},
        {"91050", "91050", "輸入日期錯誤!!", "輸入錯誤", 0},
        {"910505", "910230", "輸入日期錯誤!!", "輸入錯誤", 1},
        // Five characters fail the validity check before the length check is reached.
        {"910505", "91050", "輸入日期錯誤!!", "輸入錯誤", 1},
        {"910506", "910505", "轉帳日期中之年月日(yymmdd)應 大於等於 登錄日期!!", "輸入錯誤", 1},
        {"910505", "910505", nullptr, nullptr, 0},
        // Over the year end: 2003 has no 29 February, and the next year is later.
        {"911231", "920229", "輸入日期錯誤!!", "輸入錯誤", 1},
        {"911231", "920101", nullptr, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " / " + c.transfer);
        Type(0, QString::fromUtf8(c.login));
        Type(1, QString::fromUtf8(c.transfer));
        next_->setFocus();
        messages.Clear();
        EXPECT_EQ(frame_->CheckBatchDates(), c.message == nullptr);
        if (!c.message) {
            EXPECT_EQ(messages.Count(), 0u);
            continue;
        }
        EXPECT_EQ(messages.Count(), 1u);
        ExpectMessage(QString::fromUtf8(c.message), QString::fromUtf8(c.title));
        EXPECT_TRUE(Box(c.focus)->hasFocus());
    }
}

TEST_F(BatchDatesFrameTest, StoreErrorsAreShown) {
    Box(1)->setValidator(nullptr);
    Box(1)->setMaxLength(7);
    Box(1)->setText("9105051");  // wider than its column
    next_->setFocus();
    EXPECT_FALSE(frame_->SaveBatchDates());
    ExpectMessage("輸入欄位超出");
    EXPECT_TRUE(Box(1)->hasFocus());
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DROP TABLE S_DAY"));
    EXPECT_FALSE(frame_->SaveBatchDates());
    ExpectMessage("不可預期的錯誤");
}

}  // namespace
}  // namespace paysum
