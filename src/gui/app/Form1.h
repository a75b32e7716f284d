#pragma once

#include "batch/SpreadsheetImport.h"
#include "data/DbError.h"
#include "data/Schema.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QPushButton;

namespace paysum {

class DataControl;
class Form6;

// The main menu: the program's eight functions, enabled from the state of the data, with the
// company's transfer branch and name.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // Checks and opens both databases; on failure it has shown its message and the program
    // must end.
    bool Form_Load();
    // Runs whenever the main window becomes active again: the menu refresh.
    void Form_Activate();
    // Reads the company record and the transfer records and enables the buttons from them.
    void MenuRefresh();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void mnuExit_Click();
    void mnuAbout_Click();
    void mnuWord_Click();
    void mnuSaveOut_Click();
    void mnuSaveIn_Click();
    void mnuImportStaff_Click();
    void mnuImportItem_Click();
    void mnuVerify_Click();
    void mnuHistory_Click();

    // Unloads the function windows that the main menu keeps open on the main database, so that
    // none holds records of a file that is about to be copied or replaced.
    void UnloadDataWindows();

    // True only while the windows are closed to copy the main database; closing the main window
    // then does not end the program.
    bool Reloading = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createLayout();
    void createMenus();
    void createDataControls();

    bool OpenDatabaseFile(const QString& path, DatabaseFile file);
    void ShowOpenFailure(const DbError& error, const QString& path);
    // Shows a function window modally, then the main window is active again.
    void OpenModal(QDialog& window);
    // Buttons 4 and 5 need at least one transfer record.
    bool HasTransferRecords(const QString& emptyMessage);
    void SetBatchButtonsEnabled(bool enabled);
    // Picks a spreadsheet file, checks it and shows its rows in the import preview.
    void ImportSpreadsheet(ImportKind kind, const ImportOptions& options = {});
    // Runs `copy` (a backup or a restore) with the main window hidden and the data windows
    // unloaded, then shows the main window again, after `failure` when the copy failed or `done`
    // when it succeeded; its load opens the database afresh, so it follows whatever the main
    // database now holds.
    void CopyWithWindowsClosed(const std::function<DbResult()>& copy, const QString& failure,
                               const QString& done);

    DataControl* Adodc1;
    DataControl* Adodc2;

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QPushButton* Command8;

    QMenu* mnuSystem;
    QAction* mnuSaveIn;
    QAction* mnuSaveOut;
    QAction* mnuLine3;
    QAction* mnuImportStaff;
    QAction* mnuImportItem;
    QAction* mnuUpdateStaff;
    QAction* mnuVerify;
    QAction* mnuHistory;
    QAction* mnuLine1;
    QAction* mnuExit;
    QMenu* mnuHelp;
    QAction* mnuWord;
    QAction* mnuLine2;
    QAction* mnuAbout;

    // The bank code window is kept between openings, so that it shows the list and position it
    // was left with.
    std::unique_ptr<Form6> form6_;
};

}  // namespace paysum
