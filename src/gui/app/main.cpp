#include "app/startup.h"
#include "common/Memory.h"

#include <QApplication>

// `paysum-windows`: the windows, which `paysum` starts when given no command.
int main(int argc, char* argv[]) {
    paysum::KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    if (!paysum::StartUp())
        return 0;
    return app.exec();
}
