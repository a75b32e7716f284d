#pragma once

#include <QString>

namespace paysum {

// Values that windows hand to each other across a modal opening.

// 5 while the company window has the bank code lookup open, else 0.
extern qint16 LookupCaller;

// The code picked in a lookup window, "0" for none; the company window sets "5" after it has
// stored the company record, which tells the main menu to refresh its caption.
extern QString LookupResult;

// The list order chosen in the report window's order menu: 1 by payee code descending, 2 in
// the order of entry.
extern qint16 ReportOrder;

}  // namespace paysum
