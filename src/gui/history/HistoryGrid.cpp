#include "history/HistoryGrid.h"

#include "print/Fonts.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

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
    : QAbstractTableModel(parent), columns_(std::move(columns)), rows_(std::move(rows)) {}

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
        return rows_[index.row()].value(index.column());
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
