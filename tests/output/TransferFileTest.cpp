#include "output/TransferFile.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace paysum {
namespace {

// The worked example goes through Form3 byte for byte; here the records on their own.

const TransferHeader kHeader{"910503", "910505", "123", "12345678", "045"};

TransferItem Item(const char* account, const char* amount, const char* certificate = "") {
    return TransferItem{QString::fromLatin1(account), QString::fromLatin1(amount),
                        QString::fromLatin1(certificate)};
}

TEST(TransferFileTest, EmptyBatchTrimmedNumbersAndShortWrites) {
    EXPECT_EQ(CheckTransferFile(kHeader, {}), TransferFault::None);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteLines(buffer, TransferFileLines(kHeader, {})));
    // clang-format off
    EXPECT_EQ(buffer.data(),
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000000000" "0000" "   " "9" "\r\n");
    // clang-format on

    // Numbers are read trimmed and zero-filled; the certificate number takes positions 30-37.
    EXPECT_EQ(DetailRecord(Item(" 1 ", " 5 ", "87654321")),
              "   00000000000001000000000005" + QString("87654321") + QString(22, u' ') + "9");

    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(WriteLines(readOnly, {"x"}));
}

TEST(TransferFileTest, ValuesThatWouldBreakTheRecordsAreRefused) {
    const std::pair<TransferHeader, TransferFault> headers[] = {
        {{"910503", "91 505", "123", "12345678", "045"}, TransferFault::Date},
        {{"910503", "910505", "12", "12345678", "045"}, TransferFault::Branch},
        {{"910503", "910505", "123", "123456789", "045"}, TransferFault::UnifiedNo},
        {{"910503", "910505", "123", "12345678", "04A"}, TransferFault::CustomerCode},
    };
    for (const auto& [header, fault] : headers)
        EXPECT_EQ(CheckTransferFile(header, {Item("1", "1")}), fault);

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

    std::vector<TransferItem> batch(999, Item("123016456789", "1000000000"));
    EXPECT_EQ(CheckTransferFile(kHeader, batch), TransferFault::None);
    batch.push_back(Item("123016456789", "1"));
    EXPECT_EQ(CheckTransferFile(kHeader, batch), TransferFault::TooManyRecords);
    // Two amounts of twelve digits make a total of thirteen.
    EXPECT_EQ(CheckTransferFile(kHeader, {Item("1", "999999999999"), Item("1", "1")}),
              TransferFault::TotalTooLarge);
}

}  // namespace
}  // namespace paysum
