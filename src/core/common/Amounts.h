#pragma once

#include <QString>

namespace paysum {

// The whole-unit value of a stored amount: its digits after leading blanks, 0 when there are
// none.
qint64 AmountOf(const QString& text);

// The largest total a batch file can state: its header record holds twelve digits.
inline constexpr qint64 kLargestBatchTotal = 999'999'999'999;

// What the clerk is told when a batch's total would not fit the file.
QString TotalTooLargeText();

// An amount as people write it in a sheet: its digits, or why it is not a whole amount (`fault`,
// empty when it is one).
struct WrittenAmount {
    QString digits;
    QString fault;
};

// Reads an amount written with thousands separators ("45,000"), a fraction of zeros ("45000.00"),
// surrounding blanks or full-width digits as the whole number it means. A fraction other than
// zeros, a sign, misplaced separators or any other character is a fault, said in the clerk's
// words. An empty text is an empty amount.
WrittenAmount ReadWrittenAmount(const QString& text);

// The sum of two amounts, held at the largest 64-bit value instead of overflowing.
qint64 AddAmounts(qint64 total, qint64 amount);

}  // namespace paysum
