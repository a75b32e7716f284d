#include "data/BankName.h"

#include "common/TextRules.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/TableRows.h"

namespace paysum {

QString BankNameOf(const QString& code) {
    QList<QStringList> rows;
    if (ReadQueryRows(Connection(BranchDatabasePath()),
                      QStringLiteral("SELECT FNAME FROM RTBANK WHERE BKBRNO = ? ORDER BY BKBRNO"),
                      {code}, &rows) ||
        rows.isEmpty())
        return QStringLiteral("[代碼檔未建]");
    return u'[' + TrimBlanks(rows[0].value(0)) + u']';
}

}  // namespace paysum
