#include "data/PayRunHistory.h"

#include "common/Amounts.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/Schema.h"
#include "data/TableRows.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace paysum {

namespace {

// The places of a written file's columns in a table that holds them (S_FILE and H_RUN name them
// alike).
struct FileColumns {
    int name, size, sha256, count, total, time;
};

consteval FileColumns FileColumnsOf(std::string_view table) {
    return {ColumnIndex(table, "FNAME"),   ColumnIndex(table, "FSIZE"),
            ColumnIndex(table, "FSHA256"), ColumnIndex(table, "FCOUNT"),
            ColumnIndex(table, "FTOTAL"),  ColumnIndex(table, "FTIME")};
}

constexpr FileColumns kBatchFile = FileColumnsOf("S_FILE");
constexpr FileColumns kRunFile = FileColumnsOf("H_RUN");

// An empty row of a table, each column to be set by name.
QStringList BlankRow(const TableDef& table) {
    return QStringList(static_cast<qsizetype>(table.columns.size()), QStringLiteral(""));
}

void SetFile(QStringList& row, const FileColumns& at, const WrittenFile& file) {
    row[at.name] = file.name;
    // A file that was never written, or whose batch has changed since, keeps only its name.
    if (file.IsEmpty())
        return;
    row[at.size] = QString::number(file.size);
    row[at.sha256] = file.sha256;
    row[at.count] = QString::number(file.count);
    row[at.total] = QString::number(file.total);
    row[at.time] = file.writtenAt;
}

WrittenFile FileFrom(const QStringList& row, const FileColumns& at) {
    WrittenFile file;
    file.name = row.value(at.name);
    file.size = row.value(at.size).toLongLong();
    file.sha256 = row.value(at.sha256);
    file.count = row.value(at.count).toInt();
    file.total = row.value(at.total).toLongLong();
    file.writtenAt = row.value(at.time);
    return file;
}

// Sets each column of `to` that `from` has too, by name, to the value `from` holds.
void CopyByName(const TableDef& from, const QStringList& fromRow, const TableDef& to,
                QStringList& toRow) {
    for (std::size_t i = 0; i < from.columns.size(); ++i) {
        const int at = OrdinalOf(to, from.columns[i].name);
        if (at >= 0)
            toRow[at] = fromRow.value(static_cast<qsizetype>(i));
    }
}

// The values of a table's columns, by name, out of a row of another table that holds them.
QStringList ValuesByName(const TableDef& of, const TableDef& in, const QStringList& inRow) {
    QStringList values = BlankRow(of);
    CopyByName(in, inRow, of, values);
    return values;
}

PayRunSummary SummaryFrom(const QStringList& row) {
    PayRunSummary summary;
    summary.run = row.value(ColumnIndex("H_RUN", "RUN")).toLongLong();
    summary.archivedAt = row.value(ColumnIndex("H_RUN", "ARCHIVED"));
    summary.loginDate = row.value(ColumnIndex("H_RUN", "LDATE"));
    summary.transferDate = row.value(ColumnIndex("H_RUN", "TDATE"));
    summary.count = row.value(ColumnIndex("H_RUN", "COUNT")).toInt();
    summary.total = row.value(ColumnIndex("H_RUN", "TOTAL")).toLongLong();
    summary.file = FileFrom(row, kRunFile);
    return summary;
}

// The table's first row, or a row of empty values when it has none.
DbResult ReadFirstRow(const QSqlDatabase& db, const TableDef& table, QStringList* row) {
    QList<QStringList> rows;
    if (DbResult error = ReadRows(db, QLatin1String(table.name), &rows))
        return error;
    *row = rows.isEmpty() ? BlankRow(table) : rows.first();
    return std::nullopt;
}

// H_RUN's row of the run; empty when the run is not kept.
DbResult ReadRunRow(const QSqlDatabase& db, qint64 run, QStringList* row) {
    QList<QStringList> rows;
    if (DbResult error =
            ReadQueryRows(db, QStringLiteral("SELECT * FROM H_RUN WHERE RUN = ?"), {run}, &rows))
        return error;
    *row = rows.value(0);
    return std::nullopt;
}

DbError NoRun(qint64 run) {
    return DbError{DbErrorKind::Other, -1, 0, QStringLiteral("no pay run %1").arg(run)};
}

DbResult HoldsTransfers(const QSqlDatabase& db, bool* holds) {
    QList<QStringList> held;
    if (DbResult error =
            ReadQueryRows(db, QStringLiteral("SELECT 1 FROM S_ITEM LIMIT 1"), {}, &held))
        return error;
    *holds = !held.isEmpty();
    return std::nullopt;
}

DbResult ReplaceWrittenFile(const QSqlDatabase& db, const WrittenFile& file) {
    if (DbResult error = Execute(db, QStringLiteral("DELETE FROM S_FILE")))
        return error;
    if (file.name.isEmpty())
        return std::nullopt;
    QStringList row = BlankRow(TableNamed("S_FILE"));
    SetFile(row, kBatchFile, file);
    return InsertRows(db, QStringLiteral("S_FILE"), {row});
}

}  // namespace

DbResult ReadPayRuns(std::vector<PayRunSummary>* runs) {
    runs->clear();
    QList<QStringList> rows;
    if (DbResult error = ReadRows(Connection(MainDatabasePath()), QStringLiteral("H_RUN"), &rows,
                                  QStringLiteral("RUN DESC")))
        return error;
    runs->reserve(static_cast<std::size_t>(rows.size()));
    for (const QStringList& row : rows)
        runs->push_back(SummaryFrom(row));
    return std::nullopt;
}

DbResult ReadPayRun(qint64 run, PayRun* payRun, bool* kept) {
    *payRun = PayRun{};
    if (kept)
        *kept = false;
    const QSqlDatabase db = Connection(MainDatabasePath());
    QStringList row;
    if (DbResult error = ReadRunRow(db, run, &row))
        return error;
    if (row.isEmpty()) {
        if (kept)
            return std::nullopt;
        return NoRun(run);
    }
    if (kept)
        *kept = true;
    payRun->summary = SummaryFrom(row);
    payRun->company = ValuesByName(TableNamed("S_BASE"), TableNamed("H_RUN"), row);
    return ReadQueryRows(db,
                         QStringLiteral("SELECT ID, ACTNO, PAYSUM, NAME, AT, MARK FROM H_ITEM "
                                        "WHERE RUN = ? ORDER BY rowid"),
                         {run}, &payRun->items);
}

DbResult ReadLastRunTransfers(QList<QStringList>* transfers) {
    return ReadQueryRows(Connection(MainDatabasePath()),
                         QStringLiteral("SELECT ACTNO, PAYSUM FROM H_ITEM "
                                        "WHERE RUN = (SELECT MAX(RUN) FROM H_RUN) ORDER BY rowid"),
                         {}, transfers);
}

DbResult RecordWrittenFile(const WrittenFile& file) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (DbResult error = transaction.BeginError())
        return error;
    if (DbResult error = ReplaceWrittenFile(db, file))
        return error;
    return transaction.Commit();
}

DbResult ReadWrittenFile(WrittenFile* file) {
    QStringList row;
    if (DbResult error = ReadFirstRow(Connection(MainDatabasePath()), TableNamed("S_FILE"), &row))
        return error;
    *file = FileFrom(row, kBatchFile);
    return std::nullopt;
}

DbResult WriteTable(const QSqlDatabase& db, const QString& table,
                    const std::function<DbResult()>& write) {
    if (table.compare(QLatin1String("S_ITEM"), Qt::CaseInsensitive) != 0)
        return write();
    std::optional<Transaction> own;
    if (!InTransaction(db))
        own.emplace(db);
    if (DbResult error = write())
        return error;
    // The name stays, so that the clerk can be told which file no longer holds the batch.
    if (DbResult error = Execute(db, QStringLiteral("UPDATE S_FILE SET FSIZE = '', FSHA256 = '', "
                                                    "FCOUNT = '', FTOTAL = '', FTIME = ''")))
        return error;
    return own ? own->Commit() : std::nullopt;
}

DbResult ReadBatchTotal(const QString& exceptCode, qint64* total) {
    int count = 0;
    return ReadBatchCountAndTotal(&count, total,
                                  exceptCode.isNull() ? QStringLiteral("") : exceptCode);
}

DbResult ReadBatchCountAndTotal(int* count, qint64* total, const QString& exceptCode) {
    *count = 0;
    *total = 0;
    QList<QStringList> rows;
    // Amounts are at most twelve digits and a batch a few thousand rows: the sum cannot overflow.
    QString sql = QStringLiteral(
        "SELECT count(*), COALESCE(SUM(CAST(trim(PAYSUM) AS INTEGER)), 0) FROM S_ITEM");
    QVariantList values;
    if (!exceptCode.isNull()) {
        sql += QStringLiteral(" WHERE ID <> ?");
        values << exceptCode;
    }
    if (DbResult error = ReadQueryRows(Connection(MainDatabasePath()), sql, values, &rows))
        return error;
    *count = rows.value(0).value(0).toInt();
    *total = rows.value(0).value(1).toLongLong();
    return std::nullopt;
}

DbResult ArchiveAndClearBatch(const QDateTime& now, qint64* archivedRun) {
    if (archivedRun)
        *archivedRun = 0;
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (DbResult error = transaction.BeginError())
        return error;
    QList<QStringList> amounts;
    if (DbResult error =
            ReadQueryRows(db, QStringLiteral("SELECT PAYSUM FROM S_ITEM"), {}, &amounts))
        return error;
    qint64 archived = 0;
    if (!amounts.isEmpty()) {
        qint64 total = 0;
        for (const QStringList& amount : amounts)
            total = AddAmounts(total, AmountOf(amount.value(0)));
        QStringList company;
        QStringList days;
        QStringList file;
        QList<QStringList> next;
        if (DbResult error = ReadFirstRow(db, TableNamed("S_BASE"), &company))
            return error;
        if (DbResult error = ReadFirstRow(db, TableNamed("S_DAY"), &days))
            return error;
        if (DbResult error = ReadFirstRow(db, TableNamed("S_FILE"), &file))
            return error;
        if (DbResult error = ReadQueryRows(
                db, QStringLiteral("SELECT COALESCE(MAX(RUN), 0) + 1 FROM H_RUN"), {}, &next))
            return error;
        const QString run = next.value(0).value(0);
        archived = run.toLongLong();
        if (run.toLongLong() > kLastRunNumber)
            return DbError{DbErrorKind::Other, -1, 0,
                           QStringLiteral("run %1 is past the last run number").arg(run)};
        const TableDef& runs = TableNamed("H_RUN");
        QStringList summary = BlankRow(runs);
        CopyByName(TableNamed("S_DAY"), days, runs, summary);
        CopyByName(TableNamed("S_BASE"), company, runs, summary);
        CopyByName(TableNamed("S_FILE"), file, runs, summary);
        summary[ColumnIndex("H_RUN", "RUN")] = run;
        summary[ColumnIndex("H_RUN", "ARCHIVED")] = now.toString(kHistoryTimeFormat);
        summary[ColumnIndex("H_RUN", "COUNT")] = QString::number(amounts.size());
        summary[ColumnIndex("H_RUN", "TOTAL")] = QString::number(total);
        if (DbResult error = InsertRows(db, QStringLiteral("H_RUN"), {summary}))
            return error;
        if (DbResult error = Execute(
                db,
                QStringLiteral("INSERT INTO H_ITEM (RUN, ID, ACTNO, PAYSUM, NAME, AT, MARK) "
                               "SELECT ?, ID, ACTNO, PAYSUM, NAME, AT, MARK FROM S_ITEM "
                               "ORDER BY rowid"),
                {run.toLongLong()}))
            return error;
    }
    for (const char* table : {"S_ITEM", "S_DAY", "S_FILE"}) {
        if (DbResult error =
                Execute(db, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table))))
            return error;
    }
    if (DbResult error = transaction.Commit())
        return error;
    if (archivedRun)
        *archivedRun = archived;
    return std::nullopt;
}

DbResult BatchHoldsTransfers(bool* holds) {
    *holds = false;
    return HoldsTransfers(Connection(MainDatabasePath()), holds);
}

DbResult BringBackPayRun(qint64 run, BringBack* outcome) {
    *outcome = BringBack::BatchNotEmpty;
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (DbResult error = transaction.BeginError())
        return error;
    // The transfers are copied by the database; only the run's dates and file are read here.
    QStringList row;
    if (DbResult error = ReadRunRow(db, run, &row))
        return error;
    if (row.isEmpty())
        return NoRun(run);
    const PayRunSummary summary = SummaryFrom(row);
    bool held = false;
    if (DbResult error = HoldsTransfers(db, &held))
        return error;
    if (held)
        return std::nullopt;
    if (DbResult error = Execute(db,
                                 QStringLiteral("INSERT INTO S_ITEM (ID, ACTNO, PAYSUM, NAME, AT, "
                                                "MARK) SELECT ID, ACTNO, PAYSUM, NAME, AT, MARK "
                                                "FROM H_ITEM WHERE RUN = ? ORDER BY rowid"),
                                 {run}))
        return error;
    if (DbResult error = Execute(db, QStringLiteral("DELETE FROM S_DAY")))
        return error;
    if (!summary.loginDate.isEmpty() || !summary.transferDate.isEmpty()) {
        QStringList days = BlankRow(TableNamed("S_DAY"));
        days[ColumnIndex("S_DAY", "LDATE")] = summary.loginDate;
        days[ColumnIndex("S_DAY", "TDATE")] = summary.transferDate;
        if (DbResult error = InsertRows(db, QStringLiteral("S_DAY"), {days}))
            return error;
    }
    if (DbResult error = ReplaceWrittenFile(db, summary.file))
        return error;
    if (DbResult error = transaction.Commit())
        return error;
    *outcome = BringBack::Done;
    return std::nullopt;
}

DbResult ReadPayeeChecks(std::vector<PayeeCheck>* checks) {
    checks->clear();
    QList<QStringList> rows;
    if (DbResult error = ReadQueryRows(
            Connection(MainDatabasePath()),
            QStringLiteral("SELECT i.ID, i.ACTNO, i.PAYSUM, s.ID IS NOT NULL, s.ACTNO, s.PAYSUM "
                           "FROM S_ITEM i LEFT JOIN S_STAFF s ON s.ID = i.ID ORDER BY i.rowid"),
            {}, &rows))
        return error;
    checks->reserve(static_cast<std::size_t>(rows.size()));
    for (const QStringList& row : rows)
        checks->push_back({row[0], row[1], row[2], row[3] == u"1", row[4], row[5]});
    return std::nullopt;
}

DbResult ReadItemsWithChecks(QList<QStringList>* items, std::vector<PayeeCheck>* checks) {
    checks->clear();
    const auto columns = static_cast<qsizetype>(TableNamed("S_ITEM").columns.size());
    if (DbResult error = ReadQueryRows(
            Connection(MainDatabasePath()),
            QStringLiteral("SELECT i.*, s.ID IS NOT NULL, s.ACTNO, s.PAYSUM "
                           "FROM S_ITEM i LEFT JOIN S_STAFF s ON s.ID = i.ID ORDER BY i.rowid"),
            {}, items))
        return error;
    checks->reserve(static_cast<std::size_t>(items->size()));
    for (QStringList& row : *items) {
        checks->push_back({row[ColumnIndex("S_ITEM", "ID")], row[ColumnIndex("S_ITEM", "ACTNO")],
                           row[ColumnIndex("S_ITEM", "PAYSUM")], row[columns] == u"1",
                           row[columns + 1], row[columns + 2]});
        row.resize(columns);
    }
    return std::nullopt;
}

}  // namespace paysum
