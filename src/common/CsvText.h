#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace paysum {

// The encodings a spreadsheet program saves a CSV file in on the clerk's desk.
enum class TextEncoding { Utf8, Big5 };

// The text of a file: UTF-8 with or without a byte order mark, else code page 950 (Big5); nothing
// when the bytes are valid in neither, or hold a NUL byte.
struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};
std::optional<DecodedText> DecodeSpreadsheetText(const QByteArray& bytes);

// One record of a CSV file with the number of the line it starts on, counted from 1.
struct CsvRecord {
    int line = 0;
    QStringList fields;
};

// The records of RFC 4180 text: quoted fields may hold commas, doubled quotes and line breaks;
// lines end in CR LF, LF or CR; blank lines and records of empty fields only are left out.
// Nothing when the text is not well-formed CSV (a quote left open).
std::optional<std::vector<CsvRecord>> ParseCsv(const QString& text);

}  // namespace paysum
