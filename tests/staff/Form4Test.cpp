#include "staff/Form4.h"

#include "app/Form1.h"
#include "app/startup.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "platform/MessageBox.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

const QString kAccount = "004001012341";
const QString kTitle = "員工資料建檔";  // the window's own messages
const QString kCodeTitle = "員工代碼";
const QString kAccountTitle = "Veltra 帳號檢核";

class Form4Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }
    void TearDown() override {
        window.reset();  // before the fixture deletes every window left open
        PaysumTest::TearDown();
    }

    // The codes of a table in code order, and the row of a code.
    QStringList Codes(const QString& table) {
        QStringList codes;
        for (const QStringList& row : Rows(table))
            codes << row[0];
        codes.sort();
        return codes;
    }
    QStringList Row(const QString& table, const QString& code) {
        for (const QStringList& row : Rows(table)) {
            if (row[0] == code)
                return row;
        }
        return QStringList(6);  // none: empty fields, so that reading one fails cleanly
    }

    void Staff(const QString& code) {
        InsertRow("S_STAFF", {code, kAccount, "35000", "員工" + code});
    }
    // Employees 00001 to `last`, in one transaction.
    void StaffUpTo(int last) {
        InsertStaffUpTo(last, [](const QString& code) {
            return QStringList{code, kAccount, "35000", "員工" + code, ""};
        });
    }
    void Transfer(const QString& code, const QString& remark = QString()) {
        InsertRow("S_ITEM", {code, kAccount, "1000", "員工" + code, "", remark});
    }

    // Opens the window on the table as it is and chooses a mode by its function key.
    void Open(Qt::Key modeKey) {
        window = std::make_unique<Form4>();
        Activate(window.get());
        QTest::keyClick(window.get(), modeKey);
    }

    QLineEdit* Box(const char* name) { return Find<QLineEdit>(window.get(), name); }
    QPushButton* Confirm() { return Find<QPushButton>(window.get(), "Command2_0"); }
    int GridRow() { return Find<DataGrid>(window.get(), "DataGrid1")->currentIndex().row(); }

    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Enter() { QTest::keyClick(Focus(), Qt::Key_Return); }
    // Replaces a box's text by typing, as after clicking into it.
    static void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Delete);
        // The test library types only ASCII; other text comes as an input method gives it.
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(box, text);
        else
            box->insert(text);
    }
    void ClickConfirm() { QTest::mouseClick(Confirm(), Qt::LeftButton); }

    void FillEntry(const QString& code, const QString& name) {
        TypeInto(Box("Text1"), code);
        TypeInto(Box("Text2"), kAccount);
        TypeInto(Box("Text4"), "35000");
        Box("Text5")->setFocus();
        Box("Text5")->selectAll();
        Box("Text5")->insert(name);
    }

    // The message box `index` from the end had this text, title, icon and buttons.
    void ExpectLast(const QString& text, const QString& title = kTitle,
                    QMessageBox::Icon icon = QMessageBox::Critical,
                    QMessageBox::StandardButtons buttons = QMessageBox::Ok, std::size_t index = 0) {
        ASSERT_GT(messages.Count(), index);
        const test::RecordedMessage& message = messages.All()[messages.Count() - 1 - index];
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.title, title);
        EXPECT_EQ(message.icon, icon) << text.toStdString();
        EXPECT_EQ(message.buttons, buttons) << text.toStdString();
    }

    std::unique_ptr<Form4> window;
};

TEST_F(Form4Test, AddModeEnterChainRefusesEachBoxUntilRightThenStores) {
    // What is typed into the box that has the focus, and what Enter then leaves in it and says
    // (nothing when the focus moves on).
    struct Step {
        const char* box;
        QString typed;
        QString left;  // the box's text afterwards
        QString message;
        QString title = kTitle;
        QMessageBox::Icon icon = QMessageBox::Critical;
    };
    const QString certificateAccount = "123016789016";
    const Step steps[] = {
        {"Text1", "", "", "欄位不可為空白"},
        {"Text1", "0", "", "欄位不可為零"},
        {"Text1", "00", "", "欄位不可為零"},
        {"Text1", "000", "", "欄位不可為零"},
        {"Text1", "0000", "", "欄位不可為零"},
        {"Text1", "00000", "", "欄位不可為零"},
        {"Text1", "12", "00012", ""},
        {"Text2", "", "", "員工帳號欄位不可為空白"},
        {"Text2", kAccount.left(11), "", "輸入帳號位數不足", kAccountTitle},
        {"Text2", "004001012345", "004001012345", "員工帳號不正確", kAccountTitle},
        {"Text2", certificateAccount, certificateAccount, ""},
        {"Text3", "", "", "存單號碼欄位不可為空白"},
        {"Text3", "123", "123", "存單號碼為八位，請重新輸入！", kTitle, QMessageBox::Question},
        {"Text3", "12345678", "12345678", ""},
        {"Text4", "", "", "欄位不可為空白"},
        {"Text4", "100", "100", ""},
        {"Text5", "", "", "欄位不可為空白"},
    };
    Staff("00005");
    Open(Qt::Key_F2);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.box + (u' ' + step.typed).toStdString());
        ASSERT_EQ(Focus(), Box(step.box));
        const std::size_t before = messages.Count();
        TypeInto(Box(step.box), step.typed);
        Enter();
        if (step.message.isEmpty()) {
            EXPECT_EQ(messages.Count(), before);
        } else {
            ExpectLast(step.message, step.title, step.icon);
            EXPECT_EQ(Focus(), Box(step.box));
        }
        EXPECT_EQ(Box(step.box)->text(), step.left);
    }
    Box("Text5")->insert("王小明");
    Enter();
    EXPECT_EQ(Focus(), Confirm());
    Enter();

    EXPECT_EQ(Row("S_STAFF", "00012"),
              (QStringList{"00012", certificateAccount, "100", "王小明", "12345678"}));
    // Ready for the next employee, with the new one selected in the list.
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Box("Text1")->text(), QString());
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_EQ(GridRow(), 1);
}

TEST_F(Form4Test, CertificateBoxFollowsTheAccountTypeWhileTyping) {
    Open(Qt::Key_F2);
    QLineEdit* certificate = Box("Text3");
    TypeInto(Box("Text2"), "12301678901");
    EXPECT_FALSE(certificate->isEnabled());
    QTest::keyClicks(Box("Text2"), "6");
    EXPECT_TRUE(certificate->isEnabled());
    certificate->setText("12345678");

    // Changing one of the three type digits empties and disables the box again.
    Box("Text2")->setSelection(5, 1);
    QTest::keyClicks(Box("Text2"), "7");
    EXPECT_EQ(certificate->text(), QString());
    EXPECT_FALSE(certificate->isEnabled());
    // Enter then passes it by.
    TypeInto(Box("Text2"), kAccount);
    Enter();
    EXPECT_EQ(Focus(), Box("Text4"));
}

TEST_F(Form4Test, ConfirmRefusesInOrderWithoutStoring) {
    const QString certificate = "存單號碼為八位，請重新輸入！";
    const struct {
        const char* box;
        QString typed;
        QString message;
        QString title;
        const char* focus;
        QString left;  // the box's text afterwards
        QMessageBox::Icon icon = QMessageBox::Critical;
    } cases[] = {
        {"Text2", kAccount.left(11), "帳號位數不足", kTitle, "Text2", kAccount.left(11)},
        {"Text2", "004001012345", "員工帳號不正確", kAccountTitle, "Text2", "004001012345"},
        // A zero code that left its box by a click, not by Enter, is refused too.
        {"Text1", "0", "欄位不可為零", kTitle, "Text1", ""},
        {"Text5", "", "欄位不可為空白", kTitle, "Text1", ""},
        // A 016 account needs a certificate number of eight digits, whether Enter was pressed in
        // its box or not.
        {"Text2", "123016789016", certificate, kTitle, "Text3", "123016789016",
         QMessageBox::Question},
    };
    Open(Qt::Key_F2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        FillEntry("7", "甲");
        TypeInto(Box(c.box), c.typed);
        ClickConfirm();
        ExpectLast(c.message, c.title, c.icon);
        EXPECT_EQ(Focus(), Box(c.focus));
        EXPECT_EQ(Box(c.box)->text(), c.left);
    }
    EXPECT_TRUE(Rows("S_STAFF").isEmpty());
}

TEST_F(Form4Test, DuplicateCodeIsAskedAboutAndYesMovesTheRunUnlessItCannotMove) {
    for (const char* code : {"00003", "00004", "00005", "00008", "99999"})
        Staff(code);
    Transfer("00004", "獎金");
    Transfer("00008");
    Transfer("00009");  // a payee who is no longer an employee
    Open(Qt::Key_F2);
    FillEntry("4", "新人");
    messages.Answer(QMessageBox::No);
    ClickConfirm();
    ExpectLast("員工代碼已經重複,是否要新增?!", kCodeTitle, QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_EQ(Box("Text1")->text(), "00004");
    EXPECT_EQ(Box("Text5")->text(), "新人");

    // Refused before anything moves: past the highest code, or onto a payee's transfer record.
    const std::pair<const char*, const char*> refusals[] = {
        {"99999", "員工代碼已達上限，無法插入"},
        {"8", "薪資轉帳資料已使用員工代碼 00009，無法插入"},
    };
    for (const auto& [code, message] : refusals) {
        TypeInto(Box("Text1"), code);
        messages.Answer(QMessageBox::Yes);
        ClickConfirm();
        ExpectLast(message, kCodeTitle);
        EXPECT_EQ(Focus(), Box("Text1"));
    }
    EXPECT_EQ(Codes("S_STAFF"), (QStringList{"00003", "00004", "00005", "00008", "99999"}));
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"00004", "00008", "00009"}));

    TypeInto(Box("Text1"), "4");
    messages.Answer(QMessageBox::Yes);
    ClickConfirm();
    EXPECT_EQ(messages.Count(), 6u);  // one question each time, two refusals
    EXPECT_EQ(Codes("S_STAFF"),
              (QStringList{"00003", "00004", "00005", "00006", "00008", "99999"}));
    EXPECT_EQ(Row("S_STAFF", "00004")[3], "新人");
    EXPECT_EQ(Row("S_STAFF", "00006")[3], "員工00005");
    // The transfer record went with its employee, remark and all; the others stayed.
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"00005", "00008", "00009"}));
    EXPECT_EQ(Row("S_ITEM", "00005"),
              (QStringList{"00005", kAccount, "1000", "員工00004", "", "獎金"}));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(GridRow(), 1);
}

// Five hundred employees are more than the grid reads at once: renumbering in the middle and
// filtering after scrolling must show what a full read would.
TEST_F(Form4Test, LargeTableRenumbersTheMiddleAndFiltersAfterScrolling) {
    StaffUpTo(500);
    Transfer("00300");
    Open(Qt::Key_F2);
    FillEntry("250", "新人");
    messages.Answer(QMessageBox::Yes);
    ClickConfirm();
    EXPECT_EQ(messages.Count(), 1u);
    const QStringList codes = Codes("S_STAFF");
    ASSERT_EQ(codes.size(), 501);
    EXPECT_EQ(codes.mid(248, 4), (QStringList{"00249", "00250", "00251", "00252"}));
    EXPECT_EQ(codes.last(), "00501");
    EXPECT_EQ(Row("S_STAFF", "00250")[3], "新人");
    EXPECT_EQ(Row("S_STAFF", "00251")[3], "員工00250");
    EXPECT_EQ(Codes("S_ITEM"), QStringList{"00301"});
    EXPECT_EQ(GridRow(), 249);

    // Scrolled far down, then the query filter narrows the list to one page.
    QTest::mouseClick(Find<QPushButton>(window.get(), "Command3"), Qt::LeftButton);
    auto* grid = Find<DataGrid>(window.get(), "DataGrid1");
    grid->selectRow(480);
    EXPECT_EQ(Box("Text1")->text(), "00481");
    QTest::keyClick(window.get(), Qt::Key_F6);
    TypeInto(Box("Text1"), "0049");
    EXPECT_EQ(grid->model()->rowCount(), 10);
    EXPECT_EQ(grid->model()->index(9, 0).data().toString(), "00499");
    TypeInto(Box("Text1"), "");
    EXPECT_EQ(grid->model()->rowCount(), 501);
    EXPECT_EQ(grid->model()->index(500, 0).data().toString(), "00501");
}

// The newcomer cannot be stored after the run has moved: the move is undone with it, and the
// window lists the table as kept, with the entry still in the boxes for another try.
TEST_F(Form4Test, AFailedStoreAfterTheRunMovedUndoesTheMoveAndKeepsTheEntry) {
    for (const char* code : {"00001", "00002", "00003"})
        Staff(code);
    Transfer("00002");
    Open(Qt::Key_F2);
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "CREATE TEMP TRIGGER refuse BEFORE INSERT ON main.S_STAFF "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    FillEntry("00002", "新人");
    // The failure is shown only after the move is undone.
    QStringList texts;
    QList<QStringList> codesShown;
    SetMessageHook([&](QMessageBox& box) {
        texts << box.text() + "|" + box.windowTitle();
        codesShown << Codes("S_STAFF");
        return texts.size() == 1 ? QMessageBox::Yes : QMessageBox::Ok;
    });
    ClickConfirm();
    messages.Install();
    EXPECT_EQ(texts,
              (QStringList{"員工代碼已經重複,是否要新增?!|員工代碼", "不可預期的錯誤|PAYSUM"}));
    ASSERT_EQ(codesShown.size(), 2);
    EXPECT_EQ(codesShown[1], (QStringList{"00001", "00002", "00003"}));
    EXPECT_EQ(Codes("S_STAFF"), (QStringList{"00001", "00002", "00003"}));
    EXPECT_EQ(Row("S_STAFF", "00002")[3], "員工00002");
    EXPECT_EQ(Codes("S_ITEM"), QStringList{"00002"});
    const QAbstractItemModel* model = Find<DataGrid>(window.get(), "DataGrid1")->model();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(1, 3).data().toString(), "員工00002");
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Box("Text1")->text(), "00002");
    EXPECT_EQ(Box("Text5")->text(), "新人");
}

// After its own writes the window does not read the table again: what the grid lists, and the
// row it stands on, must still be what a fresh read gives.
TEST_F(Form4Test, WritesInALargeTableListWhatAReadWould) {
    StaffUpTo(400);
    const auto expectGridAsRead = [&](const QString& current) {
        const QAbstractItemModel* model = Find<DataGrid>(window.get(), "DataGrid1")->model();
        QStringList listed;
        for (int row = 0; row < model->rowCount(); ++row)
            listed << model->index(row, 0).data().toString();
        const QStringList codes = Codes("S_STAFF");
        EXPECT_EQ(listed, codes);
        EXPECT_EQ(GridRow(), codes.indexOf(current)) << current.toStdString();
    };

    Open(Qt::Key_F2);
    messages.Answer(QMessageBox::Yes);
    // Taken, free past the end, taken, taken at the end of the run.
    for (const char* code : {"00200", "00450", "00050", "00401"}) {
        FillEntry(code, "新人");
        ClickConfirm();
        expectGridAsRead(code);
        EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
        EXPECT_TRUE(Box("Text1")->text().isEmpty());
    }
    EXPECT_EQ(messages.Count(), 3u);  // the question of each taken code

    // A code changed from the top to a free one between the run and the last.
    window.reset();
    Open(Qt::Key_F3);
    TypeInto(Box("Text1"), "420");
    ClickConfirm();
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);
    expectGridAsRead("00420");
    EXPECT_EQ(Box("Text5")->text(), "員工00001");
}

TEST_F(Form4Test, ChangeRewritesTheTransferRecordKeepingItsRemarkAndRefusesOthersCodes) {
    Staff("00001");
    Staff("00002");
    Transfer("00001", "獎金");
    Transfer("00002", "加班");
    Transfer("00005");  // a payee who is no longer an employee
    Open(Qt::Key_F3);
    TypeInto(Box("Text4"), "40000");
    Box("Text5")->clear();
    Box("Text5")->insert("王大明");
    ClickConfirm();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Row("S_STAFF", "00001"), (QStringList{"00001", kAccount, "40000", "王大明", ""}));
    EXPECT_EQ(Row("S_ITEM", "00001"),
              (QStringList{"00001", kAccount, "40000", "王大明", "", "獎金"}));

    QTest::keyClick(window.get(), Qt::Key_F3);
    TypeInto(Box("Text1"), "2");
    ClickConfirm();
    ExpectLast("員工代碼已經重複", kCodeTitle);
    EXPECT_EQ(Focus(), Box("Text1"));
    TypeInto(Box("Text1"), "5");
    ClickConfirm();
    ExpectLast("薪資轉帳資料已使用員工代碼 00005，無法修改", kCodeTitle);
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kChange);
    EXPECT_EQ(Row("S_ITEM", "00005")[3], "員工00005");

    // A new code takes the employee's own transfer record along.
    TypeInto(Box("Text1"), "9");
    ClickConfirm();
    EXPECT_EQ(Codes("S_STAFF"), (QStringList{"00002", "00009"}));
    EXPECT_EQ(Row("S_ITEM", "00009")[5], "獎金");
    EXPECT_EQ(Row("S_ITEM", "00002")[5], "加班");
    EXPECT_EQ(GridRow(), 1);

    // The transfer record cannot be rewritten: the employee's change is undone with it before
    // the failure is shown, and the list shows what was kept.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON main.S_ITEM "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    const QAbstractItemModel* model = Find<DataGrid>(window.get(), "DataGrid1")->model();
    QStringList shown;
    SetMessageHook([&](QMessageBox& box) {
        shown << box.text() << Row("S_STAFF", "00009")[2] << model->index(1, 2).data().toString();
        return QMessageBox::Ok;
    });
    QTest::keyClick(window.get(), Qt::Key_F3);
    TypeInto(Box("Text4"), "50000");
    ClickConfirm();
    messages.Install();
    EXPECT_EQ(shown, (QStringList{"不可預期的錯誤", "40000", "40000"}));
    EXPECT_EQ(Row("S_ITEM", "00009")[2], "40000");
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kChange);
    EXPECT_EQ(Box("Text4")->text(), "50000");
}

// An account other than a 016 one keeps no certificate number: one stored with it before is
// emptied on screen as change mode starts, and stored empty.
TEST_F(Form4Test, ChangeStoresNoCertificateWithAnotherAccount) {
    InsertRow("S_STAFF", {"00001", kAccount, "35000", "員工00001", "11112222"});
    Open(Qt::Key_F3);
    EXPECT_TRUE(Box("Text3")->text().isEmpty());
    EXPECT_FALSE(Box("Text3")->isEnabled());
    ClickConfirm();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Row("S_STAFF", "00001")[4], "");
}

TEST_F(Form4Test, DeletingDownToAnEmptyTableLeavesTheTransfersAlone) {
    Staff("00001");
    Staff("00002");
    Transfer("00001");
    Open(Qt::Key_F4);
    ClickConfirm();  // answered with its default button, No
    ExpectLast("確定刪除", kTitle, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(messages.Last().defaultButton, QMessageBox::No);
    EXPECT_EQ(Rows("S_STAFF").size(), 2);

    for (auto goOn : {QMessageBox::Yes, QMessageBox::No}) {
        messages.Answer(QMessageBox::Yes);
        messages.Answer(goOn);
        ClickConfirm();
    }
    EXPECT_EQ(messages.Count(), 6u);
    ExpectLast("員工資料已刪除！是否要繼續刪除？", "員工資料刪除", QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No, 3);
    ExpectLast("已無資料可刪除，回員工資料建檔！", "員工資料刪除");
    EXPECT_TRUE(Rows("S_STAFF").isEmpty());
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"00001"}));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);
}

TEST_F(Form4Test, QueryByPartOfANameListsTheNamesThatHoldItAndEnterShowsTheFirst) {
    InsertRow("S_STAFF", {"00003", kAccount, "1000", "O'Neil 100%"});
    InsertRow("S_STAFF", {"00007", kAccount, "35000", "王小明"});
    InsertRow("S_STAFF", {"00009", kAccount, "1000", "Ann_Lee%"});
    Open(Qt::Key_F6);
    DataGrid* grid = Find<DataGrid>(window.get(), "DataGrid1");
    const struct {
        QString typed;
        QStringList codes;
    } cases[] = {
        {"小明", {"00007"}},
        {"王", {"00007"}},
        {"'", {"00003"}},
        {"%", {"00003", "00009"}},
        {"_", {"00009"}},
        {"N_L", {"00009"}},
        {"1%", {}},
        {"小明x", {}},
        {"0", {"00003", "00007", "00009"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("typed " + c.typed.toStdString());
        TypeInto(Box("Text1"), c.typed);
        EXPECT_EQ(Box("Text1")->text(), c.typed);
        QStringList codes;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            codes << grid->model()->index(row, 0).data().toString();
        EXPECT_EQ(codes, c.codes);
    }
    TypeInto(Box("Text1"), "小");
    Enter();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Box("Text1")->text(), "00007");
    EXPECT_EQ(Box("Text5")->text(), "王小明");
    // Out of query mode the code box takes digits only again.
    window->CancelEntry();
    window->Command1_Click(MaintenanceWindow::kAdd);
    Box("Text1")->clear();
    QTest::keyClicks(Box("Text1"), "1a");
    EXPECT_EQ(Box("Text1")->text(), "1");
}

TEST_F(Form4Test, QuerySearchesForTheZeroFilledCode) {
    InsertRow("S_STAFF", {"00007", kAccount, "35000 ", "小明  "});
    Staff("00070");
    Open(Qt::Key_F6);
    QTest::keyClicks(Focus(), "7");
    Enter();
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(Box("Text1")->text(), "00007");
    EXPECT_EQ(Box("Text4")->text(), "35000");
    EXPECT_EQ(Box("Text5")->text(), "小明");
    EXPECT_EQ(Focus(), Confirm());
    ClickConfirm();  // shows the employee as stored
    EXPECT_EQ(Box("Text4")->text(), "35000 ");

    // Not found by the confirm: query goes on, with the whole list and its first employee.
    TypeInto(Box("Text1"), "8");
    ClickConfirm();
    ExpectLast("查無資料!!", "輸入錯誤");
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Box("Text1")->text(), "00007");
    // Not found by Enter: back to idle.
    TypeInto(Box("Text1"), "9");
    Enter();
    EXPECT_EQ(messages.Count(), 2u);
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);
}

TEST_F(Form4Test, OpensFromTheMainMenuAndClosesOnLeave) {
    InsertRow("S_BASE", {"012", "大安實業"});
    ASSERT_TRUE(StartUp());
    QString shown;
    OnNextModal([&](QDialog& dialog) {
        shown = dialog.objectName();
        QTest::keyClick(&dialog, Qt::Key_F10);
    });
    MainWindow()->Command2_Click();
    EXPECT_EQ(shown, "Form4");
    EXPECT_TRUE(MainWindow()->findChildren<Form4*>().isEmpty());
}

}  // namespace
}  // namespace paysum
