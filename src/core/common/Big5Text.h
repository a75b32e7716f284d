#pragma once

#include <QString>

namespace paysum {

// Length of a text in code page 950 (Big5) bytes: one per ASCII character, two per Chinese
// character or full-width sign; a character that code page 950 cannot hold counts one byte.
int Big5Length(const QString& text);

// True when the Big5 byte length of the untrimmed text is at most n.
bool FitsBytes(const QString& text, int n);

// Prefixes "0" until the blank-trimmed text has n characters; an empty text, or one already n
// characters or longer, comes back unchanged.
QString PadZeroLeft(int n, const QString& text);

// Appends blanks until the blank-trimmed text has n Big5 bytes; an empty or blank text, or one
// already n bytes or longer, comes back unchanged.
QString PadSpaceRight(int n, const QString& text);

}  // namespace paysum
