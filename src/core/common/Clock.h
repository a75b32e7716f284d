#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace paysum {

// Today's date, as every date rule of the program sees it.
QDate Today();

// The time now, on today's date as Today() gives it.
QDateTime Now();

// Fixes today's date for tests; an empty value returns to the system clock.
void SetToday(std::optional<QDate> date);

}  // namespace paysum
