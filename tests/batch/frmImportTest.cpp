#include "batch/frmImport.h"

#include "data/DataFolder.h"
#include "support/Files.h"
#include "support/PaysumTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace paysum {
namespace {

const QString kTitle = QStringLiteral("匯入員工資料");

// A sheet of three employees, the second with an account whose check digit is wrong.
const QByteArray kSheet =
    "\xEF\xBB\xBF"
    "員工代碼,員工帳號,員工薪資,員工姓名,存單號碼\r\n"
    "1,123456789014,35000,王小明,\r\n"
    "2,123456789015,36000,李大華,\r\n"
    "3,201016000011,37000,張三,00012345\r\n";

class frmImportTest : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
    }

    frmImport* Open(const QByteArray& sheet, ImportKind kind = ImportKind::Employees) {
        auto* window = new frmImport(kind, "/home/clerk/staff.csv", PrepareImport(sheet, kind));
        Activate(window);
        return window;
    }
    void Import(frmImport* window) {
        QTest::mouseClick(Find<QPushButton>(window, "Command1_0"), Qt::LeftButton);
    }
};

TEST_F(frmImportTest, ListsEveryRowWithItsVerdict) {
    frmImport* window = Open(kSheet);
    const QAbstractItemModel* grid = Find<QTableView>(window, "Grid1")->model();
    const auto cell = [&](int row, int column) {
        return grid->index(row, column).data().toString();
    };
    ASSERT_EQ(grid->rowCount(), 3);
    ASSERT_EQ(grid->columnCount(), 7);
    EXPECT_EQ(grid->headerData(4, Qt::Horizontal).toString(), "員工薪資");
    EXPECT_EQ(cell(1, 0), "3");
    EXPECT_EQ(cell(1, 1), "00002");
    EXPECT_EQ(cell(1, 6), "員工帳號：員工帳號不正確");
    EXPECT_EQ(grid->index(1, 6).data(Qt::ForegroundRole).value<QColor>(), QColor(0xC0, 0, 0));
    EXPECT_EQ(cell(2, 6), "正確");
    EXPECT_EQ(Find<QLabel>(window, "Label2")->text(),
              "檔案：/home/clerk/staff.csv（UTF-8）\n共 3 筆：正確 2 筆，錯誤 1 筆");
    EXPECT_EQ(window->windowTitle(), kTitle);
}

TEST_F(frmImportTest, RowsInErrorAreLeftOutOnlyWhenTheClerkSaysSo) {
    const test::RecordedMessage question{
        "有 1 筆資料錯誤，不會匯入。\r\n是否只匯入其餘 2 筆正確的資料？\r\n"
        "（選「否」則不匯入任何資料，可先修正檔案）",
        kTitle, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    frmImport* window = Open(kSheet);
    // Enter on the list is the default button, 匯入; the question is answered with its default, No.
    ASSERT_EQ(Focus(), Find<QTableView>(window, "Grid1"));
    Key(Qt::Key_Return);
    EXPECT_EQ(messages.All(), std::vector<test::RecordedMessage>{question});
    EXPECT_TRUE(Rows("S_STAFF").isEmpty());
    EXPECT_TRUE(window->isVisible());

    messages.Answer(QMessageBox::Yes);
    Import(window);
    EXPECT_EQ(messages.All(), (std::vector<test::RecordedMessage>{
                                  question, question, test::OkBox("已匯入員工資料 2 筆", kTitle)}));
    EXPECT_EQ(Rows("S_STAFF"),
              (QList<QStringList>{{"00001", "123456789014", "35000", "王小明", ""},
                                  {"00003", "201016000011", "37000", "張三", "00012345"}}));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(frmImportTest, AnUpdateShowsWhatChangesAndDoubtfulNamesNeedTheClerksYes) {
    InsertRow("S_STAFF", {"00001", "123456789014", "35000", "王小明", ""});
    const ImportOptions update{true};
    auto* window =
        new frmImport(ImportKind::Employees, "/home/clerk/staff.csv",
                      PrepareImport("ID,ACTNO,PAYSUM,NAME\r\n1,102000000012,35000,王小明\r\n"
                                    "2,123456789014,100,李?\r\n",
                                    ImportKind::Employees, update));
    Activate(window);
    const QString title = "以試算表更新員工資料";
    EXPECT_EQ(window->windowTitle(), title);
    const QAbstractItemModel* grid = Find<QTableView>(window, "Grid1")->model();
    EXPECT_EQ(grid->index(0, 6).data().toString(),
              "更新：員工帳號：123456789014 → 102000000012（帳號變更）");
    EXPECT_EQ(grid->index(0, 6).data(Qt::ForegroundRole).value<QColor>(), QColor(0xA0, 0x50, 0));
    EXPECT_EQ(grid->index(1, 6).data().toString(), "新增；姓名含有「?」，可能是存檔時遺失的字");
    const test::RecordedMessage question{
        "有 1 筆的姓名含有「?」，可能是存檔時遺失的字。\r\n確定這些姓名無誤，仍要匯入嗎？\r\n"
        "（選「否」則不匯入任何資料）",
        title, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    Import(window);
    EXPECT_EQ(messages.All(), std::vector<test::RecordedMessage>{question});
    EXPECT_EQ(Rows("S_STAFF").size(), 1);
    messages.Answer(QMessageBox::Yes);
    Import(window);
    EXPECT_EQ(messages.All(),
              (std::vector<test::RecordedMessage>{
                  question, question, test::OkBox("已更新員工資料：新增 1 筆，更新 1 筆", title)}));
    EXPECT_EQ(Rows("S_STAFF"), (QList<QStringList>{{"00001", "102000000012", "35000", "王小明", ""},
                                                   {"00002", "123456789014", "100", "李?", ""}}));
}

TEST_F(frmImportTest, AFileWithoutErrorsIsWrittenAtOnceWithAProgressBar) {
    QByteArray sheet = "ID,ACTNO,PAYSUM,NAME\r\n";
    for (int code = 1; code <= 400; ++code)
        sheet += QByteArray::number(code) + ",123456789014,100,x\r\n";
    frmImport* window = Open(sheet);
    auto* bar = Find<QProgressBar>(window, "ProgressBar1");
    int highest = 0;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) { highest = value; });
    Import(window);
    EXPECT_EQ(messages.All(),
              std::vector<test::RecordedMessage>{test::OkBox("已匯入員工資料 400 筆", kTitle)});
    EXPECT_EQ(highest, 400);
    EXPECT_EQ(Rows("S_STAFF").size(), 400);
}

TEST_F(frmImportTest, AFailedWriteSaysSoAndWritesNothing) {
    frmImport* window = Open("ID,ACTNO,PAYSUM,NAME\r\n1,123456789014,100,x\r\n");
    if (!test::SetImmutable(MainDatabasePath(), true))
        GTEST_SKIP() << "the file system cannot make a file immutable";
    Import(window);
    test::SetImmutable(MainDatabasePath(), false);
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_TRUE(messages.Last().text.startsWith("寫入資料庫失敗，未匯入任何資料。\r\n"));
    EXPECT_EQ(messages.Last().title, kTitle);
    EXPECT_EQ(messages.Last().icon, QMessageBox::Critical);
    EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    EXPECT_TRUE(Rows("S_STAFF").isEmpty());
}

}  // namespace
}  // namespace paysum
