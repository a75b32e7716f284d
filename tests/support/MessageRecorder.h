#pragma once

#include <QMessageBox>
#include <QString>

#include <deque>
#include <ostream>
#include <vector>

namespace paysum::test {

// One message box as the program set it up.
struct RecordedMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;

    bool operator==(const RecordedMessage&) const = default;
};

// A box with OK alone, as most of the program's messages are.
RecordedMessage OkBox(const QString& text, const QString& title = QStringLiteral("PAYSUM"),
                      QMessageBox::Icon icon = QMessageBox::NoIcon);
// Shows a message in a failing assertion.
void PrintTo(const RecordedMessage& message, std::ostream* out);

// Answers the program's message boxes instead of showing them and keeps what they said. Boxes
// are answered from the queue, else with their default button.
class MessageRecorder {
public:
    void Install();
    void Uninstall();

    void Answer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    const std::vector<RecordedMessage>& All() const { return messages_; }
    std::size_t Count() const { return messages_.size(); }
    const RecordedMessage& Last() const { return messages_.back(); }
    // The object names of the windows that were on screen behind each box.
    const std::vector<QStringList>& WindowsBehind() const { return windowsBehind_; }
    // The texts of all boxes shown so far, for a quick look in a failing assertion.
    QStringList Texts() const;
    void Clear();

private:
    std::vector<RecordedMessage> messages_;
    std::vector<QStringList> windowsBehind_;
    std::deque<QMessageBox::StandardButton> answers_;
};

}  // namespace paysum::test
