#include "app/startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (!paysum::StartUp())
        return 0;
    return app.exec();
}
