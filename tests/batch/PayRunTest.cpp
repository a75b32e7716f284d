#include "app/Form1.h"
#include "app/startup.h"
#include "common/Clock.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace paysum {
namespace {

// A whole pay run as the clerk does it, through the main menu and its windows, from an empty
// installation to the batch file and the detail list.
class PayRunTest : public test::PaysumTest {
protected:
    // Types into a box whose text a digits-only filter or a Chinese text would not take as keys.
    static void Insert(QDialog& window, const QString& box, const QString& text) {
        auto* line = window.findChild<QLineEdit*>(box);
        ASSERT_NE(line, nullptr);
        line->setFocus();
        line->selectAll();
        line->insert(text);
    }
    void Menu(const char* button, std::function<void(QDialog&)> driver) {
        OnNextModal(std::move(driver));
        QTest::mouseClick(Find<QPushButton>(MainWindow(), QString::fromLatin1(button)),
                          Qt::LeftButton);
    }
};

TEST_F(PayRunTest, CompanyEmployeesTransfersAndDatesMakeTheFileAndTheList) {
    CreateDatabases();
    SetToday(QDate(2002, 5, 5));
    ASSERT_TRUE(StartUp());

    Menu("Command1", [&](QDialog& form5) {
        Insert(form5, "Text1_0", "012");
        Insert(form5, "Text1_1", "大安實業");
        Insert(form5, "Text1_2", "045");
        Insert(form5, "Text1_3", "12345678");
        QTest::mouseClick(form5.findChild<QPushButton*>("Command7_0"), Qt::LeftButton);
    });
    ASSERT_EQ(Rows("S_BASE").size(), 1);

    Menu("Command2", [&](QDialog& form4) {
        const struct {
            const char* code;
            const char* account;
            const char* certificate;
            const char* pay;
            const char* name;
        } staff[] = {{"1", "004001012341", nullptr, "35000", "王小明"},
                     {"2", "123016789016", "00012345", "120500", "陳美玲"}};
        QTest::keyClick(&form4, Qt::Key_F2);
        for (const auto& employee : staff) {
            Type(employee.code);
            Key(Qt::Key_Return);
            Type(employee.account);
            Key(Qt::Key_Return);
            if (employee.certificate) {
                Type(employee.certificate);
                Key(Qt::Key_Return);
            }
            Type(employee.pay);
            Key(Qt::Key_Return);
            Insert(form4, "Text5", QString::fromUtf8(employee.name));
            Key(Qt::Key_Return);
            Key(Qt::Key_Return);
        }
    });
    ASSERT_EQ(Rows("S_STAFF").size(), 2) << messages.Texts().join('|').toStdString();

    Menu("Command3", [&](QDialog& form2) {
        QTest::keyClick(&form2, Qt::Key_F2);
        // Two employees from the master, the second with another amount.
        for (const char* code : {"1", "2"}) {
            Type(code);
            Key(Qt::Key_Return);
            if (QString(code) == "2")
                Type("121000");
            Key(Qt::Key_Tab);  // past the locked name to the remark
            Key(Qt::Key_Return);
            Key(Qt::Key_Return);
        }
        // A temporary payee typed in full.
        Key(Qt::Key_Return);
        Type("004001012341");
        Key(Qt::Key_Return);
        Type("8800");
        Key(Qt::Key_Return);
        Insert(form2, "Text6", "林志豪");
        Key(Qt::Key_Return);
        Type("臨時工資");
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
        // The dates: today proposed for the login date, the transfer two days later.
        form2.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
        Key(Qt::Key_Return);
        Type("910507");
        Key(Qt::Key_Return);
        Key(Qt::Key_Return);
        QTest::keyClick(&form2, Qt::Key_F10);
    });
    EXPECT_EQ(Rows("S_ITEM"),
              (QList<QStringList>{{"00001", "004001012341", "35000", "王小明", "", ""},
                                  {"00002", "123016789016", "121000", "陳美玲", "00012345", ""},
                                  {"90001", "004001012341", "8800", "林志豪", "", "臨時工資"}}));
    EXPECT_EQ(Rows("S_STAFF").last(), (QStringList{"90001", "004001012341", "8800", "林志豪", ""}));
    EXPECT_EQ(Rows("S_DAY"), QList<QStringList>({{"910505", "910507"}}));

    QTemporaryDir out;
    const QString path = out.filePath("PAY.TXT");
    AnswerFileDialog(path);
    // The temporary payee was given the first employee's account: asked before writing.
    messages.Answer(QMessageBox::Yes);
    Menu("Command5", [&](QDialog&) {
        for (int i = 0; i < 3; ++i)
            Key(Qt::Key_Return);
    });
    EXPECT_EQ(messages.Texts().filter("帳號 004001012341 重複：員工代碼 00001、90001").size(), 1)
        << messages.Texts().join('|').toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5);  // four records and the empty rest after the last CR LF
    EXPECT_TRUE(lines[0].startsWith("910505910507"));
    EXPECT_TRUE(
        lines[0].contains("000000164800"
                          "0003"))
        << lines[0].toStdString();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i].size(), 61) << i;  // 60 characters and the CR

    QStringList preview;
    Menu("Command4", [&](QDialog& form7) {
        preview = form7.findChild<QPlainTextEdit*>("Text1")->toPlainText().split(u'\n');
    });
    for (const char* name : {"王小明", "陳美玲", "林志豪"})
        EXPECT_EQ(preview.filter(QString::fromUtf8(name)).size(), 1) << name;
    EXPECT_EQ(preview.filter("164,800").size(), 1) << preview.join('\n').toStdString();
}

}  // namespace
}  // namespace paysum
