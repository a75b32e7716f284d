#pragma once

#include "platform/FunctionWindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;
struct DbError;

// The remark presets: ten texts the clerk keeps in NNOO and picks from the transfer entry's
// remark list.
class Form8 : public FunctionWindow {
    Q_OBJECT

public:
    explicit Form8(QWidget* parent = nullptr);

    // "1.確定": stores the ten presets, trimmed, and closes; on a failure it says why and stays.
    void Command1_Click();
    // "2.取消": closes without storing.
    void Command2_Click();

protected:
    void KeyUpHere(QObject* watched, int keyCode) override;

private:
    void createLayout();
    void Form_Load();
    void Text1_KeyUp(int index, int keyCode);
    void ShowStoreError(const DbError& error);

    QLabel* Label1;
    std::array<QLabel*, 10> Label2;
    std::array<QLineEdit*, 10> Text1;
    QPushButton* Command1;
    QPushButton* Command2;
    DataControl* presets_;
};

}  // namespace paysum
