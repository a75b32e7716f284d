#pragma once

#include <QFile>
#include <QString>

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

// Writes a file that replaces `target` whole or not at all: the bytes go to a new file beside it,
// which takes the target's place on Commit(). Leftovers of an earlier interrupted write of the
// same target are removed on Open(); a write that is not committed leaves nothing behind.
class FileReplacement {
public:
    explicit FileReplacement(const QString& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool Open();
    QIODevice& Device() { return file_; }
    bool Commit();

private:
    QString target_;
    QFile file_;
    bool committed_ = false;
};

}  // namespace paysum
