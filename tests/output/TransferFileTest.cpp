#include "output/TransferFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

namespace paysum {
namespace {

const TransferHeader kHeader{QStringLiteral("910503"), QStringLiteral("910505"),
                             QStringLiteral("123"), QStringLiteral("12345678"),
                             QStringLiteral("045")};

TransferItem Item(const char* account, const char* amount, const char* certificate = "") {
    return TransferItem{QString::fromLatin1(account), QString::fromLatin1(amount),
                        QString::fromLatin1(certificate)};
}

QByteArray FileOf(const std::vector<TransferItem>& items) {
    EXPECT_EQ(CheckTransferFile(kHeader, items), TransferFault::None);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteLines(buffer, TransferFileLines(kHeader, items)));
    return buffer.data();
}

TEST(TransferFileTest, WorkedExampleAndEmptyBatchByteForByte) {
    // Field by field, as the bank reads them.
    // clang-format off
    EXPECT_EQ(FileOf({Item("123016456789", "35000", "00012345"), Item("012345678901", "120500")}),
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000155500" "0002" "   " "9" "\r\n"
        "   " "00123016456789" "000000035000" "00012345" "                      " "9" "\r\n"
        "   " "00012345678901" "000000120500" "                              " "9" "\r\n");
    EXPECT_EQ(FileOf({}),
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000000000" "0000" "   " "9" "\r\n");
    // clang-format on
}

TEST(TransferFileTest, NumbersAreReadTrimmedAndZeroFilled) {
    const QString record = DetailRecord(Item(" 1 ", " 5 ", "87654321"));
    EXPECT_EQ(record, QStringLiteral("   00000000000001000000000005") + QStringLiteral("87654321") +
                          QString(22, u' ') + u'9');
}

TEST(TransferFileTest, ValuesThatWouldBreakTheRecordsAreRefused) {
    using Edit = std::function<void(TransferHeader&)>;
    const std::pair<Edit, TransferFault> headers[] = {
        {[](TransferHeader& h) { h.transferDate = QStringLiteral("91 505"); }, TransferFault::Date},
        {[](TransferHeader& h) { h.branch = QStringLiteral("12"); }, TransferFault::Branch},
        {[](TransferHeader& h) { h.unifiedNo = QStringLiteral("123456789"); },
         TransferFault::UnifiedNo},
        {[](TransferHeader& h) { h.customerCode = QStringLiteral("04A"); },
         TransferFault::CustomerCode},
    };
    for (const auto& [edit, fault] : headers) {
        TransferHeader header = kHeader;
        edit(header);
        EXPECT_EQ(CheckTransferFile(header, {Item("1", "1")}), fault);
    }

    const std::pair<TransferItem, TransferFault> items[] = {
        {Item("", "1"), TransferFault::Account},
        {Item("12301645678-", "1"), TransferFault::Account},
        {Item("123456789012345", "1"), TransferFault::Account},
        {Item("12345678901234", "1"), TransferFault::None},
        {Item("1", ""), TransferFault::Amount},
        {Item("1", "35000.5"), TransferFault::Amount},
        {Item("1", "1234567890123"), TransferFault::Amount},
        {Item("1", " 999999999999 "), TransferFault::None},
        {Item("1", "1", "1234567"), TransferFault::Certificate},
        {Item("1", "1", "        "), TransferFault::Certificate},
    };
    for (const auto& [item, fault] : items)
        EXPECT_EQ(CheckTransferFile(kHeader, {item}), fault) << item.account.toStdString();
}

TEST(TransferFileTest, BatchLimits) {
    std::vector<TransferItem> items(999, Item("123016456789", "1000000000"));
    EXPECT_EQ(CheckTransferFile(kHeader, items), TransferFault::None);
    items.push_back(Item("123016456789", "1"));
    EXPECT_EQ(CheckTransferFile(kHeader, items), TransferFault::TooManyRecords);
    // Two amounts of twelve digits make a total of thirteen.
    EXPECT_EQ(CheckTransferFile(kHeader, {Item("1", "999999999999"), Item("1", "1")}),
              TransferFault::TotalTooLarge);
}

TEST(TransferFileTest, AShortWriteIsReported) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WriteLines(buffer, {QStringLiteral("x")}));
}

}  // namespace
}  // namespace paysum
