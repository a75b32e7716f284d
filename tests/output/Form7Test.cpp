#include "common/SharedState.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "output/Form7.h"
#include "platform/Clock.h"
#include "platform/FontDialog.h"
#include "platform/Fonts.h"
#include "platform/LinePrinter.h"
#include "platform/PrintDialog.h"
#include "support/PaysumTest.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace paysum {
namespace {

struct PrintedLine {
    QString text;
    int points;
};

// What one print job received.
struct PrintJob {
    PrintTarget target;
    QStringList families;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<std::vector<PrintedLine>> pages{1};
    bool ended = false;
};

// Keeps every line in its page instead of printing it.
class RecordingPrinter : public LinePrinter {
public:
    RecordingPrinter(std::shared_ptr<PrintJob> job, bool fails) : job_(job), fails_(fails) {}

    void SetFontFamilies(const QStringList& families) override { job_->families = families; }
    void SetFontSize(int points) override { points_ = points; }
    void SetOrientation(QPageLayout::Orientation orientation) override {
        job_->orientation = orientation;
    }
    void PrintLine(const QString& line) override {
        job_->pages.back().push_back(PrintedLine{line, points_});
    }
    void NewPage() override { job_->pages.emplace_back(); }
    bool EndDoc() override {
        job_->ended = true;
        return !fails_;
    }

private:
    std::shared_ptr<PrintJob> job_;
    bool fails_;
    int points_ = 0;
};

class Form7Test : public test::PaysumTest {
protected:
    void SetUp() override {
        PaysumTest::SetUp();
        CreateDatabases();
        SetToday(QDate(2002, 5, 6));
        InsertRow(QStringLiteral("S_BASE"),
                  {QStringLiteral("012"), QStringLiteral("大安實業"), QStringLiteral("045"),
                   QStringLiteral("12345678"), QStringLiteral("主管   "), QStringLiteral("會計"),
                   QStringLiteral("出納")});
        InsertRow(QStringLiteral("RTBANK"),
                  {QStringLiteral("0040129"), QStringLiteral("大安"), QStringLiteral("大安分行")});
        SetPrinterHook([this](const PrintTarget& target) {
            auto job = std::make_shared<PrintJob>();
            job->target = target;
            jobs_.push_back(job);
            return std::make_unique<RecordingPrinter>(job, printerFails_);
        });
        SetPrintDialogHook([this](QPageLayout::Orientation proposed) {
            proposed_.push_back(proposed);
            return printChoice_;
        });
        SetFontDialogHook([this](const QFont& initial) {
            fontInitial_ = initial;
            return fontChoice_;
        });
    }

    void TearDown() override {
        window_.reset();
        SetPrinterHook(nullptr);
        SetPrintDialogHook(nullptr);
        SetFontDialogHook(nullptr);
        PaysumTest::TearDown();
    }

    void Transfers(int count) {
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        for (int i = 1; i <= count; ++i) {
            ASSERT_FALSE(
                Execute(db, QStringLiteral("INSERT INTO S_ITEM VALUES (?,?,?,?,?,?)"),
                        {QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                         QStringLiteral("004001012341"), QStringLiteral("1000"),
                         QStringLiteral("王小明"), QStringLiteral(""), QStringLiteral("")}));
        }
        ASSERT_FALSE(transaction.Commit());
    }

    Form7* Open() {
        window_ = std::make_unique<Form7>();
        window_->show();
        return window_.get();
    }

    QStringList PreviewLines() {
        return Find<QPlainTextEdit>(window_.get(), QStringLiteral("Text1"))
            ->toPlainText()
            .split(u'\n');
    }
    // The payee codes in the order the preview lists them.
    QStringList ListedCodes() {
        QStringList codes;
        for (const QString& line : PreviewLines()) {
            if (line.startsWith(QStringLiteral("     0")))
                codes << line.mid(5, 5);
        }
        return codes;
    }
    void ClickPrint() {
        QTest::mouseClick(Find<QPushButton>(window_.get(), QStringLiteral("Command1_0")),
                          Qt::LeftButton);
    }
    QAction* Menu(const char* name) {
        return Find<QAction>(window_.get(), QString::fromLatin1(name));
    }

    std::unique_ptr<Form7> window_;
    std::vector<std::shared_ptr<PrintJob>> jobs_;
    bool printerFails_ = false;
    std::vector<QPageLayout::Orientation> proposed_;
    std::optional<PrintChoice> printChoice_;
    QFont fontInitial_;
    std::optional<QFont> fontChoice_;
};

TEST_F(Form7Test, PreviewShowsTheListWithItsHeaderValues) {
    Transfers(2);
    Form7* window = Open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("4. 列印薪資轉帳明細"));
    const QStringList lines = PreviewLines();
    EXPECT_EQ(lines[0], kReportTitle);
    EXPECT_EQ(lines[2], QString(5, u' ') + QStringLiteral("企業名稱：大安實業") +
                            QString(42, u' ') + QStringLiteral("製表日：91/5/6"));
    EXPECT_EQ(lines[3], QString(5, u' ') + QStringLiteral("轉帳分行：0040129[大安分行]"));
    // No batch dates stored yet: six blanks.
    EXPECT_EQ(lines[4], QString(5, u' ') + QStringLiteral("轉帳日期：") + QString(6, u' '));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + QStringLiteral("主管   會計")));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + QStringLiteral("出納")));
    EXPECT_EQ(ListedCodes(), (QStringList{QStringLiteral("00001"), QStringLiteral("00002")}));

    auto* preview = Find<QPlainTextEdit>(window, QStringLiteral("Text1"));
    EXPECT_TRUE(preview->isReadOnly());
    EXPECT_EQ(preview->font().families(), MingFont().families());
    EXPECT_EQ(Find<QPushButton>(window, QStringLiteral("Command1_0"))->text(),
              QStringLiteral("列印"));
    EXPECT_EQ(Find<QPushButton>(window, QStringLiteral("Command1_1"))->text(),
              QStringLiteral("取消"));

    EXPECT_EQ(Find<QMenu>(window, QStringLiteral("mnuSystem"))->title(),
              QStringLiteral("設定(&S)"));
    EXPECT_EQ(Find<QMenu>(window, QStringLiteral("mnuType"))->title(), QStringLiteral("列印方式"));
    EXPECT_EQ(Menu("mnuTypeA")->text(), QStringLiteral("依收款人代碼（由大－＞小）"));
    EXPECT_EQ(Menu("mnuTypeB")->text(), QStringLiteral("依輸入順序"));
    EXPECT_TRUE(Menu("mnuLine1")->isSeparator());
    EXPECT_EQ(Menu("mnuWord")->text(), QStringLiteral("字型"));
    EXPECT_EQ(Menu("mnuPrint")->text(), QStringLiteral("列印"));
    EXPECT_TRUE(Menu("mnuLine2")->isSeparator());
    EXPECT_EQ(Menu("mnuExit")->text(), QStringLiteral("離開"));
}

TEST_F(Form7Test, StoredTransferDateAndItsReadError) {
    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    Transfers(1);
    Open();
    EXPECT_EQ(PreviewLines()[4], QString(5, u' ') + QStringLiteral("轉帳日期：910505"));
    window_.reset();

    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), QStringLiteral("DROP TABLE S_DAY")));
    Open();
    EXPECT_EQ(messages.Last().text, QStringLiteral("薪資轉帳明細造成錯誤"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(messages.Last().buttons, QMessageBox::Ok);
    EXPECT_EQ(PreviewLines()[4], QString(5, u' ') + QStringLiteral("轉帳日期："));
}

TEST_F(Form7Test, PrintButtonPrintsPortraitPageByPage) {
    Transfers(31);
    Open();
    ClickPrint();
    ASSERT_EQ(messages.Count(), 2u) << messages.Texts().join(u'|').toStdString();
    EXPECT_EQ(messages.All()[0].text, QStringLiteral("按下確定開始列印..."));
    EXPECT_EQ(messages.All()[0].title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(messages.All()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(messages.Last().text, QStringLiteral("列印完畢"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_TRUE(window_->isVisible());

    ASSERT_EQ(jobs_.size(), 1u);
    const PrintJob& job = *jobs_[0];
    EXPECT_TRUE(job.ended);
    EXPECT_TRUE(job.target.printerName.isEmpty());
    EXPECT_TRUE(job.target.outputFile.isEmpty());
    EXPECT_EQ(job.orientation, QPageLayout::Portrait);
    EXPECT_EQ(job.families, MingFont().families());
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(job.pages[0].size(), 40u);
    EXPECT_EQ(job.pages[1].size(), 8u + 1u + 10u);
    EXPECT_TRUE(job.pages[0].back().text.endsWith(QStringLiteral("資料未完；接下頁")));
    for (const std::vector<PrintedLine>& page : job.pages) {
        EXPECT_EQ(page[0].text, kReportTitle);
        EXPECT_EQ(page[0].points, 12);
        for (std::size_t i = 1; i < page.size(); ++i)
            EXPECT_EQ(page[i].points, 10) << page[i].text.toStdString();
    }
}

TEST_F(Form7Test, PrintDialogChoiceLastsAndEveryCopyStartsANewPage) {
    Transfers(2);
    Open();
    printChoice_ =
        PrintChoice{QPageLayout::Landscape, 2, PrintTarget{QStringLiteral("Office"), {}}};
    Menu("mnuPrint")->trigger();
    ASSERT_EQ(proposed_, std::vector<QPageLayout::Orientation>{QPageLayout::Landscape});
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("列印完畢")});
    ASSERT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(jobs_[0]->target.printerName, QStringLiteral("Office"));
    EXPECT_EQ(jobs_[0]->orientation, QPageLayout::Landscape);
    ASSERT_EQ(jobs_[0]->pages.size(), 2u);
    EXPECT_EQ(jobs_[0]->pages[1].size(), jobs_[0]->pages[0].size());
    EXPECT_EQ(jobs_[0]->pages[1][0].text, kReportTitle);

    // The button prints the same way again without the dialog.
    ClickPrint();
    EXPECT_EQ(proposed_.size(), 1u);
    ASSERT_EQ(jobs_.size(), 2u);
    EXPECT_EQ(jobs_[1]->orientation, QPageLayout::Landscape);
    EXPECT_EQ(jobs_[1]->pages.size(), 2u);

    // Cancel in the dialog prints nothing.
    printChoice_.reset();
    messages.Clear();
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(jobs_.size(), 2u);
    EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(Form7Test, ContinuedMarkInARemarkEndsThePage) {
    Transfers(1);
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("UPDATE S_ITEM SET MARK='見接下頁'")));
    Open();
    ClickPrint();
    ASSERT_EQ(jobs_.size(), 1u);
    ASSERT_EQ(jobs_[0]->pages.size(), 2u);
    EXPECT_TRUE(jobs_[0]->pages[0].back().text.endsWith(QStringLiteral("見接下頁")));
}

TEST_F(Form7Test, PrinterFailureClosesTheWindow) {
    Transfers(1);
    Open();
    printerFails_ = true;
    ClickPrint();
    EXPECT_EQ(messages.Last().text, QStringLiteral("列印失敗"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_EQ(messages.Last().icon, QMessageBox::NoIcon);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form7Test, OrderEntriesReorderTheList) {
    for (const char* code : {"00002", "00003", "00001"}) {
        InsertRow(QStringLiteral("S_ITEM"),
                  {QString::fromLatin1(code), QStringLiteral("004001012341"), QStringLiteral("1"),
                   QStringLiteral("王"), QStringLiteral(""), QStringLiteral("")});
    }
    ReportOrder = 2;  // left from an earlier opening
    Open();
    EXPECT_EQ(ListedCodes().join(u','), QStringLiteral("00001,00002,00003"));
    EXPECT_FALSE(Menu("mnuTypeA")->isChecked());
    EXPECT_FALSE(Menu("mnuTypeB")->isChecked());

    Menu("mnuTypeA")->trigger();
    EXPECT_EQ(ListedCodes().join(u','), QStringLiteral("00003,00002,00001"));
    EXPECT_TRUE(Menu("mnuTypeA")->isChecked());
    EXPECT_FALSE(Menu("mnuTypeB")->isChecked());
    EXPECT_EQ(ReportOrder, 1);

    Menu("mnuTypeB")->trigger();
    EXPECT_EQ(ListedCodes().join(u','), QStringLiteral("00002,00003,00001"));
    EXPECT_FALSE(Menu("mnuTypeA")->isChecked());
    EXPECT_TRUE(Menu("mnuTypeB")->isChecked());
    EXPECT_EQ(ReportOrder, 2);

    // Printing follows the order shown.
    ClickPrint();
    ASSERT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(jobs_[0]->pages[0][8].text.mid(5, 5), QStringLiteral("00002"));
}

TEST_F(Form7Test, FontDialogChangesThePreviewAndOnlyThePrintFamily) {
    Transfers(1);
    Form7* window = Open();
    auto* preview = Find<QPlainTextEdit>(window, QStringLiteral("Text1"));
    const QFont before = preview->font();

    Menu("mnuWord")->trigger();  // cancelled
    EXPECT_EQ(fontInitial_, before);
    EXPECT_EQ(preview->font(), before);

    QFont large(QStringLiteral("Noto Sans Mono CJK TC"), 24);
    large.setBold(true);
    fontChoice_ = large;
    Menu("mnuWord")->trigger();
    EXPECT_EQ(preview->font().pointSize(), 24);
    EXPECT_TRUE(preview->font().bold());

    ClickPrint();
    ASSERT_EQ(jobs_.size(), 1u);
    EXPECT_EQ(jobs_[0]->families, QStringList{QStringLiteral("Noto Sans Mono CJK TC")});
    EXPECT_EQ(jobs_[0]->pages[0][1].points, 10);
}

TEST_F(Form7Test, CancelAndExitClose) {
    Transfers(1);
    Open();
    QTest::mouseClick(Find<QPushButton>(window_.get(), QStringLiteral("Command1_1")),
                      Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
    Open();
    Menu("mnuExit")->trigger();
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(jobs_.empty());
}

}  // namespace
}  // namespace paysum
