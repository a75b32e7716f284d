#include "app/CommandLine.h"
#include "app/startup.h"
#include "platform/Memory.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    paysum::KeepFreedMemoryForReuse();
    if (const int status = paysum::RunCommandLine(argc, argv); status >= 0)
        return status;
    QApplication app(argc, argv);
    if (!paysum::StartUp())
        return 0;
    return app.exec();
}
