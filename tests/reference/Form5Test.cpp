#include "ReferenceTest.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "reference/Form5.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace paysum {
namespace {

class Form5Test : public test::ReferenceTest {
protected:
    QString BankLabel(QWidget* window) { return Find<QLabel>(window, "Label3")->text(); }
};

TEST_F(Form5Test, FirstUseKeysZeroFillingAndTheDefaultsAreStored) {
    LookupResult = "5";
    Form5 window;
    Activate(&window);
    EXPECT_EQ(LookupResult, "0");
    EXPECT_EQ(BankLabel(&window), "[金融機構名稱]");

    // 5 becomes 005 on leaving the box; 0040059 is not in the bank code table.
    QTest::keyClicks(Box(&window, 0), "5x");
    QTest::keyClick(Box(&window, 0), Qt::Key_Down);
    EXPECT_EQ(Box(&window, 0)->text(), "005");
    EXPECT_EQ(BankLabel(&window), "[代碼檔未建]");
    QTest::keyClick(Box(&window, 1), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 0));
    QTest::keyClick(Box(&window, 0), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 0));
    QTest::keyClick(Box(&window, 0), Qt::Key_Return);
    Box(&window, 1)->insert("大安實業");
    QTest::keyClick(Box(&window, 1), Qt::Key_Return);
    // Enter in the customer code box zero-fills it at once.
    QTest::keyClicks(Box(&window, 2), "45");
    QTest::keyClick(Box(&window, 2), Qt::Key_Return);
    EXPECT_EQ(Box(&window, 2)->text(), "045");
    // A release with no key pressed in a box since the last move stays put.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(Box(&window, 3), &release);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 3));
    Box(&window, 6)->setFocus();
    QTest::keyClick(Box(&window, 6), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), Find<QPushButton>(&window, "Command7_0"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ExpectMessage("儲存成功");
    EXPECT_EQ(LookupResult, "5");
    EXPECT_FALSE(window.isVisible());
    const QString sign1 = "主管" + QString(19, u' ') + "會計" + QString(23, u' ');
    EXPECT_EQ(Rows("S_BASE"),
              (QList<QStringList>{{"005", "大安實業", "045", QString(), sign1,
                                   "出納" + QString(19, u' ') + "製表", "連  絡  人"}}));
}

TEST_F(Form5Test, EmptyCustomerCodeIsRefusedAndASecondStoreEditsTheSameRow) {
    InsertRow("S_BASE", {"012", "大安實業", QString(), "12345678"});
    InsertRow("RTBANK", {"0040129", {}, " 大安 "});
    Form5 window;
    Activate(&window);
    EXPECT_EQ(BankLabel(&window), "[大安]");
    Click(&window, "Command7_0");
    ExpectMessage("欄位必須有值");
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 2));

    QTest::keyClicks(Box(&window, 2), "7");
    Box(&window, 3)->clear();
    Click(&window, "Command7_0");
    const QList<QStringList> rows = Rows("S_BASE");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].mid(0, 4), (QStringList{"012", "大安實業", "007", QString()}));
}

TEST_F(Form5Test, TheLookupButtonPicksABranchOfBank004) {
    for (const char* code : {"0040059", "0040129", "0050012"})
        InsertRow("RTBANK", {code, {}, code});
    Form5 window;
    Activate(&window);
    QTest::keyClicks(Box(&window, 0), "5");
    OnNextModal([&](QDialog& lookup) {
        EXPECT_EQ(GridRows(&lookup), 2);  // bank 004 only
        Grid(&lookup)->selectRow(1);
        Click(&lookup, "Command2_0");
    });
    Click(&window, "Command3");
    EXPECT_EQ(LookupCaller, 0);
    EXPECT_EQ(Box(&window, 0)->text(), "012");
    // The release of the Enter that chose in the lookup does not move on.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Box(&window, 1), &release);
    EXPECT_EQ(window.focusWidget(), Box(&window, 1));
}

TEST_F(Form5Test, StoreFailuresAreReportedAndTheWindowStaysOpen) {
    Form5 window;
    Activate(&window);
    for (int i : {0, 1, 2})
        QTest::keyClicks(Box(&window, i), "12");
    // Wider than its column; the box itself would not take it.
    Box(&window, 5)->setValidator(nullptr);
    Box(&window, 5)->setMaxLength(60);
    Box(&window, 5)->setText(QString(51, u'x'));
    Click(&window, "Command7_0");
    ExpectMessage("輸入欄位超出");
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 5));
    Box(&window, 5)->clear();

    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db, "PRAGMA query_only=1"));
    Click(&window, "Command7_0");
    ExpectMessage("資料庫唯讀,資料遺失\r\n" + QDir::toNativeSeparators(MainDatabasePath()),
                  "整批PAYSUM", QMessageBox::Critical);
    ASSERT_FALSE(Execute(db, "PRAGMA query_only=0"));
    ASSERT_FALSE(Execute(db, "DROP TABLE S_BASE"));
    Click(&window, "Command7_0");
    ExpectMessage("不可預期的錯誤");

    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace paysum
