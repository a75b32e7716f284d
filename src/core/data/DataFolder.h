#pragma once

#include "data/DbError.h"
#include "data/Schema.h"

#include <QString>

namespace paysum {

// The folder holding both database files and the single-instance lock: PAYSUM_DATA_DIR when
// set, else the per-user data folder.
QString DataFolderPath();
QString MainDatabasePath();    // PAYSUM.db: S_BASE, S_STAFF, S_ITEM, S_DAY, NNOO, the history
QString BranchDatabasePath();  // BRANCH.db: RTBANK
QString DatabasePath(DatabaseFile file);

// Creates the data folder of a new installation with both files and every table, empty, where
// there is no folder or an empty one. The folder is built under a temporary name and renamed into
// place, so that it never exists half-made.
DbResult CreateDataFolder(const QString& folder);

// Takes from the data folder and the files in it (the program's own) what group and others may
// do, where they may do anything, and says so once on standard error. The folder is made 0700 and
// its files 0600 when created.
void TightenDataFolder(const QString& folder);

// What a database file is like before it is opened.
enum class FileState {
    Usable,     // a regular file its owner can write
    Missing,    // nothing at that path
    NotUsable,  // not a regular file, or it cannot be made writable
    ReadOnly,   // the file or its folder cannot be written by this process
};

// Checks the database file at `path`; a regular file that its owner cannot write is first made
// writable for the owner.
FileState PrepareDatabaseFile(const QString& path);

// Opens the file as an SQLite database and checks it: a sound file (quick_check) with exactly
// the schema of `file`, once a database of an earlier version has had its later tables added.
DbResult CheckDatabaseFile(const QString& path, DatabaseFile file);

// Frees the memory that holds the pages of the file read so far, which the check read whole: a
// program that goes on to read little of the file need not keep them.
void ReleaseReadPages(const QString& path);

}  // namespace paysum
