#include "output/DetailReport.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

const ReportHeader kHeader{"大安實業", "0040129", "[大安分行]",
                           "910505",   "91/5/3",  {"主管", "會計", "出納"}};

QString Blanks(int n) {
    return QString(n, u' ');
}

std::vector<ReportRow> Rows(int count) {
    std::vector<ReportRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back({QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), "004001012341",
                        "1000", "王小明", "", ""});
    }
    return rows;
}

TEST(DetailReportTest, EmptyBatchIsOnePageWithZeroTotals) {
    const Report report = BuildReport(kHeader, {});
    const QString rule = Blanks(5) + QString(106, u'-');
    QStringList expected = {
        kReportTitle,
        Blanks(65) + "頁次：1",
        Blanks(5) + "企業名稱：大安實業" + Blanks(42) + "製表日：91/5/3",
        Blanks(5) + "轉帳分行：0040129[大安分行]",
        Blanks(5) + "轉帳日期：910505",
        "",
        Blanks(5) + QStringLiteral("員工編號  帳    　　　號     金　     　額     存 單 號 碼     "
                                   "員 工 姓 名         備     註"),
        rule,
        rule,
        Blanks(18) + "合計  筆數：" + Blanks(14) + "0 筆",
        Blanks(18) + "　　  金額：" + Blanks(13) + "0 元",
        "",
        Blanks(10) + "主管會計",
        "",
        "",
        "",
        "",
        Blanks(10) + "出納"};
    EXPECT_EQ(report.lines, expected);
    // The preview's amount pattern has one more place: " 元" then stands under " 筆".
    expected[10] = Blanks(18) + "　　  金額：" + Blanks(14) + "0 元";
    EXPECT_EQ(report.preview, expected.join("\r\n") + "\r\n");
}

TEST(DetailReportTest, DetailLinesStandUnderTheHeadings) {
    const std::vector<ReportRow> rows = {
        {"00012", "123016456789", "35000", "陳美玲", "00012345", ""},
        {"00013", "004001012341", "5", "", "1234567", "獎金"},
    };
    const QStringList lines = BuildReport(kHeader, rows).lines;
    // The three-character name is padded to 20 bytes; the empty remark adds nothing.
    EXPECT_EQ(lines[8], Blanks(5) + "00012" + Blanks(7) + "123016456789" + Blanks(12) + "35,000" +
                            Blanks(7) + "00012345" + Blanks(6) + "陳美玲" + Blanks(14));
    // A certificate number that is not 8 characters shows as blanks; an empty name stays
    // empty, so the remark starts where the name would.
    EXPECT_EQ(lines[9], Blanks(5) + "00013" + Blanks(7) + "004001012341" + Blanks(17) + "5" +
                            Blanks(21) + "獎金" + Blanks(4));
}

TEST(DetailReportTest, ThirtyTransfersAPage) {
    const auto continued = [](const QStringList& lines) {
        QList<int> found;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i] == Blanks(5) + "資料未完；接下頁")
                found << i;
        }
        return found;
    };
    EXPECT_EQ(BuildReport(kHeader, Rows(29)).lines.size(), 8 + 29 + 10);
    EXPECT_TRUE(continued(BuildReport(kHeader, Rows(29)).lines).isEmpty());

    // The break follows the 30th transfer even when none follows it.
    const QStringList page30 = BuildReport(kHeader, Rows(30)).lines;
    EXPECT_EQ(page30.size(), 8 + 30 + 2 + 8 + 10);
    EXPECT_EQ(continued(page30), QList<int>{39});
    EXPECT_EQ(page30[40], kReportTitle);
    EXPECT_TRUE(page30[41].endsWith("頁次：2"));
    EXPECT_TRUE(page30[49].endsWith("    30 筆"));

    const Report page31 = BuildReport(kHeader, Rows(31));
    EXPECT_EQ(page31.lines.size(), 8 + 30 + 2 + 8 + 1 + 10);
    EXPECT_TRUE(page31.lines[48].startsWith(Blanks(5) + "00031"));
    // The preview holds one more empty line after the footer, and otherwise the same lines.
    QStringList preview = page31.preview.split("\r\n");
    EXPECT_EQ(preview[40], QString());
    preview.removeAt(40);
    preview.removeLast();
    EXPECT_EQ(preview.mid(0, 51), page31.lines.mid(0, 51));  // up to the amount line

    EXPECT_EQ(continued(BuildReport(kHeader, Rows(61)).lines), (QList<int>{39, 79}));
}

}  // namespace
}  // namespace paysum
