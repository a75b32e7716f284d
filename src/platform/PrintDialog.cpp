#include "platform/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace paysum {

namespace {

PrintDialogHook& Hook() {
    static PrintDialogHook hook;
    return hook;
}

}  // namespace

std::optional<PrintChoice> ShowPrintDialog(QWidget* parent, QPageLayout::Orientation proposed) {
    if (Hook())
        return Hook()(proposed);
    QPrinter printer;
    printer.setPageOrientation(proposed);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;

    PrintChoice choice;
    choice.orientation = printer.pageLayout().orientation();
    choice.copies = std::max(1, printer.copyCount());
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        choice.target.outputFile = printer.outputFileName();
    else
        choice.target.printerName = printer.printerName();
    return choice;
}

void SetPrintDialogHook(PrintDialogHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
