#pragma once

#include <QString>

namespace paysum {

// The branch's full name in square brackets for a seven-digit branch code, looked up in the
// bank code table; "[代碼檔未建]" when the code is not there or the table cannot be read.
QString BankNameOf(const QString& code);

}  // namespace paysum
