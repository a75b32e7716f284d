// Speed and memory of reading a workbook of 100,000 employees, .xlsx and .ods, as the import reads
// it: every row handed on as it is read and kept, as the import keeps its rows (keep:1), or
// dropped, for what the reader itself takes (keep:0). The workbooks are
// made at the start, as a spreadsheet program lays them out (text in shared strings, numbers as
// values, a formatted empty cell at the end of each row). Run one alone under /usr/bin/time -v
// (--benchmark_filter=Xlsx or Ods) for the peak memory; `peak_MB` says the same from inside.

#include "SheetData.h"
#include "batch/SpreadsheetImport.h"
#include "common/Memory.h"
#include "common/SheetFile.h"
#include "data/DataFolder.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <functional>

using namespace paysum;

namespace {

constexpr int kRows = bench::kSheetRows;

void Read100000(benchmark::State& state, const QByteArray& bytes) {
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<CsvRecord> kept;
        kept.reserve(kRows + 1);
        rows = 0;
        const SheetRecords read = ReadSheet(bytes, {}, kRows + 1, 64, [&](CsvRecord&& record) {
            ++rows;
            if (state.range(0) != 0)
                kept.push_back(std::move(record));
            return true;
        });
        if (read.outcome != SheetOutcome::Read || rows != kRows + 1)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(kept.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void ReadXlsx100000(benchmark::State& state) {
    Read100000(state, bench::SheetXlsx());
}
BENCHMARK(ReadXlsx100000)->ArgName("keep")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void ReadOds100000(benchmark::State& state) {
    Read100000(state, bench::SheetOds());
}
BENCHMARK(ReadOds100000)->ArgName("keep")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// What the import's preview holds: every row read, checked against an empty master and kept,
// for each format (0 .xlsx, 1 .ods, 2 comma CSV in UTF-8, 3 tab-separated, 4 UTF-16). Run one
// alone under /usr/bin/time -v for the peak memory (target: under 100 MB).
void PrepareImport100000(benchmark::State& state) {
    QTemporaryDir temp;
    qputenv("PAYSUM_DATA_DIR", (temp.path() + QStringLiteral("/data")).toUtf8());
    if (CreateDataFolder(DataFolderPath())) {
        state.SkipWithError("no data folder");
        return;
    }
    const QByteArray bytes = bench::SheetOfFormat(static_cast<int>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        const ImportFile file = PrepareImport(bytes, ImportKind::Employees);
        rows = file.rows.size();
        state.counters["errors"] = file.ErrorCount();
        if (file.ErrorCount() > 0)
            state.counters["first"] = file.rows.front().error.size();
        if (!file.error.isEmpty() || rows != kRows)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(file.rows.data());
    }
    CloseAllConnections();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(PrepareImport100000)
    ->ArgName("format")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
