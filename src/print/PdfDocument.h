#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

namespace paysum {

// Changes to a PDF that Qt's PDF engine wrote, made in memory before the document is put in place.
// Both leave a document that is not laid out as Qt lays it out as it was.

// Rewrites the document's ToUnicode maps, which tell the text a reader copies or searches for
// each glyph (each code of a font): `read` gets the codes and values of one map and returns the
// codes whose values are to change, or that have none. A value of one UTF-16 unit is put in the
// place of the one written, keeping every offset; a code without a value gets an entry of its own,
// and the stream's length and the offsets that follow move.
using MapReading = std::function<QMap<quint16, char32_t>(const QMap<quint16, char32_t>&)>;
void RewriteToUnicode(QByteArray& pdf, const MapReading& read);

// Adds an Author entry to the document information dictionary, which Qt's writer cannot set, and
// moves the cross-reference offsets that follow it.
void AddPdfAuthor(QByteArray& pdf, const QString& author);

}  // namespace paysum
