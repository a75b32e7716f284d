#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffStore.h"
#include "staff/Renumbering.h"
#include "staff/StaffFixture.h"

namespace paysum {
namespace {

using test::kItemTable;
using test::kStaffTable;

TEST(IncrementCode, CountsInThirtyTwoBitsUpToTheHighestCode) {
    EXPECT_EQ(IncrementCode(QStringLiteral("00012")), QStringLiteral("00013"));
    // Codes above 32767 are codes the program itself gives (temporary payees from 90001).
    EXPECT_EQ(IncrementCode(QStringLiteral("90001")), QStringLiteral("90002"));
    EXPECT_EQ(IncrementCode(QStringLiteral("99999")), std::nullopt);
    EXPECT_EQ(IncrementCode(QStringLiteral("1234")), std::nullopt);
    EXPECT_EQ(IncrementCode(QStringLiteral("0001a")), std::nullopt);
}

TEST(PlanRoomForCode, MovesOnlyTheConsecutiveRunFromTheCode) {
    struct Case {
        const char* what;
        QStringList staff;  // the employees' codes from the new code up
        QStringList items;  // the transfer records' codes from the new code up
        QString code;
        QString last;  // the highest code that moves
        int count;
        RoomRefusal refusal;
    };
    const Case cases[] = {
        {"codes 1 to 5, newcomer at 3",
         {"00003", "00004", "00005"},
         {},
         "00003",
         "00005",
         3,
         RoomRefusal::None},
        {"1, 2, 7 and a newcomer at 2",
         {"00002", "00007"},
         {},
         "00002",
         "00002",
         1,
         RoomRefusal::None},
        {"3, 4, 5, 8 and a newcomer at 4",
         {"00004", "00005", "00008"},
         {},
         "00004",
         "00005",
         2,
         RoomRefusal::None},
        {"the highest code", {"00009"}, {}, "00009", "00009", 1, RoomRefusal::None},
        {"a code nobody has", {"00010"}, {}, "00004", {}, 0, RoomRefusal::None},
        {"the run's own transfer records",
         {"00003", "00004"},
         {"00003", "00004", "00009"},
         "00003",
         "00004",
         2,
         RoomRefusal::None},
        {"a run reaching 99999",
         {"99997", "99998", "99999"},
         {},
         "99997",
         "99999",
         3,
         RoomRefusal::PastHighestCode},
        {"a transfer record on the code the run moves into",
         {"00003", "00004"},
         {"00005"},
         "00003",
         "00004",
         2,
         RoomRefusal::TransferInTheWay},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CodeRoom room = PlanRoomForCode(c.code, c.staff, c.items);
        EXPECT_EQ(room.first, c.count ? c.code : QString());
        EXPECT_EQ(room.last, c.last);
        EXPECT_EQ(room.count, c.count);
        EXPECT_EQ(room.refusal, c.refusal);
        EXPECT_EQ(room.blockingCode,
                  c.refusal == RoomRefusal::TransferInTheWay ? QStringLiteral("00005") : QString());
    }
}

using StaffStoreTest = test::StaffFixture;

TEST_F(StaffStoreTest, ShiftMovesEmployeesAndTheirTransferRecordsTogether) {
    for (const char* code : {"00001", "00002", "00003", "00004", "00005", "00009", "1234"})
        InsertRow(kStaffTable,
                  {QString::fromLatin1(code), QStringLiteral("004001012341"), QStringLiteral("100"),
                   QStringLiteral("員工") + QString::fromLatin1(code)});
    InsertRow(kItemTable,
              {QStringLiteral("00003"), QStringLiteral("004001012341"), QStringLiteral("500"),
               QStringLiteral("員工00003"), QString(), QStringLiteral("獎金")});
    InsertRow(kItemTable, {QStringLiteral("00005")});
    InsertRow(kItemTable, {QStringLiteral("90001")});

    const QSqlDatabase db = Connection(MainDatabasePath());
    QStringList staff;
    ASSERT_FALSE(ReadCodesFrom(db, kStaffTable, QStringLiteral("00003"), &staff));
    // Only five-digit codes take part: "1234" would sort inside the run.
    EXPECT_EQ(staff, (QStringList{"00003", "00004", "00005", "00009"}));

    Transaction transaction(db);
    ASSERT_FALSE(ShiftCodesUp(db, QStringLiteral("00003"), QStringLiteral("00005"), 3));
    ASSERT_FALSE(transaction.Commit());
    EXPECT_EQ(Codes(kStaffTable),
              (QStringList{"00001", "00002", "00004", "00005", "00006", "00009", "1234"}));
    EXPECT_EQ(Row(kStaffTable, QStringLiteral("00004"))[3], QStringLiteral("員工00003"));
    EXPECT_EQ(Codes(kItemTable), (QStringList{"00004", "00006", "90001"}));
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00004")),
              (QStringList{"00004", "004001012341", "500", "員工00003", "", "獎金"}));
}

}  // namespace
}  // namespace paysum
