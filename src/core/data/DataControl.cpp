#include "data/DataControl.h"

#include "data/Database.h"
#include "data/Schema.h"
#include "data/StaffNames.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace paysum {

namespace {

// "select * from TABLE ..." with the table name captured; such a text can read the rowids too.
const QRegularExpression& SelectAllPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+\[?(\w+)\]?)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// "select * from TABLE [where CONDITION] order by COLUMN": the table, the condition and the
// column captured.
const QRegularExpression& OrderedSelectPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(^\s*select\s+\*\s+from\s+\[?(\w+)\]?(?:\s+where\s+(.*?))?\s+order\s+by\s+\[?(\w+)\]?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

// True when `column` orders the rows of `table` one way only: its key, or the rowid.
bool IsOrderColumn(const QString& table, const QString& column) {
    const TableDef* def = FindTable(table);
    if (!def)
        return false;
    return column.compare(QStringLiteral("rowid"), Qt::CaseInsensitive) == 0 ||
           (def->key && column.compare(QLatin1String(def->key), Qt::CaseInsensitive) == 0);
}

}  // namespace

DataControl::DataControl(QObject* parent) : QObject(parent), recordset_(this) {}

void DataControl::SetRecordSource(const QString& source, const QVariantList& parameters) {
    recordSource_ = source;
    parameters_ = parameters;
}

DbResult DataControl::PointAt(const QString& table) {
    SetCommandType(paysum::CommandType::Table);
    SetRecordSource(table);
    return Refresh();
}

DbResult DataControl::LookUp(const QString& source, const QString& code, bool* found) {
    SetCommandType(paysum::CommandType::Text);
    SetRecordSource(source, {code});
    const DbResult error = Refresh();
    *found = !error && !recordset_.AtEOF();
    return error;
}

DbResult DataControl::Refresh() {
    QString table;
    QString sql;
    std::optional<PagedSource> paged;
    if (commandType_ == paysum::CommandType::Table) {
        const TableDef* def = FindTable(recordSource_);
        if (!def) {
            recordset_.Clear();
            return DbError{DbErrorKind::Other, -1, 0,
                           QStringLiteral("unknown table %1").arg(recordSource_)};
        }
        table = QLatin1String(def->name);
        paged = PagedSource{table, QString(), {}, QStringLiteral("rowid"), {}};
    } else if (const QRegularExpressionMatch ordered = OrderedSelectPattern().match(recordSource_);
               ordered.hasMatch() && IsOrderColumn(ordered.captured(1), ordered.captured(3))) {
        table = QLatin1String(FindTable(ordered.captured(1))->name);
        paged = PagedSource{table, ordered.captured(2), parameters_, ordered.captured(3),
                            OrderValuesFromMemory(connectionString_, table, ordered.captured(2),
                                                  parameters_, ordered.captured(3))};
    } else {
        const QRegularExpressionMatch match = SelectAllPattern().match(recordSource_);
        sql = recordSource_;
        if (match.hasMatch() && FindTable(match.captured(1))) {
            table = QLatin1String(FindTable(match.captured(1))->name);
            // Read the rowid in front of the columns, so that rows can be written back.
            const qsizetype star = recordSource_.indexOf(u'*', match.capturedStart(0));
            sql.replace(star, 1, QStringLiteral("rowid, *"));
        }
    }

    const QSqlDatabase db = Connection(connectionString_);
    QSqlQuery query(db);
    const auto run = [&](const QString& text, const QVariantList& values) {
        return db.isOpen() && RunQuery(query, text, values);
    };
    const auto fail = [&] {
        const DbError error = ToDbError(db.isOpen() ? query.lastError() : db.lastError());
        recordset_.Clear();
        return error;
    };

    if (paged) {
        // The rows are counted now (or by the set, from their order values) and read as they
        // are reached.
        int count = 0;
        const DbResult error = paged->orderValues
                                   ? std::nullopt
                                   : CountRows(db, table, paged->where, paged->parameters, &count);
        if (error) {
            recordset_.Clear();
            return error;
        }
        QStringList fields;
        for (const ColumnDef& column : FindTable(table)->columns)
            fields << QLatin1String(column.name);
        return recordset_.LoadPaged(connectionString_, fields, std::move(*paged), count);
    }

    if (!run(sql, parameters_))
        return fail();
    const QSqlRecord record = query.record();
    const int first = table.isEmpty() ? 0 : 1;
    QStringList fields;
    for (int i = first; i < record.count(); ++i)
        fields << record.fieldName(i);
    std::vector<qint64> rowids;
    std::vector<QStringList> rows;
    while (query.next()) {
        QStringList row;
        row.reserve(fields.size());
        for (int i = first; i < record.count(); ++i)
            row << query.value(i).toString();
        rowids.push_back(first ? query.value(0).toLongLong() : 0);
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        return fail();
    recordset_.Load(connectionString_, table, fields, std::move(rowids), std::move(rows));
    return std::nullopt;
}

}  // namespace paysum
