#include "batch/Form8.h"

#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/SchemaTable.h"
#include "maintenance/StoreErrors.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "print/Fonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

const QString kPresets = QStringLiteral("NNOO");

}  // namespace

Form8::Form8(QWidget* parent)
    : FunctionWindow(QStringLiteral("Form8"), QStringLiteral("備註欄功能鍵設定"), parent) {
    presets_ = new DataControl(this);
    presets_->SetConnectionString(MainDatabasePath());
    createLayout();
    Form_Load();
}

void Form8::createLayout() {
    setFixedSize(Px(8400), Px(6720));
    Label1 = MakeHeading(QStringLiteral("備註欄功能鍵設定"));
    Label1->setGeometry(TwipsRect(240, 120, 7920, 480));

    const char16_t* captions[10] = {u"１.",   u"２.　", u"３.　", u"４.",   u"５.　",
                                    u"６.　", u"７.　", u"８.",   u"９.　", u"１０.　"};
    for (int i = 0; i < 10; ++i) {
        const int y = 780 + 480 * i;
        Label2[i] = new QLabel(QString::fromUtf16(captions[i]), this);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setGeometry(TwipsRect(360, y + 30, 720, 330));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        LimitLength(Text1[i], ColumnWidth("NNOO", "NO1"));
        Text1[i]->setGeometry(TwipsRect(1080, y, 5280, 360));
        SelectAllOnFocus(Text1[i]);
        if (i > 0)
            setTabOrder(Text1[i - 1], Text1[i]);
    }

    Command1 = new QPushButton(QStringLiteral("1.確定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(TwipsRect(6720, 780, 1332, 492));
    Command2 = new QPushButton(QStringLiteral("2.取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(TwipsRect(6720, 1500, 1332, 492));
    connect(Command1, &QPushButton::clicked, this, &Form8::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form8::Command2_Click);
    setTabOrder(Text1[9], Command1);
    setTabOrder(Command1, Command2);
}

void Form8::Form_Load() {
    if (presets_->PointAt(kPresets)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
    } else if (const Recordset& row = presets_->Recordset(); !row.AtEOF()) {
        for (int i = 0; i < 10; ++i)
            Text1[i]->setText(TrimRightBlanks(row.Field(i)));
    }
    InstallKeyPreview();
    Text1[0]->setFocus();
}

void Form8::KeyUpHere(QObject* watched, int keyCode) {
    for (int i = 0; i < 10; ++i) {
        if (watched == Text1[i])
            Text1_KeyUp(i, keyCode);
    }
}

void Form8::Text1_KeyUp(int index, int keyCode) {
    switch (keyCode) {
        case Qt::Key_Up:
            (index == 0 ? static_cast<QWidget*>(Command1) : Text1[index - 1])->setFocus();
            break;
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            (index == 9 ? static_cast<QWidget*>(Command1) : Text1[index + 1])->setFocus();
            break;
        default:
            break;
    }
}

void Form8::Command1_Click() {
    if (DbResult error = presets_->PointAt(kPresets)) {
        ShowStoreError(*error);
        return;
    }
    Recordset& row = presets_->Recordset();
    if (row.AtEOF())
        row.AddNew();
    for (int i = 0; i < 10; ++i)
        row.SetField(i, TrimBlanks(Text1[i]->text()));
    if (DbResult error = row.Update()) {
        ShowStoreError(*error);
        return;
    }
    accept();
}

void Form8::Command2_Click() {
    reject();
}

void Form8::ShowStoreError(const DbError& error) {
    ReportBoxStoreError(this, error, Text1);
}

}  // namespace paysum
