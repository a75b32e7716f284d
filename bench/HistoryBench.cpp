// Speed of the pay run history with 99,999 employees and a batch of 999 transfers: a new batch
// archiving and clearing the batch, and the checks the batch file window runs before it asks for
// the file name, against a last run of 999 transfers.

#include "BenchData.h"
#include "common/Clock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "output/BatchWarnings.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace paysum;

namespace {

constexpr int kEmployees = 99999;

// The batch file written for the batch.
const WrittenFile kWritten{QStringLiteral("/media/usb/SALARY.TXT"),
                           60 * 1000,
                           QString(64, u'0'),
                           bench::kTransfers,
                           35000LL * bench::kTransfers,
                           QStringLiteral("2026-01-05 09:00:00")};

// The newest run, brought back as the current batch.
void BringBackNewest() {
    std::vector<PayRunSummary> runs;
    BringBack outcome = BringBack::BatchNotEmpty;
    if (ReadPayRuns(&runs) || runs.empty() || BringBackPayRun(runs.front().run, &outcome) ||
        outcome != BringBack::Done)
        std::abort();
}

// Employees 1 to 99,999, the company record, and transfers to the first 999 with their dates and
// a written file, archived once and brought back, so that the batch is the same as the last run.
// Filled once: every benchmark leaves the batch as it found it.
void FillTables() {
    static bool filled = false;
    if (filled)
        return;
    bench::FillTables(kEmployees);
    const QSqlDatabase db = Connection(MainDatabasePath());
    if (Execute(db, QStringLiteral("INSERT INTO S_BASE (BRNO, CNAME, CUSTNO, UNINO) "
                                   "VALUES ('123', '大安實業', '045', '12345678')")) ||
        Execute(db, QStringLiteral("INSERT INTO S_DAY VALUES ('910503', '910505')")) ||
        RecordWrittenFile(kWritten) || ArchiveAndClearBatch(Now()))
        std::abort();
    BringBackNewest();
    filled = true;
}

// One new batch: the 999 transfers, their dates, the company record and the written file copied
// into the history, then the batch cleared, in one transaction. The history grows by a run each
// time, as it does over the years.
void BM_ArchiveAndClearBatch(benchmark::State& state) {
    FillTables();
    for (auto _ : state) {
        if (ArchiveAndClearBatch(Now()))
            state.SkipWithError("archive failed");
        state.PauseTiming();
        BringBackNewest();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ArchiveAndClearBatch)->Unit(benchmark::kMillisecond);

// The disk's share of every commit, which the archive cannot go below: one written file recorded,
// a row deleted and one inserted in one transaction. On a disk that syncs, this is nearly all of
// the archive's time.
void BM_OneRowCommit(benchmark::State& state) {
    FillTables();
    for (auto _ : state) {
        if (RecordWrittenFile(kWritten))
            state.SkipWithError("record failed");
    }
}
BENCHMARK(BM_OneRowCommit)->Unit(benchmark::kMillisecond);

// The warnings before a batch file: each transfer beside its employee, the last run's transfers,
// and the comparison, which runs in full since the batch equals the last run.
void BM_BatchWarnings(benchmark::State& state) {
    FillTables();
    for (auto _ : state) {
        QStringList warnings;
        if (ReadBatchWarnings(&warnings))
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(warnings.size());
    }
}
BENCHMARK(BM_BatchWarnings)->Unit(benchmark::kMillisecond);

}  // namespace
