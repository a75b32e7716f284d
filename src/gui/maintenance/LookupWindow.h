#pragma once

#include "data/DbError.h"
#include "data/RecordsetModel.h"
#include "platform/FunctionWindow.h"

#include <QVariantList>

#include <array>
#include <span>
#include <vector>

class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;
class DataGrid;

// The frame the lookup windows share: a list of a table that narrows as a code is typed, the
// current row shown in boxes, 確定 handing the code back through LookupResult ("0" for none) and
// 取消. Esc closes the window from any control; Enter in the code box shows the listed row and
// moves to 確定. A click on a column's caption lists the rows in that column's order.
class LookupWindow : public FunctionWindow {
    Q_OBJECT

public:
    // 0 確定 hands the current row's code back and closes; 1 取消 closes without a choice.
    void Command2_Click(int index);
    // Puts the current row into the boxes, or empties them when the list is empty.
    void ShowCurrentRow();

    // True while the window re-queries or shows a row itself: the current row is then not
    // shown and the list is not narrowed.
    bool Busy = false;

protected:
    LookupWindow(const QString& name, const QString& caption, QWidget* parent);

    // Places 確定 and 取消 side by side, in twips.
    void PlaceButtons(int xTwips, int yTwips, int stepTwips, int widthTwips, int heightTwips);
    // Opens the list of `databasePath` on `source`; box i shows column i of the current row and
    // boxes[0], the code box, narrows the list as it is typed in.
    void OpenList(const QString& databasePath, const QString& source,
                  std::vector<GridColumn> columns, std::span<QLineEdit* const> boxes);
    // Narrows the list as the code box's text changed.
    virtual void Text1_Change() = 0;
    // Reads the list from `source` again, with the window busy meanwhile.
    void Narrow(const QString& source, const QVariantList& parameters = {});
    // Runs on 確定 once LookupResult holds a picked code.
    virtual void OnPicked() {}

    void KeyUpHere(QObject* watched, int keyCode) override;

    DataControl* Adodc1;
    DataGrid* DataGrid1;
    std::array<QPushButton*, 2> Command2;

private:
    // Reads `source` with `parameters` in the order the clerk chose; an error when it fails.
    DbResult Read(const QString& source, const QVariantList& parameters);
    // `source` ordered by the chosen column first, its own order after (or unchanged while no
    // column is chosen).
    QString Ordered(const QString& source) const;
    void SortBy(int column, Qt::SortOrder order);

    std::vector<QLineEdit*> boxes_;
    std::vector<GridColumn> columns_;
    QString source_;
    QVariantList parameters_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace paysum
