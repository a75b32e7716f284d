#include "data/Recordset.h"

#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace paysum {

namespace {

// Rows fetched at a time: a grid page and a little more.
constexpr int kPageSize = 128;

bool IsRowid(const QString& column) {
    return column.compare(QStringLiteral("rowid"), Qt::CaseInsensitive) == 0;
}

// Fewer or more rows than the set counted: the table changed behind its back.
DbError RowsChanged() {
    return DbError{DbErrorKind::Other, -1, 0,
                   QStringLiteral("the rows changed since they were counted")};
}

}  // namespace

Recordset::Recordset(QObject* parent) : QObject(parent) {}

void Recordset::Load(const QString& databasePath, const QString& table, const QStringList& fields,
                     std::vector<qint64> rowids, std::vector<QStringList> rows) {
    databasePath_ = databasePath;
    table_ = table;
    fields_ = fields;
    widths_.clear();
    for (const QString& field : fields_)
        widths_.push_back(ColumnWidth(table_, field));
    paged_.reset();
    stamp_.reset();
    pages_.clear();
    keys_.clear();
    rows_.clear();
    rows_.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows_.push_back(Row{rowids[i], std::move(rows[i])});
    count_ = static_cast<int>(rows_.size());
    position_ = 0;
    deletedRow_.reset();
    deletedOrder_.clear();
    edit_.reset();
    editError_.reset();
    readError_.reset();
    emit RowsReset();
    emit MoveComplete();
}

DbResult Recordset::LoadPaged(const QString& databasePath, const QStringList& fields,
                              PagedSource source, int count) {
    Load(databasePath, source.table, fields, {}, {});
    orderOrdinal_ = IsRowid(source.orderColumn) ? -1 : FieldIndex(source.orderColumn);
    paged_ = std::move(source);
    count_ = count;
    stamp_ = StampNow(Connection(databasePath_));
    if (Keyed()) {
        if (const DbResult error = CountSource(&count_)) {
            Clear();
            return error;
        }
    }
    // The first record is shown next anyway; read now, a failure is the refresh's own.
    if (const DbResult error = ReadCurrent()) {
        Clear();
        return error;
    }
    emit RowsReset();
    emit MoveComplete();
    return std::nullopt;
}

void Recordset::Clear() {
    Load(databasePath_, QString(), fields_, {}, {});
}

// ---- reading rows

QVariant Recordset::OrderValue(const QStringList& values, qint64 rowid) const {
    if (orderOrdinal_ < 0)
        return rowid;
    return values.value(orderOrdinal_);
}

QVariant Recordset::OrderValue(const Row& row) const {
    return OrderValue(row.values, row.rowid);
}

QString Recordset::ConditionWith(const QString& extra) const {
    QStringList conditions;
    if (!paged_->where.isEmpty())
        conditions << QStringLiteral("(%1)").arg(paged_->where);
    if (!extra.isEmpty())
        conditions << extra;
    return conditions.join(QStringLiteral(" AND "));
}

QString Recordset::WhereWith(const QString& extra) const {
    const QString condition = ConditionWith(extra);
    return condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}

bool Recordset::ReadRows(const QString& condition, const QVariant& orderValue, bool descending,
                         int limit, int offset, std::vector<Row>* rows) const {
    QVariantList values = paged_->parameters;
    if (orderValue.isValid())
        values << orderValue;
    const QString sql = QStringLiteral("SELECT rowid, * FROM %1%2 ORDER BY %3%4 LIMIT %5 OFFSET %6")
                            .arg(paged_->table, WhereWith(condition), paged_->orderColumn,
                                 descending ? QStringLiteral(" DESC") : QString())
                            .arg(limit)
                            .arg(offset);
    const std::size_t first = rows->size();
    const bool read = ReadRowsOf(sql, values, rows);
    if (descending)
        std::reverse(rows->begin() + static_cast<std::ptrdiff_t>(first), rows->end());
    return read;
}

bool Recordset::ReadRowsOf(const QString& sql, const QVariantList& values,
                           std::vector<Row>* rows) const {
    QSqlQuery query(Connection(databasePath_));
    if (!RunQuery(query, sql, values)) {
        NoteReadError(ToDbError(query.lastError()));
        return false;
    }
    while (query.next()) {
        Row row{query.value(0).toLongLong(), {}};
        row.values.reserve(FieldCount());
        for (int i = 0; i < FieldCount(); ++i)
            row.values << query.value(i + 1).toString();
        rows->push_back(std::move(row));
    }
    if (query.lastError().isValid()) {
        NoteReadError(ToDbError(query.lastError()));
        return false;
    }
    return true;
}

bool Recordset::FetchKeyedPage(int page) const {
    const int start = page * kPageSize;
    const int size = std::min(kPageSize, count_ - start);
    if (size <= 0)
        return false;
    const QStringList keys = keys_.mid(start, size);
    const QString sql = QStringLiteral("SELECT rowid, * FROM %1 WHERE %2 IN (%3) ORDER BY %2")
                            .arg(paged_->table, paged_->orderColumn,
                                 QStringList(size, QStringLiteral("?")).join(u','));
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(size));
    if (!ReadRowsOf(sql, QVariantList(keys.begin(), keys.end()), &rows))
        return false;
    // Each row read must be the one its order value names, in the same place.
    const bool same = static_cast<int>(rows.size()) == size &&
                      std::equal(rows.begin(), rows.end(), keys.begin(),
                                 [this](const Row& row, const QString& key) {
                                     return OrderValue(row).toString() == key;
                                 });
    return KeepPage(page, std::move(rows), same);
}

bool Recordset::KeepPage(int page, std::vector<Row> rows, bool whole) const {
    if (!whole) {
        NoteReadError(RowsChanged());
        return false;
    }
    pages_[page] = std::move(rows);
    return true;
}

DbResult Recordset::CountSource(int* count) const {
    if (!Keyed())
        return CountRows(Connection(databasePath_), paged_->table, ConditionWith(QString()),
                         paged_->parameters, count);
    QStringList keys;
    if (DbResult error = paged_->orderValues(&keys))
        return error;
    keys_ = std::move(keys);
    *count = static_cast<int>(keys_.size());
    return std::nullopt;
}

void Recordset::NoteReadError(const DbError& error) const {
    if (!readError_)
        readError_ = error;
}

bool Recordset::FetchPage(int page) const {
    if (Keyed())
        return FetchKeyedPage(page);
    const int start = page * kPageSize;
    const int size = std::min(kPageSize, count_ - start);
    if (size <= 0)
        return false;
    const QString& column = paged_->orderColumn;
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(size));
    bool read = false;
    // Next to a page already read the rows are sought by key; elsewhere counted off from the
    // nearer end.
    if (auto before = pages_.find(page - 1); before != pages_.end() && !before->second.empty()) {
        read = ReadRows(column + QStringLiteral(" > ?"), OrderValue(before->second.back()), false,
                        size, 0, &rows);
    } else if (auto after = pages_.find(page + 1);
               after != pages_.end() && !after->second.empty()) {
        read = ReadRows(column + QStringLiteral(" < ?"), OrderValue(after->second.front()), true,
                        size, 0, &rows);
    } else {
        const bool descending = start > count_ / 2;
        read = ReadRows(QString(), QVariant(), descending, size,
                        descending ? count_ - start - size : start, &rows);
    }
    if (!read)
        return false;
    const bool whole = static_cast<int>(rows.size()) == size;
    return KeepPage(page, std::move(rows), whole);
}

bool Recordset::FetchPageAt(int position, const QVariant& orderValue) const {
    const int page = position / kPageSize;
    const int start = page * kPageSize;
    const int size = std::min(kPageSize, count_ - start);
    if (pages_.count(page) || position < 0 || position >= count_)
        return true;
    if (Keyed())
        return FetchKeyedPage(page);
    // The rows before the value are the last ones below it, the rest the first ones from it.
    const QString& column = paged_->orderColumn;
    const int before = position - start;
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(size));
    if (before > 0 &&
        !ReadRows(column + QStringLiteral(" < ?"), orderValue, true, before, 0, &rows))
        return false;
    if (!ReadRows(column + QStringLiteral(" >= ?"), orderValue, false, size - before, 0, &rows))
        return false;
    const bool whole = static_cast<int>(rows.size()) == size;
    return KeepPage(page, std::move(rows), whole);
}

const Recordset::Row* Recordset::RowAt(int index) const {
    if (index < 0 || index >= count_)
        return nullptr;
    if (!Paged())
        return &rows_[static_cast<std::size_t>(index)];
    const int page = index / kPageSize;
    auto found = pages_.find(page);
    if (found == pages_.end()) {
        if (!Resync(false) || index >= count_ || !FetchPage(page))
            return nullptr;
        found = pages_.find(page);
    }
    return &found->second[static_cast<std::size_t>(index % kPageSize)];
}

int Recordset::PositionOf(const QVariant& orderValue) const {
    if (Keyed())
        return static_cast<int>(
            std::lower_bound(keys_.begin(), keys_.end(), orderValue.toString()) - keys_.begin());
    // A page read already may tell without asking the file.
    for (const auto& [page, rows] : pages_) {
        if (rows.empty())
            continue;
        const auto less = [this](const Row& row, const QVariant& value) {
            return orderOrdinal_ < 0 ? row.rowid < value.toLongLong()
                                     : row.values[orderOrdinal_] < value.toString();
        };
        const auto found = std::lower_bound(rows.begin(), rows.end(), orderValue, less);
        if (found != rows.end() && OrderValue(*found) == orderValue)
            return page * kPageSize + static_cast<int>(found - rows.begin());
    }
    // The rows before the value are all rows less those from it on: SQLite counts a whole table
    // from its pages, and rows from a value to the end without comparing each against a bound,
    // several times faster than it counts the rows below a bound.
    const QSqlDatabase db = Connection(databasePath_);
    QVariantList values = paged_->parameters;
    values << orderValue;
    int all = 0;
    int fromValue = 0;
    DbResult error =
        CountRows(db, paged_->table, ConditionWith(QString()), paged_->parameters, &all);
    if (!error)
        error = CountRows(db, paged_->table,
                          ConditionWith(paged_->orderColumn + QStringLiteral(" >= ?")), values,
                          &fromValue);
    if (error) {
        NoteReadError(*error);
        return -1;
    }
    return all - fromValue;
}

void Recordset::ForgetPages() const {
    pages_.clear();
}

bool Recordset::Resync(bool signalNow) const {
    if (!Paged() || !stamp_)
        return true;
    const QSqlDatabase db = Connection(databasePath_);
    const std::optional<FileStamp> now = StampNow(db);
    if (!now || *now == *stamp_)
        return true;
    // The current row is found again by its key: a removed one stands before the next row, a new
    // one and the end after the last, the start before the first.
    QVariant key;
    QStringList values;
    bool keyLost = false;
    if (deletedRow_) {
        key = deletedOrder_;
    } else if (!PendingNew() && position_ >= 0 && position_ < count_) {
        const auto page = pages_.find(position_ / kPageSize);
        if (page != pages_.end()) {
            const Row& row = page->second[static_cast<std::size_t>(position_ % kPageSize)];
            key = OrderValue(row);
            values = row.values;
        } else {
            keyLost = true;
        }
    }
    int count = 0;
    if (DbResult error = CountSource(&count)) {
        NoteReadError(*error);
        return false;
    }
    const bool atEnd = PendingNew() || position_ >= count_;
    stamp_ = now;
    count_ = count;
    ForgetPages();
    bool kept = true;
    if (deletedRow_) {
        const int position = key.isValid() ? PositionOf(key) : -1;
        position_ = position >= 0 ? position : std::min(position_, count_);
    } else if (key.isValid()) {
        const int position = PositionOf(key);
        const Row* row = position >= 0 && FetchPageAt(position, key) ? RowAt(position) : nullptr;
        kept = row && OrderValue(*row) == key;
        if (kept) {
            position_ = position;
        } else {
            // Removed by another connection: the set stays on it as after its own Delete.
            deletedRow_ = values;
            deletedOrder_ = key;
            position_ = position >= 0 ? position : std::min(position_, count_);
        }
    } else if (keyLost) {
        kept = false;
        position_ = std::min(position_, count_);
    } else if (atEnd) {
        position_ = count_;
    }
    if (!kept)
        NoteReadError(RowsChanged());
    auto* self = const_cast<Recordset*>(this);
    if (signalNow)
        emit self->RowsReset();
    else
        QMetaObject::invokeMethod(
            self, [self] { emit self->RowsReset(); }, Qt::QueuedConnection);
    return kept;
}

bool Recordset::SyncCurrent() const {
    if (!Paged() || !HasCurrent() || edit_ || pages_.count(position_ / kPageSize))
        return true;
    return Resync(false);
}

void Recordset::ResyncBeforeMoveTo(int target) {
    if (Paged() && target >= 0 && target < count_ && !pages_.count(target / kPageSize))
        Resync(true);
}

void Recordset::KeepOwnWriteCounted(qint64 changesBefore) {
    if (stamp_ && stamp_->ownChanges == changesBefore)
        stamp_->ownChanges = OwnChanges(Connection(databasePath_));
}

// ---- position

bool Recordset::AtEOF() const {
    // An empty set is at both ends wherever the position stands, as after stepping back from
    // the deleted only row.
    return !deletedRow_ && (position_ >= RecordCount() || RecordCount() == 0);
}

bool Recordset::AtBOF() const {
    return !deletedRow_ && (position_ < 0 || RecordCount() == 0);
}

bool Recordset::HasCurrent() const {
    return !deletedRow_ && position_ >= 0 && position_ < RecordCount();
}

void Recordset::DropEdit() {
    if (PendingNew()) {
        // Back on the record that was current before AddNew.
        edit_.reset();
        position_ = std::min(positionBeforeAdd_, RecordCount());
        emit RowsReset();
    }
    edit_.reset();
    editError_.reset();
}

void Recordset::SetPosition(int position) {
    position_ = std::clamp(position, -1, RecordCount());
    deletedRow_.reset();
    emit MoveComplete();
}

void Recordset::MoveFirst() {
    DropEdit();
    ResyncBeforeMoveTo(0);
    SetPosition(0);
}

void Recordset::MoveNext() {
    DropEdit();
    // After a delete the next record already stands at the current index.
    ResyncBeforeMoveTo(deletedRow_ ? position_ : position_ + 1);
    SetPosition(deletedRow_ ? position_ : position_ + 1);
}

void Recordset::MovePrevious() {
    DropEdit();
    ResyncBeforeMoveTo(position_ - 1);
    SetPosition(position_ - 1);
}

void Recordset::MoveLast() {
    DropEdit();
    ResyncBeforeMoveTo(RecordCount() - 1);
    SetPosition(RecordCount() == 0 ? 0 : RecordCount() - 1);
}

void Recordset::MoveTo(int index) {
    DropEdit();
    ResyncBeforeMoveTo(index);
    SetPosition(index < 0 ? RecordCount() : index);
}

void Recordset::Find(const QString& field, const QString& value) {
    DropEdit();
    Resync(true);
    const int ordinal = FieldIndex(field);
    const int from = std::max(position_, 0);
    if (ordinal < 0) {
        SetPosition(RecordCount());
        return;
    }
    if (Paged() && ordinal == orderOrdinal_) {
        // The order column holds each value once: where the value would stand is counted on the
        // key, and the row there, which is shown next anyway, tells whether it is the value.
        const int position = PositionOf(value);
        const Row* row =
            position >= from && FetchPageAt(position, value) ? RowAt(position) : nullptr;
        SetPosition(row && row->values[ordinal] == value ? position : RecordCount());
        return;
    }
    int row = from;
    for (const Row* current = RowAt(row); current && current->values[ordinal] != value;
         current = RowAt(row))
        ++row;
    SetPosition(std::min(row, RecordCount()));
}

int Recordset::FieldIndex(const QString& name) const {
    for (int i = 0; i < fields_.size(); ++i) {
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// ---- fields

QString Recordset::Field(int ordinal) const {
    if (ordinal < 0 || ordinal >= FieldCount())
        return QString();
    const bool synced = SyncCurrent();
    if (deletedRow_)
        return deletedRow_->value(ordinal);
    if (edit_)
        return edit_->values[ordinal];
    const Row* row = synced && HasCurrent() ? RowAt(position_) : nullptr;
    return row ? row->values[ordinal] : QString();
}

QString Recordset::Field(const QString& name) const {
    return Field(FieldIndex(name));
}

QString Recordset::Value(int row, int ordinal) const {
    if (ordinal < 0 || ordinal >= FieldCount())
        return QString();
    const Row* stored = RowAt(row);
    return stored ? stored->values[ordinal] : QString();
}

DbResult Recordset::ReadCurrent() const {
    if (!HasCurrent() || edit_)
        return std::nullopt;
    // A current row that another connection removed meanwhile cannot be read either.
    if (SyncCurrent() && HasCurrent() && RowAt(position_))
        return std::nullopt;
    return readError_
               ? readError_
               : DbError{DbErrorKind::Other, -1, 0, QStringLiteral("the row cannot be read")};
}

DbResult Recordset::SetField(int ordinal, const QString& value) {
    DbResult error;
    if (ordinal < 0 || ordinal >= FieldCount())
        error = DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no such field")};
    else if (!HasCurrent())
        error = DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no current record")};
    else if (!edit_)
        error = ReadCurrent();
    if (error) {
        if (!editError_)
            editError_ = error;
        return error;
    }
    if (!edit_)
        edit_ = Edit{RowAt(position_)->values, std::vector<bool>(fields_.size(), false), false,
                     RowAt(position_)->rowid};
    edit_->values[ordinal] = value;
    edit_->dirty[ordinal] = true;
    return std::nullopt;
}

DbResult Recordset::SetField(const QString& name, const QString& value) {
    return SetField(FieldIndex(name), value);
}

// ---- writing

void Recordset::AddNew() {
    DropEdit();
    positionBeforeAdd_ = position_;
    deletedRow_.reset();
    edit_ = Edit{QStringList(FieldCount()), std::vector<bool>(fields_.size(), false), true};
    position_ = count_;
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

DbResult Recordset::Write(const Edit& edit, qint64 rowid, qint64* newRowid) {
    if (DbResult error = CheckWidths(edit))
        return error;
    QStringList columns;
    QVariantList values;
    for (int i = 0; i < FieldCount(); ++i) {
        if (edit.isNew || edit.dirty[i]) {
            columns << fields_[i];
            // A null QString would be bound as NULL; the columns hold empty texts instead.
            values << (edit.values[i].isNull() ? QStringLiteral("") : edit.values[i]);
        }
    }
    QString sql;
    if (edit.isNew) {
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table_, columns.join(u','),
                       QStringList(columns.size(), QStringLiteral("?")).join(u','));
    } else {
        for (QString& column : columns)
            column += QStringLiteral("=?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(table_, columns.join(u','));
        values << rowid;
    }
    int changed = 0;
    const QSqlDatabase db = Connection(databasePath_);
    const qint64 changesBefore = OwnChanges(db);
    if (DbResult error =
            WriteTable(db, table_, [&] { return Execute(db, sql, values, &changed, newRowid); }))
        return error;
    KeepOwnWriteCounted(changesBefore);
    if (!edit.isNew && changed != 1)
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("the row is gone")};
    return std::nullopt;
}

DbResult Recordset::Update() {
    if (editError_) {
        const DbError error = *editError_;
        const bool wasNew = PendingNew();
        DropEdit();
        if (wasNew)
            SetPosition(position_);
        return error;
    }
    if (!edit_)
        return std::nullopt;
    if (table_.isEmpty()) {
        DropEdit();
        return DbError{DbErrorKind::ReadOnly, -1, 0, QStringLiteral("read-only record set")};
    }
    const Edit edit = *edit_;
    // The row edited by its rowid: where it stands may have moved since it was read.
    qint64 rowid = edit.isNew ? 0 : edit.rowid;
    if (DbResult error = Write(edit, rowid, &rowid)) {
        DropEdit();
        if (edit.isNew)
            SetPosition(position_);
        return error;
    }
    edit_.reset();

    if (!Paged()) {
        if (edit.isNew) {
            rows_.push_back(Row{rowid, edit.values});
            count_ = static_cast<int>(rows_.size());
            position_ = count_ - 1;
        } else {
            rows_[static_cast<std::size_t>(position_)].values = edit.values;
        }
        emit RowUpdated(position_);
        return std::nullopt;
    }
    // A set read in key order: the stored row stands where its key puts it now.
    const bool moved = edit.isNew || (orderOrdinal_ >= 0 && edit.dirty[orderOrdinal_]);
    if (!moved) {
        if (const auto page = pages_.find(position_ / kPageSize); page != pages_.end()) {
            Row& row = page->second[static_cast<std::size_t>(position_ % kPageSize)];
            if (row.rowid == edit.rowid)
                row.values = edit.values;
        }
        emit RowUpdated(position_);
        return std::nullopt;
    }
    if (Keyed()) {
        // Whether the stored row is among those the source admits, its order values tell.
        if (DbResult error = CountSource(&count_)) {
            NoteReadError(*error);
            count_ = 0;
        }
    } else if (edit.isNew) {
        ++count_;
    }
    ForgetPages();
    const QVariant orderValue = OrderValue(edit.values, rowid);
    const int position = PositionOf(orderValue);
    position_ = position >= 0 ? position : count_;
    // The grid shows the stored row next: its page is read around its key, not counted off.
    const bool found = position >= 0 && FetchPageAt(position_, orderValue);
    emit RowsReset();
    if (!found)
        return readError_ ? readError_ : RowsChanged();
    return std::nullopt;
}

DbResult Recordset::Delete() {
    if (!HasCurrent())
        return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no current record")};
    if (PendingNew()) {
        deletedRow_ = edit_->values;
        edit_.reset();
        emit RowsReset();
        return std::nullopt;
    }
    edit_.reset();
    if (table_.isEmpty())
        return DbError{DbErrorKind::ReadOnly, -1, 0, QStringLiteral("read-only record set")};
    if (DbResult error = ReadCurrent())
        return error;
    const Row* row = RowAt(position_);
    const Row removed = *row;
    const QSqlDatabase db = Connection(databasePath_);
    const qint64 changesBefore = OwnChanges(db);
    if (DbResult error = WriteTable(db, table_, [&] {
            return Execute(db, QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(table_),
                           {removed.rowid});
        }))
        return error;
    KeepOwnWriteCounted(changesBefore);
    deletedRow_ = removed.values;
    deletedOrder_ = Paged() ? OrderValue(removed) : QVariant();
    if (Keyed() && position_ < keys_.size())
        keys_.removeAt(position_);
    if (Paged())
        ForgetPages();
    else
        rows_.erase(rows_.begin() + position_);
    --count_;
    emit RowsReset();
    return std::nullopt;
}

}  // namespace paysum
