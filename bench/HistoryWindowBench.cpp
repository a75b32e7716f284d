// Speed of the pay run history with 240 archived runs of 999 transfers each (twenty years of
// monthly runs): opening the list of runs to its first paint, and opening one run, read from the
// history and shown with all its transfers.

#include "BenchData.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "history/frmHistory.h"
#include "history/frmHistoryRun.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace paysum;

namespace {

using bench::Code;
using bench::CountMessages;
using bench::kAccount;
using bench::kTransfers;
using bench::messagesShown;

constexpr int kRuns = 240;

// Stores the runs straight into the history tables in one transaction, once.
void FillHistory() {
    static bool filled = false;
    if (filled)
        return;
    filled = true;
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    QSqlQuery run(db);
    run.prepare(QStringLiteral(
        "INSERT INTO H_RUN VALUES (?, ?, '910503', '910505', '012', '大安實業', '045', "
        "'12345678', '主管', '會計', '出納', ?, ?, ?, '60000', ?, ?, ?, '2002-05-03 09:00:00')"));
    QSqlQuery item(db);
    item.prepare(QStringLiteral("INSERT INTO H_ITEM VALUES (?, ?, ?, '35000', ?, '', '')"));
    for (int r = 1; r <= kRuns; ++r) {
        run.addBindValue(r);
        run.addBindValue(QStringLiteral("2002-05-06 09:30:00"));
        run.addBindValue(kTransfers);
        run.addBindValue(qint64{35000} * kTransfers);
        run.addBindValue(QStringLiteral("/home/clerk/薪資/BATCH%1.txt").arg(r));
        run.addBindValue(QString(64, u'a'));
        run.addBindValue(kTransfers);
        run.addBindValue(qint64{35000} * kTransfers);
        if (!run.exec())
            std::abort();
        for (int i = 1; i <= kTransfers; ++i) {
            item.addBindValue(r);
            item.addBindValue(Code(i));
            item.addBindValue(kAccount);
            item.addBindValue(QStringLiteral("員工%1").arg(i));
            if (!item.exec())
                std::abort();
        }
    }
    if (transaction.Commit())
        std::abort();
}

// Shows a history window to its first paint; returns the rows its grid lists.
int PaintRows(QWidget& window) {
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.grab());
    return window.findChild<QTableView*>(QStringLiteral("Grid1"))->model()->rowCount();
}

// The list of runs from the menu entry to its first paint.
void BM_HistoryOpen(benchmark::State& state) {
    FillHistory();
    CountMessages();
    int rows = 0;
    for (auto _ : state) {
        frmHistory window;
        rows = PaintRows(window);
    }
    if (messagesShown || rows != kRuns)
        state.SkipWithError("the runs were not listed");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_HistoryOpen)->Unit(benchmark::kMillisecond);

// One run opened as the list opens it: read from the history, its window made and painted.
void BM_HistoryRunOpen(benchmark::State& state) {
    FillHistory();
    CountMessages();
    int rows = 0;
    for (auto _ : state) {
        PayRun run;
        if (ReadPayRun(kRuns / 2, &run))
            state.SkipWithError("the run could not be read");
        frmHistoryRun window(run);
        rows = PaintRows(window);
    }
    if (messagesShown || rows != kTransfers)
        state.SkipWithError("the run's transfers were not listed");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_HistoryRunOpen)->Unit(benchmark::kMillisecond);

}  // namespace
