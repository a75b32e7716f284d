#include "output/TransferFileCheck.h"

#include "support/BatchFileSamples.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

using test::kExampleDetail1;
using test::kExampleDetail2;
using test::kExampleHeader;
using test::kSoundDetail1;
using test::kSoundDetail2;

QByteArray File(const QList<QByteArray>& lines, const QByteArray& end = "\r\n") {
    return test::BatchFileBytes(lines, end);
}

// The faults one to a line, which a failing assertion shows readably.
std::string Text(const QStringList& lines) {
    return lines.join(u'\n').toStdString();
}

std::string Faults(const QByteArray& bytes) {
    return Text(FaultLines(CheckTransferBytes(bytes).faults));
}

TEST(TransferFileCheckTest, TheWorkedExampleFailsOnlyItsAccountCheckDigits) {
    EXPECT_EQ(Faults(File({kExampleHeader, kExampleDetail1, kExampleDetail2})),
              Text({"第 2 行：帳號 00123016456789 檢查碼不正確",
                    "第 3 行：帳號 00012345678901 檢查碼不正確"}));
    const FileCheck good = CheckTransferBytes(File({kExampleHeader, kSoundDetail1, kSoundDetail2}));
    EXPECT_TRUE(good.faults.empty()) << FaultLines(good.faults).join('\n').toStdString();
    EXPECT_EQ(good.detailTotals.count, 2);
    EXPECT_EQ(good.detailTotals.total, 155500);
    EXPECT_EQ(good.items[0].certificate, "00012345");
}

TEST(TransferFileCheckTest, FindsEachFaultOnItsLine) {
    QByteArray shortLine = kSoundDetail2;
    shortLine.remove(20, 1);
    QByteArray wrongTotal = kExampleHeader;
    wrongTotal.replace(40, 12, "000000155501");
    QByteArray badDate = kExampleHeader;
    badDate.replace(0, 6, "910231");
    QByteArray letterAmount = kSoundDetail2;
    letterAmount.replace(20, 1, "O");
    QByteArray noCertificate = kSoundDetail1;
    noCertificate.replace(29, 8, "        ");
    QByteArray noNine = kSoundDetail2;
    noNine.back() = '0';
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList faults;
    } cases[] = {
        {"59 bytes",
         File({kExampleHeader, kSoundDetail1, shortLine}),
         {"第 3 行：長度 59 位元組，應為 60", "第 1 行：表頭總筆數 2 與明細筆數 1 不符",
          "第 1 行：表頭總金額 155500 與明細合計 35000 不符"}},
        {"header of 59 bytes",
         File({kExampleHeader.left(59), kSoundDetail1, kSoundDetail2}),
         {"第 1 行：長度 59 位元組，應為 60"}},
        {"LF line ends",
         File({kExampleHeader, kSoundDetail1, kSoundDetail2}, "\n"),
         {"第 1 行：行尾只有 LF，應為 CR LF", "第 2 行：行尾只有 LF，應為 CR LF",
          "第 3 行：行尾只有 LF，應為 CR LF"}},
        {"no CR LF at the end",
         File({kExampleHeader, kSoundDetail1}) + kSoundDetail2,
         {"第 3 行：行尾沒有 CR LF"}},
        {"wrong header total",
         File({wrongTotal, kSoundDetail1, kSoundDetail2}),
         {"第 1 行：表頭總金額 155501 與明細合計 155500 不符"}},
        {"bad check digit",
         File({kExampleHeader, kSoundDetail1, kExampleDetail2}),
         {"第 3 行：帳號 00012345678901 檢查碼不正確"}},
        {"no such day",
         File({badDate, kSoundDetail1, kSoundDetail2}),
         {"第 1 行：登錄日期 910231 不是正確的國曆日期"}},
        {"letter in an amount",
         File({kExampleHeader, kSoundDetail1, letterAmount}),
         {"第 3 行：金額 000O00120500 不是數字",
          "第 1 行：表頭總金額 155500 與明細合計 35000 不符"}},
        {"016 without certificate",
         File({kExampleHeader, noCertificate, kSoundDetail2}),
         {"第 2 行：016 帳號缺少存單號碼"}},
        {"record type", File({kExampleHeader, kSoundDetail1, noNine}), {"第 3 行：第 60 位應為 9"}},
        {"header twice",
         File({kExampleHeader, kSoundDetail1, kExampleHeader, kSoundDetail2}),
         {"第 3 行：表頭記錄只能在第一行"}},
        {"details first", File({kSoundDetail1, kSoundDetail2}), {"第 1 行：第一行應為表頭記錄"}},
        {"empty", "", {"檔案是空的"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Faults(c.bytes), Text(c.faults)) << c.what;
}

TEST(TransferFileCheckTest, AThousandRecordsAreOneTooMany) {
    QList<QByteArray> lines{
        "910503"
        "910505"
        "123"
        "12345678"
        "045"
        "00000000000000"
        "000001000000"
        "1000"
        "   "
        "9"};
    for (int i = 0; i < 1000; ++i)
        lines << "   "
                 "00123456789014"
                 "000000001000"
                 "                              "
                 "9";
    EXPECT_EQ(Faults(File(lines)), "明細 1000 筆，超過 999 筆");
    lines.removeLast();
    lines[0].replace(40, 16, "0000009990000999");
    EXPECT_EQ(Faults(File(lines)), "");
    // The largest file there can be, which is read whole; its records are kept only when asked.
    EXPECT_EQ(File(lines).size(), kMostTransferFileBytes);
    const FileCheck check = CheckTransferBytes(File(lines), false);
    EXPECT_TRUE(check.items.empty() && check.faults.empty());
    EXPECT_EQ(check.detailTotals.total, 999000);
}

TEST(TransferFileCheckTest, NamesThePayeesThatDifferFromTheBatch) {
    const TransferHeader header{"910503", "910506", "123", "12345678", "045"};
    const std::vector<BatchPayee> payees{
        {"00001", "王小明", {"201016000011", "36000", "00012345"}},
        {"00003", "林大同", {"102000000012", "100", ""}},
    };
    const FileCheck file = CheckTransferBytes(File({kExampleHeader, kSoundDetail1, kSoundDetail2}));
    EXPECT_EQ(
        Text(FaultLines(CompareWithBatch(file, header, payees))),
        Text({"第 1 行：轉帳日期：檔案為 910505，本批為 910506",
              "第 2 行：00001 王小明：檔案金額 35000，本批金額 36000", "00003 林大同：不在檔案中",
              "第 3 行：帳號 00123456789014 不在本批轉帳資料中"}));
}

TEST(TransferFileCheckTest, TellsHowAFileReadBackDiffersFromWhatWasMeant) {
    const QStringList lines{kExampleHeader, kSoundDetail1, kSoundDetail2};
    const QByteArray meant = File({kExampleHeader, kSoundDetail1, kSoundDetail2});
    EXPECT_EQ(CompareWrittenFile(meant, lines), "");
    EXPECT_EQ(CompareWrittenFile(File({kExampleHeader, kSoundDetail1}), lines),
              "檔案中有 1 筆，應為 2 筆");
    QByteArray changed = meant;
    changed[62 + 20] = '1';
    EXPECT_EQ(CompareWrittenFile(changed, lines), "檔案總金額 100155500，應為 155500");
    changed = meant;
    changed[62 + 5] = '9';
    EXPECT_EQ(CompareWrittenFile(changed, lines), "第 2 行與應寫入的內容不同");
}

}  // namespace
}  // namespace paysum
