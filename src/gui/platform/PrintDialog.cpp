#include "platform/PrintDialog.h"

#include "platform/Modal.h"

#include <QPrintDialog>
#include <QPrinter>

namespace paysum {

namespace {

PrintDialogHook& Hook() {
    static PrintDialogHook hook;
    return hook;
}

// The list is always printed whole. Qt shows its page range and page set (odd or even pages) for
// CUPS printers even when the page range option is off, so they are hidden each time it shows.
class WholePrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;

    void setVisible(bool visible) override {
        QPrintDialog::setVisible(visible);
        if (visible) {
            if (auto* range = findChild<QWidget*>(QStringLiteral("gbPrintRange")))
                range->hide();
        }
    }
};

}  // namespace

std::optional<PrintChoice> ShowPrintDialog(QWidget* parent, QPageLayout::Orientation proposed) {
    if (Hook())
        return Hook()(proposed);
    QPrinter printer;
    printer.setPageOrientation(proposed);
    WholePrintDialog dialog(&printer, ModalOwner(parent));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (ExecModal(dialog) != QDialog::Accepted)
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
