#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace paysum {

// Changes to a PDF that Qt's PDF engine wrote, made in memory before the document is put in place.
// Both leave a document that is not laid out as Qt lays it out as it was.

// Passes every Unicode value of the document's ToUnicode maps (the text a reader copies or
// searches for each glyph) through `reading`. Values keep their length, so every offset in the
// document stays valid. Qt reads each glyph as the lowest code point the font maps to it, which
// for a glyph that a font shares is rarely the character drawn (⾦ KANGXI RADICAL GOLD for 金).
void RereadToUnicode(QByteArray& pdf, const std::function<char16_t(char16_t)>& reading);

// Adds an Author entry to the document information dictionary, which Qt's writer cannot set, and
// moves the cross-reference offsets that follow it.
void AddPdfAuthor(QByteArray& pdf, const QString& author);

}  // namespace paysum
