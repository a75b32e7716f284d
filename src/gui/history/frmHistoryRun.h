#pragma once

#include "data/PayRunHistory.h"
#include "platform/FunctionWindow.h"

#include <array>

class QLabel;
class QPushButton;
class QTableView;

namespace paysum {

// One archived pay run: its dates, figures and written file, its transfers read-only, and what
// can be done with it again: print its detail list, write its batch file, make it the current
// batch.
class frmHistoryRun : public FunctionWindow {
    Q_OBJECT

public:
    explicit frmHistoryRun(const PayRun& run, QWidget* parent = nullptr);

    // 0 "列印明細表" opens the report window on the run; 1 "產生轉帳檔" writes its batch file
    // again; 2 "恢復為目前批次" brings it back as the current batch; 3 "關閉" closes the window.
    void Command1_Click(int index);

protected:
    // Esc closes the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void PrintList();
    void WriteFile();
    void RestoreRun();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QTableView* Grid1;
    std::array<QPushButton*, 4> Command1;

    PayRun run_;
};

}  // namespace paysum
