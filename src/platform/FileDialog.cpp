#include "platform/FileDialog.h"

#include <QFileDialog>

namespace paysum {

namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

}  // namespace

QString ShowFileDialog(QWidget* parent, const FileDialogRequest& request) {
    if (Hook())
        return Hook()(request);
    QString selectedFilter = request.selectedFilter;
    if (request.mode == FileDialogRequest::Mode::Open) {
        return QFileDialog::getOpenFileName(parent, request.title, request.folder, request.filters,
                                            &selectedFilter);
    }
    const QFileDialog::Options options =
        request.confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, request.title, request.folder, request.filters,
                                        &selectedFilter, options);
}

void SetFileDialogHook(FileDialogHook hook) {
    Hook() = std::move(hook);
}

}  // namespace paysum
