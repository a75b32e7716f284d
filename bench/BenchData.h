#pragma once

#include <QString>

namespace paysum::bench {

inline constexpr int kTransfers = 999;
// The account every benchmark employee is paid into.
inline const QString kAccount = QStringLiteral("004001012341");

// An employee code: five digits, zero-filled.
QString Code(int value);

// Empties the employee master and the batch, then stores employees 1 to `employees` (all but
// `freeCode`, when given) paid 35000, and 999 transfers to the employees from `firstInBatch` on.
void FillTables(int employees, int firstInBatch = 1, int freeCode = 0);

// Counts the message boxes from now on, answering each with its default button; a benchmark that
// provokes one measures the wrong thing.
extern int messagesShown;
void CountMessages();

}  // namespace paysum::bench
