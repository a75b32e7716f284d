#include "reference/Form9.h"

#include "common/SharedState.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "reference/BankCodeTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

// The company window may only pick branches of its own bank, 004.
bool OwnBankOnly() {
    return LookupCaller == 5;
}

}  // namespace

Form9::Form9(QWidget* parent)
    : FunctionWindow(QStringLiteral("Form9"), QStringLiteral("金融機構代碼--查詢"), parent) {
    createLayout();
    Form_Load();
}

void Form9::createLayout() {
    setFixedSize(Px(9360), Px(6600));

    Label1 = MakeHeading(QStringLiteral("金融機構代碼--查詢"));
    Label1->setGeometry(TwipsRect(240, 120, 8880, 540));

    MakeBankBoxes(this, 840, 6840, Label2, Text1);
    for (int i = 0; i < 3; ++i) {
        Text1[i]->setEnabled(i == 0);
        SelectAllOnFocus(Text1[i]);
    }

    const QString buttons[2] = {QStringLiteral("確定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(buttons[i], this);
        Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
        Command2[i]->setGeometry(TwipsRect(6480 + 1320 * i, 840, 1200, 420));
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }

    Adodc1 = new DataControl(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    DataGrid1 = new DataGrid(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setGeometry(TwipsRect(240, 2400, 8880, 3960));

    setTabOrder(Text1[0], Command2[0]);
    setTabOrder(Command2[0], Command2[1]);
    setTabOrder(Command2[1], DataGrid1);
}

void Form9::Form_Load() {
    LookupResult = QStringLiteral("0");
    Adodc1->SetConnectionString(BranchDatabasePath());
    Adodc1->SetCommandType(CommandType::Text);
    Adodc1->SetRecordSource(
        OwnBankOnly()
            ? QStringLiteral("select * from RTBANK where BKBRNO >= '004' and BKBRNO < '005' "
                             "order by BKBRNO")
            : QStringLiteral("select * from RTBANK order by BKBRNO"));
    const DbResult error = Adodc1->Refresh();
    DataGrid1->Bind(Adodc1, BankGridColumns());
    connect(&Adodc1->Recordset(), &Recordset::MoveComplete, this, &Form9::ShowCurrentRow);
    connect(Text1[0], &QLineEdit::textChanged, this, &Form9::Search);
    ShowCurrentRow();
    Text1[0]->setFocus();

    // Esc closes the window from any control, so every key passes here first.
    InstallKeyPreview();
    if (error)
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

void Form9::ShowCurrentRow() {
    if (Busy)
        return;
    Busy = true;
    const Recordset& records = Adodc1->Recordset();
    const bool atEnd = records.AtEOF();
    Text1[0]->setText(atEnd ? QString() : records.Field(QStringLiteral("BKBRNO")));
    Text1[1]->setText(atEnd ? QString() : records.Field(QStringLiteral("BNAME")));
    Text1[2]->setText(atEnd ? QString() : records.Field(QStringLiteral("FNAME")));
    Busy = false;
}

void Form9::Search() {
    if (Busy)
        return;
    Busy = true;
    // The typed text is only ever a bound value; the 004 restriction is part of the text.
    Adodc1->SetRecordSource(
        OwnBankOnly() ? QStringLiteral("select * from RTBANK where BKBRNO >= '004' and "
                                       "BKBRNO < '005' and BKBRNO >= ? and BKBRNO < ? "
                                       "order by BKBRNO")
                      : QStringLiteral("select * from RTBANK where BKBRNO >= ? and BKBRNO < ? "
                                       "order by BKBRNO"),
        KeyPrefixRange(Text1[0]->text()));
    const DbResult error = Adodc1->Refresh();
    Busy = false;
    if (error)
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

void Form9::Command2_Click(int index) {
    if (index == 0) {
        ShowCurrentRow();
        LookupResult = Text1[0]->text().isEmpty() ? QStringLiteral("0") : Text1[0]->text();
        accept();
        return;
    }
    reject();
}

void Form9::KeyUpHere(QObject* watched, int keyCode) {
    if (keyCode == Qt::Key_Escape) {
        Command2_Click(1);
    } else if ((keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter) && watched == Text1[0]) {
        ShowCurrentRow();
        Command2[0]->setFocus();
    }
}

}  // namespace paysum
