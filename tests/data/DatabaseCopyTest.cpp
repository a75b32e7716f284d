#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "support/Files.h"
#include "support/CoreTest.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace paysum {
namespace {

using DatabaseCopyTest = test::CoreTest;

TEST_F(DatabaseCopyTest, CopyReplacesAnEarlierFileButNotItsStaleJournal) {
    CreateDatabases();
    InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("舊公司")});
    QTemporaryDir other;
    const QString backup = other.filePath(QStringLiteral("backup.db"));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), backup));

    // Leave a hot journal beside the earlier backup, as a crash in the middle of a write would.
    QByteArray journal;
    {
        QSqlQuery query(Connection(backup));
        // Unsynced, the journal counts its pages from its size, so any later opener plays it.
        ASSERT_TRUE(query.exec(QStringLiteral("PRAGMA synchronous = OFF")));
        ASSERT_TRUE(query.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(query.exec(QStringLiteral("UPDATE S_BASE SET CNAME = 'x'")));
        QFile file(backup + QStringLiteral("-journal"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        journal = file.readAll();
        ASSERT_TRUE(query.exec(QStringLiteral("ROLLBACK")));
    }
    CloseAllConnections();
    test::WriteFile(backup + QStringLiteral("-journal"), journal);

    // Played into the new backup, that journal would bring the old company back.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("UPDATE S_BASE SET CNAME = '新公司'")));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), backup));
    QSqlQuery copy(Connection(backup));
    ASSERT_TRUE(copy.exec(QStringLiteral("SELECT CNAME FROM S_BASE")) && copy.next());
    EXPECT_EQ(copy.value(0).toString(), QStringLiteral("新公司"));
    EXPECT_FALSE(CheckMainDatabaseFile(backup));
}

TEST_F(DatabaseCopyTest, RestoreKeepsRunNumbersUpToTheLastAndRefusesControlCharacters) {
    CreateDatabases();
    QTemporaryDir other;
    const auto source = [&](const QString& name, const QString& sql, const QVariantList& values) {
        const QString path = other.filePath(name);
        EXPECT_FALSE(CopyDatabase(MainDatabasePath(), path));
        EXPECT_FALSE(Execute(Connection(path), sql, values));
        CloseAllConnections();
        return path;
    };
    const QString run = QStringLiteral("INSERT INTO H_RUN (RUN, FNAME) VALUES (?, ?)");
    EXPECT_FALSE(CheckRestoreSource(source("last.db", run, {qint64(1) << 53, "s1.txt"})));
    EXPECT_FALSE(CheckRestoreSource(source("wide.db", run, {2147483648LL, "s1.txt"})));
    EXPECT_TRUE(CheckRestoreSource(source("past.db", run, {(qint64(1) << 53) + 1, "s1.txt"})));
    EXPECT_TRUE(CheckRestoreSource(source("tab.db", run, {1, "s1\t.txt"})));
    EXPECT_TRUE(CheckRestoreSource(
        source("rlo.db", QStringLiteral("INSERT INTO S_STAFF (ID, NAME) VALUES ('00001', ?)"),
               {QStringLiteral("王\u202E明")})));
}

}  // namespace
}  // namespace paysum
