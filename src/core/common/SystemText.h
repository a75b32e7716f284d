#pragma once

#include <QString>

namespace paysum {

// The clerk's words for a system error number (errno), in place of the system's English.
QString SystemErrorText(int error);

}  // namespace paysum
