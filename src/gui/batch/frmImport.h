#pragma once

#include "batch/SpreadsheetImport.h"
#include "platform/FunctionWindow.h"

#include <array>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace paysum {

// The import preview: lists every row of a spreadsheet file with its verdict, and writes the
// rows that passed once the clerk says so.
class frmImport : public FunctionWindow {
    Q_OBJECT

public:
    frmImport(ImportKind kind, const QString& path, ImportFile file, QWidget* parent = nullptr);

    // 0 "匯入" writes the rows that passed (after asking, when some did not); 1 "取消" closes.
    void Command1_Click(int index);

    // The caption of the window and the title of its messages.
    static QString TitleOf(ImportKind kind, const ImportOptions& options = {});

    // Asks which sheet of a workbook to import: the name chosen, empty when cancelled.
    static QString ChooseSheet(QWidget* parent, const QString& title, const QStringList& names);

private:
    void createLayout();
    void fillGrid();

    QLabel* Label1;
    QLabel* Label2;
    QTableView* Grid1;
    QProgressBar* ProgressBar1;
    std::array<QPushButton*, 2> Command1;

    ImportKind kind_;
    QString path_;
    ImportFile file_;
};

}  // namespace paysum
