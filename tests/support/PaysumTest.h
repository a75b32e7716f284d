#pragma once

#include "platform/FileDialog.h"
#include "support/MessageRecorder.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

class QDialog;
class QWidget;

namespace paysum::test {

// Gives each test a fresh data folder (PAYSUM_DATA_DIR), answers message boxes, file dialogs and
// modal windows through the program's hooks, and closes every window and database afterwards.
class PaysumTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The data folder; it does not exist until CreateDatabases() or the program creates it.
    QString DataDir() const;
    // Creates the data folder with both database files, empty.
    void CreateDatabases();
    // Appends a row to a table of either file, values by ordinal.
    void InsertRow(const QString& table, const QStringList& values);
    // Stores employees 00001 to `last` in one transaction, each row by ordinal as `row` makes it
    // from the code.
    void InsertStaffUpTo(int last, const std::function<QStringList(const QString& code)>& row);
    // Every row of a table, in the order the rows were stored.
    QList<QStringList> Rows(const QString& table);

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
    QTemporaryDir temp_;
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
