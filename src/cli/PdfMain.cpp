#include "cli/ListPdf.h"
#include "common/Memory.h"

#include <QGuiApplication>

// `paysum-pdf`: the command line's helper that draws the PDF list, the one command that needs
// fonts; `paysum list` hands itself over to it.
int main(int argc, char* argv[]) {
    paysum::KeepFreedMemoryForReuse();
    const paysum::ProvidedCommand list{
        QStringLiteral("list"), paysum::ListPdf, [](int& count, char** values) {
            // Drawing text needs no display.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::unique_ptr<QCoreApplication>(new QGuiApplication(count, values));
        }};
    return paysum::RunCommandLine(argc, argv, &list);
}
