// The transfer detail list with any transfers and header texts.
#include "FuzzInput.h"
#include "output/DetailReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    ReportHeader header;
    header.companyName = fuzz::Text(data, 50);
    header.bankCode = fuzz::Text(data, 7);
    header.branchName = fuzz::Text(data, 12);
    header.transferDate = fuzz::Text(data, 6);
    header.printDate = fuzz::Text(data, 8);
    for (QString& line : header.signOff)
        line = fuzz::Text(data, 50);
    std::vector<ReportRow> rows(data.ConsumeIntegralInRange<std::size_t>(0, 95));
    for (ReportRow& row : rows)
        row = {fuzz::Text(data, 5),  fuzz::Text(data, 12), fuzz::Text(data, 12),
               fuzz::Text(data, 30), fuzz::Text(data, 8),  fuzz::Text(data, 50)};

    const Report report = BuildReport(header, rows);
    const qsizetype pages = rows.empty() ? 1 : (static_cast<qsizetype>(rows.size()) + 29) / 30;
    fuzz::Require(report.lines.filter(kReportTitle).size() >= pages, "a title on every page");
    fuzz::Require(!report.preview.isEmpty(), "a preview");
    return 0;
}
