// The batch transfer file: every batch the value check accepts gives records of exactly 60
// bytes + CR LF, with the right total and count in the header; and a batch as the entry windows
// admit it (real dates, the transfer not before the login, a branch other than 000, accounts
// whose check digit holds, a certificate number exactly on a certificate account) gives a file
// in which the verifier finds no fault.
#include "FuzzInput.h"
#include "common/CheckDigits.h"
#include "common/RocDate.h"
#include "output/TransferFile.h"
#include "output/TransferFileCheck.h"

#include <QBuffer>

namespace {

// A number of `width` digits, zero-filled, no less than `least`.
QString Digits(FuzzedDataProvider& data, int width, qint64 least = 0) {
    qint64 most = 1;
    for (int i = 0; i < width; ++i)
        most *= 10;
    return QString::number(data.ConsumeIntegralInRange<qint64>(least, most - 1))
        .rightJustified(width, u'0');
}

QString RocDateText(FuzzedDataProvider& data) {
    return Digits(data, 2) +
           QString::number(data.ConsumeIntegralInRange(1, 12)).rightJustified(2, u'0') +
           QString::number(data.ConsumeIntegralInRange(1, 31)).rightJustified(2, u'0');
}

// Twelve digits that the entry windows take for an account: the first three not all zero, the
// last the check digit, now and then a certificate account.
QString Account(FuzzedDataProvider& data) {
    QString account = Digits(data, 3, 1) +
                      (data.ConsumeBool() ? QStringLiteral("016") : Digits(data, 3)) +
                      Digits(data, 5);
    for (char digit = '0'; digit <= '9'; ++digit) {
        if (paysum::CheckAccountNo(account + QLatin1Char(digit)))
            return account + QLatin1Char(digit);
    }
    return account + u'0';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    TransferHeader header{RocDateText(data), RocDateText(data), Digits(data, 3, 1), Digits(data, 8),
                          Digits(data, 3)};
    if (CheckRocDate(header.loginDate) != 1 || CheckRocDate(header.transferDate) != 1)
        return 0;
    if (CompareRocDates(header.transferDate, header.loginDate) != 1)
        std::swap(header.loginDate, header.transferDate);
    std::vector<TransferItem> items(data.ConsumeIntegralInRange<std::size_t>(0, 40));
    for (TransferItem& item : items) {
        item.account = Account(data);
        item.amount = fuzz::Text(data, 14);
        if (IsCertificateAccount(item.account))
            item.certificate = Digits(data, 8);
    }

    if (CheckTransferFile(header, items) != TransferFault::None)
        return 0;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    fuzz::Require(WriteLines(buffer, TransferFileLines(header, items)), "written");
    const QByteArray file = buffer.data();
    fuzz::Require(file.size() == 62 * static_cast<qsizetype>(items.size() + 1), "file size");
    qint64 total = 0;
    for (std::size_t i = 0; i <= items.size(); ++i) {
        const QByteArray record = file.mid(62 * static_cast<qsizetype>(i), 62);
        fuzz::Require(record.endsWith("\r\n") && record.count('\r') == 1, "60 bytes + CR LF");
        fuzz::Require(record.at(59) == '9', "every record ends in 9");
        if (i > 0)
            total += record.mid(17, 12).toLongLong();
    }
    fuzz::Require(file.mid(40, 12).toLongLong() == total, "header total");
    fuzz::Require(file.mid(52, 4).toInt() == static_cast<int>(items.size()), "header count");

    const FileCheck check = CheckTransferBytes(file);
    for (const QString& fault : FaultLines(check.faults))
        std::fprintf(stderr, "%s\n", fault.toUtf8().constData());
    fuzz::Require(check.faults.empty(), "the verifier finds no fault in a file written");
    return 0;
}
