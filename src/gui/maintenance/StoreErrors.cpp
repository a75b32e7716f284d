#include "maintenance/StoreErrors.h"

#include "data/DataFolder.h"
#include "data/DbError.h"
#include "platform/MessageBox.h"

#include <QLineEdit>

namespace paysum {

void ReportBoxStoreError(QWidget* window, const DbError& error, std::span<QLineEdit* const> boxes) {
    switch (error.kind) {
        case DbErrorKind::FieldTooLong:
            ShowMessage(window, QStringLiteral("輸入欄位超出"));
            if (error.field >= 0 && error.field < static_cast<int>(boxes.size()))
                boxes[static_cast<std::size_t>(error.field)]->setFocus();
            break;
        case DbErrorKind::ReadOnly:
            ShowReadOnlyDatabase(window, MainDatabasePath());
            break;
        default:
            ShowMessage(window, QStringLiteral("不可預期的錯誤"));
            break;
    }
}

}  // namespace paysum
