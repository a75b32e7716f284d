// How the windows keep up as the employee master grows to its largest, 99,999 codes, with a batch
// of 999 transfers: a keystroke of the query filter (by code and by part of a name), opening
// each window that lists a table, resizing one, sorting the employee lookup, an add at a taken
// code that moves a run of 10,000 codes, an add at a free code, and the memory the employee window
// holds. The argument is the number of employees. Beside each figure scripts/bench-floor.sh times
// the same SQL in the sqlite3 command-line tool.

#include "BenchData.h"
#include "batch/Form2.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffNames.h"
#include "platform/MessageBox.h"
#include "staff/Form10.h"
#include "staff/Form4.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

using namespace paysum;

namespace {

using bench::Code;
using bench::kAccount;

// Employees that the add at a taken code moves: from kRunStart up to the free code after them.
constexpr int kRunStart = 40001;
constexpr int kRunLength = 10000;
// Stores `employees` employees from code 1 up, leaving the code after the run free when the
// table reaches it, and transfers to the first 999.
void FillTables(int employees) {
    static int filled = 0;
    if (filled == employees)
        return;
    bench::FillTables(employees, 1, kRunStart + kRunLength);
    filled = employees;
}

void SetEntry(Form4& window, const QString& code) {
    window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(code);
    window.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(kAccount);
    window.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QStringLiteral("35000"));
    window.findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QStringLiteral("新人"));
}

// Takes the newcomer out again and moves the run back down, so every iteration moves it anew.
void UndoAdd(const QString& code, int runLength) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    Execute(db, QStringLiteral("DELETE FROM S_STAFF WHERE ID = ?"), {code});
    if (runLength > 0) {
        const QString first = Code(code.toInt() + 1);
        const QString last = Code(code.toInt() + runLength);
        Execute(db,
                QStringLiteral("UPDATE S_STAFF SET ID = '#' || printf('%05d', ID - 1) "
                               "WHERE ID BETWEEN ? AND ?"),
                {first, last});
        Execute(db, QStringLiteral("UPDATE S_STAFF SET ID = substr(ID, 2) WHERE ID GLOB '#*'"));
    }
    if (transaction.Commit())
        std::abort();
}

// One keystroke of the employee window's query filter; the second argument is the length of
// the prefix typed so far (0: the box emptied, the whole table listed).
void BM_QueryFilterKeystroke(benchmark::State& state) {
    FillTables(static_cast<int>(state.range(0)));
    Form4 window;
    window.show();
    auto* code = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    window.Command1_Click(MaintenanceWindow::kQuery);
    const QString prefix = QStringLiteral("00012").left(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("00000"));  // no code is so
        QApplication::processEvents();
        state.ResumeTiming();
        code->setText(prefix);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_QueryFilterKeystroke)
    ->Unit(benchmark::kMillisecond)
    ->ArgsProduct({{1000, 10000, 99999}, {0, 1, 5}});

// Gives the employees names as a payroll has them, when `likePeople`: one of 20 family names and
// two of 24 given characters, so that a family name is shared by 5,000 of 99,999 and a given name
// by about 170. Else the bench names "員工N" again.
void GiveNames(bool likePeople) {
    const QString kFamily = QStringLiteral("陳林黃張李王吳劉蔡楊許鄭謝郭洪曾邱廖賴周");
    const QString kGiven = QStringLiteral("志明春嬌美玲家豪雅婷俊傑怡君宗翰淑芬建宏佩珊冠宇");
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    const DbResult error =
        likePeople ? Execute(db,
                             QStringLiteral("UPDATE S_STAFF SET NAME = "
                                            "substr(?, CAST(ID AS INTEGER) % 20 + 1, 1) || "
                                            "substr(?, CAST(ID AS INTEGER) / 20 % 24 + 1, 1) || "
                                            "substr(?, CAST(ID AS INTEGER) / 480 % 24 + 1, 1)"),
                             {kFamily, kGiven, kGiven})
                   : Execute(db, QStringLiteral("UPDATE S_STAFF SET NAME = '員工' || "
                                                "CAST(ID AS INTEGER)"));
    if (error || transaction.Commit())
        std::abort();
}

// The employee window at 99,999 employees in query mode, with the names as `which` has them:
// the bench names "員工N" for 0, else as a payroll has them.
void OpenQueryAmongNames(Form4& window, int which) {
    FillTables(99999);
    GiveNames(which != 0);
    window.show();
    window.Command1_Click(MaintenanceWindow::kQuery);
}

// Part of a name typed, `which`: a text every name holds (the bench names "員工N", all 99,999
// listed), a family name (5,000 listed), a given name (about 170), a whole name (a few) and a
// name nobody has.
QString TypedName(int which) {
    const QString typed[] = {QStringLiteral("員工"), QStringLiteral("陳"), QStringLiteral("志明"),
                             QStringLiteral("陳志明"), QStringLiteral("無此人")};
    return typed[which];
}

// One keystroke of the employee window's query by part of a name, the names already held in
// memory (as from the second keystroke on).
void BM_NameQueryKeystroke(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    Form4 window;
    OpenQueryAmongNames(window, which);
    auto* code = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("00000"));  // no code is so
        QApplication::processEvents();
        state.ResumeTiming();
        code->setText(TypedName(which));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NameQueryKeystroke)->Unit(benchmark::kMillisecond)->DenseRange(0, 4);

// The search itself, below the window: the codes of the names that hold a text.
void BM_CodesWhoseNamesHold(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    FillTables(99999);
    GiveNames(which != 0);
    const QSqlDatabase db = Connection(MainDatabasePath());
    QStringList codes;
    for (auto _ : state) {
        if (CodesWhoseNamesHold(db, TypedName(which), &codes))
            std::abort();
    }
    state.counters["listed"] = static_cast<double>(codes.size());
}
BENCHMARK(BM_CodesWhoseNamesHold)->Unit(benchmark::kMillisecond)->DenseRange(0, 4);

// The first name typed after the file changed, when the names are read from it again.
void BM_NameQueryAfterChange(benchmark::State& state) {
    Form4 window;
    OpenQueryAmongNames(window, 1);
    auto* code = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    const QSqlDatabase db = Connection(MainDatabasePath());
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("00000"));
        Execute(db, QStringLiteral("UPDATE S_STAFF SET AT = AT WHERE ID = '00001'"));
        QApplication::processEvents();
        state.ResumeTiming();
        code->setText(TypedName(1));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NameQueryAfterChange)->Unit(benchmark::kMillisecond);

// Opening a window that lists a table, to its first paint.
template <typename Window>
void BM_Open(benchmark::State& state) {
    FillTables(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Window window;
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK_TEMPLATE(BM_Open, Form4)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(99999);
BENCHMARK_TEMPLATE(BM_Open, Form2)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(99999);
BENCHMARK_TEMPLATE(BM_Open, Form10)
    ->Unit(benchmark::kMillisecond)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(99999);

// Resizing a window from the size it opens at to a larger one and back, each to its repaint:
// the transfer entry window with 999 transfers, the employee window at each table size.
template <typename Window>
void BM_ResizeRepaint(benchmark::State& state) {
    FillTables(static_cast<int>(state.range(0)));
    Window window;
    window.show();
    QApplication::processEvents();
    const QSize opening = window.size();
    const QSize sizes[2] = {QSize(1600, 900), opening};
    int next = 0;
    for (auto _ : state) {
        window.resize(sizes[next]);
        window.repaint();
        next = 1 - next;
    }
}
BENCHMARK_TEMPLATE(BM_ResizeRepaint, Form2)->Unit(benchmark::kMillisecond)->Arg(99999);
BENCHMARK_TEMPLATE(BM_ResizeRepaint, Form4)->Unit(benchmark::kMillisecond)->Arg(1000)->Arg(99999);

// A click on a caption of the employee lookup, to its repaint: the list read again in the order
// of the name column (1) or the code column (0), upwards and downwards by turns.
void BM_LookupSort(benchmark::State& state) {
    FillTables(static_cast<int>(state.range(0)));
    Form10 window;
    window.show();
    QApplication::processEvents();
    QHeaderView* header = window.findChild<QTableView*>()->horizontalHeader();
    const int column = state.range(1) == 1 ? 3 : 0;
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        header->setSortIndicator(column, order);
        window.repaint();
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
}
BENCHMARK(BM_LookupSort)->Unit(benchmark::kMillisecond)->ArgsProduct({{1000, 99999}, {0, 1}});

// The whole confirm of an add at a taken code at the start of a run of 10,000 codes (the
// question answered Yes), and of an add at a free code, with the table at its largest.
void BM_AddAt(benchmark::State& state) {
    const bool taken = state.range(0) != 0;
    FillTables(99999);
    SetMessageHook([](QMessageBox&) { return QMessageBox::Yes; });
    Form4 window;
    window.show();
    const QString code = Code(taken ? kRunStart : kRunStart + kRunLength);
    window.Command1_Click(MaintenanceWindow::kAdd);
    for (auto _ : state) {
        state.PauseTiming();
        SetEntry(window, code);
        // The window shows what was typed before the clerk confirms.
        QApplication::processEvents();
        state.ResumeTiming();
        window.Command2_Click(0);
        QApplication::processEvents();
        state.PauseTiming();
        UndoAdd(code, taken ? kRunLength : 0);
        // The window lists the table as it now is, as after the clerk had undone the add.
        window.Command1_Click(MaintenanceWindow::kReset);
        window.Command1_Click(MaintenanceWindow::kAdd);
        state.ResumeTiming();
    }
    SetMessageHook(nullptr);
}
BENCHMARK(BM_AddAt)->Unit(benchmark::kMillisecond)->Arg(1)->Arg(0)->Iterations(10);

// The peak resident memory of the process once the employee window shows the largest table.
void BM_PeakMemoryWithEmployeeWindow(benchmark::State& state) {
    FillTables(99999);
    for (auto _ : state) {
        Form4 window;
        window.show();
        QApplication::processEvents();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PeakMemoryWithEmployeeWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
