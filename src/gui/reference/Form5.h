#pragma once

#include "data/DbError.h"
#include "platform/FunctionWindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;

// The company's basic data: its transfer branch at the bank, name, customer code, unified
// business number and the sign-off lines printed under the transfer detail list.
class Form5 : public FunctionWindow {
    Q_OBJECT

public:
    explicit Form5(QWidget* parent = nullptr);

    // "...": picks the transfer branch in the bank code lookup.
    void Command3_Click();
    // 0 確定 stores the company record and closes; 1 取消 closes without storing.
    void Command7_Click(int index);

    // Closing the window by its frame is 取消.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void configureBoxes();
    void Form_Load();

    void Store();
    void ReportStoreFailure(const DbError& error);
    // Shows the name of the branch "004" + Text1(0) + its check digit in Label3.
    void ShowBankName();

    void Text1_KeyDown(int index, int keyCode);
    void Text1_KeyUp(int index, int keyCode);
    void Text1_LostFocus(int index);

    DataControl* Adodc1;
    QLabel* Label1;
    // The labels of boxes 0 to 3, then the heading of the sign-off boxes.
    std::array<QLabel*, 5> Label2;
    QLabel* Label3;
    QLabel* Label4;
    std::array<QLineEdit*, 7> Text1;
    QPushButton* Command3;
    std::array<QPushButton*, 2> Command7;
    // A box has had a key pressed since the focus last moved on a key release.
    bool keyPressedSinceMove_ = false;
};

}  // namespace paysum
