#include "output/frmVerify.h"

#include "support/BatchFileSamples.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

const QByteArray kFile =
    test::BatchFileBytes({test::kExampleHeader, test::kSoundDetail1, test::kSoundDetail2});

class frmVerifyTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        path_ = DataDir() + "/BATCH.txt";
    }

    // Checks the file as the main menu does and shows the result; the texts the window shows.
    // The window is closed with 確定, clicked or as the default button of the fault list.
    std::string Show(const QByteArray& bytes, bool closeWithEnter = false) {
        test::WriteFile(path_, bytes);
        auto* window = new frmVerify(path_, VerifyFile(path_, CompareBatch::WhenAny));
        Activate(window);
        const QStringList texts{Find<QLabel>(window, "Label2")->text(),
                                Find<QPlainTextEdit>(window, "Text1")->toPlainText()};
        if (closeWithEnter) {
            EXPECT_EQ(Focus(), Find<QPlainTextEdit>(window, "Text1"));
            Key(Qt::Key_Return);
        } else {
            QTest::mouseClick(Find<QPushButton>(window, "Command1"), Qt::LeftButton);
        }
        EXPECT_FALSE(window->isVisible());
        return texts.join(u'|').toStdString();
    }

    QString path_;
};

TEST_F(frmVerifyTest, ShowsASoundFileAsPassed) {
    EXPECT_EQ(Show(kFile, true),
              QStringList({"檔案：" + path_ + "\n明細 2 筆，金額合計 155,500 元\n檢查無誤",
                           "檢查無誤：每一行 60 位元組、表頭與明細相符。"})
                  .join(u'|')
                  .toStdString());
}

TEST_F(frmVerifyTest, ListsTheFaultsAndThePayeesThatDifferFromTheBatch) {
    InsertRow("S_BASE", {"123", "大安實業", "045", "12345678"});
    InsertRow("S_DAY", {"910503", "910505"});
    InsertRow("S_ITEM", {"00001", "201016000011", "35000", "王小明", "00012345", ""});
    InsertRow("S_ITEM", {"00002", "123456789014", "120000", "陳美玲", "", ""});
    QByteArray bytes = kFile;
    bytes.replace("\r\n   00123", "\n   00123");
    EXPECT_EQ(
        Show(bytes),
        (QStringList{"檔案：" + path_ +
                         "\n明細 2 筆，金額合計 155,500 元\n發現 2 項錯誤（已與本批轉帳資料比對）",
                     "第 2 行：行尾只有 LF，應為 CR LF\n"
                     "第 3 行：00002 陳美玲：檔案金額 120500，本批金額 120000"})
            .join(u'|')
            .toStdString());
}

}  // namespace
}  // namespace paysum
