#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "data/RowCountCache.h"
#include "support/CoreTest.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace paysum {
namespace {

// A count kept between refreshes must follow every change of the file, whoever makes it.
class CountRowsTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
        for (const char* code : {"00001", "00002", "00003"})
            InsertRow(QStringLiteral("S_STAFF"), {QString::fromLatin1(code)});
    }

    // The employees the grid would list whole, and those whose code begins with "0000".
    int Listed(const QString& prefix = QString()) {
        DataControl control;
        control.SetConnectionString(MainDatabasePath());
        control.SetCommandType(CommandType::Text);
        if (prefix.isEmpty())
            control.SetRecordSource(QStringLiteral("select * from S_STAFF order by ID"));
        else
            control.SetRecordSource(
                QStringLiteral("select * from S_STAFF where ID >= ? and ID < ? order by ID"),
                KeyPrefixRange(prefix));
        EXPECT_FALSE(control.Refresh());
        return control.Recordset().RecordCount();
    }

    void Run(const QSqlDatabase& db, const char* sql) {
        ASSERT_FALSE(Execute(db, QString::fromLatin1(sql))) << sql;
    }
};

TEST_F(CountRowsTest, FollowsWritesOfThisAndOfOtherConnections) {
    EXPECT_EQ(Listed(), 3);
    EXPECT_EQ(Listed(QStringLiteral("0000")), 3);
    EXPECT_EQ(Listed(QStringLiteral("00002")), 1);

    Run(Connection(MainDatabasePath()), "DELETE FROM S_STAFF WHERE ID = '00003'");
    EXPECT_EQ(Listed(), 2);
    EXPECT_EQ(Listed(QStringLiteral("0000")), 2);

    {
        const ScopedConnection other(MainDatabasePath(), ScopedConnection::Access::Create);
        Run(other.Handle(), "INSERT INTO S_STAFF (ID) VALUES ('00007')");
    }
    EXPECT_EQ(Listed(), 3);
    EXPECT_EQ(Listed(QStringLiteral("0000")), 3);

    // A table emptied by recreating it changes no row count that SQLite keeps, only the schema.
    Run(Connection(MainDatabasePath()), "DROP TABLE S_STAFF");
    Run(Connection(MainDatabasePath()),
        "CREATE TABLE S_STAFF (ID TEXT NOT NULL DEFAULT '', ACTNO TEXT NOT NULL DEFAULT '', "
        "PAYSUM TEXT NOT NULL DEFAULT '', NAME TEXT NOT NULL DEFAULT '', AT TEXT NOT NULL "
        "DEFAULT '')");
    EXPECT_EQ(Listed(), 0);
}

TEST_F(CountRowsTest, CountsMadeInsideATransactionOutliveOnlyTheStateItCommits) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    EXPECT_EQ(Listed(), 3);
    {
        Transaction transaction(db);
        Run(db, "INSERT INTO S_STAFF (ID) VALUES ('00004')");
        EXPECT_EQ(Listed(), 4);
    }
    EXPECT_EQ(Listed(), 3);

    {
        Transaction transaction(db);
        Run(db, "INSERT INTO S_STAFF (ID) VALUES ('00004')");
        EXPECT_EQ(Listed(), 4);
        Run(db, "INSERT INTO S_STAFF (ID) VALUES ('00005')");
        ASSERT_FALSE(transaction.Commit());
    }
    EXPECT_EQ(Listed(), 5);
    {
        Transaction transaction(db);
        Run(db, "DELETE FROM S_STAFF WHERE ID = '00005'");
        EXPECT_EQ(Listed(), 4);
        ASSERT_FALSE(transaction.Commit());
    }
    EXPECT_EQ(Listed(), 4);

    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("BEGIN")));
    Run(db, "DELETE FROM S_STAFF");
    EXPECT_EQ(Listed(), 0);
    {
        // No transaction begins inside another: it says so before anything is written.
        Transaction inner(db);
        EXPECT_TRUE(inner.BeginError().has_value());
        EXPECT_TRUE(inner.Commit().has_value());
    }
    ASSERT_TRUE(query.exec(QStringLiteral("ROLLBACK")));
    EXPECT_EQ(Listed(), 4);
    // A transaction that writes nothing commits the file as it found it, not as the rolled back
    // one counted it.
    {
        Transaction transaction(db);
        ASSERT_FALSE(transaction.Commit());
    }
    EXPECT_EQ(Listed(), 4);
}

TEST_F(CountRowsTest, ACacheGivesACountBackOnlyForTheFileAsItWasCounted) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    RowCountCache cache(true);
    const auto kept = [&](const QString& key) { return cache.Find(db, key).kept; };
    const auto keep = [&](const QString& key, int count) {
        cache.Keep(cache.Find(db, key), key, count);
    };
    keep(QStringLiteral("a"), 3);
    EXPECT_EQ(kept(QStringLiteral("a")), 3);
    EXPECT_FALSE(kept(QStringLiteral("b")));
    Run(db, "UPDATE S_STAFF SET NAME = 'x' WHERE ID = '00001'");
    EXPECT_FALSE(kept(QStringLiteral("a")));

    // In a transaction that is not the cache's own nothing is given or kept.
    keep(QStringLiteral("a"), 3);
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("BEGIN")));
    EXPECT_FALSE(kept(QStringLiteral("a")));
    keep(QStringLiteral("b"), 1);
    ASSERT_TRUE(query.exec(QStringLiteral("ROLLBACK")));
    EXPECT_EQ(kept(QStringLiteral("a")), 3);
    EXPECT_FALSE(kept(QStringLiteral("b")));

    // In its own, a count outlives a rollback never, a commit only when made after the last write.
    for (const bool committed : {false, true}) {
        ASSERT_TRUE(query.exec(QStringLiteral("BEGIN")));
        cache.TransactionBegun();
        keep(QStringLiteral("before"), 3);
        Run(db, "INSERT INTO S_STAFF (ID) VALUES ('00009')");
        keep(QStringLiteral("after"), 4);
        ASSERT_TRUE(query.exec(committed ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK")));
        cache.TransactionEnded(committed);
        EXPECT_FALSE(kept(QStringLiteral("before")));
        EXPECT_EQ(kept(QStringLiteral("after")), committed ? std::optional(4) : std::nullopt);
    }
}

TEST_F(CountRowsTest, FollowsARestoreOfTheFile) {
    QTemporaryDir other;
    const QString backup = other.filePath(QStringLiteral("backup.db"));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), backup));
    Run(Connection(MainDatabasePath()), "INSERT INTO S_STAFF (ID) VALUES ('00004')");
    EXPECT_EQ(Listed(), 4);

    ASSERT_FALSE(RestoreDatabase(backup, MainDatabasePath()));
    EXPECT_EQ(Listed(), 3);
}

}  // namespace
}  // namespace paysum
