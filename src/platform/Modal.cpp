#include "platform/Modal.h"

#include <QDialog>

namespace paysum {

namespace {

ModalHook& Hook() {
    static ModalHook hook;
    return hook;
}

}  // namespace

void RunModal(QDialog& dialog) {
    if (!Hook()) {
        dialog.exec();
        return;
    }
    // A copy, so that a hook may replace itself while a window is open.
    const ModalHook hook = Hook();
    dialog.setModal(true);
    dialog.show();
    hook(dialog);
    if (dialog.isVisible())
        dialog.reject();
}

void SetModalHook(ModalHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
