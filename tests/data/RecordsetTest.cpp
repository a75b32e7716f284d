#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/RecordsetModel.h"
#include "support/PaysumTest.h"

#include <QSignalSpy>

namespace paysum {
namespace {

class RecordsetTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        control.SetConnectionString(MainDatabasePath());
        control.SetCommandType(CommandType::Text);
    }

    // Employees with the given codes, stored in this order; the set reads them in code order.
    void Staff(const QStringList& codes) {
        for (const QString& code : codes)
            InsertRow(QStringLiteral("S_STAFF"),
                      {code, QStringLiteral("004001012341"), QStringLiteral("100"),
                       QStringLiteral("員工") + code});
        control.SetRecordSource(QStringLiteral("select * from S_STAFF order by ID"));
        ASSERT_FALSE(control.Refresh());
    }

    QStringList StoredCodes() {
        QStringList codes;
        for (const QStringList& row : Rows(QStringLiteral("S_STAFF")))
            codes << row[0];
        codes.sort();
        return codes;
    }

    Recordset& rs() { return control.Recordset(); }

    DataControl control;
};

TEST_F(RecordsetTest, EmptySetIsAtBothEndsAndReadsSafely) {
    ASSERT_FALSE(control.PointAt(QStringLiteral("S_ITEM")));
    EXPECT_TRUE(rs().AtEOF());
    EXPECT_TRUE(rs().AtBOF());
    EXPECT_EQ(rs().RecordCount(), 0);
    EXPECT_EQ(rs().FieldCount(), 6);
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
    EXPECT_FALSE(rs().AtBOF());

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
    rs().MoveNext();
    ASSERT_FALSE(rs().Delete());
    EXPECT_FALSE(rs().AtEOF());
    EXPECT_EQ(rs().Field(0), QStringLiteral("00002"));
    EXPECT_EQ(rs().RecordCount(), 2);
    rs().MoveNext();
    EXPECT_EQ(rs().Field(0), QStringLiteral("00003"));

    // Deleting the last row: the next move reaches EOF, one back is the new last row.
    ASSERT_FALSE(rs().Delete());
    EXPECT_FALSE(rs().AtEOF());
    rs().MoveNext();
    EXPECT_TRUE(rs().AtEOF());
    rs().MovePrevious();
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));
    EXPECT_EQ(StoredCodes(), QStringList{QStringLiteral("00001")});

    // Walking and deleting empties the table; a refresh then is at EOF.
    rs().MoveFirst();
    while (!rs().AtEOF()) {
        ASSERT_FALSE(rs().Delete());
        rs().MoveNext();
    }
    ASSERT_FALSE(control.Refresh());
    EXPECT_TRUE(rs().AtEOF() && rs().AtBOF());
}

TEST_F(RecordsetTest, DeletingTheOnlyRowLeavesBothEndsEvenAfterSteppingBack) {
    Staff({QStringLiteral("00001")});
    ASSERT_FALSE(rs().Delete());
    rs().MoveNext();
    ASSERT_TRUE(rs().AtEOF());
    rs().MovePrevious();
    EXPECT_TRUE(rs().AtBOF());
    EXPECT_TRUE(rs().AtEOF());
}

TEST_F(RecordsetTest, AddNewAndUpdateStoreWhatWasAssigned) {
    Staff({QStringLiteral("00001")});
    rs().AddNew();
    EXPECT_EQ(rs().RecordCount(), 2);
    rs().SetField(QStringLiteral("ID"), QStringLiteral("00009"));
    rs().SetField(3, QStringLiteral("新人"));
    const DbResult stored = rs().Update();
    ASSERT_FALSE(stored) << stored->message.toStdString();
    EXPECT_EQ(StoredCodes(), (QStringList{QStringLiteral("00001"), QStringLiteral("00009")}));

    // Editing a stored row writes only that row.
    rs().MoveFirst();
    rs().SetField(QStringLiteral("PAYSUM"), QStringLiteral("35000"));
    EXPECT_EQ(rs().Field(2), QStringLiteral("35000"));
    ASSERT_FALSE(rs().Update());
    const QList<QStringList> rows = Rows(QStringLiteral("S_STAFF"));
    EXPECT_EQ(rows[0][2], QStringLiteral("35000"));
    EXPECT_EQ(rows[1][2], QString());
    EXPECT_EQ(rows[1][3], QStringLiteral("新人"));

    // An assignment dropped by a move is not stored.
    rs().SetField(2, QStringLiteral("1"));
    rs().MoveNext();
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF"))[0][2], QStringLiteral("35000"));
}

TEST_F(RecordsetTest, ValuesTooWideOrDuplicateKeysAreRefusedAndNothingIsWritten) {
    Staff({QStringLiteral("00001")});
    rs().SetField(QStringLiteral("ID"), QStringLiteral("000012"));
    const DbResult tooLong = rs().Update();
    ASSERT_TRUE(tooLong.has_value());
    EXPECT_EQ(tooLong->kind, DbErrorKind::FieldTooLong);
    EXPECT_EQ(tooLong->field, 0);
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));

    // Thirty Chinese characters fit the name column, thirty-one do not.
    rs().SetField(3, QString(30, QChar(0x738b)));
    EXPECT_FALSE(rs().Update());
    rs().SetField(3, QString(31, QChar(0x738b)));
    EXPECT_EQ(rs().Update()->kind, DbErrorKind::FieldTooLong);

    rs().AddNew();
    rs().SetField(0, QStringLiteral("00001"));
    const DbResult duplicate = rs().Update();
    ASSERT_TRUE(duplicate.has_value());
    EXPECT_EQ(duplicate->kind, DbErrorKind::DuplicateKey);
    EXPECT_EQ(rs().RecordCount(), 1);
    EXPECT_EQ(rs().Field(0), QStringLiteral("00001"));  // back on the record before AddNew
    EXPECT_EQ(StoredCodes(), QStringList{QStringLiteral("00001")});
}

TEST_F(RecordsetTest, PrefixFilterTakesTypedTextLiterally) {
    control.SetConnectionString(BranchDatabasePath());
    for (const char* code : {"1%23456", "1_23456", "1a23456", "1'23456", "1\\23456", "2123456"})
        InsertRow(QStringLiteral("RTBANK"), {QString::fromLatin1(code), QStringLiteral("x")});
    const auto listed = [&](const QString& typed) {
        control.SetRecordSource(
            QStringLiteral("select * from RTBANK where BKBRNO like ? escape '\\' order by BKBRNO"),
            {LikePrefix(typed)});
        EXPECT_FALSE(control.Refresh());
        QStringList codes;
        for (rs().MoveFirst(); !rs().AtEOF(); rs().MoveNext())
            codes << rs().Field(0);
        return codes;
    };
    EXPECT_EQ(listed(QStringLiteral("1%")), QStringList{QStringLiteral("1%23456")});
    EXPECT_EQ(listed(QStringLiteral("1_")), QStringList{QStringLiteral("1_23456")});
    EXPECT_EQ(listed(QStringLiteral("1'")), QStringList{QStringLiteral("1'23456")});
    EXPECT_EQ(listed(QStringLiteral("1\\")), QStringList{QStringLiteral("1\\23456")});
    EXPECT_EQ(listed(QStringLiteral("1")).size(), 5);
    EXPECT_EQ(listed(QString()).size(), 6);
    EXPECT_TRUE(listed(QStringLiteral("'; DROP TABLE RTBANK; --")).isEmpty());
    EXPECT_EQ(Rows(QStringLiteral("RTBANK")).size(), 6);
}

TEST_F(RecordsetTest, GridModelFollowsTheRecordset) {
    Staff({QStringLiteral("00002"), QStringLiteral("00001")});
    RecordsetModel model(&rs(), {{QStringLiteral("員工代碼 "), QStringLiteral("ID"), 1110},
                                 {QStringLiteral("員工姓名"), QStringLiteral("NAME"), 1740}});
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("員工代碼 "));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("員工00002"));
    ASSERT_FALSE(rs().Delete());
    EXPECT_EQ(model.rowCount(), 1);
    rs().MoveFirst();
    rs().SetField(3, QStringLiteral("改名"));
    ASSERT_FALSE(rs().Update());
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("改名"));
}

}  // namespace
}  // namespace paysum
