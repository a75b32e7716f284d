#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/Form3.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "support/PaysumTest.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

class Form3Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 3));
        path_ = DataDir() + QStringLiteral("/BATCH.txt");
        InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("123"), QStringLiteral("大安實業"),
                                             QStringLiteral("045"), QStringLiteral("12345678")});
        SetFileDialogHook([this](const FileDialogRequest& request) {
            requests_.push_back(request);
            return answer_;
        });
    }

    void TearDown() override {
        window_.reset();
        PaysumTest::TearDown();
    }

    // The two transfers of the worked example.
    void WorkedExample() {
        InsertRow(QStringLiteral("S_ITEM"),
                  {QStringLiteral("00001"), QStringLiteral("123016456789"), QStringLiteral("35000"),
                   QStringLiteral("王小明"), QStringLiteral("00012345")});
        InsertRow(QStringLiteral("S_ITEM"),
                  {QStringLiteral("00002"), QStringLiteral("012345678901"),
                   QStringLiteral("120500"), QStringLiteral("陳美玲"), QStringLiteral("")});
    }

    Form3* Open() {
        window_ = std::make_unique<Form3>();
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return window_.get();
    }

    QLineEdit* Box(int index) {
        return Find<QLineEdit>(window_.get(), QStringLiteral("Text4_%1").arg(index));
    }
    void Confirm() {
        QTest::mouseClick(Find<QPushButton>(window_.get(), QStringLiteral("Command2_0")),
                          Qt::LeftButton);
    }
    QByteArray FileContents() {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

    std::unique_ptr<Form3> window_;
    QString path_;
    QString answer_;
    std::vector<FileDialogRequest> requests_;
};

TEST_F(Form3Test, CountAndAmountCaptions) {
    WorkedExample();
    Form3* window = Open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("5. 產生整批薪資轉帳檔"));
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("Label1"))->text(),
              QStringLiteral("產生整批薪資轉帳檔"));
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("Label2"))->text(),
              QStringLiteral("合計　筆數：    ") + QString(10, u' ') + QStringLiteral("2　筆"));
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("Label3"))->text(),
              QStringLiteral("　　　金額：") + QString(8, u' ') + QStringLiteral("155,500　元"));
    EXPECT_EQ(Find<QPushButton>(window, QStringLiteral("Command2_1"))->text(),
              QStringLiteral("取消"));
}

TEST_F(Form3Test, WritesTheWorkedExampleFromTheKeyboard) {
    WorkedExample();
    answer_ = path_;
    Open();
    // The focus starts in the login date box with today proposed.
    ASSERT_TRUE(Box(0)->hasFocus());
    EXPECT_EQ(Box(0)->selectedText(), QStringLiteral("910503"));
    QTest::keyClick(Box(0), Qt::Key_Return);
    ASSERT_TRUE(Box(1)->hasFocus());
    QTest::keyClicks(Box(1), QStringLiteral("910505"));
    QTest::keyClick(Box(1), Qt::Key_Return);
    QPushButton* confirm = Find<QPushButton>(window_.get(), QStringLiteral("Command2_0"));
    ASSERT_TRUE(confirm->hasFocus());
    QTest::keyClick(confirm, Qt::Key_Return);

    EXPECT_EQ(FileContents(),
              QByteArray("91050391050512312345678045000000000000000000001555000002   9\r\n"
                         "   0012301645678900000003500000012345                      9\r\n"
                         "   00012345678901000000120500                              9\r\n"));
    ASSERT_EQ(messages.Count(), 1u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(messages.Last().text, QStringLiteral("產生完畢"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Rows(QStringLiteral("S_DAY")),
              QList<QStringList>({{QStringLiteral("910503"), QStringLiteral("910505")}}));

    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(requests_[0].filters, QStringLiteral("All Files (*.*);;Text Files(*.txt)"));
    EXPECT_EQ(requests_[0].selectedFilter, QStringLiteral("Text Files(*.txt)"));
    EXPECT_TRUE(requests_[0].confirmOverwrite);
}

TEST_F(Form3Test, RefusedDatesKeepTheWindowOpen) {
    WorkedExample();
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910502"), QStringLiteral("910505")});
    answer_ = path_;
    Open();
    Confirm();
    EXPECT_EQ(messages.Last().text, QStringLiteral("日期必須大於等於今天"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_TRUE(Box(0)->hasFocus());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_TRUE(requests_.empty());
    EXPECT_FALSE(QFile::exists(path_));
}

TEST_F(Form3Test, CancelledDialogClosesWithoutStoringOrWriting) {
    WorkedExample();
    Open();
    Box(1)->setFocus();
    Confirm();
    EXPECT_EQ(requests_.size(), 1u);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(window_->result(), QDialog::Rejected);
    EXPECT_TRUE(Rows(QStringLiteral("S_DAY")).isEmpty());
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(Form3Test, BadValueLeavesAnEarlierFileAsItWas) {
    WorkedExample();
    // An account that a direct edit of the database left with a letter in it.
    InsertRow(QStringLiteral("S_ITEM"),
              {QStringLiteral("00003"), QStringLiteral("12301645678X"), QStringLiteral("1")});
    {
        QFile earlier(path_);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier batch\r\n");
    }
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    answer_ = path_;
    Open();
    Confirm();
    EXPECT_EQ(messages.Last().text, QStringLiteral("資料不全,建檔錯誤"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(FileContents(), QByteArray("earlier batch\r\n"));
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form3Test, ThousandTransfersWriteNoFile) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    for (int i = 1; i <= 1000; ++i) {
        ASSERT_FALSE(Execute(
            db, QStringLiteral("INSERT INTO S_ITEM VALUES (?,?,?,?,?,?)"),
            {QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), QStringLiteral("004001012341"),
             QStringLiteral("100"), QStringLiteral("王"), QString(""), QString("")}));
    }
    ASSERT_FALSE(transaction.Commit());
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    answer_ = path_;
    Form3* window = Open();
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("Label2"))->text(),
              QStringLiteral("合計　筆數：    ") + QString(7, u' ') + QStringLiteral("1000　筆"));
    Confirm();
    EXPECT_EQ(messages.Last().text, QStringLiteral("資料不全,建檔錯誤"));
    EXPECT_FALSE(QFile::exists(path_));
}

TEST_F(Form3Test, UnwritablePathIsReported) {
    WorkedExample();
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    answer_ = DataDir() + QStringLiteral("/no such folder/BATCH.txt");
    Open();
    Confirm();
    EXPECT_EQ(messages.Last().text, QStringLiteral("資料不全,建檔錯誤"));
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form3Test, CancelButtonCloses) {
    Open();
    QTest::mouseClick(Find<QPushButton>(window_.get(), QStringLiteral("Command2_1")),
                      Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(requests_.empty());
}

}  // namespace
}  // namespace paysum
