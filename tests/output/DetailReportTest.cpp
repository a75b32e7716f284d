#include "common/Big5Text.h"
#include "output/DetailReport.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

const ReportHeader kHeader{
    QStringLiteral("大安實業"),
    QStringLiteral("0040129"),
    QStringLiteral("[大安分行]"),
    QStringLiteral("910505"),
    QStringLiteral("91/5/3"),
    {QStringLiteral("主管"), QStringLiteral("會計"), QStringLiteral("出納")}};

QString Blanks(int n) {
    return QString(n, u' ');
}

// The 1-based column where `text` starts in a line of the fixed-pitch list, where a Chinese
// character takes two columns; 0 when it is not there.
int Column(const QString& line, const QString& text) {
    const qsizetype at = line.indexOf(text);
    return at < 0 ? 0 : Big5Length(line.left(at)) + 1;
}

std::vector<ReportRow> Rows(int count) {
    std::vector<ReportRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(ReportRow{QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                                 QStringLiteral("004001012341"), QStringLiteral("1000"),
                                 QStringLiteral("王小明"), QString(), QString()});
    }
    return rows;
}

TEST(DetailReportTest, EmptyBatchIsOnePageWithZeroTotals) {
    const Report report = BuildReport(kHeader, {});
    const QString rule = Blanks(5) + QString(106, u'-');
    QStringList expected = {
        kReportTitle,
        Blanks(65) + QStringLiteral("頁次：1"),
        Blanks(5) + QStringLiteral("企業名稱：大安實業") + Blanks(42) +
            QStringLiteral("製表日：91/5/3"),
        Blanks(5) + QStringLiteral("轉帳分行：0040129[大安分行]"),
        Blanks(5) + QStringLiteral("轉帳日期：910505"),
        QString(),
        Blanks(5) + QStringLiteral("員工編號  帳    　　　號     金　     　額     存 單 號 碼"
                                   "     員 工 姓 名         備     註"),
        rule,
        rule,
        Blanks(18) + QStringLiteral("合計  筆數：") + Blanks(14) + QStringLiteral("0 筆"),
        Blanks(18) + QStringLiteral("　　  金額：") + Blanks(13) + QStringLiteral("0 元"),
        QString(),
        Blanks(10) + QStringLiteral("主管會計"),
        QString(),
        QString(),
        QString(),
        QString(),
        Blanks(10) + QStringLiteral("出納"),
    };
    EXPECT_EQ(report.lines, expected);
    // The preview's amount pattern has one more place: " 元" then stands under " 筆".
    expected[10] =
        Blanks(18) + QStringLiteral("　　  金額：") + Blanks(14) + QStringLiteral("0 元");
    EXPECT_EQ(report.preview, expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(DetailReportTest, DetailColumnsLineUpUnderTheHeadings) {
    const std::vector<ReportRow> rows = {
        {QStringLiteral("00012"), QStringLiteral("123016456789"), QStringLiteral("35000"),
         QStringLiteral("陳美玲"), QStringLiteral("00012345"), QString()},
        {QStringLiteral("00013"), QStringLiteral("004001012341"), QStringLiteral("5"), QString(),
         QStringLiteral("1234567"), QStringLiteral("獎金")},
    };
    const QStringList lines = BuildReport(kHeader, rows).lines;
    const QString heading = lines[6];
    const QString detail = lines[8];
    const struct {
        QString head;
        int headColumn;
        QString value;
        int valueColumn;
    } columns[] = {
        {QStringLiteral("員工編號"), 6, QStringLiteral(" 00012"), 5},
        {QStringLiteral("帳    　　　號"), 16, QStringLiteral("  123016456789"), 16},
        {QStringLiteral("金　     　額"), 35, QStringLiteral("         35,000"), 33},
        {QStringLiteral("存 單 號 碼"), 53, QStringLiteral("00012345"), 55},
        {QStringLiteral("員 工 姓 名"), 69, QStringLiteral("陳美玲"), 69},
        {QStringLiteral("備     註"), 89, QString(), 0},
    };
    for (const auto& c : columns) {
        EXPECT_EQ(Column(heading, c.head), c.headColumn) << c.head.toStdString();
        if (!c.value.isEmpty()) {
            EXPECT_EQ(Column(detail, c.value), c.valueColumn) << c.value.toStdString();
        }
    }
    // The three-character name is padded to 20 columns; the empty remark adds nothing.
    EXPECT_TRUE(detail.endsWith(QStringLiteral("陳美玲") + Blanks(14)));
    EXPECT_EQ(Big5Length(detail), 88);

    // A certificate number that is not 8 characters shows as blanks; an empty name stays
    // empty, so the remark starts where the name would.
    EXPECT_EQ(lines[9].mid(47, 21), Blanks(21));
    EXPECT_EQ(Column(lines[9], QStringLiteral("獎金")), 69);
    EXPECT_TRUE(lines[9].endsWith(QStringLiteral("獎金") + Blanks(4)));
}

TEST(DetailReportTest, ThirtyTransfersAPage) {
    const auto continued = [](const QStringList& lines) {
        QList<int> found;
        for (int i = 0; i < lines.size(); ++i) {
            if (lines[i] == Blanks(5) + QStringLiteral("資料未完；接下頁"))
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
    EXPECT_TRUE(page30[41].endsWith(QStringLiteral("頁次：2")));
    EXPECT_TRUE(page30[49].endsWith(QStringLiteral("    30 筆")));

    const Report page31 = BuildReport(kHeader, Rows(31));
    EXPECT_EQ(page31.lines.size(), 8 + 30 + 2 + 8 + 1 + 10);
    EXPECT_EQ(Column(page31.lines[48], QStringLiteral("00031")), 6);
    // The preview holds one more empty line after the footer, and otherwise the same lines.
    QStringList preview = page31.preview.split(QStringLiteral("\r\n"));
    EXPECT_EQ(preview[40], QString());
    preview.removeAt(40);
    preview.removeLast();
    EXPECT_EQ(preview.mid(0, 51), page31.lines.mid(0, 51));  // up to the amount line

    EXPECT_EQ(continued(BuildReport(kHeader, Rows(61)).lines), (QList<int>{39, 79}));
}

TEST(DetailReportTest, CompanyNameWidth) {
    ReportHeader header = kHeader;
    header.companyName.clear();
    EXPECT_EQ(Column(BuildReport(header, {}).lines[2], QStringLiteral("製表日：")), 6 + 10 + 50);
    header.companyName = QString(30, QChar(0x5927));  // 60 bytes stay whole
    EXPECT_EQ(Column(BuildReport(header, {}).lines[2], QStringLiteral("製表日：")), 6 + 10 + 60);
}

}  // namespace
}  // namespace paysum
