#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

namespace paysum {

// The encodings a spreadsheet program saves a CSV file in on the clerk's desk.
enum class TextEncoding { Utf8, Big5, Utf16 };

// Why the bytes of a file are not taken as text.
enum class DecodeFault {
    None,
    NotText,        // a NUL byte: UTF-16 without its byte order mark, or not text at all
    BadSequence,    // a byte sequence that is not valid in the file's encoding
    MixedEncoding,  // a line in UTF-8 in a file in Big5
};

// The text of a file as UTF-8: UTF-16 with its byte order mark, UTF-8 with or without one, else
// code page 950
// (Big5). The encoding is the one the whole file is valid in; a file valid in neither is taken to
// be in the encoding of its first line that holds more than ASCII, and refused at the line of its
// first byte sequence that is not valid in it. A file in Big5 is refused too at a line in UTF-8,
// whose Chinese would pass for other Chinese characters in Big5.
struct DecodedText {
    QByteArray utf8;
    TextEncoding encoding = TextEncoding::Utf8;
    DecodeFault fault = DecodeFault::None;
    qint64 faultLine = 0;  // counted from 1
};
DecodedText DecodeSpreadsheetText(const QByteArray& bytes);

// One record of a CSV file with the number of the line it starts on, counted from 1; or one row of
// a spreadsheet with its row number, and per field whether the sheet stored it as a number (empty
// for a text file, whose fields are all text).
struct CsvRecord {
    int line = 0;
    QStringList fields;
    std::vector<bool> numbers;
};

// How reading the records ended: all read, a quote left open, or refused at `line` for holding
// more records or a record more fields than the limits.
enum class CsvOutcome { Read, OpenQuote, TooManyRecords, TooManyFields };
struct CsvRecords {
    CsvOutcome outcome = CsvOutcome::Read;
    int line = 0;
    std::vector<CsvRecord> records;
};

// The records of RFC 4180 text in UTF-8: quoted fields may hold commas, doubled quotes and line
// breaks; lines end in CR LF, LF or CR; blank lines and records of empty fields only are left
// out. At most `mostRecords` records of at most `mostFields` fields are read, so that what a file
// costs stays bounded whatever it holds. With `take`, each record is handed to it as it is read
// instead of kept, and reading stops when it answers false. Fields are separated by `separator`.
CsvRecords ParseCsv(QByteArrayView utf8, std::size_t mostRecords, int mostFields,
                    const std::function<bool(CsvRecord&&)>& take = {}, char separator = ',');

// The separator of a file's fields as spreadsheet programs save them: a comma, a tab or a
// semicolon, whichever divides its first line, the headings, most often outside quotes; a comma
// when none does.
char FieldSeparator(QByteArrayView utf8);

}  // namespace paysum
