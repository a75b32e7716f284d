#include "output/BatchFile.h"

#include "common/Amounts.h"
#include "common/BoundedFile.h"
#include "common/Clock.h"
#include "common/TextRules.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/FileReplacement.h"
#include "data/TableRows.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <new>

namespace paysum {

QString Sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

BatchFileResult Failure(BatchFileOutcome outcome, const QString& detail) {
    BatchFileResult result;
    result.outcome = outcome;
    result.detail = detail;
    return result;
}

std::vector<TransferItem> Batch::Items() const {
    std::vector<TransferItem> items;
    items.reserve(payees.size());
    for (const BatchPayee& payee : payees)
        items.push_back(payee.item);
    return items;
}

namespace {

// The company's values from S_BASE's row.
void SetCompany(Batch* batch, const QStringList& base) {
    batch->hasCompany = true;
    batch->header.branch = base.value(0);
    batch->header.customerCode = base.value(2);
    batch->header.unifiedNo = base.value(3);
}

void SetDates(Batch* batch, const QString& loginDate, const QString& transferDate) {
    batch->header.loginDate = TrimBlanks(loginDate);
    batch->header.transferDate = TrimBlanks(transferDate);
}

// The transfers from S_ITEM's rows.
void SetPayees(Batch* batch, const QList<QStringList>& rows) {
    batch->payees.reserve(static_cast<std::size_t>(rows.size()));
    for (const QStringList& row : rows)
        batch->payees.push_back(
            {row.value(0), row.value(3), {row.value(1), row.value(2), row.value(4)}});
}

}  // namespace

DbResult ReadBatch(Batch* batch) {
    return ReadBatch(batch, nullptr);
}

DbResult ReadBatch(Batch* batch, std::vector<PayeeCheck>* checks) {
    *batch = Batch{};
    const QSqlDatabase db = Connection(MainDatabasePath());
    QList<QStringList> rows;
    if (DbResult error = ReadRows(db, QStringLiteral("S_BASE"), &rows))
        return error;
    if (!rows.isEmpty())
        SetCompany(batch, rows[0]);
    if (DbResult error = ReadRows(db, QStringLiteral("S_DAY"), &rows))
        return error;
    if (!rows.isEmpty())
        SetDates(batch, rows[0].value(0), rows[0].value(1));
    if (DbResult error = checks ? ReadItemsWithChecks(&rows, checks)
                                : ReadRows(db, QStringLiteral("S_ITEM"), &rows))
        return error;
    SetPayees(batch, rows);
    return std::nullopt;
}

Batch BatchOfRun(const PayRun& run) {
    Batch batch;
    SetCompany(&batch, run.company);
    SetDates(&batch, run.summary.loginDate, run.summary.transferDate);
    SetPayees(&batch, run.items);
    return batch;
}

QString TransferFaultText(TransferFault fault) {
    switch (fault) {
        case TransferFault::None:
            return {};
        case TransferFault::Date:
            return QStringLiteral("日期不是六位數字");
        case TransferFault::Branch:
            return QStringLiteral("分行代號不是三位數字");
        case TransferFault::UnifiedNo:
            return QStringLiteral("統一編號不是八位數字");
        case TransferFault::CustomerCode:
            return QStringLiteral("客戶代號不是三位數字");
        case TransferFault::Account:
            return QStringLiteral("有帳號不是 1 至 14 位數字");
        case TransferFault::Amount:
            return QStringLiteral("有金額不是 1 至 12 位數字");
        case TransferFault::Certificate:
            return QStringLiteral("有存單號碼不是八位數字");
        case TransferFault::TooManyRecords:
            return QStringLiteral("轉帳資料超過 %1 筆").arg(kMaxTransferRecords);
        case TransferFault::TotalTooLarge:
            return TotalTooLargeText();
    }
    return {};
}

BatchFileResult WriteBatchFile(const QString& path, bool hasCompany, const TransferHeader& header,
                               const std::vector<TransferItem>& items) {
    if (!hasCompany)
        return Failure(BatchFileOutcome::DataFault, QStringLiteral("尚未建立公司基本資料"));
    if (const TransferFault fault = CheckTransferFile(header, items); fault != TransferFault::None)
        return Failure(BatchFileOutcome::DataFault, TransferFaultText(fault));
    const QStringList lines = TransferFileLines(header, items);
    const QByteArray bytes = TransferFileBytes(lines);
    if (std::optional<QString> error = ReplaceClerkFile(path, bytes))
        return Failure(BatchFileOutcome::WriteFailed, *error);
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        return Failure(BatchFileOutcome::Mismatch,
                       QStringLiteral("無法讀回檔案：") + written.errorString());
    const QString difference = CompareWrittenFile(written.readAll(), lines);
    if (!difference.isEmpty())
        return Failure(BatchFileOutcome::Mismatch, difference);
    BatchFileResult result;
    const TransferTotals totals = TotalsOf(items);
    result.file = {QFileInfo(path).absoluteFilePath(),
                   bytes.size(),
                   Sha256Of(bytes),
                   totals.count,
                   totals.total,
                   Now().toString(kHistoryTimeFormat)};
    return result;
}

BatchFileResult WriteCurrentBatchFile(const QString& path, const Batch& batch) {
    BatchFileResult result = WriteBatchFile(path, batch.hasCompany, batch.header, batch.Items());
    if (result.outcome == BatchFileOutcome::Written) {
        if (DbResult error = RecordWrittenFile(result.file))
            result.recordError = error->message;
    }
    return result;
}

BatchFileResult RewritePayRunFile(const QString& path, const PayRun& run) {
    const Batch batch = BatchOfRun(run);
    const std::vector<TransferItem> items = batch.Items();
    const WrittenFile& then = run.summary.file;
    if (!then.IsEmpty() && CheckTransferFile(batch.header, items) == TransferFault::None) {
        const QByteArray bytes = TransferFileBytes(TransferFileLines(batch.header, items));
        if (bytes.size() != then.size || Sha256Of(bytes) != then.sha256)
            return Failure(BatchFileOutcome::NotAsRecorded,
                           QStringLiteral("本批資料與當時產生的轉帳檔不同"));
    }
    return WriteBatchFile(path, batch.hasCompany, batch.header, items);
}

namespace {

Verification VerifyBytes(const QString& path, CompareBatch withBatch) {
    Verification result;
    const FileRead read = ReadBoundedFile(path, kMostTransferFileBytes);
    if (read.outcome != FileReadOutcome::Read) {
        result.readError =
            FileReadError(read, path,
                          QStringLiteral("%1 超過 %2 位元組（%3 筆記錄），不是轉帳檔")
                              .arg(path)
                              .arg(kMostTransferFileBytes)
                              .arg(kMaxTransferRecords + 1));
        return result;
    }
    result.check = CheckTransferBytes(read.bytes, withBatch != CompareBatch::Never);
    result.faults = result.check.faults;
    if (withBatch == CompareBatch::Never)
        return result;
    Batch batch;
    if (DbResult error = ReadBatch(&batch)) {
        result.readError = QStringLiteral("資料庫讀取錯誤：") + error->message;
        return result;
    }
    if (withBatch == CompareBatch::WhenAny && batch.payees.empty())
        return result;
    result.comparedWithBatch = true;
    const std::vector<FileFault> differences =
        CompareWithBatch(result.check, batch.header, batch.payees);
    result.faults.insert(result.faults.end(), differences.begin(), differences.end());
    return result;
}

}  // namespace

Verification VerifyFile(const QString& path, CompareBatch withBatch) {
    // A file within the limits may still hold more than the memory there is.
    try {
        return VerifyBytes(path, withBatch);
    } catch (const std::bad_alloc&) {
        Verification result;
        result.readError = OutOfMemoryText(path);
        return result;
    }
}

}  // namespace paysum
