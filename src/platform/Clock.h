#pragma once

#include <QDate>

#include <optional>

namespace paysum {

// Today's date, as every date rule of the program sees it.
QDate Today();

// Fixes today's date for tests; an empty value returns to the system clock.
void SetToday(std::optional<QDate> date);

}  // namespace paysum
