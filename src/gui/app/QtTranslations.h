#pragma once

#include <QLocale>

namespace paysum {

// Traditional Chinese as written in Taiwan.
QLocale TaiwanLocale();

// Makes Qt's own dialogs speak Taiwan's Chinese in every system locale: loads Qt's Traditional
// Chinese catalogue (qtbase_zh_TW from Qt's translations folder) and the program's own
// translations of what it lacks, makes Taiwan the default locale (dates, numbers, the file
// dialog's file types) and gives time boxes the 24-hour clock. Loads them once per application;
// false when the catalogue is missing.
bool InstallQtTranslations();

}  // namespace paysum
