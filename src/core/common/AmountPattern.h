#pragma once

#include <QString>

namespace paysum {

// The amount masks of the batch totals and the printed list: "@@@,@@@,@@@,@@@" (15 columns)
// and "@@,@@@,@@@,@@@" (14 columns).
inline const QString kAmountPattern15 = QStringLiteral("@@@,@@@,@@@,@@@");
inline const QString kAmountPattern14 = QStringLiteral("@@,@@@,@@@,@@@");

// Drops the digits of the amount into the pattern's "@" places from the right, leaves the
// places left over blank and turns each blank that stands before a comma, with the comma, into
// two blanks: the amount with thousands separators, right-aligned in the pattern's width.
// An amount with more digits than places comes back whole with its separators.
QString FormatAmount(const QString& pattern, qint64 amount);

}  // namespace paysum
