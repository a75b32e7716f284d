#include "output/DetailReport.h"

#include "common/AmountPattern.h"
#include "common/Amounts.h"
#include "common/Big5Text.h"

namespace paysum {

namespace {

constexpr int kCompanyNameBytes = 50;

QString Blanks(int count) {
    return QString(count, u' ');
}

// The text preceded by blanks up to `width` characters; a longer text is not cut.
QString RightAligned(const QString& text, int width) {
    return text.rightJustified(width, u' ');
}

void AppendBlanks(QString& line, qsizetype count) {
    line.resize(line.size() + count, u' ');
}

// Appends lines to both outputs at once.
class ReportWriter {
public:
    explicit ReportWriter(std::size_t rows) {
        preview_.reserve(static_cast<qsizetype>(rows + 40) * 120);
        lines_.reserve(static_cast<qsizetype>(rows + rows / 3 + 20));
    }

    void Append(const QString& line) {
        preview_ += line;
        preview_ += QStringLiteral("\r\n");
        lines_ << line;
    }
    void AppendToPreview(const QString& line) {
        preview_ += line;
        preview_ += QStringLiteral("\r\n");
    }
    // The amount line differs: the preview's pattern has one more digit place.
    void AppendAmount(const QString& previewLine, const QString& printLine) {
        AppendToPreview(previewLine);
        lines_ << printLine;
    }

    Report Take() { return Report{std::move(preview_), std::move(lines_), QString()}; }

private:
    QString preview_;
    QStringList lines_;
};

class ReportLayout {
public:
    explicit ReportLayout(const ReportHeader& header) : header_(header) {
        const int bytes = Big5Length(header.companyName);
        companyName_ = header.companyName +
                       (bytes < kCompanyNameBytes ? Blanks(kCompanyNameBytes - bytes) : QString());
    }

    void AppendPageHeader(ReportWriter& out, int page) const {
        out.Append(kReportTitle);
        out.Append(Blanks(65) + QStringLiteral("頁次：") + QString::number(page));
        out.Append(Blanks(5) + QStringLiteral("企業名稱：") + companyName_ +
                   QStringLiteral("製表日：") + header_.printDate);
        out.Append(Blanks(5) + QStringLiteral("轉帳分行：") + header_.bankCode +
                   header_.branchName);
        out.Append(Blanks(5) + QStringLiteral("轉帳日期：") + header_.transferDate);
        out.Append(QString());
        out.Append(Blanks(5) + QStringLiteral("員工編號") + Blanks(2) +
                   QStringLiteral("帳    　　　號") + Blanks(5) + QStringLiteral("金　     　額") +
                   Blanks(5) + QStringLiteral("存 單 號 碼") + Blanks(5) +
                   QStringLiteral("員 工 姓 名") + Blanks(9) + QStringLiteral("備     註"));
        out.Append(Rule());
    }

    static QString DetailLine(const ReportRow& row) {
        QString line;
        line.reserve(128);
        AppendBlanks(line, 4);
        line += RightAligned(row.id, 6);
        AppendBlanks(line, 5);
        line += RightAligned(row.account, 14);
        AppendBlanks(line, 3);
        line += FormatAmount(kAmountPattern15, AmountOf(row.amount));
        AppendBlanks(line, 7);
        if (row.certificate.size() == 8)
            line += row.certificate;
        else
            AppendBlanks(line, 8);
        AppendBlanks(line, 6);
        line += PadSpaceRight(20, row.name);
        line += PadSpaceRight(8, row.remark);
        return line;
    }

    static void AppendPageFooter(ReportWriter& out) {
        out.Append(Rule());
        out.Append(Blanks(5) + QStringLiteral("資料未完；") + kContinuedMark);
        out.AppendToPreview(QString());
    }

    void AppendClosing(ReportWriter& out, int count, qint64 total) const {
        const QString amountHead = Blanks(18) + QStringLiteral("　　  金額：");
        out.Append(Rule());
        out.Append(Blanks(18) + QStringLiteral("合計  筆數：") + Blanks(9) +
                   RightAligned(QString::number(count), 6) + QStringLiteral(" 筆"));
        out.AppendAmount(
            amountHead + FormatAmount(kAmountPattern15, total) + QStringLiteral(" 元"),
            amountHead + FormatAmount(kAmountPattern14, total) + QStringLiteral(" 元"));
        out.Append(QString());
        out.Append(Blanks(10) + header_.signOff[0] + header_.signOff[1]);
        for (int i = 0; i < 4; ++i)
            out.Append(QString());
        out.Append(Blanks(10) + header_.signOff[2]);
    }

private:
    static QString Rule() { return Blanks(5) + QString(106, u'-'); }

    const ReportHeader& header_;
    QString companyName_;
};

}  // namespace

QString ReportDocumentName(const QString& loginDate, const QString& transferDate) {
    QString name = QStringLiteral("薪資轉帳明細");
    if (!loginDate.trimmed().isEmpty())
        name += QStringLiteral(" 登錄日期 ") + loginDate.trimmed();
    if (!transferDate.trimmed().isEmpty())
        name += QStringLiteral(" 轉帳日期 ") + transferDate.trimmed();
    return name;
}

Report BuildReport(const ReportHeader& header, const std::vector<ReportRow>& rows) {
    const ReportLayout layout(header);
    ReportWriter out(rows.size());
    int count = 0;
    int page = 1;
    qint64 total = 0;
    layout.AppendPageHeader(out, page);
    for (const ReportRow& row : rows) {
        ++count;
        total = AddAmounts(total, AmountOf(row.amount));
        out.Append(ReportLayout::DetailLine(row));
        // The break follows every 30th transfer, even the last one.
        if (count % kRowsPerPage == 0) {
            ++page;
            ReportLayout::AppendPageFooter(out);
            layout.AppendPageHeader(out, page);
        }
    }
    layout.AppendClosing(out, count, total);
    return out.Take();
}

}  // namespace paysum
