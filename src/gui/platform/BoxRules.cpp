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
#include <QValidator>

#include <memory>

namespace paysum {

namespace {

// The box an event is for, or nullptr while it is being destroyed: QWidget's destructor still
// sends events (a focus out), when the object is no longer a QLineEdit.
QLineEdit* LiveBox(QObject* watched, const QLineEdit* box) {
    return watched == box ? qobject_cast<QLineEdit*>(watched) : nullptr;
}

// Selects a box's text when the focus enters it.
class SelectAllFilter : public QObject {
public:
    SelectAllFilter(QLineEdit* box, std::function<bool()> when)
        : QObject(box), box_(box), when_(std::move(when)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn)
            return false;
        if (QLineEdit* box = LiveBox(watched, box_); box && (!when_ || when_()))
            box->selectAll();
        return false;
    }

private:
    const QLineEdit* box_;
    std::function<bool()> when_;
};

// Keeps a box's text to whole characters within a limit, without the control characters no
// stored text holds. It rewrites text that would not fit
// instead of refusing it, so that a long paste keeps what fits, as QLineEdit's own maximum
// length does.
class WholeCharacters : public QValidator {
public:
    WholeCharacters(QLineEdit* box, int limit) : QValidator(box), limit_(limit) {}

    State validate(QString& input, int& pos) const override {
        QString text;
        text.reserve(input.size());
        int cursor = pos;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
                text += c;
                text += input.at(++i);
            } else if (c.isSurrogate() || IsControlCharacter(c.unicode())) {
                if (i < pos)
                    --cursor;
            } else {
                text += c;
            }
        }
        // What was just typed or pasted ends at the cursor, so the excess goes from there.
        qsizetype excess = QStringView(text).toUcs4().size() - limit_;
        for (; excess > 0 && cursor > 0; --excess) {
            const int width = CharacterBefore(text, cursor);
            text.remove(cursor - width, width);
            cursor -= width;
        }
        for (; excess > 0; --excess)
            text.chop(CharacterBefore(text, static_cast<int>(text.size())));
        input = text;
        pos = cursor;
        return Acceptable;
    }

private:
    // The number of UTF-16 units of the character that ends at `end`.
    static int CharacterBefore(const QString& text, int end) {
        return end >= 2 && text.at(end - 1).isLowSurrogate() && text.at(end - 2).isHighSurrogate()
                   ? 2
                   : 1;
    }

    int limit_;
};

// Drops every character that is not a digit from what a person types or pastes. A QValidator
// would also rewrite the text the program sets, which must show what is stored.
class DigitsFilter : public QObject {
public:
    DigitsFilter(QLineEdit* box, std::function<bool()> when)
        : QObject(box), box_(box), when_(std::move(when)) {
        connect(box, &QLineEdit::textEdited, this, &DigitsFilter::DropNonDigits);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ContextMenu)
            return false;
        if (!LiveBox(watched, box_) || box_->isReadOnly() || !Applies())
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
        if (digits == text || !Applies())
            return;
        const int cursor = box_->cursorPosition();
        const QString before = DigitsOnly(text.left(cursor));
        box_->setText(digits);
        box_->setCursorPosition(static_cast<int>(before.size()));
    }

    bool Applies() const { return !when_ || when_(); }

    QLineEdit* box_;
    std::function<bool()> when_;
};

}  // namespace

bool FocusMovesWithWindow(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

void SelectAllOnFocus(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new SelectAllFilter(box, std::move(when)));
}

void LimitLength(QLineEdit* box, int characters) {
    // QLineEdit counts UTF-16 units; a character takes at most two.
    box->setMaxLength(2 * characters);
    // A limit set again replaces the earlier one.
    const QValidator* earlier = dynamic_cast<const WholeCharacters*>(box->validator());
    box->setValidator(new WholeCharacters(box, characters));
    delete earlier;
}

void AcceptDigitsOnly(QLineEdit* box, std::function<bool()> when) {
    box->installEventFilter(new DigitsFilter(box, std::move(when)));
}

}  // namespace paysum
