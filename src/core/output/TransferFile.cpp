#include "output/TransferFile.h"

#include "common/Amounts.h"
#include "common/TextRules.h"
#include "output/TransferRecord.h"

#include <QIODevice>

namespace paysum {

namespace {

bool DigitsOfLength(const QString& text, qsizetype least, qsizetype most) {
    return IsDigits(text) && text.size() >= least && text.size() <= most;
}

}  // namespace

TransferTotals TotalsOf(const std::vector<TransferItem>& items) {
    TransferTotals totals;
    for (const TransferItem& item : items) {
        ++totals.count;
        totals.total = AddAmounts(totals.total, AmountOf(item.amount));
    }
    return totals;
}

QString HeaderRecord(const TransferHeader& header, const TransferTotals& totals) {
    std::array<QString, kHeaderFieldCount> values;
    values[kHeaderLoginDate] = header.loginDate;
    values[kHeaderTransferDate] = header.transferDate;
    values[kHeaderBranch] = header.branch;
    values[kHeaderUnifiedNo] = header.unifiedNo;
    values[kHeaderCustomerCode] = header.customerCode;
    values[kHeaderTotal] = QString::number(totals.total);
    values[kHeaderCount] = QString::number(totals.count);
    return BuildRecord(kHeaderFields, values);
}

QString DetailRecord(const TransferItem& item) {
    std::array<QString, kDetailFieldCount> values;
    values[kDetailAccount] = QString::number(LeadingNumber(TrimBlanks(item.account)));
    values[kDetailAmount] = QString::number(AmountOf(item.amount));
    values[kDetailCertificate] = item.certificate;
    return BuildRecord(kDetailFields, values);
}

TransferFault CheckTransferFile(const TransferHeader& header,
                                const std::vector<TransferItem>& items) {
    // A header value fills its field exactly; a number of a detail record takes 1 digit up to
    // its field's width, and a certificate number its field's width or nothing.
    const auto fills = [](const QString& value, HeaderField field) {
        return DigitsOfLength(value, kHeaderFields[field].width, kHeaderFields[field].width);
    };
    const auto fits = [](const QString& value, DetailField field) {
        return DigitsOfLength(value, 1, kDetailFields[field].width);
    };
    if (!fills(header.loginDate, kHeaderLoginDate) ||
        !fills(header.transferDate, kHeaderTransferDate))
        return TransferFault::Date;
    if (!fills(header.branch, kHeaderBranch))
        return TransferFault::Branch;
    if (!fills(header.unifiedNo, kHeaderUnifiedNo))
        return TransferFault::UnifiedNo;
    if (!fills(header.customerCode, kHeaderCustomerCode))
        return TransferFault::CustomerCode;
    if (items.size() > static_cast<std::size_t>(kMaxTransferRecords))
        return TransferFault::TooManyRecords;
    const int certificateWidth = kDetailFields[kDetailCertificate].width;
    for (const TransferItem& item : items) {
        if (!fits(TrimBlanks(item.account), kDetailAccount))
            return TransferFault::Account;
        if (!fits(TrimBlanks(item.amount), kDetailAmount))
            return TransferFault::Amount;
        if (!item.certificate.isEmpty() &&
            !DigitsOfLength(item.certificate, certificateWidth, certificateWidth))
            return TransferFault::Certificate;
    }
    if (TotalsOf(items).total > kLargestBatchTotal)
        return TransferFault::TotalTooLarge;
    return TransferFault::None;
}

QStringList TransferFileLines(const TransferHeader& header,
                              const std::vector<TransferItem>& items) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(items.size()) + 1);
    lines << HeaderRecord(header, TotalsOf(items));
    for (const TransferItem& item : items)
        lines << DetailRecord(item);
    return lines;
}

QByteArray TransferFileBytes(const QStringList& lines) {
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    // Each character as toLatin1() gives it ('?' for one it cannot hold), written in place.
    QByteArray bytes(size, Qt::Uninitialized);
    char* at = bytes.data();
    for (const QString& line : lines) {
        for (const QChar c : line)
            *at++ = c.unicode() > 0xff ? '?' : static_cast<char>(c.unicode());
        *at++ = '\r';
        *at++ = '\n';
    }
    return bytes;
}

bool WriteLines(QIODevice& device, const QStringList& lines) {
    const QByteArray bytes = TransferFileBytes(lines);
    return device.write(bytes) == bytes.size();
}

}  // namespace paysum
