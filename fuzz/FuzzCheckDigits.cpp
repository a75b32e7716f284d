// Check digits of branch codes and accounts on any text.
#include "FuzzInput.h"
#include "common/CheckDigits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    const QString code = fuzz::Text(data, 10);
    const QString account = fuzz::Text(data, 16);

    const QString digit = BranchCheckDigit(code);
    fuzz::Require(digit.size() <= 1, "at most one check digit");
    CheckAccountNo(account);
    IsCertificateAccount(account);
    // Of the ten last digits of an eleven-digit stem exactly one makes a good account.
    if (account.size() >= 11) {
        const QString stem = account.left(11);
        bool allDigits = true;
        for (QChar c : stem)
            allDigits = allDigits && c >= u'0' && c <= u'9';
        if (allDigits && stem.left(3) != u"000") {
            int good = 0;
            for (char16_t last = u'0'; last <= u'9'; ++last)
                good += CheckAccountNo(stem + QChar(last)) ? 1 : 0;
            fuzz::Require(good >= 1, "some last digit makes the account good");
        }
    }
    return 0;
}
