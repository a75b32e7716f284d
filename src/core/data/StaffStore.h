#pragma once

#include "data/DbError.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace paysum {

// Reading and moving the codes of the employee master (S_STAFF) and of the batch's transfer
// records (S_ITEM), and the record sources that read them.

// The whole employee master in code order.
QString StaffSelectAll();
// The employees whose code begins with a prefix: two `?` for KeyPrefixRange(prefix).
QString StaffSelectByPrefix();
// The employees whose name holds a text anywhere (its beginning included), in code order: one
// `?` for the text, in which `%`, `_` and quotes are plain characters and ASCII letters match
// either case. A paged read of it finds the codes in the names held in memory (StaffNames.h).
QString StaffSelectByName();
// The condition of StaffSelectByName(), one `?` for the text.
QString NameHoldsCondition();
// Whether a text typed where a code or a name may go is part of a name: anything but digits.
bool IsPartOfName(const QString& typed);
// The employee with a code: one `?` for the code.
QString StaffSelectByCode();
// The transfer record with a code: one `?` for the code.
QString ItemSelectByCode();
// The batch's transfer records in code order.
QString ItemSelectAll();
// The transfer records whose code begins with a prefix: two `?` for KeyPrefixRange(prefix).
QString ItemSelectByPrefix();

// The temporary payee codes run from 90001 to 99999.
constexpr int kFirstTemporaryCode = 90001;
constexpr int kLastTemporaryCode = 99999;

// The smallest temporary payee code that no employee of S_STAFF has, or the empty text when
// every one is taken.
DbResult NextTemporaryCode(const QSqlDatabase& db, QString* code);

// The five-digit codes of `table` (S_STAFF or S_ITEM) from `code` up to `last`, in code order;
// with `consecutive` only as far as they follow each other without a gap, so that reading a
// run costs the run, not the table.
DbResult ReadCodesFrom(const QSqlDatabase& db, const QString& table, const QString& code,
                       QStringList* codes, const QString& last = QStringLiteral("99999"),
                       bool consecutive = false);

// Moves the `count` consecutive five-digit codes `first` to `last` up by one, in S_STAFF and in
// S_ITEM alike. Runs inside the caller's transaction; the codes above `last` must be free. Fails,
// for the caller to roll back, when S_STAFF does not hold exactly `count` codes in that range.
DbResult ShiftCodesUp(const QSqlDatabase& db, const QString& first, const QString& last, int count);

}  // namespace paysum
