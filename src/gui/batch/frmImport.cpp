#include "batch/frmImport.h"

#include "platform/MessageBox.h"
#include "platform/Modal.h"
#include "print/Fonts.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace paysum {

namespace {

// Below this many rows a write is over before a progress bar could be read.
constexpr int kProgressRows = 300;
// The rows a column's width is measured on; measuring all of a large file would take seconds.
constexpr int kMeasuredRows = 500;

// The rows of the file as the grid shows them, each cell made when it is painted, so that a file
// of many rows costs its rows and no more.
class ImportRowsModel : public QAbstractTableModel {
public:
    ImportRowsModel(const ImportFile& file, ImportKind kind, QObject* parent)
        : QAbstractTableModel(parent), file_(file), kind_(kind) {
        headings_ = QStringList{
            QStringLiteral("行號"),
            QStringLiteral("員工代碼"),
            QStringLiteral("員工帳號"),
            QStringLiteral("存單號碼"),
            kind == ImportKind::Employees ? QStringLiteral("員工薪資") : QStringLiteral("轉帳金額"),
            QStringLiteral("員工姓名")};
        if (kind == ImportKind::Transfers)
            headings_ << QStringLiteral("備註");
        headings_ << QStringLiteral("檢查結果");
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(file_.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headings_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid())
            return {};
        const ImportRow& row = file_.rows[static_cast<std::size_t>(index.row())];
        switch (role) {
            case Qt::DisplayRole:
                return Cell(row, index.column());
            case Qt::ForegroundRole:
                // Errors in red; what the clerk must look at before writing in brown.
                if (!row.error.isEmpty())
                    return QColor(0xC0, 0, 0);
                return row.accountChanged || row.doubtfulName ? QVariant(QColor(0xA0, 0x50, 0))
                                                              : QVariant();
            case Qt::TextAlignmentRole:
                return index.column() == 0 || index.column() == 4
                           ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                           : QVariant();
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return headings_.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QString Cell(const ImportRow& row, int column) const {
        if (kind_ == ImportKind::Employees && column >= 6)
            ++column;  // no remark column
        switch (column) {
            case 0:
                return QString::number(row.line);
            case 1:
                return row.code;
            case 2:
                return row.account;
            case 3:
                return row.certificate;
            case 4:
                return row.amount;
            case 5:
                return row.name;
            case 6:
                return QString(row.remark).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            default:
                return ImportVerdict(row, file_.options);
        }
    }

    const ImportFile& file_;
    ImportKind kind_;
    QStringList headings_;
};

}  // namespace

QString frmImport::ChooseSheet(QWidget* parent, const QString& title, const QStringList& names) {
    QInputDialog dialog(ModalOwner(parent));
    dialog.setObjectName(QStringLiteral("dlgSheet"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(
        QStringLiteral("這個試算表有 %1 個工作表，要匯入哪一個？").arg(names.size()));
    dialog.setComboBoxItems(names);
    dialog.setComboBoxEditable(false);
    dialog.setOkButtonText(QStringLiteral("確定"));
    dialog.setCancelButtonText(QStringLiteral("取消"));
    RunModal(dialog);
    return dialog.result() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString frmImport::TitleOf(ImportKind kind, const ImportOptions& options) {
    if (options.update)
        return QStringLiteral("以試算表更新") + ImportKindName(kind);
    return QStringLiteral("匯入") + ImportKindName(kind);
}

frmImport::frmImport(ImportKind kind, const QString& path, ImportFile file, QWidget* parent)
    : FunctionWindow(QStringLiteral("frmImport"), TitleOf(kind, file.options), parent),
      kind_(kind),
      path_(path),
      file_(std::move(file)) {
    createLayout();
    fillGrid();
}

void frmImport::createLayout() {
    Label1 = MakeHeading(TitleOf(kind_, file_.options));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setWordWrap(true);

    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid1->verticalHeader()->setVisible(false);
    Grid1->setFont(MingFont());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setVisible(false);

    QHBoxLayout* buttons =
        MakeButtonRow(QStringLiteral("Command1"), {QStringLiteral("匯入"), QStringLiteral("取消")},
                      Command1, [this](int index) { Command1_Click(index); });
    SetDefaultButton(Command1[0], {Grid1});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Grid1, 1);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    resize(980, 560);
}

void frmImport::fillGrid() {
    Grid1->setModel(new ImportRowsModel(file_, kind_, Grid1));
    Grid1->horizontalHeader()->setResizeContentsPrecision(kMeasuredRows);
    Grid1->resizeColumnsToContents();
    Grid1->horizontalHeader()->setStretchLastSection(true);

    const QString encoding = file_.sheet.isEmpty()
                                 ? EncodingName(file_.encoding)
                                 : QStringLiteral("工作表「%1」").arg(file_.sheet);
    Label2->setText(QStringLiteral("檔案：%1（%2）\n共 %3 筆：正確 %4 筆，錯誤 %5 筆")
                        .arg(path_, encoding)
                        .arg(file_.rows.size())
                        .arg(file_.ValidCount())
                        .arg(file_.ErrorCount()));
    Command1[0]->setEnabled(file_.ValidCount() > 0);
}

void frmImport::Command1_Click(int index) {
    if (index != 0) {
        reject();
        return;
    }
    const QString title = TitleOf(kind_, file_.options);
    const int valid = file_.ValidCount();
    if (valid == 0)
        return;
    if (file_.ErrorCount() > 0) {
        const MsgAnswer answer = ShowMessage(
            this,
            QStringLiteral("有 %1 筆資料錯誤，不會匯入。\r\n是否只匯入其餘 %2 筆正確的資料？\r\n"
                           "（選「否」則不匯入任何資料，可先修正檔案）")
                .arg(file_.ErrorCount())
                .arg(valid),
            MsgButtons::YesNo, MsgIcon::Question, title, MsgAnswer::No);
        if (answer != MsgAnswer::Yes)
            return;
    }
    const auto doubtful =
        std::count_if(file_.rows.begin(), file_.rows.end(),
                      [](const ImportRow& row) { return row.error.isEmpty() && row.doubtfulName; });
    if (doubtful > 0) {
        const MsgAnswer answer = ShowMessage(
            this,
            QStringLiteral("有 %1 筆的姓名含有「?」，可能是存檔時遺失的字。\r\n"
                           "確定這些姓名無誤，仍要匯入嗎？\r\n（選「否」則不匯入任何資料）")
                .arg(doubtful),
            MsgButtons::YesNo, MsgIcon::Question, title, MsgAnswer::No);
        if (answer != MsgAnswer::Yes)
            return;
    }

    std::function<void(int)> progress;
    if (file_.rows.size() > static_cast<std::size_t>(kProgressRows)) {
        int total = 0;
        for (const ImportRow& row : file_.rows) {
            if (row.error.isEmpty())
                total += kind_ == ImportKind::Transfers && row.newPayee ? 2 : 1;
        }
        ProgressBar1->setRange(0, total);
        ProgressBar1->setValue(0);
        ProgressBar1->setVisible(true);
        progress = [this](int written) {
            if (written % 100 != 0)
                return;
            ProgressBar1->setValue(written);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }
    for (QPushButton* button : Command1)
        button->setEnabled(false);
    const DbResult error = WriteImport(kind_, file_.rows, progress);
    ProgressBar1->setVisible(false);
    if (error) {
        ShowMessage(this, QStringLiteral("寫入資料庫失敗，未匯入任何資料。\r\n") + error->message,
                    MsgButtons::Ok, MsgIcon::Critical, title);
        reject();
        return;
    }
    const auto updates =
        std::count_if(file_.rows.begin(), file_.rows.end(),
                      [](const ImportRow& row) { return row.error.isEmpty() && row.update; });
    ShowMessage(this,
                file_.options.update
                    ? QStringLiteral("已更新%1：新增 %2 筆，更新 %3 筆")
                          .arg(ImportKindName(kind_))
                          .arg(valid - updates)
                          .arg(updates)
                    : QStringLiteral("已匯入%1 %2 筆").arg(ImportKindName(kind_)).arg(valid),
                MsgButtons::Ok, MsgIcon::None, title);
    accept();
}

}  // namespace paysum
