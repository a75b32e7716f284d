#include "output/BatchFileDialogs.h"

#include "platform/MessageBox.h"

#include <QDir>

namespace paysum {

namespace {

const QString kNotRecorded =
    QStringLiteral("轉帳檔已產生，但未能記入本批資料，薪資轉帳歷史資料將不含此檔：\r\n");

}  // namespace

FileDialogRequest BatchFileRequest() {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.filters = QStringLiteral("All Files (*.*);;Text Files(*.txt)");
    request.selectedFilter = QStringLiteral("Text Files(*.txt)");
    request.confirmOverwrite = true;
    return request;
}

void ShowBatchFileResult(QWidget* parent, const BatchFileResult& result) {
    switch (result.outcome) {
        case BatchFileOutcome::Written:
            ShowMessage(parent,
                        QStringLiteral("產生完畢：") + QDir::toNativeSeparators(result.file.name));
            if (!result.recordError.isEmpty())
                ShowMessage(parent, kNotRecorded + result.recordError, MsgButtons::Ok,
                            MsgIcon::Exclamation);
            break;
        case BatchFileOutcome::Mismatch:
            ShowMessage(parent,
                        QStringLiteral("轉帳檔讀回比對不符，請重新產生！\r\n") + result.detail,
                        MsgButtons::Ok, MsgIcon::Critical);
            break;
        case BatchFileOutcome::NotAsRecorded:
            ShowMessage(parent, QStringLiteral("本批資料與當時產生的轉帳檔不同，未產生"),
                        MsgButtons::Ok, MsgIcon::Critical);
            break;
        default:
            ShowMessage(parent, QStringLiteral("資料不全,建檔錯誤"));
            break;
    }
}

}  // namespace paysum
