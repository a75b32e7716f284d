#include "common/Clock.h"

namespace paysum {

namespace {

std::optional<QDate>& FixedToday() {
    static std::optional<QDate> date;
    return date;
}

}  // namespace

QDate Today() {
    return FixedToday().value_or(QDate::currentDate());
}

QDateTime Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return FixedToday() ? QDateTime(*FixedToday(), now.time()) : now;
}

void SetToday(std::optional<QDate> date) {
    FixedToday() = date;
}

}  // namespace paysum
