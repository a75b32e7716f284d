#include "maintenance/MaintenanceWindow.h"

#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace paysum {

namespace {

constexpr const char16_t* kBarCaptions[6] = {
    u"新增 [ F2 ]", u"修改 [ F3 ]", u"刪除 [ F4 ]", u"查詢 [ F6 ]", u"重置 [ F8 ]", u"離開 [ F10 ]",
};

constexpr const char16_t* kModeCaptions[5] = {
    u"--新增--", u"--修改--", u"--刪除--", u"--查詢--", u"--重置--",
};

// The command bar button that a function key stands for, or -1.
int BarIndexOfKey(int key) {
    switch (key) {
        case Qt::Key_F2:
            return 0;
        case Qt::Key_F3:
            return 1;
        case Qt::Key_F4:
            return 2;
        case Qt::Key_F6:
            return 3;
        case Qt::Key_F8:
            return 4;
        case Qt::Key_F10:
            return 5;
        default:
            return -1;
    }
}

}  // namespace

void MaintenanceWindow::SetBoxText(QWidget* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(box)) {
        // The list stands on the item the text is, else on none, so that Down starts at the
        // first item.
        combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text));
        combo->setEditText(text);
    }
}

MaintenanceWindow::MaintenanceWindow(Setup setup, QWidget* parent)
    : FunctionWindow(setup.name, setup.caption, parent), setup_(std::move(setup)) {
    Adodc1 = new DataControl(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    DataGrid1 = new DataGrid(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    Label1 = new QLabel(setup_.title, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    for (int i = 0; i < 6; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf16(kBarCaptions[i]), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
}

void MaintenanceWindow::PlaceCommandBar(int xTwips, int yTwips, int exitXTwips) {
    for (int i = 0; i < 5; ++i)
        Command1[i]->setGeometry(TwipsRect(xTwips + 1200 * i, yTwips, 1212, 492));
    Command1[5]->setGeometry(TwipsRect(exitXTwips, yTwips, 1332, 492));
}

void MaintenanceWindow::SetColumnMap(std::vector<std::pair<QWidget*, QString>> map) {
    columnMap_ = std::move(map);
}

void MaintenanceWindow::SetConfirmButtons(QPushButton* confirm, QPushButton* cancel) {
    confirm_ = confirm;
    cancel_ = cancel;
    connect(confirm_, &QPushButton::clicked, this, [this] { Command2_Click(0); });
    connect(cancel_, &QPushButton::clicked, this, &MaintenanceWindow::CancelEntry);
}

Recordset& MaintenanceWindow::Records() {
    return Adodc1->Recordset();
}

void MaintenanceWindow::Form_Load() {
    Adodc1->SetConnectionString(setup_.databasePath);
    Adodc1->SetCommandType(CommandType::Text);
    Adodc1->SetRecordSource(setup_.loadSelect);
    connect(&Records(), &Recordset::MoveComplete, this, &MaintenanceWindow::ShowCurrentRecord);
    const DbResult error = Adodc1->Refresh();
    listsAll_ = !error && setup_.loadSelect == setup_.fullSelect;
    DataGrid1->Bind(Adodc1, setup_.columns);
    connect(KeyBox(), &QLineEdit::textChanged, this, &MaintenanceWindow::QueryFilter);
    InstallKeyPreview();
    EditMode = kIdle;
    ResetToIdle();
    ReportUnexpected(error);
}

bool MaintenanceWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (BarIndexOfKey(key->key()) >= 0) {
            // The window answers the function keys itself, on release, before any control.
            if (type == QEvent::KeyRelease && !key->isAutoRepeat())
                Form_KeyUp(key->key());
            return true;
        }
    }
    if (type == QEvent::FocusIn && watched == KeyBox() && EditMode < kReset)
        KeyBox()->selectAll();
    return FunctionWindow::eventFilter(watched, event);
}

void MaintenanceWindow::Form_KeyUp(int keyCode) {
    const int index = BarIndexOfKey(keyCode);
    if (index == 5 || (index >= 0 && Command1[index]->isEnabled()))
        Command1_Click(index);
}

void MaintenanceWindow::Command1_Click(int index) {
    if (index >= 0 && index <= 4) {
        EditMode = static_cast<qint16>(index);
        EnterMode();
        return;
    }
    if (index == 5) {
        Command2_Click(1);
        accept();
    }
}

void MaintenanceWindow::reject() {
    Command2_Click(1);
    FunctionWindow::reject();
}

void MaintenanceWindow::Command2_Click(int index) {
    if (index != 0)
        return;
    switch (EditMode) {
        case kAdd:
            ConfirmAdd();
            break;
        case kChange:
            ConfirmChange();
            break;
        case kDelete:
            ConfirmDelete();
            break;
        case kQuery:
            ConfirmQuery();
            break;
        default:
            break;
    }
}

void MaintenanceWindow::CancelEntry() {
    ResetToIdle();
    Command1_Click(kReset);
}

void MaintenanceWindow::EnterMode() {
    for (int i = 0; i < 5; ++i)
        Command1[i]->setEnabled(false);
    DataGrid1->setEnabled(false);
    SetBoxesEnabled(EntryBoxes(), false);
    SetBoxesEnabled(EditSet(), true);
    confirm_->setVisible(true);
    cancel_->setVisible(true);

    switch (EditMode) {
        case kAdd:
            Label1->setText(QString::fromUtf16(kModeCaptions[kAdd]));
            EmptyBoxes();
            KeyBox()->setFocus();
            break;
        case kChange:
            Label1->setText(QString::fromUtf16(kModeCaptions[kChange]));
            KeyBox()->setFocus();
            break;
        case kDelete:
            Label1->setText(QString::fromUtf16(kModeCaptions[kDelete]));
            DataGrid1->setEnabled(true);
            SetBoxesEnabled(EntryBoxes(), false);
            break;
        case kQuery:
            Label1->setText(QString::fromUtf16(kModeCaptions[kQuery]));
            SetBoxesEnabled(EntryBoxes(), false);
            KeyBox()->setEnabled(true);
            DataGrid1->setEnabled(true);
            KeyBox()->setFocus();
            break;
        case kReset:
            Label1->setText(QString::fromUtf16(kModeCaptions[kReset]));
            DataGrid1->setEnabled(true);
            RequeryAll();
            ShowCurrentRecord();
            break;
        default:
            break;
    }
}

void MaintenanceWindow::ResetToIdle() {
    Label1->setText(setup_.title);
    confirm_->setVisible(false);
    cancel_->setVisible(false);
    const bool empty = Records().AtEOF();
    Command1[kAdd]->setEnabled(true);
    Command1[kReset]->setEnabled(true);
    for (int i : {kChange, kDelete, kQuery})
        Command1[i]->setEnabled(!empty);
    DataGrid1->setEnabled(!empty);
    SetBoxesEnabled(EntryBoxes(), false);
    EditMode = kIdle;
    ShowCurrentRecord();
}

void MaintenanceWindow::ShowCurrentRecord() {
    if (Busy)
        return;
    Busy = true;
    // A record that cannot be read is reported, never shown as an empty one.
    const DbResult error = Records().ReadCurrent();
    if (!error && !Records().AtEOF())
        FillBoxes(Records());
    else
        EmptyBoxes();
    Busy = false;
    ReportUnexpected(error);
}

void MaintenanceWindow::FillBoxes(const Recordset& record) {
    FillMappedBoxes(record);
}

void MaintenanceWindow::FillMappedBoxes(const Recordset& record, const QList<QWidget*>& leftOut,
                                        const QList<QWidget*>& trimmed) {
    for (const auto& [box, name] : columnMap_) {
        if (leftOut.contains(box))
            continue;
        const QString value = record.Field(name);
        SetBoxText(box, trimmed.contains(box) ? TrimRightBlanks(value) : value);
    }
}

void MaintenanceWindow::RequeryAll() {
    Busy = true;
    Adodc1->SetRecordSource(setup_.fullSelect);
    const DbResult error = Adodc1->Refresh();
    listsAll_ = !error;
    Busy = false;
    ResetToIdle();
    ReportUnexpected(error);
}

void MaintenanceWindow::QueryFilter() {
    if (EditMode != kQuery || Busy)
        return;
    Busy = true;
    // An empty box lists the whole table, which the database counts without walking the key.
    const QString text = KeyBox()->text();
    if (text.isEmpty())
        Adodc1->SetRecordSource(setup_.fullSelect);
    else if (!TextSelect().isEmpty() && !IsDigits(text))
        Adodc1->SetRecordSource(TextSelect(), {text});
    else
        Adodc1->SetRecordSource(setup_.prefixSelect, KeyPrefixRange(text));
    const DbResult error = Adodc1->Refresh();
    listsAll_ = !error && KeyBox()->text().isEmpty();
    Busy = false;
    ReportUnexpected(error);
}

void MaintenanceWindow::EmptyBoxes() {
    for (QWidget* box : EntryBoxes())
        SetBoxText(box, QString());
}

void MaintenanceWindow::SetBoxesEnabled(const QList<QWidget*>& boxes, bool enabled) {
    for (QWidget* box : boxes)
        box->setEnabled(enabled);
}

void MaintenanceWindow::ReportUnexpected(const DbResult& error) {
    if (error)
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

void MaintenanceWindow::RereadKeeping(const QString& field, const QString& value) {
    Busy = true;
    DbResult error = Adodc1->Refresh();
    listsAll_ = listsAll_ && !error;
    if (!value.isEmpty())
        Records().Find(field, value);
    if (Records().AtEOF() && Records().RecordCount() > 0)
        Records().MoveFirst();
    if (!error)
        error = Records().ReadError();
    Busy = false;
    ReportUnexpected(error);
}

bool MaintenanceWindow::StoreInTransaction(const QString& keyField, const StoreWrite& write) {
    const QString place = Records().AtEOF() ? QString() : Records().Field(keyField);
    DbResult error;
    bool refused = false;
    {
        Transaction transaction(Connection(setup_.databasePath));
        error = transaction.BeginError();
        Busy = true;
        if (!error)
            error = write(refused);
        if (!error && !refused)
            error = transaction.Commit();
        Busy = false;
    }  // rolled back here unless committed
    if (refused)
        return false;
    if (error) {
        RereadKeeping(keyField, place);
        ReportStoreError(*error);
        return false;
    }
    return true;
}

void MaintenanceWindow::ShowAllWith(const QString& field, const QString& value) {
    // The search runs from the first record, as after a re-read; the stored record is usually
    // current already.
    if (!listsAll_)
        RequeryAll();
    else if (Records().AtEOF() || Records().Field(field) != value)
        Records().MoveFirst();
    Records().Find(field, value);
}

void MaintenanceWindow::ReportStoreError(const DbError& error) {
    ReportUnexpected(error);
}

void MaintenanceWindow::DeleteCurrentRecord(const QString& title) {
    const QString deletedTitle = QStringLiteral("員工資料刪除");
    const MsgAnswer answer = ShowMessage(this, QStringLiteral("確定刪除"), MsgButtons::YesNo,
                                         MsgIcon::None, title, MsgAnswer::No);
    if (Records().AtEOF()) {
        // Past the last record, as after the last row was deleted: the last row is current.
        Records().MoveLast();
        return;
    }
    if (answer != MsgAnswer::Yes)
        return;
    if (const DbResult error = Records().Delete()) {
        ReportStoreError(*error);
        return;
    }
    Records().MoveNext();
    if (ShowMessage(this, QStringLiteral("員工資料已刪除！是否要繼續刪除？"), MsgButtons::YesNo,
                    MsgIcon::Question, deletedTitle) == MsgAnswer::No)
        ResetToIdle();
    if (Records().RecordCount() == 0) {
        ShowMessage(this, QStringLiteral("已無資料可刪除，回員工資料建檔！"), MsgButtons::Ok,
                    MsgIcon::Critical, deletedTitle);
        ResetToIdle();
    }
}

}  // namespace paysum
