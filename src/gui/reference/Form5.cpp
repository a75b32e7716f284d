#include "reference/Form5.h"

#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/SharedState.h"
#include "common/TextRules.h"
#include "data/BankName.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/SchemaTable.h"
#include "maintenance/StoreErrors.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "print/Fonts.h"
#include "reference/Form9.h"

#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

const QString kTable = QStringLiteral("S_BASE");
const QString kNoBankName = QStringLiteral("[金融機構名稱]");

// Widest text of each box, in characters.
constexpr std::array<int, 7> kLimits = {
    ColumnWidth("S_BASE", "BRNO"),  ColumnWidth("S_BASE", "CNAME"), ColumnWidth("S_BASE", "CUSTNO"),
    ColumnWidth("S_BASE", "UNINO"), ColumnWidth("S_BASE", "SIGN1"), ColumnWidth("S_BASE", "SIGN2"),
    ColumnWidth("S_BASE", "SIGN3")};

// What the boxes hold before the company record is first stored; the sign-off texts line up
// under the printed list's columns.
QString DefaultText(int index) {
    switch (index) {
        case 4:
            return QStringLiteral("主管") + QString(19, u' ') + QStringLiteral("會計") +
                   QString(23, u' ');
        case 5:
            return QStringLiteral("出納") + QString(19, u' ') + QStringLiteral("製表");
        case 6:
            return QStringLiteral("連  絡  人");
        default:
            return QString();
    }
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

Form5::Form5(QWidget* parent)
    : FunctionWindow(QStringLiteral("Form5"), QStringLiteral("1. 基本資料建檔"), parent) {
    createLayout();
    configureBoxes();
    Form_Load();
}

void Form5::createLayout() {
    setFixedSize(Px(11640), Px(5280));

    Label1 = MakeHeading(QStringLiteral("基本資料建檔"));
    Label1->setGeometry(TwipsRect(240, 240, 11160, 540));

    const QString captions[5] = {
        QStringLiteral("轉 帳 分 行 代 號 ："), QStringLiteral("企 業 名 稱 ："),
        QStringLiteral("客 戶 代 號 ："), QStringLiteral("統 一 編 號 ："),
        QStringLiteral("薪 資 轉 帳 明 細 末 頁 加 註 ：  ( 例 ： ’ 主管　會計　出納　製表 ’)")};
    for (int i = 0; i < 5; ++i) {
        Label2[i] = new QLabel(captions[i], this);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    }
    for (int i = 0; i < 7; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    }

    const int boxWidths[4] = {720, 6840, 720, 1320};
    for (int i = 0; i < 4; ++i) {
        const int y = 1080 + 480 * i;
        Label2[i]->setGeometry(TwipsRect(480, y, 2280, 330));
        Text1[i]->setGeometry(TwipsRect(2760, y, boxWidths[i], 330));
    }

    Command3 = new QPushButton(QStringLiteral("..."), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(TwipsRect(3540, 1080, 480, 330));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(TwipsRect(4140, 1080, 7260, 330));
    Label4 = new QLabel(QStringLiteral("( 客戶代號由分行編給之號碼 )"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(TwipsRect(3600, 2040, 4800, 330));

    // The sign-off boxes use the fixed-pitch font of the printed list, so that their blanks
    // line up as they will print: line 1 is boxes 4 and 5 side by side, line 2 is box 6.
    Label2[4]->setGeometry(TwipsRect(480, 3120, 10920, 330));
    Text1[4]->setGeometry(TwipsRect(480, 3540, 5280, 330));
    Text1[5]->setGeometry(TwipsRect(5880, 3540, 5280, 330));
    Text1[6]->setGeometry(TwipsRect(480, 3960, 5280, 330));
    for (int i : {4, 5, 6})
        Text1[i]->setFont(MingFont());

    const QString buttons[2] = {QStringLiteral("確定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        Command7[i] = new QPushButton(buttons[i], this);
        Command7[i]->setObjectName(QStringLiteral("Command7_%1").arg(i));
        Command7[i]->setGeometry(TwipsRect(8640 + 1320 * i, 4560, 1200, 420));
        connect(Command7[i], &QPushButton::clicked, this, [this, i] { Command7_Click(i); });
    }
    connect(Command3, &QPushButton::clicked, this, &Form5::Command3_Click);

    for (int i = 0; i < 6; ++i)
        setTabOrder(Text1[i], Text1[i + 1]);
    setTabOrder(Text1[6], Command7[0]);
    setTabOrder(Command7[0], Command7[1]);
    setTabOrder(Command7[1], Command3);
}

void Form5::configureBoxes() {
    for (int i = 0; i < 7; ++i) {
        LimitLength(Text1[i], kLimits[i]);
        Text1[i]->setText(DefaultText(i));
        SelectAllOnFocus(Text1[i]);
        Text1[i]->installEventFilter(this);
    }
    for (int i : {0, 2, 3})
        AcceptDigitsOnly(Text1[i]);
}

void Form5::Form_Load() {
    LookupResult = QStringLiteral("0");
    Adodc1 = new DataControl(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc1->SetConnectionString(MainDatabasePath());
    const DbResult error = Adodc1->PointAt(kTable);
    if (error || Adodc1->Recordset().AtEOF()) {
        Label3->setText(kNoBankName);
        if (error)
            ShowMessage(this, QStringLiteral("不可預期的錯誤"));
        return;
    }
    for (int i = 0; i < 7; ++i)
        Text1[i]->setText(Adodc1->Recordset().Field(i));
    ShowBankName();
}

void Form5::ShowBankName() {
    const QString branch = QStringLiteral("004") + Text1[0]->text();
    Label3->setText(BankNameOf(branch + BranchCheckDigit(branch)));
}

bool Form5::eventFilter(QObject* watched, QEvent* event) {
    const auto box = std::find(Text1.begin(), Text1.end(), watched);
    if (box == Text1.end())
        return FunctionWindow::eventFilter(watched, event);
    const int index = static_cast<int>(box - Text1.begin());
    switch (event->type()) {
        case QEvent::KeyPress:
            Text1_KeyDown(index, static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::KeyRelease:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                Text1_KeyUp(index, static_cast<QKeyEvent*>(event)->key());
            break;
        case QEvent::FocusOut: {
            if (!FocusMovesWithWindow(static_cast<QFocusEvent*>(event)))
                Text1_LostFocus(index);
            break;
        }
        default:
            break;
    }
    return false;
}

void Form5::Text1_KeyDown(int index, int keyCode) {
    keyPressedSinceMove_ = true;
    if (index == 2 && (IsEnter(keyCode) || keyCode == Qt::Key_Down))
        Text1[2]->setText(PadZeroLeft(kLimits[2], Text1[2]->text()));
}

void Form5::Text1_KeyUp(int index, int keyCode) {
    // Only a key pressed in one of the boxes moves the focus on its release, once.
    if (!keyPressedSinceMove_)
        return;
    QWidget* target = nullptr;
    if (keyCode == Qt::Key_Up) {
        for (int i = index - 1; i >= 0 && !target; --i)
            target = Text1[i]->isEnabled() ? Text1[i] : nullptr;
    } else if (IsEnter(keyCode) || keyCode == Qt::Key_Down) {
        for (int i = index + 1; i < 7 && !target; ++i)
            target = Text1[i]->isEnabled() ? Text1[i] : nullptr;
        if (!target)
            target = Command7[0];
    }
    if (!target)
        return;
    keyPressedSinceMove_ = false;
    target->setFocus();
}

void Form5::Text1_LostFocus(int index) {
    for (int i : {0, 2})
        Text1[i]->setText(PadZeroLeft(kLimits[i], Text1[i]->text()));
    if (index == 0 && Text1[0]->text().size() == 3)
        ShowBankName();
}

void Form5::Command3_Click() {
    LookupCaller = 5;
    Form9 lookup(this);
    RunModal(lookup);
    LookupCaller = 0;
    // Characters 4 to 6 of the chosen seven-digit code are the branch number.
    if (LookupResult != u"0")
        Text1[0]->setText(LookupResult.mid(3, 3));
    // This is a move too: the Enter that chose in the lookup is released here and must not
    // move on.
    keyPressedSinceMove_ = false;
    Text1[1]->setFocus();
}

void Form5::Command7_Click(int index) {
    if (index == 0)
        Store();
    else
        reject();
}

void Form5::reject() {
    LookupResult = QStringLiteral("0");
    FunctionWindow::reject();
}

void Form5::Store() {
    for (int i = 0; i < 3; ++i) {
        if (TrimBlanks(Text1[i]->text()).isEmpty()) {
            ShowMessage(this, QStringLiteral("欄位必須有值"));
            Text1[i]->setFocus();
            return;
        }
    }
    DbResult error = Adodc1->PointAt(kTable);
    if (!error) {
        // The company record is the first row; the first store creates it.
        Recordset& base = Adodc1->Recordset();
        if (base.AtEOF())
            base.AddNew();
        for (int i = 0; i < 7; ++i)
            base.SetField(i, Text1[i]->text());
        LookupResult = QStringLiteral("5");
        error = base.Update();
    }
    if (error) {
        ReportStoreFailure(*error);
        return;
    }
    ShowMessage(this, QStringLiteral("儲存成功"));
    accept();
}

void Form5::ReportStoreFailure(const DbError& error) {
    ReportBoxStoreError(this, error, Text1);
}

}  // namespace paysum
