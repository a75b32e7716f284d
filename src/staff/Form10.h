#pragma once

#include "platform/FunctionWindow.h"
#include "staff/StaffEntry.h"

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;
class DataGrid;

// The employee lookup: the clerk narrows the employee master to one code or picks a row, and
// the chosen employee goes back to the transfer entry, its code through LookupResult ("0" for
// none).
class Form10 : public FunctionWindow {
    Q_OBJECT

public:
    explicit Form10(QWidget* parent = nullptr);

    // 0 確定 picks the employee shown and closes; 1 取消 closes without a choice.
    void Command2_Click(int index);
    // Puts the current employee into the boxes, or empties them when the list is empty.
    void ShowCurrentRow();

    // The employee 確定 picked; nothing after 取消 or with no employee shown.
    const std::optional<StaffEntry>& Picked() const { return picked_; }

    // True while the window re-queries or shows a row itself: the current row is then not
    // shown and the list is not narrowed.
    bool Busy = false;

protected:
    void KeyUpHere(QObject* watched, int keyCode) override;

private:
    void createLayout();
    void Form_Load();
    // Narrows the list to the employee whose code the code box holds, zero-filled.
    void Text1_Change();

    DataControl* Adodc1;
    DataGrid* DataGrid1;
    QLabel* Label1;
    std::array<QLabel*, 5> Label2;
    std::array<QLineEdit*, 5> Text1;
    std::array<QPushButton*, 2> Command2;
    QPushButton* Command3;
    std::optional<StaffEntry> picked_;
};

}  // namespace paysum
