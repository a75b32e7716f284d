#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace paysum {

// The values of the transfer detail list that do not come from the transfers.
struct ReportHeader {
    QString companyName;             // S_BASE column 1 as stored
    QString bankCode;                // "004" + branch number + check digit
    QString branchName;              // the bracketed branch name, or "[代碼檔未建]"
    QString transferDate;            // S_DAY column 1, or six blanks
    QString printDate;               // the date the list is made, ROC form "91/5/6"
    std::array<QString, 3> signOff;  // S_BASE columns 4, 5 and 6
};

// One transfer as stored in S_ITEM.
struct ReportRow {
    QString id;
    QString account;
    QString amount;
    QString name;
    QString certificate;
    QString remark;
};

// The list twice: the preview text, its lines ended by CR LF with one more empty line after
// each page footer, and the lines to print; and its name as a document (ReportDocumentName).
struct Report {
    QString preview;
    QStringList lines;
    QString documentName;
};

// The first line of every page, printed larger.
inline const QString kReportTitle = QStringLiteral("　 　薪　資　轉　帳　明　細");
// Part of the last line of every page that more transfers follow; printing starts a new page
// after a line holding it.
inline const QString kContinuedMark = QStringLiteral("接下頁");
inline constexpr int kRowsPerPage = 30;

// The list's name as a printed document, the PDF's title and the print job's name: its caption
// and the batch's dates, "薪資轉帳明細 登錄日期 1151207 轉帳日期 1151208"; a date not set is left
// out.
QString ReportDocumentName(const QString& loginDate, const QString& transferDate);

// Lays out the transfer detail list in fixed character columns: pages of 30 transfers under
// a page header and over a footer, then the count, the amount total and the sign-off lines.
Report BuildReport(const ReportHeader& header, const std::vector<ReportRow>& rows);

}  // namespace paysum
