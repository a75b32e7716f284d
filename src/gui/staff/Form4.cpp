#include "staff/Form4.h"

#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/SchemaTable.h"
#include "data/StaffNames.h"
#include "data/StaffStore.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/Twips.h"
#include "print/Fonts.h"
#include "staff/Renumbering.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

const QString kCodeTitle = QStringLiteral("員工代碼");
const QString kKey = QStringLiteral("ID");
const QString kZeroCode(ColumnWidth("S_STAFF", "ID"), u'0');
const QString kLastCode = QStringLiteral("99999");
constexpr int kCodeWidth = ColumnWidth("S_STAFF", "ID");

MaintenanceWindow::Setup Form4Setup() {
    return {QStringLiteral("Form4"),
            QStringLiteral("2. 員工資料建檔"),
            kStaffTitle,
            MainDatabasePath(),
            StaffSelectAll(),
            StaffSelectAll(),
            StaffSelectByPrefix(),
            {{QStringLiteral("員工代碼 "), QStringLiteral("ID"), 1110},
             {QStringLiteral("員 工 帳 號"), QStringLiteral("ACTNO"), 2010},
             {QStringLiteral("員 工 薪 資"), QStringLiteral("PAYSUM"), 1470},
             {QStringLiteral("員工姓名"), QStringLiteral("NAME"), 1740},
             {QStringLiteral("存單號碼"), QStringLiteral("AT"), 1515}}};
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, int maxLength, const QFont& font) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    LimitLength(box, maxLength);
    box->setFont(font);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

bool IsEnterKey(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

Form4::Form4(QWidget* parent) : MaintenanceWindow(Form4Setup(), parent) {
    createBoxes();
    createButtons();
    createDataControls();
    placeControls();
    setFocusOrder();
    Form_Load();
}

QString Form4::TextSelect() const {
    return StaffSelectByName();
}

void Form4::createBoxes() {
    Text1 = MakeBox(this, QStringLiteral("Text1"), kCodeWidth, CourierFont());
    Text2 = MakeBox(this, QStringLiteral("Text2"), ColumnWidth("S_STAFF", "ACTNO"), CourierFont());
    Text3 = MakeBox(this, QStringLiteral("Text3"), ColumnWidth("S_STAFF", "AT"), CourierFont());
    Text4 = MakeBox(this, QStringLiteral("Text4"), ColumnWidth("S_STAFF", "PAYSUM"), CourierFont());
    Text5 = MakeBox(this, QStringLiteral("Text5"), ColumnWidth("S_STAFF", "NAME"), MingFont());
    // In query mode the code box takes part of a name as well.
    AcceptDigitsOnly(Text1, [this] { return EditMode != kQuery; });
    for (QLineEdit* box : {Text2, Text3, Text4})
        AcceptDigitsOnly(box);

    const QString captions[4] = {QStringLiteral("員 工 代 碼 ："), QStringLiteral("員 工 帳 號 ："),
                                 QStringLiteral("員 工 薪 資 ："),
                                 QStringLiteral("員 工 姓 名 ：")};
    for (int i = 0; i < 4; ++i)
        Label2[i] = MakeLabel(this, QStringLiteral("Label2_%1").arg(i), captions[i]);
    Label3 = MakeLabel(this, QStringLiteral("Label3"), QStringLiteral("存 單 號 碼 ："));

    SetColumnMap({{Text1, QStringLiteral("ID")},
                  {Text2, QStringLiteral("ACTNO")},
                  {Text4, QStringLiteral("PAYSUM")},
                  {Text5, QStringLiteral("NAME")},
                  {Text3, QStringLiteral("AT")}});
    connect(Text2, &QLineEdit::textChanged, this, [this] {
        if (EditMode == kAdd || EditMode == kChange)
            ApplyCertificateRule();
    });
}

void Form4::createButtons() {
    Command2[0] = new QPushButton(QStringLiteral("確定(&X)"), this);
    Command2[0]->setObjectName(QStringLiteral("Command2_0"));
    Command3 = new QPushButton(QStringLiteral("取消(&C)"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    SetConfirmButtons(Command2[0], Command3);
}

void Form4::createDataControls() {
    for (DataControl** control : {&StaffLookup, &ItemRecords}) {
        *control = new DataControl(this);
        (*control)->SetConnectionString(MainDatabasePath());
        (*control)->SetCommandType(CommandType::Text);
    }
    StaffLookup->setObjectName(QStringLiteral("StaffLookup"));
    ItemRecords->setObjectName(QStringLiteral("ItemRecords"));
}

void Form4::placeControls() {
    PlaceCommandBar(960, 360, 9000);
    Label1->setGeometry(TwipsRect(1080, 1440, 4800, 375));

    constexpr int kLabelX = 1080;
    constexpr int kLabelWidth = 1680;
    constexpr int kBoxX = 2760;
    constexpr int kHeight = 360;
    const int rows[4] = {1920, 2400, 2880, 3360};
    for (int i = 0; i < 4; ++i)
        Label2[i]->setGeometry(TwipsRect(kLabelX, rows[i] + 30, kLabelWidth, kHeight - 30));
    Text1->setGeometry(TwipsRect(kBoxX, rows[0], 975, kHeight));
    Text2->setGeometry(TwipsRect(kBoxX, rows[1], 1815, kHeight));
    Label3->setGeometry(TwipsRect(5040, rows[1] + 30, kLabelWidth, kHeight - 30));
    Text3->setGeometry(TwipsRect(6720, rows[1], 1335, kHeight));
    Text4->setGeometry(TwipsRect(kBoxX, rows[2], 1815, kHeight));
    Text5->setGeometry(TwipsRect(kBoxX, rows[3], 4695, kHeight));

    Command2[0]->setGeometry(TwipsRect(9000, 1680, 1332, 492));
    Command3->setGeometry(TwipsRect(9000, 2400, 1332, 492));
    DataGrid1->setGeometry(TwipsRect(960, 3840, 9372, 3252));
    LetGrow(QSize(Px(11655), Px(7965)), {DataGrid1});
}

void Form4::setFocusOrder() {
    QWidget* const order[] = {Text1,       Text2,       Text3,       Text4,       Text5,
                              Command2[0], Command3,    Command1[4], Command1[3], Command1[2],
                              Command1[1], Command1[0], Command1[5], DataGrid1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QLineEdit* Form4::KeyBox() const {
    return Text1;
}

QList<QWidget*> Form4::EntryBoxes() const {
    return {Text1, Text2, Text3, Text4, Text5};
}

QList<QWidget*> Form4::EditSet() const {
    return {Text1, Text2, Text4, Text5};
}

QLineEdit* Form4::BoxOf(StaffBox box) const {
    switch (box) {
        case StaffBox::Code:
            return Text1;
        case StaffBox::Account:
            return Text2;
        case StaffBox::Certificate:
            return Text3;
        case StaffBox::Pay:
            return Text4;
        case StaffBox::Name:
            return Text5;
    }
    return Text1;
}

void Form4::Refuse(const EntryRefusal& refusal) {
    ShowMessage(this, refusal.text, MsgButtons::Ok,
                refusal.asks ? MsgIcon::Question : MsgIcon::Critical, refusal.title);
    QLineEdit* box = BoxOf(refusal.box);
    if (refusal.emptyBox)
        box->clear();
    box->setFocus();
}

void Form4::Command1_Click(int index) {
    OldCode.clear();
    if (index == kChange)
        OldCode = Text1->text();
    // A name is longer than a code; the limit is set before the mode shows its record, since
    // setting it drops the selection.
    LimitLength(Text1, index == kQuery ? ColumnWidth("S_STAFF", "NAME") : kCodeWidth);
    MaintenanceWindow::Command1_Click(index);
    // The certificate-number box is open exactly while the account shown is of type 016.
    if (EditMode == kAdd || EditMode == kChange)
        ApplyCertificateRule();
}

bool Form4::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event))) {
        const std::pair<QObject*, void (Form4::*)()> handlers[] = {
            {Text1, &Form4::Text1_KeyEnter}, {Text2, &Form4::Text2_KeyEnter},
            {Text3, &Form4::Text3_KeyEnter}, {Text4, &Form4::Text4_KeyEnter},
            {Text5, &Form4::Text5_KeyEnter},
        };
        for (const auto& [box, handler] : handlers) {
            if (watched == box) {
                (this->*handler)();
                return true;
            }
        }
    }
    // In the query the names are read into memory as the code box takes the focus, before a
    // name is typed.
    if (event->type() == QEvent::FocusIn && watched == Text1 && EditMode == kQuery)
        HoldStaffNames(Connection(MainDatabasePath()));
    if (event->type() == QEvent::FocusOut && watched == Text1) {
        if (!FocusMovesWithWindow(static_cast<QFocusEvent*>(event)))
            Text1_LostFocus();
    }
    return MaintenanceWindow::eventFilter(watched, event);
}

void Form4::Text1_LostFocus() {
    // Part of a name typed in the query stays as typed.
    if (IsPartOfName(Text1->text()))
        return;
    const QString padded = PadZeroLeft(kCodeWidth, Text1->text());
    if (padded != Text1->text())
        Text1->setText(padded);
}

void Form4::Text1_KeyEnter() {
    if (EditMode == kAdd) {
        if (Text1->text().isEmpty()) {
            Refuse({QStringLiteral("欄位不可為空白"), kStaffTitle, StaffBox::Code});
            return;
        }
        Text2->setFocus();
    } else {
        Command2[0]->setFocus();
    }
    // Leaving the box pads the code; a window that is not active gets no focus events.
    Text1_LostFocus();
    if (Text1->text() == kZeroCode) {
        Refuse(ZeroCodeRefusal());
        return;
    }
    if (EditMode != kQuery)
        return;
    if (SearchCode())
        ShowFound(true);
    else
        CancelEntry();
}

void Form4::Text2_KeyEnter() {
    if (Text2->text().isEmpty()) {
        Refuse({QStringLiteral("員工帳號欄位不可為空白"), kStaffTitle, StaffBox::Account});
        return;
    }
    if (const std::optional<EntryRefusal> refusal = CheckAccountEntry(Text2->text())) {
        Refuse(*refusal);
        return;
    }
    ApplyCertificateRule();
    if (Text3->isEnabled())
        Text3->setFocus();
    else
        Text4->setFocus();
}

void Form4::Text3_KeyEnter() {
    if (Text3->text().isEmpty()) {
        Refuse({QStringLiteral("存單號碼欄位不可為空白"), kStaffTitle, StaffBox::Certificate});
        return;
    }
    if (Text3->text().size() < kCertificateDigits) {
        Refuse(CertificateRefusal());
        return;
    }
    Text4->setFocus();
}

void Form4::Text4_KeyEnter() {
    if (Text4->text().isEmpty()) {
        Refuse({QStringLiteral("欄位不可為空白"), kStaffTitle, StaffBox::Pay});
        return;
    }
    Text5->setFocus();
}

void Form4::Text5_KeyEnter() {
    if (Text5->text().isEmpty()) {
        Refuse({QStringLiteral("欄位不可為空白"), kStaffTitle, StaffBox::Name});
        return;
    }
    Command2[0]->setFocus();
}

void Form4::ApplyCertificateRule() {
    if (IsCertificateAccount(Text2->text())) {
        Text3->setEnabled(true);
        return;
    }
    if (!Text3->text().isEmpty())
        Text3->clear();
    Text3->setEnabled(false);
}

bool Form4::PassesEntryChecks() {
    // The confirm button can be reached without leaving the code box by Enter.
    Text1_LostFocus();
    const std::optional<EntryRefusal> refusal = CheckStaffEntry(
        {Text1->text(), Text2->text(), Text3->text(), Text4->text(), Text5->text()});
    if (refusal) {
        Refuse(*refusal);
        return false;
    }
    // Another account than a 016 one stores no certificate number.
    const QString certificate = *CertificateToStore(Text2->text(), Text3->text());
    if (certificate != Text3->text())
        Text3->setText(certificate);
    return true;
}

void Form4::WriteBoxes(Recordset& record) {
    record.SetField(QStringLiteral("ID"), Text1->text());
    record.SetField(QStringLiteral("ACTNO"), Text2->text());
    record.SetField(QStringLiteral("PAYSUM"), Text4->text());
    record.SetField(QStringLiteral("NAME"), Text5->text());
    // In add mode a disabled certificate box is always empty: the 016 rule empties it.
    record.SetField(QStringLiteral("AT"), Text3->text());
}

void Form4::ConfirmAdd() {
    if (!PassesEntryChecks())
        return;
    NewCode = Text1->text();
    const bool taken = !check_RID(NewCode);
    if (taken && ShowMessage(this, QStringLiteral("員工代碼已經重複,是否要新增?!"),
                             MsgButtons::YesNo, MsgIcon::Question, kCodeTitle) != MsgAnswer::Yes) {
        Text1->setFocus();
        return;
    }

    // The codes move and the newcomer is stored together, or neither happens.
    const bool stored = StoreInTransaction(kKey, [&](bool& refused) -> DbResult {
        DbResult error;
        if (taken && !MakeRoomForCode(&error)) {
            refused = !error;
            if (refused)
                Text1->setFocus();
            return error;
        }
        return AddRecord();
    });
    if (!stored)
        return;

    ShowAllWith(QStringLiteral("ID"), NewCode);
    NewCode.clear();
    // Ready for the next newcomer, as add mode starts.
    if (EditMode == kAdd) {
        EmptyBoxes();
        Text1->setFocus();
    } else {
        Command1_Click(kAdd);
    }
}

DbResult Form4::AddRecord() {
    Records().AddNew();
    WriteBoxes(Records());
    return Records().Update();
}

bool Form4::check_RID(const QString& code) {
    if (code == OldCode)
        return true;
    bool found = false;
    // A failed read lets the code pass: the key of S_STAFF still refuses a second row with it.
    const DbResult error = StaffLookup->LookUp(StaffSelectByCode(), code, &found);
    return error || !found;
}

bool Form4::MakeRoomForCode(DbResult* error) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    QStringList staffCodes;
    QStringList itemCodes;
    // Only the run that moves and the code it moves into matter.
    *error = ReadCodesFrom(db, QStringLiteral("S_STAFF"), NewCode, &staffCodes, kLastCode, true);
    if (!*error && !staffCodes.isEmpty()) {
        const QString into = IncrementCode(staffCodes.last()).value_or(staffCodes.last());
        *error = ReadCodesFrom(db, QStringLiteral("S_ITEM"), NewCode, &itemCodes, into);
    }
    if (*error)
        return false;

    const CodeRoom room = PlanRoomForCode(NewCode, staffCodes, itemCodes);
    switch (room.refusal) {
        case RoomRefusal::PastHighestCode:
            ShowMessage(this, QStringLiteral("員工代碼已達上限，無法插入"), MsgButtons::Ok,
                        MsgIcon::Critical, kCodeTitle);
            return false;
        case RoomRefusal::TransferInTheWay:
            ShowMessage(
                this,
                QStringLiteral("薪資轉帳資料已使用員工代碼 %1，無法插入").arg(room.blockingCode),
                MsgButtons::Ok, MsgIcon::Critical, kCodeTitle);
            return false;
        case RoomRefusal::None:
            break;
    }
    if (room.count == 0)
        return true;
    *error = ShiftCodesUp(db, room.first, room.last, room.count);
    return !*error;
}

void Form4::ConfirmChange() {
    if (Records().AtEOF() || !PassesEntryChecks())
        return;
    NewCode = Text1->text();
    if (!check_RID(NewCode)) {
        Refuse({QStringLiteral("員工代碼已經重複"), kCodeTitle, StaffBox::Code});
        return;
    }
    // The employee's own transfer record follows a new code; a transfer record that already has
    // the new code is someone else's and is not taken over.
    if (NewCode != OldCode) {
        bool taken = false;
        if (const DbResult error = ItemRecords->LookUp(ItemSelectByCode(), NewCode, &taken)) {
            ReportUnexpected(error);
            return;
        }
        if (taken) {
            Refuse({QStringLiteral("薪資轉帳資料已使用員工代碼 %1，無法修改").arg(NewCode),
                    kCodeTitle, StaffBox::Code});
            return;
        }
    }

    // The employee and the transfer record are stored together, or neither.
    const bool stored = StoreInTransaction(kKey, [this](bool&) -> DbResult {
        WriteBoxes(Records());
        if (DbResult error = Records().Update())
            return error;
        return RewriteTransfer();
    });
    if (!stored)
        return;
    ShowAllWith(QStringLiteral("ID"), NewCode);
    ResetToIdle();
}

DbResult Form4::RewriteTransfer() {
    bool found = false;
    if (DbResult error = ItemRecords->LookUp(ItemSelectByCode(), OldCode, &found))
        return error;
    if (!found)
        return std::nullopt;
    Recordset& item = ItemRecords->Recordset();
    WriteBoxes(item);
    return item.Update();
}

void Form4::ConfirmDelete() {
    DeleteCurrentRecord(kStaffTitle);
}

void Form4::ConfirmQuery() {
    if (SearchCode()) {
        ShowFound(false);
        return;
    }
    Text1->setEnabled(true);
    Text1->clear();
    Records().MoveFirst();
    Text1->setFocus();
}

bool Form4::SearchCode() {
    // For part of a name, the first employee listed.
    QString code = PadZeroLeft(kCodeWidth, Text1->text());
    if (IsPartOfName(Text1->text()))
        code = Records().AtEOF() ? QString() : Records().Field(QStringLiteral("ID"));
    bool found = false;
    if (!code.isEmpty())
        ReportUnexpected(StaffLookup->LookUp(StaffSelectByCode(), code, &found));
    if (!found)
        ShowMessage(this, QStringLiteral("查無資料!!"), MsgButtons::Ok, MsgIcon::Critical,
                    QStringLiteral("輸入錯誤"));
    return found;
}

void Form4::ShowFound(bool trim) {
    const Recordset& found = StaffLookup->Recordset();
    const auto value = [&](const char* column) {
        const QString text = found.Field(QString::fromLatin1(column));
        return trim ? TrimRightBlanks(text) : text;
    };
    Text1->setText(value("ID"));
    Text2->setText(found.Field(QStringLiteral("ACTNO")));
    Text3->setText(value("AT"));
    Text4->setText(value("PAYSUM"));
    Text5->setText(value("NAME"));
}

}  // namespace paysum
