#include "common/Clock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "output/Form3.h"
#include "platform/FileDialog.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace paysum {
namespace {

// The worked example: today 910503, a company and its two transfers.
class Form3Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 3));
        path_ = out_.filePath("BATCH.txt");
        InsertRow("S_BASE", {"123", "大安實業", "045", "12345678"});
        InsertRow("S_ITEM", {"00001", "123016456789", "35000", "王小明", "00012345"});
        InsertRow("S_ITEM", {"00002", "012345678901", "120500", "陳美玲", ""});
        SetFileDialogHook([this](const FileDialogRequest& request) {
            requests_.push_back(request);
            return answer_;
        });
    }

    void Open() {
        window_ = new Form3;  // deleted with the other windows by the fixture
        Activate(window_);
    }
    QWidget* Control(const char* name) { return Find<QWidget>(window_, QString::fromLatin1(name)); }
    void Confirm() { QTest::mouseClick(Control("Command2_0"), Qt::LeftButton); }
    QByteArray FileContents() {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }
    // The only message box so far: this text, the application title, no icon, only OK.
    // The message after the file is written, which names it.
    QString Done() const { return "產生完畢：" + QFileInfo(path_).absoluteFilePath(); }
    void ExpectOnlyMessage(const QString& text) {
        ASSERT_EQ(messages.Texts(), QStringList{text});
        EXPECT_EQ(messages.Last().title, "PAYSUM");
        EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
        EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    }

    Form3* window_ = nullptr;
    QTemporaryDir out_;
    QString path_;
    QString answer_;
    std::vector<FileDialogRequest> requests_;
};

TEST_F(Form3Test, WritesTheWorkedExampleFromTheKeyboard) {
    answer_ = path_;
    // What an interrupted earlier write of this file left goes; other files stay.
    const QString leftover = path_ + ".new-0f8fad5b-d9cb-469f-a165-70867728950e";
    const QString other = path_ + ".new-notes";
    for (const QString& name : {leftover, other}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    Open();
    EXPECT_EQ(Find<QLabel>(window_, "Label2")->text(),
              "合計　筆數：    " + QString(10, u' ') + "2　筆");
    EXPECT_EQ(Find<QLabel>(window_, "Label3")->text(),
              "　　　金額：" + QString(8, u' ') + "155,500　元");
    // The focus starts in the login date box with today proposed.
    ASSERT_TRUE(Control("Text4_0")->hasFocus());
    QTest::keyClick(Control("Text4_0"), Qt::Key_Return);
    QTest::keyClicks(Control("Text4_1"), "910505");
    QTest::keyClick(Control("Text4_1"), Qt::Key_Return);
    ASSERT_TRUE(Control("Command2_0")->hasFocus());
    QTest::keyClick(Control("Command2_0"), Qt::Key_Return);

    // clang-format off
    EXPECT_EQ(FileContents(),
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000155500" "0002" "   " "9" "\r\n"
        "   " "00123016456789" "000000035000" "00012345" "                      " "9" "\r\n"
        "   " "00012345678901" "000000120500" "                              " "9" "\r\n");
    // clang-format on
    ExpectOnlyMessage(Done());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Rows("S_DAY"), QList<QStringList>({{"910503", "910505"}}));
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_TRUE(requests_[0].confirmOverwrite);
}

TEST_F(Form3Test, RefusalsCancelAndFailuresLeaveAnEarlierFileAsItWas) {
    InsertRow("S_DAY", {"910502", "910505"});
    {
        QFile earlier(path_);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier batch\r\n");
    }
    Open();
    Confirm();
    ExpectOnlyMessage("日期必須大於等於今天");
    EXPECT_TRUE(Control("Text4_0")->hasFocus());
    EXPECT_TRUE(requests_.empty());

    // A cancelled file dialog (the dates are not stored either), a folder that does not exist,
    // the database's own file, and a letter in an account, refused before any file is opened (as
    // are the other faults CheckTransferFile finds, 1000 transfers among them).
    const struct {
        QString answer;   // the file dialog's, empty for cancel
        const char* sql;  // a change to the batch first
    } cases[] = {
        {"", nullptr},
        {out_.filePath("none/BATCH.txt"), nullptr},
        {MainDatabasePath(), nullptr},
        {path_, "UPDATE S_ITEM SET ACTNO='12301645678X' WHERE ID='00002'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        answer_ = c.answer;
        if (c.sql) {
            ASSERT_FALSE(Execute(Connection(MainDatabasePath()), c.sql));
        }
        messages.Clear();
        Open();
        QTest::keyClicks(Control("Text4_0"), "910503");
        Confirm();
        if (c.answer.isEmpty()) {
            EXPECT_EQ(Rows("S_DAY")[0][0], "910502");
        } else {
            ExpectOnlyMessage("資料不全,建檔錯誤");
        }
        EXPECT_FALSE(window_->isVisible());
        EXPECT_EQ(FileContents(), QByteArray("earlier batch\r\n"));
    }
    QFile database(MainDatabasePath());
    ASSERT_TRUE(database.open(QIODevice::ReadOnly));
    EXPECT_EQ(database.read(16), QByteArray("SQLite format 3", 16));
    EXPECT_TRUE(Rows("S_FILE").isEmpty());
}

TEST_F(Form3Test, WarningsAreAskedAfterTheDatesAndNoGoesBackToTheWindow) {
    InsertRow("S_DAY", {"910503", "910505"});
    InsertRow("S_STAFF", {"00001", "123016456789", "10000", "王小明", ""});
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE S_ITEM SET ACTNO = '123016456789' WHERE ID = '00002'"));
    const test::RecordedMessage question{
        "本批薪資轉帳資料有下列情形：\r\n\r\n"
        "帳號 123016456789 重複：員工代碼 00001、00002\r\n"
        "金額超過員工基本資料薪資的三倍：員工代碼 00001\r\n\r\n"
        "是否仍要產生轉帳檔？",
        "5. 產生整批薪資轉帳檔", QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::No};
    answer_ = path_;
    Open();
    messages.Answer(QMessageBox::No);
    Confirm();
    EXPECT_EQ(messages.All(), std::vector<test::RecordedMessage>{question});
    EXPECT_TRUE(requests_.empty());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_FALSE(QFile::exists(path_));

    // The warnings cannot be read: said so, and nothing written.
    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db, "ALTER TABLE S_STAFF RENAME TO AWAY"));
    messages.Clear();
    Confirm();
    EXPECT_EQ(messages.All(), std::vector{test::OkBox("不可預期的錯誤")});
    EXPECT_TRUE(window_->isVisible());
    ASSERT_FALSE(Execute(db, "ALTER TABLE AWAY RENAME TO S_STAFF"));

    messages.Clear();
    messages.Answer(QMessageBox::Yes);
    Confirm();
    EXPECT_EQ(messages.All(), (std::vector{question, test::OkBox(Done())}));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(requests_.size(), 1u);
    EXPECT_TRUE(FileContents().startsWith("910503910505"));
}

TEST_F(Form3Test, TheWrittenFileIsRecordedWithTheBatchOrSaidNotToBe) {
    InsertRow("S_DAY", {"910503", "910505"});
    answer_ = path_;
    Open();
    Confirm();
    ASSERT_EQ(messages.Texts(), QStringList{Done()});
    const QByteArray bytes = FileContents();
    const QList<QStringList> recorded = Rows("S_FILE");
    ASSERT_EQ(recorded.size(), 1);
    EXPECT_EQ(recorded[0].mid(0, 5),
              (QStringList{QFileInfo(path_).absoluteFilePath(), QString::number(bytes.size()),
                           QString::fromLatin1(test::FileHash(path_).toHex()), "2", "155500"}));
    EXPECT_TRUE(recorded[0][5].startsWith("2002-05-03 ")) << recorded[0][5].toStdString();

    // The file is written all the same when it cannot be recorded; the earlier record stays.
    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db,
                         "CREATE TEMP TRIGGER fail BEFORE INSERT ON main.S_FILE "
                         "BEGIN SELECT RAISE(ABORT, 'no room'); END"));
    ASSERT_FALSE(Execute(db, "UPDATE S_ITEM SET PAYSUM = '35001' WHERE ID = '00001'"));
    messages.Clear();
    Open();
    Confirm();
    ASSERT_EQ(messages.Count(), 2u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(messages.All()[0], test::OkBox(Done()));
    const test::RecordedMessage& notRecorded = messages.All()[1];
    EXPECT_TRUE(notRecorded.text.startsWith(
        "轉帳檔已產生，但未能記入本批資料，薪資轉帳歷史資料將不含此檔：\r\nno room"))
        << notRecorded.text.toStdString();
    EXPECT_EQ(notRecorded.title, "PAYSUM");
    EXPECT_EQ(notRecorded.icon, QMessageBox::Warning);
    EXPECT_EQ(notRecorded.buttons, QMessageBox::Ok);
    EXPECT_EQ(notRecorded.defaultButton, QMessageBox::Ok);
    EXPECT_TRUE(FileContents().contains("000000155501"));
    EXPECT_EQ(Rows("S_FILE"), recorded);
    ASSERT_FALSE(Execute(db, "DROP TRIGGER temp.fail"));

    // Once the batch has changed after its file was written, the warnings say it must be
    // written again, and writing it records it afresh.
    ASSERT_FALSE(Execute(db,
                         "UPDATE S_FILE SET FSIZE = '', FSHA256 = '', FCOUNT = '', "
                         "FTOTAL = '', FTIME = ''"));
    messages.Clear();
    messages.Answer(QMessageBox::Yes);
    Open();
    Confirm();
    ASSERT_EQ(messages.Count(), 2u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(messages.All()[0],
              (test::RecordedMessage{"本批薪資轉帳資料有下列情形：\r\n\r\n轉帳檔 " +
                                         QFileInfo(path_).absoluteFilePath() +
                                         " 產生後本批資料已變更，須重新產生轉帳檔\r\n\r\n"
                                         "是否仍要產生轉帳檔？",
                                     "5. 產生整批薪資轉帳檔", QMessageBox::Warning,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No}));
    EXPECT_EQ(Rows("S_FILE")[0][2], QString::fromLatin1(test::FileHash(path_).toHex()));
}

}  // namespace
}  // namespace paysum
