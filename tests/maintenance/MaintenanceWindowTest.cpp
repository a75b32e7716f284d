#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "maintenance/MaintenanceWindow.h"
#include "support/PaysumTest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDriver>
#include <QTest>

#include <sqlite3.h>

namespace paysum {
namespace {

// The smallest window on the frame: code and name of S_STAFF; confirm in add mode stores them.
class StaffCodes : public MaintenanceWindow {
public:
    StaffCodes()
        : MaintenanceWindow(
              {QStringLiteral("StaffCodes"),
               QStringLiteral("codes"),
               QStringLiteral("代碼"),
               MainDatabasePath(),
               QStringLiteral("select * from S_STAFF order by ID"),
               QStringLiteral("select * from S_STAFF order by ID"),
               QStringLiteral("select * from S_STAFF where ID >= ? and ID < ? order by ID"),
               {{QStringLiteral("代碼"), QStringLiteral("ID"), 1110}}},
              nullptr) {
        Text1 = new QLineEdit(this);
        Text2 = new QLineEdit(this);
        confirm = new QPushButton(QStringLiteral("確定"), this);
        cancel = new QPushButton(QStringLiteral("取消"), this);
        SetConfirmButtons(confirm, cancel);
        SetColumnMap({{Text1, QStringLiteral("ID")}, {Text2, QStringLiteral("NAME")}});
        Form_Load();
    }

    QLineEdit* KeyBox() const override { return Text1; }
    QList<QWidget*> EntryBoxes() const override { return {Text1, Text2}; }
    QList<QWidget*> EditSet() const override { return {Text1, Text2}; }
    void ConfirmDelete() override {}
    void ConfirmQuery() override {}
    void ConfirmAdd() override {
        (void)StoreInTransaction(QStringLiteral("ID"), [this](bool&) {
            Records().AddNew();
            Records().SetField(0, Text1->text());
            Records().SetField(3, Text2->text());
            return Records().Update();
        });
    }
    void ConfirmChange() override {
        (void)StoreInTransaction(QStringLiteral("ID"), [this](bool&) {
            Records().SetField(3, Text2->text());
            return Records().Update();
        });
    }

    int GridRows() const { return DataGrid1->model()->rowCount(); }
    using MaintenanceWindow::DataGrid1;
    using MaintenanceWindow::Label1;

    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* confirm;
    QPushButton* cancel;
};

// What SQLite refuses on the program's connection to the main file, as a failing disk or a
// locked file would: nothing, every BEGIN, or every read of a column of S_STAFF.
enum class Refuse { Nothing, Begin, StaffReads };

int Authorize(void* data, int action, const char* first, const char*, const char*, const char*) {
    const Refuse refused = *static_cast<const Refuse*>(data);
    if ((refused == Refuse::Begin && action == SQLITE_TRANSACTION &&
         qstrcmp(first, "BEGIN") == 0) ||
        (refused == Refuse::StaffReads && action == SQLITE_READ && qstrcmp(first, "S_STAFF") == 0))
        return SQLITE_DENY;
    return SQLITE_OK;
}

void RefuseOnConnection(Refuse what) {
    static Refuse refused = Refuse::Nothing;
    refused = what;
    const QVariant handle = Connection(MainDatabasePath()).driver()->handle();
    sqlite3* db = *static_cast<sqlite3* const*>(handle.constData());
    sqlite3_set_authorizer(db, what == Refuse::Nothing ? nullptr : Authorize, &refused);
}

class MaintenanceWindowTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    QString Bar(StaffCodes& window) {
        return Enabled(&window, QStringLiteral("Command1_%1"), 0, 5);
    }
};

TEST_F(MaintenanceWindowTest, ButtonsAndFunctionKeysFollowTheTableAndTheMode) {
    StaffCodes window;
    Activate(&window);
    EXPECT_EQ(Bar(window), QStringLiteral("100011"));
    EXPECT_FALSE(window.DataGrid1->isEnabled());
    EXPECT_FALSE(window.Text1->isEnabled());
    EXPECT_FALSE(window.confirm->isVisible());
    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F4, Qt::Key_F6})
        QTest::keyClick(&window, key);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);

    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(window.Label1->text(), QStringLiteral("--新增--"));
    EXPECT_EQ(QApplication::focusWidget(), window.Text1);
    QTest::keyClicks(window.Text1, QStringLiteral("00005"));
    window.Text2->insert(QStringLiteral("王"));  // QTest types ASCII only
    QTest::mouseClick(window.confirm, Qt::LeftButton);
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 1);
    QTest::mouseClick(window.cancel, Qt::LeftButton);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(Bar(window), QStringLiteral("111111"));
    EXPECT_EQ(window.Text2->text(), QStringLiteral("王"));

    // F6 from the grid, then F2 to F8 from the key box do nothing while query is in force.
    QTest::keyClick(window.DataGrid1, Qt::Key_F6);
    ASSERT_EQ(window.EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Bar(window), QStringLiteral("000001"));
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F8})
        QTest::keyClick(window.Text1, key);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kQuery);

    // F10 leaves from a box in add mode and writes nothing typed there.
    window.CancelEntry();
    QTest::keyClick(window.Text1, Qt::Key_F2);
    QTest::keyClicks(window.Text1, QStringLiteral("00009"));
    QTest::keyClick(window.Text1, Qt::Key_F10);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 1);
}

TEST_F(MaintenanceWindowTest, QueryFilterNarrowsAndWidensAndResetRereadsTheTable) {
    for (const char* code :
         {"00001", "00010", "00019", "00020", "1%002", "1'003", "1_004", "1\\005", "10006"})
        InsertRow(QStringLiteral("S_STAFF"), {QString::fromLatin1(code), QString(), QString(),
                                              QString::fromLatin1(code) + u'名'});
    StaffCodes window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F6);
    QTest::keyClicks(window.Text1, QStringLiteral("0001"));
    EXPECT_EQ(window.GridRows(), 2);
    // Typing does not overwrite the boxes with the filtered rows.
    EXPECT_EQ(window.Text1->text(), QStringLiteral("0001"));
    EXPECT_EQ(window.Text2->text(), QStringLiteral("00001名"));
    // Typed text is taken literally, never as a pattern or as SQL.
    for (const char* typed : {"1%", "1'", "1_", "1\\"}) {
        window.Text1->setText(QString::fromLatin1(typed));
        EXPECT_EQ(window.GridRows(), 1) << typed;
    }
    window.Text1->clear();
    EXPECT_EQ(window.GridRows(), 9);
    // Picking a row of the grid shows it at once.
    window.DataGrid1->selectRow(2);
    EXPECT_EQ(window.Text2->text(), QStringLiteral("00019名"));

    // Reset re-reads the whole table and ends idle on its first record.
    window.CancelEntry();
    InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00000")});
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(window.Label1->text(), QStringLiteral("代碼"));
    EXPECT_EQ(window.GridRows(), 10);
    EXPECT_EQ(window.Text1->text(), QStringLiteral("00000"));
    EXPECT_FALSE(window.Text1->isEnabled());
}

// A store that cannot begin its transaction, and a record that cannot be read, are reported
// with the frame's message, and nothing is written: not outside a transaction, not into a record
// that showed as empty.
TEST_F(MaintenanceWindowTest, AStoreThatCannotBeginOrReadWritesNothingAndSaysSo) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    InsertStaffUpTo(300, [](const QString& code) { return QStringList{code, "", "", "舊"}; });
    StaffCodes window;
    Activate(&window);
    const test::RecordedMessage unexpected = test::OkBox(QStringLiteral("不可預期的錯誤"));

    RefuseOnConnection(Refuse::Begin);
    QTest::keyClick(&window, Qt::Key_F2);
    QTest::keyClicks(window.Text1, QStringLiteral("00999"));
    QTest::mouseClick(window.confirm, Qt::LeftButton);
    RefuseOnConnection(Refuse::Nothing);
    EXPECT_EQ(messages.All(), std::vector{unexpected});
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 300);
    window.CancelEntry();

    // The last record's page cannot be read: the record is reported, not shown empty, and a
    // change to it is refused.
    messages.Clear();
    RefuseOnConnection(Refuse::StaffReads);
    window.DataGrid1->selectRow(299);
    EXPECT_EQ(window.Text1->text(), QString());
    EXPECT_EQ(messages.All(), std::vector{unexpected});
    QTest::keyClick(&window, Qt::Key_F3);
    window.Text2->setText(QStringLiteral("新"));
    messages.Clear();
    QTest::mouseClick(window.confirm, Qt::LeftButton);
    RefuseOnConnection(Refuse::Nothing);
    ASSERT_FALSE(messages.All().empty());
    for (const test::RecordedMessage& message : messages.All())
        EXPECT_EQ(message, unexpected);
    for (const QStringList& row : Rows(QStringLiteral("S_STAFF")))
        ASSERT_EQ(row[3], QStringLiteral("舊")) << row[0].toStdString();
}

}  // namespace
}  // namespace paysum
