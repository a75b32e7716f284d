#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace paysum {

class Recordset;

// One column of a grid: its caption, the field it shows and its width in twips.
struct GridColumn {
    QString caption;
    QString field;
    int widthTwips = 0;
};

// A read-only table model over a record set, with the columns the window asks for; it follows
// every refresh, insertion, deletion and stored change of the record set.
class RecordsetModel : public QAbstractTableModel {
    Q_OBJECT

public:
    RecordsetModel(Recordset* recordset, std::vector<GridColumn> columns,
                   QObject* parent = nullptr);

    const std::vector<GridColumn>& Columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void ResolveOrdinals();

    Recordset* recordset_;
    std::vector<GridColumn> columns_;
    std::vector<int> ordinals_;
};

}  // namespace paysum
