#pragma once

#include <QString>

namespace paysum {

// Check digit of a seven-digit branch code from its first six characters (bank code + branch
// number): "0" to "9", or "*" when the blank-trimmed code is shorter than six characters.
QString BranchCheckDigit(const QString& code);

// True for a Veltra account number: twelve digits whose last is the check digit of the first
// eleven, or any text of 13 or more characters; false when the first three characters are
// worth 0 or the text is shorter than twelve characters.
bool CheckAccountNo(const QString& account);

// True when an account is of the deposit certificate type: exactly twelve characters with
// "016" in characters 4 to 6.
bool IsCertificateAccount(const QString& account);

}  // namespace paysum
