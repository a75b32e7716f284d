#pragma once

#include "print/LinePrinter.h"

#include <QPageLayout>

#include <functional>
#include <optional>

class QWidget;

namespace paysum {

// What the user chose in the print dialog.
struct PrintChoice {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int copies = 1;
    PrintTarget target;  // the chosen printer, or the PDF file of "print to file"
};

// Shows the print dialog on the default printer with `proposed` orientation; it offers no page
// range or selection. The choice, or nothing when the user cancels.
std::optional<PrintChoice> ShowPrintDialog(QWidget* parent, QPageLayout::Orientation proposed);

// Tests answer the print dialog through a hook that gets the proposed orientation. An empty
// hook shows the dialog again.
using PrintDialogHook =
    std::function<std::optional<PrintChoice>(QPageLayout::Orientation proposed)>;
void SetPrintDialogHook(PrintDialogHook hook);

}  // namespace paysum
