#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace paysum {

// Shows a function window modally and returns when it has closed.
void RunModal(QDialog& dialog);

// Runs a dialog's own modal loop (a function window, a message box, a file, print or font
// dialog) and, once it has closed, makes the window it was opened over the active one again,
// with the focus where it was, so that the keyboard goes on there without a click. A window
// that has been closed or hidden meanwhile is left alone. Returns the dialog's result.
int ExecModal(QDialog& dialog);

// The window a dialog opened for `parent` belongs to: the parent's own window when it is on
// screen, else the active window (none at start-up).
QWidget* ModalOwner(QWidget* parent);

// Tests drive modal windows through a hook: RunModal shows the window without blocking, calls
// the hook with it, and closes the window if it is still open when the hook returns. An empty
// hook blocks again.
using ModalHook = std::function<void(QDialog& dialog)>;
void SetModalHook(ModalHook hook);

}  // namespace paysum
