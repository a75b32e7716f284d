#include "output/Form7.h"

#include "common/Clock.h"
#include "common/RocDate.h"
#include "common/SharedState.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "output/ReportSource.h"
#include "platform/FontDialog.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"
#include "platform/Printer.h"
#include "print/Fonts.h"
#include "print/ReportPrint.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace paysum {

namespace {

const QString kReportError = QStringLiteral("薪資轉帳明細造成錯誤");

}  // namespace

Form7::Form7(QWidget* parent, const PayRun* run)
    : FunctionWindow(QStringLiteral("Form7"), QStringLiteral("4. 列印薪資轉帳明細"), parent) {
    if (run) {
        run_ = *run;
        setWindowTitle(QStringLiteral("列印薪資轉帳明細－第 %1 批").arg(run->summary.run));
    }
    records_ = new DataControl(this);
    records_->SetConnectionString(MainDatabasePath());
    createLayout();
    createMenus();
    Form_Load();
}

// The page view goes before the printer it shows.
Form7::~Form7() {
    delete Views;
}

void Form7::createLayout() {
    const QString captions[] = {QStringLiteral("列印"), QStringLiteral("取消")};
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(captions[i], this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setMinimumSize(96, 30);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttons->addWidget(Command1[i]);
    }
    buttons->addStretch();

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    Views = new QTabWidget(this);
    Views->setObjectName(QStringLiteral("Views"));
    Views->addTab(Text1, QStringLiteral("文字"));
    Views->addTab(createPageView(), QStringLiteral("頁面"));
    connect(Views, &QTabWidget::currentChanged, this, [this] {
        if (Pages->isVisible() && pagesStale_)
            Pages->updatePreview();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 3, 8);
    layout->addLayout(buttons);
    layout->addWidget(Views, 1);
    resize(900, 600);
}

QWidget* Form7::createPageView() {
    auto* view = new QWidget;
    pagePrinter_ = PreviewPrinter();
    Pages = new QPrintPreviewWidget(pagePrinter_.get(), view);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(Pages, &QPrintPreviewWidget::paintRequested, this, &Form7::DrawPages);
    connect(Pages, &QPrintPreviewWidget::previewChanged, this, &Form7::ShowPageNumber);

    const auto button = [view](QPushButton*& member, const char* name, const QString& caption) {
        member = new QPushButton(caption, view);
        member->setObjectName(QString::fromLatin1(name));
        member->setMinimumSize(72, 26);
    };
    button(ZoomOut, "ZoomOut", QStringLiteral("縮小"));
    button(ZoomIn, "ZoomIn", QStringLiteral("放大"));
    button(PagePrevious, "PagePrevious", QStringLiteral("上一頁"));
    button(PageNext, "PageNext", QStringLiteral("下一頁"));
    PageNumber = new QLabel(view);
    PageNumber->setObjectName(QStringLiteral("PageNumber"));
    PageNumber->setMinimumWidth(
        PageNumber->fontMetrics().horizontalAdvance(QStringLiteral("第 9999 頁／共 9999 頁")));
    connect(ZoomOut, &QPushButton::clicked, Pages, [this] { Pages->zoomOut(); });
    connect(ZoomIn, &QPushButton::clicked, Pages, [this] { Pages->zoomIn(); });
    connect(PagePrevious, &QPushButton::clicked, Pages, [this] {
        Pages->setCurrentPage(Pages->currentPage() - 1);
        ShowPageNumber();
    });
    connect(PageNext, &QPushButton::clicked, Pages, [this] {
        Pages->setCurrentPage(Pages->currentPage() + 1);
        ShowPageNumber();
    });

    auto* tools = new QHBoxLayout;
    for (QWidget* control : {static_cast<QWidget*>(ZoomOut), static_cast<QWidget*>(ZoomIn),
                             static_cast<QWidget*>(PagePrevious), static_cast<QWidget*>(PageNext),
                             static_cast<QWidget*>(PageNumber)})
        tools->addWidget(control);
    tools->addStretch();
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(tools);
    layout->addWidget(Pages, 1);
    return view;
}

// One copy, in the print font and orientation, through the same drawing as the printer.
void Form7::DrawPages(QPrinter* printer) {
    pagesStale_ = false;
    const std::unique_ptr<LinePrinter> pages = LinePrinterOn(*printer);
    (void)PrintReportLines(*pages, {printFamilies_, printOrientation_, 1}, reportLines_);
}

void Form7::RefreshPages() {
    pagesStale_ = true;
    if (Pages->isVisible())
        Pages->updatePreview();
}

void Form7::ShowPageNumber() {
    PageNumber->setText(
        QStringLiteral("第 %1 頁／共 %2 頁").arg(Pages->currentPage()).arg(Pages->pageCount()));
    PagePrevious->setEnabled(Pages->currentPage() > 1);
    PageNext->setEnabled(Pages->currentPage() < Pages->pageCount());
}

void Form7::createMenus() {
    menuBar_ = new QMenuBar(this);
    layout()->setMenuBar(menuBar_);
    mnuSystem = menuBar_->addMenu(QStringLiteral("設定(&S)"));
    mnuSystem->setObjectName(QStringLiteral("mnuSystem"));
    mnuType = mnuSystem->addMenu(QStringLiteral("列印方式"));
    mnuType->setObjectName(QStringLiteral("mnuType"));
    mnuTypeA = mnuType->addAction(QStringLiteral("依收款人代碼（由大－＞小）"));
    mnuTypeA->setObjectName(QStringLiteral("mnuTypeA"));
    mnuTypeB = mnuType->addAction(QStringLiteral("依輸入順序"));
    mnuTypeB->setObjectName(QStringLiteral("mnuTypeB"));
    for (QAction* entry : {mnuTypeA, mnuTypeB})
        entry->setCheckable(true);
    mnuLine1 = mnuSystem->addSeparator();
    mnuLine1->setObjectName(QStringLiteral("mnuLine1"));
    mnuWord = mnuSystem->addAction(QStringLiteral("字型"));
    mnuWord->setObjectName(QStringLiteral("mnuWord"));
    mnuPrint = mnuSystem->addAction(QStringLiteral("列印"));
    mnuPrint->setObjectName(QStringLiteral("mnuPrint"));
    mnuLine2 = mnuSystem->addSeparator();
    mnuLine2->setObjectName(QStringLiteral("mnuLine2"));
    mnuExit = mnuSystem->addAction(QStringLiteral("離開"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    connect(mnuTypeA, &QAction::triggered, this, &Form7::mnuTypeA_Click);
    connect(mnuTypeB, &QAction::triggered, this, &Form7::mnuTypeB_Click);
    connect(mnuWord, &QAction::triggered, this, &Form7::mnuWord_Click);
    connect(mnuPrint, &QAction::triggered, this, &Form7::mnuPrint_Click);
    connect(mnuExit, &QAction::triggered, this, &Form7::mnuExit_Click);
}

void Form7::Form_Load() {
    Text1->setFont(MingFont());
    printFamilies_ = Text1->font().families();
    printOrientation_ = QPageLayout::Portrait;
    copies_ = 1;
    // Every opening lists by payee code ascending until an order entry is chosen.
    ReportOrder = 0;
    LoadReportDates();
}

void Form7::LoadReportDates() {
    if (run_) {
        const QString& date = run_->summary.transferDate;
        header_.transferDate = date.isEmpty() ? QString(6, u' ') : date;
        documentName_ = ReportDocumentName(run_->summary.loginDate, date);
        return;
    }
    if (records_->PointAt(QStringLiteral("S_DAY"))) {
        ShowMessage(this, kReportError);
        return;
    }
    const Recordset& days = records_->Recordset();
    header_.transferDate = days.AtEOF() ? QString(6, u' ') : days.Field(1);
    documentName_ =
        ReportDocumentName(days.AtEOF() ? QString() : days.Field(0), header_.transferDate);
}

void Form7::showEvent(QShowEvent* event) {
    FunctionWindow::showEvent(event);
    if (!event->spontaneous())
        Form_Activate();
}

void Form7::Form_Activate() {
    if (run_) {
        SetCompany(header_, run_->company);
    } else if (!records_->PointAt(QStringLiteral("S_BASE"))) {
        const Recordset& base = records_->Recordset();
        QStringList row;
        for (int i = 0; i < base.FieldCount(); ++i)
            row << base.Field(i);
        SetCompany(header_, row);
    }
    BuildReport();
}

DbResult Form7::ReadReportRows(std::vector<ReportRow>* rows) {
    records_->SetCommandType(CommandType::Text);
    records_->SetRecordSource(QStringLiteral("Select * From [S_ITEM] Order By ") +
                              ReportOrderBy(ReportOrder));
    if (DbResult error = records_->Refresh())
        return error;
    Recordset& set = records_->Recordset();
    rows->reserve(static_cast<std::size_t>(set.RecordCount()));
    for (; !set.AtEOF(); set.MoveNext()) {
        rows->push_back(ReportRow{set.Field(0), set.Field(1), set.Field(2), set.Field(3),
                                  set.Field(4), set.Field(5)});
    }
    // A row that could not be read would be listed as an empty one.
    return set.ReadError();
}

void Form7::BuildReport() {
    std::vector<ReportRow> rows;
    DbResult error;
    if (run_)
        rows = OrderedReportRows(run_->items, ReportOrder);
    else
        error = ReadReportRows(&rows);
    // A list that could not be read is neither shown nor printed.
    Command1[0]->setEnabled(!error);
    mnuPrint->setEnabled(!error);
    if (error) {
        Text1->clear();
        reportLines_.clear();
        RefreshPages();
        ShowMessage(this, kReportError);
        return;
    }
    header_.printDate = RocToday(1, Today());
    Report report = paysum::BuildReport(header_, rows);
    Text1->setPlainText(report.preview);
    reportLines_ = std::move(report.lines);
    RefreshPages();
}

void Form7::ChooseOrder(qint16 order) {
    mnuTypeA->setChecked(order == 1);
    mnuTypeB->setChecked(order == 2);
    ReportOrder = order;
    BuildReport();
}

void Form7::mnuTypeA_Click() {
    ChooseOrder(1);
}

void Form7::mnuTypeB_Click() {
    ChooseOrder(2);
}

void Form7::Command1_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    ShowMessage(this, QStringLiteral("按下確定開始列印..."));
    PrintReport();
}

void Form7::mnuPrint_Click() {
    const std::optional<PrintChoice> choice = ShowPrintDialog(this, QPageLayout::Landscape);
    if (!choice)
        return;
    printOrientation_ = choice->orientation;
    copies_ = choice->copies;
    printTarget_ = choice->target;
    RefreshPages();
    PrintReport();
}

// The size, style and colour chosen change the preview only; printing takes the family.
void Form7::mnuWord_Click() {
    const std::optional<QFont> font = ShowFontDialog(this, Text1->font());
    if (!font)
        return;
    Text1->setFont(*font);
    printFamilies_ = QStringList{font->family()};
    RefreshPages();
}

void Form7::mnuExit_Click() {
    reject();
}

void Form7::PrintReport() {
    PrintTarget target = printTarget_;
    target.documentName = documentName_;
    const std::optional<PrintFault> fault = PrintReportJob(
        target, {printFamilies_, printOrientation_, copies_}, reportLines_, OpenPrinter);
    if (!fault) {
        ShowMessage(this, QStringLiteral("列印完畢"));
        return;
    }
    // A printer that failed is said with its reason when it gave one, and the window closes.
    if (fault->printerFailed) {
        ShowMessage(this, fault->detail.isEmpty() ? QStringLiteral("列印失敗")
                                                  : QStringLiteral("列印失敗：") + fault->detail);
        reject();
        return;
    }
    // A PDF file that was refused or could not be written is said with the reason, and the window
    // stays for another choice; an earlier file of that name is as it was.
    ShowMessage(this, QStringLiteral("列印失敗：") + fault->detail, MsgButtons::Ok,
                MsgIcon::Critical);
}

}  // namespace paysum
