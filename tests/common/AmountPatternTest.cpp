#include "common/AmountPattern.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(FormatAmountTest, FifteenColumnPattern) {
    const QString pattern = kAmountPattern15;
    EXPECT_EQ(FormatAmount(pattern, 35000), QString(9, u' ') + QStringLiteral("35,000"));
    EXPECT_EQ(FormatAmount(pattern, 0), QString(14, u' ') + QStringLiteral("0"));
    EXPECT_EQ(FormatAmount(pattern, 155500), QString(8, u' ') + QStringLiteral("155,500"));
    EXPECT_EQ(FormatAmount(pattern, 999), QString(12, u' ') + QStringLiteral("999"));
    EXPECT_EQ(FormatAmount(pattern, 1000), QString(10, u' ') + QStringLiteral("1,000"));
    EXPECT_EQ(FormatAmount(pattern, 999999999999LL), QStringLiteral("999,999,999,999"));
}

TEST(FormatAmountTest, FourteenColumnPatternAndOverflow) {
    const QString pattern = kAmountPattern14;
    EXPECT_EQ(FormatAmount(pattern, 35000), QString(8, u' ') + QStringLiteral("35,000"));
    EXPECT_EQ(FormatAmount(pattern, 0).size(), 14);
    EXPECT_EQ(FormatAmount(pattern, 99999999999LL), QStringLiteral("99,999,999,999"));
    // More digits than places: the whole amount, grouped, wider than the pattern.
    EXPECT_EQ(FormatAmount(pattern, 123456789012LL), QStringLiteral("123,456,789,012"));
}

}  // namespace
}  // namespace paysum
