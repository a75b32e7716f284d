#include "support/MessageRecorder.h"

#include "platform/MessageBox.h"

#include <QApplication>
#include <QPushButton>

namespace paysum::test {

RecordedMessage OkBox(const QString& text, const QString& title, QMessageBox::Icon icon) {
    return {text, title, icon, QMessageBox::Ok, QMessageBox::Ok};
}

void PrintTo(const RecordedMessage& message, std::ostream* out) {
    *out << '"' << message.text.toStdString() << "\" title \"" << message.title.toStdString()
         << "\" icon " << message.icon << " buttons " << message.buttons.toInt() << " default "
         << message.defaultButton;
}

void MessageRecorder::Install() {
    SetMessageHook([this](QMessageBox& box) {
        messages_.push_back({box.text(), box.windowTitle(), box.icon(), box.standardButtons(),
                             box.standardButton(box.defaultButton())});
        QStringList behind;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &box && window->isVisible())
                behind << window->objectName();
        }
        windowsBehind_.push_back(behind);
        if (answers_.empty())
            return messages_.back().defaultButton;
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
    windowsBehind_.clear();
    answers_.clear();
}

}  // namespace paysum::test
