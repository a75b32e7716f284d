#include "batch/TransferEntry.h"

#include "common/Amounts.h"
#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/TextRules.h"
#include "data/SchemaTable.h"
#include "staff/StaffEntry.h"

namespace paysum {

namespace {

const QString kZeroCode(ColumnWidth("S_ITEM", "ID"), u'0');

TransferRefusal TooLong(TransferBox box) {
    return {QStringLiteral("欄位超出"), kTransferTitle, box};
}

TransferRefusal Empty(TransferBox box) {
    return {QStringLiteral("欄位不可為空白"), kTransferTitle, box};
}

}  // namespace

const QString kTransferTitle = QStringLiteral("薪資轉帳資料輸入");

std::optional<TransferRefusal> ValidateEntry(const TransferEntry& entry) {
    if (!FitsBytes(entry.code, ColumnWidth("S_ITEM", "ID")))
        return TooLong(TransferBox::Code);
    if (TrimBlanks(entry.code).isEmpty())
        return Empty(TransferBox::Code);
    // The payee is filed in the employee master, where 00000 is no code.
    if (entry.code == kZeroCode)
        return TransferRefusal{QStringLiteral("欄位不可為零"), kTransferTitle, TransferBox::Code,
                               RefusalAction::FocusBox, true};
    if (!FitsBytes(entry.account, ColumnWidth("S_ITEM", "ACTNO")))
        return TooLong(TransferBox::Account);
    if (TrimBlanks(entry.account).isEmpty())
        return Empty(TransferBox::Account);
    if (!CheckAccountNo(entry.account))
        return TransferRefusal{QStringLiteral("員工帳號不正確"), kAccountCheckTitle,
                               TransferBox::Account, RefusalAction::FocusCancel};
    if (!FitsBytes(entry.certificate, ColumnWidth("S_ITEM", "AT")))
        return TooLong(TransferBox::Certificate);
    if (!CertificateToStore(entry.account, entry.certificate)) {
        const EntryRefusal refusal = CertificateRefusal();
        return TransferRefusal{
            refusal.text, refusal.title, TransferBox::Certificate, RefusalAction::FocusBox,
            false,        true};
    }
    if (!FitsBytes(entry.amount, ColumnWidth("S_ITEM", "PAYSUM")))
        return TooLong(TransferBox::Amount);
    if (TrimBlanks(entry.amount).isEmpty())
        return Empty(TransferBox::Amount);
    if (!FitsBytes(entry.name, ColumnWidth("S_ITEM", "NAME")))
        return TransferRefusal{QStringLiteral("員工姓名超出欄位最大值, 請修改員工資料!!"),
                               kTransferTitle, TransferBox::Name, RefusalAction::OfferStaffWindow};
    if (TrimBlanks(entry.name).isEmpty())
        return Empty(TransferBox::Name);
    return std::nullopt;
}

TransferRefusal CodeInBatchRefusal() {
    return {QStringLiteral("此員工代碼已在本批轉帳資料中"), kTransferTitle, TransferBox::Code};
}

std::optional<TransferRefusal> CheckBatchTotal(qint64 total, const QString& amount) {
    if (AddAmounts(total, AmountOf(amount)) <= kLargestBatchTotal)
        return std::nullopt;
    return TransferRefusal{TotalTooLargeText(), kTransferTitle, TransferBox::Amount};
}

TransferRefusal TemporaryCodesUsedUpRefusal() {
    return {QStringLiteral("暫時收款人代碼已用完"), kTransferTitle, TransferBox::Code};
}

TransferBox BoxOfColumn(int ordinal) {
    switch (ordinal) {
        case 1:
            return TransferBox::Account;
        case 2:
            return TransferBox::Amount;
        case 3:
            return TransferBox::Name;
        case 4:
            return TransferBox::Certificate;
        case 5:
            return TransferBox::Remark;
        default:
            return TransferBox::Code;
    }
}

}  // namespace paysum
