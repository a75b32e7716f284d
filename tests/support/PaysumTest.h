#pragma once

#include "platform/FileDialog.h"
#include "support/CoreTest.h"
#include "support/MessageRecorder.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace paysum::test {

// A test of the windows: a fresh data folder as for the core, message boxes, file dialogs and
// modal windows answered through the program's hooks, and every window closed afterwards.
class PaysumTest : public CoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Shows the window and makes it the active one, so that the focus moves as for a person.
    static void Activate(QWidget* window);

    // Waits (a second at most) until `window` is the application's active window again, as it
    // must be after a modal window or message box over it has closed.
    static bool WaitActive(QWidget* window);

    // The control that has the focus, a key pressed and released in it, and its text replaced
    // by typing (Chinese inserted as an input method would, since key events carry ASCII only).
    static QWidget* Focus();
    static void Key(Qt::Key key);
    static void Type(const QString& text);

    // The next modal window is handed to `driver` instead of blocking; it is closed afterwards
    // if it is still open. Windows opened with no driver queued are closed at once.
    void OnNextModal(std::function<void(QDialog&)> driver);
    // The path the next file dialog answers (empty for cancel); the requests are kept in
    // fileDialogs.
    void AnswerFileDialog(const QString& path);

    // A widget of a window by object name; fails the test when there is none.
    template <typename T>
    T* Find(QWidget* window, const QString& name);
    // Which buttons of a window are enabled, as 1s and 0s: `pattern` names them with the numbers
    // `first` to `last` in its %1.
    QString Enabled(QWidget* window, const QString& pattern, int first, int last);

    MessageRecorder messages;
    std::vector<FileDialogRequest> fileDialogs;
    // The object names of the modal windows shown so far, driven or closed at once.
    QStringList modalsShown;

private:
    std::deque<std::function<void(QDialog&)>> modalDrivers_;
    std::deque<QString> fileAnswers_;
};

template <typename T>
T* PaysumTest::Find(QWidget* window, const QString& name) {
    T* widget = window ? window->findChild<T*>(name) : nullptr;
    EXPECT_NE(widget, nullptr) << "no widget " << name.toStdString();
    return widget;
}

}  // namespace paysum::test
