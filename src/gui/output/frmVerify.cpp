#include "output/frmVerify.h"

#include "common/AmountPattern.h"
#include "print/Fonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace paysum {

frmVerify::frmVerify(const QString& path, const Verification& verification, QWidget* parent)
    : FunctionWindow(QStringLiteral("frmVerify"), QStringLiteral("驗證轉帳檔"), parent) {
    Label1 = MakeHeading(QStringLiteral("驗證轉帳檔"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setFont(MingFont());
    Command1 = new QPushButton(QStringLiteral("確定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumSize(96, 32);
    connect(Command1, &QPushButton::clicked, this, &frmVerify::Command1_Click);
    SetDefaultButton(Command1, {Text1});

    const TransferTotals& totals = verification.check.detailTotals;
    const QString verdict = verification.faults.empty()
                                ? QStringLiteral("檢查無誤")
                                : QStringLiteral("發現 %1 項錯誤").arg(verification.faults.size());
    const QString compared =
        verification.comparedWithBatch ? QStringLiteral("（已與本批轉帳資料比對）") : QString();
    Label2->setText(QStringLiteral("檔案：%1\n明細 %2 筆，金額合計 %3 元\n%4%5")
                        .arg(path)
                        .arg(totals.count)
                        .arg(FormatAmount(kAmountPattern15, totals.total).trimmed())
                        .arg(verdict, compared));
    Text1->setPlainText(verification.faults.empty()
                            ? QStringLiteral("檢查無誤：每一行 60 位元組、表頭與明細相符。")
                            : FaultLines(verification.faults).join(u'\n'));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);
    resize(720, 440);
}

void frmVerify::Command1_Click() {
    accept();
}

}  // namespace paysum
