#include "app/Form1.h"
#include "app/startup.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "history/HistoryTest.h"
#include "history/frmHistoryRun.h"
#include "output/BatchFileDialogs.h"
#include "output/DetailReport.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"
#include "support/Files.h"
#include "support/RecordingPrinter.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include <deque>

namespace paysum {
namespace {

using Messages = std::vector<test::RecordedMessage>;

const QString kBatchNotEmpty =
    QStringLiteral("目前已有薪資轉帳資料，請先產生另一批新的薪資轉帳資料後再恢復");

// The question before run 1 is brought back: Yes or No, No proposed.
const test::RecordedMessage kBringBackQuestion{
    QStringLiteral("是否將第 1 批薪資轉帳資料恢復為目前的薪資轉帳資料？"), QStringLiteral("PAYSUM"),
    QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};

class frmHistoryRunTest : public test::HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        ArchiveTwoRuns();
    }

    void Open(int run) {
        window_ = new frmHistoryRun(Run(run));  // deleted with the other windows by the fixture
        Activate(window_);
    }
    QString LabelText(const char* name) {
        return Find<QLabel>(window_, QString::fromLatin1(name))->text();
    }
    // Writes the open run's batch file to `path` through the save dialog.
    void WriteTo(const QString& path) {
        AnswerFileDialog(path);
        Click(window_, "Command1_1");
    }

    frmHistoryRun* window_ = nullptr;
};

TEST_F(frmHistoryRunTest, ShowsExactlyTheRunsRecordsReadOnly) {
    Open(1);
    EXPECT_EQ(window_->windowTitle(), "薪資轉帳歷史資料－第 1 批");
    EXPECT_EQ(LabelText("Label2"),
              "登錄日期：910503　　轉帳日期：910505　　歸檔時間：2002-05-06 09:30:00\n"
              "合計筆數：3 筆　　金額：164,300 元");
    const WrittenFile& file = Run(1).summary.file;
    EXPECT_EQ(file.sha256, Sha256Of(firstBytes_));
    EXPECT_EQ(LabelText("Label3"), QStringLiteral("轉帳檔：%1\n大小：%2 位元組　　SHA-256：%3…　　"
                                                  "產生時間：%4")
                                       .arg(firstFile_)
                                       .arg(firstBytes_.size())
                                       .arg(file.sha256.left(16), file.writtenAt));
    EXPECT_EQ(GridRows(window_), kFirstRun);

    // Keys that would edit a grid change nothing, here or in the history; Enter on the list is
    // the default button, 關閉.
    ASSERT_EQ(Focus()->objectName(), "Grid1");
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_9, Qt::Key_Delete})
        Key(key);
    EXPECT_EQ(GridRows(window_), kFirstRun);
    EXPECT_EQ(Run(1).items, kFirstRun);
    EXPECT_TRUE(Find<QPushButton>(window_, "Command1_3")->isDefault());
    Key(Qt::Key_Return);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(Run(1).items, kFirstRun);

    Open(2);
    EXPECT_EQ(LabelText("Label3"), "轉帳檔：本批未產生轉帳檔");
    EXPECT_EQ(GridRows(window_),
              (QList<QStringList>{{"00001", "012345678901", "1000", "陳美玲", "", ""}}));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());

    // A run whose batch changed after its file was written says so instead of naming it.
    const QString name = file.name;
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE H_RUN SET FSIZE = '', FSHA256 = '', FCOUNT = '', FTOTAL = '', "
                         "FTIME = '' WHERE RUN = 1"));
    Open(1);
    EXPECT_EQ(LabelText("Label3"), "轉帳檔：" + name + " 產生後本批資料已變更，該檔不含本批資料");
    Key(Qt::Key_Escape);
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(frmHistoryRunTest, PrintsTheRunsDetailListNotTheCurrentBatch) {
    std::deque<test::PrintJob> jobs;
    SetPrinterHook([&](const PrintTarget& target) {
        jobs.emplace_back().target = target;
        return std::make_unique<test::RecordingPrinter>(jobs.back(), false);
    });
    SetPrintDialogHook([&](QPageLayout::Orientation) {
        return PrintChoice{QPageLayout::Landscape, 1, PrintTarget{{}, out_.filePath("list.pdf")}};
    });
    // The company and the batch have moved on since the run was archived.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "UPDATE S_BASE SET CNAME='新大安'"));
    InsertRow("S_DAY", {"910703", "910705"});
    InsertRow("S_ITEM", {"00009", "004001012341", "500", "周杰", "", ""});
    SetToday(QDate(2002, 7, 3));
    ReportOrder = 2;  // left from an earlier opening
    Open(1);

    QStringList preview;
    QStringList codes[3];
    OnNextModal([&](QDialog& report) {
        EXPECT_EQ(report.objectName() + u' ' + report.windowTitle(),
                  "Form7 列印薪資轉帳明細－第 1 批");
        auto* text = Find<QPlainTextEdit>(&report, "Text1");
        const auto listed = [&] {
            QStringList listedCodes;
            for (const QString& line : text->toPlainText().split(u'\n')) {
                if (line.startsWith("     0"))
                    listedCodes << line.mid(5, 5);
            }
            return listedCodes;
        };
        preview = text->toPlainText().split(u'\n');
        codes[0] = listed();
        report.findChild<QAction*>("mnuTypeA")->trigger();
        codes[1] = listed();
        report.findChild<QAction*>("mnuTypeB")->trigger();
        codes[2] = listed();
        Click(&report, "Command1_0");
        report.findChild<QAction*>("mnuPrint")->trigger();
    });
    Click(window_, "Command1_0");

    ASSERT_GT(preview.size(), 5);
    EXPECT_EQ(preview[2],
              QString(5, u' ') + "企業名稱：大安實業" + QString(42, u' ') + "製表日：91/7/3");
    EXPECT_EQ(preview[3], QString(5, u' ') + "轉帳分行：0040129[大安分行]");
    EXPECT_EQ(preview[4], QString(5, u' ') + "轉帳日期：910505");
    EXPECT_TRUE(preview.contains(QString(10, u' ') + "主管會計"));
    EXPECT_EQ(codes[0].join(u','), "00001,00002,00003");
    EXPECT_EQ(codes[1].join(u','), "00003,00002,00001");
    EXPECT_EQ(codes[2].join(u','), "00002,00001,00003");

    // Printed as the preview lists it, on the default printer and then into the PDF chosen.
    EXPECT_EQ(messages.All(), (Messages{test::OkBox("按下確定開始列印..."), test::OkBox("列印完畢"),
                                        test::OkBox("列印完畢")}));
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].target.printerName + jobs[0].target.outputFile, QString());
    EXPECT_EQ(jobs[1].target.outputFile, out_.filePath("list.pdf"));
    // Named for the run's batch dates, not the current batch's.
    EXPECT_EQ(jobs[1].target.documentName, "薪資轉帳明細 登錄日期 910503 轉帳日期 910505");
    EXPECT_EQ(jobs[1].orientation, QPageLayout::Landscape);
    QStringList printed;
    QStringList printedCodes;
    for (const auto& [line, points] : jobs[1].pages[0]) {
        printed << line;
        if (line.startsWith("     0"))
            printedCodes << line.mid(5, 5);
    }
    EXPECT_EQ(printed[0], kReportTitle);
    EXPECT_EQ(printedCodes, codes[2]);
    EXPECT_FALSE(printed.join(u'\n').contains("00009"));
}

TEST_F(frmHistoryRunTest, WritesTheFileAgainByteForByteAsWrittenBeforeArchiving) {
    // The company's codes changed since; the file still takes the run's.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE S_BASE SET BRNO='034', CUSTNO='046', UNINO='87654321'"));
    Open(1);
    const QString again = out_.filePath("AGAIN.txt");
    WriteTo(again);
    EXPECT_EQ(Contents(again), firstBytes_);
    EXPECT_EQ(messages.All(), Messages{test::OkBox("產生完畢：" + again)});
    ASSERT_EQ(fileDialogs.size(), 1u);
    EXPECT_EQ(fileDialogs[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(fileDialogs[0].filters, "All Files (*.*);;Text Files(*.txt)");
    EXPECT_EQ(fileDialogs[0].selectedFilter, "Text Files(*.txt)");
    EXPECT_TRUE(fileDialogs[0].confirmOverwrite);
    EXPECT_TRUE(window_->isVisible());

    // A cancelled dialog writes nothing and says nothing; the window stays.
    ASSERT_TRUE(QFile::remove(again));
    WriteTo(QString());
    EXPECT_FALSE(QFile::exists(again));
    EXPECT_EQ(messages.Count(), 1u);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(frmHistoryRunTest, WritesNothingThatWouldDifferFromThenOrThatMakesNoFile) {
    const QString target = out_.filePath("EARLIER.txt");
    test::WriteFile(target, "earlier batch\r\n");
    const auto expectUntouched = [&] {
        EXPECT_EQ(Contents(target), "earlier batch\r\n");
        EXPECT_EQ(QDir(out_.path()).entryList(QDir::Files),
                  (QStringList{"BATCH1.txt", "EARLIER.txt"}));
    };
    // Run 1 altered in the history after its file went out.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE H_ITEM SET PAYSUM='35001' WHERE RUN=1 AND ID='00002'"));
    Open(1);
    WriteTo(target);
    EXPECT_EQ(messages.All(), Messages{test::OkBox("本批資料與當時產生的轉帳檔不同，未產生",
                                                   "PAYSUM", QMessageBox::Critical)});
    expectUntouched();

    // Run 2 had no file; an account with a letter makes none now.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         "UPDATE H_ITEM SET ACTNO='01234567890X' WHERE RUN=2"));
    Open(2);
    messages.Clear();
    WriteTo(target);
    EXPECT_EQ(messages.All(), Messages{test::OkBox("資料不全,建檔錯誤")});
    expectUntouched();

    // A file that reads back otherwise than meant cannot be made from outside; its message is
    // the one the batch file window gives.
    messages.Clear();
    ShowBatchFileResult(window_, Failure(BatchFileOutcome::Mismatch, "第 2 行不同"));
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox("轉帳檔讀回比對不符，請重新產生！\r\n第 2 行不同", "PAYSUM",
                                   QMessageBox::Critical)});
}

TEST_F(frmHistoryRunTest, BringsTheRunBackFromTheMainMenuOnlyIntoAnEmptyBatch) {
    InsertRow("S_DAY", {"910703", "910705"});
    InsertRow("S_ITEM", {"00009", "004001012341", "500", "周杰", "", ""});
    ASSERT_TRUE(StartUp());
    Form1* menu = MainWindow();
    const auto buttons = [&] { return Enabled(menu, "Command%1", 1, 8); };
    // Opens run 1 from the history window and clicks the bring-back button.
    const auto bringBack = [&] {
        OnNextModal([&](QDialog&) {
            OnNextModal([&](QDialog& run) { Click(&run, "Command1_2"); });
            Key(Qt::Key_Down);
            Key(Qt::Key_Return);
        });
        menu->findChild<QAction*>("mnuHistory")->trigger();
    };

    bringBack();
    EXPECT_EQ(messages.All(),
              Messages{test::OkBox(kBatchNotEmpty, "PAYSUM", QMessageBox::Warning)});
    EXPECT_EQ(Rows("S_ITEM"),
              (QList<QStringList>{{"00009", "004001012341", "500", "周杰", "", ""}}));
    EXPECT_EQ(Rows("S_DAY"), (QList<QStringList>{{"910703", "910705"}}));

    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db, "DELETE FROM S_ITEM"));
    ASSERT_FALSE(Execute(db, "DELETE FROM S_DAY"));
    menu->Form_Activate();
    EXPECT_EQ(buttons(), "11100011");
    messages.Clear();
    messages.Answer(QMessageBox::No);
    bringBack();
    EXPECT_EQ(messages.All(), Messages{kBringBackQuestion});
    EXPECT_TRUE(Rows("S_ITEM").isEmpty());

    messages.Clear();
    messages.Answer(QMessageBox::Yes);
    bringBack();
    EXPECT_EQ(messages.All(), (Messages{kBringBackQuestion, test::OkBox("恢復完畢")}));
    EXPECT_EQ(Rows("S_ITEM"), kFirstRun);
    EXPECT_EQ(Rows("S_DAY"), (QList<QStringList>{{"910503", "910505"}}));
    const WrittenFile& file = Run(1).summary.file;
    EXPECT_EQ(Rows("S_FILE"), (QList<QStringList>{{firstFile_, QString::number(file.size),
                                                   file.sha256, "3", "164300", file.writtenAt}}));
    EXPECT_EQ(buttons(), "11111111");
}

TEST_F(frmHistoryRunTest, BatchFilledMeanwhileOrADatabaseFailureLeavesTheBatchAsItWas) {
    Open(1);
    // The batch gets a transfer while the question is up.
    Messages shown;
    SetMessageHook([&](QMessageBox& box) {
        shown.push_back({box.text(), box.windowTitle(), box.icon(), box.standardButtons(),
                         box.standardButton(box.defaultButton())});
        if (box.icon() == QMessageBox::Question)
            InsertRow("S_ITEM", {"00009", "004001012341", "500", "周杰", "", ""});
        return QMessageBox::Yes;
    });
    Click(window_, "Command1_2");
    messages.Install();
    EXPECT_EQ(shown, (Messages{kBringBackQuestion,
                               test::OkBox(kBatchNotEmpty, "PAYSUM", QMessageBox::Warning)}));
    EXPECT_EQ(Rows("S_ITEM").size(), 1);
    EXPECT_TRUE(Rows("S_DAY").isEmpty());
    EXPECT_TRUE(window_->isVisible());

    // The dates cannot be written: none of the transfers stay either.
    const QSqlDatabase db = Connection(MainDatabasePath());
    ASSERT_FALSE(Execute(db, "DELETE FROM S_ITEM"));
    ASSERT_FALSE(Execute(db, "ALTER TABLE S_DAY RENAME TO AWAY"));
    messages.Answer(QMessageBox::Yes);
    Click(window_, "Command1_2");
    EXPECT_EQ(messages.All(), (Messages{kBringBackQuestion, test::OkBox("不可預期的錯誤")}));
    EXPECT_TRUE(Rows("S_ITEM").isEmpty());
    EXPECT_TRUE(Rows("S_FILE").isEmpty());
    EXPECT_TRUE(window_->isVisible());
}

}  // namespace
}  // namespace paysum
