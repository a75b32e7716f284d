#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/StaffStore.h"
#include "staff/Renumbering.h"
#include "staff/StaffFixture.h"

namespace paysum {
namespace {

TEST(IncrementCode, CountsInThirtyTwoBitsUpToTheHighestCode) {
    EXPECT_EQ(IncrementCode(QStringLiteral("00012")), QStringLiteral("00013"));
    EXPECT_EQ(IncrementCode(QStringLiteral("09999")), QStringLiteral("10000"));
    // Codes above 32767 are codes the program itself gives (temporary payees from 90001).
    EXPECT_EQ(IncrementCode(QStringLiteral("90001")), QStringLiteral("90002"));
    EXPECT_EQ(IncrementCode(QStringLiteral("99998")), QStringLiteral("99999"));
    EXPECT_EQ(IncrementCode(QStringLiteral("99999")), std::nullopt);
    EXPECT_EQ(IncrementCode(QStringLiteral("1234")), std::nullopt);
    EXPECT_EQ(IncrementCode(QStringLiteral("0001a")), std::nullopt);
}

struct PlanCase {
    const char* what;
    QStringList staff;
    QStringList items;
    QString code;
    QString first;
    QString last;
    int count;
    RoomRefusal refusal;
    QString blocking;
};

TEST(PlanRoomForCode, MovesOnlyTheConsecutiveRunFromTheCode) {
    const auto codes = [](std::initializer_list<const char*> list) {
        QStringList result;
        for (const char* code : list)
            result << QString::fromLatin1(code);
        return result;
    };
    const PlanCase cases[] = {
        {"codes 1 to 5, newcomer at 3",
         codes({"00003", "00004", "00005"}),
         {},
         "00003",
         "00003",
         "00005",
         3,
         RoomRefusal::None,
         {}},
        {"a gap stops the run",
         codes({"00002", "00007"}),
         {},
         "00002",
         "00002",
         "00002",
         1,
         RoomRefusal::None,
         {}},
        {"3, 4, 5, 8 and a newcomer at 4",
         codes({"00004", "00005", "00008"}),
         {},
         "00004",
         "00004",
         "00005",
         2,
         RoomRefusal::None,
         {}},
        {"the highest code",
         codes({"00009"}),
         {},
         "00009",
         "00009",
         "00009",
         1,
         RoomRefusal::None,
         {}},
        {"a code nobody has", codes({"00010"}), {}, "00004", {}, {}, 0, RoomRefusal::None, {}},
        {"transfer records of the run move with it",
         codes({"00003", "00004"}),
         codes({"00003", "00004", "00009"}),
         "00003",
         "00003",
         "00004",
         2,
         RoomRefusal::None,
         {}},
        {"a run reaching 99999",
         codes({"99997", "99998", "99999"}),
         {},
         "99997",
         "99997",
         "99999",
         3,
         RoomRefusal::PastHighestCode,
         {}},
        {"99999 itself",
         codes({"99999"}),
         {},
         "99999",
         "99999",
         "99999",
         1,
         RoomRefusal::PastHighestCode,
         {}},
        {"a transfer record with the code the run moves into", codes({"00003", "00004"}),
         codes({"00005"}), "00003", "00003", "00004", 2, RoomRefusal::TransferInTheWay, "00005"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        const CodeRoom room = PlanRoomForCode(c.code, c.staff, c.items);
        EXPECT_EQ(room.first, c.first);
        EXPECT_EQ(room.last, c.last);
        EXPECT_EQ(room.count, c.count);
        EXPECT_EQ(room.refusal, c.refusal);
        EXPECT_EQ(room.blockingCode, c.blocking);
    }
}

TEST(PlanRoomForCode, ARunOfTenThousandCodes) {
    QStringList staff;
    for (int i = 1; i <= 10000; ++i)
        staff << QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
    staff << QStringLiteral("20000");
    const CodeRoom room = PlanRoomForCode(QStringLiteral("00001"), staff, {});
    EXPECT_EQ(room.count, 10000);
    EXPECT_EQ(room.last, QStringLiteral("10000"));
}

using StaffStoreTest = test::StaffFixture;

TEST_F(StaffStoreTest, ShiftMovesEmployeesAndTheirTransferRecordsTogether) {
    for (const char* code : {"00001", "00002", "00003", "00004", "00005", "00009", "1234"})
        InsertRow(QStringLiteral("S_STAFF"),
                  {QString::fromLatin1(code), QStringLiteral("004001012341"), QStringLiteral("100"),
                   QStringLiteral("員工") + QString::fromLatin1(code)});
    InsertRow(QStringLiteral("S_ITEM"),
              {QStringLiteral("00003"), QStringLiteral("004001012341"), QStringLiteral("500"),
               QStringLiteral("員工00003"), QString(), QStringLiteral("獎金")});
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00005")});
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("90001")});

    const QSqlDatabase db = Connection(MainDatabasePath());
    QStringList staff;
    ASSERT_FALSE(ReadCodesFrom(db, QStringLiteral("S_STAFF"), QStringLiteral("00003"), &staff));
    // Only five-digit codes take part: "1234" would sort inside the run.
    EXPECT_EQ(staff, (QStringList{"00003", "00004", "00005", "00009"}));

    Transaction transaction(db);
    ASSERT_FALSE(ShiftCodesUp(db, QStringLiteral("00003"), QStringLiteral("00005"), 3));
    ASSERT_FALSE(transaction.Commit());

    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")),
              (QStringList{"00001", "00002", "00004", "00005", "00006", "00009", "1234"}));
    EXPECT_EQ(Codes(QStringLiteral("S_ITEM")), (QStringList{"00004", "00006", "90001"}));
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00004"))[3],
              QStringLiteral("員工00003"));
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM"))[0],
              (QStringList{"00004", "004001012341", "500", "員工00003", "", "獎金"}));
}

TEST_F(StaffStoreTest, AFailedShiftRollsBackAndMovesNothing) {
    for (const char* code : {"00001", "00002", "00004"})
        InsertRow(QStringLiteral("S_STAFF"), {QString::fromLatin1(code)});
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    const QSqlDatabase db = Connection(MainDatabasePath());
    {
        // The caller believed 1 to 3 were all taken; the table disagrees.
        Transaction transaction(db);
        EXPECT_TRUE(ShiftCodesUp(db, QStringLiteral("00001"), QStringLiteral("00003"), 3));
    }
    {
        // Moving 1 and 2 up onto a taken 3 fails on the key.
        InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00003")});
        Transaction transaction(db);
        EXPECT_TRUE(ShiftCodesUp(db, QStringLiteral("00001"), QStringLiteral("00002"), 2));
    }
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")), (QStringList{"00001", "00002", "00003", "00004"}));
    EXPECT_EQ(Codes(QStringLiteral("S_ITEM")), (QStringList{"00001"}));
}

}  // namespace
}  // namespace paysum
