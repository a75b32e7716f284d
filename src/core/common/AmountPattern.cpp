#include "common/AmountPattern.h"

namespace paysum {

namespace {

QString Grouped(const QString& digits) {
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            result.append(u',');
        result.append(digits.at(i));
    }
    return result;
}

}  // namespace

QString FormatAmount(const QString& pattern, qint64 amount) {
    const QString digits = QString::number(amount);
    const qsizetype places = pattern.count(u'@');
    if (digits.size() > places)
        return Grouped(digits);

    QString result = pattern;
    qsizetype next = digits.size() - 1;
    for (qsizetype i = result.size() - 1; i >= 0; --i) {
        if (result.at(i) != u'@')
            continue;
        result[i] = next >= 0 ? digits.at(next--) : QChar(u' ');
    }
    for (qsizetype i = 1; i < result.size(); ++i) {
        if (result.at(i) == u',' && result.at(i - 1) == u' ')
            result[i] = u' ';
    }
    return result;
}

}  // namespace paysum
