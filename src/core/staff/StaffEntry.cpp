#include "staff/StaffEntry.h"

#include "common/Big5Text.h"
#include "common/CheckDigits.h"
#include "common/TextRules.h"
#include "data/SchemaTable.h"

#include <utility>

namespace paysum {

namespace {

const QString kZeroCode(ColumnWidth("S_STAFF", "ID"), u'0');

}  // namespace

const QString kStaffTitle = QStringLiteral("員工資料建檔");
const QString kAccountCheckTitle = QStringLiteral("Veltra 帳號檢核");

std::optional<EntryRefusal> CheckAccountEntry(const QString& account) {
    if (account.size() < kAccountDigits)
        return EntryRefusal{QStringLiteral("輸入帳號位數不足"), kAccountCheckTitle,
                            StaffBox::Account, true};
    if (!CheckAccountNo(account))
        return EntryRefusal{QStringLiteral("員工帳號不正確"), kAccountCheckTitle,
                            StaffBox::Account};
    return std::nullopt;
}

std::optional<QString> CertificateToStore(const QString& account, const QString& certificate) {
    if (!IsCertificateAccount(account))
        return QString();
    if (certificate.size() != kCertificateDigits || !IsDigits(certificate))
        return std::nullopt;
    return certificate;
}

EntryRefusal CertificateRefusal() {
    return {QStringLiteral("存單號碼為八位，請重新輸入！"), kStaffTitle, StaffBox::Certificate,
            false, true};
}

EntryRefusal ZeroCodeRefusal() {
    return {QStringLiteral("欄位不可為零"), kStaffTitle, StaffBox::Code, true};
}

std::optional<EntryRefusal> CheckStaffEntry(const StaffEntry& entry) {
    // The window names the code box whichever box is empty; the refusal keeps the one at fault.
    const std::pair<const QString&, StaffBox> required[] = {{entry.code, StaffBox::Code},
                                                            {entry.account, StaffBox::Account},
                                                            {entry.pay, StaffBox::Pay},
                                                            {entry.name, StaffBox::Name}};
    for (const auto& [value, box] : required) {
        if (value.isEmpty()) {
            EntryRefusal refusal{QStringLiteral("欄位不可為空白"), kStaffTitle, StaffBox::Code};
            refusal.fault = box;
            return refusal;
        }
    }
    // A zero code is refused on Enter in the code box; a code that reached the confirm by Tab or
    // by mouse is refused here the same way.
    if (entry.code == kZeroCode)
        return ZeroCodeRefusal();
    if (!FitsBytes(entry.code, ColumnWidth("S_STAFF", "ID")))
        return EntryRefusal{QStringLiteral("欄位超出"), kStaffTitle, StaffBox::Code};
    if (entry.account.size() < kAccountDigits)
        return EntryRefusal{QStringLiteral("帳號位數不足"), kStaffTitle, StaffBox::Account};
    if (entry.account.size() == kAccountDigits && !CheckAccountNo(entry.account))
        return EntryRefusal{QStringLiteral("員工帳號不正確"), kAccountCheckTitle,
                            StaffBox::Account};
    if (!CertificateToStore(entry.account, entry.certificate))
        return CertificateRefusal();
    return std::nullopt;
}

}  // namespace paysum
