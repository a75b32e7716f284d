#include "data/BankName.h"
#include "support/PaysumTest.h"

namespace paysum {
namespace {

class BankNameTest : public test::PaysumTest {};

TEST_F(BankNameTest, BracketedTrimmedFullNameOrNotBuilt) {
    CreateDatabases();
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
