#include "data/RecordsetModel.h"

#include "data/Recordset.h"

namespace paysum {

RecordsetModel::RecordsetModel(Recordset* recordset, std::vector<GridColumn> columns,
                               QObject* parent)
    : QAbstractTableModel(parent), recordset_(recordset), columns_(std::move(columns)) {
    ResolveOrdinals();
    connect(recordset_, &Recordset::RowsReset, this, [this] {
        beginResetModel();
        ResolveOrdinals();
        endResetModel();
    });
    connect(recordset_, &Recordset::RowUpdated, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
}

void RecordsetModel::ResolveOrdinals() {
    ordinals_.clear();
    for (const GridColumn& column : columns_)
        ordinals_.push_back(recordset_->FieldIndex(column.field));
}

int RecordsetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : recordset_->RecordCount();
}

int RecordsetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant RecordsetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    return recordset_->Value(index.row(), ordinals_[index.column()]);
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return QVariant();
    return columns_[section].caption;
}

}  // namespace paysum
