#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "support/PaysumTest.h"

#include <QDir>
#include <QFile>

namespace paysum {
namespace {

class SchemaTest : public test::PaysumTest {};

TEST_F(SchemaTest, NewDataFolderHoldsEveryTableEmpty) {
    CreateDatabases();
    EXPECT_TRUE(HasSchema(Connection(MainDatabasePath()), DatabaseFile::Main));
    EXPECT_TRUE(HasSchema(Connection(BranchDatabasePath()), DatabaseFile::Branch));
    for (const char* table : {"S_BASE", "S_STAFF", "S_ITEM", "S_DAY", "NNOO", "RTBANK"})
        EXPECT_TRUE(Rows(QString::fromLatin1(table)).isEmpty()) << table;
    // Nothing but the two files is left behind in or beside the folder.
    EXPECT_EQ(QDir(DataDir()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(DataDir() + QStringLiteral("/..")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("data")});
}

TEST_F(SchemaTest, CheckRefusesFilesThatAreNotOurDatabase) {
    CreateDatabases();
    EXPECT_FALSE(CheckDatabaseFile(MainDatabasePath(), DatabaseFile::Main));
    // The branch file does not hold the main tables.
    EXPECT_TRUE(CheckDatabaseFile(BranchDatabasePath(), DatabaseFile::Main));
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), QStringLiteral("DROP TABLE NNOO")));
    EXPECT_TRUE(CheckDatabaseFile(MainDatabasePath(), DatabaseFile::Main));

    const QString text = DataDir() + QStringLiteral("/notes.db");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    EXPECT_TRUE(CheckDatabaseFile(text, DatabaseFile::Main));
    // A missing file is refused and not created.
    const QString missing = DataDir() + QStringLiteral("/missing.db");
    EXPECT_TRUE(CheckDatabaseFile(missing, DatabaseFile::Main));
    EXPECT_FALSE(QFile::exists(missing));
}

}  // namespace
}  // namespace paysum
