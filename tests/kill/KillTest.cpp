#include "app/startup.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "data/FileReplacement.h"
#include "data/PayRunHistory.h"
#include "data/StaffStore.h"
#include "output/ReportSource.h"
#include "output/TransferFile.h"
#include "print/Fonts.h"
#include "print/ReportPrint.h"
#include "staff/Renumbering.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <cstdio>
#include <random>

#include <csignal>

#include <unistd.h>

namespace paysum {
namespace {

constexpr int kKills = 50;

QString OutFolder() {
    return QFileInfo(DataFolderPath()).path() + QStringLiteral("/out");
}
QString BatchFilePath() {
    return OutFolder() + QStringLiteral("/BATCH.txt");
}
QString BackupPath() {
    return OutFolder() + QStringLiteral("/backup.db");
}
QString RestoreSourcePath() {
    return OutFolder() + QStringLiteral("/source.db");
}
QString ListPath() {
    return OutFolder() + QStringLiteral("/list.pdf");
}

std::vector<TransferItem> BatchItems() {
    std::vector<TransferItem> items;
    for (int i = 1; i <= kMaxTransferRecords; ++i)
        items.push_back({QStringLiteral("0040010%1").arg(i, 5, 10, QLatin1Char('0')),
                         QString::number(1000 + i), QString()});
    return items;
}

// The writes, as the windows run them. Each returns 0 when it completed.
int RunWrite(const QString& name) {
    if (name == u"renumber") {
        // A newcomer takes code 00001, so the run of codes from 00001 up moves up by one.
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        QStringList staff;
        QStringList items;
        if (ReadCodesFrom(db, QStringLiteral("S_STAFF"), QStringLiteral("00001"), &staff) ||
            ReadCodesFrom(db, QStringLiteral("S_ITEM"), QStringLiteral("00001"), &items))
            return 1;
        const CodeRoom room = PlanRoomForCode(QStringLiteral("00001"), staff, items);
        if (ShiftCodesUp(db, room.first, room.last, room.count) ||
            Execute(db, QStringLiteral("INSERT INTO S_STAFF (ID, NAME) VALUES ('00001', 'new')")))
            return 1;
        return transaction.Commit() ? 1 : 0;
    }
    if (name == u"newbatch") {
        // A fixed time, so that every completed run archives the same data.
        return ArchiveAndClearBatch(QDateTime(QDate(2026, 1, 5), QTime(9, 30))) ? 1 : 0;
    }
    if (name == u"batchfile") {
        const TransferHeader header{QStringLiteral("910503"), QStringLiteral("910505"),
                                    QStringLiteral("123"), QStringLiteral("12345678"),
                                    QStringLiteral("045")};
        return ReplaceClerkFile(BatchFilePath(),
                                TransferFileBytes(TransferFileLines(header, BatchItems())))
                   ? 1
                   : 0;
    }
    if (name == u"pdflist") {
        // The command line's own run, waited for (the child runs it in place of itself).
        QProcess paysum;
        paysum.start(QStringLiteral(PAYSUM_EXECUTABLE),
                     {QStringLiteral("list"), QStringLiteral("--pdf"), ListPath()});
        return paysum.waitForFinished(60000) && paysum.exitStatus() == QProcess::NormalExit
                   ? paysum.exitCode()
                   : 1;
    }
    if (name == u"printfile") {
        // The report window's print to file.
        Report report;
        if (ReadDetailReport(0, QDate(2026, 1, 5), &report))
            return 1;
        return PrintReportJob(PrintTarget{{}, ListPath()},
                              {MingFont().families(), QPageLayout::Landscape, 2}, report.lines,
                              OpenPdfPrinter)
                   ? 1
                   : 0;
    }
    if (name == u"backup")
        return CopyDatabase(MainDatabasePath(), BackupPath()) ? 1 : 0;
    if (name == u"restore")
        return RestoreDatabase(RestoreSourcePath(), MainDatabasePath()) ? 1 : 0;
    return 2;
}

// A digest of every row of the main tables of a database, to tell old data from new.
QByteArray DataDigest(const QSqlDatabase& db) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const char* table :
         {"S_BASE", "S_STAFF", "S_ITEM", "S_DAY", "NNOO", "S_FILE", "H_RUN", "H_ITEM"}) {
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(
            QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table))));
        while (query.next()) {
            for (int i = 0; i < query.record().count(); ++i)
                hash.addData(query.value(i).toString().toUtf8() + '\x1f');
            hash.addData("\x1e");
        }
    }
    return hash.result();
}

// Opens a database as the program would (playing a journal left beside it), checks it fully
// and gives the digest of its data.
QByteArray CheckedDigest(const QString& path) {
    QByteArray digest;
    {
        const QSqlDatabase db = Connection(path);
        EXPECT_TRUE(db.isOpen()) << path.toStdString();
        EXPECT_FALSE(CheckIntegrity(db, IntegrityCheck::Full)) << path.toStdString();
        digest = DataDigest(db);
    }
    CloseAllConnections();
    return digest;
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                  QDir::System);
}

void CopyFolder(const QString& from, const QString& to) {
    ASSERT_TRUE(QDir().mkpath(to));
    for (const QString& name : Entries(from))
        ASSERT_TRUE(QFile::copy(from + u'/' + name, to + u'/' + name)) << name.toStdString();
}

class KillTest : public test::PaysumTest {
protected:
    // The data before each write: `employees` employees and the files beside the user's.
    void Prepare(int employees) {
        CreateDatabases();
        ASSERT_TRUE(QDir().mkpath(OutFolder()));
        FillData(employees);
        // An earlier batch file and backup, and a restore source with the batch of a later day.
        test::WriteFile(BatchFilePath(), "earlier batch\r\n");
        test::WriteFile(ListPath(), "%PDF earlier list");
        ASSERT_FALSE(CopyDatabase(MainDatabasePath(), BackupPath()));
        ASSERT_FALSE(CopyDatabase(MainDatabasePath(), RestoreSourcePath()));
        ASSERT_FALSE(
            Execute(Connection(RestoreSourcePath()),
                    QStringLiteral("UPDATE S_DAY SET LDATE = '910601', TDATE = '910605'")));
        ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                             QStringLiteral("UPDATE S_BASE SET CNAME = 'd'")));
        CloseAllConnections();
        KeepAsBefore();
    }

    // A company, the employees, a transfer for every twentieth and the batch dates.
    void FillData(int employees) {
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        ASSERT_FALSE(Execute(db, QStringLiteral("INSERT INTO S_BASE (BRNO, CNAME, CUSTNO, UNINO) "
                                                "VALUES ('123', 'c', '045', '12345678')")));
        for (int code = 1; code <= employees; ++code) {
            const QString id = QStringLiteral("%1").arg(code, 5, 10, QLatin1Char('0'));
            ASSERT_FALSE(Execute(db,
                                 QStringLiteral("INSERT INTO S_STAFF (ID, ACTNO, PAYSUM, NAME) "
                                                "VALUES (?, '004001012341', '35000', ?)"),
                                 {id, QStringLiteral("員工") + id}));
            if (code % 20 == 0) {
                ASSERT_FALSE(
                    Execute(db,
                            QStringLiteral("INSERT INTO S_ITEM (ID, ACTNO, PAYSUM) VALUES (?, "
                                           "'004001012341', '35000')"),
                            {id}));
            }
        }
        ASSERT_FALSE(Execute(db, QStringLiteral("INSERT INTO S_DAY VALUES ('910503', '910505')")));
        ASSERT_FALSE(transaction.Commit());
    }

    // Keeps the data folder and the other folder as they are now, to go back to before each kill.
    void KeepAsBefore() {
        const QString base = QFileInfo(DataDir()).path();
        ASSERT_TRUE(QDir(base + QStringLiteral("/before")).removeRecursively());
        CopyFolder(DataDir(), base + QStringLiteral("/before/data"));
        CopyFolder(OutFolder(), base + QStringLiteral("/before/out"));
    }
    void BackToBefore() {
        const QString base = QFileInfo(DataDir()).path();
        ASSERT_TRUE(QDir(DataDir()).removeRecursively());
        ASSERT_TRUE(QDir(OutFolder()).removeRecursively());
        CopyFolder(base + QStringLiteral("/before/data"), DataDir());
        CopyFolder(base + QStringLiteral("/before/out"), OutFolder());
    }

    // Runs the write in a child process; kills it `delayUs` microseconds after it starts writing,
    // or lets it finish when `delayUs` is negative. Returns how long the write ran.
    qint64 RunChild(const char* write, qint64 delayUs) {
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--write"), QString::fromLatin1(write)});
        child.start();
        EXPECT_TRUE(child.waitForReadyRead(30000));
        QElapsedTimer timer;
        timer.start();
        if (delayUs >= 0) {
            QThread::usleep(static_cast<unsigned long>(delayUs));
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        }
        EXPECT_TRUE(child.waitForFinished(60000));
        const qint64 took = timer.nsecsElapsed() / 1000;
        if (delayUs < 0) {
            EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        }
        return took;
    }

    // Kills the write many times at random moments; after each kill `check` looks at what is
    // left.
    void KillRepeatedly(const char* write, const std::function<void()>& check) {
        BackToBefore();
        const qint64 duration = RunChild(write, -1);
        std::mt19937 random(std::random_device{}());
        // A little past the end too, where only the rename and its sync remain.
        std::uniform_int_distribution<qint64> moment(0, duration + duration / 10);
        for (int i = 0; i < kKills; ++i) {
            BackToBefore();
            const qint64 delay = moment(random);
            SCOPED_TRACE(QStringLiteral("%1 killed after %2 us of %3")
                             .arg(QLatin1String(write))
                             .arg(delay)
                             .arg(duration)
                             .toStdString());
            RunChild(write, delay);
            check();
            if (HasFailure())
                return;
        }
    }

    // The outcome of the write run whole, from the state before it.
    QByteArray Completed(const char* write, const std::function<QByteArray()>& contents) {
        BackToBefore();
        RunChild(write, -1);
        return contents();
    }

    // A write of the main database: after each kill it holds the old data or the new, and the
    // next start clears the data folder of everything but the two files.
    void KillDataFolderWrite(const char* write) {
        const QString main = MainDatabasePath();
        const QByteArray before = CheckedDigest(main);
        const QByteArray after = Completed(write, [&] { return CheckedDigest(main); });
        ASSERT_NE(after, before);
        KillRepeatedly(write, [&] {
            const QByteArray digest = CheckedDigest(main);
            EXPECT_TRUE(digest == before || digest == after);
            ASSERT_TRUE(StartUp());
            ShutDown();
            EXPECT_EQ(Entries(DataDir()),
                      (QStringList{QStringLiteral("BRANCH.db"), QStringLiteral("PAYSUM.db")}));
        });
    }

    // A write of a file beside the user's: after each kill the target is the earlier file or the
    // complete new one, and the next write of it leaves nothing of the killed one.
    void KillWriteBeside(const char* write, const QString& target) {
        const bool database = target.endsWith(u".db");
        // Every PDF is stamped with the moment it was made; a complete one ends its trailer and
        // has the size of any other.
        const bool pdf = target.endsWith(u".pdf");
        const auto contents = [&] {
            if (database)
                return CheckedDigest(target);
            if (!pdf || test::ReadFile(target).startsWith("%PDF earlier"))
                return test::FileHash(target);
            const QByteArray bytes = test::ReadFile(target);
            return bytes.trimmed().endsWith("%%EOF") ? QByteArray::number(bytes.size())
                                                     : QByteArray("broken PDF");
        };
        const QByteArray before = contents();
        const QStringList entries = Entries(OutFolder());
        const QByteArray after = Completed(write, contents);
        ASSERT_NE(after, before);
        KillRepeatedly(write, [&] {
            const QByteArray now = contents();
            EXPECT_TRUE(now == before || now == after) << now.toStdString();
            ASSERT_EQ(RunWrite(QString::fromLatin1(write)), 0);
            CloseAllConnections();
            EXPECT_EQ(Entries(OutFolder()), entries);
        });
    }
};

TEST_F(KillTest, RenumberingARunOfCodes) {
    // Every code moves up by one.
    Prepare(10000);
    KillDataFolderWrite("renumber");
}

TEST_F(KillTest, NewBatch) {
    Prepare(1000);
    KillDataFolderWrite("newbatch");
}

TEST_F(KillTest, Restore) {
    Prepare(1000);
    KillDataFolderWrite("restore");
}

TEST_F(KillTest, BatchFileOverAnEarlierOne) {
    Prepare(1000);
    KillWriteBeside("batchfile", BatchFilePath());
}

TEST_F(KillTest, BackupOverAnEarlierOne) {
    Prepare(1000);
    KillWriteBeside("backup", BackupPath());
}

TEST_F(KillTest, PdfListOverAnEarlierOne) {
    Prepare(1000);
    KillWriteBeside("pdflist", ListPath());
}

TEST_F(KillTest, PrintToFileOverAnEarlierOne) {
    Prepare(1000);
    KillWriteBeside("printfile", ListPath());
}

}  // namespace
}  // namespace paysum

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && qstrcmp(argv[1], "--write") == 0) {
        // The parent starts its clock on this line.
        std::fputs("writing\n", stdout);
        std::fflush(stdout);
        if (qstrcmp(argv[2], "pdflist") == 0) {
            execl(PAYSUM_EXECUTABLE, "paysum", "list", "--pdf",
                  QFile::encodeName(paysum::ListPath()).constData(), nullptr);
            return 1;
        }
        QGuiApplication app(argc, argv);
        return paysum::RunWrite(QString::fromLatin1(argv[2]));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
