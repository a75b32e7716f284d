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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace paysum {
namespace {

// What one print job received: each page's lines with their point sizes.
struct PrintJob {
    PrintTarget target;
    QStringList families;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::vector<std::vector<std::pair<QString, int>>> pages{1};
};

class RecordingPrinter : public LinePrinter {
public:
    RecordingPrinter(std::shared_ptr<PrintJob> job, bool fails) : job_(job), fails_(fails) {}
    void SetFontFamilies(const QStringList& families) override { job_->families = families; }
    void SetFontSize(int points) override { points_ = points; }
    void SetOrientation(QPageLayout::Orientation value) override { job_->orientation = value; }
    void PrintLine(const QString& line) override { job_->pages.back().emplace_back(line, points_); }
    void NewPage() override { job_->pages.emplace_back(); }
    bool EndDoc() override { return !fails_; }

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
            jobs_.push_back(std::make_shared<PrintJob>());
            jobs_.back()->target = target;
            return std::make_unique<RecordingPrinter>(jobs_.back(), printerFails_);
        });
        SetPrintDialogHook([this](QPageLayout::Orientation proposed) {
            proposed_.push_back(proposed);
            return printChoice_;
        });
        SetFontDialogHook([this](const QFont&) { return fontChoice_; });
    }
    void TearDown() override {
        window_.reset();
        SetPrinterHook(nullptr);
        SetPrintDialogHook(nullptr);
        SetFontDialogHook(nullptr);
        PaysumTest::TearDown();
    }

    // Transfers with the codes given, stored in that order; by default 00001 upwards.
    void Transfers(int count, QStringList codes = {}) {
        for (int i = 1; codes.size() < count; ++i)
            codes << QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
        const QSqlDatabase db = Connection(MainDatabasePath());
        Transaction transaction(db);
        for (const QString& code : codes) {
            ASSERT_FALSE(Execute(db,
                                 QStringLiteral("INSERT INTO S_ITEM VALUES (?, '004001012341', "
                                                "'1000', '王小明', '', '')"),
                                 {code}));
        }
        ASSERT_FALSE(transaction.Commit());
    }
    void Open() {
        window_ = std::make_unique<Form7>();
        window_->show();
    }
    QStringList Preview() {
        return Find<QPlainTextEdit>(window_.get(), QStringLiteral("Text1"))
            ->toPlainText()
            .split(u'\n');
    }
    // The payee codes in the order the preview lists them.
    QString ListedCodes() {
        QStringList codes;
        for (const QString& line : Preview()) {
            if (line.startsWith(QStringLiteral("     0")))
                codes << line.mid(5, 5);
        }
        return codes.join(u',');
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
    std::optional<QFont> fontChoice_;
};

TEST_F(Form7Test, PreviewTakesTheCompanyBranchAndDates) {
    Transfers(1);
    Open();
    QStringList lines = Preview();
    EXPECT_EQ(lines[2], QString(5, u' ') + QStringLiteral("企業名稱：大安實業") +
                            QString(42, u' ') + QStringLiteral("製表日：91/5/6"));
    EXPECT_EQ(lines[3], QString(5, u' ') + QStringLiteral("轉帳分行：0040129[大安分行]"));
    EXPECT_EQ(lines[4], QString(5, u' ') + QStringLiteral("轉帳日期：") + QString(6, u' '));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + QStringLiteral("主管   會計")));
    EXPECT_TRUE(lines.contains(QString(10, u' ') + QStringLiteral("出納")));

    InsertRow(QStringLiteral("S_DAY"), {QStringLiteral("910503"), QStringLiteral("910505")});
    Open();
    EXPECT_EQ(Preview()[4], QString(5, u' ') + QStringLiteral("轉帳日期：910505"));

    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), QStringLiteral("DROP TABLE S_DAY")));
    Open();
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("薪資轉帳明細造成錯誤")});
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
}

TEST_F(Form7Test, PrintButtonPrintsPageByPage) {
    Transfers(31);
    // A remark holding the continued-page mark ends its page too.
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()),
                         QStringLiteral("UPDATE S_ITEM SET MARK='見接下頁' WHERE ID='00031'")));
    Open();
    ClickPrint();
    EXPECT_EQ(messages.Texts(),
              (QStringList{QStringLiteral("按下確定開始列印..."), QStringLiteral("列印完畢")}));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_TRUE(window_->isVisible());

    ASSERT_EQ(jobs_.size(), 1u);
    const PrintJob& job = *jobs_[0];
    EXPECT_EQ(job.target.printerName + job.target.outputFile, QString());  // default printer
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
}

TEST_F(Form7Test, PrintDialogChoiceLastsEveryCopyStartsANewPageAndFailureCloses) {
    Transfers(2);
    Open();
    printChoice_ =
        PrintChoice{QPageLayout::Landscape, 2, PrintTarget{QStringLiteral("Office"), {}}};
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(proposed_, std::vector<QPageLayout::Orientation>{QPageLayout::Landscape});
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("列印完畢")});
    // The button then prints the same way without the dialog.
    ClickPrint();
    EXPECT_EQ(proposed_.size(), 1u);
    ASSERT_EQ(jobs_.size(), 2u);
    for (const auto& job : jobs_) {
        EXPECT_EQ(job->target.printerName, QStringLiteral("Office"));
        EXPECT_EQ(job->orientation, QPageLayout::Landscape);
        ASSERT_EQ(job->pages.size(), 2u);
        EXPECT_EQ(job->pages[1], job->pages[0]);
    }

    printChoice_.reset();  // cancel
    Menu("mnuPrint")->trigger();
    EXPECT_EQ(jobs_.size(), 2u);

    printerFails_ = true;
    ClickPrint();
    EXPECT_EQ(messages.Last().text, QStringLiteral("列印失敗"));
    EXPECT_EQ(messages.Last().title, QStringLiteral("PAYSUM"));
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(Form7Test, OrderEntriesReorderTheList) {
    Transfers(3, {QStringLiteral("00002"), QStringLiteral("00003"), QStringLiteral("00001")});
    ReportOrder = 2;  // left from an earlier opening
    Open();
    EXPECT_EQ(ListedCodes(), QStringLiteral("00001,00002,00003"));
    Menu("mnuTypeA")->trigger();
    EXPECT_EQ(ListedCodes(), QStringLiteral("00003,00002,00001"));
    EXPECT_TRUE(Menu("mnuTypeA")->isChecked());
    EXPECT_EQ(ReportOrder, 1);
    Menu("mnuTypeB")->trigger();
    EXPECT_EQ(ListedCodes(), QStringLiteral("00002,00003,00001"));
    EXPECT_FALSE(Menu("mnuTypeA")->isChecked());
    EXPECT_TRUE(Menu("mnuTypeB")->isChecked());
    EXPECT_EQ(ReportOrder, 2);
    ClickPrint();
    EXPECT_EQ(jobs_[0]->pages[0][8].first.mid(5, 5), QStringLiteral("00002"));
}

TEST_F(Form7Test, FontDialogChangesThePreviewButOnlyThePrintFamily) {
    Transfers(1);
    Open();
    fontChoice_ = QFont(QStringLiteral("Noto Sans Mono CJK TC"), 24);
    Menu("mnuWord")->trigger();
    EXPECT_EQ(Find<QPlainTextEdit>(window_.get(), QStringLiteral("Text1"))->font().pointSize(), 24);
    ClickPrint();
    EXPECT_EQ(jobs_[0]->families, QStringList{QStringLiteral("Noto Sans Mono CJK TC")});
    EXPECT_EQ(jobs_[0]->pages[0][1].second, 10);
}

}  // namespace
}  // namespace paysum
