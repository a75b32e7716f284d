#include "app/Form1.h"
#include "app/startup.h"
#include "support/PaysumTest.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

class Form1Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    Form1* Start() {
        EXPECT_TRUE(StartUp());
        return MainWindow();
    }

    // Which of the eight buttons are enabled, as a string of 1s and 0s.
    QString Enabled(Form1* window) {
        QString states;
        for (int i = 1; i <= 8; ++i)
            states += Find<QPushButton>(window, QStringLiteral("Command%1").arg(i))->isEnabled()
                          ? u'1'
                          : u'0';
        return states;
    }

    void Company(const QString& branch, const QString& name) {
        InsertRow(QStringLiteral("S_BASE"),
                  {branch, name, QStringLiteral("045"), QStringLiteral("12345678")});
    }
};

TEST_F(Form1Test, ButtonsFollowTheStateOfTheData) {
    Form1* window = Start();
    EXPECT_EQ(Enabled(window), QStringLiteral("11000011"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("PAYSUM"));
    EXPECT_EQ(Find<QPushButton>(window, QStringLiteral("Command1"))->text(),
              QStringLiteral("1. 基本資料建檔　　"));
    EXPECT_EQ(Find<QPushButton>(window, QStringLiteral("Command7"))->text(),
              QStringLiteral("7. 金融機購代碼檔維護　　"));
    // Every activation without a company record says so again.
    window->Form_Activate();
    EXPECT_EQ(messages.Count(), 2u);

    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    messages.Clear();
    window->Form_Activate();
    EXPECT_EQ(Enabled(window), QStringLiteral("11100011"));
    EXPECT_EQ(messages.Count(), 0u);

    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    window->Form_Activate();
    EXPECT_EQ(Enabled(window), QStringLiteral("11111111"));
}

TEST_F(Form1Test, BranchCaptionWithCheckDigitAndBankName) {
    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    Form1* window = Start();
    QLabel* caption = Find<QLabel>(window, QStringLiteral("Label2"));
    EXPECT_EQ(caption->text(), QStringLiteral("轉  帳  分  行： 004-012-9      [代碼檔未建]\r\n"
                                              "企  業  名  稱  ： 大安實業"));

    InsertRow(QStringLiteral("RTBANK"),
              {QStringLiteral("0040129"), QStringLiteral("大安"), QStringLiteral(" 大安分行 ")});
    window->Form_Activate();
    EXPECT_EQ(caption->text(), QStringLiteral("轉  帳  分  行： 004-012-9      [大安分行]\r\n"
                                              "企  業  名  稱  ： 大安實業"));
}

TEST_F(Form1Test, NewBatchAsksAndEmptiesTransfersAndDatesOnYes) {
    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    Form1* window = Start();
    QPushButton* newBatch = Find<QPushButton>(window, QStringLiteral("Command6"));

    messages.Answer(QMessageBox::No);
    QTest::mouseClick(newBatch, Qt::LeftButton);
    ASSERT_EQ(messages.Count(), 1u);
    const test::RecordedMessage question = messages.Last();
    EXPECT_EQ(question.text, QStringLiteral("\r\n\r\n舊的薪資轉帳資料已存在,是否刪除之？\r\n\r\n"));
    EXPECT_EQ(question.title, QStringLiteral("6. 產生另一批新的薪資轉帳資料"));
    EXPECT_EQ(question.icon, QMessageBox::NoIcon);
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);
    EXPECT_EQ(Rows(QStringLiteral("S_ITEM")).size(), 1);
    EXPECT_EQ(Rows(QStringLiteral("S_DAY")).size(), 1);

    messages.Answer(QMessageBox::Yes);
    QTest::mouseClick(newBatch, Qt::LeftButton);
    EXPECT_TRUE(Rows(QStringLiteral("S_ITEM")).isEmpty());
    EXPECT_TRUE(Rows(QStringLiteral("S_DAY")).isEmpty());
    EXPECT_EQ(Enabled(window), QStringLiteral("11100011"));
}

TEST_F(Form1Test, PrintAndFileButtonsRefuseAnEmptyBatch) {
    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    Form1* window = Start();
    window->Command4_Click();
    EXPECT_EQ(messages.Last().text, QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 "));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    window->Command5_Click();
    EXPECT_EQ(messages.Last().text, QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 Data"));
    EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
}

TEST_F(Form1Test, PrintAndFileButtonsOpenTheirWindows) {
    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    Form1* window = Start();
    QStringList opened;
    OnNextModal([&](QDialog& dialog) { opened << dialog.objectName(); });
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command4")), Qt::LeftButton);
    OnNextModal([&](QDialog& dialog) { opened << dialog.objectName(); });
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command5")), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("Form7"), QStringLiteral("Form3")}));
    EXPECT_EQ(messages.Count(), 0u) << messages.Texts().join(u'|').toStdString();
}

TEST_F(Form1Test, MenusAndTheAboutBox) {
    Form1* window = Start();
    EXPECT_EQ(Find<QAction>(window, QStringLiteral("mnuSaveIn"))->text(),
              QStringLiteral("回存資料"));
    EXPECT_EQ(Find<QAction>(window, QStringLiteral("mnuSaveOut"))->text(),
              QStringLiteral("備份資料"));
    EXPECT_EQ(Find<QAction>(window, QStringLiteral("mnuAbout"))->text(),
              QStringLiteral("關於    PAYSUM(&A)"));

    bool shown = false;
    OnNextModal([&](QDialog& about) {
        shown = true;
        EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About PAYSUM"));
        EXPECT_EQ(Find<QLabel>(&about, QStringLiteral("lblTitle"))->text(),
                  QStringLiteral("PAYSUM"));
        EXPECT_EQ(Find<QLabel>(&about, QStringLiteral("lblVersion"))->text(),
                  QStringLiteral("Version 1.0.2"));
        QPushButton* close = Find<QPushButton>(&about, QStringLiteral("cmdOK"));
        EXPECT_EQ(close->text(), QStringLiteral("關　閉"));
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    });
    Find<QAction>(window, QStringLiteral("mnuAbout"))->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(Form1Test, ButtonOneOpensTheCompanyWindowAndItsStoreRefreshesTheMenuOnce) {
    Form1* window = Start();
    messages.Clear();
    // Cancelled: one reminder for one closing.
    OnNextModal(
        [&](QDialog& company) { EXPECT_EQ(company.objectName(), QStringLiteral("Form5")); });
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("無基本資料，請先建檔。")});

    messages.Clear();
    OnNextModal([&](QDialog& company) {
        for (int i : {0, 1, 2})
            QTest::keyClicks(Find<QLineEdit>(&company, QStringLiteral("Text1_%1").arg(i)),
                             QStringLiteral("12"));
        QTest::mouseClick(Find<QPushButton>(&company, QStringLiteral("Command7_0")),
                          Qt::LeftButton);
    });
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command1")), Qt::LeftButton);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("儲存成功")});
    EXPECT_EQ(Find<QLabel>(window, QStringLiteral("Label2"))->text(),
              QStringLiteral("轉  帳  分  行： 004-012-9      [代碼檔未建]\r\n"
                             "企  業  名  稱  ： 12"));
    EXPECT_EQ(Enabled(window), QStringLiteral("11100011"));
}

TEST_F(Form1Test, ButtonSevenOpensTheBankCodeWindowWhichANewBatchCloses) {
    Company(QStringLiteral("012"), QStringLiteral("大安實業"));
    InsertRow(QStringLiteral("S_ITEM"), {QStringLiteral("00001")});
    Form1* window = Start();
    QPointer<QDialog> bank;
    OnNextModal([&](QDialog& opened) { bank = &opened; });
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command7")), Qt::LeftButton);
    ASSERT_FALSE(bank.isNull());
    EXPECT_EQ(bank->objectName(), QStringLiteral("Form6"));
    messages.Answer(QMessageBox::Yes);
    window->Command6_Click();
    EXPECT_TRUE(bank.isNull());
}

TEST_F(Form1Test, ButtonEightEndsTheProgram) {
    Form1* window = Start();
    QTest::mouseClick(Find<QPushButton>(window, QStringLiteral("Command8")), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MainWindow(), nullptr);
}

}  // namespace
}  // namespace paysum
