// Speed of the employee master with 10,000 employees and a batch of 999 transfers: moving a run
// of 10,000 codes up to free a taken code, and the query filter on every keystroke.

#include "BenchData.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffStore.h"
#include "platform/MessageBox.h"
#include "staff/Form4.h"
#include "staff/Renumbering.h"

#include <QApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace paysum;

namespace {

using bench::Code;
using bench::kTransfers;

constexpr int kEmployees = 10000;

// Empties both tables and stores employees 1 to 10,000 and transfers for the first 999.
void FillTables() {
    bench::FillTables(kEmployees);
}

// Frees the code at the bottom of a run of 10,000: the codes are re-read, the run planned and
// moved up in S_STAFF and S_ITEM (999 transfers), and the transaction committed. Each iteration
// frees the next code up, so every one moves 10,000 codes.
void BM_MakeRoomInARunOf10000(benchmark::State& state) {
    FillTables();
    const QSqlDatabase db = Connection(MainDatabasePath());
    int code = 1;
    for (auto _ : state) {
        if (code > 80000) {
            state.PauseTiming();
            FillTables();
            code = 1;
            state.ResumeTiming();
        }
        Transaction transaction(db);
        QStringList staffCodes;
        QStringList itemCodes;
        ReadCodesFrom(db, QStringLiteral("S_STAFF"), Code(code), &staffCodes,
                      QStringLiteral("99999"), true);
        ReadCodesFrom(db, QStringLiteral("S_ITEM"), Code(code), &itemCodes);
        const CodeRoom room = PlanRoomForCode(Code(code), staffCodes, itemCodes);
        if (room.count != kEmployees || ShiftCodesUp(db, room.first, room.last, room.count) ||
            transaction.Commit())
            state.SkipWithError("the run did not move");
        ++code;
    }
}
BENCHMARK(BM_MakeRoomInARunOf10000)->Unit(benchmark::kMillisecond);

// The plan alone: finding the run of 10,000 codes in the codes read.
void BM_PlanRoomInARunOf10000(benchmark::State& state) {
    QStringList staffCodes;
    QStringList itemCodes;
    for (int i = 1; i <= kEmployees; ++i) {
        staffCodes << Code(i);
        if (i <= kTransfers)
            itemCodes << Code(i);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(PlanRoomForCode(Code(1), staffCodes, itemCodes));
}
BENCHMARK(BM_PlanRoomInARunOf10000)->Unit(benchmark::kMillisecond);

// The whole confirm of an add at a taken code, as the clerk sees it: the question answered Yes,
// the run moved, the newcomer stored, the list re-read and the new employee found in it.
void BM_Form4AddAtATakenCode(benchmark::State& state) {
    FillTables();
    SetMessageHook([](QMessageBox&) { return QMessageBox::Yes; });
    Form4 window;
    window.show();
    auto* code = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* account = window.findChild<QLineEdit*>(QStringLiteral("Text2"));
    auto* pay = window.findChild<QLineEdit*>(QStringLiteral("Text4"));
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("Text5"));
    window.Command1_Click(MaintenanceWindow::kAdd);
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("00001"));
        account->setText(QStringLiteral("004001012341"));
        pay->setText(QStringLiteral("35000"));
        name->setText(QStringLiteral("新人"));
        state.ResumeTiming();
        window.Command2_Click(0);
        QApplication::processEvents();
    }
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form4AddAtATakenCode)->Unit(benchmark::kMillisecond)->Iterations(30);

// One keystroke in the code box in query mode: the list is filtered by the prefix typed so far
// and shown. Argument: the length of the prefix, from the empty box (all 10,000) to a full code.
void BM_Form4QueryFilter(benchmark::State& state) {
    FillTables();
    Form4 window;
    window.show();
    auto* code = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    window.Command1_Click(MaintenanceWindow::kQuery);
    const QString prefix = QStringLiteral("00012").left(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("9"));  // no code begins with 9
        QApplication::processEvents();
        state.ResumeTiming();
        code->setText(prefix);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Form4QueryFilter)->Unit(benchmark::kMillisecond)->DenseRange(0, 5);

}  // namespace
