#include "history/frmHistory.h"

#include "common/AmountPattern.h"
#include "history/HistoryGrid.h"
#include "history/frmHistoryRun.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace paysum {

namespace {

const QString kTitle = QStringLiteral("薪資轉帳歷史資料");

const QList<HistoryColumn> kRunColumns = {
    {QStringLiteral("批次"), 4, true},       {QStringLiteral("登錄日期"), 6, false},
    {QStringLiteral("轉帳日期"), 6, false},  {QStringLiteral("筆數"), 4, true},
    {QStringLiteral("總金額"), 15, true},    {QStringLiteral("轉帳檔"), 24, false},
    {QStringLiteral("歸檔時間"), 19, false},
};

QStringList CellsOf(const PayRunSummary& run) {
    return {QString::number(run.run),
            run.loginDate,
            run.transferDate,
            QString::number(run.count),
            FormatAmount(kAmountPattern15, run.total).trimmed(),
            run.file.IsEmpty() ? QString() : QFileInfo(run.file.name).fileName(),
            run.archivedAt};
}

}  // namespace

frmHistory::frmHistory(QWidget* parent)
    : FunctionWindow(QStringLiteral("frmHistory"), kTitle, parent) {
    Form_Load();
    createLayout();
    InstallKeyPreview();
}

void frmHistory::Form_Load() {
    if (ReadPayRuns(&runs_)) {
        runs_.clear();
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
    }
}

void frmHistory::createLayout() {
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(runs_.size()));
    for (const PayRunSummary& run : runs_)
        rows << CellsOf(run);
    Grid1 = MakeHistoryGrid(this, QStringLiteral("Grid1"),
                            new HistoryTableModel(kRunColumns, std::move(rows), this));
    connect(Grid1, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { OpenRun(index.row()); });

    QHBoxLayout* buttons =
        MakeButtonRow(QStringLiteral("Command1"), {QStringLiteral("開啟"), QStringLiteral("關閉")},
                      Command1, [this](int index) { Command1_Click(index); });
    Command1[0]->setEnabled(!runs_.empty());
    SetDefaultButton(Command1[0], {Grid1});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(MakeHeading(kTitle));
    layout->addWidget(Grid1, 1);
    layout->addLayout(buttons);
    resize(860, 480);
    Grid1->setFocus();
}

void frmHistory::Command1_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    OpenRun(Grid1->currentIndex().row());
}

void frmHistory::OpenRun(int shownRow) {
    // The grid may show the runs in another order than they were read in.
    const int row = static_cast<const HistoryTableModel*>(Grid1->model())->SourceRow(shownRow);
    if (row < 0 || row >= static_cast<int>(runs_.size()))
        return;
    PayRun run;
    if (ReadPayRun(runs_[static_cast<std::size_t>(row)].run, &run)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
        return;
    }
    frmHistoryRun window(run, this);
    RunModal(window);
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    return FunctionWindow::eventFilter(watched, event);
}

}  // namespace paysum
