#pragma once

#include "data/PayRunHistory.h"
#include "platform/FunctionWindow.h"

#include <array>
#include <vector>

class QPushButton;
class QTableView;

namespace paysum {

// The pay run history: lists the archived runs, newest first, and opens the one chosen.
class frmHistory : public FunctionWindow {
    Q_OBJECT

public:
    explicit frmHistory(QWidget* parent = nullptr);

    // 0 "開啟" opens the chosen run; 1 "關閉" closes the window.
    void Command1_Click(int index);

protected:
    // Esc closes the window; Enter on the grid opens the run it points at.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void Form_Load();
    void OpenRun(int row);

    QTableView* Grid1;
    std::array<QPushButton*, 2> Command1;

    std::vector<PayRunSummary> runs_;
};

}  // namespace paysum
