#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/Form3.h"
#include "platform/Clock.h"
#include "platform/FileDialog.h"
#include "support/PaysumTest.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace paysum {
namespace {

class Form3Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 3));
        path_ = DataDir() + QStringLiteral("/BATCH.txt");
        InsertRow(QStringLiteral("S_BASE"), {QStringLiteral("123"), QStringLiteral("大安實業"),
                                             QStringLiteral("045"), QStringLiteral("12345678")});
        // The two transfers of the worked example.
        InsertRow(QStringLiteral("S_ITEM"),
                  {QStringLiteral("00001"), QStringLiteral("123016456789"), QStringLiteral("35000"),
                   QStringLiteral("王小明"), QStringLiteral("00012345")});
        InsertRow(QStringLiteral("S_ITEM"),
                  {QStringLiteral("00002"), QStringLiteral("012345678901"),
                   QStringLiteral("120500"), QStringLiteral("陳美玲"), QStringLiteral("")});
        SetFileDialogHook([this](const FileDialogRequest& request) {
            requests_.push_back(request);
            return answer_;
        });
    }
    void TearDown() override {
        window_.reset();
        PaysumTest::TearDown();
    }

    Form3* Open() {
        window_ = std::make_unique<Form3>();
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return window_.get();
    }
    QWidget* Control(const QString& name) { return Find<QWidget>(window_.get(), name); }
    QString Caption(const char* label) {
        return Find<QLabel>(window_.get(), QString::fromLatin1(label))->text();
    }
    QByteArray FileContents() {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
    }

    std::unique_ptr<Form3> window_;
    QString path_;
    QString answer_;
    std::vector<FileDialogRequest> requests_;
};

TEST_F(Form3Test, WritesTheWorkedExampleFromTheKeyboard) {
    answer_ = path_;
    Open();
    EXPECT_EQ(Caption("Label2"),
              QStringLiteral("合計　筆數：    ") + QString(10, u' ') + QStringLiteral("2　筆"));
    EXPECT_EQ(Caption("Label3"),
              QStringLiteral("　　　金額：") + QString(8, u' ') + QStringLiteral("155,500　元"));
    // The focus starts in the login date box with today proposed.
    ASSERT_TRUE(Control(QStringLiteral("Text4_0"))->hasFocus());
    QTest::keyClick(Control(QStringLiteral("Text4_0")), Qt::Key_Return);
    QTest::keyClicks(Control(QStringLiteral("Text4_1")), QStringLiteral("910505"));
    QTest::keyClick(Control(QStringLiteral("Text4_1")), Qt::Key_Return);
    ASSERT_TRUE(Control(QStringLiteral("Command2_0"))->hasFocus());
    QTest::keyClick(Control(QStringLiteral("Command2_0")), Qt::Key_Return);

    // clang-format off
    EXPECT_EQ(FileContents(),
        "910503" "910505" "123" "12345678" "045" "00000000000000" "000000155500" "0002" "   " "9" "\r\n"
        "   " "00123016456789" "000000035000" "00012345" "                      " "9" "\r\n"
        "   " "00012345678901" "000000120500" "                              " "9" "\r\n");
    // clang-format on
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("產生完畢")});
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Rows(QStringLiteral("S_DAY")),
              QList<QStringList>({{QStringLiteral("910503"), QStringLiteral("910505")}}));
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(requests_[0].filters, QStringLiteral("All Files (*.*);;Text Files(*.txt)"));
    EXPECT_EQ(requests_[0].selectedFilter, QStringLiteral("Text Files(*.txt)"));
    EXPECT_TRUE(requests_[0].confirmOverwrite);
}

TEST_F(Form3Test, RefusedDatesAndCancelWriteNothing) {
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910502"), QStringLiteral("910505")});
    Open();
    QTest::mouseClick(Control(QStringLiteral("Command2_0")), Qt::LeftButton);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("日期必須大於等於今天")});
    EXPECT_TRUE(Control(QStringLiteral("Text4_0"))->hasFocus());
    EXPECT_TRUE(requests_.empty());

    // A cancelled file dialog closes the window without storing the dates.
    QTest::keyClicks(Control(QStringLiteral("Text4_0")), QStringLiteral("910503"));
    QTest::mouseClick(Control(QStringLiteral("Command2_0")), Qt::LeftButton);
    EXPECT_EQ(requests_.size(), 1u);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Rows(QStringLiteral("S_DAY"))[0][0], QStringLiteral("910502"));
    EXPECT_FALSE(QFile::exists(path_));
}

TEST_F(Form3Test, RefusedBatchOrFailedWriteLeavesAnEarlierFileAsItWas) {
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    {
        QFile earlier(path_);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier batch\r\n");
    }
    const auto sql = [](const QString& text, const QVariantList& values = {}) {
        ASSERT_FALSE(Execute(Connection(MainDatabasePath()), text, values));
    };
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"a folder that does not exist",
         [&] { answer_ = DataDir() + QStringLiteral("/none/BATCH.txt"); }},
        {"a letter in an account",
         [&] {
             answer_ = path_;
             sql(QStringLiteral("UPDATE S_ITEM SET ACTNO='12301645678X' WHERE ID='00002'"));
         }},
        {"1000 transfers",
         [&] {
             sql(QStringLiteral("UPDATE S_ITEM SET ACTNO='012345678901'"));
             Transaction transaction(Connection(MainDatabasePath()));
             for (int i = 3; i <= 1000; ++i)
                 sql(QStringLiteral("INSERT INTO S_ITEM (ID, ACTNO, PAYSUM) VALUES (?, '1', '1')"),
                     {QString::number(i)});
             ASSERT_FALSE(transaction.Commit());
         }},
    };
    for (const auto& [what, prepare] : cases) {
        prepare();
        messages.Clear();
        Open();
        QTest::mouseClick(Control(QStringLiteral("Command2_0")), Qt::LeftButton);
        EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("資料不全,建檔錯誤")}) << what;
        EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
        EXPECT_FALSE(window_->isVisible());
        EXPECT_EQ(FileContents(), QByteArray("earlier batch\r\n"));
    }
}

}  // namespace
}  // namespace paysum
