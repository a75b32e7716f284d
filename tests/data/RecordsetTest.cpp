#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/RecordsetModel.h"
#include "data/StaffNames.h"
#include "data/StaffStore.h"
#include "data/TableRows.h"
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

// A search by part of a name lists, from the names held in memory, exactly the employees SQLite's
// own test admits, and follows every change to the file, whoever makes it.
TEST_F(RecordsetTest, ASearchByNameListsWhatSqlAdmitsAndFollowsEveryChange) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    const auto code = [](int n) { return QString::asprintf("%05d", n); };
    {
        Transaction transaction(db);
        // In code order the names run "林陳", "志明2", "林陳", "志明4", ...: "陳志" spans two
        // names.
        for (int start : {2, 1}) {
            for (int n = start; n <= 1000; n += 2)
                ASSERT_FALSE(Execute(
                    db, "INSERT INTO S_STAFF (ID, NAME) VALUES (?, ?)",
                    {code(n), n % 2 ? QStringLiteral("林陳") : QStringLiteral("志明%1").arg(n)}));
        }
        const QString odd[] = {"Ann_Lee", "ANN%", "O'Neil", "ａnn", ""};
        for (int n = 0; n < 5; ++n)
            ASSERT_FALSE(
                Execute(db, "UPDATE S_STAFF SET NAME = ? WHERE ID = ?", {odd[n], code(2 * n + 1)}));
        ASSERT_FALSE(transaction.Commit());
    }
    const auto admitted = [&](const QString& text) {
        QList<QStringList> rows;
        EXPECT_FALSE(ReadQueryRows(db,
                                   QStringLiteral("SELECT ID FROM S_STAFF WHERE ") +
                                       NameHoldsCondition() + QStringLiteral(" ORDER BY ID"),
                                   {text}, &rows));
        QStringList codes;
        for (const QStringList& row : rows)
            codes << row[0];
        return codes;
    };
    const auto held = [&](const QString& text) {
        QStringList codes;
        EXPECT_FALSE(CodesWhoseNamesHold(db, text, &codes));
        return codes;
    };
    for (const QString text : {"陳", "陳志", "林陳志", "志明1", "ann", "ANN", "Ａnn", "ａNN", "%",
                               "_", "'", "n_L", "99", "明100"}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(held(text), admitted(text));
    }
    EXPECT_TRUE(held(QStringLiteral("陳志")).isEmpty());
    EXPECT_EQ(held(QStringLiteral("ann")), (QStringList{code(1), code(3)}));

    // A paged read of the search: counted, read past its first page and found by code.
    control.SetRecordSource(StaffSelectByName(), {QStringLiteral("志明")});
    ASSERT_FALSE(control.Refresh());
    EXPECT_EQ(rs().RecordCount(), 500);
    EXPECT_EQ(rs().Value(300, 0), code(602));
    rs().MoveFirst();
    rs().Find(QStringLiteral("ID"), code(800));
    EXPECT_EQ(rs().AbsolutePosition(), 399);
    rs().Find(QStringLiteral("ID"), code(801));
    EXPECT_TRUE(rs().AtEOF());

    // Another program renames an employee; this connection moves names between codes as a
    // renumbering does; the search and the paged set follow both.
    {
        ScopedConnection other(MainDatabasePath(), ScopedConnection::Access::Create);
        ASSERT_FALSE(
            Execute(other.Handle(), "UPDATE S_STAFF SET NAME = '王' WHERE ID = ?", {code(2)}));
    }
    // The set looks again as it reads a page it has not read (the second).
    EXPECT_EQ(rs().Value(200, 0), code(404));
    EXPECT_EQ(rs().RecordCount(), 499);
    ASSERT_FALSE(Execute(db, "UPDATE S_STAFF SET NAME = '志明X' WHERE ID = ?", {code(999)}));
    EXPECT_EQ(held(QStringLiteral("志明x")), QStringList{code(999)});
    EXPECT_EQ(rs().Value(498, 0), code(999));
    EXPECT_EQ(rs().RecordCount(), 500);
    EXPECT_EQ(rs().Value(499, 0), code(1000));
    EXPECT_FALSE(rs().ReadError());

    // Inside a transaction the names are read as the transaction sees them, and a rollback
    // leaves nothing stale behind.
    {
        Transaction transaction(db);
        ASSERT_FALSE(Execute(db, "UPDATE S_STAFF SET NAME = '新' WHERE ID = ?", {code(4)}));
        EXPECT_EQ(held(QStringLiteral("新")), QStringList{code(4)});
    }
    EXPECT_TRUE(held(QStringLiteral("新")).isEmpty());
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
