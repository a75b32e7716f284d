#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace paysum {

// The file that a write to `target` replaces: the file a symbolic link names, so that the file is
// replaced and not the link, else the absolute path.
QString ReplacedFile(const QString& target);

// The name under which a new version of `file` is written beside it until it takes its place:
// the file's name + ".new-" + a fresh UUID, so that a leftover can be told as ours.
QString NewFileBeside(const QString& file);

// Removes what interrupted writes of `file` left beside it: regular files named as NewFileBeside
// names them, with the journal SQLite may keep beside them. Nothing else is touched.
void RemoveLeftoversOf(const QString& file);

// Removes every leftover of an interrupted write inside the data folder (temporary files, a
// journal that SQLite would never play back), and a half-made data folder left beside it; the
// folder holds only the program's own files. Only for the copy that holds the folder's lock,
// before it opens the databases.
void RemoveDataFolderLeftovers(const QString& folder);

// Forces a file's or folder's contents to the disk.
bool SyncToDisk(const QString& path);

// Puts the complete file `newFile` in the place of `file` in one step: synced first, renamed, and
// the folder synced. False, with `error`
// set, when `file` is left as it was.
bool MoveIntoPlace(const QString& newFile, const QString& file, QString* error);

// Gives a file only its owner's read and write (0600), whatever the umask made it.
bool MakePrivate(const QString& path);

// True when a file written at `target` would land in the data folder or be one of its files:
// compared by device and inode, so that every spelling and every symbolic or hard link of the
// folder or of a file in it counts.
bool LandsInDataFolder(const QString& target);

// Why a file the clerk chose may not be written at `target`, or nothing when it may: a missing
// name, a target that is not a regular file (a device, a pipe, a folder), or one that
// LandsInDataFolder().
std::optional<QString> RefuseClerkFile(const QString& target);

// Writes `bytes` as the file the clerk chose at `target`, whole or not at all: refused as
// RefuseClerkFile() says, else written beside it (owner-only, every write checked), synced and
// renamed over it only when complete, so that an earlier file there stays as it was on any
// failure. Leftovers of an earlier interrupted write of the same target are cleared first. Why it
// was not written, or nothing.
std::optional<QString> ReplaceClerkFile(const QString& target, const QByteArray& bytes);

}  // namespace paysum
