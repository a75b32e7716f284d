#pragma once

#include <QDialog>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace paysum {

// The base of every function window the main menu opens: its name, caption and font, and the
// keys of a desktop form rather than a dialog. Esc does not close it; Enter is left to the
// control that has the focus (a focused button clicks, as in every window of the program) and
// reaches a default button only from the list or text named with SetDefaultButton. Its size
// and place are remembered per user, by the window's name, and come back the next time it opens.
class FunctionWindow : public QDialog {
    Q_OBJECT

public:
    FunctionWindow(const QString& name, const QString& caption, QWidget* parent = nullptr);

protected:
    // Opens the window at `size`, also its least size, and lets it grow and be maximised: the
    // `growing` controls (placed already) take the extra width and height, every other control
    // keeps its place.
    void LetGrow(QSize size, std::initializer_list<QWidget*> growing);

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

    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The size and place the window had when it was last closed, when they are still on a
    // screen; the size alone when the place is off every screen.
    void RestorePlace();
    void RememberPlace() const;

    QSize openingSize_;
    std::vector<std::pair<QPointer<QWidget>, QRect>> growing_;
    bool placeRestored_ = false;
    int pressedKey_ = 0;
    QPushButton* defaultButton_ = nullptr;
    QList<QObject*> defaultViews_;
};

}  // namespace paysum
