#include "platform/FileDialog.h"

#include "platform/Modal.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QSplitter>
#include <QStandardPaths>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

namespace paysum {

namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

// The save dialog puts the suffix on a typed name before it asks about replacing a file, so the
// question is about the file that will really be written.
class SuffixedFileDialog : public QFileDialog {
public:
    SuffixedFileDialog(QWidget* parent, const FileDialogRequest& request)
        : QFileDialog(parent, request.title, request.folder, request.filters),
          suffix_(request.defaultSuffix) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && !QFileInfo(files.first()).isDir()) {
            const QString named = WithSuffix(files.first(), suffix_);
            if (named != files.first())
                selectFile(named);
        }
        QFileDialog::accept();
    }

private:
    QString suffix_;
};

// Qt's file model writes sizes and times in the system locale's forms: English outside a
// Chinese locale, and in Qt 6.4's zh_TW with an unsupported day-period letter ("B4:44"). The
// dialog shows them the same way in every locale, as a Taiwanese clerk reads them.
class TaiwanFileColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == kSizeColumn && !files->isDir(source))
            return FileSizeText(files->size(source));
        if (index.column() == kTimeColumn)
            return FileTimeText(files->lastModified(source));
        return QIdentityProxyModel::data(index, role);
    }

private:
    static constexpr int kSizeColumn = 1;
    static constexpr int kTimeColumn = 3;
};

// Qt sizes the side list and the detail view's columns for English texts; the places and the
// Chinese size, type and time get the room they need to show whole.
void WidenColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const QFontMetrics metrics(view->font());
    const int padding = 3 * metrics.averageCharWidth();
    const QString widest[] = {QStringLiteral("1023 位元組"), QStringLiteral("SQLite3 資料庫"),
                              FileTimeText(QDateTime(QDate(2026, 12, 28), QTime(20, 8)))};
    QHeaderView* header = view->header();
    int total = header->sectionSize(0);
    for (int column = 1; column <= 3; ++column) {
        const int needed = metrics.horizontalAdvance(widest[column - 1]) + padding;
        header->resizeSection(column, std::max(header->sectionSize(column), needed));
        total += header->sectionSize(column);
    }
    // The side list as wide as its longest place, a removable medium's label included.
    int side = 0;
    if (auto* places = dialog.findChild<QAbstractItemView*>(QStringLiteral("sidebar"))) {
        for (int row = 0; row < places->model()->rowCount(); ++row) {
            const QString name = places->model()->index(row, 0).data().toString();
            side = std::max(side, metrics.horizontalAdvance(name));
        }
        side += places->iconSize().width() + padding;
    }
    if (auto* splitter = dialog.findChild<QSplitter*>(QStringLiteral("splitter"))) {
        QList<int> sizes = splitter->sizes();
        if (sizes.size() == 2 && sizes[0] < side) {
            sizes[1] = std::max(sizes[1], total + padding);
            sizes[0] = side;
            splitter->setSizes(sizes);
        }
    }
    dialog.resize(std::max(dialog.width(), side + total + 2 * padding + 40), dialog.height());
}

QString ShowQtFileDialog(QWidget* parent, const FileDialogRequest& request) {
    SuffixedFileDialog dialog(ModalOwner(parent), request);
    // Qt's own dialog, not the desktop's: it speaks the program's Chinese on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new TaiwanFileColumns(&dialog));
    dialog.setSidebarUrls(FileDialogPlaces(RemovableMediaFolders()));
    WidenColumns(dialog);
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

QString WithSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty())
        return path;
    const QString ending = u'.' + suffix;
    return path.endsWith(ending, Qt::CaseInsensitive) ? path : path + ending;
}

QString FileTimeText(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("yyyy/MM/dd HH:mm")) : QString();
}

QString FileSizeText(qint64 bytes) {
    if (bytes < 1024)
        return QStringLiteral("%1 位元組").arg(bytes);
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
    double size = double(bytes) / 1024;
    int unit = 0;
    while (size >= 1024 && unit < 3) {
        size /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(size, 0, 'f', 1).arg(QLatin1String(kUnits[unit]));
}

QStringList RemovableMediaFolders() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QDir::home().dirName();
    QStringList folders;
    for (const QString& root : {QStringLiteral("/media/"), QStringLiteral("/run/media/")}) {
        const QDir mounts(root + user);
        for (const QFileInfo& entry :
             mounts.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            folders << entry.absoluteFilePath();
    }
    return folders;
}

QList<QUrl> FileDialogPlaces(const QStringList& media) {
    QStringList folders{QDir::homePath(),
                        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)};
    folders << media;
    QList<QUrl> places;
    for (const QString& folder : folders) {
        const QUrl place = QUrl::fromLocalFile(QDir::cleanPath(folder));
        if (!folder.isEmpty() && QFileInfo(folder).isDir() && !places.contains(place))
            places << place;
    }
    // The computer: every drive, and from there any folder.
    places << QUrl(QStringLiteral("file:"));
    return places;
}

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
    const QString path = Hook() ? Hook()(request) : ShowQtFileDialog(parent, request);
    return request.mode == FileDialogRequest::Mode::Save ? WithSuffix(path, request.defaultSuffix)
                                                         : path;
}

void SetFileDialogHook(FileDialogHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
