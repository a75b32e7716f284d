#include "data/BatchStore.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "support/PaysumTest.h"

namespace paysum {
namespace {

class BatchStoreTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
        InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00002")});
        InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
        InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00001")});
    }
};

TEST_F(BatchStoreTest, ClearsTransfersAndDatesOnly) {
    ASSERT_FALSE(ClearBatch());
    EXPECT_TRUE(Rows(QStringLiteral("S_ITEM")).isEmpty());
    EXPECT_TRUE(Rows(QStringLiteral("S_DAY")).isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 1);
}

TEST_F(BatchStoreTest, AFailureLeavesBothTablesAsTheyWere) {
    // With the dates' table unreadable the second delete fails; the first must not stay done.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("ALTER TABLE S_DAY RENAME TO S_DAY_AWAY")));
    EXPECT_TRUE(ClearBatch().has_value());
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 2);
    EXPECT_EQ(Rows(QStringLiteral("S_DAY_AWAY")).size(), 1);
}

}  // namespace
}  // namespace paysum
