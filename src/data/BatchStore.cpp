#include "data/BatchStore.h"

#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"

namespace paysum {

DbResult ClearBatch() {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (DbResult error = Execute(db, QStringLiteral("DELETE FROM S_ITEM")))
        return error;
    if (DbResult error = Execute(db, QStringLiteral("DELETE FROM S_DAY")))
        return error;
    return transaction.Commit();
}

}  // namespace paysum
