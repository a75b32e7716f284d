#include "batch/Form2.h"

#include "batch/BatchDatesFrame.h"
#include "batch/Form8.h"
#include "common/AmountPattern.h"
#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/SharedState.h"
#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "data/SchemaTable.h"
#include "data/StaffStore.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "print/Fonts.h"
#include "staff/Form10.h"
#include "staff/Form4.h"
#include "staff/StaffEntry.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

namespace paysum {

namespace {

const QString kNotInMaster = QStringLiteral("員工資料檔無此員工編號，請重新輸入！");
const QString kCertificatePrefix = QStringLiteral("016");
constexpr int kCodeWidth = ColumnWidth("S_ITEM", "ID");

MaintenanceWindow::Setup Form2Setup() {
    return {QStringLiteral("Form2"),
            QStringLiteral("3. 薪資轉帳資料輸入"),
            kTransferTitle,
            MainDatabasePath(),
            ItemSelectAll(),
            ItemSelectAll(),
            ItemSelectByPrefix(),
            {{QStringLiteral("員工代碼"), QStringLiteral("ID"), 1110},
             {QStringLiteral("員 工 帳 號"), QStringLiteral("ACTNO"), 1860},
             {QStringLiteral("轉 帳 金 額"), QStringLiteral("PAYSUM"), 1560},
             {QStringLiteral("  員  工  姓  名"), QStringLiteral("NAME"), 2580},
             {QStringLiteral("存單號碼"), QStringLiteral("AT"), 1260},
             {QStringLiteral("  備   註"), QStringLiteral("MARK"), 2460}}};
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, int maxLength) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    LimitLength(box, maxLength);
    box->setFont(CourierFont());
    return box;
}

bool IsEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Characters 4 to 6 of an account tell its type; 016 accounts carry a certificate number.
bool HasCertificateType(const QString& account) {
    return account.mid(3, 3) == kCertificatePrefix;
}

}  // namespace

Form2::Form2(QWidget* parent) : MaintenanceWindow(Form2Setup(), parent) {
    createTabs();
    createBoxes();
    createButtons();
    createDatesTab();
    createDataControls();
    placeControls();
    setFocusOrder();
    Form_Load();
    // Runs after the frame's query filter: the list's first record beside the code typed.
    connect(Text1, &QLineEdit::textChanged, this, [this] {
        if (EditMode == kQuery && !Busy)
            ShowRecordBesideCode();
    });
    LoadRemarkPresets();
    // Every add, change and delete ends in a write or a re-read of the list.
    connect(&Records(), &Recordset::RowsReset, this, &Form2::ShowBatchSummary);
    connect(&Records(), &Recordset::RowUpdated, this, &Form2::ShowBatchSummary);
    ShowBatchSummary();
}

void Form2::ShowBatchSummary() {
    int count = 0;
    qint64 total = 0;
    if (ReadBatchCountAndTotal(&count, &total)) {
        Label3->clear();
        return;
    }
    Label3->setText(QStringLiteral("筆數：%1　總金額：%2")
                        .arg(count)
                        .arg(FormatAmount(kAmountPattern15, total).trimmed()));
}

void Form2::createTabs() {
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    entryTab_ = new QWidget;
    datesTab_ = new QWidget;
    SSTab1->addTab(entryTab_, QStringLiteral("薪資明細輸入"));
    SSTab1->addTab(datesTab_, QStringLiteral("薪資批號"));
    // The frame's controls live on the entry tab.
    for (QWidget* control : std::initializer_list<QWidget*>{Label1, DataGrid1})
        control->setParent(entryTab_);
    for (QPushButton* button : Command1)
        button->setParent(entryTab_);
    Label1->setFont(UiFont(14));
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        // Leaving the entry tab for the dates goes straight to the login date.
        if (index == 1)
            Frame2->Text4[0]->setFocus(Qt::TabFocusReason);
    });
}

void Form2::createBoxes() {
    Text1 = MakeBox(entryTab_, QStringLiteral("Text1"), kCodeWidth);
    Text2 = MakeBox(entryTab_, QStringLiteral("Text2"), ColumnWidth("S_ITEM", "ACTNO"));
    Text3 = MakeBox(entryTab_, QStringLiteral("Text3"), ColumnWidth("S_ITEM", "AT"));
    Text5 = MakeBox(entryTab_, QStringLiteral("Text5"), ColumnWidth("S_ITEM", "PAYSUM"));
    Text6 = MakeBox(entryTab_, QStringLiteral("Text6"), ColumnWidth("S_ITEM", "NAME"));
    // The boxes that hold Chinese take the fixed-pitch Chinese font: Courier New has no Chinese,
    // and looking for a substitute on every paint makes the window slow to draw.
    Text6->setFont(MingFont());
    for (QLineEdit* box : {Text1, Text2, Text3, Text5})
        AcceptDigitsOnly(box);

    Combo1 = new QComboBox(entryTab_);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // The remark is what the clerk typed: a preset is taken only when picked from the list.
    Combo1->setCompleter(nullptr);
    Combo1->setFont(MingFont());
    LimitLength(Combo1->lineEdit(), ColumnWidth("S_ITEM", "MARK"));

    const char16_t* captions[7] = {u"員 工 代 碼 ：",
                                   u"員 工 帳 號 ：",
                                   u"存 單 號 碼 ：",
                                   u"轉 帳 金 額 ：",
                                   u"(不輸入時由系統編暫時之收款人代碼)",
                                   u"員 工 姓 名 ：",
                                   u"備　   　註 ："};
    for (int i = 0; i < 7; ++i) {
        Label2[i] = new QLabel(QString::fromUtf16(captions[i]), entryTab_);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
    }
    Label2[4]->setVisible(false);
    Label3 = new QLabel(entryTab_);
    Label3->setObjectName(QStringLiteral("Label3"));

    SetColumnMap({{Text1, QStringLiteral("ID")},
                  {Text2, QStringLiteral("ACTNO")},
                  {Text3, QStringLiteral("AT")},
                  {Text5, QStringLiteral("PAYSUM")},
                  {Text6, QStringLiteral("NAME")},
                  {Combo1, QStringLiteral("MARK")}});
    connect(Text2, &QLineEdit::textChanged, this, [this] {
        if (EditMode == kAdd || EditMode == kChange)
            SetCertificateBox();
    });
}

void Form2::createButtons() {
    Command2[0] = new QPushButton(QStringLiteral("確定"), entryTab_);
    Command2[0]->setObjectName(QStringLiteral("Command2_0"));
    Command5 = new QPushButton(QStringLiteral("取消"), entryTab_);
    Command5->setObjectName(QStringLiteral("Command5"));
    SetConfirmButtons(Command2[0], Command5);

    Command3[0] = new QPushButton(QStringLiteral("..."), entryTab_);
    Command3[0]->setObjectName(QStringLiteral("Command3_0"));
    connect(Command3[0], &QPushButton::clicked, this, [this] { Command3_Click(0); });
    Command6 = new QPushButton(QStringLiteral("備註欄功能鍵設定"), entryTab_);
    Command6->setObjectName(QStringLiteral("Command6_2"));
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(2); });
}

void Form2::createDatesTab() {
    Frame2 = new BatchDatesFrame(datesTab_);
    const QString captions[2] = {QStringLiteral("確定"), QStringLiteral("取消")};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (int i = 0; i < 2; ++i) {
        Command4[i] = new QPushButton(captions[i], datesTab_);
        Command4[i]->setObjectName(QStringLiteral("Command4_%1").arg(i));
        Command4[i]->setMinimumSize(96, 32);
        connect(Command4[i], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
        buttons->addWidget(Command4[i]);
        buttons->addSpacing(24);
    }
    buttons->addStretch();
    Frame2->SetNextWidget(Command4[0]);

    auto* layout = new QVBoxLayout(datesTab_);
    layout->setContentsMargins(Px(1200), Px(720), Px(1200), Px(720));
    layout->setSpacing(24);
    layout->addWidget(Frame2);
    layout->addLayout(buttons);
    layout->addStretch();
}

void Form2::createDataControls() {
    for (DataControl** control : {&StaffLookup, &ItemLookup, &Presets}) {
        *control = new DataControl(this);
        (*control)->SetConnectionString(MainDatabasePath());
    }
    StaffLookup->setObjectName(QStringLiteral("StaffLookup"));
    ItemLookup->setObjectName(QStringLiteral("ItemLookup"));
    Presets->setObjectName(QStringLiteral("Presets"));
}

void Form2::placeControls() {
    SSTab1->setGeometry(TwipsRect(120, 120, 11640, 8400));

    PlaceCommandBar(360, 240, 9960);
    Label1->setGeometry(TwipsRect(360, 900, 6000, 420));

    constexpr int kLabelX = 360;
    constexpr int kLabelWidth = 1680;
    constexpr int kBoxX = 2040;
    constexpr int kHeight = 360;
    const int rows[5] = {1440, 1920, 2400, 2880, 3360};
    const auto label = [&](int index, int x, int row) {
        Label2[index]->setGeometry(TwipsRect(x, row + 30, kLabelWidth, kHeight - 30));
    };
    label(0, kLabelX, rows[0]);
    label(1, kLabelX, rows[1]);
    label(2, 4320, rows[1]);
    label(3, kLabelX, rows[2]);
    label(5, kLabelX, rows[3]);
    label(6, kLabelX, rows[4]);
    Text1->setGeometry(TwipsRect(kBoxX, rows[0], 975, kHeight));
    Command3[0]->setGeometry(TwipsRect(3060, rows[0], 420, kHeight));
    Label2[4]->setGeometry(TwipsRect(3600, rows[0] + 30, 4800, kHeight - 30));
    Text2->setGeometry(TwipsRect(kBoxX, rows[1], 1815, kHeight));
    Text3->setGeometry(TwipsRect(6000, rows[1], 1335, kHeight));
    Text5->setGeometry(TwipsRect(kBoxX, rows[2], 1815, kHeight));
    Text6->setGeometry(TwipsRect(kBoxX, rows[3], 4695, kHeight));
    Combo1->setGeometry(TwipsRect(kBoxX, rows[4], 5295, kHeight + 30));

    Command2[0]->setGeometry(TwipsRect(9960, 1440, 1332, 492));
    Command5->setGeometry(TwipsRect(9960, 2100, 1332, 492));
    Command6->setGeometry(TwipsRect(7560, rows[4] - 60, 2400, 492));
    Label3->setGeometry(TwipsRect(6480, 960, 3360, 360));
    DataGrid1->setGeometry(TwipsRect(360, 4080, 10935, 3600));
    LetGrow(QSize(Px(11880), Px(8640)), {SSTab1, DataGrid1});
}

void Form2::setFocusOrder() {
    QWidget* const order[] = {Text1,       Text2,       Text3,       Text5,       Text6,
                              Combo1,      Command2[0], Command5,    Command3[0], Command6,
                              Command1[4], Command1[3], Command1[2], Command1[1], Command1[0],
                              Command1[5], DataGrid1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit* Form2::KeyBox() const {
    return Text1;
}

QList<QWidget*> Form2::EntryBoxes() const {
    return {Text1, Text2, Text3, Text5, Text6, Combo1};
}

QList<QWidget*> Form2::EditSet() const {
    return {Text1, Text2, Text5, Text6, Combo1};
}

QWidget* Form2::BoxOf(TransferBox box) const {
    switch (box) {
        case TransferBox::Code:
            return Text1;
        case TransferBox::Account:
            return Text2;
        case TransferBox::Certificate:
            return Text3;
        case TransferBox::Amount:
            return Text5;
        case TransferBox::Name:
            return Text6;
        case TransferBox::Remark:
            return Combo1;
    }
    return Text1;
}

void Form2::showEvent(QShowEvent* event) {
    MaintenanceWindow::showEvent(event);
    if (!event->spontaneous())
        Frame2->LoadBatchDates();
}

void Form2::OpenChild(QDialog& child) {
    RunModal(child);
    // A child window may have rewritten the batch (the employee window rewrites an employee's
    // transfer record): the list is read again where it stood, and an entry keeps its boxes but
    // for the account and name the master lends it.
    RereadKeeping(QStringLiteral("ID"),
                  Records().AtEOF() ? QString() : Records().Field(QStringLiteral("ID")));
    if (EditMode != kAdd && EditMode != kChange)
        ShowCurrentRecord();
    else if (!Text6->isEnabled() && !Text1->text().isEmpty())
        RefreshLentBoxes();
    Frame2->LoadBatchDates();
}

void Form2::RefreshLentBoxes() {
    bool found = false;
    if (DbResult error = StaffLookup->LookUp(StaffSelectByCode(), Text1->text(), &found)) {
        ReportUnexpected(error);
        return;
    }
    if (!found)
        return;
    const Recordset& staff = StaffLookup->Recordset();
    Text2->setText(staff.Field(QStringLiteral("ACTNO")));
    Text6->setText(TrimRightBlanks(staff.Field(QStringLiteral("NAME"))));
}

void Form2::Say(const QString& text, const QString& title) {
    ShowMessage(this, text, MsgButtons::Ok, MsgIcon::Critical, title);
}

void Form2::Refuse(const TransferRefusal& refusal) {
    switch (refusal.action) {
        case RefusalAction::FocusBox: {
            ShowMessage(this, refusal.text, MsgButtons::Ok,
                        refusal.asks ? MsgIcon::Question : MsgIcon::Critical, refusal.title);
            QWidget* box = BoxOf(refusal.box);
            box->setFocus();
            if (auto* line = qobject_cast<QLineEdit*>(box)) {
                if (refusal.emptyBox)
                    line->clear();
                line->selectAll();
            }
            break;
        }
        case RefusalAction::FocusCancel:
            Say(refusal.text, refusal.title);
            Command5->setFocus();
            break;
        case RefusalAction::OfferStaffWindow:
            if (ShowMessage(this, refusal.text, MsgButtons::OkCancel, MsgIcon::Exclamation,
                            refusal.title) == MsgAnswer::Ok) {
                Form4 staff(this);
                OpenChild(staff);
            }
            break;
    }
}

void Form2::ReportStoreError(const DbError& error) {
    switch (error.kind) {
        case DbErrorKind::ReadOnly:
            ShowReadOnlyDatabase(this, MainDatabasePath());
            break;
        case DbErrorKind::FieldTooLong:
            Refuse({QStringLiteral("欄位超出"), kTransferTitle, BoxOfColumn(error.field)});
            break;
        case DbErrorKind::DuplicateKey:
            Refuse(CodeInBatchRefusal());
            break;
        case DbErrorKind::Other:
            ReportUnexpected(error);
            break;
    }
}

// ---- the command bar and the modes

void Form2::Command1_Click(int index) {
    if (index >= kAdd && index <= kReset)
        SSTab1->setCurrentIndex(0);
    MaintenanceWindow::Command1_Click(index);
}

void Form2::CancelEntry() {
    ResetToIdle();
    Command1_Click(kReset);
    Command1_Click(kReset);
}

void Form2::EnterMode() {
    MaintenanceWindow::EnterMode();
    holdConfirm_ = false;
    if (EditMode == kAdd) {
        filledFor_.clear();
        Command3[0]->setEnabled(true);
        Label2[4]->setVisible(true);
    } else if (EditMode == kChange) {
        // The boxes show the current record: they are filled for its code.
        filledFor_ = Text1->text();
        // A payee of the batch keeps the account and name it was entered with; the code shown
        // is the current record's, so it is in the batch whenever there is one.
        const bool inBatch = !Records().AtEOF();
        Text2->setEnabled(!inBatch);
        Text6->setEnabled(!inBatch);
    }
    if (EditMode == kAdd || EditMode == kChange)
        SetCertificateBox();
}

void Form2::ResetToIdle() {
    MaintenanceWindow::ResetToIdle();
    Command3[0]->setEnabled(false);
    Label2[4]->setVisible(false);
}

void Form2::LocateCode(const QString& code) {
    Records().Find(QStringLiteral("ID"), code);
}

void Form2::FillBoxes(const Recordset& record) {
    Text1->setText(record.Field(QStringLiteral("ID")));
    ShowColumnsBesideCode(record);
}

void Form2::ShowColumnsBesideCode(const Recordset& record) {
    filledFor_ = record.Field(QStringLiteral("ID"));
    FillMappedBoxes(record, {Text1});
}

void Form2::ShowRecordBesideCode() {
    Busy = true;
    if (Records().AtEOF()) {
        for (QLineEdit* box : {Text2, Text3, Text5, Text6})
            box->clear();
        SetBoxText(Combo1, QString());
    } else {
        ShowColumnsBesideCode(Records());
    }
    Busy = false;
}

// ---- keys and focus of the entry boxes

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event))) {
        const std::pair<QObject*, void (Form2::*)()> handlers[] = {
            {Text1, &Form2::Text1_KeyEnter}, {Text2, &Form2::Text2_KeyEnter},
            {Text3, &Form2::Text3_KeyEnter}, {Text5, &Form2::Text5_KeyEnter},
            {Text6, &Form2::Text6_KeyEnter},
        };
        for (const auto& [box, handler] : handlers) {
            if (watched == box) {
                (this->*handler)();
                return true;
            }
        }
        if (watched == Combo1->lineEdit() || watched == Combo1) {
            // From the remark on to 確定, so that a pay run is keyed without the mouse.
            if (Command2[0]->isVisible())
                Command2[0]->setFocus();
            return true;
        }
    }
    if (type == QEvent::FocusOut || type == QEvent::FocusIn) {
        // The focus leaving or coming back with the whole window (a message box) is not a move
        // between boxes, and a box that has just been disabled is left, not edited.
        const bool withWindow = FocusMovesWithWindow(static_cast<QFocusEvent*>(event));
        if (!withWindow && type == QEvent::FocusOut && watched == Text1 && Text1->isEnabled())
            Text1_LostFocus();
        else if (!withWindow && type == QEvent::FocusOut && watched == Text2 && Text2->isEnabled())
            Text2_LostFocus();
        else if (!withWindow && type == QEvent::FocusIn && watched == Text2)
            Text2_GotFocus();
        else if (!withWindow && type == QEvent::FocusOut && watched == Command2[0])
            holdConfirm_ = false;
    }
    return MaintenanceWindow::eventFilter(watched, event);
}

void Form2::Text1_KeyEnter() {
    const QString padded = PadZeroLeft(kCodeWidth, Text1->text());
    if (padded != Text1->text())
        Text1->setText(padded);
    if (EditMode == kAdd)
        LookUpPayee();
    else if (EditMode == kChange)
        LocatePayeeInBatch();
}

void Form2::LookUpPayee() {
    Label2[4]->setVisible(false);
    const QString code = Text1->text();
    if (!code.isEmpty() && RefuseCodeInBatch(code, false))
        return;
    bool found = false;
    if (DbResult error = StaffLookup->LookUp(StaffSelectByCode(), code, &found)) {
        ReportUnexpected(error);
        return;
    }
    if (found) {
        FillFromEmployee();
        Text5->setFocus();
        return;
    }
    if (code.isEmpty()) {
        if (ProposeTemporaryCode())
            Text2->setFocus();
        return;
    }
    StaffLookup->SetRecordSource(QStringLiteral("select * from S_STAFF limit 1"));
    ReportUnexpected(StaffLookup->Refresh());
    if (!StaffLookup->Recordset().AtEOF() && Records().RecordCount() > 0) {
        ShowFirstRecord(false, true);
    } else {
        for (QLineEdit* box : {Text1, Text2, Text5, Text6})
            box->clear();
        SetBoxText(Combo1, QString());
        filledFor_.clear();
    }
    RefuseUnknownCode();
    Text1->setFocus();
}

void Form2::LocatePayeeInBatch() {
    const QString code = Text1->text();
    // Moves of the grid do not change the boxes until the focus leaves the code box.
    Busy = true;
    Records().MoveFirst();
    LocateCode(code);
    if (!Records().AtEOF()) {
        FillMappedBoxes(Records(), {Combo1}, {Text1, Text2, Text3, Text5, Text6});
        Text2->setEnabled(false);
        Text6->setEnabled(false);
        SetCertificateBox();
        filledFor_ = Text1->text();
        return;
    }
    ShowFirstRecord(true, false);
    RefuseUnknownCode();
    Text1->setFocus();
}

void Form2::RefuseUnknownCode() {
    Text1->setEnabled(true);
    Text2->setEnabled(false);
    Text3->setEnabled(false);
    Text5->setEnabled(true);
    Text6->setEnabled(false);
    Say(kNotInMaster, kStaffTitle);
}

void Form2::ShowFirstRecord(bool withCertificate, bool withRemark) {
    Records().MoveFirst();
    QList<QWidget*> leftOut;
    if (!withCertificate)
        leftOut.append(Text3);
    if (!withRemark)
        leftOut.append(Combo1);
    FillMappedBoxes(Records(), leftOut);
    filledFor_ = Records().Field(QStringLiteral("ID"));
}

void Form2::Text1_LostFocus() {
    if (!Text1->text().isEmpty()) {
        const QString padded = PadZeroLeft(kCodeWidth, Text1->text());
        if (padded != Text1->text())
            Text1->setText(padded);
        Label2[4]->setVisible(false);
        // Only a new payee's data comes from the master: leaving the box on the code the boxes
        // were filled for keeps what they hold, the amount the clerk typed above all.
        if ((EditMode == kAdd || EditMode == kChange) && padded != filledFor_) {
            bool found = false;
            ReportUnexpected(StaffLookup->LookUp(StaffSelectByCode(), padded, &found));
            const bool lent = !Text6->isEnabled();
            if (found)
                FillFromEmployee();
            else if (EditMode == kAdd && lent)
                ForgetLentPayee(padded);
            // A click on 確定 that brought a new payee in stores nothing yet: the clerk sees
            // what the boxes hold now first.
            if (found || (EditMode == kAdd && lent))
                holdConfirm_ = QApplication::focusWidget() == Command2[0];
        }
    }
    if (Text1->text().isEmpty() && EditMode == kAdd && !Busy)
        ProposeTemporaryCode();
    Busy = false;
}

void Form2::ForgetLentPayee(const QString& code) {
    for (QLineEdit* box : {Text2, Text6}) {
        box->clear();
        box->setEnabled(true);
    }
    SetCertificateBox();
    filledFor_ = code;
}

bool Form2::ProposeTemporaryCode() {
    const std::optional<QString> code = NextTemporaryCode();
    if (!code)
        return false;
    Text1->setText(*code);
    filledFor_ = *code;
    Text1->setEnabled(true);
    Text2->setEnabled(true);
    SetCertificateBox();
    Text5->setEnabled(true);
    Text6->setEnabled(true);
    return true;
}

std::optional<QString> Form2::NextTemporaryCode() {
    QString code;
    if (DbResult error = paysum::NextTemporaryCode(Connection(MainDatabasePath()), &code)) {
        ReportUnexpected(error);
        return std::nullopt;
    }
    if (code.isEmpty()) {
        const TransferRefusal refusal = TemporaryCodesUsedUpRefusal();
        Say(refusal.text, refusal.title);
        Text1->setFocus();
        return std::nullopt;
    }
    return code;
}

void Form2::FillFromEmployee() {
    // An employee's first columns are named as a transfer's; the account keeps its blanks.
    FillMappedBoxes(StaffLookup->Recordset(), {Combo1}, {Text1, Text3, Text5, Text6});
    Text2->setEnabled(false);
    Text6->setEnabled(false);
    SetCertificateBox();
    filledFor_ = Text1->text();
}

void Form2::SetCertificateBox() {
    if (HasCertificateType(Text2->text())) {
        Text3->setEnabled(true);
        return;
    }
    Text3->clear();
    Text3->setEnabled(false);
}

void Form2::Text2_KeyEnter() {
    if (EditMode != kAdd && EditMode != kChange) {
        Text5->setFocus();
        return;
    }
    if (!Filled(Text2))
        return;
    if (const std::optional<EntryRefusal> refusal = CheckAccountEntry(Text2->text())) {
        Say(refusal->text, refusal->title);
        if (refusal->emptyBox)
            Text2->clear();
        Text2->setFocus();
        return;
    }
    if (IsCertificateAccount(Text2->text())) {
        Text3->setEnabled(true);
        Text3->setFocus();
        return;
    }
    if (!Text3->text().isEmpty())
        Text3->clear();
    Text3->setEnabled(false);
    Text5->setFocus();
}

bool Form2::Filled(QLineEdit* box) {
    if (!box->text().isEmpty())
        return true;
    Say(QStringLiteral("欄位不可為空白"), kStaffTitle);
    return false;
}

void Form2::Text2_LostFocus() {
    if (HasCertificateType(Text2->text()) && EditMode == kAdd) {
        Text3->setEnabled(true);
        Text3->setFocus();
    }
}

void Form2::Text2_GotFocus() {
    SetCertificateBox();
}

void Form2::Text3_KeyEnter() {
    if (EditMode != kAdd && EditMode != kChange) {
        Command2[0]->setFocus();
        return;
    }
    if (!Filled(Text3))
        return;
    if (Text3->text().size() < kCertificateDigits) {
        ShowMessage(this, QStringLiteral("存單號碼為八位，請重新輸入！"), MsgButtons::Ok,
                    MsgIcon::Question, kStaffTitle);
        return;
    }
    Text5->setFocus();
}

void Form2::Text5_KeyEnter() {
    if ((EditMode != kAdd && EditMode != kChange) || !Filled(Text5))
        return;
    // A payee whose name comes from the employee master stays in the amount box.
    if (Text6->isEnabled())
        Text6->setFocus();
}

void Form2::Text6_KeyEnter() {
    if ((EditMode != kAdd && EditMode != kChange) || !Filled(Text6))
        return;
    Combo1->setFocus();
}

// ---- confirm in each mode

TransferEntry Form2::Entry() const {
    return {Text1->text(), Text2->text(), Text3->text(),
            Text5->text(), Text6->text(), Combo1->currentText()};
}

bool Form2::ValidateEntry() {
    const std::optional<TransferRefusal> refusal = paysum::ValidateEntry(Entry());
    if (refusal)
        Refuse(*refusal);
    return !refusal;
}

bool Form2::RefuseCodeInBatch(const QString& code, bool exceptCurrent) {
    if (exceptCurrent && code == Records().Field(QStringLiteral("ID")))
        return false;
    bool taken = false;
    if (DbResult error = ItemLookup->LookUp(ItemSelectByCode(), code, &taken)) {
        ReportUnexpected(error);
        return true;
    }
    if (taken)
        Refuse(CodeInBatchRefusal());
    return taken;
}

bool Form2::HeldByNewPayee() {
    if (!std::exchange(holdConfirm_, false))
        return false;
    Text5->setFocus();
    return true;
}

void Form2::StoreOnlyValidCertificate() {
    const QString certificate =
        CertificateToStore(Text2->text(), Text3->text()).value_or(QString());
    if (certificate != Text3->text())
        Text3->setText(certificate);
}

bool Form2::RefuseTotalPastFile(bool exceptCurrent) {
    qint64 total = 0;
    if (DbResult error = ReadBatchTotal(
            exceptCurrent ? Records().Field(QStringLiteral("ID")) : QString(), &total)) {
        ReportUnexpected(error);
        return true;
    }
    const std::optional<TransferRefusal> refusal = CheckBatchTotal(total, Entry().amount);
    if (refusal)
        Refuse(*refusal);
    return refusal.has_value();
}

void Form2::ConfirmAdd() {
    if (HeldByNewPayee())
        return;
    PendingCode = Text1->text();
    if (!ValidateEntry() || RefuseCodeInBatch(PendingCode, false) || RefuseTotalPastFile(false)) {
        PendingCode.clear();
        return;
    }
    StoreOnlyValidCertificate();

    // The new payee is filed and the transfer stored together, or neither.
    const bool stored = StoreInTransaction(QStringLiteral("ID"), [this](bool&) -> DbResult {
        if (DbResult error = AddPayeeToMaster())
            return error;
        return AppendTransfer();
    });
    if (!stored) {
        PendingCode.clear();
        return;
    }

    Text1->clear();
    Text2->clear();
    Text3->clear();
    Text5->clear();
    Text6->clear();
    ShowAllWith(QStringLiteral("ID"), PendingCode);
    PendingCode.clear();
    Command1_Click(kAdd);
    Text1->clear();
    Text1->setFocus();
    // The first time the focus leaves the empty code box no temporary code is given.
    Busy = true;
}

DbResult Form2::AddPayeeToMaster() {
    bool found = false;
    if (DbResult error = StaffLookup->LookUp(StaffSelectByCode(), Text1->text(), &found))
        return error;
    if (found && StaffLookup->Recordset().Field(QStringLiteral("ID")) == Text1->text())
        return std::nullopt;
    Recordset& staff = StaffLookup->Recordset();
    staff.AddNew();
    // The transfer amount becomes the new employee's pay.
    WriteBoxes(staff);
    return staff.Update();
}

void Form2::WriteBoxes(Recordset& record) {
    for (int ordinal = 0; ordinal < record.FieldCount(); ++ordinal) {
        QWidget* box = BoxOf(BoxOfColumn(ordinal));
        if (auto* line = qobject_cast<QLineEdit*>(box))
            record.SetField(ordinal, line->text());
        else if (auto* combo = qobject_cast<QComboBox*>(box))
            record.SetField(ordinal, combo->currentText());
    }
}

DbResult Form2::AppendTransfer() {
    Recordset& items = Records();
    items.AddNew();
    WriteBoxes(items);
    return items.Update();
}

void Form2::ConfirmChange() {
    if (HeldByNewPayee() || Records().AtEOF() || !ValidateEntry() || RefuseTotalPastFile(true))
        return;
    const QString code = Text1->text();
    bool found = false;
    if (DbResult error = StaffLookup->LookUp(StaffSelectByCode(), code, &found)) {
        ReportUnexpected(error);
        return;
    }
    if (!found) {
        // Nothing is written: the batch is read again, idle, on the code if the batch has it.
        Say(kNotInMaster, kStaffTitle);
        Command1_Click(kReset);
        Command1_Click(kReset);
        LocateCode(code);
        if (Records().AtEOF())
            Records().MoveFirst();
        return;
    }
    if (RefuseCodeInBatch(code, true))
        return;
    StoreOnlyValidCertificate();
    const bool stored = StoreInTransaction(QStringLiteral("ID"), [this](bool&) -> DbResult {
        WriteBoxes(Records());
        return Records().Update();
    });
    if (!stored)
        return;
    ShowAllWith(QStringLiteral("ID"), code);
    ResetToIdle();
}

void Form2::ConfirmDelete() {
    DeleteCurrentRecord(kTransferTitle);
}

void Form2::ConfirmQuery() {
    // The transfer record of the code is looked for in the batch and shown as it is stored.
    const QString code = PadZeroLeft(kCodeWidth, Text1->text());
    if (code != Text1->text())
        Text1->setText(code);  // the list narrows to the code
    if (!code.isEmpty()) {
        // A search that finds nothing leaves the boxes as they are.
        Busy = true;
        Records().MoveFirst();
        LocateCode(code);
        Busy = false;
        if (!Records().AtEOF()) {
            ShowCurrentRecord();
            return;
        }
    }
    ShowMessage(this, QStringLiteral("查無資料!!"), MsgButtons::Ok, MsgIcon::Critical,
                QStringLiteral("輸入錯誤"));
    Text1->setEnabled(true);
    Text1->clear();
    Records().MoveFirst();
    Text1->setText(Records().AtEOF() ? QString() : Records().Field(QStringLiteral("ID")));
    Text1->setFocus();
}

// ---- the child windows and the dates tab

void Form2::Command3_Click(int index) {
    if (index != 0)
        return;
    Form10 lookup(this);
    OpenChild(lookup);
    if (LookupResult != QStringLiteral("0") && lookup.Picked()) {
        const StaffEntry& picked = *lookup.Picked();
        filledFor_ = picked.code;
        Text1->setText(picked.code);
        Text2->setText(picked.account);
        if (!picked.certificate.isEmpty()) {
            Text3->setText(picked.certificate);
        } else {
            Text3->clear();
            Text3->setEnabled(false);
        }
        Text5->setText(picked.pay);
        Text6->setText(picked.name);
        Text2->setEnabled(false);
        Text6->setEnabled(false);
        SetCertificateBox();
        return;
    }
    for (QLineEdit* box : {Text1, Text2, Text3, Text5, Text6}) {
        box->setEnabled(true);
        box->clear();
    }
    filledFor_.clear();
    Text1->setFocus();
}

void Form2::Command6_Click(int index) {
    if (index != 2)
        return;
    Form8 presets(this);
    OpenChild(presets);
    LoadRemarkPresets();
}

void Form2::LoadRemarkPresets() {
    const QString remark = Combo1->currentText();
    Combo1->clear();
    if (DbResult error = Presets->PointAt(QStringLiteral("NNOO"))) {
        ReportUnexpected(error);
    } else if (const Recordset& row = Presets->Recordset(); !row.AtEOF()) {
        for (int i = 0; i < 10; ++i)
            Combo1->addItem(TrimRightBlanks(row.Field(i)));
    }
    SetBoxText(Combo1, remark);
}

void Form2::Command4_Click(int index) {
    if (index != 0) {
        Frame2->LoadBatchDates();
        return;
    }
    if (Frame2->CheckBatchDates() && Frame2->SaveBatchDates())
        ShowMessage(this, QStringLiteral("儲存成功"));
}

}  // namespace paysum
