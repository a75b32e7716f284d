#pragma once

#include <QFont>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace paysum {

// Shows the font dialog preset from `initial`, listing only fonts in which text lines up in
// columns: every ASCII character one column wide and, where the system has such fonts, a
// Chinese character two. The chosen font (family, size, bold, italic, underline, strike-out),
// or nothing when the user cancels.
std::optional<QFont> ShowFontDialog(QWidget* parent, const QFont& initial);

// The families the font dialog lists.
QStringList FixedPitchFamilies();

// Tests answer the font dialog through a hook that gets the preset font. An empty hook shows
// the dialog again.
using FontDialogHook = std::function<std::optional<QFont>(const QFont& initial)>;
void SetFontDialogHook(FontDialogHook hook);

}  // namespace paysum
