#include "cli/ListPdf.h"

#include "common/Clock.h"
#include "output/ReportSource.h"
#include "print/Fonts.h"
#include "print/ReportPrint.h"

namespace paysum {

int ListPdf(const Invocation& invocation) {
    const QString path = invocation.Value(QStringLiteral("pdf"));
    Report report;
    if (DbResult error = ReadDetailReport(0, Today(), &report))
        return Fail(QStringLiteral("資料庫讀取錯誤：") + error->message);
    if (std::optional<PrintFault> fault = PrintReportJob(
            PrintTarget{{}, path, report.documentName},
            {MingFont().families(), QPageLayout::Portrait, 1}, report.lines, OpenPdfPrinter))
        return WriteFailure(path, fault->detail);
    return 0;
}

}  // namespace paysum
