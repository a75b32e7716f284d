#pragma once

#include <QString>

namespace paysum {

// Removes ASCII blanks at both ends. Unlike QString::trimmed() it keeps full-width spaces
// (U+3000) and other white space, which are part of the stored texts.
QString TrimBlanks(const QString& text);

// Removes ASCII blanks at the end only.
QString TrimRightBlanks(const QString& text);

// True when the text is not empty and holds only the ASCII digits 0 to 9.
bool IsDigits(const QString& text);

// Keeps only the ASCII digits of the text; used for pasted text in digits-only boxes.
QString DigitsOnly(const QString& text);

// Reads the leading digits of a text as a number, after leading blanks; 0 when there are none.
// Digits that would overflow 64 bits are ignored.
qint64 LeadingNumber(const QString& text);

// Numeric value of one character: the digit's value, or 0 for anything else.
int DigitValue(QChar c);

// True for the characters no stored text may hold: the C0 and C1 control characters (line
// breaks and tabs among them) and DEL, which would break a printed line or a tab-separated one,
// and the bidirectional controls, which reorder what follows them on the screen and on paper.
bool IsControlCharacter(char32_t c);

// True when the text holds a character IsControlCharacter() refuses.
bool HoldsControlCharacter(const QString& text);

// The text without the characters IsControlCharacter() refuses.
QString WithoutControlCharacters(const QString& text);

}  // namespace paysum
