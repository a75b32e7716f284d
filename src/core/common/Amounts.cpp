#include "common/Amounts.h"

#include "common/TextRules.h"

#include <QtNumeric>

#include <limits>

namespace paysum {

qint64 AmountOf(const QString& text) {
    return LeadingNumber(TrimBlanks(text));
}

QString TotalTooLargeText() {
    return QStringLiteral("總金額超過十二位數");
}

qint64 AddAmounts(qint64 total, qint64 amount) {
    qint64 sum = 0;
    if (qAddOverflow(total, amount, &sum))
        return std::numeric_limits<qint64>::max();
    return sum;
}

}  // namespace paysum
