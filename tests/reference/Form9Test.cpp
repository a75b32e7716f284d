#include "ReferenceTest.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "reference/Form9.h"

#include <QApplication>

namespace paysum {
namespace {

class Form9Test : public test::ReferenceTest {
protected:
    void SetUp() override {
        ReferenceTest::SetUp();
        for (const char* code : {"0040059", "0041234", "0050012", "9990001"})
            InsertRow("RTBANK", {QLatin1String(code), "簡", "全名" + QLatin1String(code)});
    }
};

TEST_F(Form9Test, FromTheCompanyWindowItListsBank004AndAnEmptyListChoosesNothing) {
    LookupResult = "5";
    LookupCaller = 5;
    Form9 window;
    Activate(&window);
    EXPECT_EQ(LookupResult, "0");
    EXPECT_EQ(GridRows(&window), 2);
    EXPECT_EQ(Box(&window, 0)->selectedText(), "0040059");
    QTest::keyClicks(Box(&window, 0), "0041");
    EXPECT_EQ(GridRows(&window), 1);
    Box(&window, 0)->setText("005");
    EXPECT_EQ(GridRows(&window), 0);
    Click(&window, "Command2_0");
    EXPECT_EQ(LookupResult, "0");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Form9Test, EnterTwiceChoosesTheRowEscClosesWithoutAChoiceAndErrorsAreReported) {
    Form9 window;
    Activate(&window);
    // An Enter released here after being pressed in another window does nothing.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(Box(&window, 0), &release);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 0));
    QTest::keyClicks(Box(&window, 0), "9");
    EXPECT_EQ(GridRows(&window), 1);
    QTest::keyClick(Box(&window, 0), Qt::Key_Return);
    EXPECT_EQ(Box(&window, 2)->text(), "全名9990001");
    ASSERT_EQ(QApplication::focusWidget(), Find<QPushButton>(&window, "Command2_0"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(LookupResult, "9990001");

    Form9 again;
    Activate(&again);
    QTest::keyClick(Grid(&again), Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_EQ(LookupResult, "0");

    ASSERT_FALSE(Execute(Connection(BranchDatabasePath()), "DROP TABLE RTBANK"));
    Form9 unreadable;
    ExpectMessage("不可預期的錯誤");
}

}  // namespace
}  // namespace paysum
