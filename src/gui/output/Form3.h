#pragma once

#include "output/BatchFile.h"
#include "platform/FunctionWindow.h"

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;

namespace paysum {

class BatchDatesFrame;
class DataControl;

// The batch transfer file window: shows the batch's count and amount total, confirms the two
// batch dates, asks for the file name and writes the file the bank loads.
class Form3 : public FunctionWindow {
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);

    // 0 "確定" checks the dates, asks for the file and writes it; 1 "取消" closes the window.
    void Command2_Click(int index);

private:
    void createLayout();
    void Form_Load();
    // The transfers of S_ITEM in the order they are stored; nothing when they cannot be read.
    std::optional<std::vector<TransferItem>> ReadTransfers();
    BatchFileResult WriteTransferFile();
    // Lists what looks wrong in the batch and asks whether to write it all the same; true when
    // nothing does or the clerk says Yes.
    bool ConfirmWarnings();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    BatchDatesFrame* Frame2;
    std::array<QPushButton*, 2> Command2;

    DataControl* records_;
    QString fileName_;
};

}  // namespace paysum
