#include "common/RocDate.h"

#include "common/TextRules.h"

namespace paysum {

namespace {

// Reads one two-character part of a date; only digits make a number, so a sign or a blank in a
// date never passes as part of it.
bool ReadPart(const QString& part, int* value) {
    if (!IsDigits(part))
        return false;
    *value = part.toInt();
    return true;
}

int DaysInMonth(int month, int year) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return (month == 2 && leap) ? 29 : kDays[month - 1];
}

}  // namespace

QString RocToday(int form, const QDate& today) {
    // The ROC year modulo 100 is the last two digits of the Gregorian year minus 11.
    const QString yy = QString::number(today.year() - 11).right(2);
    if (form == 1)
        return QStringLiteral("%1/%2/%3").arg(yy).arg(today.month()).arg(today.day());
    return QStringLiteral("%1%2%3")
        .arg(yy)
        .arg(today.month(), 2, 10, QLatin1Char('0'))
        .arg(today.day(), 2, 10, QLatin1Char('0'));
}

qint16 CheckRocDate(const QString& text) {
    if (text.size() != 6)
        return -1;
    int yy = 0;
    int mm = 0;
    int dd = 0;
    if (!ReadPart(text.mid(0, 2), &yy) || !ReadPart(text.mid(2, 2), &mm) ||
        !ReadPart(text.mid(4, 2), &dd))
        return -1;
    if (mm > 0 && mm < 13)
        return (dd >= 1 && dd <= DaysInMonth(mm, yy + 1911)) ? 1 : -2;
    return -3;
}

qint16 CompareRocDates(const QString& later, const QString& earlier) {
    if (later.size() != 6)
        return -1;
    return LeadingNumber(earlier) > LeadingNumber(later) ? -2 : 1;
}

}  // namespace paysum
