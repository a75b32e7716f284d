#include "support/MessageRecorder.h"

#include "platform/MessageBox.h"

#include <QPushButton>

namespace paysum::test {

void MessageRecorder::Install() {
    SetMessageHook([this](QMessageBox& box) {
        RecordedMessage message;
        message.text = box.text();
        message.title = box.windowTitle();
        message.icon = box.icon();
        message.buttons = box.standardButtons();
        message.defaultButton = box.standardButton(box.defaultButton());
        messages_.push_back(message);
        if (answers_.empty())
            return message.defaultButton;
        const QMessageBox::StandardButton answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

void MessageRecorder::Uninstall() {
    SetMessageHook(nullptr);
}

QStringList MessageRecorder::Texts() const {
    QStringList texts;
    for (const RecordedMessage& message : messages_)
        texts << message.text;
    return texts;
}

void MessageRecorder::Clear() {
    messages_.clear();
    answers_.clear();
}

}  // namespace paysum::test
