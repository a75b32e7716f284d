#include "output/TransferFile.h"

#include "common/Amounts.h"
#include "common/TextRules.h"

#include <QIODevice>

namespace paysum {

namespace {


QString ZeroFilled(qint64 value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

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
    return header.loginDate + header.transferDate + header.branch + header.unifiedNo +
           header.customerCode + QString(14, u'0') + ZeroFilled(totals.total, 12) +
           ZeroFilled(totals.count, 4) + QString(3, u' ') + u'9';
}

QString DetailRecord(const TransferItem& item) {
    const QString certificate =
        item.certificate.isEmpty() ? QString(30, u' ') : item.certificate + QString(22, u' ');
    return QString(3, u' ') + ZeroFilled(LeadingNumber(TrimBlanks(item.account)), 14) +
           ZeroFilled(AmountOf(item.amount), 12) + certificate + u'9';
}

TransferFault CheckTransferFile(const TransferHeader& header,
                                const std::vector<TransferItem>& items) {
    if (!DigitsOfLength(header.loginDate, 6, 6) || !DigitsOfLength(header.transferDate, 6, 6))
        return TransferFault::Date;
    if (!DigitsOfLength(header.branch, 3, 3))
        return TransferFault::Branch;
    if (!DigitsOfLength(header.unifiedNo, 8, 8))
        return TransferFault::UnifiedNo;
    if (!DigitsOfLength(header.customerCode, 3, 3))
        return TransferFault::CustomerCode;
    if (items.size() > static_cast<std::size_t>(kMaxTransferRecords))
        return TransferFault::TooManyRecords;
    for (const TransferItem& item : items) {
        if (!DigitsOfLength(TrimBlanks(item.account), 1, 14))
            return TransferFault::Account;
        if (!DigitsOfLength(TrimBlanks(item.amount), 1, 12))
            return TransferFault::Amount;
        if (!item.certificate.isEmpty() && !DigitsOfLength(item.certificate, 8, 8))
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
    QByteArray bytes;
    bytes.reserve(lines.size() * 62);
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

bool WriteLines(QIODevice& device, const QStringList& lines) {
    const QByteArray bytes = TransferFileBytes(lines);
    return device.write(bytes) == bytes.size();
}

}  // namespace paysum
