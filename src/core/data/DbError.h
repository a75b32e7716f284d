#pragma once

#include <QSqlError>
#include <QString>

#include <optional>

namespace paysum {

// What went wrong in a database operation; the window that traps it picks its own message.
enum class DbErrorKind {
    FieldTooLong,  // a value does not fit its column
    ReadOnly,      // the file or its folder cannot be written, or another process locks it
    DuplicateKey,  // a second row with the same key
    Other,
};

struct DbError {
    DbErrorKind kind = DbErrorKind::Other;
    int field = -1;      // ordinal of the offending column, where one is known
    int nativeCode = 0;  // SQLite's result code, 0 when the error is our own
    QString message;
};

// The outcome of a database operation: empty on success.
using DbResult = std::optional<DbError>;

// Maps an error reported by Qt's SQLite driver to our kinds.
DbError ToDbError(const QSqlError& error);

}  // namespace paysum
