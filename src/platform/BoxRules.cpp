#include "platform/BoxRules.h"

#include "common/TextRules.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <memory>

namespace paysum {

namespace {

// Selects a box's text when the focus enters it.
class SelectAllFilter : public QObject {
public:
    SelectAllFilter(QLineEdit* box, std::function<bool()> when)
        : QObject(box), box_(box), when_(std::move(when)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == box_ && event->type() == QEvent::FocusIn && (!when_ || when_()))
            box_->selectAll();
        return false;
    }

private:
    QLineEdit* box_;
    std::function<bool()> when_;
};

// Drops every character that is not a digit from what a person types or pastes. A QValidator
// would also rewrite the text the program sets, which must show what is stored.
class DigitsFilter : public QObject {
public:
    explicit DigitsFilter(QLineEdit* box) : QObject(box), box_(box) {
        connect(box, &QLineEdit::textEdited, this, &DigitsFilter::DropNonDigits);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || box_->isReadOnly())
            return false;
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Paste)) {
                Paste();
                return true;
            }
            // A typed character that is not a digit never reaches the box.
            const QString text = key->text();
            const bool plain =
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            return plain && !text.isEmpty() && text.at(0).isPrint() && DigitsOnly(text) != text;
        }
        if (event->type() == QEvent::ContextMenu) {
            const std::unique_ptr<QMenu> menu(box_->createStandardContextMenu());
            if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
                paste->disconnect(box_);
                connect(paste, &QAction::triggered, this, &DigitsFilter::Paste);
            }
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;
    }

private:
    // The box cuts pasted text to its maximum length before anything else sees it, so
    // "1234-5678" pasted into an eight-digit box would lose its last digit; inserting only the
    // clipboard's digits keeps every digit that fits.
    void Paste() { box_->insert(DigitsOnly(QGuiApplication::clipboard()->text())); }

    // Text that reached the box some other way (a middle-click paste, a drop).
    void DropNonDigits(const QString& text) {
        const QString digits = DigitsOnly(text);
        if (digits == text)
            return;
        const int cursor = box_->cursorPosition();
        const QString before = DigitsOnly(text.left(cursor));
        box_->setText(digits);
        box_->setCursorPosition(static_cast<int>(before.size()));
    }

    QLineEdit* box_;
};

}  // namespace

bool FocusMovesWithWindow(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new SelectAllFilter(box, std::move(when)));
}

void AcceptDigitsOnly(QLineEdit* box) {
    box->installEventFilter(new DigitsFilter(box));
}

}  // namespace paysum
