#pragma once

#include <functional>

class QDialog;

namespace paysum {

// Shows a function window modally and returns when it has closed.
void RunModal(QDialog& dialog);

// Tests drive modal windows through a hook: RunModal shows the window without blocking, calls
// the hook with it, and closes the window if it is still open when the hook returns. An empty
// hook blocks again.
using ModalHook = std::function<void(QDialog& dialog)>;
void SetModalHook(ModalHook hook);

}  // namespace paysum
