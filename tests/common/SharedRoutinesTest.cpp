#include "common/AmountPattern.h"
#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/RocDate.h"
#include "common/TextRules.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(TextRulesTest, ControlCharactersAreRefusedAndTheirNeighboursKept) {
    for (char32_t c : {0x00, 0x09, 0x0A, 0x0D, 0x1F, 0x7F, 0x80, 0x85, 0x9F, 0x200E, 0x200F, 0x202A,
                       0x202E, 0x2066, 0x2069})
        EXPECT_TRUE(IsControlCharacter(c)) << std::hex << static_cast<unsigned>(c);
    for (char32_t c : {0x20, 0x7E, 0xA0, 0x3000, 0x200D, 0x2010, 0x2029, 0x202F, 0x2065, 0x206A,
                       0xFEFF, 0x1F600})
        EXPECT_FALSE(IsControlCharacter(c)) << std::hex << static_cast<unsigned>(c);
    EXPECT_TRUE(HoldsControlCharacter(QStringLiteral("王\u202E明")));
    EXPECT_FALSE(HoldsControlCharacter(QStringLiteral("王　明\U0001F600")));
    EXPECT_EQ(WithoutControlCharacters(QStringLiteral("a\tb\r\nc\u2067")), QStringLiteral("abc"));
}

TEST(RocDateTest, TodayCheckAndOrder) {
    struct Case {
        QDate today;
        const char* expected;
    } cases[] = {{QDate(2002, 5, 5), "910505"},
                 {QDate(2002, 12, 25), "911225"},
                 {QDate(2011, 1, 1), "000101"},
                 {QDate(2000, 2, 29), "890229"}};
    for (const Case& c : cases)
        EXPECT_EQ(RocToday(2, c.today), QString::fromLatin1(c.expected)) << c.expected;
    EXPECT_EQ(RocToday(1, QDate(2002, 5, 6)), QStringLiteral("91/5/6"));
    EXPECT_EQ(RocToday(1, QDate(2002, 12, 25)), QStringLiteral("91/12/25"));

    struct Check {
        const char16_t* text;
        qint16 expected;
    } checks[] = {
        {u"910229", -2},  // 2002 is no leap year
        {u"890229", 1},   // 2000 is
        {u"930229", 1},   // 2004
        {u"911301", -3}, {u"910000", -3}, {u"910431", -2},  {u"910430", 1},
        {u"911231", 1},  {u"910100", -2}, {u"9105", -1},    {u"91a506", -1},
        {u"9105+1", -1}, {u"91 506", -1}, {u"9105061", -1}, {u"", -1},
    };
    for (const Check& c : checks) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CheckRocDate(text), c.expected) << text.toStdString();
    }
    EXPECT_EQ(CompareRocDates(QStringLiteral("910505"), QStringLiteral("910506")), -2);
    EXPECT_EQ(CompareRocDates(QStringLiteral("910506"), QStringLiteral("910506")), 1);
    EXPECT_EQ(CompareRocDates(QStringLiteral("920101"), QStringLiteral("911231")), 1);
    EXPECT_EQ(CompareRocDates(QStringLiteral("91050"), QStringLiteral("910506")), -1);
}

TEST(Big5TextTest, LengthsAndPadding) {
    EXPECT_EQ(Big5Length(QStringLiteral("ab 1")), 4);
    EXPECT_EQ(Big5Length(QStringLiteral("薪資")), 4);
    EXPECT_EQ(Big5Length(QStringLiteral("　")), 2);  // full-width space
    EXPECT_EQ(Big5Length(QStringLiteral("王a")), 3);
    // Characters that code page 950 cannot hold count one byte each.
    EXPECT_EQ(Big5Length(QStringLiteral("\u0e01")), 1);  // Thai
    EXPECT_EQ(Big5Length(QString::fromUcs4(U"\U0001F600")), 1);

    const QString twenty = QString(20, QChar(0x85aa));  // 薪
    EXPECT_TRUE(FitsBytes(twenty, 40));
    EXPECT_FALSE(FitsBytes(twenty, 39));
    EXPECT_FALSE(FitsBytes(QStringLiteral("abc  "), 4));  // blanks count: not trimmed

    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("12")), QStringLiteral("012"));
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("1234")), QStringLiteral("1234"));
    EXPECT_EQ(PadZeroLeft(3, QString()), QString());
    // The count is of the trimmed text; the zeros go before the untrimmed one.
    EXPECT_EQ(PadZeroLeft(4, QStringLiteral(" 12")), QStringLiteral("00 12"));
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("   ")), QStringLiteral("   "));

    EXPECT_EQ(PadSpaceRight(5, QStringLiteral("ab")), QStringLiteral("ab   "));
    EXPECT_EQ(PadSpaceRight(10, QStringLiteral("王明")), QStringLiteral("王明      "));
    EXPECT_EQ(PadSpaceRight(5, QString()), QString());
    EXPECT_EQ(PadSpaceRight(5, QStringLiteral("   ")), QStringLiteral("   "));
    EXPECT_EQ(PadSpaceRight(2, QStringLiteral("abc")), QStringLiteral("abc"));
    // A full-width space is kept as text, not trimmed as a blank.
    EXPECT_EQ(PadSpaceRight(6, QStringLiteral("王　")), QStringLiteral("王　  "));
}

TEST(CheckDigitsTest, BranchCodesAndAccounts) {
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

    // 100000000109: a weighted sum that is a multiple of nine takes the check digit 9. Thirteen
    // or more characters pass unless the first three are worth 0.
    for (const char* account : {"004001012341", "100000000109", "1234567890123", "1xxxxxxxxxxxxx"})
        EXPECT_TRUE(CheckAccountNo(QString::fromLatin1(account))) << account;
    // A twelfth digit 0 never passes: the check digit is always 1 to 9.
    for (const char* account : {"004001012345", "000123456789", "00400101234", "", "004001012340",
                                "100000000100", "0001234567890"})
        EXPECT_FALSE(CheckAccountNo(QString::fromLatin1(account))) << account;

    EXPECT_TRUE(IsCertificateAccount(QStringLiteral("123016789012")));
    EXPECT_FALSE(IsCertificateAccount(QStringLiteral("123017789012")));
    EXPECT_FALSE(IsCertificateAccount(QStringLiteral("12301678901")));
}

TEST(AmountPatternTest, BothPatternsRightAlignGroupedAmounts) {
    EXPECT_EQ(FormatAmount(kAmountPattern15, 35000), QString(9, u' ') + QStringLiteral("35,000"));
    EXPECT_EQ(FormatAmount(kAmountPattern15, 0), QString(14, u' ') + QStringLiteral("0"));
    EXPECT_EQ(FormatAmount(kAmountPattern15, 999), QString(12, u' ') + QStringLiteral("999"));
    EXPECT_EQ(FormatAmount(kAmountPattern15, 1000), QString(10, u' ') + QStringLiteral("1,000"));
    EXPECT_EQ(FormatAmount(kAmountPattern15, 999999999999LL), QStringLiteral("999,999,999,999"));
    EXPECT_EQ(FormatAmount(kAmountPattern14, 35000), QString(8, u' ') + QStringLiteral("35,000"));
    EXPECT_EQ(FormatAmount(kAmountPattern14, 99999999999LL), QStringLiteral("99,999,999,999"));
    // More digits than places: the whole amount, grouped, wider than the pattern.
    EXPECT_EQ(FormatAmount(kAmountPattern14, 123456789012LL), QStringLiteral("123,456,789,012"));
}

}  // namespace
}  // namespace paysum
