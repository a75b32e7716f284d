#pragma once

#include "data/DbError.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace paysum {

// The rows that a data control read on its last refresh, with a current record. Moves and
// finds run in memory; AddNew/Update and Delete write one row of the file by its rowid.
// Reading past either end is safe: fields then read as the empty text.
class Recordset : public QObject {
    Q_OBJECT

public:
    explicit Recordset(QObject* parent = nullptr);

    // Replaces the rows; the first becomes current (EOF when there is none). An empty `table`
    // makes the set read-only.
    void Load(const QString& databasePath, const QString& table, const QStringList& fields,
              std::vector<qint64> rowids, std::vector<QStringList> rows);
    void Clear();

    bool AtEOF() const;
    bool AtBOF() const;
    int RecordCount() const { return static_cast<int>(rows_.size()); }
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

    // Assigns a field of the current record; Update() stores it.
    void SetField(int ordinal, const QString& value);
    void SetField(const QString& name, const QString& value);

    // Appends an empty record and makes it current.
    void AddNew();
    // Stores the current record (new or edited). A value wider than its column is refused with
    // FieldTooLong, a text that is not well-formed UTF-16 with Other, and nothing is written. On
    // any failure the assignments are dropped, and a refused new record is taken out again: the
    // record current before AddNew is current.
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
    struct Edit {
        QStringList values;
        std::vector<bool> dirty;
        bool isNew = false;
    };

    bool HasCurrent() const;
    void DropEdit();
    void SetPosition(int position);
    DbResult CheckWidths(const Edit& edit) const;

    QString databasePath_;
    QString table_;
    QStringList fields_;
    std::vector<int> widths_;
    std::vector<qint64> rowids_;
    std::vector<QStringList> rows_;
    int position_ = 0;
    // Set after Delete() until the next move: the removed record is still "current".
    std::optional<QStringList> deletedRow_;
    std::optional<Edit> edit_;
    int positionBeforeAdd_ = 0;
};

}  // namespace paysum
