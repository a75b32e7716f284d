#include "platform/BoxRules.h"

#include "common/TextRules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

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
        // A typed character that is not a digit never reaches the box.
        if (watched == box_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool plain =
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            if (plain && !text.isEmpty() && text.at(0).isPrint() && DigitsOnly(text) != text)
                return true;
        }
        return false;
    }

private:
    // Pasted text, or whatever else an edit let in.
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

void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new SelectAllFilter(box, std::move(when)));
}

void AcceptDigitsOnly(QLineEdit* box) {
    box->installEventFilter(new DigitsFilter(box));
}

}  // namespace paysum
