// The batch transfer file: every batch the value check accepts gives records of exactly 60
// bytes + CR LF, with the right total and count in the header.
#include "FuzzInput.h"
#include "output/TransferFile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    TransferHeader header{fuzz::Text(data, 7), fuzz::Text(data, 7), fuzz::Text(data, 4),
                          fuzz::Text(data, 9), fuzz::Text(data, 4)};
    std::vector<TransferItem> items(data.ConsumeIntegralInRange<std::size_t>(0, 40));
    for (TransferItem& item : items)
        item = {fuzz::Text(data, 16), fuzz::Text(data, 14), fuzz::Text(data, 9)};

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
    return 0;
}
