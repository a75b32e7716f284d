#pragma once

#include "maintenance/LookupWindow.h"

#include <array>

class QLabel;
class QLineEdit;

namespace paysum {

// The bank code lookup: the clerk finds a branch code by typing its first digits or picking a
// row, and the chosen code goes back through LookupResult ("0" for none).
class Form9 : public LookupWindow {
    Q_OBJECT

public:
    explicit Form9(QWidget* parent = nullptr);

protected:
    // Narrows the list to the codes that begin with the search box's text.
    void Text1_Change() override;

private:
    void createLayout();
    void Form_Load();

    QLabel* Label1;
    std::array<QLabel*, 3> Label2;
    std::array<QLineEdit*, 3> Text1;
};

}  // namespace paysum
