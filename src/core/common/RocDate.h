#pragma once

#include <QDate>
#include <QString>

namespace paysum {

// Dates of the Republic-of-China calendar written as the six characters yymmdd, where yy is
// the ROC year (Gregorian year - 1911) modulo 100.

// Today's ROC date: form 1 gives yy followed by "/month/day" without leading zeros (91/5/6),
// any other form the six characters yymmdd (910506).
QString RocToday(int form, const QDate& today);

// 1 valid; -1 not six characters or a part that is not a number; -2 day outside the month;
// -3 month outside 1..12.
qint16 CheckRocDate(const QString& text);

// 1 when `later` is not before `earlier`; -2 when it is; -1 when `later` is not six characters.
qint16 CompareRocDates(const QString& later, const QString& earlier);

}  // namespace paysum
