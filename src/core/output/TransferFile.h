#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class QIODevice;

namespace paysum {

// The values of the batch transfer file's header record besides its totals.
struct TransferHeader {
    QString loginDate;     // ROC date yymmdd
    QString transferDate;  // ROC date yymmdd
    QString branch;        // the company's transfer branch number, 3 digits (S_BASE column 0)
    QString unifiedNo;     // unified business number, 8 digits (S_BASE column 3)
    QString customerCode;  // customer code the branch gave, 3 digits (S_BASE column 2)
};

// One transfer of the batch as stored in S_ITEM.
struct TransferItem {
    QString account;      // ACTNO
    QString amount;       // PAYSUM, whole currency units
    QString certificate;  // AT: the deposit certificate number, 8 digits, or empty
};

// The number of transfers and their amount total.
struct TransferTotals {
    int count = 0;
    qint64 total = 0;
};

// The most detail records one batch file holds.
inline constexpr int kMaxTransferRecords = 999;

// The first value that would not fit its fixed positions in the file.
enum class TransferFault {
    None,
    Date,            // a date is not 6 digits
    Branch,          // the branch number is not 3 digits
    UnifiedNo,       // the unified business number is not 8 digits
    CustomerCode,    // the customer code is not 3 digits
    Account,         // an account is not 1 to 14 digits
    Amount,          // an amount is not 1 to 12 digits
    Certificate,     // a certificate number is neither empty nor 8 digits
    TooManyRecords,  // more than kMaxTransferRecords transfers
    TotalTooLarge,   // the amount total needs more than 12 digits
};

TransferTotals TotalsOf(const std::vector<TransferItem>& items);

// The 60-character header record: both dates, branch, unified business number, customer code,
// fourteen zeros, the total in 12 and the count in 4 zero-filled places, three blanks and "9".
QString HeaderRecord(const TransferHeader& header, const TransferTotals& totals);

// The 60-character detail record: three blanks, the account in 14 and the amount in 12
// zero-filled places, the certificate number and blanks up to 30 places, and "9".
QString DetailRecord(const TransferItem& item);

// Checks every value the records take, so that no record loses its fixed width or carries
// anything but digits and blanks.
TransferFault CheckTransferFile(const TransferHeader& header,
                                const std::vector<TransferItem>& items);

// The header record followed by one detail record per transfer, of a batch that passed
// CheckTransferFile.
QStringList TransferFileLines(const TransferHeader& header, const std::vector<TransferItem>& items);

// The file's bytes: each line followed by CR LF.
QByteArray TransferFileBytes(const QStringList& lines);

// Writes each line followed by CR LF; false when the device did not take all of it.
bool WriteLines(QIODevice& device, const QStringList& lines);

}  // namespace paysum
