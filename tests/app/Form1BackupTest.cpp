#include "app/Form1.h"
#include "app/startup.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "platform/FileDialog.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <vector>

namespace paysum {
namespace {

const QString kWarning = QStringLiteral(
    "警告!!\r\n"
    "      回存資料來源,不正確時會造成無法挽回的錯誤\r\n"
    "      回存資料後,原本資料會被覆蓋,無法提供使用查詢\r\n"
    "請問是否還要執行");

// The backup and restore entries of the main window's system menu.
class Form1BackupTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        ASSERT_TRUE(backups_.isValid());
        InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("大安實業")});
        ASSERT_TRUE(StartUp());
        window_ = MainWindow();
        hash_ = test::FileHash(MainDatabasePath());
    }

    QString Backup(const QString& name) const { return backups_.filePath(name); }

    void SaveOut(const QString& path) {
        AnswerFileDialog(path);
        Find<QAction>(window_, QStringLiteral("mnuSaveOut"))->trigger();
    }

    // Answers Yes to the warning and picks `path`.
    void SaveIn(const QString& path) {
        messages.Answer(QMessageBox::Yes);
        AnswerFileDialog(path);
        Find<QAction>(window_, QStringLiteral("mnuSaveIn"))->trigger();
    }

    QString Caption() { return Find<QLabel>(window_, QStringLiteral("Label2"))->text(); }

    QString Enabled() {
        QString states;
        for (int i = 1; i <= 8; ++i)
            states += Find<QPushButton>(window_, QStringLiteral("Command%1").arg(i))->isEnabled()
                          ? u'1'
                          : u'0';
        return states;
    }

    void ExpectMessage(const test::RecordedMessage& message, const QString& text,
                       const QString& title, QMessageBox::Icon icon) {
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.title, title);
        EXPECT_EQ(message.icon, icon);
        EXPECT_EQ(message.buttons, QMessageBox::Ok);
    }

    // The main window is back, on the data it had when it started.
    void ExpectBackUnchanged() {
        EXPECT_EQ(MainWindow(), window_);
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(test::FileHash(MainDatabasePath()), hash_);
        EXPECT_TRUE(Caption().endsWith(QStringLiteral("大安實業")));
        EXPECT_EQ(Enabled(), QStringLiteral("11100011"));
    }

    QTemporaryDir backups_;
    Form1* window_ = nullptr;
    QByteArray hash_;
};

TEST_F(Form1BackupTest, BackupToANewNameAndOverAnExistingFile) {
    std::vector<FileDialogRequest> requests;
    SetFileDialogHook([&](const FileDialogRequest& request) {
        requests.push_back(request);
        return Backup(QStringLiteral("paysum.db"));
    });
    Find<QAction>(window_, QStringLiteral("mnuSaveOut"))->trigger();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(requests[0].title, QStringLiteral("選擇要備份的資料檔"));
    EXPECT_EQ(requests[0].filters, QStringLiteral("目的資料 (*.db)"));
    EXPECT_EQ(requests[0].folder, QDir::homePath());
    EXPECT_FALSE(CheckMainDatabaseFile(Backup(QStringLiteral("paysum.db"))));

    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    Find<QAction>(window_, QStringLiteral("mnuSaveOut"))->trigger();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(Enabled(), QStringLiteral("11111111"));
    // The second backup replaced the first.
    const QSqlDatabase copy = Connection(Backup(QStringLiteral("paysum.db")));
    QSqlQuery query(copy);
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT ID FROM S_ITEM")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("00001"));
}

TEST_F(Form1BackupTest, OwnDatabaseUnderAnotherNameIsRefusedAndAskedAgain) {
    const QString link = Backup(QStringLiteral("link.db"));
    ASSERT_TRUE(QFile::link(MainDatabasePath(), link));
    AnswerFileDialog(link);
    AnswerFileDialog(QString());  // the dialog shown again is cancelled
    Find<QAction>(window_, QStringLiteral("mnuSaveOut"))->trigger();
    EXPECT_EQ(fileDialogTitles.size(), 2);
    ASSERT_EQ(messages.Count(), 1u);
    ExpectMessage(messages.Last(), QStringLiteral("備份檔案錯誤：目的檔案與來源檔案相同"),
                  QStringLiteral("備份檔案錯誤 ") + MainDatabasePath(), QMessageBox::Critical);
    ExpectBackUnchanged();

    // Restore: the warning, the dialog, the message, then the warning again (No this time).
    messages.Clear();
    messages.Answer(QMessageBox::Yes);
    messages.Answer(QMessageBox::Ok);
    messages.Answer(QMessageBox::No);
    AnswerFileDialog(DataDir() + QStringLiteral("/../data/PAYSUM.db"));
    Find<QAction>(window_, QStringLiteral("mnuSaveIn"))->trigger();
    ASSERT_EQ(messages.Count(), 3u) << messages.Texts().join(u'|').toStdString();
    const test::RecordedMessage warning = messages.All()[0];
    EXPECT_EQ(warning.text, kWarning);
    EXPECT_EQ(warning.title, QStringLiteral("警告!!回存資料"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_EQ(warning.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(warning.defaultButton, QMessageBox::No);
    ExpectMessage(messages.All()[1], QStringLiteral("回存檔案錯誤：目的檔案與來源檔案相同"),
                  QStringLiteral("回存檔案錯誤 ") + MainDatabasePath(), QMessageBox::Critical);
    EXPECT_EQ(messages.All()[2].text, kWarning);
    EXPECT_EQ(fileDialogTitles.last(), QStringLiteral("選擇要回存的資料檔"));
    ExpectBackUnchanged();
}

TEST_F(Form1BackupTest, RestoreBringsBackTheDataOfTheBackup) {
    const QString backup = Backup(QStringLiteral("monday.db"));
    SaveOut(backup);
    const QByteArray branch = test::FileHash(BranchDatabasePath());
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("UPDATE S_BASE SET BRNO = '005', CNAME = '信義商行'")));
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    window_->Form_Activate();
    EXPECT_EQ(Enabled(), QStringLiteral("11111111"));

    // On No nothing happens.
    messages.Answer(QMessageBox::No);
    Find<QAction>(window_, QStringLiteral("mnuSaveIn"))->trigger();
    EXPECT_EQ(fileDialogTitles.size(), 1);
    EXPECT_TRUE(Caption().endsWith(QStringLiteral("信義商行")));

    SaveIn(backup);
    EXPECT_EQ(Rows(QStringLiteral("S_BASE")).at(0).at(1), QStringLiteral("大安實業"));
    EXPECT_TRUE(Rows(QStringLiteral("S_ITEM")).isEmpty());
    EXPECT_EQ(Caption(), QStringLiteral("轉  帳  分  行： 004-012-9      [代碼檔未建]\r\n"
                                        "企  業  名  稱  ： 大安實業"));
    EXPECT_EQ(Enabled(), QStringLiteral("11100011"));
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(test::FileHash(BranchDatabasePath()), branch);

    // A backup without a company record leaves no caption of the data it replaced.
    QTemporaryDir fresh;
    ASSERT_FALSE(CreateDataFolder(fresh.filePath(QStringLiteral("data"))));
    messages.Clear();
    SaveIn(fresh.filePath(QStringLiteral("data/PAYSUM.db")));
    EXPECT_EQ(Caption(), QString());
    EXPECT_EQ(Enabled(), QStringLiteral("11000011"));
    EXPECT_EQ(messages.Last().text, QStringLiteral("無基本資料，請先建檔。"));
}

TEST_F(Form1BackupTest, RestoreRefusesWhatIsNotABackupOfThisProgram) {
    test::WriteFile(Backup(QStringLiteral("text.db")), "payroll notes, not a database\n");
    QFile whole(MainDatabasePath());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    test::WriteFile(Backup(QStringLiteral("truncated.db")), whole.read(whole.size() / 2));

    for (const QString& path : {Backup(QStringLiteral("text.db")),
                                Backup(QStringLiteral("truncated.db")), BranchDatabasePath()}) {
        messages.Clear();
        SaveIn(path);
        ASSERT_EQ(messages.Count(), 2u) << path.toStdString();
        ExpectMessage(messages.Last(), QStringLiteral("回存資料來源不正確，未回存"),
                      QStringLiteral("警告!!回存資料"), QMessageBox::Critical);
        ExpectBackUnchanged();
    }
}

TEST_F(Form1BackupTest, FailedCopyIsReportedAndTheMainWindowComesBack) {
    test::WriteFile(Backup(QStringLiteral("plain.txt")), {});
    for (const QString& target : {Backup(QStringLiteral("missing/paysum.db")),
                                  Backup(QStringLiteral("plain.txt/paysum.db"))}) {
        messages.Clear();
        SaveOut(target);
        ASSERT_EQ(messages.Count(), 1u) << target.toStdString();
        ExpectMessage(messages.Last(), QStringLiteral("備份檔案失敗!!"), QStringLiteral("PAYSUM"),
                      QMessageBox::NoIcon);
        ExpectBackUnchanged();
    }

    // A restore that runs out of disk space keeps the database it had.
    const QString backup = Backup(QStringLiteral("paysum.db"));
    SaveOut(backup);
    messages.Clear();
    {
        const test::FileSizeLimit diskFull(8192);
        SaveIn(backup);
    }
    ASSERT_EQ(messages.Count(), 2u);
    ExpectMessage(messages.Last(), QStringLiteral("回存檔案失敗!!"), QStringLiteral("PAYSUM"),
                  QMessageBox::NoIcon);
    ExpectBackUnchanged();
    EXPECT_EQ(QDir(DataDir()).entryList({QStringLiteral("*.db*")}, QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("BRANCH.db"), QStringLiteral("PAYSUM.db")}));
}

}  // namespace
}  // namespace paysum
