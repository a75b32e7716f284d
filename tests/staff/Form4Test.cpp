#include "staff/Form4.h"

#include "app/Form1.h"
#include "app/startup.h"
#include "maintenance/DataGrid.h"
#include "staff/StaffFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

const QString kAccount = QStringLiteral("004001012341");
// Characters 4 to 6 are "016"; the last digit is the check digit.
const QString kCertificateAccount = QStringLiteral("123016789016");
const QString kStaffTitle = QStringLiteral("員工資料建檔");
const QString kCodeTitle = QStringLiteral("員工代碼");

class Form4Test : public test::StaffFixture {
protected:
    void Staff(const QString& code, const QString& pay = QStringLiteral("35000")) {
        InsertRow(QStringLiteral("S_STAFF"),
                  {code, kAccount, pay, QStringLiteral("員工") + code, QString()});
    }

    void Transfer(const QString& code, const QString& remark = QString()) {
        InsertRow(QStringLiteral("S_ITEM"), {code, kAccount, QStringLiteral("1000"),
                                             QStringLiteral("員工") + code, QString(), remark});
    }

    QLineEdit* Box(Form4& window, const char* name) {
        return Find<QLineEdit>(&window, QString::fromLatin1(name));
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    static void Enter() { QTest::keyClick(Focus(), Qt::Key_Return); }

    // Replaces a box's text by typing, as a person would after clicking into it.
    static void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    void Confirm(Form4& window) {
        QTest::mouseClick(Find<QPushButton>(&window, QStringLiteral("Command2_0")), Qt::LeftButton);
    }

    // Fills the boxes of an add with the account and pay that every test uses.
    void FillEntry(Form4& window, const QString& code, const QString& name) {
        TypeInto(Box(window, "Text1"), code);
        TypeInto(Box(window, "Text2"), kAccount);
        TypeInto(Box(window, "Text4"), QStringLiteral("35000"));
        Box(window, "Text5")->setFocus();
        Box(window, "Text5")->insert(name);
    }

    void ExpectMessage(std::size_t index, const QString& text, const QString& title,
                       QMessageBox::Icon icon = QMessageBox::Critical,
                       QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
        ASSERT_LT(index, messages.Count()) << messages.Texts().join(u'|').toStdString();
        const test::RecordedMessage& message = messages.All()[index];
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.title, title);
        EXPECT_EQ(message.icon, icon) << text.toStdString();
        EXPECT_EQ(message.buttons, buttons) << text.toStdString();
    }

    void ExpectLast(const QString& text, const QString& title = kStaffTitle,
                    QMessageBox::Icon icon = QMessageBox::Critical) {
        ExpectMessage(messages.Count() - 1, text, title, icon);
    }
};

TEST_F(Form4Test, AddModeEnterChainPadsTheCodeAndStoresTheEmployee) {
    Staff(QStringLiteral("00005"));
    Form4 window;
    Activate(&window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("2. 員工資料建檔"));
    QTest::keyClick(&window, Qt::Key_F2);

    Type(QStringLiteral("12"));
    Enter();
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00012"));
    EXPECT_EQ(Focus(), Box(window, "Text2"));
    Type(kAccount);
    Enter();
    EXPECT_FALSE(Box(window, "Text3")->isEnabled());
    EXPECT_EQ(Focus(), Box(window, "Text4"));
    Type(QStringLiteral("35000"));
    Enter();
    EXPECT_EQ(Focus(), Box(window, "Text5"));
    Box(window, "Text5")->insert(QStringLiteral("王小明"));
    Enter();
    EXPECT_EQ(Focus(), Find<QPushButton>(&window, QStringLiteral("Command2_0")));
    Enter();

    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00012")),
              (QStringList{"00012", kAccount, "35000", "王小明", ""}));
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    // Ready for the next employee, with the new one selected in the list.
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Box(window, "Text1")->text(), QString());
    EXPECT_EQ(Box(window, "Text5")->text(), QString());
    EXPECT_EQ(Focus(), Box(window, "Text1"));
    EXPECT_EQ(Find<DataGrid>(&window, QStringLiteral("DataGrid1"))->currentIndex().row(), 1);
}

TEST_F(Form4Test, EnterRefusesAnEmptyOrZeroCode) {
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    Enter();
    ExpectLast(QStringLiteral("欄位不可為空白"));
    EXPECT_EQ(Focus(), Box(window, "Text1"));

    for (const char* zero : {"0", "00", "000", "0000", "00000"}) {
        SCOPED_TRACE(zero);
        Type(QString::fromLatin1(zero));
        Enter();
        ExpectLast(QStringLiteral("欄位不可為零"));
        EXPECT_EQ(Box(window, "Text1")->text(), QString());
        EXPECT_EQ(Focus(), Box(window, "Text1"));
    }
    EXPECT_EQ(messages.Count(), 6u);
}

TEST_F(Form4Test, CertificateBoxFollowsTheAccountTypeWhileTyping) {
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    Type(QStringLiteral("1"));
    Enter();
    QLineEdit* certificate = Box(window, "Text3");
    Type(kCertificateAccount.left(11));
    EXPECT_FALSE(certificate->isEnabled());
    Type(kCertificateAccount.right(1));
    EXPECT_TRUE(certificate->isEnabled());

    Enter();
    EXPECT_EQ(Focus(), certificate);
    Enter();
    ExpectLast(QStringLiteral("存單號碼欄位不可為空白"));
    Type(QStringLiteral("123"));
    Enter();
    ExpectLast(QStringLiteral("存單號碼為八位，請重新輸入！"), kStaffTitle, QMessageBox::Question);
    EXPECT_EQ(Focus(), certificate);
    Type(QStringLiteral("45678"));
    Enter();
    EXPECT_EQ(Focus(), Box(window, "Text4"));

    // Changing one of the three type digits empties and disables the box again.
    QLineEdit* account = Box(window, "Text2");
    account->setFocus();
    account->setSelection(5, 1);
    Type(QStringLiteral("7"));
    EXPECT_EQ(certificate->text(), QString());
    EXPECT_FALSE(certificate->isEnabled());
}

TEST_F(Form4Test, EnterChecksTheAccountPayAndName) {
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    Type(QStringLiteral("1"));
    Enter();
    Enter();
    ExpectLast(QStringLiteral("員工帳號欄位不可為空白"));
    Type(kAccount.left(11));
    Enter();
    ExpectLast(QStringLiteral("輸入帳號位數不足"), QStringLiteral("Veltra 帳號檢核"));
    EXPECT_EQ(Box(window, "Text2")->text(), QString());
    Type(QStringLiteral("004001012345"));
    Enter();
    ExpectLast(QStringLiteral("員工帳號不正確"), QStringLiteral("Veltra 帳號檢核"));
    EXPECT_EQ(Box(window, "Text2")->text(), QStringLiteral("004001012345"));
    EXPECT_EQ(Focus(), Box(window, "Text2"));

    TypeInto(Box(window, "Text2"), kAccount);
    Enter();
    Enter();
    ExpectLast(QStringLiteral("欄位不可為空白"));
    EXPECT_EQ(Focus(), Box(window, "Text4"));
    Type(QStringLiteral("100"));
    Enter();
    Enter();
    ExpectLast(QStringLiteral("欄位不可為空白"));
    EXPECT_EQ(Focus(), Box(window, "Text5"));
    EXPECT_EQ(messages.Count(), 5u);
}

TEST_F(Form4Test, ConfirmChecksInOrderAndStoresNothing) {
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    TypeInto(Box(window, "Text1"), QStringLiteral("7"));
    Confirm(window);
    ExpectLast(QStringLiteral("欄位不可為空白"));
    EXPECT_EQ(Focus(), Box(window, "Text1"));
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00007"));

    FillEntry(window, QStringLiteral("7"), QStringLiteral("甲"));
    TypeInto(Box(window, "Text2"), kAccount.left(11));
    Confirm(window);
    ExpectLast(QStringLiteral("帳號位數不足"));
    EXPECT_EQ(Focus(), Box(window, "Text2"));
    EXPECT_EQ(Box(window, "Text2")->text(), kAccount.left(11));

    TypeInto(Box(window, "Text2"), QStringLiteral("004001012345"));
    Confirm(window);
    ExpectLast(QStringLiteral("員工帳號不正確"), QStringLiteral("Veltra 帳號檢核"));

    // A zero code that left its box by Tab is refused at the confirm too.
    TypeInto(Box(window, "Text2"), kAccount);
    TypeInto(Box(window, "Text1"), QStringLiteral("0"));
    Confirm(window);
    ExpectLast(QStringLiteral("欄位不可為零"));
    EXPECT_EQ(Box(window, "Text1")->text(), QString());
    EXPECT_TRUE(Rows(QStringLiteral("S_STAFF")).isEmpty());
}

TEST_F(Form4Test, DuplicateCodeOnYesMovesTheRunAndTheirTransfersUp) {
    for (const char* code : {"00003", "00004", "00005", "00008"})
        Staff(QString::fromLatin1(code));
    Transfer(QStringLiteral("00004"), QStringLiteral("獎金"));
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    FillEntry(window, QStringLiteral("4"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::Yes);
    Confirm(window);

    ExpectMessage(0, QStringLiteral("員工代碼已經重複,是否要新增?!"), kCodeTitle,
                  QMessageBox::Question, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(messages.Count(), 1u);
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")),
              (QStringList{"00003", "00004", "00005", "00006", "00008"}));
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00004"))[3], QStringLiteral("新人"));
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00005"))[3],
              QStringLiteral("員工00004"));
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00006"))[3],
              QStringLiteral("員工00005"));
    // The transfer record went with its employee, remark and all.
    EXPECT_EQ(Row(QStringLiteral("S_ITEM"), QStringLiteral("00005")),
              (QStringList{"00005", kAccount, "1000", "員工00004", "", "獎金"}));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Find<DataGrid>(&window, QStringLiteral("DataGrid1"))->currentIndex().row(), 1);
}

TEST_F(Form4Test, DuplicateCodeOnNoStoresNothingAndKeepsTheBoxes) {
    Staff(QStringLiteral("00003"));
    Staff(QStringLiteral("00004"));
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);
    FillEntry(window, QStringLiteral("3"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::No);
    Confirm(window);

    EXPECT_EQ(messages.Count(), 1u);
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")), (QStringList{"00003", "00004"}));
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00003"))[3],
              QStringLiteral("員工00003"));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Focus(), Box(window, "Text1"));
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00003"));
    EXPECT_EQ(Box(window, "Text2")->text(), kAccount);
    EXPECT_EQ(Box(window, "Text4")->text(), QStringLiteral("35000"));
    EXPECT_EQ(Box(window, "Text5")->text(), QStringLiteral("新人"));
}

TEST_F(Form4Test, RenumberingThatCannotBeDoneIsRefusedBeforeAnythingMoves) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Staff(QStringLiteral("99998"));
    Staff(QStringLiteral("99999"));
    Transfer(QStringLiteral("00002"));
    Transfer(QStringLiteral("00003"));  // a payee who is no longer an employee
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F2);

    FillEntry(window, QStringLiteral("99998"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::Yes);
    Confirm(window);
    ExpectLast(QStringLiteral("員工代碼已達上限，無法插入"), kCodeTitle);
    EXPECT_EQ(Focus(), Box(window, "Text1"));

    TypeInto(Box(window, "Text1"), QStringLiteral("1"));
    messages.Answer(QMessageBox::Yes);
    Confirm(window);
    ExpectLast(QStringLiteral("薪資轉帳資料已使用員工代碼 00003，無法插入"), kCodeTitle);

    EXPECT_EQ(messages.Count(), 4u);
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")), (QStringList{"00001", "00002", "99998", "99999"}));
    EXPECT_EQ(Codes(QStringLiteral("S_ITEM")), (QStringList{"00002", "00003"}));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kAdd);
}

TEST_F(Form4Test, ChangeRewritesTheTransferRecordAndKeepsItsRemark) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00001"), QStringLiteral("獎金"));
    Transfer(QStringLiteral("00002"), QStringLiteral("加班"));
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F3);
    EXPECT_EQ(window.OldCode, QStringLiteral("00001"));
    EXPECT_EQ(Focus(), Box(window, "Text1"));
    TypeInto(Box(window, "Text4"), QStringLiteral("40000"));
    Box(window, "Text5")->clear();
    Box(window, "Text5")->insert(QStringLiteral("王大明"));
    Confirm(window);

    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Row(QStringLiteral("S_STAFF"), QStringLiteral("00001")),
              (QStringList{"00001", kAccount, "40000", "王大明", ""}));
    EXPECT_EQ(Row(QStringLiteral("S_ITEM"), QStringLiteral("00001")),
              (QStringList{"00001", kAccount, "40000", "王大明", "", "獎金"}));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(Box(window, "Text4")->text(), QStringLiteral("40000"));

    // A new code takes the employee's own transfer record along.
    QTest::keyClick(&window, Qt::Key_F3);
    TypeInto(Box(window, "Text1"), QStringLiteral("9"));
    Confirm(window);
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")), (QStringList{"00002", "00009"}));
    EXPECT_EQ(Row(QStringLiteral("S_ITEM"), QStringLiteral("00009"))[5], QStringLiteral("獎金"));
    EXPECT_EQ(Row(QStringLiteral("S_ITEM"), QStringLiteral("00002"))[5], QStringLiteral("加班"));
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00009"));
    EXPECT_EQ(Find<DataGrid>(&window, QStringLiteral("DataGrid1"))->currentIndex().row(), 1);
}

TEST_F(Form4Test, ChangeRefusesACodeThatIsSomeoneElses) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00005"));  // a payee who is no longer an employee
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F3);
    TypeInto(Box(window, "Text1"), QStringLiteral("2"));
    Confirm(window);
    ExpectLast(QStringLiteral("員工代碼已經重複"), kCodeTitle);
    EXPECT_EQ(Focus(), Box(window, "Text1"));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kChange);

    TypeInto(Box(window, "Text1"), QStringLiteral("5"));
    Confirm(window);
    ExpectLast(QStringLiteral("薪資轉帳資料已使用員工代碼 00005，無法修改"), kCodeTitle);
    EXPECT_EQ(Codes(QStringLiteral("S_STAFF")), (QStringList{"00001", "00002"}));
    EXPECT_EQ(Row(QStringLiteral("S_ITEM"), QStringLiteral("00005"))[3],
              QStringLiteral("員工00005"));
}

TEST_F(Form4Test, DeletingDownToAnEmptyTableLeavesTheTransfersAlone) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00001"));
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F4);

    Confirm(window);  // answered with the default button, No
    ExpectMessage(0, QStringLiteral("確定刪除"), kStaffTitle, QMessageBox::NoIcon,
                  QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(messages.Last().defaultButton, QMessageBox::No);
    EXPECT_EQ(Rows(QStringLiteral("S_STAFF")).size(), 2);

    messages.Answer(QMessageBox::Yes);
    messages.Answer(QMessageBox::Yes);
    Confirm(window);
    ExpectMessage(2, QStringLiteral("員工資料已刪除！是否要繼續刪除？"),
                  QStringLiteral("員工資料刪除"), QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kDelete);
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00002"));

    messages.Answer(QMessageBox::Yes);
    messages.Answer(QMessageBox::No);
    Confirm(window);
    ExpectLast(QStringLiteral("已無資料可刪除，回員工資料建檔！"), QStringLiteral("員工資料刪除"));
    EXPECT_EQ(messages.Count(), 6u);
    EXPECT_TRUE(Rows(QStringLiteral("S_STAFF")).isEmpty());
    EXPECT_EQ(Codes(QStringLiteral("S_ITEM")), (QStringList{"00001"}));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    QString bar;
    for (int i = 0; i < 6; ++i)
        bar += Find<QPushButton>(&window, QStringLiteral("Command1_%1").arg(i))->isEnabled() ? u'1'
                                                                                             : u'0';
    EXPECT_EQ(bar, QStringLiteral("100011"));
}

TEST_F(Form4Test, QuerySearchesForTheZeroFilledCode) {
    InsertRow(QStringLiteral("S_STAFF"), {QStringLiteral("00007"), kAccount,
                                          QStringLiteral("35000 "), QStringLiteral("小明  ")});
    Staff(QStringLiteral("00070"));
    Form4 window;
    Activate(&window);
    QTest::keyClick(&window, Qt::Key_F6);
    Type(QStringLiteral("7"));
    Enter();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00007"));
    EXPECT_EQ(Box(window, "Text4")->text(), QStringLiteral("35000"));
    EXPECT_EQ(Box(window, "Text5")->text(), QStringLiteral("小明"));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Focus(), Find<QPushButton>(&window, QStringLiteral("Command2_0")));

    // The confirm shows the found employee as stored.
    Confirm(window);
    EXPECT_EQ(Box(window, "Text5")->text(), QStringLiteral("小明  "));

    // Not found by the confirm: query mode goes on with the whole list and its first employee.
    TypeInto(Box(window, "Text1"), QStringLiteral("8"));
    Confirm(window);
    ExpectLast(QStringLiteral("查無資料!!"), QStringLiteral("輸入錯誤"));
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Box(window, "Text1")->text(), QStringLiteral("00007"));
    EXPECT_EQ(Focus(), Box(window, "Text1"));

    // Not found by Enter: back to idle.
    TypeInto(Box(window, "Text1"), QStringLiteral("9"));
    Enter();
    ExpectLast(QStringLiteral("查無資料!!"), QStringLiteral("輸入錯誤"));
    EXPECT_EQ(messages.Count(), 2u);
    EXPECT_EQ(window.EditMode, MaintenanceWindow::kIdle);
    EXPECT_EQ(Find<DataGrid>(&window, QStringLiteral("DataGrid1"))->model()->rowCount(), 2);
}

TEST_F(Form4Test, OpensFromTheMainMenuAndClosesOnLeave) {
    InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("大安實業")});
    ASSERT_TRUE(StartUp());
    bool shown = false;
    OnNextModal([&](QDialog& dialog) {
        shown = true;
        EXPECT_EQ(dialog.objectName(), QStringLiteral("Form4"));
        EXPECT_EQ(Find<QLabel>(&dialog, QStringLiteral("Label1"))->text(), kStaffTitle);
        QTest::keyClick(&dialog, Qt::Key_F10);
        EXPECT_FALSE(dialog.isVisible());
    });
    MainWindow()->Command2_Click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(MainWindow()->findChildren<Form4*>().isEmpty());
}

}  // namespace
}  // namespace paysum
