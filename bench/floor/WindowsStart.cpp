// Starts the PAYSUM windows as the program does when given no command, and ends on the main
// window's first paint: what the windows' start-up timing measures.
#include "QuitOnFirstPaint.h"
#include "app/startup.h"
#include "common/Memory.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    paysum::KeepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QuitOnFirstPaint quit(QStringLiteral("Form1"));
    app.installEventFilter(&quit);
    if (!paysum::StartUp())
        return 1;
    return app.exec();
}
