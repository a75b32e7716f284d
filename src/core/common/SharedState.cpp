#include "common/SharedState.h"

namespace paysum {

qint16 LookupCaller = 0;
QString LookupResult = QStringLiteral("0");
qint16 ReportOrder = 0;

}  // namespace paysum
