#pragma once

#include "print/LinePrinter.h"

#include <functional>
#include <memory>

namespace paysum {

// A printer on the target: a PDF for a file, else QPrinter, or what the test hook gives.
std::unique_ptr<LinePrinter> OpenPrinter(const PrintTarget& target);

// Tests print through a hook that returns their own printer. An empty hook prints for real.
using PrinterHook = std::function<std::unique_ptr<LinePrinter>(const PrintTarget& target)>;
void SetPrinterHook(PrinterHook hook);

}  // namespace paysum
