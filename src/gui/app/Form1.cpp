#include "app/Form1.h"

#include "app/ProgramPicture.h"
#include "app/frmAbout.h"
#include "app/frmGuide.h"
#include "batch/Form2.h"
#include "batch/frmImport.h"
#include "common/CheckDigits.h"
#include "common/Clock.h"
#include "common/Version.h"
#include "data/BankName.h"
#include "data/DataControl.h"
#include "data/DataFolder.h"
#include "data/DatabaseCopy.h"
#include "data/FileReplacement.h"
#include "data/PayRunHistory.h"
#include "history/frmHistory.h"
#include "output/Form3.h"
#include "output/Form7.h"
#include "output/frmVerify.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "print/Fonts.h"
#include "reference/Form5.h"
#include "reference/Form6.h"
#include "staff/Form4.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace paysum {

namespace {

const QString kTitleOpen = QStringLiteral("整批PAYSUM");
const QString kTitleClosing = QStringLiteral("程式即將關閉  !!");

QPushButton* MenuButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(380, 34);
    button->setStyleSheet(QStringLiteral("text-align: left; padding-left: 14px;"));
    return button;
}

}  // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setFont(UiFont());
    setAttribute(Qt::WA_DeleteOnClose);
    createDataControls();
    createLayout();
    createMenus();
}

Form1::~Form1() = default;

void Form1::createDataControls() {
    Adodc1 = new DataControl(this);
    Adodc1->setObjectName(QStringLiteral("Adodc1"));
    Adodc2 = new DataControl(this);
    Adodc2->setObjectName(QStringLiteral("Adodc2"));
}

void Form1::createLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProgramPicture(72));
    Label1 = new QLabel(QString::fromLatin1(kAppTitle) + QString(7, u' '), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(UiFont(24));
    Label2 = new QLabel(central);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(MingFont(11));
    Label2->setMinimumHeight(48);
    Label2->setTextFormat(Qt::PlainText);

    // The button captions are set as the window loads; the trailing full-width spaces are part
    // of them.
    Command1 =
        MenuButton(central, QStringLiteral("Command1"), QStringLiteral("1. 基本資料建檔　　"));
    Command2 =
        MenuButton(central, QStringLiteral("Command2"), QStringLiteral("2. 員工資料建檔　　"));
    Command3 =
        MenuButton(central, QStringLiteral("Command3"), QStringLiteral("3. 薪資轉帳資料輸入"));
    Command4 =
        MenuButton(central, QStringLiteral("Command4"), QStringLiteral("4. 列印薪資轉帳明細"));
    Command5 = MenuButton(central, QStringLiteral("Command5"),
                          QStringLiteral("5. 產生整批薪資轉帳檔　　"));
    Command6 = MenuButton(central, QStringLiteral("Command6"),
                          QStringLiteral("6. 產生另一批新的薪資轉帳"));
    Command7 = MenuButton(central, QStringLiteral("Command7"),
                          QStringLiteral("7. 金融機購代碼檔維護　　"));
    Command8 = MenuButton(central, QStringLiteral("Command8"), QStringLiteral("8. 結束"));

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);

    auto* heading = new QHBoxLayout;
    heading->addWidget(Image1);
    heading->addWidget(Label1, 1);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    for (QPushButton* button :
         {Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8})
        buttons->addWidget(button);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addLayout(buttons);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(24, 16, 24, 24);
    layout->addLayout(heading);
    layout->addWidget(Label2);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    resize(560, 560);
}

void Form1::createMenus() {
    mnuSystem = menuBar()->addMenu(QStringLiteral("系統(&S)"));
    mnuSystem->setObjectName(QStringLiteral("mnuSystem"));
    mnuSaveIn = mnuSystem->addAction(QStringLiteral("回存資料"));
    mnuSaveIn->setObjectName(QStringLiteral("mnuSaveIn"));
    mnuSaveOut = mnuSystem->addAction(QStringLiteral("備份資料"));
    mnuSaveOut->setObjectName(QStringLiteral("mnuSaveOut"));
    connect(mnuSaveIn, &QAction::triggered, this, &Form1::mnuSaveIn_Click);
    connect(mnuSaveOut, &QAction::triggered, this, &Form1::mnuSaveOut_Click);
    mnuLine3 = mnuSystem->addSeparator();
    mnuLine3->setObjectName(QStringLiteral("mnuLine3"));
    mnuImportStaff = mnuSystem->addAction(QStringLiteral("匯入員工資料…"));
    mnuImportStaff->setObjectName(QStringLiteral("mnuImportStaff"));
    mnuUpdateStaff = mnuSystem->addAction(QStringLiteral("以試算表更新員工資料…"));
    mnuUpdateStaff->setObjectName(QStringLiteral("mnuUpdateStaff"));
    mnuImportItem = mnuSystem->addAction(QStringLiteral("匯入轉帳資料…"));
    mnuImportItem->setObjectName(QStringLiteral("mnuImportItem"));
    mnuVerify = mnuSystem->addAction(QStringLiteral("驗證轉帳檔…"));
    mnuVerify->setObjectName(QStringLiteral("mnuVerify"));
    connect(mnuImportStaff, &QAction::triggered, this, &Form1::mnuImportStaff_Click);
    connect(mnuImportItem, &QAction::triggered, this, &Form1::mnuImportItem_Click);
    connect(mnuUpdateStaff, &QAction::triggered, this,
            [this] { ImportSpreadsheet(ImportKind::Employees, ImportOptions{true}); });
    mnuHistory = mnuSystem->addAction(QStringLiteral("薪資轉帳歷史資料…"));
    mnuHistory->setObjectName(QStringLiteral("mnuHistory"));
    connect(mnuVerify, &QAction::triggered, this, &Form1::mnuVerify_Click);
    connect(mnuHistory, &QAction::triggered, this, &Form1::mnuHistory_Click);
    mnuLine1 = mnuSystem->addSeparator();
    mnuLine1->setObjectName(QStringLiteral("mnuLine1"));
    mnuExit = mnuSystem->addAction(QStringLiteral("離開"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("說明(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuWord = mnuHelp->addAction(QStringLiteral("文件說明"));
    mnuWord->setObjectName(QStringLiteral("mnuWord"));
    mnuLine2 = mnuHelp->addSeparator();
    mnuLine2->setObjectName(QStringLiteral("mnuLine2"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("關於    PAYSUM(&A)"));
    mnuAbout->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout, &QAction::triggered, this, &Form1::mnuAbout_Click);
    connect(mnuWord, &QAction::triggered, this, &Form1::mnuWord_Click);
}

bool Form1::Form_Load() {
    if (!OpenDatabaseFile(MainDatabasePath(), DatabaseFile::Main) ||
        !OpenDatabaseFile(BranchDatabasePath(), DatabaseFile::Branch))
        return false;
    for (DataControl* control : {Adodc1, Adodc2}) {
        control->SetConnectionString(MainDatabasePath());
        if (DbResult error = control->PointAt(QStringLiteral("S_BASE"))) {
            ShowOpenFailure(*error, MainDatabasePath());
            return false;
        }
    }
    return true;
}

bool Form1::OpenDatabaseFile(const QString& path, DatabaseFile file) {
    switch (PrepareDatabaseFile(path)) {
        case FileState::Missing:
            ShowMessage(
                this, QStringLiteral("找不到資料庫,資料遺失\r\n") + QDir::toNativeSeparators(path),
                MsgButtons::Ok, MsgIcon::Critical, kTitleOpen);
            return false;
        case FileState::NotUsable:
            ShowMessage(this, QStringLiteral("資料庫開啟出錯"), MsgButtons::Ok, MsgIcon::None,
                        kTitleClosing);
            return false;
        case FileState::ReadOnly:
            ShowReadOnlyDatabase(this, path);
            return false;
        case FileState::Usable:
            break;
    }
    if (DbResult error = CheckDatabaseFile(path, file)) {
        ShowOpenFailure(*error, path);
        return false;
    }
    // The main window reads a few rows; the pages of the whole file stay on disk until needed.
    ReleaseReadPages(path);
    return true;
}

void Form1::ShowOpenFailure(const DbError& error, const QString& path) {
    if (error.kind == DbErrorKind::ReadOnly) {
        ShowReadOnlyDatabase(this, path);
        return;
    }
    // The database's own error number first, when it gave one.
    if (error.nativeCode != 0)
        ShowMessage(this, QString::number(error.nativeCode));
    ShowMessage(this, QStringLiteral("資料庫開啟出錯"), MsgButtons::Ok, MsgIcon::None,
                kTitleClosing);
}

void Form1::Form_Activate() {
    MenuRefresh();
}

void Form1::SetBatchButtonsEnabled(bool enabled) {
    for (QPushButton* button : {Command4, Command5, Command6})
        button->setEnabled(enabled);
}

void Form1::MenuRefresh() {
    const DbResult baseError = Adodc1->PointAt(QStringLiteral("S_BASE"));
    if (baseError || Adodc1->Recordset().AtEOF()) {
        Command3->setEnabled(false);
        SetBatchButtonsEnabled(false);
        ShowMessage(this, baseError ? QStringLiteral("不可預期的錯誤")
                                    : QStringLiteral("無基本資料，請先建檔。"));
        return;
    }
    Command3->setEnabled(true);
    SetBatchButtonsEnabled(true);

    const Recordset& base = Adodc1->Recordset();
    const QString branch = base.Field(0);
    const QString company = base.Field(1);
    const QString digit = BranchCheckDigit(QStringLiteral("004") + branch);
    const QString name = BankNameOf(QStringLiteral("004") + branch + digit);
    Label2->setText(QStringLiteral("轉  帳  分  行： 004-") + branch + u'-' + digit +
                    QString(6, u' ') + name + QStringLiteral("\r\n企  業  名  稱  ： ") + company);

    const DbResult itemError = Adodc1->PointAt(QStringLiteral("S_ITEM"));
    SetBatchButtonsEnabled(!itemError && !Adodc1->Recordset().AtEOF());
}

void Form1::OpenModal(QDialog& window) {
    RunModal(window);
    Form_Activate();
}

bool Form1::HasTransferRecords(const QString& emptyMessage) {
    if (!Adodc1->PointAt(QStringLiteral("S_ITEM")) && !Adodc1->Recordset().AtEOF())
        return true;
    ShowMessage(this, emptyMessage);
    return false;
}

void Form1::Command1_Click() {
    // The activation after the company window refreshes the menu, which also covers a stored
    // company record (LookupResult "5").
    Form5 window(this);
    OpenModal(window);
}

void Form1::Command2_Click() {
    Form4 window(this);
    OpenModal(window);
}

void Form1::Command3_Click() {
    Form2 window(this);
    OpenModal(window);
}

void Form1::Command4_Click() {
    if (!HasTransferRecords(QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 ")))
        return;
    Form7 window(this);
    OpenModal(window);
}

void Form1::Command5_Click() {
    if (!HasTransferRecords(QStringLiteral("無薪資轉帳資料,請建置薪資轉帳資料 Data")))
        return;
    Form3 window(this);
    OpenModal(window);
}

void Form1::Command6_Click() {
    const MsgAnswer answer =
        ShowMessage(this, QStringLiteral("\r\n\r\n舊的薪資轉帳資料已存在,是否刪除之？\r\n\r\n"),
                    MsgButtons::YesNo, MsgIcon::None,
                    QStringLiteral("6. 產生另一批新的薪資轉帳資料"), MsgAnswer::No);
    if (answer != MsgAnswer::Yes)
        return;
    qint64 archived = 0;
    if (ArchiveAndClearBatch(Now(), &archived)) {
        ShowMessage(this, QStringLiteral("不可預期的錯誤"));
    } else {
        UnloadDataWindows();
        ShowMessage(this, archived > 0
                              ? QStringLiteral("已歸檔為第 %1 批，並產生新的一批").arg(archived)
                              : QStringLiteral("已產生新的一批"));
    }
    MenuRefresh();
}

void Form1::Command7_Click() {
    if (!form6_)
        form6_ = std::make_unique<Form6>(this);
    OpenModal(*form6_);
}

void Form1::Command8_Click() {
    close();
}

void Form1::mnuExit_Click() {
    close();
}

void Form1::mnuAbout_Click() {
    frmAbout about(this);
    OpenModal(about);
}

void Form1::mnuWord_Click() {
    const QString page = GuidePage();
    if (page.isEmpty()) {
        ShowMessage(this,
                    QStringLiteral("找不到文件說明，請重新安裝 PAYSUM。\r\n") +
                        QDir::toNativeSeparators(GuideFolders().first()),
                    MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("文件說明"));
        return;
    }
    frmGuide guide(page, this);
    OpenModal(guide);
}

void Form1::mnuImportStaff_Click() {
    ImportSpreadsheet(ImportKind::Employees);
}

void Form1::mnuImportItem_Click() {
    ImportSpreadsheet(ImportKind::Transfers);
}

void Form1::ImportSpreadsheet(ImportKind kind, const ImportOptions& options) {
    const QString title = frmImport::TitleOf(kind, options);
    FileDialogRequest request;
    request.title = title;
    request.filters = QStringLiteral("試算表 (*.csv *.txt *.xlsx *.ods);;所有檔案 (*)");
    const QString path = ShowFileDialog(this, request);
    if (path.isEmpty())
        return;
    // A workbook of several sheets: the clerk says which one.
    ImportOptions chosen = options;
    chosen.chooseSheet = [&](const QStringList& sheets) {
        return frmImport::ChooseSheet(this, title, sheets);
    };
    ImportFile sheet = PrepareImportFile(path, kind, chosen);
    if (sheet.cancelled)
        return;
    if (sheet.read == FileReadOutcome::CannotOpen) {
        ShowMessage(this, QStringLiteral("無法開啟檔案 ") + path, MsgButtons::Ok, MsgIcon::Critical,
                    title);
        return;
    }
    if (!sheet.readError.isEmpty() || !sheet.error.isEmpty()) {
        ShowMessage(this, sheet.readError.isEmpty() ? sheet.error : sheet.readError, MsgButtons::Ok,
                    MsgIcon::Critical, title);
        return;
    }
    frmImport window(kind, path, std::move(sheet), this);
    OpenModal(window);
    MenuRefresh();
}

void Form1::mnuVerify_Click() {
    const QString title = QStringLiteral("驗證轉帳檔");
    FileDialogRequest request;
    request.title = title;
    request.filters = QStringLiteral("轉帳檔 (*.txt);;所有檔案 (*)");
    const QString path = ShowFileDialog(this, request);
    if (path.isEmpty())
        return;
    const Verification verification = VerifyFile(path, CompareBatch::WhenAny);
    if (!verification.readError.isEmpty()) {
        ShowMessage(this, verification.readError, MsgButtons::Ok, MsgIcon::Critical, title);
        return;
    }
    frmVerify window(path, verification, this);
    OpenModal(window);
}

void Form1::mnuHistory_Click() {
    // A run brought back changes the batch, so the menu is refreshed once the window closes.
    frmHistory window(this);
    OpenModal(window);
}

void Form1::mnuSaveOut_Click() {
    const QString source = MainDatabasePath();
    FileDialogRequest request;
    // A save dialog, since the backup usually gets a name that does not exist yet.
    request.mode = FileDialogRequest::Mode::Save;
    request.title = QStringLiteral("選擇要備份的資料檔");
    request.folder = QDir::homePath();
    request.filters = QStringLiteral("目的資料 (*.db)");
    request.defaultSuffix = QStringLiteral("db");
    QString target;
    for (;;) {
        target = ShowFileDialog(this, request);
        if (target.isEmpty())
            return;
        // Nothing but the program's own files is ever written in the data folder.
        if (!IsSameFile(target, source) && !LandsInDataFolder(target))
            break;
        ShowMessage(this, QStringLiteral("備份檔案錯誤：目的檔案與來源檔案相同"), MsgButtons::Ok,
                    MsgIcon::Critical,
                    QStringLiteral("備份檔案錯誤 ") + QDir::toNativeSeparators(source));
    }
    CopyWithWindowsClosed([&] { return CopyDatabase(source, target); },
                          QStringLiteral("備份檔案失敗!!"),
                          QStringLiteral("備份完成：") + QDir::toNativeSeparators(target));
}

void Form1::mnuSaveIn_Click() {
    const QString title = QStringLiteral("警告!!回存資料");
    const QString target = MainDatabasePath();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = QStringLiteral("選擇要回存的資料檔");
    request.folder = QDir::homePath();
    request.filters = QStringLiteral("來源資料 (*.db)");
    QString source;
    for (;;) {
        const MsgAnswer answer =
            ShowMessage(this,
                        QStringLiteral("警告!!\r\n"
                                       "      回存資料來源,不正確時會造成無法挽回的錯誤\r\n"
                                       "      回存資料後,原本資料會被覆蓋,無法提供使用查詢\r\n"
                                       "請問是否還要執行"),
                        MsgButtons::YesNo, MsgIcon::Exclamation, title, MsgAnswer::No);
        if (answer != MsgAnswer::Yes)
            return;
        source = ShowFileDialog(this, request);
        if (source.isEmpty())
            return;
        if (!IsSameFile(source, target))
            break;
        ShowMessage(this, QStringLiteral("回存檔案錯誤：目的檔案與來源檔案相同"), MsgButtons::Ok,
                    MsgIcon::Critical,
                    QStringLiteral("回存檔案錯誤 ") + QDir::toNativeSeparators(target));
    }
    // A file whose data does not fit this program never replaces the current one.
    if (CheckRestoreSource(source)) {
        ShowMessage(this, QStringLiteral("回存資料來源不正確，未回存"), MsgButtons::Ok,
                    MsgIcon::Critical, title);
        return;
    }
    CopyWithWindowsClosed([&] { return RestoreDatabase(source, target); },
                          QStringLiteral("回存檔案失敗!!"), QStringLiteral("回存完成"));
}

void Form1::UnloadDataWindows() {
    // The other function windows are unloaded as they close; only the bank code window is kept.
    form6_.reset();
}

void Form1::CopyWithWindowsClosed(const std::function<DbResult()>& copy, const QString& failure,
                                  const QString& done) {
    // Hidden, not closed: closing the main window would end the program.
    Reloading = true;
    hide();
    UnloadDataWindows();
    Reloading = false;

    const DbResult copied = copy();

    // The window comes back as if loaded anew, so no caption of replaced data stays.
    Label2->clear();
    show();
    ShowMessage(this, copied ? failure : done);
    if (!Form_Load()) {
        close();
        return;
    }
    Form_Activate();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!Reloading)
        QCoreApplication::quit();
}

}  // namespace paysum
