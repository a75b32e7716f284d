#pragma once

#include "common/CsvText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstddef>
#include <functional>
#include <vector>

namespace paysum {

// Whether the bytes of a file are a spreadsheet's rather than text: a zip archive (.xlsx, .ods)
// or a compound file (a workbook with a password, or one of the old binary kind).
bool LooksLikeSheet(QByteArrayView bytes);

enum class SheetFormat { Xlsx, Ods };

// How reading a sheet ended: all its rows read; refused with the clerk's words in `error` (not a
// spreadsheet, a password, no such sheet, damaged, too large); or refused at row `line` for more
// rows or a row with more fields than the limits.
enum class SheetOutcome { Read, Refused, TooManyRecords, TooManyFields };
struct SheetRecords {
    SheetOutcome outcome = SheetOutcome::Read;
    QString error;
    int line = 0;
    SheetFormat format = SheetFormat::Xlsx;
    QString sheet;  // the name of the sheet read
    std::vector<CsvRecord> records;
};

// The rows of the sheet named `sheet` (the first sheet when empty) of an .xlsx or .ods file, each
// a record whose line is the row's number and whose fields are its cells from column A on: text
// as it is shown, a number as the sheet stores it ("45000", "1.23456789012E+11") and flagged in
// `numbers`, a boolean as TRUE or FALSE, an error as its code ("#N/A"), a formula as the value it
// last had. Empty cells between are empty fields; empty cells at the end of a row are left out,
// and so are rows without a value. As with ParseCsv(): at most `mostRecords` records of at most
// `mostFields` fields, each handed to `take` instead of kept when it is given, reading stopped
// when it answers false. What an archive holds is read as a stream and bounded whatever its
// headers say.
SheetRecords ReadSheet(const QByteArray& bytes, const QString& sheet, std::size_t mostRecords,
                       int mostFields, const std::function<bool(CsvRecord&&)>& take = {});

// The names of the sheets of an .xlsx or .ods file in their order, or why the file is refused.
struct SheetNames {
    QString error;
    SheetFormat format = SheetFormat::Xlsx;
    QStringList names;
};
SheetNames ListSheets(const QByteArray& bytes);

// The digits of a number cell's text when it is a whole number of at most `mostDigits` digits
// that a spreadsheet holds exactly (15 significant digits): "1.23456789012E+11" gives
// "123456789012", "45000.0" gives "45000"; "12.5", "-3" and "1.2345678901234568E+16" give an
// empty string.
QString WholeNumberDigits(QStringView number, int mostDigits = 15);

}  // namespace paysum
