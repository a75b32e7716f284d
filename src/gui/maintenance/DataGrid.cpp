#include "maintenance/DataGrid.h"

#include "data/DataControl.h"
#include "platform/Twips.h"

#include <QHeaderView>

namespace paysum {

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void DataGrid::Bind(DataControl* control, std::vector<GridColumn> columns) {
    control_ = control;
    model_ = new RecordsetModel(&control->Recordset(), std::move(columns), this);
    setModel(model_);
    for (int i = 0; i < model_->columnCount(); ++i)
        setColumnWidth(i, Px(model_->Columns()[i].widthTwips));
    connect(&control->Recordset(), &Recordset::MoveComplete, this, &DataGrid::FollowCurrentRecord);
    connect(&control->Recordset(), &Recordset::RowsReset, this, &DataGrid::FollowCurrentRecord);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DataGrid::PickRow);
    FollowCurrentRecord();
}

void DataGrid::AllowSorting() {
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    // A click on a caption turns the indicator: up on a new column, reversed on the same one.
    connect(header, &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                if (column >= 0)
                    emit SortRequested(column, order);
            });
}

void DataGrid::FollowCurrentRecord() {
    const Recordset& records = control_->Recordset();
    const int row = records.AbsolutePosition();
    following_ = true;
    if (row >= 0 && row < records.RecordCount()) {
        const QModelIndex index = model_->index(row, 0);
        selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    following_ = false;
}

void DataGrid::PickRow(const QModelIndex& current) {
    if (following_ || !current.isValid() ||
        current.row() == control_->Recordset().AbsolutePosition())
        return;
    control_->Recordset().MoveTo(current.row());
}

}  // namespace paysum
