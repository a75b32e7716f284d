#include "output/Form3.h"

#include "batch/BatchDatesFrame.h"
#include "common/AmountPattern.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "output/BatchFile.h"
#include "output/BatchFileDialogs.h"
#include "output/BatchWarnings.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "print/Fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace paysum {

Form3::Form3(QWidget* parent)
    : FunctionWindow(QStringLiteral("Form3"), QStringLiteral("5. 產生整批薪資轉帳檔"), parent) {
    records_ = new DataControl(this);
    records_->SetConnectionString(MainDatabasePath());
    createLayout();
    Form_Load();
}

void Form3::createLayout() {
    Label1 = MakeHeading(QStringLiteral("產生整批薪資轉帳檔"));
    Label2 = new QLabel(QStringLiteral("合計　筆數："), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("　　　金額："), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    for (QLabel* label : {Label2, Label3}) {
        label->setFont(CourierFont(11));
        label->setTextFormat(Qt::PlainText);
    }

    Frame2 = new BatchDatesFrame(this);
    const QString captions[] = {QStringLiteral("確定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(captions[i], this);
        Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
        Command2[i]->setMinimumSize(96, 32);
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    Frame2->SetNextWidget(Command2[0]);
    setTabOrder(Frame2->Text4[0], Frame2->Text4[1]);
    setTabOrder(Frame2->Text4[1], Command2[0]);
    setTabOrder(Command2[0], Command2[1]);

    auto* totals = new QVBoxLayout;
    totals->addWidget(Label2);
    totals->addWidget(Label3);
    auto* totalsRow = new QHBoxLayout;
    totalsRow->addStretch();
    totalsRow->addLayout(totals);
    totalsRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2[0]);
    buttons->addSpacing(24);
    buttons->addWidget(Command2[1]);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 20);
    layout->setSpacing(12);
    layout->addWidget(Label1);
    layout->addLayout(totalsRow);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    setMinimumWidth(460);
}

void Form3::Form_Load() {
    Frame2->LoadBatchDates();
    const TransferTotals totals = TotalsOf(ReadTransfers().value_or(std::vector<TransferItem>{}));
    Label2->setText(QStringLiteral("合計　筆數：    ") +
                    QString::number(totals.count).rightJustified(11, u' ') +
                    QStringLiteral("　筆"));
    Label3->setText(QStringLiteral("　　　金額：") + FormatAmount(kAmountPattern15, totals.total) +
                    QStringLiteral("　元"));
}

std::optional<std::vector<TransferItem>> Form3::ReadTransfers() {
    if (records_->PointAt(QStringLiteral("S_ITEM")))
        return std::nullopt;
    std::vector<TransferItem> items;
    Recordset& rows = records_->Recordset();
    items.reserve(static_cast<std::size_t>(rows.RecordCount()));
    for (; !rows.AtEOF(); rows.MoveNext())
        items.push_back(TransferItem{rows.Field(1), rows.Field(2), rows.Field(4)});
    if (rows.ReadError())
        return std::nullopt;
    return items;
}

void Form3::Command2_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    if (!Frame2->CheckBatchDates() || !ConfirmWarnings())
        return;
    const QString path = ShowFileDialog(this, BatchFileRequest());
    if (path.isEmpty()) {
        reject();
        return;
    }
    // A date that cannot be stored has been reported; the file still takes the boxes' dates.
    Frame2->SaveBatchDates();
    fileName_ = path;
    ShowBatchFileResult(this, WriteTransferFile());
    accept();
}

// The batch is read and checked before the file is opened, the file replaces an earlier one of
// that name only once all of it has been written, and what is on the disk is read back.
BatchFileResult Form3::WriteTransferFile() {
    Batch batch;
    if (ReadBatch(&batch))
        return Failure(BatchFileOutcome::DataFault, {});
    batch.header.loginDate = Frame2->Text4[0]->text();
    batch.header.transferDate = Frame2->Text4[1]->text();
    return WriteCurrentBatchFile(fileName_, batch);
}

bool Form3::ConfirmWarnings() {
    QStringList warnings;
    if (ReadBatchWarnings(&warnings)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
        return false;
    }
    return warnings.isEmpty() ||
           ShowMessage(this, BatchWarningQuestion(warnings), MsgButtons::YesNo,
                       MsgIcon::Exclamation, windowTitle(), MsgAnswer::No) == MsgAnswer::Yes;
}

}  // namespace paysum
