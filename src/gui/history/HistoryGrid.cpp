#include "history/HistoryGrid.h"

#include "print/Fonts.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <numeric>

namespace paysum {

namespace {

// Draws a cell's text alone, on the selection's colour when its row is chosen: a history cell
// holds plain text, and the style's full item drawing would cost most of the time a grid takes
// to paint.
class PlainTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(QPalette::Highlight));
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        painter->drawText(option.rect.adjusted(kCellMargin, 0, -kCellMargin, 0),
                          static_cast<int>(alignment | Qt::TextSingleLine),
                          index.data().toString());
    }

    static constexpr int kCellMargin = 4;
};

}  // namespace

HistoryTableModel::HistoryTableModel(QList<HistoryColumn> columns, QList<QStringList> rows,
                                     QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), rows_(std::move(rows)) {
    order_.resize(rows_.size());
    std::iota(order_.begin(), order_.end(), 0);
}

void HistoryTableModel::sort(int column, Qt::SortOrder order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<int> sourceRows;
    for (const QModelIndex& index : before)
        sourceRows << order_[index.row()];

    std::iota(order_.begin(), order_.end(), 0);
    if (column >= 0 && column < columns_.size()) {
        const bool figures = columns_[column].rightAligned;
        const auto less = [&](int a, int b) {
            const QString& left = rows_[a].value(column);
            const QString& right = rows_[b].value(column);
            if (figures) {
                bool leftOk = false;
                bool rightOk = false;
                const double l = QString(left).remove(u',').toDouble(&leftOk);
                const double r = QString(right).remove(u',').toDouble(&rightOk);
                if (leftOk && rightOk)
                    return l < r;
            }
            return left < right;
        };
        // Rows alike in the column keep the order they were read in, whichever way.
        std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
            return order == Qt::AscendingOrder ? less(a, b) : less(b, a);
        });
    }

    QList<int> rowOf(order_.size());
    for (int row = 0; row < order_.size(); ++row)
        rowOf[order_[row]] = row;
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i)
        after << index(rowOf[sourceRows[i]], before[i].column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return rows_[order_[index.row()]].value(index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (columns_[index.column()].rightAligned ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
    return {};
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columns_.value(section).heading;
    return QAbstractTableModel::headerData(section, orientation, role);
}

QTableView* MakeHistoryGrid(QWidget* parent, const QString& name, HistoryTableModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setFont(MingFont());
    grid->setItemDelegate(new PlainTextDelegate(grid));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setTabKeyNavigation(false);
    grid->setWordWrap(false);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    // Set once the rows' header is fixed, so that it does not measure every row.
    grid->setModel(model);
    QHeaderView* header = grid->horizontalHeader();
    header->setStretchLastSection(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    grid->setSortingEnabled(true);
    const QFontMetrics cells(grid->font());
    const QFontMetrics headings(header->font());
    const QList<HistoryColumn>& columns = model->Columns();
    for (int c = 0; c < columns.size(); ++c) {
        const int text = cells.horizontalAdvance(QString(columns[c].characters, u'0'));
        const int heading = headings.horizontalAdvance(columns[c].heading);
        grid->setColumnWidth(c, std::max(text, heading) + 16);
    }
    if (model->rowCount() > 0)
        grid->selectRow(0);
    return grid;
}

}  // namespace paysum
