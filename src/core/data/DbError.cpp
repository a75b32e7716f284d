#include "data/DbError.h"

#include <QSqlError>

namespace paysum {

namespace {

// SQLite primary result codes (the low byte of an extended code).
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteConstraint = 19;
// Extended codes for a broken unique or primary key.
constexpr int kSqliteConstraintPrimaryKey = 1555;
constexpr int kSqliteConstraintUnique = 2067;

}  // namespace

DbError ToDbError(const QSqlError& error) {
    DbError result;
    result.nativeCode = error.nativeErrorCode().toInt();
    result.message = error.text();
    switch (result.nativeCode & 0xff) {
        case kSqliteBusy:
        case kSqliteLocked:
        case kSqliteReadOnly:
            result.kind = DbErrorKind::ReadOnly;
            break;
        case kSqliteConstraint:
            if (result.nativeCode == kSqliteConstraintUnique ||
                result.nativeCode == kSqliteConstraintPrimaryKey)
                result.kind = DbErrorKind::DuplicateKey;
            break;
        default:
            break;
    }
    return result;
}

}  // namespace paysum
