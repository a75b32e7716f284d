#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class QTableView;
class QWidget;

namespace paysum {

// One column of a history grid: its heading, how many characters it shows and whether its
// figures are right-aligned.
struct HistoryColumn {
    QString heading;
    int characters = 0;
    bool rightAligned = false;
};

// The rows of a history grid as the texts it shows, read-only, in the order of a column the
// clerk chose (figures by their value) or as read.
class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    HistoryTableModel(QList<HistoryColumn> columns, QList<QStringList> rows,
                      QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Column -1 is the order the rows were read in.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    const QList<HistoryColumn>& Columns() const { return columns_; }
    // Where the row shown at `row` stood in the rows as read.
    int SourceRow(int row) const { return order_.value(row, -1); }

private:
    QList<HistoryColumn> columns_;
    QList<QStringList> rows_;
    QList<int> order_;
};

// A read-only grid named `name` over `model`: whole rows selected one at a time, in the
// fixed-pitch Chinese font, each column as wide as its characters and heading need, the last one
// taking what is left. Widths come from the font, not from the rows, so that a long history
// opens as fast as a short one. A click on a caption sorts by that column, again to reverse.
QTableView* MakeHistoryGrid(QWidget* parent, const QString& name, HistoryTableModel* model);

}  // namespace paysum
