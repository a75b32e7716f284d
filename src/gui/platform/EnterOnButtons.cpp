#include "platform/EnterOnButtons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace paysum {

namespace {

class EnterOnButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier))
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button)
            return false;
        // A held Enter clicks once, as a held Space does: the repeats must not store twice or
        // click the button that the first click moved the focus to.
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

}  // namespace

void InstallEnterOnButtons() {
    static QPointer<EnterOnButtons> filter;
    if (filter)
        return;
    filter = new EnterOnButtons(qApp);
    qApp->installEventFilter(filter);
}

}  // namespace paysum
