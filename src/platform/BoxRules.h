#pragma once

#include <functional>

class QLineEdit;

namespace paysum {

// Rules for entry boxes that several windows share.

// Selects the box's whole text each time the focus enters it, while `when` (if given) holds.
void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when = {});

// Lets only the digits 0 to 9 into the box: other typed characters are dropped, and so are the
// characters of pasted text that are not digits. Text the program sets is not filtered.
void AcceptDigitsOnly(QLineEdit* box);

}  // namespace paysum
