#pragma once

#include "batch/TransferEntry.h"
#include "maintenance/MaintenanceWindow.h"

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace paysum {

class BatchDatesFrame;
class DataControl;
class Recordset;

// The transfer entry: the clerk puts the batch together, one transfer per payee in S_ITEM,
// filling known payees from the employee master and filing new ones there; the second tab holds
// the batch's login and transfer dates.
class Form2 : public MaintenanceWindow {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent = nullptr);

    void Command1_Click(int index) override;
    void CancelEntry() override;
    void EnterMode() override;
    void ResetToIdle() override;

    // "...": picks an employee in the employee lookup.
    void Command3_Click(int index);
    // The dates tab: 0 checks and stores the dates, 1 brings the stored ones back.
    void Command4_Click(int index);
    // "備註欄功能鍵設定": edits the remark presets, then lists them again.
    void Command6_Click(int index);

    // Makes the first record at or after the current one with `code` current; the grid follows.
    void LocateCode(const QString& code);
    // Lists the ten remark presets in the remark box, keeping the remark typed.
    void LoadRemarkPresets();
    // Shows the batch's count and total in Label3, read in one query.
    void ShowBatchSummary();
    // The smallest temporary payee code no employee has; nothing, after saying so, when all are
    // taken or the master cannot be read.
    std::optional<QString> NextTemporaryCode();
    // Fills the boxes from the employee StaffLookup found and locks the account and name.
    void FillFromEmployee();
    // Opens the certificate-number box for an account of type 016, else empties and closes it.
    void SetCertificateBox();

    // The code of the record being added, to find it again after the re-read.
    QString PendingCode;

protected:
    QLineEdit* KeyBox() const override;
    QList<QWidget*> EntryBoxes() const override;
    QList<QWidget*> EditSet() const override;
    void ConfirmAdd() override;
    void ConfirmChange() override;
    void ConfirmDelete() override;
    void ConfirmQuery() override;
    void FillBoxes(const Recordset& record) override;
    void ReportStoreError(const DbError& error) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createTabs();
    void createBoxes();
    void createButtons();
    void createDatesTab();
    void createDataControls();
    void placeControls();
    void setFocusOrder();

    // Enter in each box of the entry tab, and the focus leaving or entering a box.
    void Text1_KeyEnter();
    void Text2_KeyEnter();
    void Text3_KeyEnter();
    void Text5_KeyEnter();
    void Text6_KeyEnter();
    void Text1_LostFocus();
    void Text2_LostFocus();
    void Text2_GotFocus();
    // Enter in a box that must not be empty: an empty one is refused where it stands.
    bool Filled(QLineEdit* box);

    // Enter on a code in add mode, and in change mode.
    void LookUpPayee();
    void LocatePayeeInBatch();
    // A code of no employee replaces the one whose account and name the master lent the boxes:
    // they are emptied and opened for the new payee's own.
    void ForgetLentPayee(const QString& code);
    // Puts the next temporary code into the code box and opens the boxes of a new payee.
    bool ProposeTemporaryCode();
    // Says that a code typed is no employee's, leaving only the code and amount boxes open.
    void RefuseUnknownCode();
    // Shows the grid's first record in the boxes after a code that was not found.
    void ShowFirstRecord(bool withCertificate, bool withRemark);
    // Shows a record's columns in every box but the code box; and, in query mode, the list's
    // current record beside the code being typed.
    void ShowColumnsBesideCode(const Recordset& record);
    void ShowRecordBesideCode();
    // After the employee window: the account and name the master lends the entry, as it holds
    // them now.
    void RefreshLentBoxes();

    TransferEntry Entry() const;
    // Runs the checks of an entry; a refusal is shown and handled.
    bool ValidateEntry();
    // True when a click on 確定 brought a new payee in from the master: nothing is stored and
    // the focus goes to the amount.
    bool HeldByNewPayee();
    // An account other than a 016 one stores no certificate number; the box shows what is stored.
    void StoreOnlyValidCertificate();
    // True when the batch already holds a transfer to `code` (other than the current record's
    // when `exceptCurrent`); says so.
    bool RefuseCodeInBatch(const QString& code, bool exceptCurrent);
    // Refuses an amount that would take the batch's total past what the batch file can state.
    bool RefuseTotalPastFile(bool exceptCurrent);
    // Writes each box into its column of the current record of `record` (S_STAFF has no remark).
    void WriteBoxes(Recordset& record);
    DbResult AddPayeeToMaster();
    DbResult AppendTransfer();

    void Refuse(const TransferRefusal& refusal);
    void Say(const QString& text, const QString& title);
    QWidget* BoxOf(TransferBox box) const;
    // Opens one of the window's own child windows; the dates are read again afterwards.
    void OpenChild(QDialog& child);

    QTabWidget* SSTab1;
    QWidget* entryTab_;
    QWidget* datesTab_;

    QLineEdit* Text1;   // code
    QLineEdit* Text2;   // account
    QLineEdit* Text3;   // deposit certificate number
    QLineEdit* Text5;   // amount
    QLineEdit* Text6;   // name
    QComboBox* Combo1;  // remark
    // Labels of the boxes; member 4 is the hint of add mode.
    std::array<QLabel*, 7> Label2;
    QLabel* Label3;  // the batch at a glance: its count and total
    std::array<QPushButton*, 1> Command2;
    std::array<QPushButton*, 1> Command3;
    QPushButton* Command5;
    QPushButton* Command6;  // member 2 of its array, the only one

    BatchDatesFrame* Frame2;
    std::array<QPushButton*, 2> Command4;

    // The code the boxes were last filled for, from the master, the batch or the lookup: leaving
    // the code box on it brings nothing in again.
    QString filledFor_;
    // Set when the click on 確定 that left the code box brought a new payee in.
    bool holdConfirm_ = false;

    // One employee by code, and one transfer record by code.
    DataControl* StaffLookup;
    DataControl* ItemLookup;
    DataControl* Presets;
};

}  // namespace paysum
