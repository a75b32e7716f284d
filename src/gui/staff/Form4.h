#pragma once

#include "data/DbError.h"
#include "maintenance/MaintenanceWindow.h"
#include "platform/MessageBox.h"
#include "staff/StaffEntry.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;

// The employee master: adds, changes, deletes and finds the employees of S_STAFF, and moves the
// codes above a taken code up by one to make room for a newcomer there.
class Form4 : public MaintenanceWindow {
    Q_OBJECT

public:
    explicit Form4(QWidget* parent = nullptr);

    void Command1_Click(int index) override;

    // True when `code` may be used: it is the code the record had when change mode was chosen,
    // or no employee has it.
    bool check_RID(const QString& code);
    // Makes NewCode free: the consecutive run of employee codes from it moves up by one, with
    // the transfer records of those codes. Runs inside the caller's transaction. When no room can
    // be made it says why and returns false, and nothing has moved; a failure of the database is
    // left in `error` for the caller to show once the transaction is undone.
    bool MakeRoomForCode(DbResult* error);

    // The code box's text when change mode was chosen; empty otherwise.
    QString OldCode;
    // The code being confirmed.
    QString NewCode;

protected:
    QLineEdit* KeyBox() const override;
    QList<QWidget*> EntryBoxes() const override;
    QList<QWidget*> EditSet() const override;
    void ConfirmAdd() override;
    void ConfirmChange() override;
    void ConfirmDelete() override;
    void ConfirmQuery() override;
    // Part of a name typed in the query lists the employees whose names hold it.
    QString TextSelect() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createBoxes();
    void createButtons();
    void createDataControls();
    void placeControls();
    void setFocusOrder();

    // Enter in each box, and the code box losing the focus.
    void Text1_KeyEnter();
    void Text2_KeyEnter();
    void Text3_KeyEnter();
    void Text4_KeyEnter();
    void Text5_KeyEnter();
    void Text1_LostFocus();
    // Enables the certificate-number box for an account of type 016, else empties and disables
    // it.
    void ApplyCertificateRule();

    bool PassesEntryChecks();
    // Stores the boxes as a new employee.
    DbResult AddRecord();
    // Writes the boxes into the current record of `record`, by column name.
    void WriteBoxes(Recordset& record);
    // Rewrites the changed employee's transfer record, if it has one, keeping its remark.
    DbResult RewriteTransfer();
    // Looks up the employee with the code box's code, zero-filled; says "查無資料!!" when there
    // is none.
    bool SearchCode();
    // Fills the boxes from the employee a search found; `trim` removes trailing blanks.
    void ShowFound(bool trim);

    void Refuse(const EntryRefusal& refusal);
    QLineEdit* BoxOf(StaffBox box) const;

    QLineEdit* Text1;  // code
    QLineEdit* Text2;  // account
    QLineEdit* Text3;  // deposit certificate number
    QLineEdit* Text4;  // pay
    QLineEdit* Text5;  // name
    std::array<QLabel*, 4> Label2;
    QLabel* Label3;
    std::array<QPushButton*, 1> Command2;
    QPushButton* Command3;
    // One employee by code, for the duplicate test and the search of query mode.
    DataControl* StaffLookup;
    // The transfer record of the employee being changed.
    DataControl* ItemRecords;
};

}  // namespace paysum
