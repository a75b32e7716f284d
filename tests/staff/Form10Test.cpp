#include "staff/Form10.h"

#include "batch/Form2.h"
#include "common/SharedState.h"
#include "maintenance/DataGrid.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace paysum {
namespace {

const QString kAccount = "004001012341";
const QString kCertificateAccount = "123016789016";

class Form10Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }
    void TearDown() override {
        entry.reset();  // before the fixture deletes every window left open
        PaysumTest::TearDown();
    }

    void SeedStaff() {
        InsertRow("S_STAFF", {"00005", kAccount, "30000", "林一"});
        InsertRow("S_STAFF", {"00007", kAccount, "35000", "王小明"});
        InsertRow("S_STAFF", {"00012", kCertificateAccount, "42000", "陳大文", "12345678"});
        InsertRow("S_STAFF", {"00070", kAccount, "28000", "張三"});
    }

    // The transfer entry in add mode, as the clerk has it when pressing "...".
    void OpenEntry() {
        entry = std::make_unique<Form2>();
        Activate(entry.get());
        entry->Command1_Click(MaintenanceWindow::kAdd);
    }
    // Opens the lookup from the entry and hands it to `driver`.
    void Pick(std::function<void(QDialog&)> driver) {
        OnNextModal(std::move(driver));
        entry->Command3_Click(0);
    }

    // The texts of boxes by name.
    QStringList Texts(QWidget* window, const QStringList& names) {
        QStringList texts;
        for (const QString& name : names)
            texts << Find<QLineEdit>(window, name)->text();
        return texts;
    }
    // The entry's code, account, certificate, amount and name boxes, then which are enabled.
    QStringList Entry() {
        const QStringList names = {"Text1", "Text2", "Text3", "Text5", "Text6"};
        QString enabled;
        for (const QString& name : names)
            enabled += Find<QLineEdit>(entry.get(), name)->isEnabled() ? u'1' : u'0';
        return Texts(entry.get(), names) << enabled;
    }
    QLineEdit* EntryBox(const char* name) { return Find<QLineEdit>(entry.get(), name); }

    QLineEdit* Box(QDialog& lookup, int i) {
        return Find<QLineEdit>(&lookup, QStringLiteral("Text1_%1").arg(i));
    }
    // What the lookup's five boxes show, in column order.
    QStringList Shown(QDialog& lookup) {
        return Texts(&lookup, {"Text1_0", "Text1_1", "Text1_2", "Text1_3", "Text1_4"});
    }
    DataGrid* Grid(QDialog& lookup) { return Find<DataGrid>(&lookup, "DataGrid1"); }
    int GridRows(QDialog& lookup) { return Grid(lookup)->model()->rowCount(); }
    void TypeCode(QDialog& lookup, const QString& text) {
        QLineEdit* code = Box(lookup, 0);
        code->setFocus();
        code->selectAll();
        QTest::keyClick(code, Qt::Key_Delete);
        // The test library types only ASCII; other text comes as an input method gives it.
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(code, text);
        else
            code->insert(text);
    }
    void Click(QDialog& lookup, const char* button) {
        QTest::mouseClick(Find<QPushButton>(&lookup, button), Qt::LeftButton);
    }

    std::unique_ptr<Form2> entry;
};

TEST_F(Form10Test, TypingNarrowsToTheZeroFilledCodeOrPartOfANameAndEnterShowsIt) {
    const QStringList first = {"00005", kAccount, "30000", "林一", ""};
    const QStringList seventh = {"00007", kAccount, "35000", "王小明", ""};
    const QStringList twelfth = {"00012", kCertificateAccount, "42000", "陳大文", "12345678"};
    const QStringList quote = {"00090", kAccount, "1000", "O'Neil 100%", ""};
    const QStringList marks = {"00091", kAccount, "1000", "Ann_Lee%", ""};
    const QStringList none(5);
    const struct {
        QString typed;
        int rows;
        QStringList afterEnter;
    } cases[] = {
        {"7", 1, seventh},
        {"0007", 1, seventh},
        {"12", 1, twelfth},
        {"8", 0, none},
        {"", 6, first},
        // Text other than digits: the names that begin with it or hold it, in code order.
        {"陳", 1, twelfth},
        {"小明", 1, seventh},
        {"大文x", 0, none},
        {"o'neil", 1, quote},
        // Typed characters are looked for as they are, never read as SQL or as wildcards.
        {"'", 1, quote},
        {"%", 2, quote},
        {"_", 1, marks},
        {"n_l", 1, marks},
        {"1%", 0, none},
        {"0%", 1, quote},
    };
    SeedStaff();
    InsertRow("S_STAFF", quote.mid(0, 4));
    InsertRow("S_STAFF", marks.mid(0, 4));
    OpenEntry();
    Pick([&](QDialog& lookup) {
        EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>(&lookup, "Command2_0"));
        EXPECT_EQ(Shown(lookup), first);
        EXPECT_EQ(GridRows(lookup), 6);
        for (const auto& c : cases) {
            SCOPED_TRACE("typed " + c.typed.toStdString());
            // Start with the first employee shown.
            TypeCode(lookup, "5");
            QTest::keyClick(Box(lookup, 0), Qt::Key_Return);
            TypeCode(lookup, c.typed);
            EXPECT_EQ(GridRows(lookup), c.rows);
            // Typing changes only the list; the boxes wait for Enter.
            EXPECT_EQ(Shown(lookup).mid(1), first.mid(1));
            QTest::keyClick(Box(lookup, 0), Qt::Key_Return);
            EXPECT_EQ(Shown(lookup), c.afterEnter);
            EXPECT_EQ(QApplication::focusWidget(), Find<QPushButton>(&lookup, "Command2_0"));
        }
        EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
        EXPECT_TRUE(lookup.isVisible());
    });
}

TEST_F(Form10Test, ConfirmFillsTheEntryAndLocksAccountAndName) {
    SeedStaff();
    OpenEntry();
    // A certificate typed for a 016 account before the lookup.
    entry->findChild<QComboBox*>("Combo1")->setEditText("獎金");
    EntryBox("Text2")->setText(kCertificateAccount);
    QTest::keyClick(EntryBox("Text2"), Qt::Key_Return);
    ASSERT_TRUE(EntryBox("Text3")->isEnabled());
    QTest::keyClicks(EntryBox("Text3"), "11112222");

    // Picked by typing and 確定 without Enter; this employee has no certificate number.
    Pick([&](QDialog& lookup) {
        TypeCode(lookup, "7");
        Click(lookup, "Command2_0");
        EXPECT_FALSE(lookup.isVisible());
    });
    EXPECT_EQ(LookupResult, "00007");
    EXPECT_EQ(Entry(), (QStringList{"00007", kAccount, "", "35000", "王小明", "10010"}));
    EXPECT_EQ(entry->findChild<QComboBox*>("Combo1")->currentText(), "獎金");

    // Picked by clicking its row in the list: the certificate number comes along, in a box open
    // as for any 016 account.
    Pick([&](QDialog& lookup) {
        DataGrid* grid = Grid(lookup);
        const QRect row = grid->visualRect(grid->model()->index(2, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row.center());
        EXPECT_EQ(Box(lookup, 0)->text(), "00012");
        Click(lookup, "Command2_0");
    });
    EXPECT_EQ(LookupResult, "00012");
    EXPECT_EQ(Entry(),
              (QStringList{"00012", kCertificateAccount, "12345678", "42000", "陳大文", "10110"}));
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
}

TEST_F(Form10Test, CancelEscapeOrNoEmployeeShownChooseNothingAndEmptyTheEntry) {
    const struct {
        const char* how;
        std::function<void(QDialog&)> leave;
    } cases[] = {
        {"取消", [&](QDialog& lookup) { Click(lookup, "Command2_1"); }},
        {"Esc in the code box",
         [&](QDialog& lookup) { QTest::keyClick(Box(lookup, 0), Qt::Key_Escape); }},
        {"Esc in the list",
         [&](QDialog& lookup) {
             Grid(lookup)->setFocus();
             QTest::keyClick(Grid(lookup), Qt::Key_Escape);
         }},
        {"確定 on an empty list",
         [&](QDialog& lookup) {
             TypeCode(lookup, "9");
             Click(lookup, "Command2_0");
         }},
    };
    // An empty master shows nothing, and 確定 picks nothing.
    OpenEntry();
    Pick([&](QDialog& lookup) {
        EXPECT_EQ(GridRows(lookup), 0);
        EXPECT_EQ(Shown(lookup), QStringList(5));
        // An Esc released here after being pressed elsewhere does not close the window.
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(Box(lookup, 0), &release);
        EXPECT_TRUE(lookup.isVisible());
        Click(lookup, "Command2_0");
    });
    EXPECT_EQ(LookupResult, "0");
    EXPECT_EQ(Entry(), (QStringList(5) << "11111"));

    SeedStaff();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        EntryBox("Text1")->setText("00099");
        EntryBox("Text6")->setText("未存");
        EntryBox("Text6")->setEnabled(false);
        Pick([&](QDialog& lookup) {
            TypeCode(lookup, "12");  // browsed to an employee first
            QTest::keyClick(Box(lookup, 0), Qt::Key_Return);
            c.leave(lookup);
            EXPECT_FALSE(lookup.isVisible());
        });
        EXPECT_EQ(LookupResult, "0");
        EXPECT_EQ(Entry(), (QStringList(5) << "11111"));
        EXPECT_EQ(entry->focusWidget(), EntryBox("Text1"));
    }
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
}

TEST_F(Form10Test, ACaptionClickSortsTheListByItsColumnAndAgainReverses) {
    SeedStaff();
    InsertRow("S_STAFF", {"00080", kAccount, "1000", "林小明"});
    OpenEntry();
    Pick([&](QDialog& lookup) {
        QHeaderView* header = Grid(lookup)->horizontalHeader();
        const auto clickCaption = [&](int column) {
            const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        };
        const auto codes = [&] {
            QStringList listed;
            for (int row = 0; row < GridRows(lookup); ++row)
                listed << Grid(lookup)->model()->index(row, 0).data().toString();
            return listed.join(u',');
        };
        EXPECT_EQ(codes(), "00005,00007,00012,00070,00080");
        clickCaption(3);  // 員 工 姓 名
        EXPECT_EQ(codes(), "00070,00005,00080,00007,00012");
        EXPECT_EQ(header->sortIndicatorSection(), 3);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
        clickCaption(3);
        EXPECT_EQ(codes(), "00012,00007,00080,00005,00070");
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
        // Narrowing, by code or by part of a name, keeps the order chosen; the code column sorts
        // back to the key order, which a name also narrows.
        TypeCode(lookup, "7");
        EXPECT_EQ(codes(), "00007");
        TypeCode(lookup, "小明");
        EXPECT_EQ(codes(), "00007,00080");
        TypeCode(lookup, "");
        EXPECT_EQ(codes(), "00012,00007,00080,00005,00070");
        clickCaption(0);
        EXPECT_EQ(codes(), "00005,00007,00012,00070,00080");
        TypeCode(lookup, "林");
        EXPECT_EQ(codes(), "00005,00080");
        TypeCode(lookup, "");
        clickCaption(0);
        EXPECT_EQ(codes(), "00080,00070,00012,00007,00005");
        Click(lookup, "Command2_1");
    });
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
}

}  // namespace
}  // namespace paysum
