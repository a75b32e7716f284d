#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace paysum {
namespace {

class DatabaseCopyTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        ASSERT_TRUE(other_.isValid());
        InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("舊公司")});
    }

    // A path in a folder apart from the data folder.
    QString Other(const QString& name) const { return other_.filePath(name); }

    QTemporaryDir other_;
};

TEST_F(DatabaseCopyTest, CopyReplacesAnEarlierFileButNotItsStaleJournal) {
    const QString backup = Other(QStringLiteral("backup.db"));
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

TEST_F(DatabaseCopyTest, FailedCopyLeavesTheTargetAsItWas) {
    const QString backup = Other(QStringLiteral("backup.db"));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), backup));
    const QByteArray earlier = test::FileHash(backup);
    const QByteArray main = test::FileHash(MainDatabasePath());
    {
        const test::FileSizeLimit diskFull(8192);
        EXPECT_TRUE(CopyDatabase(MainDatabasePath(), backup));
    }
    // A source that is not a main database never reaches the target.
    EXPECT_TRUE(CopyDatabase(BranchDatabasePath(), backup));
    EXPECT_EQ(test::FileHash(backup), earlier);
    EXPECT_EQ(QDir(other_.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("backup.db")});
    // Nor is a file copied onto itself.
    EXPECT_TRUE(CopyDatabase(MainDatabasePath(), DataDir() + QStringLiteral("/../data/PAYSUM.db")));
    EXPECT_EQ(test::FileHash(MainDatabasePath()), main);
}

}  // namespace
}  // namespace paysum
