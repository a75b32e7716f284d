#include "batch/BatchDateChecks.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

struct DateCase {
    const char* login;
    const char* transfer;
    std::optional<BatchDateFault> fault;
    const char* message;
    const char* title;
    int focus;
};

// Today is 910505 (5 May 2002) throughout.
TEST(BatchDateChecksTest, FirstFailingCheckInOrder) {
    const DateCase cases[] = {
        {"910230", "910505", BatchDateFault::LoginInvalid, "輸入日期錯誤!!", "輸入錯誤", 0},
        {"91050", "91050", BatchDateFault::LoginInvalid, "輸入日期錯誤!!", "輸入錯誤", 0},
        {"", "910505", BatchDateFault::LoginInvalid, "輸入日期錯誤!!", "輸入錯誤", 0},
        {"910504", "910230", BatchDateFault::LoginBeforeToday, "日期必須大於等於今天", "", 0},
        {"910505", "910230", BatchDateFault::TransferInvalid, "輸入日期錯誤!!", "輸入錯誤", 1},
        // Five characters fail the validity check before the length check is reached.
        {"910505", "91050", BatchDateFault::TransferInvalid, "輸入日期錯誤!!", "輸入錯誤", 1},
        {"910506", "910505", BatchDateFault::TransferBeforeLogin,
         "轉帳日期中之年月日(yymmdd)應 大於等於 登錄日期!!", "輸入錯誤", 1},
        {"910505", "910505", std::nullopt, "", "", 0},
        {"910506", "920101", std::nullopt, "", "", 0},
        {"890229", "890229", BatchDateFault::LoginBeforeToday, "日期必須大於等於今天", "", 0},
    };
    for (const DateCase& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " / " + c.transfer);
        const std::optional<BatchDateRefusal> refusal = CheckBatchDates(
            QString::fromUtf8(c.login), QString::fromUtf8(c.transfer), QStringLiteral("910505"));
        ASSERT_EQ(refusal.has_value(), c.fault.has_value());
        if (!refusal)
            continue;
        EXPECT_EQ(refusal->fault, *c.fault);
        EXPECT_EQ(refusal->message, QString::fromUtf8(c.message));
        EXPECT_EQ(refusal->title, QString::fromUtf8(c.title));
        EXPECT_EQ(refusal->focusIndex, c.focus);
    }
}

TEST(BatchDateChecksTest, LeapDayAndYearEnd) {
    // 2004 (ROC 93) is a leap year, 2002 is not.
    EXPECT_FALSE(CheckBatchDates(QStringLiteral("930229"), QStringLiteral("930301"),
                                 QStringLiteral("930228")));
    EXPECT_EQ(CheckBatchDates(QStringLiteral("911231"), QStringLiteral("920229"),
                              QStringLiteral("911231"))
                  ->fault,
              BatchDateFault::TransferInvalid);
    EXPECT_FALSE(CheckBatchDates(QStringLiteral("911231"), QStringLiteral("920101"),
                                 QStringLiteral("911231")));
}

}  // namespace
}  // namespace paysum
