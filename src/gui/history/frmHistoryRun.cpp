#include "history/frmHistoryRun.h"

#include "common/AmountPattern.h"
#include "history/HistoryGrid.h"
#include "output/BatchFileDialogs.h"
#include "output/Form7.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace paysum {

namespace {

const QList<HistoryColumn> kItemColumns = {
    {QStringLiteral("員工代碼"), 5, false}, {QStringLiteral("轉帳帳號"), 14, false},
    {QStringLiteral("轉帳金額"), 12, true}, {QStringLiteral("姓名"), 20, false},
    {QStringLiteral("存單號碼"), 8, false}, {QStringLiteral("備註"), 30, false},
};

const QString kBatchNotEmpty =
    QStringLiteral("目前已有薪資轉帳資料，請先產生另一批新的薪資轉帳資料後再恢復");

QString DateText(const QString& date) {
    return date.isEmpty() ? QStringLiteral("未設定") : date;
}

// The run's dates and figures.
QString RunText(const PayRunSummary& run) {
    return QStringLiteral(
               "登錄日期：%1　　轉帳日期：%2　　歸檔時間：%3\n"
               "合計筆數：%4 筆　　金額：%5 元")
        .arg(DateText(run.loginDate), DateText(run.transferDate), run.archivedAt)
        .arg(run.count)
        .arg(FormatAmount(kAmountPattern15, run.total).trimmed());
}

// The batch file written for the run, with enough of its digest to tell it from another.
QString FileText(const WrittenFile& file) {
    if (file.Superseded())
        return QStringLiteral("轉帳檔：%1 產生後本批資料已變更，該檔不含本批資料").arg(file.name);
    if (file.IsEmpty())
        return QStringLiteral("轉帳檔：本批未產生轉帳檔");
    return QStringLiteral("轉帳檔：%1\n大小：%2 位元組　　SHA-256：%3…　　產生時間：%4")
        .arg(file.name)
        .arg(file.size)
        .arg(file.sha256.left(16), file.writtenAt);
}

}  // namespace

frmHistoryRun::frmHistoryRun(const PayRun& run, QWidget* parent)
    : FunctionWindow(QStringLiteral("frmHistoryRun"),
                     QStringLiteral("薪資轉帳歷史資料－第 %1 批").arg(run.summary.run), parent),
      run_(run) {
    createLayout();
    InstallKeyPreview();
}

void frmHistoryRun::createLayout() {
    Label1 = MakeHeading(QStringLiteral("第 %1 批薪資轉帳資料").arg(run_.summary.run));
    Label2 = new QLabel(RunText(run_.summary), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(FileText(run_.summary.file), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    for (QLabel* label : {Label2, Label3}) {
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    Label3->setWordWrap(true);

    Grid1 = MakeHistoryGrid(this, QStringLiteral("Grid1"),
                            new HistoryTableModel(kItemColumns, run_.items, this));

    QHBoxLayout* buttons = MakeButtonRow(
        QStringLiteral("Command1"),
        {QStringLiteral("列印明細表"), QStringLiteral("產生轉帳檔"),
         QStringLiteral("恢復為目前批次"), QStringLiteral("關閉")},
        Command1, [this](int index) { Command1_Click(index); }, 120);
    // The run is only looked at: Enter on its list closes it, back to the list of runs.
    SetDefaultButton(Command1[3], {Grid1});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Grid1, 1);
    layout->addLayout(buttons);
    resize(900, 600);
    Grid1->setFocus();
}

void frmHistoryRun::Command1_Click(int index) {
    switch (index) {
        case 0:
            PrintList();
            break;
        case 1:
            WriteFile();
            break;
        case 2:
            RestoreRun();
            break;
        default:
            reject();
            break;
    }
}

void frmHistoryRun::PrintList() {
    Form7 report(this, &run_);
    RunModal(report);
}

void frmHistoryRun::WriteFile() {
    const QString path = ShowFileDialog(this, BatchFileRequest());
    if (path.isEmpty())
        return;
    ShowBatchFileResult(this, RewritePayRunFile(path, run_));
}

void frmHistoryRun::RestoreRun() {
    bool held = false;
    if (BatchHoldsTransfers(&held)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
        return;
    }
    if (held) {
        ShowMessage(this, kBatchNotEmpty, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString question = QStringLiteral("是否將第 %1 批薪資轉帳資料恢復為目前的薪資轉帳資料？")
                                 .arg(run_.summary.run);
    if (ShowMessage(this, question, MsgButtons::YesNo, MsgIcon::Question, QString(),
                    MsgAnswer::No) != MsgAnswer::Yes)
        return;
    BringBack outcome = BringBack::BatchNotEmpty;
    if (BringBackPayRun(run_.summary.run, &outcome)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
        return;
    }
    // The batch may have filled since it was asked about, in another window of the program.
    if (outcome == BringBack::BatchNotEmpty) {
        ShowMessage(this, kBatchNotEmpty, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    ShowMessage(this, QStringLiteral("恢復完畢"));
    accept();
}

bool frmHistoryRun::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return FunctionWindow::eventFilter(watched, event);
}

}  // namespace paysum
