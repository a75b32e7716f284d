#include "batch/BatchDatesFrame.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "platform/Clock.h"
#include "support/PaysumTest.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace paysum {
namespace {

// The frame in a window of its own, with the confirm button that follows the transfer date.
class BatchDatesFrameTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 5));
        window_ = std::make_unique<QDialog>();
        frame_ = new BatchDatesFrame(window_.get());
        next_ = new QPushButton(window_.get());
        frame_->SetNextWidget(next_);
        auto* layout = new QVBoxLayout(window_.get());
        layout->addWidget(frame_);
        layout->addWidget(next_);
        Activate(window_.get());
    }
    void TearDown() override {
        window_.reset();
        PaysumTest::TearDown();
    }

    static void Activate(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QLineEdit* Box(int index) { return frame_->Text4[index]; }
    // Enters a box and replaces what it shows with `text`.
    void Type(int index, const QString& text) {
        Box(index)->setFocus(Qt::MouseFocusReason);
        Box(index)->selectAll();
        QTest::keyClicks(Box(index), text);
    }

    std::unique_ptr<QDialog> window_;
    BatchDatesFrame* frame_ = nullptr;
    QPushButton* next_ = nullptr;
};

TEST_F(BatchDatesFrameTest, ProposesTodayThenTheLoginDateAndEnterMovesOn) {
    Box(0)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box(0)->selectedText(), QStringLiteral("910505"));
    QTest::keyClicks(Box(0), QStringLiteral("910507"));
    QTest::keyClick(Box(0), Qt::Key_Return);
    EXPECT_TRUE(Box(1)->hasFocus());
    EXPECT_EQ(Box(1)->selectedText(), QStringLiteral("910507"));
    QTest::keyClick(Box(1), Qt::Key_Enter);
    EXPECT_TRUE(next_->hasFocus());
}

TEST_F(BatchDatesFrameTest, EnteringABoxShowsTheStoredDateAgain) {
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910510"), QStringLiteral("910512")});
    frame_->LoadBatchDates();
    EXPECT_EQ(Box(0)->text(), QStringLiteral("910510"));
    Type(1, QStringLiteral("910520"));
    next_->setFocus();
    Box(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Box(1)->text(), QStringLiteral("910512"));

    // Leaving with the window and coming back keeps what was typed.
    Type(0, QStringLiteral("910601"));
    QDialog other;
    Activate(&other);
    Activate(window_.get());
    EXPECT_EQ(Box(0)->text(), QStringLiteral("910601"));
}

TEST_F(BatchDatesFrameTest, ChecksRefuseWithMessageAndFocus) {
    const struct {
        const char* login;
        const char* transfer;
        const char* message;
        const char* title;
        int focus;
    } cases[] = {
        {"910504", "910505", "日期必須大於等於今天", "PAYSUM", 0},
        {"910230", "910505", "輸入日期錯誤!!", "輸入錯誤", 0},
        {"910505", "910230", "輸入日期錯誤!!", "輸入錯誤", 1},
        {"910506", "910505", "轉帳日期中之年月日(yymmdd)應 大於等於 登錄日期!!", "輸入錯誤", 1},
    };
    for (const auto& c : cases) {
        Type(0, QString::fromUtf8(c.login));
        Type(1, QString::fromUtf8(c.transfer));
        next_->setFocus();
        messages.Clear();
        EXPECT_FALSE(frame_->CheckBatchDates());
        ASSERT_EQ(messages.Count(), 1u);
        EXPECT_EQ(messages.Last().text, QString::fromUtf8(c.message));
        EXPECT_EQ(messages.Last().title, QString::fromUtf8(c.title));
        EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
        EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
        EXPECT_TRUE(Box(c.focus)->hasFocus()) << c.message;
    }
}

TEST_F(BatchDatesFrameTest, TodayIsAcceptedStoredAndOverwrittenAndStoreErrorsShown) {
    Type(0, QStringLiteral("910505"));
    Type(1, QStringLiteral("910505"));
    EXPECT_TRUE(frame_->CheckBatchDates());
    EXPECT_TRUE(frame_->SaveBatchDates());
    Type(1, QStringLiteral("91061 "));
    EXPECT_TRUE(frame_->SaveBatchDates());
    EXPECT_EQ(Rows(QStringLiteral("S_DAY")),
              QList<QStringList>({{QStringLiteral("910505"), QStringLiteral("91061")}}));
    EXPECT_EQ(messages.Count(), 0u);

    Box(1)->setMaxLength(7);
    Box(1)->setText(QStringLiteral("9105051"));  // wider than its column
    next_->setFocus();
    EXPECT_FALSE(frame_->SaveBatchDates());
    EXPECT_EQ(messages.Last().text, QStringLiteral("輸入欄位超出"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_TRUE(Box(1)->hasFocus());
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), QStringLiteral("DROP TABLE S_DAY")));
    EXPECT_FALSE(frame_->SaveBatchDates());
    EXPECT_EQ(messages.Last().text, QStringLiteral("不可預期的錯誤"));
}

}  // namespace
}  // namespace paysum
