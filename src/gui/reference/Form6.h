#pragma once

#include "maintenance/MaintenanceWindow.h"

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

// The bank code table: one row per financial-institution branch, with its seven-digit code,
// short name and full name, kept on the record maintenance frame.
class Form6 : public MaintenanceWindow {
    Q_OBJECT

public:
    explicit Form6(QWidget* parent = nullptr);

    // Index 1 is the cancel button, which 離開 also runs.
    void Command2_Click(int index) override;
    // Abandons the entry; a query in force is dropped by re-reading the whole table.
    void CancelEntry() override;

protected:
    QLineEdit* KeyBox() const override;
    QList<QWidget*> EntryBoxes() const override;
    QList<QWidget*> EditSet() const override;
    void ConfirmAdd() override;
    void ConfirmChange() override;
    void ConfirmDelete() override;
    void ConfirmQuery() override;
    // Tells the clerk why a store was refused; nothing has been written.
    void ReportStoreError(const DbError& error) override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createLayout();
    void configureBoxes();

    // Shows why the boxes cannot be stored and puts the focus on the box at fault; true when
    // they can.
    bool ValidateEntry();

    std::array<QLabel*, 3> Label2;
    std::array<QLineEdit*, 3> Text1;
    std::array<QPushButton*, 2> Command2;
};

}  // namespace paysum
