#include "batch/BatchDateChecks.h"

#include "common/RocDate.h"

namespace paysum {

namespace {

const QString kInputError = QStringLiteral("輸入錯誤");
const QString kBadDate = QStringLiteral("輸入日期錯誤!!");

}  // namespace

std::optional<BatchDateRefusal> CheckBatchDates(const QString& login, const QString& transfer,
                                                const QString& today) {
    if (CheckRocDate(login) != 1)
        return BatchDateRefusal{BatchDateFault::LoginInvalid, kBadDate, kInputError, 0};
    // Compared as text, as the two-digit years are written.
    if (login < today) {
        return BatchDateRefusal{BatchDateFault::LoginBeforeToday,
                                QStringLiteral("日期必須大於等於今天"), QString(), 0};
    }
    if (CheckRocDate(transfer) != 1)
        return BatchDateRefusal{BatchDateFault::TransferInvalid, kBadDate, kInputError, 1};
    switch (CompareRocDates(transfer, login)) {
        case -1:
            return BatchDateRefusal{BatchDateFault::TransferTooShort,
                                    QStringLiteral("轉帳日期長度不足!!"), kInputError, 1};
        case -2:
            return BatchDateRefusal{
                BatchDateFault::TransferBeforeLogin,
                QStringLiteral("轉帳日期中之年月日(yymmdd)應 大於等於 登錄日期!!"), kInputError, 1};
        default:
            return std::nullopt;
    }
}

}  // namespace paysum
