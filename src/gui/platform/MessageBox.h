#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace paysum {

enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Every message of the program goes through here: a real QMessageBox with the text exactly as
// given, the buttons, the icon, the default button (the first button when none is named) and
// the title ("PAYSUM" when the title is empty). Returns the button pressed.
MsgAnswer ShowMessage(QWidget* parent, const QString& text, MsgButtons buttons = MsgButtons::Ok,
                      MsgIcon icon = MsgIcon::None, const QString& title = QString(),
                      std::optional<MsgAnswer> defaultButton = std::nullopt);

// "資料庫唯讀,資料遺失" with the database's path: the file cannot be written.
void ShowReadOnlyDatabase(QWidget* parent, const QString& path);

// Tests answer message boxes through a hook: it gets the box, set up as it would be shown, and
// returns the button to press instead of showing it. An empty hook shows boxes again.
using MessageHook = std::function<QMessageBox::StandardButton(QMessageBox& box)>;
void SetMessageHook(MessageHook hook);

}  // namespace paysum
