#include "output/BatchWarnings.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

using Table = QList<QStringList>;

// A payee in the employee master, paid 30000 into the account the transfer names.
PayeeCheck InMaster(const QString& id, const QString& account, const QString& amount) {
    return {id, account, amount, true, account, QStringLiteral("30000")};
}

PayeeCheck Temporary(const QString& id, const QString& account, const QString& amount) {
    return {id, account, amount, false, {}, {}};
}

const QString kTwice = QStringLiteral("帳號 004001012341 重複：員工代碼 00001、90001");
const QString kZero = QStringLiteral("金額為零：員工代碼 00002");
const QString kLarge = QStringLiteral("金額超過員工基本資料薪資的三倍：員工代碼 00003");
const QString kOtherAccount = QStringLiteral("帳號與員工基本資料不同：員工代碼 00004");
const QString kSameAsLast = QStringLiteral("帳號與金額和上一批已歸檔的薪資轉帳資料完全相同");

TEST(BatchWarningsTest, EachWarningAloneAndAllTogether) {
    const std::vector<PayeeCheck> sound{InMaster("00001", "004001012341", "30000"),
                                        InMaster("00002", "123016789016", " 1"),
                                        Temporary("90001", "201016000011", "500000")};
    const Table lastRun{{"123016789016", "1"}, {"004001012341", "30001"}};
    EXPECT_EQ(BatchWarnings(sound, lastRun), QStringList{});

    std::vector<PayeeCheck> twice = sound;
    twice[2].account = QStringLiteral("004001012341 ");
    std::vector<PayeeCheck> zero = sound;
    zero[1].amount = QStringLiteral("  0");
    std::vector<PayeeCheck> large = sound;
    large.push_back(InMaster("00003", "102000000012", "90001"));
    std::vector<PayeeCheck> otherAccount = sound;
    otherAccount.push_back(InMaster("00004", "102000000013", "100"));
    otherAccount.back().masterAccount = QStringLiteral("102000000012");
    // The same accounts and amounts as the last run in another order, blanks aside.
    const Table sameAsLast{
        {"201016000011", "500000"}, {"123016789016", "1"}, {"004001012341", "30000"}};
    const struct {
        const char* name;
        std::vector<PayeeCheck> payees;
        Table last;
        QStringList warnings;
    } cases[] = {
        {"account twice", twice, {}, {kTwice}},
        {"zero", zero, {}, {kZero}},
        {"over three times the pay", large, {}, {kLarge}},
        {"other account", otherAccount, {}, {kOtherAccount}},
        {"same as the last run", sound, sameAsLast, {kSameAsLast}},
    };
    std::vector<PayeeCheck> all = twice;
    all[1] = zero[1];
    all.push_back(large.back());
    all.push_back(otherAccount.back());
    Table lastOfAll = sameAsLast;
    lastOfAll[0][0] = QStringLiteral("004001012341");
    lastOfAll[1][1] = QStringLiteral("0");
    lastOfAll << QStringList{"102000000012", "90001"} << QStringList{"102000000013", "100"};
    for (const auto& c : cases)
        EXPECT_EQ(BatchWarnings(c.payees, c.last), c.warnings) << c.name;
    EXPECT_EQ(BatchWarnings(all, lastOfAll),
              (QStringList{kTwice, kZero, kLarge, kOtherAccount, kSameAsLast}));

    // A file written before the batch changed comes first; one that holds the batch is no news.
    WrittenFile written{"/media/usb/s1.txt", 183, "ab", 3, 100, "2026-01-05 09:12:00"};
    EXPECT_EQ(BatchWarnings(sound, {}, written), QStringList{});
    written = WrittenFile{"/media/usb/s1.txt", 0, "", 0, 0, ""};
    EXPECT_EQ(BatchWarnings(sound, {}, written),
              QStringList{"轉帳檔 /media/usb/s1.txt 產生後本批資料已變更，須重新產生轉帳檔"});
}

TEST(BatchWarningsTest, WhatGivesNoWarning) {
    PayeeCheck noPay = InMaster("00001", "004001012341", "35000");
    noPay.masterPay = QStringLiteral("0");
    const struct {
        const char* name;
        std::vector<PayeeCheck> payees;
        Table last;
    } cases[] = {
        {"exactly three times the pay", {InMaster("00001", "004001012341", "90000")}, {}},
        {"no pay in the master", {noPay}, {}},
        {"not in the master, with an account of its own", {Temporary("90001", "1", "5")}, {}},
        {"two payees without an account",
         {Temporary("90001", "", "5"), Temporary("90002", "", "6")},
         {}},
        {"one amount other than the last run's",
         {InMaster("00001", "004001012341", "30000"), InMaster("00002", "123016789016", "100")},
         {{"123016789016", "100"}, {"004001012341", "30001"}}},
        {"a transfer more than the last run",
         {InMaster("00001", "004001012341", "30000"), InMaster("00002", "123016789016", "100")},
         {{"004001012341", "30000"}}},
        {"an empty batch after a run", {}, {{"004001012341", "30000"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BatchWarnings(c.payees, c.last), QStringList{}) << c.name;
}

TEST(BatchWarningsTest, LongCodeListsAreCutWithACount) {
    std::vector<PayeeCheck> payees;
    for (int i = 1; i <= 12; ++i)
        payees.push_back(InMaster(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                                  QStringLiteral("004001012341"), QStringLiteral("0")));
    EXPECT_EQ(BatchWarnings(payees, {}),
              (QStringList{"帳號 004001012341 重複：員工代碼 00001、00002、00003、00004、00005、"
                           "00006、00007、00008、00009、00010…等 12 筆",
                           "金額為零：員工代碼 00001、00002、00003、00004、00005、00006、00007、"
                           "00008、00009、00010…等 12 筆"}));
    payees.resize(10);
    EXPECT_EQ(BatchWarnings(payees, {})[1],
              "金額為零：員工代碼 00001、00002、00003、00004、00005、00006、00007、00008、00009、"
              "00010");
}

}  // namespace
}  // namespace paysum
