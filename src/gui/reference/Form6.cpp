#include "reference/Form6.h"

#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "maintenance/DataGrid.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "print/Fonts.h"
#include "reference/BankCodeTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

const QString kTitle = QStringLiteral("金融機購代碼檔維護");
const QString kKey = QStringLiteral("BKBRNO");

MaintenanceWindow::Setup Form6Setup() {
    const QString all = QStringLiteral("select * from RTBANK order by BKBRNO");
    return {QStringLiteral("Form6"),
            QStringLiteral("7. 金融機購代碼檔維護"),
            kTitle,
            BranchDatabasePath(),
            all,
            all,
            QStringLiteral("select * from RTBANK where BKBRNO >= ? and BKBRNO < ? order by BKBRNO"),
            BankGridColumns()};
}

}  // namespace

Form6::Form6(QWidget* parent) : MaintenanceWindow(Form6Setup(), parent) {
    createLayout();
    configureBoxes();
    Form_Load();
}

void Form6::createLayout() {
    PlaceCommandBar(240, 120, 8268);

    Label1->setGeometry(TwipsRect(240, 720, 9360, 540));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(UiFont(16));

    MakeBankBoxes(this, 1380, 7320, Label2, Text1);

    const QString buttons[2] = {QStringLiteral("確定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(buttons[i], this);
        Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
        Command2[i]->setGeometry(TwipsRect(6960 + 1320 * i, 1380, 1200, 420));
    }

    DataGrid1->setGeometry(TwipsRect(240, 2880, 9360, 4440));
    LetGrow(QSize(Px(9840), Px(7560)), {DataGrid1});

    setTabOrder(Text1[0], Text1[1]);
    setTabOrder(Text1[1], Text1[2]);
    setTabOrder(Text1[2], Command2[0]);
    setTabOrder(Command2[0], Command2[1]);
}

void Form6::configureBoxes() {
    AcceptDigitsOnly(Text1[0]);
    // The frame selects the key box's text; the name boxes follow the same rule.
    for (int i : {1, 2})
        SelectAllOnFocus(Text1[i], [this] { return EditMode < kReset; });
    SetConfirmButtons(Command2[0], Command2[1]);
    SetColumnMap({{Text1[0], QStringLiteral("BKBRNO")},
                  {Text1[1], QStringLiteral("BNAME")},
                  {Text1[2], QStringLiteral("FNAME")}});
}

QLineEdit* Form6::KeyBox() const {
    return Text1[0];
}

QList<QWidget*> Form6::EntryBoxes() const {
    return {Text1[0], Text1[1], Text1[2]};
}

QList<QWidget*> Form6::EditSet() const {
    return EntryBoxes();
}

bool Form6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool inBox = std::find(Text1.begin(), Text1.end(), watched) != Text1.end();
        if (inBox && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            // Enter moves on as Tab does; it never reaches the box.
            focusNextChild();
            return true;
        }
    }
    return MaintenanceWindow::eventFilter(watched, event);
}

void Form6::Command2_Click(int index) {
    if (index == 1) {
        CancelEntry();
        return;
    }
    MaintenanceWindow::Command2_Click(index);
}

void Form6::CancelEntry() {
    if (EditMode == kQuery)
        RequeryAll();
    ResetToIdle();
}

void Form6::ConfirmQuery() {
    // The list stays filtered, with the chosen row current.
    ResetToIdle();
}

bool Form6::ValidateEntry() {
    const std::optional<BankEntryRefusal> refusal =
        CheckBankCodeEntry({Text1[0]->text(), Text1[1]->text(), Text1[2]->text()});
    if (!refusal)
        return true;
    ShowMessage(this, refusal->text, MsgButtons::Ok, MsgIcon::Critical, refusal->title);
    Text1[refusal->box]->setFocus();
    return false;
}

void Form6::ConfirmAdd() {
    if (!ValidateEntry())
        return;
    const bool stored = StoreInTransaction(kKey, [this](bool&) -> DbResult {
        Records().AddNew();
        for (int i = 0; i < 3; ++i)
            Records().SetField(i, Text1[i]->text());
        return Records().Update();
    });
    if (!stored)
        return;
    Busy = true;
    EmptyBoxes();
    Text1[0]->setFocus();
    Busy = false;
}

void Form6::ConfirmChange() {
    if (!ValidateEntry())
        return;
    const bool stored = StoreInTransaction(kKey, [this](bool&) -> DbResult {
        for (int i = 0; i < 3; ++i)
            Records().SetField(i, Text1[i]->text());
        return Records().Update();
    });
    if (stored)
        ResetToIdle();
}

void Form6::ConfirmDelete() {
    const MsgAnswer answer = ShowMessage(this, QStringLiteral("確定刪除"), MsgButtons::YesNo,
                                         MsgIcon::None, kTitle, MsgAnswer::No);
    if (answer == MsgAnswer::Yes) {
        if (const DbResult error = Records().Delete()) {
            ReportUnexpected(error);
        } else {
            // The row after the deleted one becomes current; after the last row, the one before.
            Records().MoveNext();
            if (Records().AtEOF())
                Records().MovePrevious();
        }
    }
    ResetToIdle();
}

void Form6::ReportStoreError(const DbError& error) {
    if (error.kind != DbErrorKind::DuplicateKey) {
        ReportUnexpected(error);
        return;
    }
    ShowMessage(this, QStringLiteral("金融機構代碼已存在"), MsgButtons::Ok, MsgIcon::Critical,
                kTitle);
    Text1[0]->setFocus();
}

}  // namespace paysum
