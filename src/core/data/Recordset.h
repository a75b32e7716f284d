#pragma once

#include "data/DbError.h"
#include "data/RowCountCache.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace paysum {

// How a record set reads the rows of one table in a fixed order a page at a time: the rows of
// `table` that `where` admits (empty for all, else a condition with `?` for `parameters`), in
// the order of `orderColumn` (a column whose values no two rows share, or "rowid").
struct PagedSource {
    QString table;
    QString where;
    QVariantList parameters;
    QString orderColumn;
    // For a condition SQLite can answer only by testing every row: what gives the order values
    // of the rows `where` admits, in order, from elsewhere. The set then counts, finds and reads
    // its rows through them.
    std::function<DbResult(QStringList*)> orderValues;
};

// The rows of a data control's last refresh, with a current record. A set read from one table
// in key order fetches its rows a page at a time as moves and grids reach them, counts them in
// the database and finds a key by an indexed look-up; any other set holds the rows it read.
// AddNew/Update and Delete write one row of the file by its rowid. Reading past either end is
// safe: fields then read as the empty text. So does a row that cannot be read; ReadError() and
// ReadCurrent() tell it from an empty row, and SetField and Update() refuse to write it.
class Recordset : public QObject {
    Q_OBJECT

public:
    explicit Recordset(QObject* parent = nullptr);

    // Replaces the rows with `rows` (each with its rowid in front); the first becomes current
    // (EOF when there is none). An empty `table` makes the set read-only.
    void Load(const QString& databasePath, const QString& table, const QStringList& fields,
              std::vector<qint64> rowids, std::vector<QStringList> rows);
    // Reads `source` from now on, `count` rows in all; the first becomes current, read at once.
    // When it cannot be read the set is left empty and the failure returned.
    [[nodiscard]] DbResult LoadPaged(const QString& databasePath, const QStringList& fields,
                                     PagedSource source, int count);
    void Clear();

    bool AtEOF() const;
    bool AtBOF() const;
    int RecordCount() const { return count_ + (PendingNew() ? 1 : 0); }
    // Index of the current row: -1 before the first, RecordCount() after the last.
    int AbsolutePosition() const { return position_; }

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    // Makes row `index` current (a row chosen in a grid); out of range means EOF.
    void MoveTo(int index);
    // Makes the first row at or after the current one whose `field` equals `value` current;
    // EOF when there is none.
    void Find(const QString& field, const QString& value);

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const QStringList& FieldNames() const { return fields_; }
    int FieldIndex(const QString& name) const;

    // A field of the current record (with any assignment not yet stored), by ordinal or name.
    QString Field(int ordinal) const;
    QString Field(const QString& name) const;
    // A field of any row as stored, for grids.
    QString Value(int row, int ordinal) const;

    // The first failure to read rows since the set was loaded (a row that could not be read
    // showed as an empty one), empty when every read succeeded.
    const DbResult& ReadError() const { return readError_; }
    // Reads the current record unless it is read already: the failure when it cannot be read;
    // none past either end.
    [[nodiscard]] DbResult ReadCurrent() const;

    // Assigns a field of the current record; Update() stores it. The failure when there is no
    // such field or no current record, or the record cannot be read; it is kept for Update()
    // too, so that a caller may assign every field and ask once.
    DbResult SetField(int ordinal, const QString& value);
    DbResult SetField(const QString& name, const QString& value);

    // Appends an empty record and makes it current.
    void AddNew();
    // Stores the current record (new or edited). A value wider than its column is refused with
    // FieldTooLong, a text that is not well-formed UTF-16 with Other, and nothing is written. On
    // any failure the assignments are dropped, and a refused new record is taken out again: the
    // record current before AddNew is current. An assignment that failed fails Update() the same
    // way, with nothing written. A stored record of a set read in key order stands where its key
    // puts it; when it cannot be found there the failure is returned too (the row is written, so
    // a transaction around it is to be rolled back).
    [[nodiscard]] DbResult Update();
    // Removes the current record from the file at once; the position stays on the removed
    // record until the next move.
    [[nodiscard]] DbResult Delete();

signals:
    // The current record changed: after every move, find, refresh and AddNew.
    void MoveComplete();
    // Rows were added, removed or replaced.
    void RowsReset();
    // The stored values of one row changed.
    void RowUpdated(int row);

private:
    struct Row {
        qint64 rowid = 0;
        QStringList values;
    };
    struct Edit {
        QStringList values;
        std::vector<bool> dirty;
        bool isNew = false;
        qint64 rowid = 0;  // the row edited, when it is not new
    };

    bool Paged() const { return paged_.has_value(); }
    bool PendingNew() const { return edit_ && edit_->isNew; }
    bool HasCurrent() const;
    // The stored row at `index`, fetched with its page when needed; nullptr past the rows.
    const Row* RowAt(int index) const;
    bool FetchPage(int page) const;
    // Keeps the first failure to read rows since the set was loaded.
    void NoteReadError(const DbError& error) const;
    // A set whose rows are given by their order values (PagedSource::orderValues).
    bool Keyed() const { return Paged() && paged_->orderValues; }
    // Keeps the rows read for a page when they are `whole` (as many as counted, each where it
    // belongs), else notes that the rows changed since they were counted and returns false.
    bool KeepPage(int page, std::vector<Row> rows, bool whole) const;
    // Reads the page's rows by their order values; false when they cannot all be read.
    bool FetchKeyedPage(int page) const;
    // Counts the rows the source admits now: by their order values, taken again, when it gives
    // them.
    DbResult CountSource(int* count) const;
    // Reads the page of row `position` unless it is read already, knowing that the row with
    // `orderValue` stands, or would stand, there; false when it cannot be read.
    bool FetchPageAt(int position, const QVariant& orderValue) const;
    // Appends up to `limit` rows that `condition` (with `orderValue` bound after the source's
    // parameters, when valid) admits, in order, skipping `offset`; counted from the end when
    // `descending`, still appended in order.
    bool ReadRows(const QString& condition, const QVariant& orderValue, bool descending, int limit,
                  int offset, std::vector<Row>* rows) const;
    // Appends the rows `sql` (rowid first, then the fields) reads with `values`.
    bool ReadRowsOf(const QString& sql, const QVariantList& values, std::vector<Row>* rows) const;
    // The value of the order column in a row.
    QVariant OrderValue(const Row& row) const;
    QVariant OrderValue(const QStringList& values, qint64 rowid) const;
    // Where a row with this order value stands, or stands after a write; -1 on a failure.
    int PositionOf(const QVariant& orderValue) const;
    // The source's condition on its rows joined with `extra` (either may be empty), and the same
    // as a WHERE clause (empty when there is no condition).
    QString ConditionWith(const QString& extra) const;
    QString WhereWith(const QString& extra) const;
    // The rows changed in the file: forget the pages read so far.
    void ForgetPages() const;
    // Before a page is read: when the file changed since the rows were counted (a write of
    // another connection, or one through this connection that was not the set's own), counts
    // them again, forgets the pages read and finds the current row again by its key, so that no
    // row is shown at a shifted position. One pragma when the file is unchanged. RowsReset is
    // sent at once when `signalNow`, else queued (a grid may be reading). False, with the
    // failure noted, when the rows cannot be counted or the current row cannot be found again.
    bool Resync(bool signalNow) const;
    // The same before the current row is read, unless its page is read already: false when it
    // cannot be read.
    bool SyncCurrent() const;
    // The same before a move to row `target`, unless its page is read already.
    void ResyncBeforeMoveTo(int target);
    // The set's own write of a row through the connection keeps the rows counted.
    void KeepOwnWriteCounted(qint64 changesBefore);

    void DropEdit();
    void SetPosition(int position);
    DbResult CheckWidths(const Edit& edit) const;
    DbResult Write(const Edit& edit, qint64 rowid, qint64* newRowid);

    QString databasePath_;
    QString table_;
    QStringList fields_;
    std::vector<int> widths_;

    // A set read a page at a time, or all of its rows.
    std::optional<PagedSource> paged_;
    int orderOrdinal_ = -1;  // the order column's ordinal, -1 for the rowid
    mutable std::map<int, std::vector<Row>> pages_;
    // The order values of a keyed set's rows.
    mutable QStringList keys_;
    std::vector<Row> rows_;
    mutable int count_ = 0;
    // The file as it was when the rows were counted.
    mutable std::optional<FileStamp> stamp_;

    mutable int position_ = 0;
    // Set after Delete() until the next move: the removed record is still "current".
    mutable std::optional<QStringList> deletedRow_;
    // Where the removed record stood in a set read in key order: the value of its order column.
    mutable QVariant deletedOrder_;
    std::optional<Edit> edit_;
    // A failed assignment to the current record, given by the next Update().
    DbResult editError_;
    mutable DbResult readError_;
    int positionBeforeAdd_ = 0;
};

}  // namespace paysum
