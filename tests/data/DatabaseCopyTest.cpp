#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/DatabaseCopy.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <unistd.h>

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

    // The company name stored in the database at `path`.
    static QString Company(const QString& path) {
        QSqlQuery query(Connection(path));
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT CNAME FROM S_BASE")) && query.next());
        return query.value(0).toString();
    }

    void Rename(const QString& company) {
        ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                             QStringLiteral("UPDATE S_BASE SET CNAME = ?"), {company}));
    }

    QTemporaryDir other_;
};

TEST_F(DatabaseCopyTest, SameFileSeesThroughEverySpelling) {
    const QString main = MainDatabasePath();
    ASSERT_TRUE(QFile::link(main, Other(QStringLiteral("link.db"))));
    ASSERT_TRUE(QFile::link(DataDir(), Other(QStringLiteral("folder"))));
    ASSERT_EQ(::link(QFile::encodeName(main).constData(),
                     QFile::encodeName(Other(QStringLiteral("hard.db"))).constData()),
              0);
    ASSERT_TRUE(QFile::copy(main, Other(QStringLiteral("copy.db"))));

    for (const QString& spelling :
         {DataDir() + QStringLiteral("/./PAYSUM.db"),
          DataDir() + QStringLiteral("/../data/PAYSUM.db"), Other(QStringLiteral("link.db")),
          Other(QStringLiteral("folder/PAYSUM.db")), Other(QStringLiteral("hard.db"))})
        EXPECT_TRUE(IsSameFile(spelling, main)) << spelling.toStdString();
    for (const QString& other : {BranchDatabasePath(), Other(QStringLiteral("copy.db")),
                                 Other(QStringLiteral("missing.db")), QString()})
        EXPECT_FALSE(IsSameFile(other, main)) << other.toStdString();
}

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
    Rename(QStringLiteral("新公司"));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), backup));
    EXPECT_EQ(Company(backup), QStringLiteral("新公司"));
    EXPECT_FALSE(CheckMainDatabaseFile(backup));

    // Through a link the linked file is replaced and the link stays.
    const QString link = Other(QStringLiteral("link.db"));
    ASSERT_TRUE(QFile::link(backup, link));
    Rename(QStringLiteral("第三家"));
    ASSERT_FALSE(CopyDatabase(MainDatabasePath(), link));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), backup);
    EXPECT_EQ(Company(backup), QStringLiteral("第三家"));
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

    ASSERT_TRUE(QDir().mkdir(Other(QStringLiteral("folder.db"))));
    EXPECT_TRUE(CopyDatabase(MainDatabasePath(), Other(QStringLiteral("folder.db"))));
    EXPECT_TRUE(QDir(Other(QStringLiteral("folder.db"))).isEmpty());
    EXPECT_TRUE(CopyDatabase(MainDatabasePath(), DataDir() + QStringLiteral("/../data/PAYSUM.db")));
    EXPECT_EQ(test::FileHash(MainDatabasePath()), main);
}

TEST_F(DatabaseCopyTest, CheckRefusesWhatIsNotAMainDatabase) {
    EXPECT_FALSE(CheckMainDatabaseFile(MainDatabasePath()));
    const QString empty = Other(QStringLiteral("empty.db"));
    test::WriteFile(empty, {});
    ASSERT_TRUE(QDir().mkdir(Other(QStringLiteral("folder.db"))));
    const QString shortDay = Other(QStringLiteral("short.db"));
    ASSERT_TRUE(QFile::copy(MainDatabasePath(), shortDay));
    ASSERT_FALSE(
        Execute(Connection(shortDay), QStringLiteral("ALTER TABLE S_DAY DROP COLUMN TDATE")));
    CloseAllConnections();

    for (const QString& path :
         {empty, Other(QStringLiteral("folder.db")), shortDay, Other(QStringLiteral("missing.db"))})
        EXPECT_TRUE(CheckMainDatabaseFile(path)) << path.toStdString();
    // Looking does not write: the empty file stays empty and nothing is created.
    EXPECT_EQ(QFile(empty).size(), 0);
    EXPECT_FALSE(QFile::exists(Other(QStringLiteral("missing.db"))));
}

}  // namespace
}  // namespace paysum
