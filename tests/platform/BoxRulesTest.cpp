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

}  // namespace
}  // namespace paysum
