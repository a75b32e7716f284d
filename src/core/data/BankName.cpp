#include "data/BankName.h"

#include "common/TextRules.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"

namespace paysum {

QString BankNameOf(const QString& code) {
    DataControl bank;
    bank.SetConnectionString(BranchDatabasePath());
    bank.SetCommandType(CommandType::Text);
    bank.SetRecordSource(QStringLiteral("select * from RTBANK where BKBRNO = ? order by BKBRNO"),
                         {code});
    if (bank.Refresh() || bank.Recordset().AtEOF())
        return QStringLiteral("[代碼檔未建]");
    return u'[' + TrimBlanks(bank.Recordset().Field(QStringLiteral("FNAME"))) + u']';
}

}  // namespace paysum
