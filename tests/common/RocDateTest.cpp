#include "common/RocDate.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(RocTodayTest, SixDigitFormAcrossYearsAndTheRocCentury) {
    struct Case {
        QDate today;
        const char* expected;
    } cases[] = {
        {QDate(2002, 5, 5), "910505"},   {QDate(2002, 12, 25), "911225"},
        {QDate(2011, 1, 1), "000101"},   {QDate(2000, 2, 29), "890229"},
        {QDate(2026, 12, 31), "151231"}, {QDate(2010, 12, 31), "991231"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RocToday(2, c.today), QString::fromLatin1(c.expected)) << c.expected;
}

TEST(RocTodayTest, FormOneKeepsTheDateSeparators) {
    EXPECT_EQ(RocToday(1, QDate(2002, 5, 6)), QStringLiteral("91/5/6"));
    EXPECT_EQ(RocToday(1, QDate(2002, 12, 25)), QStringLiteral("91/12/25"));
}

TEST(CheckRocDateTest, ResultsForValidAndInvalidDates) {
    struct Case {
        const char16_t* text;
        qint16 expected;
    } cases[] = {
        {u"910229", -2},  // 2002 is no leap year
        {u"890229", 1},   // 2000 is
        {u"930229", 1},   // 2004
        {u"911301", -3}, {u"910000", -3}, {u"910431", -2}, {u"910430", 1},   {u"911231", 1},
        {u"910100", -2}, {u"9105", -1},   {u"91a506", -1}, {u"9105061", -1}, {u"", -1},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(CheckRocDate(text), c.expected) << text.toStdString();
    }
}

TEST(CompareRocDatesTest, OrderAndLength) {
    EXPECT_EQ(CompareRocDates(QStringLiteral("910505"), QStringLiteral("910506")), -2);
    EXPECT_EQ(CompareRocDates(QStringLiteral("910506"), QStringLiteral("910506")), 1);
    EXPECT_EQ(CompareRocDates(QStringLiteral("910507"), QStringLiteral("910506")), 1);
    EXPECT_EQ(CompareRocDates(QStringLiteral("91050"), QStringLiteral("910506")), -1);
    // Across a year end the numbers still order the dates within one ROC century.
    EXPECT_EQ(CompareRocDates(QStringLiteral("920101"), QStringLiteral("911231")), 1);
}

}  // namespace
}  // namespace paysum
