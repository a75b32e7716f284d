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

// The sum of two amounts, held at the largest 64-bit value instead of overflowing.
qint64 AddAmounts(qint64 total, qint64 amount);

}  // namespace paysum
