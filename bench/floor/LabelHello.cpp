// The floor for the windows' start: a Qt Widgets program that shows one label of Chinese text
// and ends on its first paint.
#include "QuitOnFirstPaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QuitOnFirstPaint quit(QStringLiteral("label"));
    app.installEventFilter(&quit);
    QLabel label(QStringLiteral("薪資轉帳"));
    label.setObjectName(QStringLiteral("label"));
    label.show();
    return app.exec();
}
