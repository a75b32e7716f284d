#pragma once

#include "data/RecordsetModel.h"
#include "data/SchemaTable.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QWidget;

namespace paysum {

// What the bank code table window and the bank code lookup share.

// Makes the labelled code, short name and full name boxes (Label2_i, Text1_i), one under the
// other from y, with their maximum lengths; positions are in twips.
void MakeBankBoxes(QWidget* window, int yTwips, int fullNameWidthTwips,
                   std::array<QLabel*, 3>& labels, std::array<QLineEdit*, 3>& boxes);

// The grid columns of the table: code, short name, full name.
std::vector<GridColumn> BankGridColumns();

// Why an entry of the bank code table cannot be stored: the message (shown with the critical
// icon and OK), its title, and the box that gets the focus.
struct BankEntryRefusal {
    int box = 0;
    QString text;
    QString title;
};

// The widest each box of a bank code entry may be, in Big5 bytes: code, short name, full name.
inline constexpr std::array<int, 3> kBankEntryLimits = {ColumnWidth("RTBANK", "BKBRNO"),
                                                        ColumnWidth("RTBANK", "BNAME"),
                                                        ColumnWidth("RTBANK", "FNAME")};

// Checks an entry of the bank code table (code, short name, full name) in the order the clerk
// is told about it: the code's length, its check digit, then each box's width and blankness.
// Empty when the entry may be stored.
std::optional<BankEntryRefusal> CheckBankCodeEntry(const std::array<QString, 3>& boxes);

}  // namespace paysum
