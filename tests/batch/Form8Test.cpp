#include "batch/Form8.h"

#include "batch/Form2.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace paysum {
namespace {

class Form8Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }
    void TearDown() override {
        entry.reset();  // before the fixture deletes every window left open
        PaysumTest::TearDown();
    }

    // Opens the presets from the transfer entry (opened in add mode the first time) and hands
    // them to `driver`.
    void OpenPresets(std::function<void(QDialog&)> driver) {
        if (!entry) {
            entry = std::make_unique<Form2>();
            Activate(entry.get());
            entry->Command1_Click(MaintenanceWindow::kAdd);
        }
        OnNextModal(std::move(driver));
        entry->Command6_Click(2);
    }

    QLineEdit* Preset(QDialog& presets, int i) {
        return Find<QLineEdit>(&presets, QStringLiteral("Text1_%1").arg(i));
    }
    QStringList Presets(QDialog& presets) {
        QStringList texts;
        for (int i = 0; i < 10; ++i)
            texts << Preset(presets, i)->text();
        return texts;
    }
    // Replaces a box's text as after clicking into it and typing.
    static void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        box->insert(text);
    }
    void Click(QDialog& presets, const char* button) {
        QTest::mouseClick(Find<QPushButton>(&presets, button), Qt::LeftButton);
    }

    QComboBox* Remark() { return Find<QComboBox>(entry.get(), "Combo1"); }
    QStringList RemarkList() {
        QStringList items;
        for (int i = 0; i < Remark()->count(); ++i)
            items << Remark()->itemText(i);
        return items;
    }

    // A stored row of ten presets, the given ones first.
    static QStringList Row(QStringList first) {
        while (first.size() < 10)
            first << QString();
        return first;
    }

    std::unique_ptr<Form2> entry;
};

TEST_F(Form8Test, SavedPresetsAreTrimmedIntoOneRowAndListedKeepingTheRemarkTyped) {
    OpenPresets([&](QDialog& presets) {
        EXPECT_EQ(Presets(presets), QStringList(10));
        EXPECT_EQ(Remark()->count(), 0);
        Click(presets, "Command1");
    });
    EXPECT_EQ(Rows("NNOO"), QList<QStringList>{Row({})});
    EXPECT_EQ(RemarkList(), QStringList(10));

    // Presets 1 and 3, with blanks about them; the remark typed in the entry stays.
    TypeInto(Remark()->lineEdit(), "年終");
    OpenPresets([&](QDialog& presets) {
        EXPECT_EQ(QApplication::focusWidget(), Preset(presets, 0));
        TypeInto(Preset(presets, 0), "  薪資 ");
        TypeInto(Preset(presets, 2), "加班費  ");
        Click(presets, "Command1");
        EXPECT_FALSE(presets.isVisible());
    });
    EXPECT_EQ(Rows("NNOO"), QList<QStringList>{Row({"薪資", "", "加班費"})});
    EXPECT_EQ(RemarkList(), Row({"薪資", "", "加班費"}));
    EXPECT_EQ(Remark()->currentText(), "年終");

    // Saved again, the one row is rewritten; 2.取消 stores nothing of what was typed.
    OpenPresets([&](QDialog& presets) {
        EXPECT_EQ(Presets(presets), Row({"薪資", "", "加班費"}));
        TypeInto(Preset(presets, 9), "津貼");
        Click(presets, "Command1");
    });
    OpenPresets([&](QDialog& presets) {
        TypeInto(Preset(presets, 0), "不存");
        Click(presets, "Command2");
        EXPECT_FALSE(presets.isVisible());
    });
    EXPECT_EQ(Rows("NNOO"),
              QList<QStringList>{Row({"薪資", "", "加班費", "", "", "", "", "", "", "津貼"})});
    EXPECT_EQ(RemarkList().last(), "津貼");
    EXPECT_EQ(Remark()->currentText(), "年終");
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
}

TEST_F(Form8Test, ArrowsAndEnterMoveBetweenThePresetsAndOnToConfirm) {
    const struct {
        int from;
        Qt::Key key;
        const char* to;
    } cases[] = {
        {0, Qt::Key_Up, "Command1"},     {0, Qt::Key_Down, "Text1_1"},
        {0, Qt::Key_Return, "Text1_1"},  {4, Qt::Key_Up, "Text1_3"},
        {4, Qt::Key_Down, "Text1_5"},    {4, Qt::Key_Enter, "Text1_5"},
        {9, Qt::Key_Up, "Text1_8"},      {9, Qt::Key_Down, "Command1"},
        {9, Qt::Key_Return, "Command1"}, {5, Qt::Key_Left, "Text1_5"},
        {5, Qt::Key_A, "Text1_5"},
    };
    OpenPresets([&](QDialog& presets) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(c.key));
            Preset(presets, c.from)->setFocus();
            QTest::keyClick(Preset(presets, c.from), c.key);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), c.to);
        }
        // A key pressed in another window and released here does nothing.
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return}) {
            Preset(presets, 3)->setFocus();
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
            QApplication::sendEvent(Preset(presets, 3), &release);
            EXPECT_EQ(QApplication::focusWidget(), Preset(presets, 3));
        }
        EXPECT_TRUE(presets.isVisible());
    });
    EXPECT_TRUE(Rows("NNOO").isEmpty());
}

TEST_F(Form8Test, AFailedStoreIsReportedTheWindowStaysOpenAndNothingIsStored) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    const struct {
        const char* what;
        QString breakSql;  // run once the window is open
        QString repairSql;
        test::RecordedMessage message;
    } cases[] = {
        {"too long", "", "", test::OkBox("輸入欄位超出")},
        {"read-only", "PRAGMA query_only=1", "PRAGMA query_only=0",
         test::OkBox("資料庫唯讀,資料遺失\r\n" + QDir::toNativeSeparators(MainDatabasePath()),
                     "整批PAYSUM", QMessageBox::Critical)},
        {"refused by the file",
         "CREATE TRIGGER refuse BEFORE INSERT ON NNOO BEGIN SELECT RAISE(ABORT,'x'); END",
         "DROP TRIGGER refuse", test::OkBox("不可預期的錯誤")},
        {"table gone", "ALTER TABLE NNOO RENAME TO KEPT", "ALTER TABLE KEPT RENAME TO NNOO",
         test::OkBox("不可預期的錯誤")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.Clear();
        OpenPresets([&](QDialog& presets) {
            TypeInto(Preset(presets, 0), "薪資");
            if (c.breakSql.isEmpty()) {
                // A box that let through more than its column holds.
                Preset(presets, 4)->setValidator(nullptr);
                Preset(presets, 4)->setMaxLength(60);
                TypeInto(Preset(presets, 4), QString(51, u'長'));
            } else {
                ASSERT_FALSE(Execute(db, c.breakSql));
            }
            Click(presets, "Command1");
            ASSERT_EQ(messages.Count(), 1u) << messages.Texts().join(u'|').toStdString();
            EXPECT_EQ(messages.Last(), c.message);
            EXPECT_TRUE(presets.isVisible());
            if (c.breakSql.isEmpty())  // back to the box that did not fit
                EXPECT_EQ(QApplication::focusWidget(), Preset(presets, 4));
            else
                ASSERT_FALSE(Execute(db, c.repairSql));
            EXPECT_TRUE(Rows("NNOO").isEmpty());

            // Once the cause is gone, the same window stores one row.
            TypeInto(Preset(presets, 4), "獎金");
            Click(presets, "Command1");
            EXPECT_FALSE(presets.isVisible());
        });
        EXPECT_EQ(messages.Count(), 1u) << messages.Texts().join(u'|').toStdString();
        EXPECT_EQ(Rows("NNOO"), QList<QStringList>{Row({"薪資", "", "", "", "獎金"})});
        ASSERT_FALSE(Execute(db, "DELETE FROM NNOO"));
    }
}

}  // namespace
}  // namespace paysum
