#pragma once

#include "data/PayRunHistory.h"
#include "output/DetailReport.h"
#include "platform/FunctionWindow.h"
#include "print/LinePrinter.h"

#include <QPageLayout>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;
class QTabWidget;

namespace paysum {

class DataControl;

// The transfer detail report window: previews the list of the batch's transfers and prints it.
class Form7 : public FunctionWindow {
    Q_OBJECT

public:
    // The list of the current batch, or of the archived run `run` when one is given: its company
    // record, transfer date and transfers as they were kept.
    explicit Form7(QWidget* parent = nullptr, const PayRun* run = nullptr);
    ~Form7() override;

    // 0 "列印" prints with the current settings; 1 "取消" closes the window.
    void Command1_Click(int index);
    void mnuTypeA_Click();
    void mnuTypeB_Click();
    void mnuWord_Click();
    void mnuPrint_Click();
    void mnuExit_Click();

    // Reads the company record and lays the list out again.
    void Form_Activate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createLayout();
    void createMenus();
    void Form_Load();
    void LoadReportDates();
    void BuildReport();
    // The current batch's transfers in the chosen order.
    DbResult ReadReportRows(std::vector<ReportRow>* rows);
    void PrintReport();
    // Checks the chosen order entry, leaves the other unchecked and lists in that order.
    void ChooseOrder(qint16 order);
    // The page view: one copy of the list drawn as the printer draws it, redrawn when shown after
    // the list or its font or orientation changed.
    QWidget* createPageView();
    void DrawPages(QPrinter* printer);
    void RefreshPages();
    void ShowPageNumber();

    std::array<QPushButton*, 2> Command1;
    QPlainTextEdit* Text1;
    // The list as text (Text1) and as the printed pages.
    QTabWidget* Views;
    std::unique_ptr<QPrinter> pagePrinter_;
    QPrintPreviewWidget* Pages;
    QPushButton* ZoomOut;
    QPushButton* ZoomIn;
    QPushButton* PagePrevious;
    QPushButton* PageNext;
    QLabel* PageNumber;
    bool pagesStale_ = true;

    QMenuBar* menuBar_;
    QMenu* mnuSystem;
    QMenu* mnuType;
    QAction* mnuTypeA;
    QAction* mnuTypeB;
    QAction* mnuLine1;
    QAction* mnuWord;
    QAction* mnuPrint;
    QAction* mnuLine2;
    QAction* mnuExit;

    DataControl* records_;
    std::optional<PayRun> run_;

    // Print settings, kept while the window is open.
    QStringList printFamilies_;
    QPageLayout::Orientation printOrientation_ = QPageLayout::Portrait;
    int copies_ = 1;
    PrintTarget printTarget_;

    ReportHeader header_;
    QStringList reportLines_;
    // The list's name as a document, from the batch dates read at load.
    QString documentName_ = ReportDocumentName(QString(), QString());
};

}  // namespace paysum
