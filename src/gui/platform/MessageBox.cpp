#include "platform/MessageBox.h"

#include "common/Version.h"
#include "platform/Modal.h"

#include <QAbstractButton>
#include <QDir>

#include <utility>

namespace paysum {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QMessageBox::StandardButton ToStandard(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::Ok:
            return QMessageBox::Ok;
        case MsgAnswer::Cancel:
            return QMessageBox::Cancel;
        case MsgAnswer::Yes:
            return QMessageBox::Yes;
        case MsgAnswer::No:
            return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon ToIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

MsgAnswer FromStandard(int button, MsgButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default:
            // A box closed without a button (Esc on a box that has no Cancel) counts as its
            // safe answer.
            return buttons == MsgButtons::YesNo ? MsgAnswer::No
                   : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                                : MsgAnswer::Cancel;
    }
}

}  // namespace

MsgAnswer ShowMessage(QWidget* parent, const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title, std::optional<MsgAnswer> defaultButton) {
    // Over the window it speaks for, which is active again once the box has closed.
    QMessageBox box(ModalOwner(parent));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(ToIcon(icon));
    box.setWindowTitle(title.isEmpty() ? QString::fromLatin1(kAppTitle) : title);
    switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
    }
    const MsgAnswer first = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    box.setDefaultButton(ToStandard(defaultButton.value_or(first)));
    // The button captions in the program's own language.
    static const std::pair<QMessageBox::StandardButton, const char16_t*> kCaptions[] = {
        {QMessageBox::Ok, u"確定"},
        {QMessageBox::Cancel, u"取消"},
        {QMessageBox::Yes, u"是(&Y)"},
        {QMessageBox::No, u"否(&N)"},
    };
    for (const auto& [standard, caption] : kCaptions) {
        if (QAbstractButton* button = box.button(standard))
            button->setText(QString::fromUtf16(caption));
    }
    if (Hook())
        return FromStandard(Hook()(box), buttons);
    return FromStandard(ExecModal(box), buttons);
}

void ShowReadOnlyDatabase(QWidget* parent, const QString& path) {
    ShowMessage(parent, QStringLiteral("資料庫唯讀,資料遺失\r\n") + QDir::toNativeSeparators(path),
                MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("整批PAYSUM"));
}

void SetMessageHook(MessageHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
