// Speed of the spreadsheet import and the batch file check: 10,000 employees read from CSV,
// checked and written in one transaction, and a file of 999 transfers checked.

#include "SheetData.h"
#include "batch/SpreadsheetImport.h"
#include "batch/frmImport.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/TransferFileCheck.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace paysum;

namespace {

QByteArray StaffSheet(int count) {
    QByteArray sheet = "\xEF\xBB\xBF員工代碼,員工帳號,員工薪資,員工姓名,存單號碼\r\n";
    for (int code = 1; code <= count; ++code)
        sheet += QByteArray::number(code) + ",123456789014," + QByteArray::number(30000 + code) +
                 ",\"陳美玲\",\r\n";
    return sheet;
}

// Parsing, checking against the master and writing 10,000 employees in one transaction; the
// master is emptied again between runs, outside the measurement.
void ImportEmployees10000(benchmark::State& state) {
    QTemporaryDir temp;
    qputenv("PAYSUM_DATA_DIR", (temp.path() + QStringLiteral("/data")).toUtf8());
    if (CreateDataFolder(DataFolderPath())) {
        state.SkipWithError("no data folder");
        return;
    }
    const QByteArray sheet = StaffSheet(10000);
    for (auto _ : state) {
        const ImportFile file = PrepareImport(sheet, ImportKind::Employees);
        if (file.ErrorCount() != 0 || WriteImport(ImportKind::Employees, file.rows))
            state.SkipWithError("refused");
        state.PauseTiming();
        (void)Execute(Connection(MainDatabasePath()), QStringLiteral("DELETE FROM S_STAFF"));
        state.ResumeTiming();
    }
    CloseAllConnections();
}
BENCHMARK(ImportEmployees10000)->Unit(benchmark::kMillisecond);

// The windows' import preview of 100,000 employees: read, checked and shown in the window, from
// a file of each format (0 .xlsx, 1 .ods, 2 comma CSV, 3 tab-separated, 4 UTF-16). Run one alone
// under /usr/bin/time -v (--benchmark_filter=PreviewImport100000/format:N/) for the peak memory
// it takes (target: under 100 MB).
void PreviewImport100000(benchmark::State& state) {
    const QByteArray sheet = bench::SheetOfFormat(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        frmImport window(ImportKind::Employees, QStringLiteral("staff"),
                         PrepareImport(sheet, ImportKind::Employees));
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(PreviewImport100000)
    ->ArgName("format")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Checking a file of the most records a batch holds.
void VerifyFile999(benchmark::State& state) {
    QByteArray bytes =
        "910503"
        "910505"
        "123"
        "12345678"
        "045"
        "00000000000000"
        "000034965000"
        "0999"
        "   9\r\n";
    for (int i = 0; i < 999; ++i)
        bytes += "   00123456789014000000035000                              9\r\n";
    for (auto _ : state) {
        const FileCheck check = CheckTransferBytes(bytes);
        if (!check.faults.empty())
            state.SkipWithError("faults");
        benchmark::DoNotOptimize(check.detailTotals.total);
    }
}
BENCHMARK(VerifyFile999)->Unit(benchmark::kMicrosecond);

}  // namespace
