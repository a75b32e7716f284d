// Speed of the transfer entry with 10,000 employees and a batch of 999 transfers: the look-up of
// a typed code, the temporary code, a whole add, the employee lookup's narrowing on every
// keystroke and opening the entry on a full batch.

#include "BenchData.h"
#include "batch/Form2.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffStore.h"
#include "platform/MessageBox.h"
#include "staff/Form10.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <optional>

using namespace paysum;

namespace {

using bench::Code;
using bench::CountMessages;
using bench::kAccount;
using bench::kTransfers;
using bench::messagesShown;

constexpr int kEmployees = 10000;
// The batch holds the employees from this code on, so that the codes below it are not in it.
constexpr int kFirstInBatch = 1001;

// Employees 1 to 10,000 and transfers to 999 of them.
void FillTables() {
    bench::FillTables(kEmployees, kFirstInBatch);
}

void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
}

QLineEdit* Box(QWidget& window, const char* name) {
    return window.findChild<QLineEdit*>(QLatin1String(name));
}

void PressEnter(QWidget* widget) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

// Enter on a code in add mode: the batch is searched for it, the employee read and the boxes
// filled. The focus moving on to the amount box runs the look-up of the leaving code box too.
void BM_Form2EnterOnCode(benchmark::State& state) {
    FillTables();
    CountMessages();
    Form2 window;
    ShowActive(window);
    QLineEdit* code = Box(window, "Text1");
    QLineEdit* name = Box(window, "Text6");
    for (auto _ : state) {
        state.PauseTiming();
        window.Command1_Click(MaintenanceWindow::kAdd);
        code->setText(QStringLiteral("00500"));
        state.ResumeTiming();
        PressEnter(code);
    }
    if (messagesShown || name->text() != QStringLiteral("員工500"))
        state.SkipWithError("the employee was not filled in");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form2EnterOnCode)->Unit(benchmark::kMillisecond);

// The focus leaving the code box for the next box by a click: the employee is read and filled.
void BM_Form2LeaveCodeBox(benchmark::State& state) {
    FillTables();
    CountMessages();
    Form2 window;
    ShowActive(window);
    QLineEdit* code = Box(window, "Text1");
    QLineEdit* amount = Box(window, "Text5");
    QLineEdit* name = Box(window, "Text6");
    for (auto _ : state) {
        state.PauseTiming();
        window.Command1_Click(MaintenanceWindow::kAdd);
        code->setText(QStringLiteral("500"));
        state.ResumeTiming();
        amount->setFocus(Qt::MouseFocusReason);
    }
    if (messagesShown || name->text() != QStringLiteral("員工500"))
        state.SkipWithError("the employee was not filled in");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form2LeaveCodeBox)->Unit(benchmark::kMillisecond);

// The next free temporary code when 90001 to 99000 are taken.
void BM_NextTemporaryCode(benchmark::State& state) {
    FillTables();
    const QSqlDatabase db = Connection(MainDatabasePath());
    {
        Transaction transaction(db);
        QSqlQuery staff(db);
        staff.prepare(QStringLiteral("INSERT INTO S_STAFF VALUES (?, ?, '35000', '臨時', '')"));
        for (int i = 90001; i <= 99000; ++i) {
            staff.addBindValue(Code(i));
            staff.addBindValue(kAccount);
            staff.exec();
        }
        if (transaction.Commit())
            std::abort();
    }
    QString code;
    for (auto _ : state) {
        if (NextTemporaryCode(db, &code))
            state.SkipWithError("the employee master could not be read");
    }
    if (code != QStringLiteral("99001"))
        state.SkipWithError("wrong temporary code");
}
BENCHMARK(BM_NextTemporaryCode)->Unit(benchmark::kMillisecond);

// A whole add in the entry as the clerk confirms it: the new payee filed in the employee master
// and the transfer stored in one transaction, the batch of about 1,000 re-read, the new record
// found in it and the window back in add mode. Every add is a payee new to both tables.
void BM_Form2AddCycle(benchmark::State& state) {
    FillTables();
    CountMessages();
    Form2 window;
    ShowActive(window);
    QLineEdit* code = Box(window, "Text1");
    QLineEdit* account = Box(window, "Text2");
    QLineEdit* amount = Box(window, "Text5");
    QLineEdit* name = Box(window, "Text6");
    window.Command1_Click(MaintenanceWindow::kAdd);
    int next = 20001;
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(Code(next++));
        account->setText(kAccount);
        amount->setText(QStringLiteral("1000"));
        name->setText(QStringLiteral("新收款人"));
        state.ResumeTiming();
        window.Command2_Click(0);
        QApplication::processEvents();
    }
    QSqlQuery count(Connection(MainDatabasePath()));
    count.exec(QStringLiteral("SELECT COUNT(*) FROM S_ITEM"));
    count.next();
    if (messagesShown || window.EditMode != MaintenanceWindow::kAdd ||
        count.value(0).toInt() != kTransfers + next - 20001)
        state.SkipWithError("a transfer was not stored");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form2AddCycle)->Unit(benchmark::kMillisecond)->Iterations(100);

// One keystroke in the employee lookup's code box: the list narrowed to the code typed so far.
// Argument: the length of the text, from the empty box (all 10,000) to five digits (no one).
void BM_Form10Narrowing(benchmark::State& state) {
    FillTables();
    CountMessages();
    Form10 window;
    window.show();
    QLineEdit* code = Box(window, "Text1_0");
    const QString typed = QStringLiteral("12345").left(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        code->setText(QStringLiteral("x"));  // no code holds an x
        QApplication::processEvents();
        state.ResumeTiming();
        code->setText(typed);
        QApplication::processEvents();
    }
    if (messagesShown)
        state.SkipWithError("the list could not be read");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form10Narrowing)->Unit(benchmark::kMillisecond)->DenseRange(0, 5);

// Opening the entry on a batch of 999 transfers: built, the batch read, and shown.
void BM_Form2Open(benchmark::State& state) {
    FillTables();
    CountMessages();
    std::optional<Form2> window;
    for (auto _ : state) {
        window.emplace();
        window->show();
        QApplication::processEvents();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    if (messagesShown)
        state.SkipWithError("the batch could not be read");
    SetMessageHook(nullptr);
}
BENCHMARK(BM_Form2Open)->Unit(benchmark::kMillisecond);

}  // namespace
