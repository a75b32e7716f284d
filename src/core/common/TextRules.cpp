#include "common/TextRules.h"

#include <limits>

namespace paysum {

QString TrimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString TrimRightBlanks(const QString& text) {
    qsizetype last = text.size();
    while (last > 0 && text.at(last - 1) == u' ')
        --last;
    return text.left(last);
}

bool IsDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString DigitsOnly(const QString& text) {
    QString digits;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits.append(c);
    }
    return digits;
}

qint64 LeadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            break;
        if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
            break;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool IsControlCharacter(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool HoldsControlCharacter(const QString& text) {
    // Every character refused lies in the Basic Multilingual Plane and is no surrogate.
    for (QChar c : text) {
        if (IsControlCharacter(c.unicode()))
            return true;
    }
    return false;
}

QString WithoutControlCharacters(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (QChar c : text) {
        if (!IsControlCharacter(c.unicode()))
            kept.append(c);
    }
    return kept;
}

int DigitValue(QChar c) {
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : 0;
}

}  // namespace paysum
