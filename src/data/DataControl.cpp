#include "data/DataControl.h"

#include "data/Database.h"
#include "data/Schema.h"

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
    if (commandType_ == paysum::CommandType::Table) {
        const TableDef* def = FindTable(recordSource_);
        if (!def) {
            recordset_.Clear();
            return DbError{DbErrorKind::Other, -1, 0,
                           QStringLiteral("unknown table %1").arg(recordSource_)};
        }
        table = QLatin1String(def->name);
        sql = QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(table);
    } else {
        const QRegularExpressionMatch match = SelectAllPattern().match(recordSource_);
        if (match.hasMatch() && FindTable(match.captured(1))) {
            table = QLatin1String(FindTable(match.captured(1))->name);
            sql = recordSource_;
            // Read the rowid in front of the columns, so that rows can be written back.
            const qsizetype star = recordSource_.indexOf(u'*', match.capturedStart(0));
            sql.replace(star, 1, QStringLiteral("rowid, *"));
        } else {
            sql = recordSource_;
        }
    }

    const QSqlDatabase db = Connection(connectionString_);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const bool ok = db.isOpen() && query.prepare(sql) && [&] {
        for (const QVariant& value : parameters_)
            query.addBindValue(value);
        return query.exec();
    }();
    if (!ok) {
        const DbError error = ToDbError(db.isOpen() ? query.lastError() : db.lastError());
        recordset_.Clear();
        return error;
    }

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
    if (query.lastError().isValid()) {
        const DbError error = ToDbError(query.lastError());
        recordset_.Clear();
        return error;
    }
    recordset_.Load(connectionString_, table, fields, std::move(rowids), std::move(rows));
    return std::nullopt;
}

}  // namespace paysum
