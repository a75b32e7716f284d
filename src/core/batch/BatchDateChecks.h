#pragma once

#include <QString>

#include <optional>

namespace paysum {

// The check of the batch dates that refused them.
enum class BatchDateFault {
    LoginInvalid,         // the login date is not a valid ROC date
    LoginBeforeToday,     // the login date lies before today
    TransferInvalid,      // the transfer date is not a valid ROC date
    TransferTooShort,     // the transfer date is not six characters
    TransferBeforeLogin,  // the transfer date lies before the login date
};

// Why the batch dates were refused: the message, its title (empty for the application title)
// and the date box that gets the focus, 0 for the login date and 1 for the transfer date.
struct BatchDateRefusal {
    BatchDateFault fault;
    QString message;
    QString title;
    int focusIndex;
};

// Checks the login and transfer dates as they were typed against today's ROC date "yymmdd":
// the login date must be valid and not before today, the transfer date valid and not before
// the login date. The first failing check is returned; nothing when both dates pass.
std::optional<BatchDateRefusal> CheckBatchDates(const QString& login, const QString& transfer,
                                                const QString& today);

}  // namespace paysum
