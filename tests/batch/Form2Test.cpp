#include "batch/Form2.h"

#include "common/Clock.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "maintenance/DataGrid.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>

namespace paysum {
namespace {

using Msg = test::RecordedMessage;

const QString kAccount = "004001012341";
const QString kCertificateAccount = "123016789016";
const QString kTitle = "薪資轉帳資料輸入";
const QString kStaffTitle = "員工資料建檔";
const QString kAccountTitle = "Veltra 帳號檢核";
const QString kNotInMaster = "員工資料檔無此員工編號，請重新輸入！";
const test::RecordedMessage kCertificateMessage{"存單號碼為八位，請重新輸入！", kStaffTitle,
                                                QMessageBox::Question, QMessageBox::Ok,
                                                QMessageBox::Ok};

Msg Critical(const QString& text, const QString& title = kTitle) {
    return test::OkBox(text, title, QMessageBox::Critical);
}

class Form2Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 5));
    }
    void TearDown() override {
        window.reset();
        PaysumTest::TearDown();
    }

    void Staff(const QString& code, const QString& account = kAccount, const QString& at = "") {
        InsertRow("S_STAFF", {code, account, "35000", "員工" + code, at});
    }
    void Transfer(const QString& code, const QString& remark = "") {
        InsertRow("S_ITEM", {code, kAccount, "1000", "員工" + code, "", remark});
    }
    QStringList Codes(const QString& table) {
        QStringList codes;
        for (const QStringList& row : Rows(table))
            codes << row[0];
        return codes;
    }

    // Opens the window on the data as it is, optionally choosing a mode by its function key.
    void Open(std::optional<Qt::Key> modeKey = std::nullopt) {
        window = std::make_unique<Form2>();
        Activate(window.get());
        if (modeKey)
            QTest::keyClick(window.get(), *modeKey);
    }

    QLineEdit* Box(const char* name) { return Find<QLineEdit>(window.get(), name); }
    QComboBox* Remark() { return Find<QComboBox>(window.get(), "Combo1"); }
    QPushButton* Button(const char* name) { return Find<QPushButton>(window.get(), name); }
    QString Caption() { return Find<QLabel>(window.get(), "Label1")->text(); }
    // The batch's count and total beside the caption.
    QString Summary() { return Find<QLabel>(window.get(), "Label3")->text(); }
    QString Bar() { return Enabled(window.get(), "Command1_%1", 0, 5); }
    DataGrid* Grid() { return Find<DataGrid>(window.get(), "DataGrid1"); }
    int GridRow() { return Grid()->currentIndex().row(); }
    // What the six boxes show, in the order of the columns of S_ITEM.
    QStringList Shown() {
        return {Box("Text1")->text(), Box("Text2")->text(), Box("Text5")->text(),
                Box("Text6")->text(), Box("Text3")->text(), Remark()->currentText()};
    }
    // Which of the code, account, certificate, amount and name boxes are enabled.
    QString BoxesEnabled() {
        QString states;
        for (const char* name : {"Text1", "Text2", "Text3", "Text5", "Text6"})
            states += Box(name)->isEnabled() ? u'1' : u'0';
        return states;
    }

    static void Enter() { Key(Qt::Key_Return); }
    void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

    // Keys a new payee's account, amount, name and remark from the account box on, with Enter.
    void KeyNewPayee(const QString& account, const QString& amount, const QString& name) {
        Type(account);
        Enter();
        Type(amount);
        Enter();
        ASSERT_EQ(Focus(), Box("Text6"));
        Box("Text6")->insert(name);
        Enter();
        ASSERT_EQ(Focus(), Remark());
        Type("薪資");
        Enter();
        ASSERT_EQ(Focus(), Button("Command2_0"));
    }

    std::unique_ptr<Form2> window;
};

TEST_F(Form2Test, KnownEmployeeIsFilledLockedAndSavedBackInAddMode) {
    Staff("00001");
    Staff("00002");
    Transfer("00002");
    Open(Qt::Key_F2);
    EXPECT_EQ(Caption(), "--新增--");
    EXPECT_TRUE(Find<QLabel>(window.get(), "Label2_4")->isVisible());
    EXPECT_TRUE(Button("Command3_0")->isEnabled());
    ASSERT_EQ(Focus(), Box("Text1"));

    // Letters never reach the code box; 1 and Enter give 00001 and fill it from the master.
    QTest::keyClicks(Focus(), "x1");
    Enter();
    EXPECT_EQ(Box("Text1")->text(), "00001");
    EXPECT_EQ(Box("Text2")->text(), kAccount);
    EXPECT_EQ(Box("Text5")->text(), "35000");
    EXPECT_EQ(Box("Text6")->text(), "員工00001");
    EXPECT_FALSE(Box("Text2")->isEnabled());
    EXPECT_FALSE(Box("Text6")->isEnabled());
    EXPECT_FALSE(Find<QLabel>(window.get(), "Label2_4")->isVisible());
    ASSERT_EQ(Focus(), Box("Text5"));
    Type("36000");
    Enter();
    ASSERT_EQ(Focus(), Box("Text5"));  // the name comes from the master

    Remark()->setFocus();
    Type("獎金");
    Enter();
    Enter();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Rows("S_ITEM").last(),
              (QStringList{"00001", kAccount, "36000", "員工00001", "", "獎金"}));
    EXPECT_EQ(Codes("S_STAFF"), (QStringList{"00001", "00002"}));  // not filed twice
    EXPECT_EQ(Summary(), "筆數：2　總金額：37,000");

    // Back in add mode with every box empty, the new record current in the grid.
    EXPECT_EQ(Caption(), "--新增--");
    for (const char* name : {"Text1", "Text2", "Text3", "Text5", "Text6"})
        EXPECT_TRUE(Box(name)->text().isEmpty()) << name;
    EXPECT_TRUE(Remark()->currentText().isEmpty());
    EXPECT_EQ(GridRow(), 0);
    EXPECT_EQ(Focus(), Box("Text1"));
}

TEST_F(Form2Test, TemporaryAndNewPayeesAreFiledInTheMaster) {
    Staff("90002");  // a gap: 90001 is free, 90003 comes after
    Open(Qt::Key_F2);

    // Enter in the empty code box proposes the first free temporary code.
    Enter();
    EXPECT_EQ(Box("Text1")->text(), "90001");
    ASSERT_EQ(Focus(), Box("Text2"));
    EXPECT_FALSE(Box("Text3")->isEnabled());
    KeyNewPayee(kAccount, "8800", "林志豪");
    Enter();
    EXPECT_EQ(Rows("S_STAFF").last(), (QStringList{"90001", kAccount, "8800", "林志豪", ""}));
    EXPECT_EQ(Rows("S_ITEM").last(),
              (QStringList{"90001", kAccount, "8800", "林志豪", "", "薪資"}));

    // Right after a save, leaving the empty code box gives nothing; Enter gives the next code.
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_TRUE(Box("Text1")->text().isEmpty());
    Box("Text1")->setFocus();
    Enter();
    EXPECT_EQ(Box("Text1")->text(), "90003");

    // A code the master does not hold, typed in full and left by Tab, is filed on saving.
    Box("Text1")->setFocus();
    Type("123");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(Box("Text1")->text(), "00123");
    ASSERT_EQ(Focus(), Box("Text2"));
    KeyNewPayee(kAccount, "500", "新人");
    Enter();
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Codes("S_STAFF"), (QStringList{"90002", "90001", "00123"}));
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"90001", "00123"}));

    // A transfer that would take the batch's total past twelve digits is refused as the batch
    // file window refuses the file, and nothing is filed.
    Box("Text1")->setFocus();
    Type("124");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    KeyNewPayee(kAccount, "999999990700", "大戶");
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("總金額超過十二位數")});
    EXPECT_EQ(Focus(), Box("Text5"));
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"90001", "00123"}));
    messages.Clear();
    Type("999999990699");
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"90001", "00123", "00124"}));

    // Every temporary code taken: Enter in the empty code box says so and proposes none.
    {
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        for (int code = 90003; code <= 99999; ++code)
            ASSERT_FALSE(
                Execute(db, "INSERT INTO S_STAFF (ID) VALUES (?)", {QString::number(code)}));
        ASSERT_FALSE(transaction.Commit());
    }
    Box("Text1")->setFocus();
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("暫時收款人代碼已用完")});
    EXPECT_TRUE(Box("Text1")->text().isEmpty());
    EXPECT_EQ(Focus(), Box("Text1"));
}

TEST_F(Form2Test, BoxesCheckTheirOwnValueOnEnter) {
    Open(Qt::Key_F2);
    Enter();  // 90001: the account box comes next
    const struct {
        const char* box;
        QString typed;
        Msg message;  // empty text: none, the focus moves on
        const char* focus;
        QString left;
    } steps[] = {
        {"Text2", "", Critical("欄位不可為空白", kStaffTitle), "Text2", ""},
        {"Text2", "00400101234", Critical("輸入帳號位數不足", kAccountTitle), "Text2", ""},
        {"Text2", "004001012342", Critical("員工帳號不正確", kAccountTitle), "Text2",
         "004001012342"},
        {"Text2", kCertificateAccount, {}, "Text3", kCertificateAccount},
        {"Text3", "", Critical("欄位不可為空白", kStaffTitle), "Text3", ""},
        {"Text3",
         "1234567",
         {"存單號碼為八位，請重新輸入！", kStaffTitle, QMessageBox::Question, QMessageBox::Ok,
          QMessageBox::Ok},
         "Text3",
         "1234567"},
        {"Text3", "12345678", {}, "Text5", "12345678"},
        {"Text5", "", Critical("欄位不可為空白", kStaffTitle), "Text5", ""},
        {"Text5", "100", {}, "Text6", "100"},
        {"Text6", "", Critical("欄位不可為空白", kStaffTitle), "Text6", ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.box) + " " + step.typed.toStdString());
        ASSERT_EQ(Focus(), Box(step.box));
        messages.Clear();
        Type(step.typed);
        if (step.typed.isEmpty())
            QTest::keyClick(Focus(), Qt::Key_Delete);
        Enter();
        if (step.message.text.isEmpty())
            EXPECT_EQ(messages.Count(), 0u);
        else
            EXPECT_EQ(messages.All(), std::vector<Msg>{step.message});
        EXPECT_EQ(Focus(), Box(step.focus));
        EXPECT_EQ(Box(step.box)->text(), step.left);
    }
    // The account box is entered again: a 016 account keeps the certificate box open.
    Box("Text2")->setFocus();
    EXPECT_TRUE(Box("Text3")->isEnabled());
}

// Only a 016 account has a certificate number, of eight digits; the box follows the account as
// it is typed, and 確定 checks what Enter in the box would.
TEST_F(Form2Test, OnlyA016AccountStoresACertificateNumberOfEightDigits) {
    Open(Qt::Key_F2);
    Enter();  // 90001
    Type(kCertificateAccount);
    Enter();
    ASSERT_EQ(Focus(), Box("Text3"));
    Type("11112222");
    Enter();
    // Back to the account: another account empties and closes the box as it is typed, and Enter
    // passes it by.
    Box("Text2")->setFocus();
    Type(kAccount);
    EXPECT_TRUE(Box("Text3")->text().isEmpty());
    EXPECT_FALSE(Box("Text3")->isEnabled());
    Enter();
    ASSERT_EQ(Focus(), Box("Text5"));
    Type("500");
    Enter();
    Box("Text6")->insert("新人");
    Click("Command2_0");
    EXPECT_EQ(Rows("S_ITEM").last(), (QStringList{"90001", kAccount, "500", "新人", "", ""}));

    // A 016 account left for another box goes to its certificate number first; 確定 refuses a
    // short or empty one.
    Enter();  // 90002
    Type(kCertificateAccount);
    Box("Text6")->setFocus();
    ASSERT_EQ(Focus(), Box("Text3"));
    Type("123");
    Box("Text5")->setFocus();
    Type("500");
    Box("Text6")->setFocus();
    Box("Text6")->insert("新人");
    for (const char* certificate : {"123", ""}) {
        Box("Text3")->setText(certificate);
        messages.Clear();
        Click("Command2_0");
        EXPECT_EQ(messages.All(), std::vector<Msg>{kCertificateMessage}) << certificate;
        EXPECT_EQ(Focus(), Box("Text3"));
    }
    EXPECT_EQ(Codes("S_ITEM"), QStringList{"90001"});
    Box("Text3")->setText("12345678");
    Click("Command2_0");
    EXPECT_EQ(Rows("S_ITEM").last()[4], "12345678");
}

TEST_F(Form2Test, TheRemarkIsWhatWasTypedAndAPresetOnlyWhenPicked) {
    InsertRow("NNOO", {"獎金", "", "年終獎金", "", "", "", "", "", "", "加班費"});
    Open(Qt::Key_F2);
    Enter();  // 90001
    Type(kAccount);
    Enter();
    Type("500");
    Enter();
    Box("Text6")->insert("新人");
    Enter();
    ASSERT_EQ(Focus(), Remark());
    Key(Qt::Key_Down);
    EXPECT_EQ(Remark()->currentText(), "獎金");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Remark()->currentText(), "年終獎金");
    Type("年終");
    Enter();
    ASSERT_EQ(Focus(), Button("Command2_0"));
    EXPECT_EQ(Remark()->currentText(), "年終");
    Enter();
    EXPECT_EQ(Rows("S_ITEM").last()[5], "年終");
    EXPECT_EQ(Remark()->count(), 10);
}

// The employee window opened from a name too long rewrites the payee: the list shows it at once,
// and so do the boxes the master lends, while the amount typed stays.
TEST_F(Form2Test, TheListIsReadAgainAfterTheEmployeeWindowCloses) {
    const QString tooLong(16, u'王');
    InsertRow("S_STAFF", {"00001", kAccount, "35000", tooLong, ""});
    InsertRow("S_ITEM", {"00001", kAccount, "35000", tooLong, "", "獎金"});
    Open(Qt::Key_F3);
    Box("Text5")->setFocus();
    Type("36000");
    OnNextModal([&](QDialog& staff) {
        QTest::keyClick(&staff, Qt::Key_F3);
        auto* name = staff.findChild<QLineEdit*>("Text5");
        name->setFocus();
        name->selectAll();
        name->insert("王小明");
        QTest::mouseClick(staff.findChild<QPushButton*>("Command2_0"), Qt::LeftButton);
    });
    Click("Command2_0");
    EXPECT_EQ(modalsShown, QStringList{"Form4"});
    EXPECT_EQ(Grid()->model()->index(0, 3).data().toString(), "王小明");
    EXPECT_EQ(Box("Text6")->text(), "王小明");
    EXPECT_EQ(Box("Text5")->text(), "36000");
    Activate(window.get());  // as when the employee window has closed
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 1u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Rows("S_ITEM"),
              (QList<QStringList>{{"00001", kAccount, "36000", "王小明", "", "獎金"}}));
}

TEST_F(Form2Test, ConfirmRefusesBadEntriesAndWritesNothing) {
    Staff("00001");
    Transfer("00001");
    Open(Qt::Key_F2);

    // A code the batch holds: at Enter, and at 確定 after a Tab.
    Type("1");
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("此員工代碼已在本批轉帳資料中")});
    EXPECT_EQ(Focus(), Box("Text1"));
    QTest::keyClick(Focus(), Qt::Key_Tab);  // fills from the master
    messages.Clear();
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("此員工代碼已在本批轉帳資料中")});
    EXPECT_EQ(Focus(), Box("Text1"));

    // An account failing its check on 確定 sends the focus to 取消.
    Click("Command5");
    QTest::keyClick(window.get(), Qt::Key_F2);
    Type("00123");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    Type("004001012342");
    Box("Text5")->setFocus();
    Type("100");
    Box("Text6")->setFocus();
    Box("Text6")->insert("王");
    messages.Clear();
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("員工帳號不正確", kAccountTitle)});
    EXPECT_EQ(Focus(), Button("Command5"));

    // Sixteen Chinese characters are 32 bytes: OK opens the employee window, nothing is stored.
    Box("Text2")->setFocus();
    Type(kAccount);
    Box("Text6")->setFocus();
    Box("Text6")->selectAll();
    Box("Text6")->insert(QString(16, u'王'));
    QString opened;
    OnNextModal([&](QDialog& dialog) { opened = dialog.objectName(); });
    messages.Clear();
    Click("Command2_0");
    EXPECT_EQ(
        messages.All(),
        std::vector<Msg>({{"員工姓名超出欄位最大值, 請修改員工資料!!", kTitle, QMessageBox::Warning,
                           QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok}}));
    EXPECT_EQ(opened, "Form4");
    Activate(window.get());  // as when the employee window has closed
    messages.Answer(QMessageBox::Cancel);
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 2u);

    // 00000 is no code for the employee master.
    Box("Text1")->setFocus();
    Type("00000");
    Box("Text6")->selectAll();
    Box("Text6")->insert("王");
    messages.Clear();
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("欄位不可為零")});
    EXPECT_TRUE(Box("Text1")->text().isEmpty());

    EXPECT_EQ(Codes("S_ITEM"), QStringList{"00001"});
    EXPECT_EQ(Codes("S_STAFF"), QStringList{"00001"});
}

TEST_F(Form2Test, FailedSaveLeavesBothTablesAndTheWindowUsable) {
    Open(Qt::Key_F2);
    const auto keyPayee = [&] {
        Box("Text1")->setFocus();
        Type("00077");
        QTest::keyClick(Focus(), Qt::Key_Tab);
        KeyNewPayee(kAccount, "500", "新人");
        Enter();
    };
    // The transfer cannot be stored: the payee filed a moment before is not kept either.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "CREATE TRIGGER refuse BEFORE INSERT ON S_ITEM "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    // The failure is shown only once the payee's filing is undone.
    QStringList shown;
    SetMessageHook([&](QMessageBox& box) {
        shown << box.text() + "|" + QString::number(Rows("S_STAFF").size());
        return QMessageBox::Ok;
    });
    keyPayee();
    messages.Install();
    EXPECT_EQ(shown, QStringList{"不可預期的錯誤|0"});
    EXPECT_TRUE(Rows("S_STAFF").isEmpty());
    EXPECT_TRUE(Rows("S_ITEM").isEmpty());
    EXPECT_EQ(Caption(), "--新增--");
    EXPECT_EQ(Box("Text1")->text(), "00077");

    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DROP TRIGGER refuse"));
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "PRAGMA query_only=1"));
    messages.Clear();
    keyPayee();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical(
                                  "資料庫唯讀,資料遺失\r\n" + MainDatabasePath(), "整批PAYSUM")});
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "PRAGMA query_only=0"));
    messages.Clear();
    keyPayee();
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(Codes("S_ITEM"), QStringList{"00077"});
}

// Leaving the code box on the payee the boxes were filled for brings nothing in again: what the
// clerk typed is what is stored, in change mode and in add mode, a click on 確定 included.
TEST_F(Form2Test, FocusMovesNeverReplaceWhatTheClerkTyped) {
    Staff("00001");
    InsertRow("S_STAFF", {"00002", kAccount, "42000", "員工00002", ""});
    Staff("00003");
    InsertRow("S_ITEM", {"00002", kAccount, "40000", "員工00002", "", "舊"});
    Open(Qt::Key_F3);
    EXPECT_EQ(Summary(), "筆數：1　總金額：40,000");
    EXPECT_FALSE(Box("Text2")->isEnabled());
    QTest::keyClick(Focus(), Qt::Key_Tab);
    ASSERT_EQ(Focus(), Box("Text5"));
    EXPECT_EQ(Box("Text5")->text(), "40000");  // the batch's amount, not the pay
    Type("41000");
    QTest::keyClick(Focus(), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focus(), Box("Text1"));
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Rows("S_ITEM"),
              (QList<QStringList>{{"00002", kAccount, "41000", "員工00002", "", "舊"}}));
    EXPECT_EQ(Caption(), kTitle);
    EXPECT_EQ(Summary(), "筆數：1　總金額：41,000");

    // Add: the payee comes in once; the amount typed stays when the code box is left again.
    QTest::keyClick(window.get(), Qt::Key_F2);
    Type("1");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(Box("Text5")->text(), "35000");
    Box("Text5")->setFocus();
    Type("36000");
    Box("Text1")->setFocus();
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(Box("Text5")->text(), "36000");
    Box("Text1")->setFocus();
    Click("Command2_0");
    EXPECT_EQ(Rows("S_ITEM").last(),
              (QStringList{"00001", kAccount, "36000", "員工00001", "", ""}));

    // A new payee brought in by the very click on 確定 is shown first, and stored by the next.
    Type("3");
    Click("Command2_0");
    EXPECT_EQ(Rows("S_ITEM").size(), 2);
    EXPECT_EQ(Box("Text5")->text(), "35000");
    EXPECT_EQ(Focus(), Box("Text5"));
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"00002", "00001", "00003"}));

    // A code of no employee after a payee came in: the account and name lent are not kept.
    Type("1");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(Box("Text6")->text(), "員工00001");
    Box("Text1")->setFocus();
    Type("777");
    QTest::keyClick(Focus(), Qt::Key_Tab);
    EXPECT_EQ(BoxesEnabled(), "11011");
    EXPECT_TRUE(Box("Text2")->text().isEmpty());
    EXPECT_TRUE(Box("Text6")->text().isEmpty());
}

// Enter on a code that the master (add mode) or the batch (change mode) does not hold shows the
// batch's first record with only the code and amount boxes open; 確定 in change mode refuses the
// code of another record or of no employee.
TEST_F(Form2Test, CodesNotFoundOnEnterOrRefusedOnChange) {
    Staff("00001");
    Staff("00002");
    InsertRow("S_ITEM", {"00001", kCertificateAccount, "1000", "員工00001", "12345678", "舊"});
    Transfer("00002", "獎金");
    const QStringList first{"00001", kCertificateAccount, "1000", "員工00001", "12345678", "舊"};
    Open(Qt::Key_F2);
    Type("5");
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical(kNotInMaster, kStaffTitle)});
    EXPECT_EQ(Shown(), first);
    EXPECT_EQ(BoxesEnabled(), "10010");
    EXPECT_EQ(Focus(), Box("Text1"));

    Click("Command5");
    Grid()->selectRow(1);
    QTest::keyClick(window.get(), Qt::Key_F3);
    EXPECT_EQ(Caption(), "--修改--");
    messages.Clear();
    Type("7");
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical(kNotInMaster, kStaffTitle)});
    EXPECT_EQ(Shown(), (QStringList(first.mid(0, 5)) << "獎金"));  // the remark is left alone
    EXPECT_EQ(BoxesEnabled(), "10010");
    EXPECT_EQ(Focus(), Box("Text1"));
    // Enter on a code of the batch shows that record.
    Type("2");
    Enter();
    EXPECT_EQ(Box("Text1")->text(), "00002");
    EXPECT_EQ(Box("Text5")->text(), "1000");
    EXPECT_TRUE(Box("Text3")->text().isEmpty());

    // Another record's code is refused at 確定.
    messages.Clear();
    Box("Text1")->selectAll();
    Box("Text1")->insert("00001");
    Click("Command2_0");  // brings payee 00001 in from the master
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("此員工代碼已在本批轉帳資料中")});

    // A code the master does not hold writes nothing, and the window is idle on the batch.
    messages.Clear();
    Box("Text1")->selectAll();
    Box("Text1")->insert("00009");
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical(kNotInMaster, kStaffTitle)});
    EXPECT_EQ(Codes("S_ITEM"), (QStringList{"00001", "00002"}));
    EXPECT_EQ(Caption(), kTitle);
    EXPECT_EQ(Bar(), "111111");
    EXPECT_TRUE(Grid()->isEnabled());
    EXPECT_EQ(Shown(), first);

    // The total a change is checked against leaves out the record's own amount.
    messages.Clear();
    Click("Command5");
    Grid()->selectRow(0);
    QTest::keyClick(window.get(), Qt::Key_F3);
    Type("1");
    Enter();
    QTest::keyClick(Focus(), Qt::Key_Tab);
    Box("Text5")->setFocus();
    Type("999999999000");
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("總金額超過十二位數")});
    EXPECT_EQ(Focus(), Box("Text5"));
    messages.Clear();
    Type("999999998999");
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(Rows("S_ITEM")[0][2], "999999998999");
}

TEST_F(Form2Test, DeleteDownToAnEmptyBatchEndsIdle) {
    Transfer("00001");
    Transfer("00002");
    Open(Qt::Key_F4);
    const Msg ask{"確定刪除", kTitle, QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No};
    const Msg goOn{"員工資料已刪除！是否要繼續刪除？", "員工資料刪除", QMessageBox::Question,
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
    const Msg none = Critical("已無資料可刪除，回員工資料建檔！", "員工資料刪除");

    Click("Command2_0");  // No is the default
    EXPECT_EQ(messages.All(), std::vector<Msg>{ask});
    EXPECT_EQ(Rows("S_ITEM").size(), 2);
    const QString summaries[] = {"筆數：1　總金額：1,000", "筆數：0　總金額：0"};
    EXPECT_EQ(Summary(), "筆數：2　總金額：2,000");
    for (int i = 0; i < 2; ++i) {
        messages.Answer(QMessageBox::Yes);
        messages.Answer(QMessageBox::Yes);
        Click("Command2_0");
        EXPECT_EQ(Summary(), summaries[i]);
    }
    EXPECT_EQ(messages.All(), (std::vector<Msg>{ask, ask, goOn, ask, goOn, none}));
    EXPECT_TRUE(Rows("S_ITEM").isEmpty());
    EXPECT_EQ(Caption(), kTitle);
    EXPECT_EQ(Bar(), "100011");
    EXPECT_FALSE(Grid()->isEnabled());
}

// Outside add mode the boxes show the current transfer record as stored, never the master's pay
// or a remark left from another record.
TEST_F(Form2Test, BoxesShowTheCurrentRecordInEveryModeButAdd) {
    Staff("00004", kCertificateAccount, "87654321");
    Staff("00012");
    Transfer("00003", "薪資");
    InsertRow("S_ITEM",
              {"00004", kCertificateAccount, "40000", "員工00004", "12345678", "年終獎金"});
    Transfer("00012");
    const QStringList fourth{"00004",     kCertificateAccount, "40000",
                             "員工00004", "12345678",          "年終獎金"};
    for (const std::optional<Qt::Key> mode :
         {std::optional<Qt::Key>(), std::optional(Qt::Key_F4), std::optional(Qt::Key_F6)}) {
        SCOPED_TRACE(mode ? int(*mode) : 0);
        Open(mode);
        Grid()->selectRow(1);
        EXPECT_EQ(Shown(), fourth);
        Grid()->selectRow(2);
        EXPECT_EQ(Shown(), (QStringList{"00012", kAccount, "1000", "員工00012", "", ""}));
    }

    // Query: typing narrows the list, Enter pads the code, and both Enter and 確定 show the
    // transfer record of the code.
    Type("4");
    EXPECT_EQ(Grid()->model()->rowCount(), 0);
    Enter();
    EXPECT_EQ(Grid()->model()->rowCount(), 1);
    EXPECT_EQ(Shown(), fourth);
    QTest::keyClick(Focus(), Qt::Key_Tab);
    Click("Command2_0");
    EXPECT_EQ(messages.Count(), 0u);
    EXPECT_EQ(Shown(), fourth);
    EXPECT_EQ(Caption(), "--查詢--");

    // A code the batch does not hold, although the master does.
    Box("Text1")->setFocus();
    Type("00005");
    Staff("00005");
    Click("Command2_0");
    EXPECT_EQ(messages.All(), std::vector<Msg>{Critical("查無資料!!", "輸入錯誤")});
    EXPECT_EQ(Focus(), Box("Text1"));
    EXPECT_EQ(Box("Text1")->text(), "00003");

    // 取消 leaves a narrowed list for the whole batch.
    Type("0001");
    EXPECT_EQ(Grid()->model()->rowCount(), 1);
    Click("Command5");
    EXPECT_EQ(Caption(), kTitle);
    EXPECT_EQ(Grid()->model()->rowCount(), 3);
    EXPECT_EQ(Bar(), "111111");
    EXPECT_EQ(Box("Text1")->text(), "00003");
}

TEST_F(Form2Test, DatesTabStoresTheBatchDatesAndReloadsAfterChildWindows) {
    Open();
    auto* tabs = Find<QTabWidget>(window.get(), "SSTab1");
    tabs->setCurrentIndex(1);
    ASSERT_EQ(Focus(), Box("Text4_0"));
    EXPECT_EQ(Box("Text4_0")->text(), "910505");
    Enter();
    Type("910506");
    Enter();
    ASSERT_EQ(Focus(), Button("Command4_0"));
    Enter();
    EXPECT_EQ(messages.All(), std::vector<Msg>{test::OkBox("儲存成功")});
    EXPECT_EQ(Rows("S_DAY"), QList<QStringList>({{"910505", "910506"}}));

    // What is typed and not stored goes on 取消 and after a child window, not after a message.
    Box("Text4_1")->setFocus();
    Type("910509");
    Click("Command4_1");
    EXPECT_EQ(Box("Text4_1")->text(), "910506");
    Box("Text4_1")->setFocus();
    Type("910509");
    Click("Command6_2");
    EXPECT_EQ(Box("Text4_1")->text(), "910506");

    // A function key goes back to the entry tab.
    QTest::keyClick(window.get(), Qt::Key_F2);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(Focus(), Box("Text1"));
}

TEST_F(Form2Test, TheGridTakesTheRoomOfAGrownWindowWhoseSizeAndPlaceComeBack) {
    Transfer("00001");
    Open();
    const QSize opening(Px(11880), Px(8640));
    EXPECT_EQ(window->size(), opening);
    EXPECT_EQ(window->minimumSize(), opening);
    EXPECT_GT(window->maximumWidth(), opening.width());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    const QRect grid = Grid()->geometry();
    const QRect confirm = Button("Command2_0")->geometry();
    const QRect code = Box("Text1")->geometry();

    window->resize(opening + QSize(400, 300));
    EXPECT_EQ(Grid()->geometry(), grid.adjusted(0, 0, 400, 300));
    EXPECT_EQ(Button("Command2_0")->geometry(), confirm);
    EXPECT_EQ(Box("Text1")->geometry(), code);
    // Smaller than it opens it does not go.
    window->resize(opening - QSize(100, 100));
    EXPECT_EQ(window->size(), opening);

    window->resize(opening + QSize(200, 100));
    window->move(30, 40);
    const QPoint place = window->pos();
    window->hide();
    Open();
    EXPECT_EQ(window->size(), opening + QSize(200, 100));
    EXPECT_EQ(window->pos(), place);
    EXPECT_EQ(Grid()->geometry(), grid.adjusted(0, 0, 200, 100));

    // A place off every screen (a screen taken away since) is not used; the size still is.
    window->hide();
    QSettings settings("PAYSUM", "PAYSUM");
    // The test's own settings, never the user's.
    EXPECT_TRUE(settings.fileName().startsWith(QFileInfo(DataDir()).path()));
    settings.setValue("Form2/pos", QPoint(20000, 20000));
    settings.sync();
    Open();
    EXPECT_EQ(window->size(), opening + QSize(200, 100));
    EXPECT_NE(window->pos(), QPoint(20000, 20000));

    // A maximised window opens maximised again.
    window->showMaximized();
    window->hide();
    Open();
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(messages.Count(), 0u);
}

}  // namespace
}  // namespace paysum
