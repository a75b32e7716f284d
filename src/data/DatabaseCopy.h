#pragma once

#include "data/DbError.h"

#include <QString>

namespace paysum {

// True when both paths name one existing file, however they are spelled: through a symbolic
// link, with "." or "..", by a second spelling of a folder, or as a hard link.
bool IsSameFile(const QString& first, const QString& second);

// Checks a file that is to take the place of the main database, without changing it: it must
// open as an SQLite database, pass the full integrity check and hold every main table with its
// columns.
DbResult CheckMainDatabaseFile(const QString& path);

// Replaces `target` with a consistent copy of the database `source` (backup and restore alike).
// Every connection is closed first. The copy is written beside the target under a temporary name,
// checked, and only then renamed over it, so that a failure at any step leaves the file at
// `target` exactly as it was and an interruption leaves either the old file or the new one.
DbResult CopyDatabase(const QString& source, const QString& target);

}  // namespace paysum
