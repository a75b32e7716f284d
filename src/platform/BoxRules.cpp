#include "platform/BoxRules.h"

#include "common/TextRules.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

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

}  // namespace

void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new SelectAllFilter(box, std::move(when)));
}

void AcceptDigitsOnly(QLineEdit* box) {
    box->setValidator(new DigitsValidator(box));
}

}  // namespace paysum
