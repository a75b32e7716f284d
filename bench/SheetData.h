#pragma once

#include <QByteArray>

namespace paysum::bench {

// 100,000 employees as the benchmarks of reading sheets lay them out.
inline constexpr int kSheetRows = 100'000;

// The employees as a workbook of a spreadsheet program: text in shared strings, numbers as values,
// a formatted empty cell at the end of each row (.xlsx), or repeated empty cells and rows (.ods).
QByteArray SheetXlsx();
QByteArray SheetOds();

// The same employees as a text file separated by `separator`, in UTF-8, and that text in UTF-16
// with its byte order mark.
QByteArray SheetText(char separator);
QByteArray Utf16Of(const QByteArray& utf8);

// The format `index` gives: 0 .xlsx, 1 .ods, 2 comma CSV, 3 tab-separated, 4 UTF-16.
QByteArray SheetOfFormat(int index);

}  // namespace paysum::bench
