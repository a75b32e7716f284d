#pragma once

namespace paysum {

// Loads Qt's own Traditional Chinese catalogue (qtbase_zh_TW from Qt's translations folder) and
// the few print dialog texts it lacks into the running application, so that Qt's file and print
// dialogs and the standard buttons of message boxes speak Chinese. Loads them once per
// application; false when the catalogue is missing.
bool InstallQtTranslations();

}  // namespace paysum
