#include "maintenance/LookupWindow.h"

#include "common/SharedState.h"
#include "data/DataControl.h"
#include "maintenance/DataGrid.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace paysum {

LookupWindow::LookupWindow(const QString& name, const QString& caption, QWidget* parent)
    : FunctionWindow(name, caption, parent) {
    const QString captions[2] = {QStringLiteral("確定"), QStringLiteral("取消")};
    for (int i = 0; i < 2; ++i) {
        Command2[i] = new QPushButton(captions[i], this);
        Command2[i]->setObjectName(QStringLiteral("Command2_%1").arg(i));
        connect(Command2[i], &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    Adodc1 = new DataControl(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    DataGrid1 = new DataGrid(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
}

void LookupWindow::PlaceButtons(int xTwips, int yTwips, int stepTwips, int widthTwips,
                                int heightTwips) {
    for (int i = 0; i < 2; ++i)
        Command2[i]->setGeometry(
            TwipsRect(xTwips + stepTwips * i, yTwips, widthTwips, heightTwips));
}

void LookupWindow::OpenList(const QString& databasePath, const QString& source,
                            std::vector<GridColumn> columns, std::span<QLineEdit* const> boxes) {
    boxes_.assign(boxes.begin(), boxes.end());
    LookupResult = QStringLiteral("0");
    columns_ = columns;
    Adodc1->SetConnectionString(databasePath);
    Adodc1->SetCommandType(CommandType::Text);
    const DbResult error = Read(source, {});
    DataGrid1->Bind(Adodc1, std::move(columns));
    DataGrid1->AllowSorting();
    connect(DataGrid1, &DataGrid::SortRequested, this, &LookupWindow::SortBy);
    connect(&Adodc1->Recordset(), &Recordset::MoveComplete, this, &LookupWindow::ShowCurrentRow);
    connect(boxes_[0], &QLineEdit::textChanged, this, [this] {
        if (!Busy)
            Text1_Change();
    });
    ShowCurrentRow();
    // Esc closes the window from any control, so every key passes here first.
    InstallKeyPreview();
    if (error)
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

void LookupWindow::ShowCurrentRow() {
    if (Busy)
        return;
    Busy = true;
    const Recordset& records = Adodc1->Recordset();
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setText(records.AtEOF() ? QString() : records.Field(static_cast<int>(i)));
    Busy = false;
}

DbResult LookupWindow::Read(const QString& source, const QVariantList& parameters) {
    source_ = source;
    parameters_ = parameters;
    Adodc1->SetRecordSource(Ordered(source), parameters);
    return Adodc1->Refresh();
}

QString LookupWindow::Ordered(const QString& source) const {
    if (sortColumn_ < 0)
        return source;
    // Only a column of the window's own list is ever named, never a text typed.
    QString order = columns_[static_cast<std::size_t>(sortColumn_)].field;
    if (sortOrder_ == Qt::DescendingOrder)
        order += QStringLiteral(" desc");
    static const QRegularExpression ownOrder(
        QStringLiteral(R"(\s+order\s+by\s+(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = ownOrder.match(source);
    if (!match.hasMatch())
        return source + QStringLiteral(" order by ") + order;
    // Rows alike in the chosen column keep the source's own order; the source's order column
    // chosen upwards is the source unchanged, read a page at a time as before.
    const QString own = match.captured(1).trimmed();
    if (own.compare(order, Qt::CaseInsensitive) == 0)
        return source;
    return source.left(match.capturedStart()) + QStringLiteral(" order by ") + order +
           QStringLiteral(", ") + own;
}

void LookupWindow::SortBy(int column, Qt::SortOrder order) {
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return;
    sortColumn_ = column;
    sortOrder_ = order;
    Narrow(source_, parameters_);
}

void LookupWindow::Narrow(const QString& source, const QVariantList& parameters) {
    Busy = true;
    const DbResult error = Read(source, parameters);
    Busy = false;
    if (error)
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
}

void LookupWindow::Command2_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    ShowCurrentRow();
    LookupResult = boxes_[0]->text().isEmpty() ? QStringLiteral("0") : boxes_[0]->text();
    if (LookupResult != QStringLiteral("0"))
        OnPicked();
    accept();
}

void LookupWindow::KeyUpHere(QObject* watched, int keyCode) {
    if (keyCode == Qt::Key_Escape) {
        Command2_Click(1);
    } else if ((keyCode == Qt::Key_Return || keyCode == Qt::Key_Enter) && watched == boxes_[0]) {
        ShowCurrentRow();
        Command2[0]->setFocus();
    }
}

}  // namespace paysum
