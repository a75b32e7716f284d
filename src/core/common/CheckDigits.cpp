#include "common/CheckDigits.h"

#include "common/TextRules.h"

namespace paysum {

QString BranchCheckDigit(const QString& code) {
    if (TrimBlanks(code).size() < 6)
        return QStringLiteral("*");
    int d[6];
    for (int i = 0; i < 6; ++i)
        d[i] = DigitValue(code.at(i));
    const QString bank = code.left(3);

    int sum = 0;
    if (bank == u"009")
        sum = d[3] * 1 + d[4] * 4 + d[5] * 7;
    else
        sum = d[0] * 3 + d[1] * 7 + d[2] * 9 + d[3] * 3 + d[4] * 7 + d[5] * 9;
    int r = sum % 10;
    // Bank codes from 100 to 300 take the remainder itself, all others its complement.
    if ((bank < u"100" || bank > u"300") && r > 0)
        r = 10 - r;
    return QString::number(r);
}

bool CheckAccountNo(const QString& account) {
    if (account.size() < 12)
        return false;
    if (LeadingNumber(account.left(3)) == 0)
        return false;
    if (account.size() >= 13)
        return true;
    static constexpr int kWeights[11] = {6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 11; ++i)
        sum += DigitValue(account.at(i)) * kWeights[i];
    return 9 - sum % 9 == DigitValue(account.at(11));
}

bool IsCertificateAccount(const QString& account) {
    return account.size() == 12 && account.mid(3, 3) == u"016";
}

}  // namespace paysum
