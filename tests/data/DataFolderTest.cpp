#include "data/BankName.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "support/PaysumTest.h"

#include <QDir>

namespace paysum {
namespace {

class DataFolderTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }
};

TEST_F(DataFolderTest, NewDataFolderHoldsEveryTableEmptyAndNothingElse) {
    for (const char* table : {"S_BASE", "S_STAFF", "S_ITEM", "S_DAY", "NNOO", "RTBANK"})
        EXPECT_TRUE(Rows(QString::fromLatin1(table)).isEmpty()) << table;
    // Nothing but the two files is left behind in or beside the folder.
    EXPECT_EQ(QDir(DataDir()).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(QDir(DataDir() + QStringLiteral("/..")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("data")});

    EXPECT_FALSE(CheckDatabaseFile(MainDatabasePath(), DatabaseFile::Main));
    EXPECT_FALSE(CheckDatabaseFile(BranchDatabasePath(), DatabaseFile::Branch));
}

TEST_F(DataFolderTest, BankNameIsTheTrimmedFullNameInBracketsOrNotBuilt) {
    EXPECT_EQ(BankNameOf(QStringLiteral("0040129")), QStringLiteral("[代碼檔未建]"));
    InsertRow(QStringLiteral("RTBANK"),
              {QStringLiteral("0040129"), QStringLiteral("台北"), QStringLiteral("  台北分行　 ")});
    InsertRow(QStringLiteral("RTBANK"),
              {QStringLiteral("0040059"), QStringLiteral("信義"), QStringLiteral("信義分行")});
    EXPECT_EQ(BankNameOf(QStringLiteral("0040129")), QStringLiteral("[台北分行　]"));
    EXPECT_EQ(BankNameOf(QStringLiteral("0040059")), QStringLiteral("[信義分行]"));
    EXPECT_EQ(BankNameOf(QStringLiteral("0040128")), QStringLiteral("[代碼檔未建]"));
    EXPECT_EQ(BankNameOf(QStringLiteral("004012")), QStringLiteral("[代碼檔未建]"));
}

}  // namespace
}  // namespace paysum
