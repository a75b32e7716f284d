#pragma once

#include "output/BatchFile.h"
#include "platform/FunctionWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace paysum {

// The batch file check's result: the file, its count and total, and each fault with its line,
// or that the file passed.
class frmVerify : public FunctionWindow {
    Q_OBJECT

public:
    frmVerify(const QString& path, const Verification& verification, QWidget* parent = nullptr);

    // "確定" closes the window.
    void Command1_Click();

private:
    QLabel* Label1;
    QLabel* Label2;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
};

}  // namespace paysum
