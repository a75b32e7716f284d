#include "data/DataFolder.h"
#include "data/Database.h"
#include "history/HistoryTest.h"
#include "history/frmHistory.h"

#include <QHeaderView>
#include <QTableView>

namespace paysum {
namespace {

class frmHistoryTest : public test::HistoryTest {
protected:
    void Open() {
        window_ = new frmHistory;  // deleted with the other windows by the fixture
        Activate(window_);
    }
    QTableView* Grid() { return Find<QTableView>(window_, "Grid1"); }
    // Opens a run the way `open` does and returns the caption of the window it brought up.
    QString OpenedBy(const std::function<void()>& open) {
        QString caption;
        OnNextModal([&](QDialog& run) { caption = run.objectName() + u' ' + run.windowTitle(); });
        open();
        // The history window is the active one again once the run's window has closed.
        Activate(window_);
        return caption;
    }

    frmHistory* window_ = nullptr;
};

TEST_F(frmHistoryTest, ListsTheRunsNewestFirstAndOpensTheOneChosen) {
    ArchiveTwoRuns();
    Open();
    EXPECT_EQ(window_->windowTitle(), "薪資轉帳歷史資料");
    QStringList headings;
    for (int c = 0; c < Grid()->model()->columnCount(); ++c)
        headings << Grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings.join(u','), "批次,登錄日期,轉帳日期,筆數,總金額,轉帳檔,歸檔時間");
    EXPECT_EQ(GridRows(window_),
              (QList<QStringList>{
                  {"2", "910603", "910605", "1", "1,000", "", "2002-06-06 10:00:00"},
                  {"1", "910503", "910505", "3", "164,300", "BATCH1.txt", "2002-05-06 09:30:00"}}));
    EXPECT_EQ(Grid()->model()->index(1, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    // Enter on the grid, a double click on a row and the open button each open the run chosen.
    ASSERT_EQ(Focus(), Grid());
    EXPECT_EQ(OpenedBy([] { Key(Qt::Key_Return); }), "frmHistoryRun 薪資轉帳歷史資料－第 2 批");
    Key(Qt::Key_Down);
    EXPECT_EQ(OpenedBy([] { Key(Qt::Key_Enter); }), "frmHistoryRun 薪資轉帳歷史資料－第 1 批");
    const QRect first = Grid()->visualRect(Grid()->model()->index(0, 1));
    // A double click is a click and then the double click event.
    EXPECT_EQ(OpenedBy([&] {
                  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, first.center());
                  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, first.center());
              }),
              "frmHistoryRun 薪資轉帳歷史資料－第 2 批");
    Key(Qt::Key_Down);
    EXPECT_EQ(OpenedBy([&] { Click(window_, "Command1_0"); }),
              "frmHistoryRun 薪資轉帳歷史資料－第 1 批");
    EXPECT_EQ(messages.Count(), 0u);

    // A click on a caption sorts by its column, the next one reverses; the run opened is the one
    // shown in the row chosen.
    QHeaderView* header = Grid()->horizontalHeader();
    const auto clickCaption = [&](int column) {
        const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    };
    clickCaption(0);
    EXPECT_EQ(GridRows(window_)[0][0], "1");
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    Grid()->setFocus();
    Grid()->selectRow(0);
    EXPECT_EQ(OpenedBy([] { Key(Qt::Key_Return); }), "frmHistoryRun 薪資轉帳歷史資料－第 1 批");
    clickCaption(0);
    EXPECT_EQ(GridRows(window_)[0][0], "2");
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);

    // Esc closes the window, here from the grid; so does the close button.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
    Open();
    Click(window_, "Command1_1");
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(frmHistoryTest, NothingToOpenWithoutRunsOrWhenTheHistoryCannotBeRead) {
    Open();
    EXPECT_EQ(Grid()->model()->rowCount(), 0);
    EXPECT_FALSE(Find<QWidget>(window_, "Command1_0")->isEnabled());
    Key(Qt::Key_Return);
    EXPECT_TRUE(modalsShown.isEmpty());
    EXPECT_EQ(messages.Count(), 0u);

    // A run whose transfers cannot be read is not opened.
    ArchiveTwoRuns();
    Open();
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DROP TABLE H_ITEM"));
    Key(Qt::Key_Return);
    EXPECT_TRUE(modalsShown.isEmpty());
    EXPECT_EQ(messages.All(), std::vector<test::RecordedMessage>{test::OkBox("不可預期的錯誤")});

    messages.Clear();
    ASSERT_FALSE(Execute(Connection(MainDatabasePath()), "DROP TABLE H_RUN"));
    Open();
    EXPECT_EQ(messages.All(), std::vector<test::RecordedMessage>{test::OkBox("不可預期的錯誤")});
    EXPECT_EQ(Grid()->model()->rowCount(), 0);
    EXPECT_FALSE(Find<QWidget>(window_, "Command1_0")->isEnabled());
}

}  // namespace
}  // namespace paysum
