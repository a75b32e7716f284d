#pragma once

#include <QDialog>

class QLabel;

namespace paysum {

// The base of every function window the main menu opens: its name, caption and font, and the
// keys of a desktop form rather than a dialog. Esc does not close it; Enter clicks the button
// that has the focus and is otherwise left to the box that has it, never to a default button.
class FunctionWindow : public QDialog {
    Q_OBJECT

public:
    FunctionWindow(const QString& name, const QString& caption, QWidget* parent = nullptr);

protected:
    // The window's heading, the label Label1: centred, in a larger font.
    QLabel* MakeHeading(const QString& text);

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
};

}  // namespace paysum
