#pragma once

#include "platform/FunctionWindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;
class DataGrid;

// The bank code lookup: the clerk finds a branch code by typing its first digits or picking a
// row, and the chosen code goes back through LookupResult ("0" for none).
class Form9 : public FunctionWindow {
    Q_OBJECT

public:
    explicit Form9(QWidget* parent = nullptr);

    // 0 確定 hands the current row's code back and closes; 1 取消 closes without a choice.
    void Command2_Click(int index);
    // Puts the current row into the boxes, or empties them when the list is empty.
    void ShowCurrentRow();

    // True while the window re-queries or shows a row itself: the current row is then not
    // shown and the search does not run.
    bool Busy = false;

protected:
    void KeyUpHere(QObject* watched, int keyCode) override;

private:
    void createLayout();
    void Form_Load();
    // Narrows the list to the codes that begin with the search box's text.
    void Search();

    DataControl* Adodc1;
    DataGrid* DataGrid1;
    QLabel* Label1;
    std::array<QLabel*, 3> Label2;
    std::array<QLineEdit*, 3> Text1;
    std::array<QPushButton*, 2> Command2;
};

}  // namespace paysum
