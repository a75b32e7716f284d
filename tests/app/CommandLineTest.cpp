#include "common/InstanceLock.h"
#include "common/RocDate.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "output/ReportSource.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

namespace paysum {
namespace {

// Runs the program with arguments on the fixture's data folder, as a shell would.
class CommandLineTest : public test::PaysumTest {
protected:
    struct Run {
        int status = -1;
        QString out;
        QString err;
    };

    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        InsertRow("S_BASE", {"123", "大安實業", "045", "12345678"});
        today_ = RocToday(0, QDate::currentDate());
        InsertRow("S_DAY", {today_, today_});
        InsertRow("S_ITEM", {"00001", "201016000011", "35000", "王小明", "00012345", ""});
        InsertRow("S_ITEM", {"00002", "123456789014", "120500", "陳美玲", "", ""});
        CloseAllConnections();  // the program opens the files on its own
    }

    Run Paysum(const QStringList& arguments) { return Start(PAYSUM_EXECUTABLE, arguments); }

    // Runs the program through the shell, so that its arguments can hold any bytes: the script
    // gets the program as $0, in the folder `folder`.
    Run PaysumInShell(const QString& script, const QString& folder) {
        return Start("/bin/sh", {"-c", script, PAYSUM_EXECUTABLE}, folder);
    }

    Run Start(const QString& program, const QStringList& arguments,
              const QString& folder = QString()) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PAYSUM_DATA_DIR", DataDir());
        environment.remove("QT_QPA_PLATFORM");  // the commands need no display
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    static QStringList Entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                      QDir::NoDotAndDotDot);
    }
    static int Mode(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : -1;
    }

    QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

    QString today_;
};

TEST_F(CommandLineTest, ExportWritesTheBatchFileThatVerifyPasses) {
    const QString path = DataDir() + "/../batch.txt";
    const Run exported = Paysum({"export", path});
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, "產生完畢：2 筆，總金額 155500\n");
    EXPECT_EQ(Contents(path), (today_ + today_ +
                               "123"
                               "12345678"
                               "045"
                               "00000000000000"
                               "000000155500"
                               "0002"
                               "   9\r\n"
                               "   00201016000011000000035000"
                               "00012345"
                               "                      9\r\n"
                               "   00123456789014000000120500"
                               "                              9\r\n")
                                  .toLatin1());

    const Run verified = Paysum({"verify", path, "--batch"});
    EXPECT_EQ(verified.status, 0) << verified.err.toStdString();
    EXPECT_EQ(verified.out, "檢查無誤：2 筆，總金額 155500\n");

    test::WriteFile(path, Contents(path).replace("\r\n", "\n"));
    const Run broken = Paysum({"verify", path, "--json"});
    EXPECT_EQ(broken.status, 1);
    const QJsonObject report = QJsonDocument::fromJson(broken.out.toUtf8()).object();
    EXPECT_FALSE(report["ok"].toBool());
    EXPECT_EQ(report["records"].toInt(), 2);
    EXPECT_EQ(report["faults"].toArray().size(), 3);
    EXPECT_EQ(report["faults"].toArray()[0].toObject()["line"].toInt(), 1);
}

TEST_F(CommandLineTest, WritingCommandsNeverReplaceTheDataFolderNorWhatIsNotAFile) {
    const QString pipe = DataDir() + "/../pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const Run run = Paysum({"export", pipe});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "paysum: 無法寫入 " + pipe + "：不是一般檔案\n");
    EXPECT_FALSE(QFileInfo(pipe).isFile()) << "the pipe was replaced";

    // An archived run to write again beside the current batch.
    ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2026, 1, 5), QTime(9, 30))));
    InsertRow("S_ITEM", {"00001", "201016000011", "35000", "王小明", "00012345", ""});
    if (Rows("S_DAY").isEmpty())
        InsertRow("S_DAY", {today_, today_});
    CloseAllConnections();
    // The databases by name, by symbolic and hard links, and a new file through a link to the
    // folder.
    const QString out = DataDir() + "/../out";
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(QFile::link(DataDir() + "/PAYSUM.db", out + "/main.pdf"));
    ASSERT_EQ(::link(QFile::encodeName(DataDir() + "/BRANCH.db").constData(),
                     QFile::encodeName(out + "/branch.txt").constData()),
              0);
    ASSERT_TRUE(QFile::link(DataDir(), out + "/data"));
    const QStringList outEntries = Entries(out);
    const QByteArray main = test::FileHash(DataDir() + "/PAYSUM.db");
    const QByteArray branch = test::FileHash(DataDir() + "/BRANCH.db");
    for (const QString& target : {DataDir() + "/PAYSUM.db", DataDir() + "/BRANCH.db",
                                  out + "/main.pdf", out + "/branch.txt", out + "/data/new.pdf"}) {
        for (const QStringList& arguments :
             {QStringList{"export", target}, QStringList{"list", "--pdf", target},
              QStringList{"--pdf", target, "list"},
              QStringList{"history", "export", "1", target}}) {
            const Run refused = Paysum(arguments);
            EXPECT_EQ(refused.status, 1) << arguments.join(' ').toStdString();
            EXPECT_EQ(refused.err, "paysum: 無法寫入 " + target + "：不可寫入資料夾\n");
        }
    }
    EXPECT_EQ(test::FileHash(DataDir() + "/PAYSUM.db"), main);
    EXPECT_EQ(test::FileHash(DataDir() + "/BRANCH.db"), branch);
    EXPECT_EQ(Entries(DataDir()), (QStringList{"BRANCH.db", "PAYSUM.db"}));
    EXPECT_EQ(Entries(out), outEntries);
}

TEST_F(CommandLineTest, ExportRefusesWhatTheWindowWouldRefuseAndSaysAFileNotRecorded) {
    Execute(Connection(DataDir() + "/PAYSUM.db"), "UPDATE S_DAY SET LDATE = '010101'");
    CloseAllConnections();
    const QString path = DataDir() + "/../batch.txt";
    const Run run = Paysum({"export", path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "paysum: 日期必須大於等於今天\n");
    EXPECT_FALSE(QFile::exists(path));

    // A file that is written but cannot be recorded with the batch (another writer holds the
    // database) is said, and fails.
    Execute(Connection(DataDir() + "/PAYSUM.db"), "UPDATE S_DAY SET LDATE = ?", {today_});
    Run unrecorded;
    {
        const QSqlDatabase writer = Connection(DataDir() + "/PAYSUM.db");
        ASSERT_FALSE(Execute(writer, "BEGIN IMMEDIATE"));
        unrecorded = Paysum({"export", path});
        ASSERT_FALSE(Execute(writer, "ROLLBACK"));
    }
    CloseAllConnections();
    EXPECT_EQ(unrecorded.status, 1);
    EXPECT_EQ(unrecorded.out, "產生完畢：2 筆，總金額 155500\n");
    EXPECT_TRUE(unrecorded.err.startsWith("paysum: 注意：轉帳檔未能記入本批資料："))
        << unrecorded.err.toStdString();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(Rows("S_FILE").isEmpty());
    EXPECT_EQ(Paysum({"export", ""}).err, "paysum: 未指定檔名\n");

    // A batch of no transfers is no file at all.
    Execute(Connection(DataDir() + "/PAYSUM.db"), "DELETE FROM S_ITEM");
    CloseAllConnections();
    QFile::remove(path);
    const Run empty = Paysum({"export", path});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "paysum: 無薪資轉帳資料\n");
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(CommandLineTest, FileNamesAreTheSystemsBytes) {
    const QString out = DataDir() + "/../out";
    ASSERT_TRUE(QDir().mkpath(out));
    test::WriteFile(out + "/員工 名冊.csv", "ID,ACTNO,PAYSUM,NAME\n11,102000000012,30000,李四\n");
    // A name that is not text in the system's encoding would name another file: refused.
    for (const char* command : {"export \"$1\"", "list --pdf \"$1\"", "verify \"$1\"",
                                "import employees \"$1\"", "history export 1 \"$1\""}) {
        const Run run = PaysumInShell(
            QStringLiteral("set -- \"$(printf 'x\\377.txt')\"; exec \"$0\" ") + command, out);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.err, "paysum: 檔名含有無法辨識的位元組：x\\xFF.txt\n") << command;
    }
    EXPECT_EQ(Entries(out), QStringList{"員工 名冊.csv"});

    // Any other name is the file's own, and the batch records it as it is.
    const Run exported = PaysumInShell("exec \"$0\" export '薪資 轉帳.txt'", out);
    EXPECT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_TRUE(QFile::exists(out + "/薪資 轉帳.txt"));
    EXPECT_EQ(Rows("S_FILE").value(0).value(0),
              QFileInfo(out + "/薪資 轉帳.txt").canonicalFilePath());
    CloseAllConnections();
    EXPECT_EQ(PaysumInShell("exec \"$0\" verify '薪資 轉帳.txt'", out).status, 0);
    EXPECT_EQ(PaysumInShell("exec \"$0\" import employees '員工 名冊.csv'", out).status, 0);
    EXPECT_EQ(Rows("S_STAFF").size(), 1);
}

TEST_F(CommandLineTest, TheDataFolderAndEveryFileWrittenAreTheClerksAlone) {
    const mode_t umask = ::umask(022);
    // A looser folder is tightened once, with a note; a lock file from an odd clock says nothing.
    ASSERT_EQ(::chmod(QFile::encodeName(DataDir()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(DataDir() + "/PAYSUM.db").constData(), 0644), 0);
    test::WriteFile(DataDir() + "/PAYSUM.lock", "12345\n");
    QFile(DataDir() + "/PAYSUM.lock")
        .setFileTime(QDateTime::currentDateTime().addYears(1), QFileDevice::FileModificationTime);
    const Run first = Paysum({"history"});
    EXPECT_EQ(first.status, 0);
    EXPECT_EQ(first.err, "paysum: 注意：資料夾 " + DataDir() +
                             " 與其中的檔案原可讓其他使用者讀取，已改為只有本人可以存取\n");
    EXPECT_EQ(Mode(DataDir()), 0700);
    EXPECT_EQ(Mode(DataDir() + "/PAYSUM.db"), 0600);
    EXPECT_EQ(Mode(DataDir() + "/BRANCH.db"), 0600);
    const Run second = Paysum({"history"});
    EXPECT_EQ(second.err, "");

    QTemporaryDir out;
    ASSERT_EQ(Paysum({"export", out.filePath("batch.txt")}).status, 0);
    ASSERT_EQ(Paysum({"list", "--pdf", out.filePath("list.pdf")}).status, 0);
    for (const char* name : {"batch.txt", "list.pdf"})
        EXPECT_EQ(Mode(out.filePath(name)), 0600) << name;
    ::umask(umask);
}

TEST_F(CommandLineTest, ImportChecksFirstAndWritesAllOrNothing) {
    const QString sheet = DataDir() + "/../staff.csv";
    test::WriteFile(sheet,
                    "\xEF\xBB\xBF"
                    "員工代碼,員工帳號,員工薪資,員工姓名\r\n"
                    "11,102000000012,30000,李四\r\n"
                    "12,102000000013,31000,張三\r\n");
    const Run dry = Paysum({"import", "employees", sheet, "--dry-run"});
    EXPECT_EQ(dry.status, 1);
    EXPECT_EQ(dry.err, sheet + ":3: 員工帳號：員工帳號不正確\n");
    EXPECT_EQ(dry.out, "員工資料：1 筆可匯入，1 筆錯誤（未寫入）\n");
    const Run refused = Paysum({"import", "employees", sheet});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(Rows("S_STAFF").size(), 0);

    test::WriteFile(sheet, "ID,ACTNO,PAYSUM,NAME\n11,102000000012,30000,李四\n");
    const Run done = Paysum({"import", "employees", sheet});
    EXPECT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_EQ(done.out, "已匯入員工資料 1 筆\n");
    EXPECT_EQ(Rows("S_STAFF"),
              (QList<QStringList>{{"00011", "102000000012", "30000", "李四", ""}}));

    // An update names what changes; a name that may have lost a character is taken only when
    // told to.
    test::WriteFile(sheet,
                    "ID,ACTNO,PAYSUM,NAME\n11,102000000012,32000,李四\n13,102000000012,1,王?\n");
    EXPECT_EQ(Paysum({"import", "transfers", sheet, "--update"}).err,
              "paysum: --update 只用於匯入員工資料（import employees）\n");
    const Run doubtful = Paysum({"import", "employees", sheet, "--update"});
    EXPECT_EQ(doubtful.status, 1);
    EXPECT_EQ(doubtful.err, sheet +
                                ":3: 員工姓名：姓名含有「?」，可能是存檔時遺失的字；確定無誤時請加 "
                                "--accept-question-marks\n員工資料：1 筆可匯入（新增 0 筆，更新 1 "
                                "筆），1 筆錯誤，未匯入任何資料\n");
    const Run updated =
        Paysum({"import", "employees", sheet, "--update", "--accept-question-marks"});
    EXPECT_EQ(updated.status, 0) << updated.err.toStdString();
    EXPECT_EQ(updated.out,
              sheet + ":2: 更新 00011：員工薪資：30000 → 32000\n" + sheet +
                  ":3: 注意：姓名含有「?」，可能是存檔時遺失的字\n已匯入員工資料 2 筆\n");
    EXPECT_EQ(Rows("S_STAFF"), (QList<QStringList>{{"00011", "102000000012", "32000", "李四", ""},
                                                   {"00013", "102000000012", "1", "王?", ""}}));
}

TEST_F(CommandLineTest, AnImportKilledAtAnyMomentLeavesAllOrNothing) {
    const QString sheet = DataDir() + "/../staff.csv";
    QByteArray rows = "ID,ACTNO,PAYSUM,NAME\n";
    for (int code = 1; code <= 5000; ++code)
        rows += QByteArray::number(code) + ",102000000012,100,x\n";
    test::WriteFile(sheet, rows);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PAYSUM_DATA_DIR", DataDir());
    for (int delay : {0, 5, 15, 30, 45, 60, 90, 120}) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(PAYSUM_EXECUTABLE, {"import", "employees", sheet});
        ASSERT_TRUE(process.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delay));
        process.kill();
        process.waitForFinished();
        const qsizetype count = Rows("S_STAFF").size();
        EXPECT_TRUE(count == 0 || count == 5000) << count << " rows after " << delay << " ms";
        EXPECT_FALSE(CheckIntegrity(Connection(DataDir() + "/PAYSUM.db"), IntegrityCheck::Full));
        (void)Execute(Connection(DataDir() + "/PAYSUM.db"), "DELETE FROM S_STAFF");
        CloseAllConnections();
    }
    // A killed copy may leave its lock file, which the next start sees is stale; nothing else.
    QStringList left = QDir(DataDir()).entryList(QDir::Files | QDir::Hidden);
    left.removeAll("PAYSUM.lock");
    EXPECT_EQ(left, (QStringList{"BRANCH.db", "PAYSUM.db"}));
}

TEST_F(CommandLineTest, WritingCommandsRefuseWhileTheWindowsRun) {
    InstanceLock windows(DataDir(), InstanceLock::Holder::Windows);
    ASSERT_EQ(windows.TryLock(), InstanceLock::Outcome::Locked);
    const QString sheet = DataDir() + "/../staff.csv";
    test::WriteFile(sheet, "ID,ACTNO,PAYSUM,NAME\n11,102000000012,30000,李四\n");
    const QString path = DataDir() + "/../batch.txt";
    for (const QStringList& arguments :
         {QStringList{"import", "employees", sheet}, QStringList{"export", path},
          QStringList{"list", "--pdf", path}, QStringList{"history", "export", "1", path}}) {
        const Run run = Paysum(arguments);
        EXPECT_EQ(run.status, 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("PAYSUM 正在使用資料夾")) << run.err.toStdString();
    }
    EXPECT_EQ(Rows("S_STAFF").size(), 0);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(Paysum({"import", "employees", sheet, "--dry-run"}).status, 0);
    EXPECT_EQ(Paysum({"history"}).status, 0);
}

TEST_F(CommandLineTest, HistoryListsTheArchivedRunsAndWritesTheirFilesAgain) {
    QTemporaryDir out;
    const QString first = out.filePath("first.txt");
    ASSERT_EQ(Paysum({"export", first}).status, 0);
    ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2026, 1, 5), QTime(9, 30))));
    InsertRow("S_ITEM", {"00003", "201016000011", "1000", "李四", "", ""});
    ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2026, 1, 9), QTime(17, 0))));
    CloseAllConnections();

    const Run list = Paysum({"history"});
    EXPECT_EQ(list.status, 0) << list.err.toStdString();
    EXPECT_EQ(list.out,
              "2\t-\t-\t1\t1000\t-\t2026-01-09 17:00:00\n"
              "1\t" +
                  today_ + "\t" + today_ + "\t2\t155500\t" + first + "\t2026-01-05 09:30:00\n");

    const Run json = Paysum({"history", "--json"});
    EXPECT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonArray runs = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[0].toObject(), (QJsonObject{{"run", 2},
                                               {"archivedAt", "2026-01-09 17:00:00"},
                                               {"loginDate", ""},
                                               {"transferDate", ""},
                                               {"count", 1},
                                               {"total", 1000},
                                               {"file", QJsonValue::Null}}));
    const QJsonObject file = runs[1].toObject()["file"].toObject();
    EXPECT_EQ(runs[1].toObject()["loginDate"], today_);
    EXPECT_EQ(file["name"], first);
    EXPECT_EQ(file["size"].toInteger(), Contents(first).size());
    EXPECT_EQ(file["sha256"], QString::fromLatin1(test::FileHash(first).toHex()));
    EXPECT_EQ(file["count"], 2);
    EXPECT_EQ(file["total"], 155500);
    EXPECT_EQ(QDateTime::fromString(file["writtenAt"].toString(), "yyyy-MM-dd hh:mm:ss").date(),
              QDate::currentDate());

    const QString again = out.filePath("again.txt");
    const Run rewritten = Paysum({"history", "export", "1", again});
    EXPECT_EQ(rewritten.status, 0) << rewritten.err.toStdString();
    EXPECT_EQ(rewritten.out, "產生完畢：2 筆，總金額 155500\n");
    EXPECT_EQ(Contents(again), Contents(first));

    // A run that is not kept, one without dates, one changed since its file was written.
    ASSERT_FALSE(Execute(Connection(DataDir() + "/PAYSUM.db"),
                         "UPDATE H_ITEM SET PAYSUM = '35001' WHERE RUN = 1 AND ID = '00001'"));
    CloseAllConnections();
    const QString refused = out.filePath("refused.txt");
    const struct {
        const char* run;
        QString err;
    } faults[] = {
        {"3", "paysum: 沒有第 3 批已歸檔的薪資轉帳資料\n"},
        {"2", "paysum: 資料不全,建檔錯誤：日期不是六位數字\n"},
        {"1", "paysum: 本批資料與當時產生的轉帳檔不同，未產生\n"},
    };
    for (const auto& fault : faults) {
        const Run run = Paysum({"history", "export", fault.run, refused});
        EXPECT_EQ(run.status, 1) << fault.run;
        EXPECT_EQ(run.err, fault.err);
        EXPECT_FALSE(QFile::exists(refused)) << fault.run;
    }

    // Run numbers past 32 bits are listed and found as they are.
    for (const char* table : {"H_RUN", "H_ITEM"})
        ASSERT_FALSE(Execute(Connection(DataDir() + "/PAYSUM.db"),
                             QString("UPDATE %1 SET RUN = 4294967297 WHERE RUN = 2").arg(table)));
    CloseAllConnections();
    EXPECT_TRUE(Paysum({"history"}).out.startsWith("4294967297\t-\t-\t1\t1000\t-\t"));
    EXPECT_EQ(Paysum({"history", "export", "4294967297", refused}).err,
              "paysum: 資料不全,建檔錯誤：日期不是六位數字\n");
}

TEST_F(CommandLineTest, ABatchChangedAfterItsFileWasWrittenIsArchivedWithoutIt) {
    QTemporaryDir out;
    ASSERT_EQ(Paysum({"export", out.filePath("s1.txt")}).status, 0);
    const QString sheet = out.filePath("more.csv");
    test::WriteFile(sheet, "ACTNO,PAYSUM,NAME\n102000000012,5,臨時工\n");
    const Run imported = Paysum({"import", "transfers", sheet});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    const Run exported = Paysum({"export", out.filePath("s2.txt")});
    EXPECT_TRUE(exported.err.contains("paysum: 注意：轉帳檔 " + out.filePath("s1.txt") +
                                      " 產生後本批資料已變更，須重新產生轉帳檔\n"))
        << exported.err.toStdString();
    test::WriteFile(sheet, "ACTNO,PAYSUM,NAME\n102000000029,6,臨時工\n");
    ASSERT_EQ(Paysum({"import", "transfers", sheet}).status, 0);
    ASSERT_FALSE(ArchiveAndClearBatch(QDateTime(QDate(2026, 1, 5), QTime(9, 30))));
    CloseAllConnections();
    const Run list = Paysum({"history"});
    EXPECT_EQ(list.out, "1\t" + today_ + "\t" + today_ + "\t4\t155511\t-\t2026-01-05 09:30:00\n");
}

TEST_F(CommandLineTest, OnlyRegularFilesOfABoundedSizeAreRead) {
    QTemporaryDir out;
    const QString pipe = out.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString large = out.filePath("large");
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(62'001));
    file.close();
    const QString huge = out.filePath("huge.csv");
    QFile sheet(huge);
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly) && sheet.resize((qint64(32) << 20) + 1));
    sheet.close();
    const struct {
        QStringList arguments;
        QString err;
    } cases[] = {
        {{"verify", "/dev/zero"}, "paysum: /dev/zero 不是一般檔案\n"},
        {{"verify", pipe, "--batch"}, "paysum: " + pipe + " 不是一般檔案\n"},
        {{"verify", large}, "paysum: " + large + " 超過 62000 位元組（1000 筆記錄），不是轉帳檔\n"},
        {{"import", "employees", "/dev/zero"}, "paysum: /dev/zero 不是一般檔案\n"},
        {{"import", "transfers", pipe, "--dry-run"}, "paysum: " + pipe + " 不是一般檔案\n"},
        {{"import", "employees", huge}, "paysum: " + huge + " 超過 32 MB，無法匯入\n"},
        {{"import", "employees", out.filePath("none.csv")},
         "paysum: 無法開啟 " + out.filePath("none.csv") + "：沒有這個檔案或資料夾\n"},
    };
    for (const auto& c : cases) {
        const Run run = Paysum(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_EQ(Rows("S_STAFF").size(), 0);
}

// What a program of poppler-utils prints for a PDF.
QString Poppler(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.readAllStandardError(), "") << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A line's words, whatever the blanks between them.
QString Words(const QString& line) {
    return line.simplified().split(u' ', Qt::SkipEmptyParts).join(u' ');
}

TEST_F(CommandLineTest, ListPdfReadsBackAsPrintedAndIsNamedForItsBatch) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        GTEST_SKIP() << "pdftotext and pdfinfo (Debian package poppler-utils) are not installed";
    // Two pages of names and remarks: ideographs the list's font draws with the glyph of a radical
    // (金 ⾦, 日 ⽇, 行 ⾏, 頁 ⾴) or of a rarer ideograph (曶 㫚), characters outside code page
    // 950, and beyond U+FFFF (𠀋, 𡘙).
    const QStringList names = {"金日月", "十二工",   "林行頁", "張堃喆", "陳曶彧",  "鍾璿甯",
                               "翀靚瑋", "歐陽珮媺", "王大水", "李小民", "林𠀋𡘙明"};
    for (int i = 3; i <= 31; ++i) {
        InsertRow("S_ITEM", {QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), "123456789014",
                             QString::number(i * 1000), names[i % names.size()], "",
                             i % 4 == 0 ? "十月獎金" : ""});
    }
    ASSERT_FALSE(Execute(Connection(DataDir() + "/PAYSUM.db"),
                         "UPDATE S_DAY SET LDATE = '1151207', TDATE = '1151208'"));
    ASSERT_FALSE(Execute(Connection(DataDir() + "/PAYSUM.db"),
                         "UPDATE S_BASE SET SIGN1 = '主管：', SIGN2 = '經辦：', SIGN3 = '日期：'"));
    Report report;
    ASSERT_FALSE(ReadDetailReport(0, QDate::currentDate(), &report));
    CloseAllConnections();
    const QString pdf = DataDir() + "/../list.pdf";
    ASSERT_EQ(Paysum({"list", "--pdf", pdf}).status, 0);

    QStringList printed;
    for (const QString& line : report.lines) {
        if (!Words(line).isEmpty())
            printed << Words(line);
    }
    QStringList read;
    for (const QString& line : Poppler("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"})
                                   .split(QRegularExpression("[\\n\\f]"))) {
        if (!Words(line).isEmpty())
            read << Words(line);
    }
    EXPECT_EQ(read.join(u'\n').toStdString(), printed.join(u'\n').toStdString());
    EXPECT_TRUE(printed.join(u'\n').contains("金額："));

    const QString info = Poppler("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(
        QRegularExpression("^Title: +薪資轉帳明細 登錄日期 1151207 轉帳日期 1151208\n",
                           QRegularExpression::MultilineOption)))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("^Author: +PAYSUM " PAYSUM_VERSION_TEXT "\n",
                                                 QRegularExpression::MultilineOption)));
    EXPECT_TRUE(info.contains(QRegularExpression("^Creator: +PAYSUM " PAYSUM_VERSION_TEXT "\n",
                                                 QRegularExpression::MultilineOption)));
}

TEST_F(CommandLineTest, ListWritesAPdfWholeOrNotAtAllAndUsageFaultsSaySo) {
    const QString pdf = DataDir() + "/../list.pdf";
    const Run run = Paysum({"list", "--pdf", pdf});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(Contents(pdf).startsWith("%PDF"));
    EXPECT_TRUE(Contents(pdf).trimmed().endsWith("%%EOF"));

    // Options come before the command as well; a failed write keeps the earlier file.
    test::WriteFile(pdf, "earlier");
    const Run before = Paysum({"--pdf", pdf, "list"});
    EXPECT_EQ(before.status, 0) << before.err.toStdString();
    EXPECT_TRUE(Contents(pdf).startsWith("%PDF"));
    const Run device = Paysum({"list", "--pdf", "/dev/full"});
    EXPECT_EQ(device.status, 1);
    EXPECT_EQ(device.err, "paysum: 無法寫入 /dev/full：不是一般檔案\n");
    test::WriteFile(pdf, "earlier");
    const QStringList entries = Entries(DataDir() + "/..");
    {
        const test::FileSizeLimit full(4096);
        const Run failed = Paysum({"--pdf", pdf, "list"});
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.err, "paysum: 無法寫入 " + pdf + "：檔案超過系統允許的大小\n");
    }
    EXPECT_EQ(Contents(pdf), "earlier");
    EXPECT_EQ(Entries(DataDir() + "/.."), entries);

    // Usage faults: status 2, a line on stderr, nothing on stdout.
    const struct {
        QStringList arguments;
        int status;
        QString out;
        QString err;
    } cases[] = {
        {{"--version"}, 0, "PAYSUM " PAYSUM_VERSION_TEXT "\n", ""},
        {{"frobnicate"}, 2, "", "paysum: 不明的命令或參數不符；請看 paysum --help\n"},
        {{"export"}, 2, "", "paysum: export 的參數不符；請看 paysum export --help\n"},
        {{"list"}, 2, "", "paysum: list 的參數不符；請看 paysum list --help\n"},
        {{"history", "export", "0", "f.txt"}, 2, "", ""},
        {{"history", "export", "1x", "f.txt"}, 2, "", ""},
        {{"history", "export", "1"}, 2, "", ""},
        {{"history", "1"}, 2, "", ""},
        {{"--no-such-option"}, 2, "", "paysum: 不明的選項 --no-such-option；請看 paysum --help\n"},
        {{"export", "f.txt", "--json"},
         2,
         "",
         "paysum: export 不接受選項 --json；請看 paysum export --help\n"},
        {{"--pdf"}, 2, "", "paysum: 選項 --pdf 之後應有值；請看 paysum --help\n"},
        {{"history", "--json=yes"}, 2, "", "paysum: 選項 --json 不帶值；請看 paysum --help\n"},
    };
    for (const auto& c : cases) {
        const Run r = Paysum(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out) << c.arguments.join(' ').toStdString();
        if (!c.err.isEmpty()) {
            EXPECT_EQ(r.err, c.err) << c.arguments.join(' ').toStdString();
        }
    }
    // The help comes from the table of commands: every command, and each command's own options.
    const QString help = Paysum({"--help"}).out;
    EXPECT_TRUE(help.contains("import employees|transfers FILE [--dry-run]"));
    EXPECT_TRUE(help.contains("history export N FILE"));
    const Run verifyHelp = Paysum({"verify", "--help"});
    EXPECT_EQ(verifyHelp.status, 0);
    EXPECT_TRUE(verifyHelp.out.startsWith("用法：paysum verify FILE [--json] [--batch]\n"));
    EXPECT_TRUE(verifyHelp.out.contains("--batch")) << verifyHelp.out.toStdString();
    EXPECT_FALSE(verifyHelp.out.contains("--pdf"));
}

}  // namespace
}  // namespace paysum
