#pragma once

#include <span>

class QLineEdit;
class QWidget;

namespace paysum {

struct DbError;

// Says why the boxes of a window that stores one box a column could not be stored: a value
// too long for its column ("輸入欄位超出", the focus on that column's box), a database that
// cannot be written, or anything else ("不可預期的錯誤").
void ReportBoxStoreError(QWidget* window, const DbError& error, std::span<QLineEdit* const> boxes);

}  // namespace paysum
