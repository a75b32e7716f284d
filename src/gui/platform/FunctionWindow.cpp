#include "platform/FunctionWindow.h"

#include <algorithm>

#include "common/Version.h"
#include "print/Fonts.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSettings>

namespace paysum {

namespace {

// The user's settings of the program: ~/.config/PAYSUM/PAYSUM.conf.
QSettings ProgramSettings() {
    return QSettings(QString::fromLatin1(kAppTitle), QString::fromLatin1(kAppTitle));
}

// True when enough of a window at `frame` is on some screen to be seen and dragged back.
bool OnAScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(frame);
        if (seen.width() >= 100 && seen.height() >= 40)
            return true;
    }
    return false;
}

}  // namespace

FunctionWindow::FunctionWindow(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);
    setFont(UiFont());
}

void FunctionWindow::LetGrow(QSize size, std::initializer_list<QWidget*> growing) {
    openingSize_ = size;
    setMinimumSize(size);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(size);
    growing_.clear();
    for (QWidget* widget : growing)
        growing_.emplace_back(widget, widget->geometry());
}

void FunctionWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (growing_.empty())
        return;
    const int extraWidth = std::max(0, width() - openingSize_.width());
    const int extraHeight = std::max(0, height() - openingSize_.height());
    for (const auto& [widget, opening] : growing_)
        if (widget)
            widget->setGeometry(opening.adjusted(0, 0, extraWidth, extraHeight));
}

void FunctionWindow::setVisible(bool visible) {
    if (visible && !isVisible() && !placeRestored_) {
        placeRestored_ = true;
        RestorePlace();
    } else if (!visible && isVisible()) {
        RememberPlace();
    }
    QDialog::setVisible(visible);
}

void FunctionWindow::RestorePlace() {
    QSettings settings = ProgramSettings();
    settings.beginGroup(objectName());
    const QSize size = settings.value(QStringLiteral("size")).toSize();
    const QVariant place = settings.value(QStringLiteral("pos"));
    if (size.isValid())
        resize(size.expandedTo(minimumSize()).boundedTo(maximumSize()));
    // Off every screen (one taken away since), the window opens where it opens by default.
    if (place.isValid() && OnAScreen(QRect(place.toPoint(), size.isValid() ? size : this->size())))
        move(place.toPoint());
    if (settings.value(QStringLiteral("maximized")).toBool() && maximumSize() != minimumSize())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void FunctionWindow::RememberPlace() const {
    QSettings settings = ProgramSettings();
    settings.beginGroup(objectName());
    const bool maximized = isMaximized();
    // A maximised window keeps the size and place it goes back to.
    const QRect normal = maximized ? normalGeometry() : geometry();
    const QPoint frameOffset = geometry().topLeft() - pos();
    settings.setValue(QStringLiteral("size"), normal.size());
    settings.setValue(QStringLiteral("pos"), normal.topLeft() - frameOffset);
    settings.setValue(QStringLiteral("maximized"), maximized);
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
