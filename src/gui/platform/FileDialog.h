#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QWidget;

namespace paysum {

// What a window asks of the file dialog.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString folder;   // where the dialog starts; empty for the dialog's own choice
    QString filters;  // Qt filter text, e.g. "目的資料 (*.db)"
    QString selectedFilter;
    bool confirmOverwrite = true;  // Save: ask before replacing an existing file
    QString defaultSuffix;         // Save: put on a name that does not end in it, e.g. "db"
};

// `path` ending in `.suffix` (any case): as it is when it does, else with the suffix added.
QString WithSuffix(const QString& path, const QString& suffix);

// A file's modification time and size as the file dialog lists them in every locale:
// "2026/12/07 09:05", "512 位元組", "1.5 KB".
QString FileTimeText(const QDateTime& time);
QString FileSizeText(qint64 bytes);

// The folders of removable media mounted for the user (under /media/USER and /run/media/USER).
QStringList RemovableMediaFolders();
// The places the file dialog lists on its side, those that exist: the home folder, the desktop,
// the `media` folders and the computer.
QList<QUrl> FileDialogPlaces(const QStringList& media);

// Shows Qt's open or save dialog; the chosen path (a saved one with the default suffix), or an
// empty text when the user cancels.
QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request);

// Tests answer the file dialog through a hook that gets the request and returns the path (empty
// for cancel). An empty hook shows the dialog again.
using FileDialogHook = std::function<QString(const FileDialogRequest& request)>;
void SetFileDialogHook(FileDialogHook hook);

}  // namespace paysum
