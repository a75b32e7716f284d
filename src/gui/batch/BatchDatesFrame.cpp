#include "batch/BatchDatesFrame.h"

#include "batch/BatchDateChecks.h"
#include "common/Clock.h"
#include "common/RocDate.h"
#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/SchemaTable.h"
#include "platform/BoxRules.h"
#include "platform/MessageBox.h"
#include "print/Fonts.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace paysum {

namespace {

const QString kDays = QStringLiteral("S_DAY");

}  // namespace

BatchDatesFrame::BatchDatesFrame(QWidget* parent)
    : QGroupBox(QStringLiteral("＜整批薪資轉帳檔相關資料＞"), parent) {
    setObjectName(QStringLiteral("Frame2"));
    setFont(UiFont());
    days_ = new DataControl(this);
    days_->SetConnectionString(MainDatabasePath());
    createLayout();
}

void BatchDatesFrame::createLayout() {
    const auto label = [this](const QString& name, const QString& caption) {
        auto* result = new QLabel(caption, this);
        result->setObjectName(name);
        return result;
    };
    Label8[0] = label(QStringLiteral("Label8_0"), QStringLiteral("登錄日期： "));
    Label8[1] = label(QStringLiteral("Label8_1"), QStringLiteral("(國曆yymmdd)"));
    Label9 = label(QStringLiteral("Label9"), QStringLiteral("轉帳日期："));
    Label8[2] = label(QStringLiteral("Label8_2"), QStringLiteral("(國曆yymmdd)"));

    auto* layout = new QGridLayout(this);
    for (int i = 0; i < 2; ++i) {
        Text4[i] = new QLineEdit(this);
        Text4[i]->setObjectName(QStringLiteral("Text4_%1").arg(i));
        LimitLength(Text4[i], ColumnWidth("S_DAY", "LDATE"));
        Text4[i]->setFixedWidth(90);
        Text4[i]->installEventFilter(this);
        layout->addWidget(i == 0 ? Label8[0] : Label9, i, 0);
        layout->addWidget(Text4[i], i, 1);
        layout->addWidget(Label8[i == 0 ? 1 : 2], i, 2);
    }
    layout->setColumnStretch(3, 1);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setVerticalSpacing(12);
    setTabOrder(Text4[0], Text4[1]);
}

bool BatchDatesFrame::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 2; ++i) {
        if (watched != Text4[i])
            continue;
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            // The focus leaving with the window (another window, a pop-up menu) and coming back
            // with it does not enter the box again; showing the window does.
            const bool withWindow = FocusMovesWithWindow(static_cast<QFocusEvent*>(event));
            if (event->type() == QEvent::FocusOut) {
                awayWithWindow_[i] = withWindow;
            } else {
                if (!(withWindow && awayWithWindow_[i]))
                    Text4_GotFocus(i);
                awayWithWindow_[i] = false;
            }
        } else if (event->type() == QEvent::KeyPress) {
            // The window's default button must not take an Enter handled here.
            if (Text4_KeyDown(i, static_cast<QKeyEvent*>(event)->key()))
                return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

bool BatchDatesFrame::Text4_KeyDown(int index, int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    QWidget* target = index == 0 ? Text4[1] : next_;
    if (target)
        target->setFocus(Qt::TabFocusReason);
    return true;
}

// Entering a box shows the stored date again, or the proposal while none is stored, so what
// was typed and not stored is replaced.
void BatchDatesFrame::Text4_GotFocus(int index) {
    if (!days_->PointAt(kDays)) {
        const Recordset& days = days_->Recordset();
        if (!days.AtEOF())
            Text4[index]->setText(days.Field(index));
        else if (index == 0)
            Text4[0]->setText(RocToday(2, Today()));
        else
            Text4[1]->setText(Text4[0]->text());
    }
    Text4[index]->selectAll();
}

void BatchDatesFrame::LoadBatchDates() {
    if (DbResult error = days_->PointAt(kDays)) {
        ShowDbError(*error);
        return;
    }
    const Recordset& days = days_->Recordset();
    for (int i = 0; i < 2; ++i)
        Text4[i]->setText(days.AtEOF() ? QString() : days.Field(i));
}

bool BatchDatesFrame::CheckBatchDates() {
    const std::optional<BatchDateRefusal> refusal =
        paysum::CheckBatchDates(Text4[0]->text(), Text4[1]->text(), RocToday(2, Today()));
    if (!refusal)
        return true;
    ShowMessage(this, refusal->message, MsgButtons::Ok, MsgIcon::None, refusal->title);
    Text4[refusal->focusIndex]->setFocus(Qt::OtherFocusReason);
    return false;
}

bool BatchDatesFrame::SaveBatchDates() {
    if (DbResult error = days_->PointAt(kDays)) {
        ShowDbError(*error);
        return false;
    }
    Recordset& days = days_->Recordset();
    if (days.AtEOF())
        days.AddNew();
    for (int i = 0; i < 2; ++i)
        days.SetField(i, TrimBlanks(Text4[i]->text()));
    if (DbResult error = days.Update()) {
        ShowDbError(*error);
        return false;
    }
    return true;
}

void BatchDatesFrame::ShowDbError(const DbError& error) {
    if (error.kind == DbErrorKind::FieldTooLong) {
        ShowMessage(this, QStringLiteral("輸入欄位超出"));
        if (error.field == 0 || error.field == 1)
            Text4[error.field]->setFocus(Qt::OtherFocusReason);
        return;
    }
    ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

}  // namespace paysum
