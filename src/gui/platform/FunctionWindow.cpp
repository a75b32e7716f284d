#include "platform/FunctionWindow.h"

#include "print/Fonts.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace paysum {

FunctionWindow::FunctionWindow(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    setFont(UiFont());
}

QLabel* FunctionWindow::MakeHeading(const QString& text) {
    auto* heading = new QLabel(text, this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setAlignment(Qt::AlignCenter);
    heading->setFont(UiFont(16));
    return heading;
}

QHBoxLayout* FunctionWindow::MakeButtonRow(const QString& name, const QStringList& captions,
                                           std::span<QPushButton*> buttons,
                                           const std::function<void(int)>& click,
                                           int minimumWidth) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
        QPushButton*& button = buttons[static_cast<std::size_t>(i)];
        button = new QPushButton(captions.value(i), this);
        button->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
        button->setMinimumSize(minimumWidth, 32);
        connect(button, &QPushButton::clicked, this, [click, i] { click(i); });
        row->addWidget(button);
        row->addSpacing(24);
    }
    row->addStretch();
    return row;
}

void FunctionWindow::SetDefaultButton(QPushButton* button, std::initializer_list<QWidget*> views) {
    defaultButton_ = button;
    button->setDefault(true);
    for (QWidget* view : views) {
        defaultViews_ << view;
        view->installEventFilter(this);
    }
}

void FunctionWindow::InstallKeyPreview() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void FunctionWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void FunctionWindow::KeyUpHere(QObject*, int) {}

bool FunctionWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && defaultButton_ && defaultViews_.contains(watched)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            if (!key->isAutoRepeat() && defaultButton_->isEnabled())
                defaultButton_->click();
            return true;
        }
    }
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (type == QEvent::KeyPress) {
                pressedKey_ = key->key();
            } else if (pressedKey_ == key->key()) {
                pressedKey_ = 0;
                KeyUpHere(watched, key->key());
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace paysum
