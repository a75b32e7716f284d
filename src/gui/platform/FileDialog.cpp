#include "platform/FileDialog.h"

#include "platform/Modal.h"

#include <QFileDialog>
#include <QFileInfo>

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

QString ShowQtFileDialog(QWidget* parent, const FileDialogRequest& request) {
    SuffixedFileDialog dialog(ModalOwner(parent), request);
    // Qt's own dialog, not the desktop's: it speaks the program's Chinese on every desktop.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
    const QString path = Hook() ? Hook()(request) : ShowQtFileDialog(parent, request);
    return request.mode == FileDialogRequest::Mode::Save ? WithSuffix(path, request.defaultSuffix)
                                                         : path;
}

void SetFileDialogHook(FileDialogHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
