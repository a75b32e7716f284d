#include "output/TransferFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace paysum {
namespace {

const TransferHeader kHeader{QStringLiteral("910503"), QStringLiteral("910505"),
                             QStringLiteral("123"), QStringLiteral("12345678"),
                             QStringLiteral("045")};

TransferItem Item(const char* account, const char* amount, const char* certificate = "") {
    return TransferItem{QString::fromLatin1(account), QString::fromLatin1(amount),
                        QString::fromLatin1(certificate)};
}

QByteArray FileOf(const TransferHeader& header, const std::vector<TransferItem>& items) {
    EXPECT_EQ(CheckTransferFile(header, items), TransferFault::None);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteLines(buffer, TransferFileLines(header, items)));
    return buffer.data();
}

TEST(TransferFileTest, WorkedExampleByteForByte) {
    // Field by field, as the bank reads them.
    // clang-format off
    const QByteArray expected =
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000155500" "0002" "   " "9" "\r\n"
        "   " "00123016456789" "000000035000" "00012345" "                      " "9" "\r\n"
        "   " "00012345678901" "000000120500" "                              " "9" "\r\n";
    // clang-format on
    const QByteArray file = FileOf(
        kHeader, {Item("123016456789", "35000", "00012345"), Item("012345678901", "120500")});
    EXPECT_EQ(file, expected);
    for (const QByteArray& line : file.split('\n').mid(0, 3))
        EXPECT_EQ(line.size(), 61);  // 60 characters and the CR
}

TEST(TransferFileTest, EmptyBatchIsTheHeaderAlone) {
    // clang-format off
    EXPECT_EQ(FileOf(kHeader, {}),
              QByteArray("910503" "910505" "123" "12345678" "045" "00000000000000" "000000000000" "0000" "   " "9" "\r\n"));
    // clang-format on
}

TEST(TransferFileTest, DetailFieldPositions) {
    // Positions are 1-based: certificate 30-37, blanks 38-59, "9" at 60.
    const QString withCertificate = DetailRecord(Item(" 1 ", " 5 ", "87654321"));
    EXPECT_EQ(withCertificate.mid(3, 14), QStringLiteral("00000000000001"));
    EXPECT_EQ(withCertificate.mid(17, 12), QStringLiteral("000000000005"));
    EXPECT_EQ(withCertificate.mid(29, 8), QStringLiteral("87654321"));
    EXPECT_EQ(withCertificate.mid(37, 22), QString(22, u' '));
    EXPECT_EQ(withCertificate.size(), 60);
    EXPECT_EQ(HeaderRecord(kHeader, TransferTotals{999, 999'999'999'999}).mid(40, 16),
              QStringLiteral("9999999999990999"));
}

TEST(TransferFileTest, ValuesThatWouldBreakTheRecordsAreRefused) {
    const std::vector<TransferItem> one = {Item("123016456789", "35000")};
    TransferHeader badDate = kHeader;
    badDate.transferDate = QStringLiteral("91 505");
    TransferHeader shortBranch = kHeader;
    shortBranch.branch = QStringLiteral("12");
    TransferHeader longUnified = kHeader;
    longUnified.unifiedNo = QStringLiteral("123456789");
    TransferHeader letterCustomer = kHeader;
    letterCustomer.customerCode = QStringLiteral("04A");
    EXPECT_EQ(CheckTransferFile(badDate, one), TransferFault::Date);
    EXPECT_EQ(CheckTransferFile(shortBranch, one), TransferFault::Branch);
    EXPECT_EQ(CheckTransferFile(longUnified, one), TransferFault::UnifiedNo);
    EXPECT_EQ(CheckTransferFile(letterCustomer, one), TransferFault::CustomerCode);

    const struct {
        TransferItem item;
        TransferFault fault;
    } items[] = {
        {Item("", "1"), TransferFault::Account},
        {Item("12301645678-", "1"), TransferFault::Account},
        {Item("123456789012345", "1"), TransferFault::Account},
        {Item("12345678901234", "1"), TransferFault::None},
        {Item("123016456789", ""), TransferFault::Amount},
        {Item("123016456789", "35000.5"), TransferFault::Amount},
        {Item("123016456789", "1234567890123"), TransferFault::Amount},
        {Item("123016456789", " 999999999999 "), TransferFault::None},
        {Item("123016456789", "1", "1234567"), TransferFault::Certificate},
        {Item("123016456789", "1", "        "), TransferFault::Certificate},
    };
    for (const auto& c : items) {
        SCOPED_TRACE(c.item.account.toStdString() + " " + c.item.amount.toStdString());
        EXPECT_EQ(CheckTransferFile(kHeader, {c.item}), c.fault);
    }
}

TEST(TransferFileTest, BatchLimits) {
    std::vector<TransferItem> items(999, Item("123016456789", "1000000000"));
    EXPECT_EQ(CheckTransferFile(kHeader, items), TransferFault::None);
    items.push_back(Item("123016456789", "1"));
    EXPECT_EQ(CheckTransferFile(kHeader, items), TransferFault::TooManyRecords);

    // Two amounts of twelve digits make a total of thirteen.
    EXPECT_EQ(CheckTransferFile(kHeader, {Item("1", "999999999999"), Item("1", "1")}),
              TransferFault::TotalTooLarge);
    const TransferTotals totals = TotalsOf({Item("1", "999999999999"), Item("1", "999999999999")});
    EXPECT_EQ(totals.total, 1'999'999'999'998);
    EXPECT_EQ(totals.count, 2);
}

TEST(TransferFileTest, AShortWriteIsReported) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WriteLines(buffer, {QStringLiteral("x")}));
}

}  // namespace
}  // namespace paysum
