#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <span>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace paysum {

// The base of every function window the main menu opens: its name, caption and font, and the
// keys of a desktop form rather than a dialog. Esc does not close it; Enter is left to the
// control that has the focus (a focused button clicks, as in every window of the program) and
// reaches a default button only from the list or text named with SetDefaultButton.
class FunctionWindow : public QDialog {
    Q_OBJECT

public:
    FunctionWindow(const QString& name, const QString& caption, QWidget* parent = nullptr);

protected:
    // The window's heading, the label Label1: centred, in a larger font.
    QLabel* MakeHeading(const QString& text);

    // Makes the command button array `name` (`name`_0, `name`_1, ...) with these captions, each
    // click calling `click` with the button's index, and sets them out in a centred row.
    QHBoxLayout* MakeButtonRow(const QString& name, const QStringList& captions,
                               std::span<QPushButton*> buttons,
                               const std::function<void(int)>& click, int minimumWidth = 96);

    // Marks `button` as the window's default button: Enter in any of `views` (the list or text
    // the window shows) clicks it when it is enabled.
    void SetDefaultButton(QPushButton* button, std::initializer_list<QWidget*> views);

    // Lets the window's eventFilter see every event of the window and of all its controls
    // first, as a form that previews keys does. Call once the controls exist.
    void InstallKeyPreview();

    void keyPressEvent(QKeyEvent* event) override;

    // With the key preview installed: a key released over `watched` that was also pressed in
    // this window, so that a key pressed elsewhere and released here (the Enter that opened the
    // window) does nothing.
    virtual void KeyUpHere(QObject* watched, int keyCode);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int pressedKey_ = 0;
    QPushButton* defaultButton_ = nullptr;
    QList<QObject*> defaultViews_;
};

}  // namespace paysum
