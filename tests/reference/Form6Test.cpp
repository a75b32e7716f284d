#include "ReferenceTest.h"
#include "app/Form1.h"
#include "app/startup.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "reference/BankCodeTable.h"
#include "reference/Form6.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>

namespace paysum {
namespace {

const QString kCodeTitle = "金融機構代碼";
const QString kTitle = "金融機購代碼檔維護";
const QString kBig = "大";  // two Big5 bytes

TEST(BankCodeEntryTest, ChecksRunInOrderAndNameTheBoxAtFault) {
    const struct {
        std::array<QString, 3> boxes;
        int box;  // -1: accepted
        QString text;
    } cases[] = {
        {{"10000", kBig, kBig}, 0, "代碼欄位不足"},
        {{"004012", kBig, kBig}, 0, "檢碼不正確\r\n 檢碼 = 9"},
        {{"0040014", {}, {}}, 0, "檢碼不正確\r\n 檢碼 = 5"},
        {{"1000012", kBig.repeated(5), kBig.repeated(30)}, -1, {}},
        {{"0040129", kBig.repeated(6), {}}, 1, "欄位超出"},
        {{"0040129", "   ", kBig}, 1, "欄位不可為空白"},
        {{"0040129", kBig, kBig.repeated(31)}, 2, "欄位超出"},
    };
    for (const auto& c : cases) {
        const std::optional<BankEntryRefusal> refusal = CheckBankCodeEntry(c.boxes);
        ASSERT_EQ(refusal.has_value(), c.box >= 0) << c.boxes[0].toStdString();
        if (refusal) {
            EXPECT_EQ(refusal->box, c.box);
            EXPECT_EQ(refusal->text, c.text);
            EXPECT_EQ(refusal->title, c.box == 0 ? kCodeTitle : kTitle);
        }
    }
}

class Form6Test : public test::ReferenceTest {
protected:
    void SetUp() override {
        ReferenceTest::SetUp();
        for (const char* code : {"0040059", "0040129", "0050012"})
            InsertRow("RTBANK", {code, kBig, kBig});
    }
};

TEST_F(Form6Test, AddWalksWithEnterRefusesWithTheFocusOnTheFaultAndStaysInAdd) {
    Form6 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    QTest::keyClicks(Box(&window, 0), "004012");
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            Box(&window, i)->insert(kBig.repeated(i == 2 ? 31 : 2));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // on 確定
    ExpectMessage("檢碼不正確\r\n 檢碼 = 9", kCodeTitle, QMessageBox::Critical);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 0));

    // Pasted text keeps only its digits.
    QApplication::clipboard()->setText("004-012 9");
    QTest::keyClick(Box(&window, 0), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Box(&window, 0)->text(), "0040129");
    Click(&window, "Command2_0");
    ExpectMessage("欄位超出", kTitle, QMessageBox::Critical);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 2));

    Box(&window, 2)->setText(" 新 ");
    Click(&window, "Command2_0");
    ExpectMessage("金融機構代碼已存在", kTitle, QMessageBox::Critical);
    EXPECT_EQ(QApplication::focusWidget(), Box(&window, 0));
    EXPECT_EQ(Rows("RTBANK").size(), 3);
    EXPECT_EQ(Grid(&window)->currentIndex().row(), 0);  // still on the record shown before

    Box(&window, 0)->setText("0040015");
    messages.Clear();
    Click(&window, "Command2_0");
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(Rows("RTBANK").last(), (QStringList{"0040015", kBig.repeated(2), " 新 "}));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_TRUE(Box(&window, 0)->text().isEmpty());

    // A store that fails for another reason is reported; the window goes on.
    ASSERT_FALSE(Execute(Connection(BranchDatabasePath()), "PRAGMA query_only=1"));
    Box(&window, 0)->setText("1000012");
    Box(&window, 1)->setText(kBig);
    Box(&window, 2)->setText(kBig);
    Click(&window, "Command2_0");
    ExpectMessage("不可預期的錯誤", "PAYSUM", QMessageBox::NoIcon);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
}

TEST_F(Form6Test, DeletingTheLastRowShowsTheOneBeforeAndDeletingAllLeavesOnlyAddAndReset) {
    Form6 window;
    Activate(&window);
    auto* grid = Grid(&window);
    QTest::keyClick(&window, Qt::Key_F4);
    grid->selectRow(2);
    messages.Answer(QMessageBox::No);
    Click(&window, "Command2_0");
    ExpectMessage("確定刪除", kTitle, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No);
    EXPECT_EQ(Rows("RTBANK").size(), 3);

    for (const char* shown : {"0040129", "0040059", ""}) {
        QTest::keyClick(&window, Qt::Key_F4);
        messages.Answer(QMessageBox::Yes);
        Click(&window, "Command2_0");
        EXPECT_EQ(Box(&window, 0)->text(), QLatin1String(shown));
    }
    EXPECT_TRUE(Rows("RTBANK").isEmpty());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Find<QPushButton>(&window, QStringLiteral("Command1_%1").arg(i))->isEnabled(),
                  i == 0 || i >= 4);
}

TEST_F(Form6Test, AConfirmedQueryOutlivesLeavingAndReopeningUntilReset) {
    ASSERT_TRUE(StartUp());
    OnNextModal([&](QDialog& window) {
        QTest::keyClick(&window, Qt::Key_F6);
        QTest::keyClicks(Box(&window, 0), "004");
        Grid(&window)->selectRow(1);
        Click(&window, "Command2_0");
        QTest::keyClick(&window, Qt::Key_F10);
    });
    MainWindow()->Command7_Click();
    OnNextModal([&](QDialog& window) {
        EXPECT_EQ(GridRows(&window), 2);
        EXPECT_EQ(Box(&window, 0)->text(), "0040129");
        QTest::keyClick(&window, Qt::Key_F8);
        EXPECT_EQ(GridRows(&window), 3);
        // A query that is cancelled drops its filter.
        QTest::keyClick(&window, Qt::Key_F6);
        QTest::keyClicks(Box(&window, 0), "005");
        Click(&window, "Command2_1");
        EXPECT_EQ(GridRows(&window), 3);
    });
    MainWindow()->Command7_Click();
}

}  // namespace
}  // namespace paysum
