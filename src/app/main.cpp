#include "app/CommandLine.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = paysum::RunCommandLine(argc, argv))
        return *status;
    QApplication app(argc, argv);
    if (!paysum::StartUp())
        return 0;
    return app.exec();
}
