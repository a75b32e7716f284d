#pragma once

#include "output/TransferFile.h"
#include "output/TransferRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace paysum {

// One fault of a batch transfer file: the line it is on (0 for the file as a whole) and what is
// wrong, in the clerk's words.
struct FileFault {
    int line = 0;
    QString text;
};

// A transfer of the batch with the payee it goes to, for telling the clerk who differs.
struct BatchPayee {
    QString code;
    QString name;
    TransferItem item;
};

// What a batch transfer file holds and what is wrong with it.
struct FileCheck {
    std::vector<FileFault> faults;
    bool headerRead = false;          // line 1 is a header record of the right length
    TransferHeader header;            // as read from line 1, when it is a header record
    std::vector<TransferItem> items;  // the detail records that could be read
    std::vector<int> itemLines;       // the line of each of them
    TransferTotals headerTotals;      // the count and total the header states
    TransferTotals detailTotals;      // the count and total of the detail records
};

// The longest batch file there can be: a header and 999 detail records of 60 bytes and CR LF.
// A longer file is refused before it is read.
inline constexpr qint64 kMostTransferFileBytes = (kMaxTransferRecords + 1) * (kRecordLength + 2);

// Checks a file against the bank's layout: lines of exactly 60 bytes each ended by CR LF, the
// header record first and only there, the record types, valid ROC dates, digits where digits
// belong, account check digits, the header's count and total against the detail records, and
// at most 999 of them. The detail records read are kept only with `keepItems`, for comparing the
// file with a batch.
FileCheck CheckTransferBytes(const QByteArray& bytes, bool keepItems = true);

// The differences between a checked file and the batch it should have been made from: the
// header values and, payee by payee, transfers missing, extra or with another amount.
std::vector<FileFault> CompareWithBatch(const FileCheck& file, const TransferHeader& header,
                                        const std::vector<BatchPayee>& payees);

// Compares a file as read back from the disk with the lines meant for it: empty when they are
// the same, else what differs (count, total, or the first record that is not as written).
QString CompareWrittenFile(const QByteArray& onDisk, const QStringList& lines);

// The faults as lines of text for a window or standard error: "第 n 行：..." or the text alone.
QStringList FaultLines(const std::vector<FileFault>& faults);

}  // namespace paysum
