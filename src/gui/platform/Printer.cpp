#include "platform/Printer.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace paysum {

namespace {

PrinterHook& Hook() {
    static PrinterHook hook;
    return hook;
}

// The printer of that name, else the default printer; none when it is not there.
std::unique_ptr<QPrinter> SystemPrinter(const QString& name) {
    const QPrinterInfo info =
        name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::NativeFormat);
    printer->setPrinterName(info.printerName());
    return printer;
}

}  // namespace

std::unique_ptr<LinePrinter> OpenPrinter(const PrintTarget& target) {
    if (Hook())
        return Hook()(target);
    if (!target.outputFile.isEmpty())
        return OpenPdfPrinter(target);
    return LinePrinterOn(SystemPrinter(target.printerName));
}

void SetPrinterHook(PrinterHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
