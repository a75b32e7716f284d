#include "batch/BatchDateChecks.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

// Today is 910505 (5 May 2002); nothing is refused when `fault` is empty.
TEST(BatchDateChecksTest, FirstFailingCheckInOrder) {
    using enum BatchDateFault;
    const struct {
        const char* login;
        const char* transfer;
        std::optional<BatchDateFault> fault;
        const char* title;
        int focus;
    } cases[] = {
        {"910230", "910505", LoginInvalid, "輸入錯誤", 0},
        {"91050", "91050", LoginInvalid, "輸入錯誤", 0},
        {"910504", "910230", LoginBeforeToday, "", 0},
        {"910505", "910230", TransferInvalid, "輸入錯誤", 1},
        // Five characters fail the validity check before the length check is reached.
        {"910505", "91050", TransferInvalid, "輸入錯誤", 1},
        {"910506", "910505", TransferBeforeLogin, "輸入錯誤", 1},
        {"910505", "910505", std::nullopt, "", 0},
        {"911231", "920229", TransferInvalid, "輸入錯誤", 1},
        {"911231", "930229", std::nullopt, "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.login) + " / " + c.transfer);
        const auto refusal = CheckBatchDates(
            QString::fromUtf8(c.login), QString::fromUtf8(c.transfer), QStringLiteral("910505"));
        ASSERT_EQ(refusal.has_value(), c.fault.has_value());
        if (refusal) {
            EXPECT_EQ(refusal->fault, *c.fault);
            EXPECT_EQ(refusal->title, QString::fromUtf8(c.title));
            EXPECT_EQ(refusal->focusIndex, c.focus);
        }
    }
}

}  // namespace
}  // namespace paysum
