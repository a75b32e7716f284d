#include "staff/Renumbering.h"

#include <gtest/gtest.h>

namespace paysum {
namespace {

TEST(PlanRoomForCode, MovesOnlyTheConsecutiveRunFromTheCode) {
    using enum RoomRefusal;
    const struct {
        const char* what;
        const char* staff;  // the employees' codes from the new code up
        const char* items;  // the transfer records' codes from the new code up
        const char* code;
        const char* last;  // the highest code that moves
        int count;
        RoomRefusal refusal;
    } cases[] = {
        {"codes 1 to 5, newcomer at 3", "00003 00004 00005", "", "00003", "00005", 3, None},
        {"1, 2, 7 and a newcomer at 2", "00002 00007", "", "00002", "00002", 1, None},
        {"3, 4, 5, 8 and a newcomer at 4", "00004 00005 00008", "", "00004", "00005", 2, None},
        {"the highest code", "00009", "", "00009", "00009", 1, None},
        {"a code nobody has", "00010", "", "00004", "", 0, None},
        // Counted in 32 bits: codes above 32767 are ones the program gives (payees from 90001).
        {"past sixteen bits", "32767 32768 90001", "", "32767", "32768", 2, None},
        {"the run's own transfers", "00003 00004", "00003 00004 00009", "00003", "00004", 2, None},
        {"a run reaching 99999", "99997 99998 99999", "", "99997", "99999", 3, PastHighestCode},
        {"a transfer in the way", "00003 00004", "00005", "00003", "00004", 2, TransferInTheWay},
    };
    const auto codes = [](const char* text) {
        return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CodeRoom room =
            PlanRoomForCode(QString::fromLatin1(c.code), codes(c.staff), codes(c.items));
        EXPECT_EQ(room.first, c.count ? QString::fromLatin1(c.code) : QString());
        EXPECT_EQ(room.last, QString::fromLatin1(c.last));
        EXPECT_EQ(room.count, c.count);
        EXPECT_EQ(room.refusal, c.refusal);
        EXPECT_EQ(room.blockingCode,
                  c.refusal == TransferInTheWay ? QStringLiteral("00005") : QString());
    }
}

}  // namespace
}  // namespace paysum
