#include "platform/BoxRules.h"
#include "support/PaysumTest.h"

#include <QLineEdit>
#include <QTest>

namespace paysum {
namespace {

using BoxRulesTest = test::PaysumTest;

TEST_F(BoxRulesTest, DigitsOnlyFiltersWhatIsTypedOrPastedButNotWhatTheProgramShows) {
    QLineEdit box;
    box.setMaxLength(12);
    AcceptDigitsOnly(&box);
    Activate(&box);

    QTest::keyClicks(&box, QStringLiteral("12a 3-"));
    EXPECT_EQ(box.text(), QStringLiteral("123"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("12"));

    box.setCursorPosition(1);
    box.insert(QStringLiteral("0-4 "));  // what a paste does
    EXPECT_EQ(box.text(), QStringLiteral("1042"));
    EXPECT_EQ(box.cursorPosition(), 3);

    // A stored value is shown as it is, blanks and all.
    box.setText(QStringLiteral("35000 "));
    EXPECT_EQ(box.text(), QStringLiteral("35000 "));
}

TEST_F(BoxRulesTest, LengthLimitCountsCharactersAndNeverCutsOneInHalf) {
    const QString emoji = QStringLiteral("\U0001F600");
    QLineEdit box;
    LimitLength(&box, 10);
    Activate(&box);

    // Fifteen emoji pasted after a letter: the nine that fit stay, each whole.
    box.insert(QStringLiteral("a") + emoji.repeated(15));
    EXPECT_EQ(box.text(), QStringLiteral("a") + emoji.repeated(9));
    // A full box takes no more, typed or pasted; its text stays as it was.
    QTest::keyClicks(&box, QStringLiteral("b"));
    box.setCursorPosition(1);
    box.insert(QStringLiteral("xy"));
    EXPECT_EQ(box.text(), QStringLiteral("a") + emoji.repeated(9));
    // What is pasted into the middle is cut, not the text after it.
    box.setText(QStringLiteral("abcdefgh"));
    box.setCursorPosition(2);
    box.insert(emoji + QStringLiteral("XYZ"));
    EXPECT_EQ(box.text(), QStringLiteral("ab") + emoji + QStringLiteral("Xcdefgh"));
    EXPECT_EQ(box.cursorPosition(), 5);
    EXPECT_TRUE(box.text().isValidUtf16());

    // Control characters and bidirectional controls, pasted or typed, are dropped; the cursor
    // stays after what was kept.
    box.setText(QStringLiteral("王明"));
    box.setCursorPosition(1);
    box.insert(QStringLiteral("a\tb\nc\u0085\u200Ed\u202Ee\u2066f\u0007"));
    EXPECT_EQ(box.text(), QStringLiteral("王abcdef明"));
    EXPECT_EQ(box.cursorPosition(), 7);
    QTest::keyClick(&box, Qt::Key_Tab);
    EXPECT_EQ(box.text(), QStringLiteral("王abcdef明"));
}

TEST_F(BoxRulesTest, AFocusedBoxWithRulesCanBeDestroyed) {
    // Its destructor still sends the box a focus-out event; no rule may handle it as a box.
    QWidget window;
    auto* box = new QLineEdit(&window);
    AcceptDigitsOnly(box);
    SelectAllOnFocus(box);
    LimitLength(box, 5);
    Activate(&window);
    box->setFocus();
    ASSERT_TRUE(box->hasFocus());
    delete box;
    EXPECT_EQ(window.focusWidget(), nullptr);
}

}  // namespace
}  // namespace paysum
