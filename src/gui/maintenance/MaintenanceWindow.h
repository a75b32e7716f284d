#pragma once

#include "data/DbError.h"
#include "data/RecordsetModel.h"
#include "platform/FunctionWindow.h"

#include <QList>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace paysum {

class DataControl;
class DataGrid;
class Recordset;

// The frame that the record maintenance windows share: a grid of the table, a row of entry
// boxes, the command bar of six mode buttons with their function keys, confirm and cancel, and
// the caption that shows the window's title or the mode in force. A window adds its boxes, the
// column each box shows, its edit set, its SQL texts and what confirm does in each mode.
class MaintenanceWindow : public FunctionWindow {
    Q_OBJECT

public:
    // The modes of EditMode.
    enum Mode : qint16 { kAdd = 0, kChange = 1, kDelete = 2, kQuery = 3, kReset = 4, kIdle = 5 };

    // What a window tells the frame about itself.
    struct Setup {
        QString name;          // window name, e.g. "Form6"
        QString caption;       // window caption
        QString title;         // the caption label while idle
        QString databasePath;  // the file the table lives in
        QString loadSelect;    // record source when the window loads
        QString fullSelect;    // the whole table in key order, for re-reads
        QString prefixSelect;  // the query filter; its two `?` take KeyPrefixRange of the key box
        std::vector<GridColumn> columns;
    };

    // Command bar click: 0 to 4 choose a mode, 5 leaves the window.
    virtual void Command1_Click(int index);
    // Key release at window level, whichever control has the focus.
    void Form_KeyUp(int keyCode);
    // Confirm array click: index 0 runs the confirm action of the mode in force.
    virtual void Command2_Click(int index);
    // The cancel button: abandons the entry, re-reads the table and returns to idle.
    virtual void CancelEntry();

    // The record source the query lists for a typed text other than digits, one `?` for the
    // text; empty (the default) where the key box takes digits alone.
    virtual QString TextSelect() const { return QString(); }

    virtual void EnterMode();
    virtual void ResetToIdle();
    void ShowCurrentRecord();
    void RequeryAll();

    qint16 EditMode = kIdle;

protected:
    MaintenanceWindow(Setup setup, QWidget* parent);

    // Runs once the window has made its boxes: opens the record set, binds the grid, starts idle
    // and lets the window see every key first.
    void Form_Load();

    // The key box: the record's code. The query filter runs on its text.
    virtual QLineEdit* KeyBox() const = 0;
    // Every entry box, and the boxes enabled while adding or changing.
    virtual QList<QWidget*> EntryBoxes() const = 0;
    virtual QList<QWidget*> EditSet() const = 0;
    // The confirm action of each mode.
    virtual void ConfirmAdd() = 0;
    virtual void ConfirmChange() = 0;
    virtual void ConfirmDelete() = 0;
    virtual void ConfirmQuery() = 0;
    // Puts the current record into the boxes; by default each box of the column map gets its
    // column as text.
    virtual void FillBoxes(const Recordset& record);

    // Which box shows which column, by the column's name, for FillBoxes and FillMappedBoxes.
    void SetColumnMap(std::vector<std::pair<QWidget*, QString>> map);
    // Puts each mapped column of `record` into its box, in the map's order, but for the boxes
    // `leftOut`; the boxes `trimmed` get their column without its trailing blanks.
    void FillMappedBoxes(const Recordset& record, const QList<QWidget*>& leftOut = {},
                         const QList<QWidget*>& trimmed = {});
    // The window's confirm and cancel buttons, visible only while a mode is in force; they run
    // Command2_Click(0) and CancelEntry().
    void SetConfirmButtons(QPushButton* confirm, QPushButton* cancel);
    // Places the command bar: buttons 0 to 4 from x, 1200 twips apart; button 5 at exitX.
    void PlaceCommandBar(int xTwips, int yTwips, int exitXTwips);

    // Puts a text into an entry box: a line edit, or an editable combo box.
    static void SetBoxText(QWidget* box, const QString& text);
    void EmptyBoxes();
    void SetBoxesEnabled(const QList<QWidget*>& boxes, bool enabled);
    // Shows "不可預期的錯誤" for a database failure the window has no message of its own for.
    void ReportUnexpected(const DbResult& error);
    // Re-reads the table keeping the mode and the boxes, with the record whose `field` is `value`
    // current (the first record when there is none).
    void RereadKeeping(const QString& field, const QString& value);
    // A write of the store sequence. One that refuses after saying why sets `refused`; whatever
    // it did is undone and nothing more happens.
    using StoreWrite = std::function<DbResult(bool& refused)>;
    // The one store sequence of the window's own writes: `write` runs in one transaction (with
    // Busy set), committed when it succeeds. On a failure the transaction is rolled back first,
    // then the table is read again keeping the clerk's place (the record that was current,
    // found by `keyField`), the mode and the boxes, and only then is the failure reported
    // (ReportStoreError), so that nothing shown was never kept. True when the write is stored.
    [[nodiscard]] bool StoreInTransaction(const QString& keyField, const StoreWrite& write);
    // The whole table after a write of the window's own has committed, with the record whose
    // `field` is `value` current. A set that lists the whole table holds the write as a re-read
    // would, so only a filtered set is read again (which ends idle); otherwise the mode stays.
    void ShowAllWith(const QString& field, const QString& value);
    // Shows a failed write of the window's own; by default as unexpected.
    virtual void ReportStoreError(const DbError& error);
    // Deletes the grid's current record after "確定刪除" (titled `title`) and asks whether to
    // go on; an emptied table ends idle.
    void DeleteCurrentRecord(const QString& title);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing the window by its frame leaves it as 離開 does.
    void reject() override;

    Recordset& Records();

    DataControl* Adodc1;
    DataGrid* DataGrid1;
    QLabel* Label1;
    std::array<QPushButton*, 6> Command1;
    // True while the window re-queries, filters or rewrites its own record set: the current
    // record is then not shown and the query filter does not run.
    bool Busy = false;

private:
    void QueryFilter();

    Setup setup_;
    // True while the record set lists the whole table as its last read found it.
    bool listsAll_ = false;
    std::vector<std::pair<QWidget*, QString>> columnMap_;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace paysum
