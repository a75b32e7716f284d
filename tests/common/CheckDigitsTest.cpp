#include "common/CheckDigits.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(BranchCheckDigitTest, BankCodesInsideAndOutsideTheComplementRange) {
    struct Case {
        const char* code;
        const char* digit;
    } cases[] = {
        {"004012", "9"}, {"004001", "5"},  {"009001", "3"}, {"009123", "0"},
        {"100001", "2"}, {"300999", "0"},  {"301000", "2"}, {"050123", "1"},
        {"0040", "*"},   {"0040129", "9"},  // a seventh character is ignored
        {"  0040", "*"}, {"004005", "9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BranchCheckDigit(QString::fromLatin1(c.code)), QString::fromLatin1(c.digit))
            << c.code;
    }
}

TEST(CheckAccountNoTest, AcceptsOnlyAccountsWithTheirCheckDigit) {
    EXPECT_TRUE(CheckAccountNo(QStringLiteral("004001012341")));
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("004001012345")));
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("000123456789")));
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("00400101234")));  // eleven characters
    EXPECT_FALSE(CheckAccountNo(QString()));
    // A twelfth digit 0 never passes: the check digit is always 1 to 9.
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("004001012340")));
    // Thirteen or more characters pass unless the first three are worth 0.
    EXPECT_TRUE(CheckAccountNo(QStringLiteral("1234567890123")));
    EXPECT_TRUE(CheckAccountNo(QStringLiteral("1xxxxxxxxxxxxx")));
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("0001234567890")));
}

TEST(CheckAccountNoTest, WeightedSumsThatAreMultiplesOfNineTakeNine) {
    // 1*6 + 0 + ... + 1*2 + ... chosen so that the weighted sum is 9: check digit 9.
    EXPECT_TRUE(CheckAccountNo(QStringLiteral("100000000109")));
    EXPECT_FALSE(CheckAccountNo(QStringLiteral("100000000100")));
}

TEST(IsCertificateAccountTest, NeedsTwelveCharactersWith016) {
    EXPECT_TRUE(IsCertificateAccount(QStringLiteral("123016789012")));
    EXPECT_FALSE(IsCertificateAccount(QStringLiteral("123017789012")));
    EXPECT_FALSE(IsCertificateAccount(QStringLiteral("12301678901")));
}

}  // namespace
}  // namespace paysum
