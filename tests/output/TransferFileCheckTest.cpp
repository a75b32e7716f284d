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

// The sound file with the bytes at `at` of one of its lines (0 the header) replaced.
QByteArray Changed(int line, qsizetype at, const QByteArray& with) {
    QList<QByteArray> lines{kExampleHeader, kSoundDetail1, kSoundDetail2};
    lines[line].replace(at, with.size(), with);
    return File(lines);
}

// A header stating `count` records of 1,000 each, followed by them.
QByteArray Records(int count) {
    QByteArray header = kExampleHeader;
    header.replace(40, 16,
                   QByteArray::number(qint64{count} * 1000).rightJustified(12, '0') +
                       QByteArray::number(count).rightJustified(4, '0'));
    QList<QByteArray> lines{header};
    for (int i = 0; i < count; ++i)
        lines << "   "
                 "00123456789014"
                 "000000001000"
                 "                              "
                 "9";
    return File(lines);
}

// Every fault the verifier can name, each made by one change to a sound file, with whatever
// else it then finds: a check that stops working fails its row.
TEST(TransferFileCheckTest, FindsEachFaultOnItsLine) {
    QByteArray shortLine = kSoundDetail2;
    shortLine.remove(20, 1);
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList faults;
    } cases[] = {
        // The file and its lines.
        {"empty", "", {"檔案是空的"}},
        {"LF line ends",
         File({kExampleHeader, kSoundDetail1, kSoundDetail2}, "\n"),
         {"第 1 行：行尾只有 LF，應為 CR LF", "第 2 行：行尾只有 LF，應為 CR LF",
          "第 3 行：行尾只有 LF，應為 CR LF"}},
        {"no CR LF at the end",
         File({kExampleHeader, kSoundDetail1}) + kSoundDetail2,
         {"第 3 行：行尾沒有 CR LF"}},
        {"59 bytes",
         File({kExampleHeader, kSoundDetail1, shortLine}),
         {"第 3 行：長度 59 位元組，應為 60", "第 1 行：表頭總筆數 2 與明細筆數 1 不符",
          "第 1 行：表頭總金額 155500 與明細合計 35000 不符"}},
        {"header of 59 bytes",
         File({kExampleHeader.left(59), kSoundDetail1, kSoundDetail2}),
         {"第 1 行：長度 59 位元組，應為 60"}},
        {"record type", Changed(2, 59, "0"), {"第 3 行：第 60 位應為 9"}},
        {"details first", File({kSoundDetail1, kSoundDetail2}), {"第 1 行：第一行應為表頭記錄"}},
        {"header twice",
         File({kExampleHeader, kSoundDetail1, kExampleHeader, kSoundDetail2}),
         {"第 3 行：表頭記錄只能在第一行"}},
        {"1,000 records", Records(1000), {"明細 1000 筆，超過 999 筆"}},
        {"999 records", Records(999), {}},
        // The header record.
        {"no such day", Changed(0, 0, "910231"), {"第 1 行：登錄日期 910231 不是正確的國曆日期"}},
        {"no such month", Changed(0, 6, "911305"), {"第 1 行：轉帳日期 911305 不是正確的國曆日期"}},
        {"transfer before login", Changed(0, 6, "910502"), {"第 1 行：轉帳日期早於登錄日期"}},
        {"transfer on the login day", Changed(0, 6, "910503"), {}},
        {"branch 000", Changed(0, 12, "000"), {"第 1 行：分行代號 000 不正確"}},
        {"letter in the branch", Changed(0, 12, "1A3"), {"第 1 行：分行代號 1A3 不正確"}},
        {"unified number", Changed(0, 15, "1234567X"), {"第 1 行：統一編號 1234567X 不是數字"}},
        {"customer code", Changed(0, 23, "04 "), {"第 1 行：客戶代號 04  不是數字"}},
        {"not 14 zeros", Changed(0, 39, "1"), {"第 1 行：第 27 至 40 位應為 14 個 0"}},
        {"blank in the total",
         Changed(0, 51, " "),
         {"第 1 行：總金額不是數字", "第 1 行：表頭總金額 0 與明細合計 155500 不符"}},
        {"letter in the count",
         Changed(0, 52, "O"),
         {"第 1 行：總筆數不是數字", "第 1 行：表頭總筆數 0 與明細筆數 2 不符"}},
        {"no blanks in 57 to 59", Changed(0, 58, "0"), {"第 1 行：第 57 至 59 位應為空白"}},
        {"wrong header count", Changed(0, 52, "0003"), {"第 1 行：表頭總筆數 3 與明細筆數 2 不符"}},
        {"wrong header total",
         Changed(0, 51, "1"),
         {"第 1 行：表頭總金額 155501 與明細合計 155500 不符"}},
        // The detail records.
        {"letter in an account", Changed(1, 8, "A"), {"第 2 行：帳號 00201A16000011 不是數字"}},
        {"bad check digit", Changed(2, 16, "5"), {"第 3 行：帳號 00123456789015 檢查碼不正確"}},
        {"account beyond 12 digits",
         Changed(2, 3, "10"),
         {"第 3 行：帳號 10123456789014 檢查碼不正確"}},
        {"letter in an amount",
         Changed(2, 20, "O"),
         {"第 3 行：金額 000O00120500 不是數字",
          "第 1 行：表頭總金額 155500 與明細合計 35000 不符"}},
        {"letter in a certificate",
         Changed(1, 36, "X"),
         {"第 2 行：存單號碼 0001234X 不是八位數字"}},
        {"no blanks in 38 to 59", Changed(2, 58, "0"), {"第 3 行：第 38 至 59 位應為空白"}},
        {"certificate on another account",
         Changed(2, 29, "00012345"),
         {"第 3 行：非 016 帳號不應有存單號碼"}},
        {"016 without certificate", Changed(1, 29, "        "), {"第 2 行：016 帳號缺少存單號碼"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Faults(c.bytes), Text(c.faults)) << c.what;
}

TEST(TransferFileCheckTest, TheLargestFileIsReadWholeAndItsRecordsKeptOnlyWhenAsked) {
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
