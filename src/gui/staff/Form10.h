#pragma once

#include "maintenance/LookupWindow.h"
#include "staff/StaffEntry.h"

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

// The employee lookup: the clerk narrows the employee master to one code or picks a row, and
// the chosen employee goes back to the transfer entry, its code through LookupResult ("0" for
// none).
class Form10 : public LookupWindow {
    Q_OBJECT

public:
    explicit Form10(QWidget* parent = nullptr);

    // The employee 確定 picked; nothing after 取消 or with no employee shown.
    const std::optional<StaffEntry>& Picked() const { return picked_; }

protected:
    // Narrows the list to the employee whose code the code box holds, zero-filled.
    void Text1_Change() override;
    void OnPicked() override;
    // The names are read into memory as the code box takes the focus, before a name is typed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void Form_Load();

    QLabel* Label1;
    std::array<QLabel*, 5> Label2;
    std::array<QLineEdit*, 5> Text1;
    QPushButton* Command3;
    std::optional<StaffEntry> picked_;
};

}  // namespace paysum
