#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace paysum {
namespace {

using DatabaseCopyTest = test::PaysumTest;

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

}  // namespace
}  // namespace paysum
