#include "staff/Form4.h"

#include "app/Form1.h"
#include "app/startup.h"
#include "maintenance/DataGrid.h"
#include "staff/StaffFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

using test::kItemTable;
using test::kStaffTable;

const QString kAccount = QStringLiteral("004001012341");
const QString kTitle = QStringLiteral("員工資料建檔");  // the window's own messages
const QString kCodeTitle = QStringLiteral("員工代碼");
const QString kAccountTitle = QStringLiteral("Veltra 帳號檢核");
constexpr auto kStop = QMessageBox::Critical;

class Form4Test : public test::StaffFixture {
protected:
    void TearDown() override {
        window.reset();  // before the fixture deletes every window left open
        StaffFixture::TearDown();
    }

    void Staff(const QString& code) {
        InsertRow(kStaffTable,
                  {code, kAccount, QStringLiteral("35000"), QStringLiteral("員工") + code});
    }

    void Transfer(const QString& code, const QString& remark = QString()) {
        InsertRow(kItemTable, {code, kAccount, QStringLiteral("1000"),
                               QStringLiteral("員工") + code, QString(), remark});
    }

    // Opens the window on the table as it is and chooses a mode by its function key.
    void Open(Qt::Key modeKey) {
        window = std::make_unique<Form4>();
        Activate(window.get());
        QTest::keyClick(window.get(), modeKey);
    }

    QLineEdit* Box(const char* name) {
        return Find<QLineEdit>(window.get(), QString::fromLatin1(name));
    }
    QPushButton* Confirm() { return Find<QPushButton>(window.get(), QStringLiteral("Command2_0")); }
    int GridRow() {
        return Find<DataGrid>(window.get(), QStringLiteral("DataGrid1"))->currentIndex().row();
    }

    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    static void Enter() { QTest::keyClick(Focus(), Qt::Key_Return); }
    // Replaces a box's text by typing, as after clicking into it.
    static void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void ClickConfirm() { QTest::mouseClick(Confirm(), Qt::LeftButton); }

    void FillEntry(const QString& code, const QString& name) {
        TypeInto(Box("Text1"), code);
        TypeInto(Box("Text2"), kAccount);
        TypeInto(Box("Text4"), QStringLiteral("35000"));
        Box("Text5")->setFocus();
        Box("Text5")->insert(name);
    }

    void ExpectLast(const QString& text, const QString& title = kTitle,
                    QMessageBox::Icon icon = kStop,
                    QMessageBox::StandardButtons buttons = QMessageBox::Ok) {
        ASSERT_GT(messages.Count(), 0u);
        EXPECT_EQ(messages.Last().text, text);
        EXPECT_EQ(messages.Last().title, title);
        EXPECT_EQ(messages.Last().icon, icon) << text.toStdString();
        EXPECT_EQ(messages.Last().buttons, buttons) << text.toStdString();
    }

    std::unique_ptr<Form4> window;
};

TEST_F(Form4Test, AddModeEnterChainPadsTheCodeAndStoresTheEmployee) {
    Staff(QStringLiteral("00005"));
    Open(Qt::Key_F2);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("2. 員工資料建檔"));
    Type(QStringLiteral("12"));
    Enter();
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("00012"));
    EXPECT_EQ(Focus(), Box("Text2"));
    Type(kAccount);
    Enter();
    EXPECT_EQ(Focus(), Box("Text4"));  // not a type-016 account: the certificate box is skipped
    Type(QStringLiteral("35000"));
    Enter();
    Box("Text5")->insert(QStringLiteral("王小明"));
    Enter();
    EXPECT_EQ(Focus(), Confirm());
    Enter();

    EXPECT_EQ(Row(kStaffTable, QStringLiteral("00012")),
              (QStringList{"00012", kAccount, "35000", "王小明", ""}));
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    // Ready for the next employee, with the new one selected in the list.
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(Box("Text1")->text(), QString());
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_EQ(GridRow(), 1);
}

TEST_F(Form4Test, EnterRefusesEachBoxUntilItsValueIsRight) {
    // What is typed into the box that has the focus, and what Enter then leaves in it and says
    // (nothing when the focus moves on).
    struct Step {
        const char* box;
        QString typed;
        QString left;  // the box's text afterwards
        QString message;
        QString title = kTitle;
        QMessageBox::Icon icon = kStop;
    };
    const QString certificateAccount = QStringLiteral("123016789016");
    const Step steps[] = {
        {"Text1", "", "", "欄位不可為空白"},
        {"Text1", "0", "", "欄位不可為零"},
        {"Text1", "00", "", "欄位不可為零"},
        {"Text1", "000", "", "欄位不可為零"},
        {"Text1", "0000", "", "欄位不可為零"},
        {"Text1", "00000", "", "欄位不可為零"},
        {"Text1", "1", "00001", ""},
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
}

TEST_F(Form4Test, CertificateBoxFollowsTheAccountTypeWhileTyping) {
    Open(Qt::Key_F2);
    QLineEdit* certificate = Box("Text3");
    TypeInto(Box("Text2"), QStringLiteral("12301678901"));
    EXPECT_FALSE(certificate->isEnabled());
    Type(QStringLiteral("6"));
    EXPECT_TRUE(certificate->isEnabled());
    certificate->setText(QStringLiteral("12345678"));

    // Changing one of the three type digits empties and disables the box again.
    Box("Text2")->setSelection(5, 1);
    Type(QStringLiteral("7"));
    EXPECT_EQ(certificate->text(), QString());
    EXPECT_FALSE(certificate->isEnabled());
}

TEST(CheckStaffEntry, RefusesTheFirstFailingCheckInOrder) {
    const StaffEntry good{"00007", kAccount, "", "100", "甲"};
    const auto with = [&](auto StaffEntry::*field, const char* value) {
        StaffEntry entry = good;
        entry.*field = QString::fromUtf8(value);
        return CheckStaffEntry(entry);
    };
    EXPECT_EQ(CheckStaffEntry(good), std::nullopt);
    EXPECT_EQ(with(&StaffEntry::name, "")->text, QStringLiteral("欄位不可為空白"));
    EXPECT_EQ(with(&StaffEntry::code, "00000")->text, QStringLiteral("欄位不可為零"));
    EXPECT_EQ(with(&StaffEntry::code, "000007")->text, QStringLiteral("欄位超出"));
    EXPECT_EQ(with(&StaffEntry::code, "")->box, StaffBox::Code);
    const auto shortAccount = with(&StaffEntry::account, "00400101234");
    EXPECT_EQ(shortAccount->text, QStringLiteral("帳號位數不足"));
    EXPECT_EQ(shortAccount->title, kTitle);
    EXPECT_EQ(shortAccount->box, StaffBox::Account);
    EXPECT_EQ(with(&StaffEntry::account, "004001012345")->title, kAccountTitle);
    // The certificate number is not looked at: only Enter in its box checks it.
    EXPECT_EQ(with(&StaffEntry::certificate, "123"), std::nullopt);
}

TEST_F(Form4Test, ConfirmRefusesWithoutStoring) {
    Open(Qt::Key_F2);
    FillEntry(QStringLiteral("7"), QStringLiteral("甲"));
    TypeInto(Box("Text2"), kAccount.left(11));
    ClickConfirm();
    ExpectLast(QStringLiteral("帳號位數不足"));
    EXPECT_EQ(Focus(), Box("Text2"));
    EXPECT_EQ(Box("Text2")->text(), kAccount.left(11));
    TypeInto(Box("Text2"), QStringLiteral("004001012345"));
    ClickConfirm();
    ExpectLast(QStringLiteral("員工帳號不正確"), kAccountTitle);

    // A zero code that left its box by a click, not by Enter, is refused too.
    TypeInto(Box("Text2"), kAccount);
    TypeInto(Box("Text1"), QStringLiteral("0"));
    ClickConfirm();
    ExpectLast(QStringLiteral("欄位不可為零"));
    EXPECT_EQ(Box("Text1")->text(), QString());
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_TRUE(Rows(kStaffTable).isEmpty());
}

TEST_F(Form4Test, DuplicateCodeOnYesMovesTheRunAndTheirTransfersUp) {
    for (const char* code : {"00003", "00004", "00005", "00008"})
        Staff(QString::fromLatin1(code));
    Transfer(QStringLiteral("00004"), QStringLiteral("獎金"));
    Open(Qt::Key_F2);
    FillEntry(QStringLiteral("4"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::Yes);
    ClickConfirm();

    EXPECT_EQ(messages.Count(), 1u);
    ExpectLast(QStringLiteral("員工代碼已經重複,是否要新增?!"), kCodeTitle, QMessageBox::Question,
               QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(Codes(kStaffTable), (QStringList{"00003", "00004", "00005", "00006", "00008"}));
    EXPECT_EQ(Row(kStaffTable, QStringLiteral("00004"))[3], QStringLiteral("新人"));
    EXPECT_EQ(Row(kStaffTable, QStringLiteral("00006"))[3], QStringLiteral("員工00005"));
    // The transfer record went with its employee, remark and all.
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00005")),
              (QStringList{"00005", kAccount, "1000", "員工00004", "", "獎金"}));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kAdd);
    EXPECT_EQ(GridRow(), 1);
}

TEST_F(Form4Test, DuplicateCodeOnNoStoresNothingAndKeepsTheBoxes) {
    Staff(QStringLiteral("00003"));
    Staff(QStringLiteral("00004"));
    Open(Qt::Key_F2);
    FillEntry(QStringLiteral("3"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::No);
    ClickConfirm();
    EXPECT_EQ(Codes(kStaffTable), (QStringList{"00003", "00004"}));
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("00003"));
    EXPECT_EQ(Box("Text5")->text(), QStringLiteral("新人"));
}

TEST_F(Form4Test, RenumberingThatCannotBeDoneIsRefusedBeforeAnythingMoves) {
    for (const char* code : {"00001", "00002", "99998", "99999"})
        Staff(QString::fromLatin1(code));
    Transfer(QStringLiteral("00002"));
    Transfer(QStringLiteral("00003"));  // a payee who is no longer an employee
    Open(Qt::Key_F2);
    FillEntry(QStringLiteral("99998"), QStringLiteral("新人"));
    messages.Answer(QMessageBox::Yes);
    ClickConfirm();
    ExpectLast(QStringLiteral("員工代碼已達上限，無法插入"), kCodeTitle);
    EXPECT_EQ(Focus(), Box("Text1"));

    TypeInto(Box("Text1"), QStringLiteral("1"));
    messages.Answer(QMessageBox::Yes);
    ClickConfirm();
    ExpectLast(QStringLiteral("薪資轉帳資料已使用員工代碼 00003，無法插入"), kCodeTitle);
    EXPECT_EQ(Codes(kStaffTable), (QStringList{"00001", "00002", "99998", "99999"}));
    EXPECT_EQ(Codes(kItemTable), (QStringList{"00002", "00003"}));
}

TEST_F(Form4Test, ChangeRewritesTheTransferRecordAndKeepsItsRemark) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00001"), QStringLiteral("獎金"));
    Transfer(QStringLiteral("00002"), QStringLiteral("加班"));
    Open(Qt::Key_F3);
    EXPECT_EQ(window->OldCode, QStringLiteral("00001"));
    TypeInto(Box("Text4"), QStringLiteral("40000"));
    Box("Text5")->clear();
    Box("Text5")->insert(QStringLiteral("王大明"));
    ClickConfirm();

    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(Row(kStaffTable, QStringLiteral("00001")),
              (QStringList{"00001", kAccount, "40000", "王大明", ""}));
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00001")),
              (QStringList{"00001", kAccount, "40000", "王大明", "", "獎金"}));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);

    // A new code takes the employee's own transfer record along.
    QTest::keyClick(window.get(), Qt::Key_F3);
    TypeInto(Box("Text1"), QStringLiteral("9"));
    ClickConfirm();
    EXPECT_EQ(Codes(kStaffTable), (QStringList{"00002", "00009"}));
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00009"))[5], QStringLiteral("獎金"));
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00002"))[5], QStringLiteral("加班"));
    EXPECT_EQ(GridRow(), 1);
}

TEST_F(Form4Test, ChangeRefusesACodeThatIsSomeoneElses) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00005"));  // a payee who is no longer an employee
    Open(Qt::Key_F3);
    TypeInto(Box("Text1"), QStringLiteral("2"));
    ClickConfirm();
    ExpectLast(QStringLiteral("員工代碼已經重複"), kCodeTitle);
    EXPECT_EQ(Focus(), Box("Text1"));

    TypeInto(Box("Text1"), QStringLiteral("5"));
    ClickConfirm();
    ExpectLast(QStringLiteral("薪資轉帳資料已使用員工代碼 00005，無法修改"), kCodeTitle);
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kChange);
    EXPECT_EQ(Codes(kStaffTable), (QStringList{"00001", "00002"}));
    EXPECT_EQ(Row(kItemTable, QStringLiteral("00005"))[3], QStringLiteral("員工00005"));
}

TEST_F(Form4Test, DeletingDownToAnEmptyTableLeavesTheTransfersAlone) {
    Staff(QStringLiteral("00001"));
    Staff(QStringLiteral("00002"));
    Transfer(QStringLiteral("00001"));
    Open(Qt::Key_F4);
    ClickConfirm();  // answered with its default button, No
    ExpectLast(QStringLiteral("確定刪除"), kTitle, QMessageBox::NoIcon,
               QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(messages.Last().defaultButton, QMessageBox::No);
    EXPECT_EQ(Rows(kStaffTable).size(), 2);

    for (auto goOn : {QMessageBox::Yes, QMessageBox::No}) {
        messages.Answer(QMessageBox::Yes);
        messages.Answer(goOn);
        ClickConfirm();
    }
    EXPECT_EQ(messages.All()[2].text, QStringLiteral("員工資料已刪除！是否要繼續刪除？"));
    EXPECT_EQ(messages.All()[2].icon, QMessageBox::Question);
    EXPECT_EQ(messages.All()[2].buttons, QMessageBox::Yes | QMessageBox::No);
    ExpectLast(QStringLiteral("已無資料可刪除，回員工資料建檔！"), QStringLiteral("員工資料刪除"));
    EXPECT_EQ(messages.Count(), 6u);
    EXPECT_TRUE(Rows(kStaffTable).isEmpty());
    EXPECT_EQ(Codes(kItemTable), (QStringList{"00001"}));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);
    EXPECT_FALSE(Find<QPushButton>(window.get(), QStringLiteral("Command1_1"))->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(window.get(), QStringLiteral("Command1_0"))->isEnabled());
}

TEST_F(Form4Test, QuerySearchesForTheZeroFilledCode) {
    InsertRow(kStaffTable, {QStringLiteral("00007"), kAccount, QStringLiteral("35000 "),
                            QStringLiteral("小明  ")});
    Staff(QStringLiteral("00070"));
    Open(Qt::Key_F6);
    Type(QStringLiteral("7"));
    Enter();
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("00007"));
    EXPECT_EQ(Box("Text4")->text(), QStringLiteral("35000"));
    EXPECT_EQ(Box("Text5")->text(), QStringLiteral("小明"));
    EXPECT_EQ(Focus(), Confirm());
    ClickConfirm();  // shows the employee as stored
    EXPECT_EQ(Box("Text4")->text(), QStringLiteral("35000 "));

    // Not found by the confirm: query goes on, with the whole list and its first employee.
    TypeInto(Box("Text1"), QStringLiteral("8"));
    ClickConfirm();
    ExpectLast(QStringLiteral("查無資料!!"), QStringLiteral("輸入錯誤"));
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kQuery);
    EXPECT_EQ(Box("Text1")->text(), QStringLiteral("00007"));
    // Not found by Enter: back to idle.
    TypeInto(Box("Text1"), QStringLiteral("9"));
    Enter();
    EXPECT_EQ(messages.Count(), 2u);
    EXPECT_EQ(window->EditMode, MaintenanceWindow::kIdle);
}

TEST_F(Form4Test, OpensFromTheMainMenuAndClosesOnLeave) {
    InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("012"), QStringLiteral("大安實業")});
    ASSERT_TRUE(StartUp());
    bool shown = false;
    OnNextModal([&](QDialog& dialog) {
        shown = dialog.objectName() == u"Form4";
        QTest::keyClick(&dialog, Qt::Key_F10);
        EXPECT_FALSE(dialog.isVisible());
    });
    MainWindow()->Command2_Click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(MainWindow()->findChildren<Form4*>().isEmpty());
}

}  // namespace
}  // namespace paysum
