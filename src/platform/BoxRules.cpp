#include "platform/BoxRules.h"

#include "common/TextRules.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QValidator>

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

// Drops every character that is not a digit from what is typed or pasted.
class DigitsValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override {
        const QString digits = DigitsOnly(input);
        if (digits.size() != input.size()) {
            position -= static_cast<int>(input.left(position).size() -
                                         DigitsOnly(input.left(position)).size());
            input = digits;
        }
        return Acceptable;
    }
};

// Pastes only the digits of the clipboard. The box cuts pasted text to its maximum length before
// its validator sees it, so "1234-5678" pasted into an eight-digit box would lose its last digit;
// dropping the other characters first keeps every digit that fits.
class DigitsPaste : public QObject {
public:
    explicit DigitsPaste(QLineEdit* box) : QObject(box), box_(box) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != box_ || box_->isReadOnly())
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
            Paste();
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            const std::unique_ptr<QMenu> menu(box_->createStandardContextMenu());
            if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
                paste->disconnect(box_);
                connect(paste, &QAction::triggered, this, &DigitsPaste::Paste);
            }
            menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        return false;
    }

private:
    void Paste() { box_->insert(DigitsOnly(QGuiApplication::clipboard()->text())); }

    QLineEdit* box_;
};

}  // namespace

void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new SelectAllFilter(box, std::move(when)));
}

void AcceptDigitsOnly(QLineEdit* box) {
    box->setValidator(new DigitsValidator(box));
    box->installEventFilter(new DigitsPaste(box));
}

}  // namespace paysum
