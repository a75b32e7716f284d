#include "app/Form1.h"
#include "app/RunningCopy.h"
#include "app/frmGuide.h"
#include "app/startup.h"
#include "common/InstanceLock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMenu>
#include <QMessageBox>
#include <QPageSize>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimeEdit>
#include <QUrl>

#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace paysum {
namespace {

using Messages = std::vector<test::RecordedMessage>;

const QString kBranch012 =
    QStringLiteral("轉  帳  分  行： 004-012-9      [代碼檔未建]\r\n企  業  名  稱  ： ");

const test::RecordedMessage kRestoreWarning{
    QStringLiteral("警告!!\r\n"
                   "      回存資料來源,不正確時會造成無法挽回的錯誤\r\n"
                   "      回存資料後,原本資料會被覆蓋,無法提供使用查詢\r\n"
                   "請問是否還要執行"),
    QStringLiteral("警告!!回存資料"), QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No,
    QMessageBox::No};

const test::RecordedMessage kOpenError =
    test::OkBox(QStringLiteral("資料庫開啟出錯"), QStringLiteral("程式即將關閉  !!"));

class Form1Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        ASSERT_TRUE(backups_.isValid());
    }

    // Start-up ends without a main window, its last message being `message`.
    void ExpectEndedWith(const test::RecordedMessage& message) {
        EXPECT_FALSE(StartUp());
        EXPECT_EQ(MainWindow(), nullptr);
        ASSERT_GE(messages.Count(), 1u);
        EXPECT_EQ(messages.Last(), message);
    }

    void Start() {
        ASSERT_TRUE(StartUp());
        window_ = MainWindow();
        hash_ = test::FileHash(MainDatabasePath());
    }

    void Company() {
        InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("大安實業")});
    }
    void Transfer() { InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")}); }

    QString Buttons() { return Enabled(window_, QStringLiteral("Command%1"), 1, 8); }
    QString Caption() { return Find<QLabel>(window_, QStringLiteral("Label2"))->text(); }
    void Click(const char* button) {
        QTest::mouseClick(Find<QPushButton>(window_, QString::fromLatin1(button)), Qt::LeftButton);
    }
    void Trigger(const char* action) {
        Find<QAction>(window_, QString::fromLatin1(action))->trigger();
    }

    QString Backup(const QString& name) const { return backups_.filePath(name); }
    void SaveOut(const QString& path) {
        AnswerFileDialog(path);
        Trigger("mnuSaveOut");
    }
    // Answers Yes to the warning and picks `path`.
    void SaveIn(const QString& path) {
        messages.Answer(QMessageBox::Yes);
        AnswerFileDialog(path);
        Trigger("mnuSaveIn");
    }

    // The main window is back, on the data it had when it started.
    void ExpectBackUnchanged() {
        EXPECT_EQ(MainWindow(), window_);
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(test::FileHash(MainDatabasePath()), hash_);
        EXPECT_EQ(Caption(), kBranch012 + QStringLiteral("大安實業"));
        EXPECT_EQ(Buttons(), QStringLiteral("11100011"));
    }

    QTemporaryDir backups_;
    Form1* window_ = nullptr;
    QByteArray hash_;
};

TEST_F(Form1Test, StartUpEndsOnAMissingMainDatabaseWithoutCreatingOne) {
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    ExpectEndedWith(test::OkBox(QStringLiteral("找不到資料庫,資料遺失\r\n") + MainDatabasePath(),
                                QStringLiteral("整批PAYSUM"), QMessageBox::Critical));
    EXPECT_FALSE(QFile::exists(MainDatabasePath()));
    // The message stands alone: the main window is never shown on a database that did not open.
    EXPECT_EQ(messages.WindowsBehind(), std::vector<QStringList>{QStringList{}});

    // An empty folder is a new installation; a folder holding anything else is not.
    ASSERT_TRUE(QDir(DataDir()).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(DataDir()));
    messages.Clear();
    ASSERT_TRUE(StartUp());
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("無基本資料，請先建檔。")});
    EXPECT_TRUE(Rows(QStringLiteral("RTBANK")).isEmpty());
    ShutDown();
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    ASSERT_TRUE(QFile::remove(BranchDatabasePath()));
    test::WriteFile(DataDir() + QStringLiteral("/notes.txt"), "notes");
    ExpectEndedWith(test::OkBox(QStringLiteral("找不到資料庫,資料遺失\r\n") + MainDatabasePath(),
                                QStringLiteral("整批PAYSUM"), QMessageBox::Critical));
}

TEST_F(Form1Test, StartUpOnAFolderItCannotWriteSaysSoAndEnds) {
    const test::RecordedMessage readOnly =
        test::OkBox(QStringLiteral("資料庫唯讀,資料遺失\r\n") + MainDatabasePath(),
                    QStringLiteral("整批PAYSUM"), QMessageBox::Critical);
    {
        // A full disk: the lock file cannot be written.
        const test::FileSizeLimit diskFull(0);
        ExpectEndedWith(readOnly);
    }
    if (!test::SetImmutable(DataDir(), true))
        GTEST_SKIP() << "folders cannot be made immutable here";
    messages.Clear();
    ExpectEndedWith(readOnly);
    EXPECT_TRUE(test::SetImmutable(DataDir(), false));
}

TEST_F(Form1Test, StartUpClearsAwayWhatInterruptedWritesLeftAndNothingElse) {
    const QString uuid = QStringLiteral(".new-0f8fad5b-d9cb-469f-a165-70867728950e");
    const QString half = DataDir() + uuid;
    const QString foreign = DataDir() + QStringLiteral(".new-1b4e28ba-2fa1-11d2-883f-0016d3cca427");
    ASSERT_TRUE(QDir().mkpath(half));
    ASSERT_TRUE(QDir().mkpath(foreign));
    test::WriteFile(half + QStringLiteral("/PAYSUM.db"), "half");
    test::WriteFile(foreign + QStringLiteral("/notes.txt"), "notes");
    const QStringList ours{QStringLiteral("PAYSUM.db") + uuid,
                           QStringLiteral("PAYSUM.db") + uuid + QStringLiteral("-journal")};
    const QStringList others{QStringLiteral("notes.new-1"), QStringLiteral("PAYSUM.db.new-x"),
                             QStringLiteral("BRANCH.db") + uuid + QStringLiteral(".txt")};
    for (const QString& name : ours + others)
        test::WriteFile(DataDir() + u'/' + name, "x");
    Start();
    EXPECT_EQ(QDir(DataDir()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("BRANCH.db"),
                           QStringLiteral("BRANCH.db") + uuid + QStringLiteral(".txt"),
                           QStringLiteral("notes.new-1"), QStringLiteral("PAYSUM.db"),
                           QStringLiteral("PAYSUM.db.new-x"), QStringLiteral("PAYSUM.lock")}));
    EXPECT_FALSE(QFileInfo::exists(half));
    EXPECT_TRUE(QFileInfo::exists(foreign + QStringLiteral("/notes.txt")));
}

TEST_F(Form1Test, StartUpMakesAReadOnlyDatabaseWritableAndWritesNothingElse) {
    ASSERT_TRUE(QFile::setPermissions(MainDatabasePath(), QFile::ReadOwner | QFile::ReadGroup));
    const QByteArray before = test::FileHash(MainDatabasePath());
    ASSERT_TRUE(StartUp());
    EXPECT_TRUE(QFile::permissions(MainDatabasePath()) & QFile::WriteOwner);
    ShutDown();
    EXPECT_EQ(test::FileHash(MainDatabasePath()), before);
}

TEST_F(Form1Test, StartUpEndsOnADatabaseNobodyMayWrite) {
    if (!test::SetImmutable(MainDatabasePath(), true))
        GTEST_SKIP() << "files cannot be made immutable here";
    ExpectEndedWith(test::OkBox(QStringLiteral("資料庫唯讀,資料遺失\r\n") + MainDatabasePath(),
                                QStringLiteral("整批PAYSUM"), QMessageBox::Critical));
    EXPECT_TRUE(test::SetImmutable(MainDatabasePath(), false));
}

TEST_F(Form1Test, StartUpEndsOnFilesThatAreNotOurDatabase) {
    const QString main = MainDatabasePath();
    ASSERT_TRUE(QFile::remove(main));
    test::WriteFile(main, "not a database, just some text\n");
    ExpectEndedWith(kOpenError);
    // SQLite's own error number comes first.
    EXPECT_EQ(messages.All(), (Messages{test::OkBox(QStringLiteral("26")), kOpenError}));
    EXPECT_EQ(QFile(main).size(), 31);

    // The branch file, which lacks the main tables.
    ASSERT_TRUE(QFile::remove(main));
    ASSERT_TRUE(QFile::copy(BranchDatabasePath(), main));
    ExpectEndedWith(kOpenError);

    // A folder in place of the file.
    ASSERT_TRUE(QFile::remove(main));
    ASSERT_TRUE(QDir().mkdir(main));
    ExpectEndedWith(kOpenError);
}

TEST_F(Form1Test, StartUpRefusesDatabasesWhoseSchemaIsNotExactlyOurs) {
    const QString main = MainDatabasePath();
    const QString branch = BranchDatabasePath();
    const struct {
        const QString* file;
        const char* change;
    } cases[] = {
        {&main,
         "CREATE TRIGGER t AFTER INSERT ON S_STAFF BEGIN UPDATE S_STAFF SET "
         "ACTNO='999000000009' WHERE rowid=NEW.rowid; END"},
        {&main, "CREATE VIEW v AS SELECT * FROM S_STAFF"},
        {&main, "DROP INDEX S_STAFF_ID"},
        {&main, "ALTER TABLE S_DAY ADD COLUMN EXTRA TEXT"},
        {&branch, "DROP INDEX RTBANK_BKBRNO"},
        {&branch, "CREATE TABLE RTBANK2 (BKBRNO TEXT)"},
    };
    for (const auto& c : cases) {
        ShutDown();
        ASSERT_TRUE(QDir(DataDir()).removeRecursively());
        CreateDatabases();
        ASSERT_FALSE(Execute(Connection(*c.file), QString::fromLatin1(c.change)));
        CloseAllConnections();
        const QByteArray before = test::FileHash(*c.file);
        messages.Clear();
        ExpectEndedWith(kOpenError);
        EXPECT_EQ(test::FileHash(*c.file), before) << c.change;
    }

    // Other column types or defaults, with the same column names.
    ShutDown();
    ASSERT_TRUE(QFile::remove(branch));
    {
        const ScopedConnection other(branch, ScopedConnection::Access::Create);
        ASSERT_FALSE(Execute(other.Handle(),
                             QStringLiteral("CREATE TABLE RTBANK (BKBRNO INTEGER NOT NULL DEFAULT "
                                            "'', BNAME TEXT NOT NULL DEFAULT '', FNAME TEXT)")));
        ASSERT_FALSE(
            Execute(other.Handle(),
                    QStringLiteral("CREATE UNIQUE INDEX RTBANK_BKBRNO ON RTBANK (BKBRNO)")));
    }
    messages.Clear();
    ExpectEndedWith(kOpenError);
}

TEST_F(Form1Test, StartUpRefusesHistoryTablesWithAnythingAddedOrMissing) {
    const QStringList cases[] = {
        {"CREATE INDEX H_RUN_ARCHIVED ON H_RUN (ARCHIVED)"},
        {"CREATE TRIGGER t AFTER INSERT ON H_ITEM BEGIN DELETE FROM H_RUN; END"},
        {"DROP INDEX H_ITEM_RUN"},
        {"DROP TABLE H_ITEM"},
        // A first-version database is brought up to date only when its schema is exactly that.
        {"DROP TABLE S_FILE", "DROP TABLE H_RUN", "DROP TABLE H_ITEM",
         "CREATE TRIGGER t AFTER INSERT ON S_STAFF BEGIN DELETE FROM S_ITEM; END"},
    };
    for (const QStringList& changes : cases) {
        ShutDown();
        ASSERT_TRUE(QDir(DataDir()).removeRecursively());
        CreateDatabases();
        for (const QString& sql : changes)
            ASSERT_FALSE(Execute(Connection(MainDatabasePath()), sql)) << sql.toStdString();
        CloseAllConnections();
        const QByteArray before = test::FileHash(MainDatabasePath());
        messages.Clear();
        ExpectEndedWith(kOpenError);
        EXPECT_EQ(test::FileHash(MainDatabasePath()), before) << changes.join(u';').toStdString();
    }
}

TEST_F(Form1Test, AFirstVersionDatabaseAndBackupGetAnEmptyHistory) {
    // PAYSUM.db as the first version made it: five tables, every column text, two key indexes.
    const auto table = [](const char* name, const QStringList& columns) {
        return QStringLiteral("CREATE TABLE %1 (%2 TEXT NOT NULL DEFAULT '')")
            .arg(QLatin1String(name), columns.join(QStringLiteral(" TEXT NOT NULL DEFAULT '', ")));
    };
    ASSERT_TRUE(QFile::remove(MainDatabasePath()));
    {
        const ScopedConnection db(MainDatabasePath(), ScopedConnection::Access::Create);
        for (const QString& sql :
             {table("S_BASE", {"BRNO", "CNAME", "CUSTNO", "UNINO", "SIGN1", "SIGN2", "SIGN3"}),
              table("S_STAFF", {"ID", "ACTNO", "PAYSUM", "NAME", "AT"}),
              table("S_ITEM", {"ID", "ACTNO", "PAYSUM", "NAME", "AT", "MARK"}),
              table("S_DAY", {"LDATE", "TDATE"}),
              table("NNOO",
                    {"NO1", "NO2", "NO3", "NO4", "NO5", "NO6", "NO7", "NO8", "NO9", "NO10"}),
              QStringLiteral("CREATE UNIQUE INDEX S_STAFF_ID ON S_STAFF (ID)"),
              QStringLiteral("CREATE UNIQUE INDEX S_ITEM_ID ON S_ITEM (ID)"),
              QStringLiteral("INSERT INTO S_BASE (BRNO, CNAME) VALUES ('012', '大安實業')"),
              QStringLiteral("INSERT INTO S_ITEM (ID, PAYSUM) VALUES ('00001', '100')"),
              QStringLiteral("INSERT INTO S_STAFF (ID, NAME) VALUES ('00001', '陳大文')")})
            ASSERT_FALSE(Execute(db.Handle(), sql)) << sql.toStdString();
    }
    const QString before = Backup(QStringLiteral("before.db"));
    ASSERT_TRUE(QFile::copy(MainDatabasePath(), before));

    Start();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Buttons(), QStringLiteral("11111111"));
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 1);
    CloseAllConnections();
    EXPECT_FALSE(CheckMainDatabaseFile(MainDatabasePath()));
    messages.Answer(QMessageBox::Yes);
    Click("Command6");
    EXPECT_EQ(Rows(QStringLiteral("H_RUN")).size(), 1);
    EXPECT_EQ(messages.Last(), test::OkBox(QStringLiteral("已歸檔為第 1 批，並產生新的一批")));

    // The backup from before the history restores with none.
    SaveIn(before);
    EXPECT_EQ(messages.Last(), test::OkBox(QStringLiteral("回存完成")));
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 1);
    for (const char* history : {"S_FILE", "H_RUN", "H_ITEM"})
        EXPECT_TRUE(Rows(QString::fromLatin1(history)).isEmpty()) << history;
    EXPECT_FALSE(CheckMainDatabaseFile(MainDatabasePath()));
}

TEST_F(Form1Test, StartUpOfASecondInstanceBringsTheFirstForwardButACommandIsSaid) {
    auto other = std::make_unique<InstanceLock>(DataDir(), InstanceLock::Holder::Windows);
    ASSERT_EQ(other->TryLock(), InstanceLock::Outcome::Locked);
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(MainWindow(), nullptr);

    // A command holding the folder is said.
    other = std::make_unique<InstanceLock>(DataDir(), InstanceLock::Holder::Command);
    ASSERT_EQ(other->TryLock(), InstanceLock::Outcome::Locked);
    EXPECT_FALSE(StartUp());
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().text,
              QStringLiteral("另一個 PAYSUM 命令正在使用這個資料夾，請等它結束後再開啟程式"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("整批PAYSUM"));
    EXPECT_EQ(messages.Last().icon, QMessageBox::Critical);
    EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    EXPECT_EQ(MainWindow(), nullptr);

    // Once the other copy has ended, the program starts, over the socket a killed copy left.
    other.reset();
    const QString socket = RunningCopy::SocketPath(DataDir());
    ASSERT_FALSE(socket.isEmpty());
    test::WriteFile(socket, "");
    Start();
    EXPECT_EQ(
        QFileInfo(socket).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
        QFile::Permissions());

    // A second start brings the first forward, minimized or under another window, and ends
    // without a word.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    window_->showMinimized();
    messages.Clear();
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(MainWindow(), window_);
    EXPECT_FALSE(window_->isMinimized());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_));
    // A request that is not one is turned away.
    QLocalSocket stranger;
    stranger.connectToServer(socket);
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write(QByteArray(100, 'x'));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));
    EXPECT_TRUE(RunningCopy::AskToRaise(DataDir()));

    // Once it has ended nobody answers.
    ShutDown();
    EXPECT_FALSE(RunningCopy::AskToRaise(DataDir(), 200));
}

TEST_F(Form1Test, FirstRunThenButtonsAndCaptionFollowTheData) {
    ASSERT_TRUE(QDir(DataDir()).removeRecursively());
    const mode_t umask = ::umask(022);
    Start();
    ::umask(umask);
    EXPECT_TRUE(window_->isVisible());
    // The window icon is the installed icon's picture at each of its sizes, built into the program
    // where no icon theme holds it.
    const QList<QSize> iconSizes = window_->windowIcon().availableSizes();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(iconSizes.contains(QSize(size, size))) << size;
    // The clerk's alone, whatever the umask.
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    EXPECT_EQ(QFile::permissions(DataDir()), owner | QFile::ExeOwner | QFile::ExeUser);
    for (const QString& file :
         {MainDatabasePath(), BranchDatabasePath(), InstanceLock::LockFilePath(DataDir())})
        EXPECT_EQ(QFile::permissions(file), owner) << file.toStdString();
    for (const char* table : {"S_BASE", "S_STAFF", "S_ITEM", "S_DAY", "NNOO", "RTBANK"})
        EXPECT_TRUE(Rows(QString::fromLatin1(table)).isEmpty()) << table;
    // Nothing of the folder's making is left beside it.
    EXPECT_EQ(
        QDir(DataDir() + QStringLiteral("/..")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("data")});
    window_->Form_Activate();
    // Every activation without a company record says so again, once after the company window.
    OnNextModal(
        [&](QDialog& company) { EXPECT_EQ(company.objectName(), QStringLiteral("Form5")); });
    Click("Command1");
    EXPECT_EQ(messages.All(), Messages(3, test::OkBox(QStringLiteral("無基本資料，請先建檔。"))));
    EXPECT_EQ(Buttons(), QStringLiteral("11000011"));

    Company();
    messages.Clear();
    window_->Form_Activate();
    EXPECT_EQ(Buttons(), QStringLiteral("11100011"));
    EXPECT_EQ(Caption(), kBranch012 + QStringLiteral("大安實業"));
    EXPECT_EQ(messages.Count(), 0u);
    // The bank name is the branch's full name without the blanks around it.
    InsertRow(QStringLiteral("RTBANK"),
              {QStringLiteral("0040059"), {}, QStringLiteral("信義分行")});
    InsertRow(QStringLiteral("RTBANK"),
              {QStringLiteral("0040129"), {}, QStringLiteral(" 大安分行　 ")});
    window_->Form_Activate();
    EXPECT_EQ(Caption(), QStringLiteral("轉  帳  分  行： 004-012-9      [大安分行　]\r\n"
                                        "企  業  名  稱  ： 大安實業"));

    Transfer();
    window_->Form_Activate();
    EXPECT_EQ(Buttons(), QStringLiteral("11111111"));

    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), QStringLiteral("DROP TABLE S_BASE")));
    window_->Form_Activate();
    EXPECT_EQ(messages.All(), Messages{test::OkBox(QStringLiteral("不可預期的錯誤"))});
    EXPECT_EQ(Buttons(), QStringLiteral("11000011"));
}

TEST_F(Form1Test, FunctionWindowsAndANewBatch) {
    Company();
    Transfer();
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    Start();
    Activate(window_);
    QStringList opened;
    QPointer<QDialog> bank;  // the last one opened, which the main window keeps
    // Buttons 3 and 5 by Enter, 4 and 7 by a click; after each window the main menu is active
    // again with the focus where it was, so that the keys go on there without a click.
    bool byEnter = true;
    for (const char* button : {"Command3", "Command4", "Command5", "Command7"}) {
        OnNextModal([&](QDialog& dialog) {
            opened << dialog.objectName();
            bank = &dialog;
        });
        if (byEnter) {
            Find<QPushButton>(window_, QString::fromLatin1(button))->setFocus();
            Key(Qt::Key_Return);
        } else {
            Click(button);
        }
        ASSERT_TRUE(WaitActive(window_)) << button;
        if (byEnter) {
            EXPECT_EQ(Focus()->objectName(), QString::fromLatin1(button));
        }
        byEnter = !byEnter;
    }
    EXPECT_EQ(opened, (QStringList{QStringLiteral("Form2"), QStringLiteral("Form7"),
                                   QStringLiteral("Form3"), QStringLiteral("Form6")}));
    ASSERT_FALSE(bank.isNull());

    messages.Answer(QMessageBox::No);
    Click("Command6");
    EXPECT_EQ(messages.All(),
              (Messages{{QStringLiteral("\r\n\r\n舊的薪資轉帳資料已存在,是否刪除之？\r\n\r\n"),
                         QStringLiteral("6. 產生另一批新的薪資轉帳資料"), QMessageBox::NoIcon,
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::No}}));
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 1);
    EXPECT_EQ(Rows(QStringLiteral("S_DAY")).size(), 1);

    // With the dates' table unreadable the second delete fails; the first must not stay done.
    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db, QStringLiteral("ALTER TABLE S_DAY RENAME TO AWAY")));
    messages.Answer(QMessageBox::Yes);
    Click("Command6");
    EXPECT_EQ(messages.Last(), test::OkBox(QStringLiteral("不可預期的錯誤")));
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 1);
    ASSERT_FALSE(Execute(db, QStringLiteral("ALTER TABLE AWAY RENAME TO S_DAY")));

    messages.Answer(QMessageBox::Yes);
    Click("Command6");
    EXPECT_TRUE(Rows(QStringLiteral("S_ITEM")).isEmpty());
    EXPECT_TRUE(Rows(QStringLiteral("S_DAY")).isEmpty());
    EXPECT_EQ(Buttons(), QStringLiteral("11100011"));
    EXPECT_TRUE(bank.isNull());

    // Without transfer records printing and the batch file refuse.
    messages.Clear();
    window_->Command4_Click();
    window_->Command5_Click();
    EXPECT_EQ(messages.All(),
              (Messages{test::OkBox(QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 ")),
                        test::OkBox(QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 Data"))}));
}

TEST_F(Form1Test, TheCompanyWindowStoredWithEnterClosesAndTheMenuGoesOnWithTheKeys) {
    InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("大安實業"),
                                         QStringLiteral("045"), QStringLiteral("12345678")});
    Start();
    Activate(window_);
    OnNextModal([this](QDialog& form5) {
        Find<QPushButton>(&form5, QStringLiteral("Command7_0"))->setFocus();
        Key(Qt::Key_Return);
        EXPECT_FALSE(form5.isVisible());
    });
    Find<QPushButton>(window_, QStringLiteral("Command1"))->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(modalsShown, QStringList{QStringLiteral("Form5")});
    EXPECT_EQ(messages.All(), Messages{test::OkBox(QStringLiteral("儲存成功"))});

    // The window that closed itself after "儲存成功" leaves the main menu active, its focus on
    // button 1; Tab and Enter go on from there.
    ASSERT_TRUE(WaitActive(window_));
    EXPECT_EQ(Focus()->objectName(), QStringLiteral("Command1"));
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    EXPECT_EQ(modalsShown.last(), QStringLiteral("Form4"));
}

TEST_F(Form1Test, StartUpMakesQtsOwnButtonsAndDialogsSpeakChinese) {
    Start();
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes |
                           QMessageBox::No);
    const auto text = [&](QMessageBox::StandardButton button) {
        return box.button(button)->text();
    };
    EXPECT_EQ(text(QMessageBox::Ok), QStringLiteral("確定"));
    EXPECT_EQ(text(QMessageBox::Cancel), QStringLiteral("取消"));
    EXPECT_EQ(text(QMessageBox::Yes), QStringLiteral("是(&Y)"));
    EXPECT_EQ(text(QMessageBox::No), QStringLiteral("否(&N)"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"),
              QStringLiteral("File &name:"));
    // Texts the catalogue lacks come from the program's own small table.
    EXPECT_EQ(QCoreApplication::translate("QPrintSettingsOutput", "Long side binding"),
              QStringLiteral("長邊裝訂"));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"),
              QStringLiteral("資料夾"));
    // Paper names: standard names kept, English words in Chinese, the catalogue's "envelope"
    // for Letter undone.
    EXPECT_EQ(QPageSize(QPageSize::Letter).name(), QStringLiteral("Letter / ANSI A"));
    EXPECT_EQ(QPageSize(QPageSize::EnvelopeKaku2).name(), QStringLiteral("信封型 Kaku 2"));
    EXPECT_EQ(QPageSize(QPageSize::A4Extra).name(), QStringLiteral("A4 特大"));

    // Taiwan's conventions whatever the system's locale, in the Traditional Chinese font, with
    // the 24-hour clock in time boxes where Qt's zh_TW format has a day period it cannot show.
    EXPECT_EQ(QLocale().name(), QStringLiteral("zh_TW"));
    EXPECT_TRUE(QApplication::font().families().contains(QStringLiteral("Noto Sans CJK TC")));
    QTimeEdit time(QTime(16, 5));
    time.show();
    EXPECT_EQ(time.findChild<QLineEdit*>()->text(), QStringLiteral("16:05"));
}

TEST_F(Form1Test, HelpMenuShowsTheGuideOrSaysItIsMissing) {
    Company();
    Start();
    QString title;
    QString heading;
    OnNextModal([&](QDialog& guide) {
        EXPECT_EQ(guide.objectName(), QStringLiteral("frmGuide"));
        title = guide.windowTitle();
        auto* browser = Find<QTextBrowser>(&guide, QStringLiteral("WebBrowser1"));
        heading = browser->document()->begin().text().trimmed();
        // Its pictures are found beside it.
        EXPECT_FALSE(
            browser->document()
                ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("images/Form1.png")))
                .isNull());
        QTest::mouseClick(Find<QPushButton>(&guide, QStringLiteral("cmdClose")), Qt::LeftButton);
        EXPECT_FALSE(guide.isVisible());
    });
    // The installed guide is looked for first, in the installed tree the program runs from.
    EXPECT_EQ(GuideFolders().first(),
              QDir::cleanPath(QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../../share/doc/paysum/guide")));
    SetGuideFoldersForTest(
        {DataDir() + QStringLiteral("/no-guide"), QStringLiteral(PAYSUM_GUIDE_DIR)});
    Trigger("mnuWord");
    EXPECT_EQ(title, QStringLiteral("PAYSUM 薪資轉帳 使用說明"));
    EXPECT_EQ(heading, title);
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();

    const QString missing = DataDir() + QStringLiteral("/no-guide");
    SetGuideFoldersForTest({missing});
    Trigger("mnuWord");
    SetGuideFoldersForTest({});
    EXPECT_EQ(
        messages.All(),
        std::vector{test::OkBox(QStringLiteral("找不到文件說明，請重新安裝 PAYSUM。\r\n") + missing,
                                QStringLiteral("文件說明"), QMessageBox::Warning)});
    EXPECT_EQ(modalsShown, QStringList{QStringLiteral("frmGuide")});
}

TEST_F(Form1Test, AboutBoxAndButtonEight) {
    Start();
    // Captions that read oddly on purpose and must stay so.
    EXPECT_EQ(Find<QPushButton>(window_, QStringLiteral("Command7"))->text(),
              QStringLiteral("7. 金融機購代碼檔維護　　"));
    EXPECT_EQ(Find<QAction>(window_, QStringLiteral("mnuAbout"))->text(),
              QStringLiteral("關於    PAYSUM(&A)"));
    QStringList captions;
    OnNextModal([&](QDialog& about) {
        QPushButton* close = Find<QPushButton>(&about, QStringLiteral("cmdOK"));
        captions << about.objectName() << about.windowTitle()
                 << Find<QLabel>(&about, QStringLiteral("lblTitle"))->text()
                 << Find<QLabel>(&about, QStringLiteral("lblVersion"))->text() << close->text();
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    });
    Trigger("mnuAbout");
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("frmAbout"), QStringLiteral("About PAYSUM"),
                           QStringLiteral("PAYSUM"),
                           QStringLiteral("Version ") + QCoreApplication::applicationVersion(),
                           QStringLiteral("關　閉")}));

    Click("Command8");
    EXPECT_FALSE(window_->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MainWindow(), nullptr);
}

TEST_F(Form1Test, OwnDatabaseUnderAnotherNameIsRefusedAndAskedAgain) {
    Company();
    Start();
    const QString link = Backup(QStringLiteral("link.db"));
    ASSERT_TRUE(QFile::link(MainDatabasePath(), link));
    AnswerFileDialog(link);
    AnswerFileDialog(QString());  // the dialog shown again is cancelled
    Trigger("mnuSaveOut");
    EXPECT_EQ(fileDialogs.size(), 2u);
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox(QStringLiteral("備份檔案錯誤：目的檔案與來源檔案相同"),
                                   QStringLiteral("備份檔案錯誤 ") + MainDatabasePath(),
                                   QMessageBox::Critical)});
    ExpectBackUnchanged();

    // Nothing else in the data folder either, however it is spelled: the bank code table, a
    // journal SQLite would play or delete, a new name.
    ASSERT_TRUE(QFile::link(DataDir(), Backup(QStringLiteral("folder"))));
    ASSERT_EQ(::link(QFile::encodeName(BranchDatabasePath()).constData(),
                     QFile::encodeName(Backup(QStringLiteral("hard.db"))).constData()),
              0);
    const QStringList inside{BranchDatabasePath(), MainDatabasePath() + QStringLiteral("-journal"),
                             Backup(QStringLiteral("folder/new.db")),
                             DataDir() + QStringLiteral("/../data/BRANCH.db"),
                             Backup(QStringLiteral("hard.db"))};
    const QByteArray branch = test::FileHash(BranchDatabasePath());
    for (const QString& target : inside) {
        messages.Clear();
        AnswerFileDialog(target);
        AnswerFileDialog(QString());
        Trigger("mnuSaveOut");
        EXPECT_EQ(messages.Count(), 1u) << target.toStdString();
        EXPECT_EQ(messages.Last().text, QStringLiteral("備份檔案錯誤：目的檔案與來源檔案相同"));
    }
    EXPECT_EQ(test::FileHash(BranchDatabasePath()), branch);
    EXPECT_EQ(QDir(DataDir()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("BRANCH.db"), QStringLiteral("PAYSUM.db"),
                           QStringLiteral("PAYSUM.lock")}));
    ExpectBackUnchanged();

    // Restore: the warning, the dialog, the message, then the warning again (No this time).
    messages.Clear();
    messages.Answer(QMessageBox::Yes);
    messages.Answer(QMessageBox::Ok);
    messages.Answer(QMessageBox::No);
    AnswerFileDialog(Backup(QStringLiteral("folder/./PAYSUM.db")));
    Trigger("mnuSaveIn");
    EXPECT_EQ(messages.All(),
              (Messages{kRestoreWarning,
                        test::OkBox(QStringLiteral("回存檔案錯誤：目的檔案與來源檔案相同"),
                                    QStringLiteral("回存檔案錯誤 ") + MainDatabasePath(),
                                    QMessageBox::Critical),
                        kRestoreWarning}));
    EXPECT_EQ(fileDialogs.back().title, QStringLiteral("選擇要回存的資料檔"));
    ExpectBackUnchanged();
}

TEST_F(Form1Test, BackupToNewAndExistingFilesAndRestoreBringsTheirDataBack) {
    Company();
    Start();
    const QString monday = Backup(QStringLiteral("monday.db"));
    const QString tuesday = Backup(QStringLiteral("tuesday.db"));
    const mode_t umask = ::umask(022);
    SaveOut(monday);
    ::umask(umask);
    EXPECT_EQ(QFile::permissions(monday),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    ASSERT_EQ(fileDialogs.size(), 1u);
    EXPECT_EQ(fileDialogs[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(fileDialogs[0].title, QStringLiteral("選擇要備份的資料檔"));
    EXPECT_EQ(fileDialogs[0].filters, QStringLiteral("目的資料 (*.db)"));
    EXPECT_EQ(fileDialogs[0].folder, QDir::homePath());
    SaveOut(tuesday);
    const QByteArray branch = test::FileHash(BranchDatabasePath());
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("UPDATE S_BASE SET BRNO = '005', CNAME = '信義商行'")));
    Transfer();
    // What an interrupted earlier backup to that name left goes; other files stay.
    const QString leftover = tuesday + QStringLiteral(".new-0f8fad5b-d9cb-469f-a165-70867728950e");
    for (const QString& name :
         {leftover, leftover + QStringLiteral("-journal"), tuesday + QStringLiteral(".new-notes")})
        test::WriteFile(name, "x");
    SaveOut(tuesday);
    EXPECT_EQ(QDir(backups_.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("monday.db"), QStringLiteral("tuesday.db"),
                           QStringLiteral("tuesday.db.new-notes")}));
    // Each backup names its file.
    EXPECT_EQ(messages.All(), (Messages{test::OkBox(QStringLiteral("備份完成：") + monday),
                                        test::OkBox(QStringLiteral("備份完成：") + tuesday),
                                        test::OkBox(QStringLiteral("備份完成：") + tuesday)}));
    EXPECT_TRUE(Caption().endsWith(QStringLiteral("信義商行")));

    SaveIn(monday);
    EXPECT_EQ(Caption(), kBranch012 + QStringLiteral("大安實業"));
    EXPECT_EQ(Buttons(), QStringLiteral("11100011"));
    EXPECT_TRUE(window_->isVisible());
    // The backup over an existing file holds the data of the second one.
    SaveIn(tuesday);
    EXPECT_TRUE(Caption().endsWith(QStringLiteral("信義商行")));
    EXPECT_EQ(Buttons(), QStringLiteral("11111111"));
    EXPECT_EQ(test::FileHash(BranchDatabasePath()), branch);

    // A backup without a company record leaves no caption of the data it replaced.
    ASSERT_FALSE(CreateDataFolder(Backup(QStringLiteral("fresh"))));
    messages.Clear();
    SaveIn(Backup(QStringLiteral("fresh/PAYSUM.db")));
    EXPECT_EQ(Caption(), QString());
    EXPECT_EQ(Buttons(), QStringLiteral("11000011"));
    EXPECT_EQ(messages.Last().text, QStringLiteral("無基本資料，請先建檔。"));
}

TEST_F(Form1Test, BackupNamedWithoutTheSuffixGetsItSoTheRestoreDialogShowsIt) {
    Company();
    Start();
    SaveOut(Backup(QStringLiteral("backup1")));
    SaveOut(Backup(QStringLiteral("friday.DB")));
    EXPECT_EQ(messages.All(),
              (Messages{test::OkBox(QStringLiteral("備份完成：") + Backup("backup1.db")),
                        test::OkBox(QStringLiteral("備份完成：") + Backup("friday.DB"))}));
    messages.Clear();
    EXPECT_EQ(QDir(backups_.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("backup1.db"), QStringLiteral("friday.DB")}));

    SaveIn(Backup(QStringLiteral("backup1.db")));
    EXPECT_EQ(messages.All(), (Messages{kRestoreWarning, test::OkBox(QStringLiteral("回存完成"))}));
    EXPECT_EQ(Caption(), kBranch012 + QStringLiteral("大安實業"));
}

TEST_F(Form1Test, RestoreRefusesWhatIsNotABackupOfThisProgram) {
    Company();
    const QString text = Backup(QStringLiteral("text.db"));
    const QString truncated = Backup(QStringLiteral("truncated.db"));
    const QString shortDay = Backup(QStringLiteral("short.db"));
    test::WriteFile(text, "payroll notes, not a database\n");
    QFile whole(MainDatabasePath());
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    test::WriteFile(truncated, whole.read(whole.size() / 2));
    ASSERT_TRUE(QFile::copy(MainDatabasePath(), shortDay));
    ASSERT_FALSE(
        Execute(Connection(shortDay), QStringLiteral("ALTER TABLE S_DAY DROP COLUMN TDATE")));
    CloseAllConnections();

    // Column names alone do not make our data: a code stored as a number, a key twice, a value
    // wider than its column, a text that is not well-formed UTF-8, an archived transfer of a run
    // that is not kept, a run number that is not a whole number from 1 to 2^53, a line feed in a
    // history field, runs without the table of their transfers.
    const QString numbers = Backup(QStringLiteral("numbers.db"));
    {
        const ScopedConnection db(numbers, ScopedConnection::Access::Create);
        for (const char* sql :
             {"CREATE TABLE S_BASE (BRNO, CNAME, CUSTNO, UNINO, SIGN1, SIGN2, SIGN3)",
              "CREATE TABLE S_STAFF (ID INTEGER, ACTNO INTEGER, PAYSUM REAL, NAME, AT)",
              "CREATE TABLE S_ITEM (ID, ACTNO, PAYSUM, NAME, AT, MARK)",
              "CREATE TABLE S_DAY (LDATE, TDATE)",
              "CREATE TABLE NNOO (NO1, NO2, NO3, NO4, NO5, NO6, NO7, NO8, NO9, NO10)",
              "INSERT INTO S_STAFF VALUES ('00012', '004001012341', '100', 'a', '')"})
            ASSERT_FALSE(Execute(db.Handle(), QString::fromLatin1(sql))) << sql;
    }
    QStringList badValues{numbers};
    const char* changes[] = {
        "DROP INDEX S_STAFF_ID; INSERT INTO S_STAFF (ID) VALUES ('00001'), ('00001')",
        "INSERT INTO S_STAFF (ID, NAME) VALUES ('00001', '1234567890123456789012345678901')",
        "INSERT INTO S_STAFF (ID, NAME) VALUES ('00001', CAST(x'61eda080' AS TEXT))",
        "INSERT INTO H_RUN (RUN) VALUES (1); INSERT INTO H_ITEM (RUN, ID) VALUES (2, '00001')",
        "INSERT INTO H_RUN (RUN) VALUES ('x')",
        "INSERT INTO H_RUN (RUN) VALUES (0)",
        "INSERT INTO H_RUN (RUN) VALUES (1.5)",
        "INSERT INTO H_RUN (RUN) VALUES (9007199254740993)",
        "INSERT INTO H_RUN (RUN, LDATE) VALUES (1, '9105' || char(10) || '3')",
        "INSERT INTO H_RUN (RUN) VALUES (1); DROP TABLE H_ITEM",
    };
    for (const char* change : changes) {
        const QString path = Backup(QStringLiteral("bad%1.db").arg(badValues.size()));
        ASSERT_TRUE(QFile::copy(MainDatabasePath(), path));
        const ScopedConnection db(path, ScopedConnection::Access::Create);
        for (const QString& sql : QString::fromLatin1(change).split(QStringLiteral("; ")))
            ASSERT_FALSE(Execute(db.Handle(), sql)) << change;
        badValues << path;
    }
    Start();

    for (const QString& path :
         QStringList{text, truncated, shortDay, BranchDatabasePath()} + badValues) {
        messages.Clear();
        SaveIn(path);
        EXPECT_EQ(messages.All(),
                  (Messages{kRestoreWarning,
                            test::OkBox(QStringLiteral("回存資料來源不正確，未回存"),
                                        QStringLiteral("警告!!回存資料"), QMessageBox::Critical)}))
            << path.toStdString();
        ExpectBackUnchanged();
    }
}

TEST_F(Form1Test, RestoreBringsBackDataButNeverSchema) {
    Company();
    InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00012"), QStringLiteral("004001012341")});
    const QString planted = Backup(QStringLiteral("planted.db"));
    ASSERT_TRUE(QFile::copy(MainDatabasePath(), planted));
    for (const char* sql : {"CREATE TRIGGER t AFTER INSERT ON S_STAFF BEGIN UPDATE S_STAFF SET "
                            "ACTNO='999000000009' WHERE rowid=NEW.rowid; END",
                            "CREATE VIEW v AS SELECT * FROM S_STAFF", "CREATE TABLE EXTRA (X)",
                            "UPDATE S_BASE SET CNAME = '信義商行'"})
        ASSERT_FALSE(Execute(Connection(planted), QString::fromUtf8(sql))) << sql;
    CloseAllConnections();
    Start();

    SaveIn(planted);
    EXPECT_EQ(messages.All(), (Messages{kRestoreWarning, test::OkBox(QStringLiteral("回存完成"))}));
    EXPECT_TRUE(Caption().endsWith(QStringLiteral("信義商行")));
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")),
              (QList<QStringList>{{QStringLiteral("00012"), QStringLiteral("004001012341"),
                                   QString(), QString(), QString()}}));
    InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00013"), QStringLiteral("004001012341")});
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).back()[1], QStringLiteral("004001012341"));
    QSqlQuery objects(Connection(MainDatabasePath()));
    ASSERT_TRUE(objects.exec(QStringLiteral(
                    "SELECT count(*) FROM sqlite_master WHERE type IN ('trigger', 'view') OR "
                    "name = 'EXTRA'")) &&
                objects.next());
    EXPECT_EQ(objects.value(0).toInt(), 0);
}

TEST_F(Form1Test, FailedCopyIsReportedAndTheMainWindowComesBack) {
    Company();
    Start();
    SaveOut(Backup(QStringLiteral("missing/paysum.db")));
    EXPECT_EQ(messages.All(), Messages{test::OkBox(QStringLiteral("備份檔案失敗!!"))});
    ExpectBackUnchanged();

    // A backup or restore that runs out of disk space keeps the file it was to replace.
    const QString backup = Backup(QStringLiteral("paysum.db"));
    SaveOut(backup);
    const QByteArray earlier = test::FileHash(backup);
    messages.Clear();
    {
        const test::FileSizeLimit diskFull(8192);
        SaveOut(backup);
        SaveIn(backup);
    }
    EXPECT_EQ(messages.All(),
              (Messages{test::OkBox(QStringLiteral("備份檔案失敗!!")), kRestoreWarning,
                        test::OkBox(QStringLiteral("回存檔案失敗!!"))}));
    ExpectBackUnchanged();
    EXPECT_EQ(test::FileHash(backup), earlier);
    EXPECT_EQ(QDir(DataDir()).entryList({QStringLiteral("*.db*")}, QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("BRANCH.db"), QStringLiteral("PAYSUM.db")}));
    EXPECT_EQ(
        QDir(backups_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{QStringLiteral("paysum.db")});
}

TEST_F(Form1Test, SystemMenuImportsSpreadsheetsVerifiesBatchFilesAndOpensTheHistory) {
    InsertRow(QStringLiteral("S_BASE"), {"012", "大安實業", "045", "12345678"});
    Start();
    const QString sheet = Backup(QStringLiteral("staff.csv"));
    test::WriteFile(sheet, "ID,ACTNO,PAYSUM,NAME\r\n1,123456789014,100,Jos\xE9\r\n");
    AnswerFileDialog(sheet);
    Trigger("mnuImportStaff");
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox(QStringLiteral("第 2 行：不是正確的 Big5 編碼，無法匯入"),
                                   QStringLiteral("匯入員工資料"), QMessageBox::Critical)});
    messages.Clear();
    AnswerFileDialog(QStringLiteral("/dev/zero"));
    Trigger("mnuImportStaff");
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox(QStringLiteral("/dev/zero 不是一般檔案"),
                                   QStringLiteral("匯入員工資料"), QMessageBox::Critical)});
    EXPECT_EQ(fileDialogs.back().title, QStringLiteral("匯入員工資料"));
    EXPECT_EQ(fileDialogs.back().filters,
              QStringLiteral("試算表 (*.csv *.txt *.xlsx *.ods);;所有檔案 (*)"));
    AnswerFileDialog(Backup(QStringLiteral("none.csv")));
    Trigger("mnuImportStaff");
    EXPECT_EQ(messages.Last(),
              test::OkBox(QStringLiteral("無法開啟檔案 ") + Backup(QStringLiteral("none.csv")),
                          QStringLiteral("匯入員工資料"), QMessageBox::Critical));

    test::WriteFile(sheet, "ACTNO,PAYSUM,NAME\r\n123456789014,100,x\r\n");
    AnswerFileDialog(sheet);
    QString shown;
    OnNextModal([&](QDialog& preview) {
        shown = preview.objectName() + u' ' + preview.windowTitle();
        QTest::mouseClick(Find<QPushButton>(&preview, QStringLiteral("Command1_0")),
                          Qt::LeftButton);
    });
    Trigger("mnuImportItem");
    EXPECT_EQ(shown, QStringLiteral("frmImport 匯入轉帳資料"));
    EXPECT_EQ(Rows("S_ITEM"), (QList<QStringList>{{"90001", "123456789014", "100", "x", "", ""}}));
    EXPECT_TRUE(Find<QPushButton>(window_, QStringLiteral("Command5"))->isEnabled());

    // A workbook of two sheets: the clerk picks one, and the preview names it; the update of
    // the employee master has a menu entry of its own.
    AnswerFileDialog(QStringLiteral(PAYSUM_SHEETS "/staff.xlsx"));
    QStringList sheets;
    OnNextModal([&](QDialog& dialog) {
        auto* choice = qobject_cast<QInputDialog*>(&dialog);
        ASSERT_NE(choice, nullptr);
        sheets = choice->comboBoxItems();
        EXPECT_EQ(choice->windowTitle(), QStringLiteral("以試算表更新員工資料"));
        choice->setTextValue(QStringLiteral("轉帳"));
        choice->accept();
    });
    OnNextModal([&](QDialog& preview) {
        shown = Find<QLabel>(&preview, QStringLiteral("Label2"))->text().section(u'\n', 0, 0);
    });
    Trigger("mnuUpdateStaff");
    EXPECT_EQ(sheets, (QStringList{QStringLiteral("員工"), QStringLiteral("轉帳")}));
    EXPECT_EQ(shown, QStringLiteral("檔案：" PAYSUM_SHEETS "/staff.xlsx（工作表「轉帳」）"));

    const QString missing = Backup(QStringLiteral("none.txt"));
    AnswerFileDialog(missing);
    messages.Clear();
    Trigger("mnuVerify");
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_TRUE(messages.Last().text.startsWith(QStringLiteral("無法開啟 ") + missing));
    EXPECT_EQ(messages.Last().title, QStringLiteral("驗證轉帳檔"));
    EXPECT_EQ(messages.Last().icon, QMessageBox::Critical);
    messages.Clear();
    AnswerFileDialog(QStringLiteral("/dev/zero"));
    Trigger("mnuVerify");
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox(QStringLiteral("/dev/zero 不是一般檔案"),
                                   QStringLiteral("驗證轉帳檔"), QMessageBox::Critical)});

    test::WriteFile(missing, "x\r\n");
    AnswerFileDialog(missing);
    OnNextModal([&](QDialog& result) { shown = result.objectName(); });
    Trigger("mnuVerify");
    EXPECT_EQ(shown, QStringLiteral("frmVerify"));

    QStringList entries;
    for (const QAction* action : Find<QMenu>(window_, QStringLiteral("mnuSystem"))->actions())
        entries << action->text();
    EXPECT_EQ(entries.indexOf(QStringLiteral("薪資轉帳歷史資料…")),
              entries.indexOf(QStringLiteral("驗證轉帳檔…")) + 1);
    OnNextModal([&](QDialog& history) { shown = history.objectName(); });
    Trigger("mnuHistory");
    EXPECT_EQ(shown, QStringLiteral("frmHistory"));
}

}  // namespace
}  // namespace paysum
