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

// The 1-based column where `text` starts in a line of the fixed-pitch list (Chinese
// characters take two columns), or 0 when it is not there.
int Column(const QString& line, const QString& text) {
    const qsizetype at = line.indexOf(text);
    return at < 0 ? 0 : Big5Length(line.left(at)) + 1;
}

// The column where `text` ends.
int EndColumn(const QString& line, const QString& text) {
    const int start = Column(line, text);
    return start == 0 ? 0 : start + Big5Length(text) - 1;
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

QList<int> ContinuedLines(const QStringList& lines) {
    QList<int> found;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(QStringLiteral("接下頁")))
            found << i;
    }
    return found;
}

TEST(DetailReportTest, EmptyBatchIsOnePageWithZeroTotals) {
    const Report report = BuildReport(kHeader, {});
    const QString rule = Blanks(5) + QString(106, u'-');
    const QStringList expected = {
        QStringLiteral("　 　薪　資　轉　帳　明　細"),
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
        Blanks(18) + QStringLiteral("合計  筆數：") + Blanks(9) + QStringLiteral("     0 筆"),
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

    // The preview holds the same lines, but its amount pattern has one more place.
    QStringList preview = expected;
    preview[10] = Blanks(18) + QStringLiteral("　　  金額：") + Blanks(14) + QStringLiteral("0 元");
    EXPECT_EQ(report.preview, preview.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

TEST(DetailReportTest, DetailColumnsLineUpUnderTheHeadings) {
    const ReportRow row{QStringLiteral("00012"),    QStringLiteral("123016456789"),
                        QStringLiteral("35000"),    QStringLiteral("陳美玲"),
                        QStringLiteral("00012345"), QString()};
    const Report report = BuildReport(kHeader, {row});
    const QString heading = report.lines[6];
    const QString detail = report.lines[8];

    EXPECT_EQ(Column(heading, QStringLiteral("員工編號")), 6);
    EXPECT_EQ(Column(detail, QStringLiteral("00012")), 6);
    EXPECT_EQ(detail.left(5), Blanks(5));

    EXPECT_EQ(Column(heading, QStringLiteral("帳")), 16);
    EXPECT_EQ(EndColumn(heading, QStringLiteral("帳    　　　號")), 29);
    EXPECT_EQ(EndColumn(detail, QStringLiteral("123016456789")), 29);

    EXPECT_EQ(EndColumn(heading, QStringLiteral("金　     　額")), 47);
    EXPECT_EQ(EndColumn(detail, QStringLiteral("35,000")), 47);
    EXPECT_EQ(detail.mid(32, 9), Blanks(9));

    EXPECT_EQ(Column(heading, QStringLiteral("存 單 號 碼")), 53);
    EXPECT_EQ(EndColumn(heading, QStringLiteral("存 單 號 碼")), 63);
    EXPECT_EQ(Column(detail, QStringLiteral("00012345")), 55);

    // A three-character name fills 6 of its 20 columns; the empty remark adds nothing.
    EXPECT_EQ(Column(heading, QStringLiteral("員 工 姓 名")), 69);
    EXPECT_EQ(Column(detail, QStringLiteral("陳美玲")), 69);
    EXPECT_TRUE(detail.endsWith(QStringLiteral("陳美玲") + Blanks(14)));
    EXPECT_EQ(Big5Length(detail), 88);
    EXPECT_EQ(Column(heading, QStringLiteral("備     註")), 89);

    EXPECT_EQ(Big5Length(report.lines[7]), 111);
}

TEST(DetailReportTest, EmptyNameOddCertificateAndRemark) {
    const ReportRow row{QStringLiteral("00007"),   QStringLiteral("004001012341"),
                        QStringLiteral("5"),       QString(),
                        QStringLiteral("1234567"), QStringLiteral("獎金")};
    const QString detail = BuildReport(kHeader, {row}).lines[8];
    EXPECT_EQ(detail.mid(47, 21), Blanks(21));  // columns 48 to 68
    // The empty name stays empty, so the remark starts where the name would.
    EXPECT_EQ(Column(detail, QStringLiteral("獎金")), 69);
    EXPECT_TRUE(detail.endsWith(QStringLiteral("獎金") + Blanks(4)));

    const ReportRow named{QStringLiteral("00008"),
                          QStringLiteral("004001012341"),
                          QStringLiteral("5"),
                          QStringLiteral("Chen"),
                          QString(),
                          QStringLiteral("獎金")};
    EXPECT_EQ(Column(BuildReport(kHeader, {named}).lines[8], QStringLiteral("獎金")), 89);
}

TEST(DetailReportTest, ThirtyTransfersAPage) {
    const Report page29 = BuildReport(kHeader, Rows(29));
    EXPECT_EQ(page29.lines.size(), 8 + 29 + 10);
    EXPECT_TRUE(ContinuedLines(page29.lines).isEmpty());

    // The break follows the 30th transfer even when none follows it.
    const Report page30 = BuildReport(kHeader, Rows(30));
    EXPECT_EQ(page30.lines.size(), 8 + 30 + 2 + 8 + 10);
    EXPECT_EQ(ContinuedLines(page30.lines), QList<int>{39});
    EXPECT_EQ(page30.lines[39], Blanks(5) + QStringLiteral("資料未完；接下頁"));
    EXPECT_EQ(page30.lines[40], kReportTitle);
    EXPECT_TRUE(page30.lines[41].endsWith(QStringLiteral("頁次：2")));
    EXPECT_EQ(page30.lines[48], page30.lines[38]);  // the closing block's rule
    EXPECT_TRUE(page30.lines[49].endsWith(QStringLiteral("    30 筆")));

    const Report page31 = BuildReport(kHeader, Rows(31));
    EXPECT_EQ(page31.lines.size(), 8 + 30 + 2 + 8 + 1 + 10);
    EXPECT_EQ(Column(page31.lines[48], QStringLiteral("00031")), 6);

    // The preview has one more empty line after each footer, and otherwise the same lines.
    QStringList preview = page31.preview.split(QStringLiteral("\r\n"));
    EXPECT_EQ(preview.takeLast(), QString());
    EXPECT_EQ(preview[40], QString());
    EXPECT_EQ(preview[41], kReportTitle);
    preview.removeAt(40);
    EXPECT_EQ(preview.size(), page31.lines.size());
    for (qsizetype i = 0; i < preview.size(); ++i) {
        if (!preview[i].contains(QStringLiteral("金額："))) {
            EXPECT_EQ(preview[i], page31.lines[i]) << i;
        }
    }

    const Report page61 = BuildReport(kHeader, Rows(61));
    EXPECT_EQ(ContinuedLines(page61.lines), (QList<int>{39, 79}));
    EXPECT_TRUE(page61.lines[81].endsWith(QStringLiteral("頁次：3")));
}

TEST(DetailReportTest, AmountPatternsOfPreviewAndPrint) {
    const std::vector<ReportRow> rows = {
        {QStringLiteral("00001"), QStringLiteral("1"), QStringLiteral(" 35000 "), {}, {}, {}},
        {QStringLiteral("00002"), QStringLiteral("2"), QStringLiteral("120500"), {}, {}, {}},
    };
    const Report report = BuildReport(kHeader, rows);
    const QString head = Blanks(18) + QStringLiteral("　　  金額：");
    EXPECT_EQ(report.lines[report.lines.size() - 8],
              head + Blanks(7) + QStringLiteral("155,500 元"));
    EXPECT_TRUE(report.preview.contains(head + Blanks(8) + QStringLiteral("155,500 元\r\n")));
    // On paper " 元" stands one column left of " 筆".
    EXPECT_EQ(Big5Length(report.lines[report.lines.size() - 9]),
              Big5Length(report.lines[report.lines.size() - 8]) + 1);

    const std::vector<ReportRow> large = {
        {QStringLiteral("00001"), QStringLiteral("1"), QStringLiteral("999999999999"), {}, {}, {}},
    };
    const Report big = BuildReport(kHeader, large);
    EXPECT_EQ(big.lines[8].mid(32, 15), QStringLiteral("999,999,999,999"));
    EXPECT_EQ(big.lines[big.lines.size() - 8], head + QStringLiteral("999,999,999,999 元"));
}

TEST(DetailReportTest, CompanyNameWidth) {
    ReportHeader header = kHeader;
    header.companyName.clear();
    EXPECT_EQ(BuildReport(header, {}).lines[2], Blanks(5) + QStringLiteral("企業名稱：") +
                                                    Blanks(50) + QStringLiteral("製表日：91/5/3"));
    header.companyName = QString(30, QChar(0x5927));  // 60 bytes stay whole
    EXPECT_EQ(Column(BuildReport(header, {}).lines[2], QStringLiteral("製表日：")), 6 + 10 + 60);
}

}  // namespace
}  // namespace paysum
