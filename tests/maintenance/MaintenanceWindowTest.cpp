#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "maintenance/DataGrid.h"
#include "maintenance/MaintenanceWindow.h"
#include "support/PaysumTest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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
               QStringLiteral("select * from S_STAFF where ID like ? escape '\\' order by ID"),
               {{QStringLiteral("代碼"), QStringLiteral("ID"), 1110},
                {QStringLiteral("姓名"), QStringLiteral("NAME"), 1740}}},
              nullptr) {
        Text1 = new QLineEdit(this);
        Text1->setObjectName(QStringLiteral("Text1"));
        Text2 = new QLineEdit(this);
        Text2->setObjectName(QStringLiteral("Text2"));
        confirm = new QPushButton(QStringLiteral("確定"), this);
        cancel = new QPushButton(QStringLiteral("取消"), this);
        cancel->setObjectName(QStringLiteral("cancel"));
        SetConfirmButtons(confirm, cancel);
        SetColumnMap({{Text1, 0}, {Text2, 3}});
        Form_Load();
    }

    QLineEdit* KeyBox() const override { return Text1; }
    QList<QWidget*> EntryBoxes() const override { return {Text1, Text2}; }
    QList<QWidget*> EditSet() const override { return {Text1, Text2}; }
    void ConfirmChange() override {}
    void ConfirmDelete() override {}
    void ConfirmQuery() override {}
    void ConfirmAdd() override {
        Busy = true;
        Records().AddNew();
        Records().SetField(0, Text1->text());
        Records().SetField(3, Text2->text());
        ReportUnexpected(Records().Update());
        Busy = false;
    }

    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* confirm;
    QPushButton* cancel;
};

class MaintenanceWindowTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    void Staff(const QStringList& codes) {
        for (const QString& code : codes)
            InsertRow(QStringLiteral("S_STAFF"), {code, QString(), QString(), code + u'名'});
    }

    // Which of the six bar buttons are enabled, as 1s and 0s.
    static QString Bar(StaffCodes& window) {
        QString states;
        for (int i = 0; i < 6; ++i)
            states +=
                window.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(i))->isEnabled()
                    ? u'1'
                    : u'0';
        return states;
    }

    static int GridRows(StaffCodes& window) {
        return window.findChild<DataGrid*>(QStringLiteral("DataGrid1"))->model()->rowCount();
    }

    static QString Caption(StaffCodes& window) {
        return window.findChild<QLabel*>(QStringLiteral("Label1"))->text();
    }
};

TEST_F(MaintenanceWindowTest, EmptyTableOffersOnlyAddResetAndLeave) {
    StaffCodes window;
    Activate(&window);
    EXPECT_EQ(Bar(window), QStringLiteral("100011"));
    EXPECT_FALSE(window.findChild<DataGrid*>(QStringLiteral("DataGrid1"))->isEnabled());
    EXPECT_FALSE(window.Text1->isEnabled());
    EXPECT_FALSE(window.confirm->isVisible());
    EXPECT_EQ(Caption(window), QStringLiteral("代碼"));

    for (Qt::Key key : {Qt::Key_F3, Qt::Key_F4, Qt::Key_F6})
        QTest::keyClick(&window, key);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);

    QTest::keyClick(&window, Qt::Key_F2);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Caption(window), QStringLiteral("--新增--"));
    EXPECT_TRUE(window.confirm->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window.Text1);
}

TEST_F(MaintenanceWindowTest, FunctionKeysWorkFromEveryControlAndOnlyLeaveWorksInAMode) {
    Staff({QStringLiteral("00001"), QStringLiteral("00002")});
    StaffCodes window;
    Activate(&window);
    EXPECT_EQ(Bar(window), QStringLiteral("111111"));
    EXPECT_EQ(window.Text1->text(), QStringLiteral("00001"));

    // F6 from the grid, then F2 to F8 from the key box do nothing while query is in force.
    QTest::keyClick(window.findChild<DataGrid*>(QStringLiteral("DataGrid1")), Qt::Key_F6);
    ASSERT_EQ(window.EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Bar(window), QStringLiteral("000001"));
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F8})
        QTest::keyClick(window.Text1, key);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kQuery);

    // F10 leaves from a box in add mode and writes nothing typed there.
    QTest::keyClick(window.Text1, Qt::Key_Escape);
    window.CancelEntry();
    QTest::keyClick(window.Text1, Qt::Key_F2);
    QTest::keyClicks(window.Text1, QStringLiteral("00009"));
    QTest::keyClick(window.Text1, Qt::Key_F10);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 2);
}

TEST_F(MaintenanceWindowTest, QueryFilterNarrowsWhileTypingAndWidensWhenEmptied) {
    Staff({QStringLiteral("00001"), QStringLiteral("00010"), QStringLiteral("00019"),
           QStringLiteral("00020"), QStringLiteral("1%002")});
    StaffCodes window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F6);
    EXPECT_TRUE(window.Text1->selectedText() == window.Text1->text());

    QTest::keyClicks(window.Text1, QStringLiteral("0001"));
    EXPECT_EQ(GridRows(window), 2);
    // Typing does not overwrite the boxes with the filtered rows.
    EXPECT_EQ(window.Text1->text(), QStringLiteral("0001"));
    EXPECT_EQ(window.Text2->text(), QStringLiteral("00001名"));

    window.Text1->setText(QStringLiteral("1%"));
    EXPECT_EQ(GridRows(window), 1);
    window.Text1->clear();
    EXPECT_EQ(GridRows(window), 5);

    // Picking a row of the grid shows it at once.
    auto* grid = window.findChild<DataGrid*>(QStringLiteral("DataGrid1"));
    grid->selectRow(2);
    EXPECT_EQ(window.Text2->text(), QStringLiteral("00019名"));
}

TEST_F(MaintenanceWindowTest, ResetRereadsTheWholeTableAndEndsIdleOnTheFirstRecord) {
    Staff({QStringLiteral("00002"), QStringLiteral("00010"), QStringLiteral("00011")});
    StaffCodes window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F6);
    QTest::keyClicks(window.Text1, QStringLiteral("0001"));
    ASSERT_EQ(GridRows(window), 2);
    InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00000")});

    window.CancelEntry();
    QTest::keyClick(&window, Qt::Key_F8);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(Caption(window), QStringLiteral("代碼"));
    EXPECT_EQ(GridRows(window), 4);
    EXPECT_EQ(window.Text1->text(), QStringLiteral("00000"));
    EXPECT_FALSE(window.Text1->isEnabled());
}

TEST_F(MaintenanceWindowTest, ConfirmAddsAndCancelReturnsToIdle) {
    StaffCodes window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    QTest::keyClicks(window.Text1, QStringLiteral("00005"));
    window.Text2->insert(QStringLiteral("王"));  // QTest types ASCII only
    QTest::mouseClick(window.confirm, Qt::LeftButton);
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 1);
    QTest::mouseClick(window.cancel, Qt::LeftButton);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(Bar(window), QStringLiteral("111111"));
    EXPECT_EQ(window.Text2->text(), QStringLiteral("王"));
}

}  // namespace
}  // namespace paysum
