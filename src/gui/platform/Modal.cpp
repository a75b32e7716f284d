#include "platform/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace paysum {

namespace {

ModalHook& Hook() {
    static ModalHook hook;
    return hook;
}

// Remembers the window a dialog is opened over and gives the activation back to it once the
// dialog has closed. The window manager may otherwise leave no window active, and the keys go
// nowhere until the clerk clicks.
class ActivationReturn {
public:
    explicit ActivationReturn(const QDialog& dialog)
        : owner_(dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr),
          focus_(owner_ ? owner_->focusWidget() : nullptr) {}
    ~ActivationReturn() {
        if (!owner_ || !owner_->isVisible())
            return;
        // Qt keeps the window's focus control across the dialog; it is put back only when the
        // dialog's work left the window without one.
        if (!owner_->focusWidget() && focus_ && focus_->isEnabled() && focus_->isVisible())
            focus_->setFocus(Qt::ActiveWindowFocusReason);
        owner_->raise();
        owner_->activateWindow();
    }
    ActivationReturn(const ActivationReturn&) = delete;
    ActivationReturn& operator=(const ActivationReturn&) = delete;

private:
    QPointer<QWidget> owner_;
    QPointer<QWidget> focus_;
};

}  // namespace

void RunModal(QDialog& dialog) {
    if (!Hook()) {
        ExecModal(dialog);
        return;
    }
    // A copy, so that a hook may replace itself while a window is open.
    const ModalHook hook = Hook();
    const ActivationReturn back(dialog);
    dialog.setModal(true);
    dialog.show();
    hook(dialog);
    if (dialog.isVisible())
        dialog.reject();
}

int ExecModal(QDialog& dialog) {
    const ActivationReturn back(dialog);
    return dialog.exec();
}

QWidget* ModalOwner(QWidget* parent) {
    QWidget* window = parent ? parent->window() : nullptr;
    return window && window->isVisible() ? window : QApplication::activeWindow();
}

void SetModalHook(ModalHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
