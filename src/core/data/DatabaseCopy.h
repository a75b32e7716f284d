#pragma once

#include "data/DbError.h"

#include <QString>

namespace paysum {

// True when both paths name one existing file, however they are spelled: through a symbolic
// link, with "." or "..", by a second spelling of a folder, or as a hard link.
bool IsSameFile(const QString& first, const QString& second);

// Checks a copy of the main database without changing it: it must open as an SQLite database,
// pass the full integrity check and have exactly our schema.
DbResult CheckMainDatabaseFile(const QString& path);

// Checks that the database `source` can be restored, without writing anything: a sound SQLite
// file whose main tables have our columns, every value a text that is well-formed and fits its
// column, no key twice.
DbResult CheckRestoreSource(const QString& source);

// Replaces `target` with a consistent copy of the main database `source` (a backup). Every
// connection is closed first. The copy is written beside the target under a temporary name,
// checked, and only then renamed over it, so that a failure at any step leaves the file at
// `target` exactly as it was and an interruption leaves either the old file or the new one.
DbResult CopyDatabase(const QString& source, const QString& target);

// Replaces `target` with a new database of our own schema holding the rows of the main tables of
// `source`, every value checked as CheckRestoreSource() does; nothing of the source's schema comes
// along. Replaced as CopyDatabase() replaces.
DbResult RestoreDatabase(const QString& source, const QString& target);

}  // namespace paysum
