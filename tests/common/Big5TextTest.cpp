#include "common/Big5Text.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(Big5LengthTest, CountsCodePage950Bytes) {
    EXPECT_EQ(Big5Length(QString()), 0);
    EXPECT_EQ(Big5Length(QStringLiteral("ab 1")), 4);
    EXPECT_EQ(Big5Length(QStringLiteral("薪資")), 4);
    EXPECT_EQ(Big5Length(QStringLiteral("　")), 2);  // full-width space
    EXPECT_EQ(Big5Length(QStringLiteral("：")), 2);
    EXPECT_EQ(Big5Length(QStringLiteral("王a")), 3);
    // Characters that code page 950 cannot hold count one byte each.
    EXPECT_EQ(Big5Length(QStringLiteral("\u0e01")), 1);  // Thai
    EXPECT_EQ(Big5Length(QString::fromUcs4(U"\U0001F600")), 1);
}

TEST(FitsBytesTest, TwentyChineseCharactersAgainstTheirByteLimit) {
    const QString twenty = QString(20, QChar(0x85aa));  // 薪
    EXPECT_TRUE(FitsBytes(twenty, 40));
    EXPECT_FALSE(FitsBytes(twenty, 39));
    // Blanks count: the text is not trimmed.
    EXPECT_FALSE(FitsBytes(QStringLiteral("abc  "), 4));
}

TEST(PadZeroLeftTest, WidensCodesAndLeavesEmptyOrLongTexts) {
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("12")), QStringLiteral("012"));
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("7")), QStringLiteral("007"));
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("1234")), QStringLiteral("1234"));
    EXPECT_EQ(PadZeroLeft(3, QString()), QString());
    EXPECT_EQ(PadZeroLeft(5, QStringLiteral("12")), QStringLiteral("00012"));
    // The count is of the trimmed text; the zeros go before the untrimmed one.
    EXPECT_EQ(PadZeroLeft(4, QStringLiteral(" 12")), QStringLiteral("00 12"));
    EXPECT_EQ(PadZeroLeft(3, QStringLiteral("   ")), QStringLiteral("   "));
}

TEST(PadSpaceRightTest, WidensToBig5Bytes) {
    EXPECT_EQ(PadSpaceRight(5, QStringLiteral("ab")), QStringLiteral("ab   "));
    EXPECT_EQ(PadSpaceRight(10, QStringLiteral("王明")), QStringLiteral("王明      "));
    EXPECT_EQ(PadSpaceRight(20, QStringLiteral("王小明")),
              QStringLiteral("王小明") + QString(14, u' '));
    EXPECT_EQ(PadSpaceRight(5, QString()), QString());
    EXPECT_EQ(PadSpaceRight(5, QStringLiteral("   ")), QStringLiteral("   "));
    EXPECT_EQ(PadSpaceRight(2, QStringLiteral("abc")), QStringLiteral("abc"));
    // A full-width space is kept as text, not trimmed as a blank.
    EXPECT_EQ(PadSpaceRight(6, QStringLiteral("王　")), QStringLiteral("王　  "));
}

}  // namespace
}  // namespace paysum
