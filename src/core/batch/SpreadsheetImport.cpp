#include "batch/SpreadsheetImport.h"

#include "batch/TransferEntry.h"
#include "common/Amounts.h"
#include "common/Big5Text.h"
#include "common/BoundedFile.h"
#include "common/SheetFile.h"
#include "common/TextRules.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/SchemaTable.h"
#include "data/StaffStore.h"
#include "data/TableRows.h"
#include "staff/StaffEntry.h"

#include <algorithm>
#include <array>
#include <new>

namespace paysum {

namespace {

// The columns a file may name, in the order of S_ITEM.
enum Column { kCode, kAccount, kAmount, kName, kCertificate, kRemark, kColumnCount };

struct ColumnNames {
    QString caption;  // as the messages name the column
    QStringList names;
};

// The bank's batch file holds at most this many transfers.
constexpr int kMostTransfers = 999;

// The names are compared without blanks, full-width ones included, and without case.
QString Normalized(const QString& name) {
    QString result;
    for (QChar c : name) {
        if (c != u' ' && c != u'\u3000' && c != u'\t')
            result.append(c.toUpper());
    }
    return result;
}

const std::array<ColumnNames, kColumnCount>& Names() {
    static const std::array<ColumnNames, kColumnCount> names{{
        {QStringLiteral("員工代碼"), {QStringLiteral("員工代碼"), QStringLiteral("ID")}},
        {QStringLiteral("員工帳號"), {QStringLiteral("員工帳號"), QStringLiteral("ACTNO")}},
        {QStringLiteral("金額"),
         {QStringLiteral("員工薪資"), QStringLiteral("轉帳金額"), QStringLiteral("PAYSUM")}},
        {QStringLiteral("員工姓名"), {QStringLiteral("員工姓名"), QStringLiteral("NAME")}},
        {QStringLiteral("存單號碼"), {QStringLiteral("存單號碼"), QStringLiteral("AT")}},
        {QStringLiteral("備註"), {QStringLiteral("備註"), QStringLiteral("MARK")}},
    }};
    return names;
}

int ColumnOf(const QString& heading) {
    const QString name = Normalized(heading);
    for (int column = 0; column < kColumnCount; ++column) {
        if (Names()[column].names.contains(name))
            return column;
    }
    return -1;
}

QString AmountCaption(ImportKind kind) {
    return kind == ImportKind::Employees ? QStringLiteral("員工薪資") : QStringLiteral("轉帳金額");
}

QString Fault(const QString& caption, const QString& reason) {
    return caption + QStringLiteral("：") + reason;
}

QString Caption(ImportKind kind, Column column) {
    return column == kAmount ? AmountCaption(kind) : Names()[column].caption;
}

QString Fault(ImportKind kind, Column column, const QString& reason) {
    return Fault(Caption(kind, column), reason);
}

// The columns are in the order of S_ITEM, whose boxes the transfer entry names.
Column ColumnOfBox(TransferBox box) {
    for (int column = 0; column < kColumnCount; ++column) {
        if (BoxOfColumn(column) == box)
            return static_cast<Column>(column);
    }
    return kCode;
}

Column ColumnOfBox(StaffBox box) {
    switch (box) {
        case StaffBox::Code:
            return kCode;
        case StaffBox::Account:
            return kAccount;
        case StaffBox::Certificate:
            return kCertificate;
        case StaffBox::Pay:
            return kAmount;
        case StaffBox::Name:
            return kName;
    }
    return kCode;
}

// What a spreadsheet did to a number typed in a column of codes and numbers, said so that the
// clerk can mend the sheet: a value in scientific notation has lost digits, and a number cell
// has lost its leading zeros.
QString CheckNumberCells(ImportKind kind, const ImportRow& row) {
    if (!row.Detail().readFault.isEmpty())
        return row.Detail().readFault;
    const QString textFormat = QStringLiteral("；請把這一欄設成文字格式後重新存檔");
    static const QRegularExpression scientific(QStringLiteral("^[0-9](\\.[0-9]+)?E\\+[0-9]+$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const struct {
        Column column;
        const QString& value;
        int digits;  // what the number must have, 0 when any count will do
    } numbers[] = {{kCode, row.code, 0},
                   {kAccount, row.account, kAccountDigits},
                   {kCertificate, row.certificate, kCertificateDigits}};
    for (const auto& number : numbers) {
        if (scientific.match(number.value).hasMatch())
            return Fault(
                kind, number.column,
                QStringLiteral("試算表把這一欄存成科學記號（%1），數字已不完整").arg(number.value) +
                    textFormat);
        if (row.Detail().numberColumns.contains(number.column) && !number.value.isEmpty() &&
            number.value.size() < number.digits)
            return Fault(
                kind, number.column,
                QStringLiteral("試算表把這一欄存成數字（%1），開頭的 0 已遺失").arg(number.value) +
                    textFormat);
    }
    return {};
}

// What no box of the windows would take, told in the file's own words: what a spreadsheet did to
// a number, other characters than digits in the code, account and amount, control characters in
// the name and remark, and more than a box holds where the entry checks do not measure it.
QString CheckBoxLimits(ImportKind kind, const ImportRow& row) {
    if (QString fault = CheckNumberCells(kind, row); !fault.isEmpty())
        return fault;
    const QString notDigits = QStringLiteral("只能是數字");
    const QString tooLong = QStringLiteral("欄位超出");
    const QString controlCharacter = QStringLiteral("不可含控制字元");
    if (!row.code.isEmpty() && !IsDigits(row.code))
        return Fault(kind, kCode, notDigits);
    if (!row.account.isEmpty() && !IsDigits(row.account))
        return Fault(kind, kAccount, notDigits);
    if (const QString fault = ReadWrittenAmount(row.amount).fault; !fault.isEmpty())
        return Fault(kind, kAmount, fault);
    if (HoldsControlCharacter(row.name))
        return Fault(kind, kName, controlCharacter);
    if (HoldsControlCharacter(row.remark))
        return Fault(kind, kRemark, controlCharacter);
    if (kind == ImportKind::Transfers) {
        if (row.remark.toUcs4().size() > ColumnWidth("S_ITEM", "MARK"))
            return Fault(kind, kRemark, tooLong);
        return {};
    }
    if (row.account.size() > ColumnWidth("S_STAFF", "ACTNO"))
        return Fault(kind, kAccount, tooLong);
    if (row.amount.size() > ColumnWidth("S_STAFF", "PAYSUM"))
        return Fault(kind, kAmount, tooLong);
    // The transfer entry refuses a longer name, so the employee could not be paid.
    if (!FitsBytes(row.name, ColumnWidth("S_STAFF", "NAME")))
        return Fault(kind, kName, QStringLiteral("員工姓名超出欄位最大值"));
    return {};
}

// The confirm checks of the kind's entry window, with the column at fault and the window's text.
QString CheckEntry(ImportKind kind, const ImportRow& row) {
    if (kind == ImportKind::Employees) {
        const std::optional<EntryRefusal> refusal =
            CheckStaffEntry({row.code, row.account, row.certificate, row.amount, row.name});
        return refusal ? Fault(kind, ColumnOfBox(refusal->FaultBox()), refusal->text) : QString();
    }
    // The window proposes a temporary code before a payee without one is confirmed.
    const QString code = row.temporaryCode ? QString::number(kFirstTemporaryCode) : row.code;
    const std::optional<TransferRefusal> refusal =
        ValidateEntry({code, row.account, row.certificate, row.amount, row.name, row.remark});
    return refusal ? Fault(kind, ColumnOfBox(refusal->box), refusal->text) : QString();
}

// The checks of one row on its own: what the boxes would take, the entry window's confirm
// checks, then what only a file can hold; the first that fails. The code has been zero-filled.
QString CheckValues(ImportKind kind, const ImportRow& row) {
    QString fault = CheckBoxLimits(kind, row);
    if (fault.isEmpty())
        fault = CheckEntry(kind, row);
    if (!fault.isEmpty())
        return fault;
    // The windows empty the box of another account on screen; a file is told what it holds.
    if (CertificateToStore(row.account, row.certificate) != row.certificate)
        return Fault(kind, kCertificate, QStringLiteral("只有 016 帳號有存單號碼"));
    return {};
}

// A transfer to an employee takes the account, name and certificate number the master holds;
// a file that names others is refused rather than pay into an account the master does not know.
// As in the transfer entry, the employee's pay is the amount when the file gives none.
QString MatchEmployee(ImportRow& row, const QStringList& employee) {
    if (row.amount.isEmpty()) {
        row.amount = TrimBlanks(employee.value(2));
        row.EditDetail().notes << QStringLiteral("金額取自員工薪資");
    }
    const QString account = TrimBlanks(employee.value(1));
    const QString name = TrimBlanks(employee.value(3));
    const QString certificate = TrimBlanks(employee.value(4));
    if (row.account.isEmpty())
        row.account = account;
    if (row.name.isEmpty())
        row.name = name;
    if (row.certificate.isEmpty() && row.account == account)
        row.certificate = certificate;
    const QString differs = QStringLiteral("與員工資料檔不符");
    if (row.account != account)
        return Fault(ImportKind::Transfers, kAccount, differs);
    if (row.name != name)
        return Fault(ImportKind::Transfers, kName, differs);
    if (row.certificate != certificate)
        return Fault(ImportKind::Transfers, kCertificate, differs);
    return {};
}

// What an update changes in the master's row: "caption：old → new" for each value that differs.
void CompareWithMaster(ImportRow& row, const QStringList& employee) {
    const struct {
        Column column;
        int ordinal;
        const QString& value;
    } values[] = {{kAccount, 1, row.account},
                  {kAmount, 2, row.amount},
                  {kName, 3, row.name},
                  {kCertificate, 4, row.certificate}};
    for (const auto& value : values) {
        const QString old = TrimBlanks(employee.value(value.ordinal));
        if (old == value.value)
            continue;
        row.EditDetail().changes << QStringLiteral("%1：%2 → %3")
                                        .arg(Caption(ImportKind::Employees, value.column),
                                             old.isEmpty() ? QStringLiteral("（空白）") : old,
                                             value.value.isEmpty() ? QStringLiteral("（空白）")
                                                                   : value.value);
        row.accountChanged = row.accountChanged || value.column == kAccount;
    }
}

}  // namespace

const ImportRowDetail& ImportRow::Detail() const {
    static const ImportRowDetail kNone;
    return detail ? *detail : kNone;
}

ImportRowDetail& ImportRow::EditDetail() {
    if (!detail)
        detail = new ImportRowDetail;
    return *detail;
}

int ImportFile::ErrorCount() const {
    int count = 0;
    for (const ImportRow& row : rows)
        count += row.error.isEmpty() ? 0 : 1;
    return count;
}

QString ImportVerdict(const ImportRow& row, const ImportOptions& options) {
    if (!row.error.isEmpty())
        return row.error;
    QString verdict;
    if (row.update)
        verdict = row.Detail().changes.isEmpty()
                      ? QStringLiteral("更新（無變更）")
                      : QStringLiteral("更新：") + row.Detail().changes.join(QStringLiteral("，")) +
                            (row.accountChanged ? QStringLiteral("（帳號變更）") : QString());
    else if (options.update)
        verdict = QStringLiteral("新增");
    else if (row.temporaryCode)
        verdict = QStringLiteral("正確（暫時收款人代碼）");
    else if (row.newPayee)
        verdict = QStringLiteral("正確（新增至員工資料檔）");
    else
        verdict = QStringLiteral("正確");
    for (const QString& note : row.Detail().notes)
        verdict += QStringLiteral("；") + note;
    return verdict;
}

QString EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Big5:
            return QStringLiteral("Big5");
        case TextEncoding::Utf16:
            return QStringLiteral("UTF-16");
        case TextEncoding::Utf8:
            break;
    }
    return QStringLiteral("UTF-8");
}

QString ImportKindName(ImportKind kind) {
    return kind == ImportKind::Employees ? QStringLiteral("員工資料") : QStringLiteral("轉帳資料");
}

QString DecodeFaultText(const DecodedText& decoded) {
    if (decoded.fault == DecodeFault::NotText && decoded.encoding == TextEncoding::Utf16)
        return QStringLiteral("檔案含有空字元，不是 UTF-16 編碼的文字檔，無法匯入");
    const QString line = QStringLiteral("第 %1 行：").arg(decoded.faultLine);
    switch (decoded.fault) {
        case DecodeFault::None:
            return {};
        case DecodeFault::NotText:
            break;
        case DecodeFault::BadSequence:
            return line + QStringLiteral("不是正確的 %1 編碼，無法匯入")
                              .arg(EncodingName(decoded.encoding));
        case DecodeFault::MixedEncoding:
            return line + QStringLiteral("是 UTF-8 編碼，與檔案的 Big5 編碼不同，無法匯入");
    }
    return QStringLiteral("檔案不是 UTF-8、UTF-16 或 Big5 編碼的文字檔，無法匯入");
}

// The positions of the columns the headings name; the refusal when they name one twice or lack
// one the kind needs.
QString ReadHeadings(const CsvRecord& headings, ImportKind kind,
                     std::array<int, kColumnCount>* position) {
    position->fill(-1);
    for (int i = 0; i < headings.fields.size(); ++i) {
        const int column = ColumnOf(headings.fields[i]);
        if (column < 0)
            continue;
        if ((*position)[column] >= 0)
            return QStringLiteral("第 %1 行：欄位「%2」重複")
                .arg(headings.line)
                .arg(headings.fields[i]);
        (*position)[column] = i;
    }
    std::vector<Column> required{kAccount, kAmount, kName};
    if (kind == ImportKind::Employees)
        required.insert(required.begin(), kCode);
    for (Column column : required) {
        if ((*position)[column] < 0)
            return QStringLiteral("第 %1 行：缺少欄位「%2」")
                .arg(headings.line)
                .arg(Caption(kind, column));
    }
    return {};
}

ImportFile ReadImportFile(const QByteArray& bytes, ImportKind kind, const ImportOptions& options) {
    ImportFile file;
    file.options = options;
    const bool sheet = LooksLikeSheet(bytes);
    DecodedText decoded;
    if (!sheet) {
        decoded = DecodeSpreadsheetText(bytes);
        file.encoding = decoded.encoding;
        if (decoded.fault != DecodeFault::None) {
            file.error = DecodeFaultText(decoded);
            return file;
        }
        // Each record becomes its row as it is read, so that the records are never held whole;
        // room for a row a line is made at once, so that the rows are never moved.
        const qsizetype lines = std::max(decoded.utf8.count('\n'), decoded.utf8.count('\r')) + 1;
        file.rows.reserve(std::min(kMostImportRows, static_cast<std::size_t>(lines)));
    }
    bool headed = false;
    std::array<int, kColumnCount> position;
    const auto take = [&](CsvRecord&& record) {
        if (!headed) {
            headed = true;
            file.error = ReadHeadings(record, kind, &position);
            return file.error.isEmpty();
        }
        const auto value = [&](Column column) {
            return position[column] < 0 ? QString()
                                        : TrimBlanks(record.fields.value(position[column]));
        };
        ImportRow row;
        row.line = record.line;
        // A number cell of a workbook is read as its digits; what it lost is said when checked.
        const auto digits = [&](Column column, int width) {
            const QString text = value(column);
            const qsizetype field = position[column];
            if (field < 0 || static_cast<std::size_t>(field) >= record.numbers.size() ||
                !record.numbers[static_cast<std::size_t>(field)])
                return text;
            const QString whole = WholeNumberDigits(text, width);
            if (whole.isEmpty())
                row.EditDetail().readFault =
                    Fault(kind, column,
                          QStringLiteral("試算表把這一欄存成數字（%1），不是整數").arg(text));
            else
                row.EditDetail().numberColumns << column;
            return whole.isEmpty() ? text : whole;
        };
        row.code = digits(kCode, ColumnWidth("S_ITEM", "ID"));
        row.account = digits(kAccount, ColumnWidth("S_ITEM", "ACTNO"));
        row.certificate = digits(kCertificate, ColumnWidth("S_ITEM", "AT"));
        // An amount written as people write it is read as the whole number it means; one that
        // is none stays as it is, for its check to say why.
        row.amount = value(kAmount);
        if (const WrittenAmount amount = ReadWrittenAmount(row.amount); amount.fault.isEmpty())
            row.amount = amount.digits;
        row.name = value(kName);
        if (kind == ImportKind::Transfers)
            row.remark = value(kRemark);
        file.rows.push_back(std::move(row));
        return true;
    };
    // The headings' record and one per row.
    if (sheet) {
        const SheetRecords read =
            ReadSheet(bytes, options.sheet, kMostImportRows + 1, kMostImportFields, take);
        file.sheet = read.sheet;
        if (file.error.isEmpty()) {
            switch (read.outcome) {
                case SheetOutcome::Read:
                    break;
                case SheetOutcome::Refused:
                    file.error = read.error;
                    break;
                case SheetOutcome::TooManyRecords:
                    file.error = QStringLiteral("第 %1 列：檔案超過 %2 筆資料，無法匯入")
                                     .arg(read.line)
                                     .arg(kMostImportRows);
                    break;
                case SheetOutcome::TooManyFields:
                    file.error = QStringLiteral("第 %1 列：超過 %2 個欄位，無法匯入")
                                     .arg(read.line)
                                     .arg(kMostImportFields);
                    break;
            }
        }
        if (file.error.isEmpty() && !headed)
            file.error = QStringLiteral("工作表沒有資料");
        if (!file.error.isEmpty())
            file.rows.clear();
        return file;
    }
    const CsvRecords parsed = ParseCsv(decoded.utf8, kMostImportRows + 1, kMostImportFields, take,
                                       FieldSeparator(decoded.utf8));
    if (!file.error.isEmpty()) {
        file.rows.clear();
        return file;
    }
    switch (parsed.outcome) {
        case CsvOutcome::Read:
            break;
        case CsvOutcome::OpenQuote:
            file.error = QStringLiteral("檔案不是正確的 CSV 格式（引號不成對）");
            break;
        case CsvOutcome::TooManyRecords:
            file.error = QStringLiteral("第 %1 行：檔案超過 %2 筆資料，無法匯入")
                             .arg(parsed.line)
                             .arg(kMostImportRows);
            break;
        case CsvOutcome::TooManyFields:
            file.error = QStringLiteral("第 %1 行：超過 %2 個欄位，無法匯入")
                             .arg(parsed.line)
                             .arg(kMostImportFields);
            break;
    }
    if (file.error.isEmpty() && !headed)
        file.error = QStringLiteral("檔案沒有資料");
    if (!file.error.isEmpty())
        file.rows.clear();
    return file;
}

QString DoubtfulNameText() {
    return QStringLiteral("姓名含有「?」，可能是存檔時遺失的字");
}

void RefuseDoubtfulNames(std::vector<ImportRow>& rows, const QString& howToAccept) {
    for (ImportRow& row : rows) {
        if (row.error.isEmpty() && row.doubtfulName)
            row.error = Fault(Names()[kName].caption, DoubtfulNameText() + howToAccept);
    }
}

void CheckImportRows(ImportKind kind, std::vector<ImportRow>& rows, const ImportContext& context,
                     const ImportOptions& options) {
    QHash<QString, int> firstLine;
    for (ImportRow& row : rows) {
        row.error.clear();
        row.newPayee = false;
        row.update = false;
        row.accountChanged = false;
        if (row.detail) {
            row.detail->changes.clear();
            row.detail->notes.clear();
        }
        row.temporaryCode = kind == ImportKind::Transfers && row.code.isEmpty();
        if (!row.temporaryCode)
            row.code = PadZeroLeft(ColumnWidth("S_ITEM", "ID"), row.code);
        if (kind == ImportKind::Transfers && !row.temporaryCode) {
            const auto employee = context.employees.constFind(row.code);
            if (employee != context.employees.constEnd())
                row.error = MatchEmployee(row, *employee);
            else
                row.newPayee = true;
        }
        row.doubtfulName = row.name.contains(u'?') || row.name.contains(u'？');
        if (row.doubtfulName)
            row.EditDetail().notes << DoubtfulNameText();
        if (row.error.isEmpty())
            row.error = CheckValues(kind, row);
        if (row.temporaryCode)
            continue;
        const auto first = firstLine.constFind(row.code);
        if (first != firstLine.constEnd()) {
            if (row.error.isEmpty())
                row.error = Fault(kind, kCode, QStringLiteral("與第 %1 行重複").arg(*first));
            continue;
        }
        firstLine.insert(row.code, row.line);
        if (!row.error.isEmpty())
            continue;
        if (kind == ImportKind::Employees && context.employees.contains(row.code)) {
            if (!options.update) {
                row.error = Fault(kind, kCode, QStringLiteral("員工資料檔已有此代碼"));
                continue;
            }
            row.update = true;
            CompareWithMaster(row, context.employees.value(row.code));
            if (context.batchCodes.contains(row.code))
                row.EditDetail().notes << QStringLiteral("本批轉帳資料有此代碼，轉帳資料不變");
        } else if (kind == ImportKind::Transfers && context.batchCodes.contains(row.code))
            row.error = Fault(kind, kCode, CodeInBatchRefusal().text);
    }

    // Temporary payees take the smallest free temporary codes, after every code the file names.
    int next = kFirstTemporaryCode;
    for (ImportRow& row : rows) {
        if (!row.temporaryCode)
            continue;
        row.newPayee = true;
        while (next <= kLastTemporaryCode) {
            const QString code = QString::number(next);
            if (!context.employees.contains(code) && !context.batchCodes.contains(code) &&
                !firstLine.contains(code))
                break;
            ++next;
        }
        if (!row.error.isEmpty())
            continue;
        if (next > kLastTemporaryCode) {
            row.error = Fault(kind, kCode, TemporaryCodesUsedUpRefusal().text);
            continue;
        }
        row.code = QString::number(next++);
    }

    if (kind != ImportKind::Transfers)
        return;
    qsizetype transfers = context.batchCodes.size();
    qint64 total = context.batchTotal;
    for (ImportRow& row : rows) {
        if (!row.error.isEmpty())
            continue;
        if (++transfers > kMostTransfers) {
            row.error = QStringLiteral("本批轉帳資料已達 %1 筆").arg(kMostTransfers);
            continue;
        }
        // A row that would not fit the file's total is refused; the rows after it may still fit.
        if (const std::optional<TransferRefusal> refusal = CheckBatchTotal(total, row.amount)) {
            row.error = Fault(kind, ColumnOfBox(refusal->box), refusal->text);
            --transfers;
            continue;
        }
        total = AddAmounts(total, AmountOf(row.amount));
    }
}

DbResult ReadImportContext(ImportContext* context) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    QList<QStringList> staff;
    if (DbResult error = ReadRows(db, QStringLiteral("S_STAFF"), &staff))
        return error;
    QList<QStringList> items;
    if (DbResult error = ReadRows(db, QStringLiteral("S_ITEM"), &items))
        return error;
    context->employees.clear();
    context->employees.reserve(staff.size());
    for (QStringList& employee : staff)
        context->employees.insert(TrimBlanks(employee.value(0)), std::move(employee));
    context->batchCodes.clear();
    context->batchTotal = 0;
    for (const QStringList& item : items) {
        context->batchCodes.insert(TrimBlanks(item.value(0)));
        context->batchTotal = AddAmounts(context->batchTotal, AmountOf(item.value(2)));
    }
    return std::nullopt;
}

ImportFile PrepareImport(const QByteArray& bytes, ImportKind kind, const ImportOptions& options) {
    ImportFile file = ReadImportFile(bytes, kind, options);
    if (!file.error.isEmpty())
        return file;
    ImportContext context;
    if (DbResult error = ReadImportContext(&context)) {
        file.error = QStringLiteral("資料庫讀取錯誤：") + error->message;
        file.rows.clear();
        return file;
    }
    CheckImportRows(kind, file.rows, context, options);
    return file;
}

ImportFile PrepareImportFile(const QString& path, ImportKind kind, const ImportOptions& options) {
    const FileRead read = ReadBoundedFile(path, kMostImportBytes);
    if (read.outcome != FileReadOutcome::Read) {
        ImportFile file;
        file.read = read.outcome;
        file.readError = FileReadError(
            read, path,
            QStringLiteral("%1 超過 %2 MB，無法匯入").arg(path).arg(kMostImportBytes >> 20));
        return file;
    }
    // A file within the limits may still hold more than the memory there is.
    try {
        // The file keeps its options, but not who chose its sheet.
        ImportOptions chosen = options;
        chosen.chooseSheet = nullptr;
        if (options.chooseSheet && options.sheet.isEmpty() && LooksLikeSheet(read.bytes)) {
            if (const SheetNames sheets = ListSheets(read.bytes); sheets.names.size() > 1) {
                chosen.sheet = options.chooseSheet(sheets.names);
                if (chosen.sheet.isEmpty()) {
                    ImportFile file;
                    file.cancelled = true;
                    return file;
                }
            }
        }
        return PrepareImport(read.bytes, kind, chosen);
    } catch (const std::bad_alloc&) {
        ImportFile file;
        file.readError = OutOfMemoryText(path);
        return file;
    }
}

DbResult WriteImport(ImportKind kind, const std::vector<ImportRow>& rows,
                     const std::function<void(int)>& progress) {
    const QSqlDatabase db = Connection(MainDatabasePath());
    Transaction transaction(db);
    if (DbResult error = transaction.BeginError())
        return error;
    // Written a piece at a time, so that the rows are never copied whole.
    constexpr std::size_t kPiece = 1000;
    int written = 0;
    const auto count = [&](int inPiece) {
        if (progress)
            progress(written + inPiece);
    };
    // The employees updated, the employees added, the transfers added.
    enum class Part { Updates, Staff, Items };
    for (const Part part : {Part::Updates, Part::Staff, Part::Items}) {
        const QString table =
            part == Part::Items ? QStringLiteral("S_ITEM") : QStringLiteral("S_STAFF");
        QList<QStringList> piece;
        for (std::size_t r = 0; r <= rows.size(); ++r) {
            if (piece.size() == static_cast<qsizetype>(kPiece) || r == rows.size()) {
                if (DbResult error = part == Part::Updates
                                         ? UpdateRowsByKey(db, table, piece, count)
                                         : InsertRows(db, table, piece, count))
                    return error;
                written += static_cast<int>(piece.size());
                piece.clear();
            }
            if (r == rows.size())
                break;
            const ImportRow& row = rows[r];
            if (!row.error.isEmpty())
                continue;
            const QStringList employee{row.code, row.account, row.amount, row.name,
                                       row.certificate};
            if (part == Part::Updates && row.update && !row.Detail().changes.isEmpty())
                piece << employee;
            // A new payee is filed as the transfer entry files one: the amount becomes the pay.
            if (part == Part::Staff && !row.update &&
                (kind == ImportKind::Employees || row.newPayee))
                piece << employee;
            if (part == Part::Items && kind == ImportKind::Transfers)
                piece << QStringList{row.code, row.account,     row.amount,
                                     row.name, row.certificate, row.remark};
        }
    }
    return transaction.Commit();
}

}  // namespace paysum
