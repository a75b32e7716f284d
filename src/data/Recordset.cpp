#include "data/Recordset.h"

#include "data/Database.h"
#include "data/Schema.h"

#include <QSqlQuery>

namespace paysum {

Recordset::Recordset(QObject* parent) : QObject(parent) {}

void Recordset::Load(const QString& databasePath, const QString& table, const QStringList& fields,
                     std::vector<qint64> rowids, std::vector<QStringList> rows) {
    databasePath_ = databasePath;
    table_ = table;
    fields_ = fields;
    widths_.clear();
    for (const QString& field : fields_)
        widths_.push_back(ColumnWidth(table_, field));
    rowids_ = std::move(rowids);
    rows_ = std::move(rows);
    position_ = 0;
    deletedRow_.reset();
    edit_.reset();
    emit RowsReset();
    emit MoveComplete();
}

void Recordset::Clear() {
    Load(databasePath_, QString(), fields_, {}, {});
}

bool Recordset::AtEOF() const {
    // An empty set is at both ends wherever the position stands, as after stepping back from
    // the deleted only row.
    return !deletedRow_ && (position_ >= RecordCount() || rows_.empty());
}

bool Recordset::AtBOF() const {
    return !deletedRow_ && (position_ < 0 || rows_.empty());
}

bool Recordset::HasCurrent() const {
    return !deletedRow_ && position_ >= 0 && position_ < RecordCount();
}

void Recordset::DropEdit() {
    if (edit_ && edit_->isNew) {
        rows_.erase(rows_.begin() + position_);
        rowids_.erase(rowids_.begin() + position_);
        // Back on the record that was current before AddNew.
        position_ = std::min(positionBeforeAdd_, RecordCount());
        edit_.reset();
        emit RowsReset();
    }
    edit_.reset();
}

void Recordset::SetPosition(int position) {
    position_ = std::clamp(position, -1, RecordCount());
    deletedRow_.reset();
    emit MoveComplete();
}

void Recordset::MoveFirst() {
    DropEdit();
    SetPosition(0);
}

void Recordset::MoveNext() {
    DropEdit();
    // After a delete the next record already stands at the current index.
    SetPosition(deletedRow_ ? position_ : position_ + 1);
}

void Recordset::MovePrevious() {
    DropEdit();
    SetPosition(position_ - 1);
}

void Recordset::MoveLast() {
    DropEdit();
    SetPosition(rows_.empty() ? 0 : RecordCount() - 1);
}

void Recordset::MoveTo(int index) {
    DropEdit();
    SetPosition(index < 0 ? RecordCount() : index);
}

void Recordset::Find(const QString& field, const QString& value) {
    DropEdit();
    const int ordinal = FieldIndex(field);
    int row = std::max(position_, 0);
    if (ordinal >= 0) {
        while (row < RecordCount() && rows_[row][ordinal] != value)
            ++row;
    } else {
        row = RecordCount();
    }
    SetPosition(row);
}

int Recordset::FieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString Recordset::Field(int ordinal) const {
    if (ordinal < 0 || ordinal >= FieldCount())
        return QString();
    if (deletedRow_)
        return deletedRow_->value(ordinal);
    if (edit_)
        return edit_->values[ordinal];
    return HasCurrent() ? rows_[position_][ordinal] : QString();
}

QString Recordset::Field(const QString& name) const {
    return Field(FieldIndex(name));
}

QString Recordset::Value(int row, int ordinal) const {
    if (row < 0 || row >= RecordCount() || ordinal < 0 || ordinal >= FieldCount())
        return QString();
    return rows_[row][ordinal];
}

void Recordset::SetField(int ordinal, const QString& value) {
    if (!HasCurrent() || ordinal < 0 || ordinal >= FieldCount())
        return;
    if (!edit_)
        edit_ = Edit{rows_[position_], std::vector<bool>(fields_.size(), false), false};
    edit_->values[ordinal] = value;
    edit_->dirty[ordinal] = true;
}

void Recordset::SetField(const QString& name, const QString& value) {
    SetField(FieldIndex(name), value);
}

void Recordset::AddNew() {
    DropEdit();
    QStringList empty;
    for (int i = 0; i < FieldCount(); ++i)
        empty << QString();
    positionBeforeAdd_ = position_;
    rows_.push_back(empty);
    rowids_.push_back(0);
    position_ = RecordCount() - 1;
    deletedRow_.reset();
    edit_ = Edit{empty, std::vector<bool>(fields_.size(), false), true};
    emit RowsReset();
    emit MoveComplete();
}

DbResult Recordset::CheckWidths(const Edit& edit) const {
    for (int i = 0; i < FieldCount(); ++i) {
        if (!edit.dirty[i])
            continue;
        // Half a character (a lone surrogate) would be stored as a replacement character.
        if (!QStringView(edit.values[i]).isValidUtf16()) {
            DbError error;
            error.field = i;
            error.message = QStringLiteral("%1 holds half a character").arg(fields_[i]);
            return error;
        }
        if (widths_[i] >= 0 && edit.values[i].toUcs4().size() > widths_[i]) {
            DbError error;
            error.kind = DbErrorKind::FieldTooLong;
            error.field = i;
            error.message =
                QStringLiteral("%1 holds at most %2 characters").arg(fields_[i]).arg(widths_[i]);
            return error;
        }
    }
    return std::nullopt;
}

DbResult Recordset::Update() {
    if (!edit_)
        return std::nullopt;
    if (table_.isEmpty()) {
        DropEdit();
        return DbError{DbErrorKind::ReadOnly, -1, 0, QStringLiteral("read-only record set")};
    }
    DbResult result = CheckWidths(*edit_);
    if (!result) {
        QStringList columns;
        QVariantList values;
        for (int i = 0; i < FieldCount(); ++i) {
            if (edit_->isNew || edit_->dirty[i]) {
                columns << fields_[i];
                // A null QString would be bound as NULL; the columns hold empty texts instead.
                values << (edit_->values[i].isNull() ? QStringLiteral("") : edit_->values[i]);
            }
        }
        const QSqlDatabase db = Connection(databasePath_);
        QSqlQuery query(db);
        QString sql;
        if (edit_->isNew) {
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(table_, columns.join(u','),
                           QStringList(columns.size(), QStringLiteral("?")).join(u','));
        } else {
            for (QString& column : columns)
                column += QStringLiteral("=?");
            sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table_, columns.join(u','));
            values << rowids_[position_];
        }
        if (!db.isOpen()) {
            result = ToDbError(db.lastError());
        } else if (!query.prepare(sql)) {
            result = ToDbError(query.lastError());
        } else {
            for (const QVariant& value : values)
                query.addBindValue(value);
            if (!query.exec())
                result = ToDbError(query.lastError());
            else if (!edit_->isNew && query.numRowsAffected() != 1)
                result = DbError{DbErrorKind::Other, -1, 0, QStringLiteral("the row is gone")};
            else if (edit_->isNew)
                rowids_[position_] = query.lastInsertId().toLongLong();
        }
    }
    if (result) {
        const bool wasNew = edit_->isNew;
        DropEdit();
        if (wasNew)
            SetPosition(position_);
        return result;
    }
    rows_[position_] = edit_->values;
    edit_.reset();
    emit RowUpdated(position_);
    return std::nullopt;
}

DbResult Recordset::Delete() {
    if (!HasCurrent())
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no current record")};
    if (edit_ && edit_->isNew) {
        deletedRow_ = edit_->values;
        edit_.reset();
    } else {
        edit_.reset();
        if (table_.isEmpty())
            return DbError{DbErrorKind::ReadOnly, -1, 0, QStringLiteral("read-only record set")};
        if (DbResult error = Execute(Connection(databasePath_),
                                     QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(table_),
                                     {rowids_[position_]}))
            return error;
        deletedRow_ = rows_[position_];
    }
    rows_.erase(rows_.begin() + position_);
    rowids_.erase(rowids_.begin() + position_);
    emit RowsReset();
    return std::nullopt;
}

}  // namespace paysum
