#include "common/Clock.h"
#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/DetailReport.h"
#include "output/Form7.h"
#include "platform/FontDialog.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"
#include "print/Fonts.h"
#include "support/Files.h"
#include "support/PaysumTest.h"
#include "support/RecordingPrinter.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <optional>

#include <sys/stat.h>

namespace paysum {
namespace {

using test::PrintJob;
using test::RecordingPrinter;

// A company at branch 0040129 and printing, print dialog and font dialog answered by the test.
class Form7Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 6));
        InsertRow("S_BASE", {"012", "大安實業", "045", "12345678", "主管   ", "會計", "出納"});
        InsertRow("RTBANK", {"0040129", "大安", "大安分行"});
        SetPrinterHook([this](const PrintTarget& target) {
            jobs_.emplace_back().target = target;
            return std::make_unique<RecordingPrinter>(jobs_.back(), printerFails_);
        });
        SetPrintDialogHook([this](QPageLayout::Orientation proposed) {
            proposed_.push_back(proposed);
            return printChoice_;
        });
        SetFontDialogHook([this](const QFont&) { return fontChoice_; });
    }
    void TearDown() override {
        // Its menus are top-level widgets too: the fixture must not meet them after the window.
        window_.reset();
        PaysumTest::TearDown();
    }

    // A transfer of 1,000 to 王小明.
    void Transfer(const QString& code, const QString& remark = QString()) {
        InsertRow("S_ITEM", {code, "004001012341", "1000", "王小明", "", remark});
    }
    void Open() {
        window_ = std::make_unique<Form7>();
        window_->show();
    }
    QPlainTextEdit* Text1() { return Find<QPlainTextEdit>(window_.get(), "Text1"); }
    QStringList Preview() { return Text1()->toPlainText().split(u'\n'); }
    // The payee codes in the order the preview lists them.
    QString ListedCodes() {
        QStringList codes;
        for (const QString& line : Preview()) {
            if (line.startsWith("     0"))
                codes << line.mid(5, 5);
        }
        return codes.join(u',');
    }
    void ClickPrint() {
        QTest::mouseClick(Find<QPushButton>(window_.get(), "Command1_0"), Qt::LeftButton);
    }
    QAction* Menu(const char* name) {
        return Find<QAction>(window_.get(), QString::fromLatin1(name));
    }
    // The message box `index` from the end: this text, the application title, no icon, only OK.
    void ExpectLast(const QString& text, std::size_t index = 0) {
        ASSERT_GT(messages.Count(), index);
        const test::RecordedMessage& message = messages.All()[messages.Count() - 1 - index];
        EXPECT_EQ(message.text, text);
        EXPECT_EQ(message.title, "PAYSUM");
        EXPECT_EQ(message.icon, QMessageBox::NoIcon);
        EXPECT_EQ(message.buttons, QMessageBox::Ok);
    }

    std::unique_ptr<Form7> window_;
    std::deque<PrintJob> jobs_;
    bool printerFails_ = false;
    std::vector<QPageLayout::Orientation> proposed_;
    std::optional<PrintChoice> printChoice_;
    std::optional<QFont> fontChoice_;
};

TEST_F(Form7Test, PrintsPageByPageEveryCopyOnANewPageAndFailureCloses) {
    // A remark holding the continued-page mark ends its page too.
    for (int i = 1; i <= 31; ++i)
        Transfer(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), i == 31 ? "見接下頁" : "");
    InsertRow("S_DAY", {"910503", "910506"});
    Open();
    ClickPrint();
    EXPECT_EQ(messages.Count(), 2u);
    ExpectLast("按下確定開始列印...", 1);
    ExpectLast("列印完畢");
    EXPECT_TRUE(window_->isVisible());
    ASSERT_EQ(jobs_.size(), 1u);
    const PrintJob& job = jobs_[0];
    EXPECT_EQ(job.target.printerName + job.target.outputFile, QString());  // default printer
    // The job is named in the printer's queue for the list and its batch.
    EXPECT_EQ(job.target.documentName, "薪資轉帳明細 登錄日期 910503 轉帳日期 910506");
    EXPECT_EQ(job.orientation, QPageLayout::Portrait);
    EXPECT_EQ(job.families, MingFont().families());
    ASSERT_EQ(job.pages.size(), 3u);
    EXPECT_EQ(job.pages[0].size(), 40u);
    EXPECT_EQ(job.pages[1].size(), 9u);
    EXPECT_EQ(job.pages[2].size(), 10u);
    for (const auto& page : {job.pages[0], job.pages[1]}) {
        EXPECT_EQ(page[0], std::make_pair(kReportTitle, 12));
        for (std::size_t i = 1; i < page.size(); ++i)
            EXPECT_EQ(page[i].second, 10);
    }

    // The print dialog proposes landscape; its choice lasts for the button, without the dialog.
    printChoice_ = PrintChoice{QPageLayout::Landscape, 2, PrintTarget{"Office", {}}};
    messages.Clear();
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(proposed_, std::vector<QPageLayout::Orientation>{QPageLayout::Landscape});
    EXPECT_EQ(messages.Texts(), QStringList{"列印完畢"});
    ClickPrint();
    EXPECT_EQ(proposed_.size(), 1u);
    ASSERT_EQ(jobs_.size(), 3u);
    auto twice = job.pages;
    twice.insert(twice.end(), job.pages.begin(), job.pages.end());
    for (std::size_t i : {1, 2}) {
        EXPECT_EQ(jobs_[i].target.printerName, "Office");
        EXPECT_EQ(jobs_[i].target.documentName, job.target.documentName);
        EXPECT_EQ(jobs_[i].orientation, QPageLayout::Landscape);
        EXPECT_EQ(jobs_[i].pages, twice);
    }

    printChoice_.reset();  // cancel
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(jobs_.size(), 3u);
    // A failed print says why, and the window closes: the printer refused the job, or the printer
    // chosen is not there (the real printers, asked for one that no system has).
    printerFails_ = true;
    ClickPrint();
    ExpectLast("列印失敗：印表機拒絕列印");
    EXPECT_FALSE(window_->isVisible());
    SetPrinterHook({});
    Open();
    printChoice_ = PrintChoice{QPageLayout::Portrait, 1, PrintTarget{"沒有這台"}};
    Menu("mnuPrint")->trigger();
    ExpectLast("列印失敗：找不到印表機「沒有這台」");
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form7Test, PageViewShowsThePrintedPagesToZoomAndPageThrough) {
    for (int i = 1; i <= 31; ++i)
        Transfer(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')));
    Open();
    auto* pages = Find<QPrintPreviewWidget>(window_.get(), "Pages");
    auto* number = Find<QLabel>(window_.get(), "PageNumber");
    Find<QTabWidget>(window_.get(), "Views")->setCurrentIndex(1);
    ClickPrint();
    ASSERT_EQ(jobs_.size(), 1u);
    ASSERT_EQ(jobs_[0].pages.size(), 2u);
    EXPECT_EQ(pages->pageCount(), 2);
    EXPECT_EQ(pages->orientation(), QPageLayout::Portrait);
    EXPECT_EQ(number->text(), "第 1 頁／共 2 頁");
    auto* previous = Find<QPushButton>(window_.get(), "PagePrevious");
    auto* next = Find<QPushButton>(window_.get(), "PageNext");
    EXPECT_FALSE(previous->isEnabled());
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(pages->currentPage(), 2);
    EXPECT_EQ(number->text(), "第 2 頁／共 2 頁");
    EXPECT_FALSE(next->isEnabled());
    QTest::mouseClick(previous, Qt::LeftButton);
    EXPECT_EQ(pages->currentPage(), 1);

    const qreal fitted = pages->zoomFactor();
    QTest::mouseClick(Find<QPushButton>(window_.get(), "ZoomIn"), Qt::LeftButton);
    EXPECT_GT(pages->zoomFactor(), fitted);
    QTest::mouseClick(Find<QPushButton>(window_.get(), "ZoomOut"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(window_.get(), "ZoomOut"), Qt::LeftButton);
    EXPECT_LT(pages->zoomFactor(), fitted);

    // The pages follow the list: the orientation chosen, and the transfers of a new reading.
    printChoice_ = PrintChoice{QPageLayout::Landscape, 2, PrintTarget{}};
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(pages->orientation(), QPageLayout::Landscape);
    EXPECT_EQ(pages->pageCount(), 2);
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DELETE FROM S_ITEM WHERE ID > '00002'"));
    Menu("mnuTypeB")->trigger();
    EXPECT_EQ(pages->pageCount(), 1);
    EXPECT_EQ(number->text(), "第 1 頁／共 1 頁");
}

TEST_F(Form7Test, PrintToFileReplacesThePdfWholeAndNeverAFileOfTheDataFolder) {
    Transfer("00001");
    SetPrinterHook({});  // the real PDF
    QTemporaryDir out;
    const QString pdf = out.filePath("list.pdf");
    test::WriteFile(pdf, "earlier");
    const mode_t umask = ::umask(022);
    Open();
    printChoice_ = PrintChoice{QPageLayout::Landscape, 1, PrintTarget{{}, pdf}};
    Menu("mnuPrint")->trigger();
    ::umask(umask);
    EXPECT_EQ(messages.Texts(), QStringList{"列印完畢"});
    EXPECT_TRUE(test::ReadFile(pdf).startsWith("%PDF-"));
    EXPECT_TRUE(test::ReadFile(pdf).trimmed().endsWith("%%EOF"));
    EXPECT_EQ(QFile::permissions(pdf),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"list.pdf"});

    // A database by name or through a link is refused, and a write that fails keeps the earlier
    // file; either is said and the window stays for another choice.
    ASSERT_TRUE(QFile::link(BranchDatabasePath(), out.filePath("branch.pdf")));
    const QByteArray main = test::FileHash(MainDatabasePath());
    const QByteArray branch = test::FileHash(BranchDatabasePath());
    const QByteArray earlier = test::FileHash(pdf);
    const struct {
        QString target;
        QString text;
        bool full;
    } refusals[] = {
        {MainDatabasePath(), "列印失敗：不可寫入資料夾", false},
        {out.filePath("branch.pdf"), "列印失敗：不可寫入資料夾", false},
        {pdf, "列印失敗：檔案超過系統允許的大小", true},
    };
    for (const auto& refusal : refusals) {
        messages.Clear();
        printChoice_ = PrintChoice{QPageLayout::Landscape, 1, PrintTarget{{}, refusal.target}};
        {
            std::optional<test::FileSizeLimit> limit;
            if (refusal.full)
                limit.emplace(4096);
            Menu("mnuPrint")->trigger();
        }
        EXPECT_EQ(messages.All(), (std::vector<test::RecordedMessage>{
                                      test::OkBox(refusal.text, "PAYSUM", QMessageBox::Critical)}));
        EXPECT_TRUE(window_->isVisible());
    }
    EXPECT_EQ(test::FileHash(MainDatabasePath()), main);
    EXPECT_EQ(test::FileHash(BranchDatabasePath()), branch);
    EXPECT_EQ(test::FileHash(pdf), earlier);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{"branch.pdf", "list.pdf"}));
}

TEST_F(Form7Test, PreviewOfTheStoredBatchInTheChosenOrderAndFont) {
    for (const char* code : {"00002", "00003", "00001"})
        Transfer(code);
    ReportOrder = 2;  // left from an earlier opening
    Open();
    const QStringList lines = Preview();
    EXPECT_EQ(lines[2],
              QString(5, u' ') + "企業名稱：大安實業" + QString(42, u' ') + "製表日：91/5/6");
    EXPECT_EQ(lines[3], QString(5, u' ') + "轉帳分行：0040129[大安分行]");
    EXPECT_EQ(lines[4], QString(5, u' ') + "轉帳日期：" + QString(6, u' '));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + "主管   會計"));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + "出納"));
    EXPECT_EQ(ListedCodes(), "00001,00002,00003");
    Menu("mnuTypeA")->trigger();
    EXPECT_EQ(ListedCodes(), "00003,00002,00001");
    Menu("mnuTypeB")->trigger();
    EXPECT_EQ(ListedCodes(), "00002,00003,00001");
    EXPECT_FALSE(Menu("mnuTypeA")->isChecked());
    EXPECT_TRUE(Menu("mnuTypeB")->isChecked());

    // The font chosen changes the preview; printing takes only its family, at 10 points.
    fontChoice_ = QFont("Noto Sans Mono CJK TC", 24);
    Menu("mnuWord")->trigger();
    EXPECT_EQ(Text1()->font().pointSize(), 24);
    ClickPrint();
    EXPECT_EQ(jobs_[0].families, QStringList{"Noto Sans Mono CJK TC"});
    EXPECT_EQ(jobs_[0].pages[0][1].second, 10);
    EXPECT_EQ(jobs_[0].pages[0][8].first.mid(5, 5), "00002");

    InsertRow("S_DAY", {"910503", "910505"});
    Open();
    EXPECT_EQ(Preview()[4], QString(5, u' ') + "轉帳日期：910505");
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DROP TABLE S_DAY"));
    messages.Clear();
    Open();
    EXPECT_EQ(messages.Count(), 1u);
    ExpectLast("薪資轉帳明細造成錯誤");
}

}  // namespace
}  // namespace paysum
