#pragma once

#include "print/LinePrinter.h"

#include <functional>
#include <memory>

class QPrinter;

namespace paysum {

// A printer on the target: a PDF for a file, else QPrinter, or what the test hook gives.
std::unique_ptr<LinePrinter> OpenPrinter(const PrintTarget& target);

// The page a preview shows: the default printer's paper and margins, or, when there is no printer,
// the A4 page of a PDF list. The caller hands it to a print preview.
std::unique_ptr<QPrinter> PreviewPrinter();

// Tests print through a hook that returns their own printer. An empty hook prints for real.
using PrinterHook = std::function<std::unique_ptr<LinePrinter>(const PrintTarget& target)>;
void SetPrinterHook(PrinterHook hook);

}  // namespace paysum
