#pragma once

#include <functional>

class QFocusEvent;
class QLineEdit;

namespace paysum {

// Rules for entry boxes that several windows share.

// Selects the box's whole text each time the focus enters it, while `when` (if given) holds.
void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when = {});

// True when a box gains or loses the focus only because its whole window does (another window,
// a message box or a pop-up menu takes over), which a form does not count as leaving or entering
// the box.
bool FocusMovesWithWindow(const QFocusEvent* event);

// Lets at most `characters` characters into the box, counted as the database counts them (an
// emoji is one character, not two UTF-16 units). Text typed or pasted beyond the limit is cut
// before the cursor, only between characters; half a character (a lone surrogate) never stays,
// nor does a control character (IsControlCharacter) typed or pasted. Every text box has this rule.
// Setting it again replaces the earlier limit.
void LimitLength(QLineEdit* box, int characters);

// Lets only the digits 0 to 9 into the box: other typed characters are dropped, and so are the
// characters of pasted text that are not digits. Text the program sets is not filtered. With
// `when`, only while it says so.
void AcceptDigitsOnly(QLineEdit* box, std::function<bool()> when = {});

}  // namespace paysum
