#pragma once

#include "data/DbError.h"
#include "data/Recordset.h"

#include <QObject>
#include <QString>
#include <QVariantList>

namespace paysum {

// How a data control's record source is read: a table name, or a SELECT text.
enum class CommandType { Table, Text };

// A data control: which database file (the connection string is the file's path), what to read
// from it, and the record set of the last Refresh(). A SELECT text reads with `?` for every
// value a person typed, bound from the parameters; it has the form "select * from TABLE ..."
// when its rows are to be written back.
class DataControl : public QObject {
    Q_OBJECT

public:
    explicit DataControl(QObject* parent = nullptr);

    const QString& ConnectionString() const { return connectionString_; }
    void SetConnectionString(const QString& databasePath) { connectionString_ = databasePath; }
    paysum::CommandType CommandType() const { return commandType_; }
    void SetCommandType(paysum::CommandType type) { commandType_ = type; }
    const QString& RecordSource() const { return recordSource_; }
    void SetRecordSource(const QString& source, const QVariantList& parameters = {});

    // Opens (or re-opens) the record set from the source; the first record becomes current, read
    // at once. On failure (the rows or the first of them cannot be read) the record set is empty.
    [[nodiscard]] DbResult Refresh();

    // Points the control at a whole table of its file and refreshes.
    [[nodiscard]] DbResult PointAt(const QString& table);

    // Reads the rows of a SELECT text with one `?` for `code`; `found` tells whether there is
    // one.
    [[nodiscard]] DbResult LookUp(const QString& source, const QString& code, bool* found);

    paysum::Recordset& Recordset() { return recordset_; }
    const paysum::Recordset& Recordset() const { return recordset_; }

private:
    QString connectionString_;
    paysum::CommandType commandType_ = paysum::CommandType::Table;
    QString recordSource_;
    QVariantList parameters_;
    paysum::Recordset recordset_;
};

}  // namespace paysum
