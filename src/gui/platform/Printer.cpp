#include "platform/Printer.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace paysum {

namespace {

PrinterHook& Hook() {
    static PrinterHook hook;
    return hook;
}

// The target's printer, else the default printer, its job named as the target's document; a
// printer that fails saying why when it is not there.
std::unique_ptr<LinePrinter> SystemPrinter(const PrintTarget& target) {
    const QString& name = target.printerName;
    const QPrinterInfo info =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull()) {
        return LinePrinterOn(nullptr, name.isEmpty()
                                          ? QStringLiteral("沒有設定印表機")
                                          : QStringLiteral("找不到印表機「%1」").arg(name));
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(info.printerName());
    printer->setDocName(target.documentName);
    printer->setCreator(PrintingProgram());
    return LinePrinterOn(std::move(printer));
}

}  // namespace

std::unique_ptr<LinePrinter> OpenPrinter(const PrintTarget& target) {
    if (Hook())
        return Hook()(target);
    if (!target.outputFile.isEmpty())
        return OpenPdfPrinter(target);
    return SystemPrinter(target);
}

std::unique_ptr<QPrinter> PreviewPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (QPrinterInfo::defaultPrinter().isNull()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageLayout(PdfPageLayout());
    }
    return printer;
}

void SetPrinterHook(PrinterHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
