#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/RecordsetModel.h"
#include "support/CoreTest.h"

#include <QSignalSpy>

#include <algorithm>
#include <functional>

namespace paysum {
namespace {

const QChar kWang(0x738b);  // 王

class RecordsetTest : public test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        CreateDatabases();
        control.SetConnectionString(MainDatabasePath());
        control.SetCommandType(CommandType::Text);
    }

    // Employees with the given codes, stored in this order; the set reads them in code order.
    void Staff(const QStringList& codes) {
        for (const QString& code : codes)
            InsertRow(QStringLiteral("S_STAFF"),
                      {code, QString(), QString(), QStringLiteral("員工") + code});
        control.SetRecordSource(QStringLiteral("select * from S_STAFF order by ID"));
        ASSERT_FALSE(control.Refresh());
    }

    Recordset& rs() { return control.Recordset(); }

    DataControl control;
};

TEST_F(RecordsetTest, EmptySetIsAtBothEndsAndReadsSafely) {
    ASSERT_FALSE(control.PointAt(QStringLiteral("S_ITEM")));
    EXPECT_TRUE(rs().AtEOF() && rs().AtBOF());
    EXPECT_EQ(rs().Field(QStringLiteral("ID")), QString());
    rs().MoveNext();
    rs().MovePrevious();
    rs().MoveLast();
    EXPECT_TRUE(rs().AtEOF());
    EXPECT_TRUE(rs().Delete().has_value());
}

TEST_F(RecordsetTest, MovesFindFromTheCurrentRecordAndSignalEachMove) {
    Staff({QStringLiteral("00003"), QStringLiteral("00001"), QStringLiteral("00002")});
    QSignalSpy moves(&rs(), &Recordset::MoveComplete);
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));

    rs().Find(QStringLiteral("ID"), QStringLiteral("00003"));
    EXPECT_EQ(rs().Field(QStringLiteral("NAME")), QStringLiteral("員工00003"));
    // From the last row a code that stands earlier is not found.
    rs().Find(QStringLiteral("ID"), QStringLiteral("00002"));
    EXPECT_TRUE(rs().AtEOF());
    rs().MoveFirst();
    rs().Find(QStringLiteral("ID"), QStringLiteral("00002"));
    EXPECT_EQ(rs().AbsolutePosition(), 1);
    // Finding the current row keeps it.
    rs().Find(QStringLiteral("ID"), QStringLiteral("00002"));
    EXPECT_EQ(rs().AbsolutePosition(), 1);
    rs().MovePrevious();
    rs().MovePrevious();
    EXPECT_TRUE(rs().AtBOF());
    EXPECT_FALSE(rs().AtEOF());
    EXPECT_EQ(moves.count(), 7);
}

TEST_F(RecordsetTest, DeleteStaysOnTheDeletedRecordUntilTheNextMove) {
    Staff({QStringLiteral("00001"), QStringLiteral("00002"), QStringLiteral("00003")});
    const RecordsetModel grid(&rs(), {{QStringLiteral("代碼"), QStringLiteral("ID"), 1110}});
    rs().MoveNext();
    ASSERT_FALSE(rs().Delete());
    EXPECT_EQ(rs().Field(0), QStringLiteral("00002"));
    EXPECT_EQ(rs().RecordCount(), 2);
    EXPECT_EQ(grid.rowCount(), 2);
    rs().MoveNext();
    EXPECT_EQ(rs().Field(0), QStringLiteral("00003"));

    // Deleting the last row: the next move reaches EOF, one back is the new last row.
    ASSERT_FALSE(rs().Delete());
    rs().MoveNext();
    EXPECT_TRUE(rs().AtEOF());
    rs().MovePrevious();
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));

    // Deleting the only row leaves both ends, even after stepping back.
    ASSERT_FALSE(rs().Delete());
    rs().MoveNext();
    EXPECT_TRUE(rs().AtEOF());
    rs().MovePrevious();
    EXPECT_TRUE(rs().AtBOF() && rs().AtEOF());
    EXPECT_TRUE(Rows(QStringLiteral("S_STAFF")).isEmpty());
}

TEST_F(RecordsetTest, UpdateStoresWhatWasAssignedAndRefusesWhatDoesNotFit) {
    Staff({QStringLiteral("00001")});
    const RecordsetModel grid(&rs(), {{QStringLiteral("姓名"), QStringLiteral("NAME"), 1740}});
    rs().AddNew();
    rs().SetField(QStringLiteral("ID"), QStringLiteral("00009"));
    rs().SetField(3, QStringLiteral("新人"));
    ASSERT_FALSE(rs().Update());
    // Editing a stored row writes only that row; an assignment dropped by a move is not stored.
    rs().MoveFirst();
    rs().SetField(QStringLiteral("PAYSUM"), QStringLiteral("35000"));
    ASSERT_FALSE(rs().Update());
    rs().SetField(2, QStringLiteral("1"));
    rs().MoveNext();
    const QList<QStringList> stored{
        {QStringLiteral("00001"), QString(), QStringLiteral("35000"), QStringLiteral("員工00001"),
         QString()},
        {QStringLiteral("00009"), QString(), QString(), QStringLiteral("新人"), QString()}};
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")), stored);

    rs().MoveFirst();
    rs().SetField(QStringLiteral("ID"), QStringLiteral("000012"));
    const DbResult tooLong = rs().Update();
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_EQ(tooLong->kind, DbErrorKind::FieldTooLong);
    EXPECT_EQ(tooLong->field, 0);
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));
    // Widths count characters: thirty Chinese characters fit the name column, thirty-one do not.
    rs().SetField(3, QString(31, kWang));
    EXPECT_EQ(rs().Update()->kind, DbErrorKind::FieldTooLong);
    rs().SetField(3, QString(30, kWang));
    EXPECT_FALSE(rs().Update());
    EXPECT_EQ(grid.index(0, 0).data().toString(), QString(30, kWang));
    // Half a character is never stored, whatever the width.
    const QString emoji = QStringLiteral("\U0001F600");
    rs().SetField(3, QStringLiteral("a") + emoji.left(1));
    const DbResult half = rs().Update();
    ASSERT_TRUE(half.has_value());
    EXPECT_EQ(half->field, 3);
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF"))[0][3], QString(30, kWang));

    // A refused new record puts the set back on the record before AddNew.
    rs().AddNew();
    rs().SetField(0, QStringLiteral("00001"));
    EXPECT_EQ(rs().Update()->kind, DbErrorKind::DuplicateKey);
    EXPECT_EQ(rs().RecordCount(), 2);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(rs().Field(3), QString(30, kWang));
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 2);
}

// A set of 1,000 employees is read a page at a time: every way of reaching a row must find the
// same row a full read would, also after writes in the middle of it.
TEST_F(RecordsetTest, LargeSetReadsEveryRowWhereAFullReadWouldPutIt) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    {
        Transaction transaction(db);
        // Stored out of code order: odd codes first, then even ones.
        for (int start : {1, 2}) {
            for (int code = start; code <= 1000; code += 2)
                ASSERT_FALSE(Execute(db, "INSERT INTO S_STAFF (ID, NAME) VALUES (?, ?)",
                                     {QString::asprintf("%05d", code), QString::number(code)}));
        }
        ASSERT_FALSE(transaction.Commit());
    }
    control.SetRecordSource(QStringLiteral("select * from S_STAFF order by ID"));
    ASSERT_FALSE(control.Refresh());
    const auto code = [](int n) { return QString::asprintf("%05d", n); };
    EXPECT_EQ(rs().RecordCount(), 1000);

    // Rows far apart first, then a walk over every page.
    EXPECT_EQ(rs().Value(700, 0), code(701));
    rs().MoveLast();
    EXPECT_EQ(rs().Field(0), code(1000));
    EXPECT_EQ(rs().Value(300, 0), code(301));
    rs().MoveFirst();
    QStringList walked;
    for (; !rs().AtEOF(); rs().MoveNext())
        walked << rs().Field(0);
    ASSERT_EQ(walked.size(), 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(walked[i], code(i + 1));

    // Find looks forward from the current row only.
    rs().MoveTo(10);
    rs().Find(QStringLiteral("ID"), code(600));
    EXPECT_EQ(rs().AbsolutePosition(), 599);
    rs().Find(QStringLiteral("NAME"), QStringLiteral("650"));
    EXPECT_EQ(rs().AbsolutePosition(), 649);
    rs().Find(QStringLiteral("ID"), code(5));
    EXPECT_TRUE(rs().AtEOF());

    // A new code stands in code order; a changed code moves; a delete closes the gap.
    rs().AddNew();
    rs().SetField(0, QStringLiteral("01500"));
    ASSERT_FALSE(rs().Update());
    EXPECT_EQ(rs().AbsolutePosition(), 1000);
    rs().MoveTo(1);
    rs().SetField(0, code(888));
    EXPECT_EQ(rs().Update()->kind, DbErrorKind::DuplicateKey);
    EXPECT_EQ(rs().Field(0), code(2));
    rs().SetField(0, QStringLiteral("01200"));
    ASSERT_FALSE(rs().Update());
    EXPECT_EQ(rs().AbsolutePosition(), 999);
    EXPECT_EQ(rs().Field(3), QStringLiteral("2"));
    EXPECT_EQ(rs().Value(1, 0), code(3));
    rs().MoveLast();
    ASSERT_FALSE(rs().Delete());
    rs().MoveNext();
    EXPECT_TRUE(rs().AtEOF());
    rs().MovePrevious();
    EXPECT_EQ(rs().Field(0), QStringLiteral("01200"));
    EXPECT_EQ(rs().RecordCount(), 1000);
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 1000);

    // In a filtered set a stored row and a found key stand among the rows the filter admits.
    control.SetRecordSource(
        QStringLiteral("select * from S_STAFF where ID >= ? and ID < ? order by ID"),
        {code(100), code(200)});
    ASSERT_FALSE(control.Refresh());
    EXPECT_EQ(rs().RecordCount(), 100);
    rs().MoveTo(50);
    ASSERT_EQ(rs().Field(0), code(150));
    ASSERT_FALSE(rs().Delete());
    rs().AddNew();
    rs().SetField(0, code(150));
    ASSERT_FALSE(rs().Update());
    EXPECT_EQ(rs().AbsolutePosition(), 50);
    EXPECT_EQ(rs().Value(51, 0), code(151));
    rs().Find(QStringLiteral("ID"), code(199));
    EXPECT_EQ(rs().AbsolutePosition(), 99);
}

// A row that cannot be read is not taken for an empty one: the failure reaches the caller, and
// nothing is written to the row or claimed stored. Rows another program removes are noticed.
TEST_F(RecordsetTest, ARowThatCannotBeReadIsReportedAndNeverWritten) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    InsertStaffUpTo(300, [](const QString& code) { return QStringList{code, "", "", "舊"}; });
    control.SetRecordSource(QStringLiteral("select * from S_STAFF order by ID"));
    ASSERT_FALSE(control.Refresh());
    EXPECT_FALSE(rs().ReadCurrent());
    // Another program takes the table away behind the set's back, after its first page was read.
    const auto rename = [](const char* from, const char* to) {
        const ScopedConnection other(MainDatabasePath(), ScopedConnection::Access::Create);
        ASSERT_FALSE(Execute(other.Handle(), QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                                                 .arg(QLatin1String(from), QLatin1String(to))));
    };
    rename("S_STAFF", "AWAY");
    rs().MoveLast();
    EXPECT_EQ(rs().Field(0), QString());
    EXPECT_TRUE(rs().ReadCurrent().has_value());
    EXPECT_TRUE(rs().ReadError().has_value());
    EXPECT_TRUE(rs().SetField(QStringLiteral("NAME"), QStringLiteral("新")).has_value());
    EXPECT_TRUE(rs().Update().has_value());
    EXPECT_TRUE(rs().Delete().has_value());
    // A row read already takes an assignment, but its store fails; a key that cannot be sought
    // is told from one that is not there.
    rs().MoveFirst();
    EXPECT_FALSE(rs().SetField(QStringLiteral("NAME"), QStringLiteral("新")));
    EXPECT_TRUE(rs().Update().has_value());
    rs().Find(QStringLiteral("ID"), QStringLiteral("00250"));
    EXPECT_TRUE(rs().AtEOF());
    EXPECT_TRUE(rs().ReadError().has_value());
    EXPECT_TRUE(control.Refresh().has_value());
    EXPECT_TRUE(rs().AtEOF() && rs().AtBOF());

    rename("AWAY", "S_STAFF");
    ASSERT_FALSE(control.Refresh());
    EXPECT_FALSE(rs().ReadError());
    const QList<QStringList> rows = Rows(QStringLiteral("S_STAFF"));
    ASSERT_EQ(rows.size(), 300);
    for (const QStringList& row : rows)
        ASSERT_EQ(row[3], QStringLiteral("舊")) << row[0].toStdString();

    // Another program removes rows near the start once the first page is read: the rows further
    // on are read where they stand now, none twice and none skipped.
    {
        const ScopedConnection other(MainDatabasePath(), ScopedConnection::Access::Create);
        ASSERT_FALSE(Execute(other.Handle(),
                             QStringLiteral("DELETE FROM S_STAFF WHERE ID BETWEEN ? AND ?"),
                             {QStringLiteral("00011"), QStringLiteral("00020")}));
    }
    QStringList walked;
    for (rs().MoveFirst(); !rs().AtEOF(); rs().MoveNext())
        walked << rs().Field(0);
    EXPECT_EQ(std::adjacent_find(walked.begin(), walked.end(), std::greater_equal<>()),
              walked.end());
    EXPECT_TRUE(walked.contains(QStringLiteral("00129")));
    EXPECT_EQ(walked.back(), QStringLiteral("00300"));
    EXPECT_EQ(rs().RecordCount(), 290);
    EXPECT_EQ(rs().Value(289, 0), QStringLiteral("00300"));
    EXPECT_FALSE(rs().ReadError());
}

}  // namespace
}  // namespace paysum
