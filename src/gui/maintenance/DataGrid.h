#pragma once

#include "data/RecordsetModel.h"

#include <QTableView>

#include <vector>

namespace paysum {

class DataControl;

// A read-only grid bound to a data control: it lists the record set with the columns a window
// gives, keeps the current record selected, and makes a row the user picks the current record.
class DataGrid : public QTableView {
    Q_OBJECT

public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Binds the grid to the control's record set; column widths are in twips.
    void Bind(DataControl* control, std::vector<GridColumn> columns);

    // Lets a click on a column's caption ask for the rows in that column's order (again for the
    // reverse), shown on the caption; the window reads them so. A grid that does not allow it
    // keeps the order its window reads.
    void AllowSorting();

signals:
    void SortRequested(int column, Qt::SortOrder order);

private:
    void FollowCurrentRecord();
    void PickRow(const QModelIndex& current);

    DataControl* control_ = nullptr;
    RecordsetModel* model_ = nullptr;
    bool following_ = false;
};

}  // namespace paysum
