#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QString>

#include <utility>

// Ends the application's event loop once the widget of the given object name has been painted
// for the first time: the moment a whole-process start-up timing stops.
class QuitOnFirstPaint : public QObject {
public:
    explicit QuitOnFirstPaint(QString objectName) : name_(std::move(objectName)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            watched->objectName() == name_) {
            painted_ = true;
            // Queued, so that the frame being painted is finished and flushed first.
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QString name_;
    bool painted_ = false;
};
