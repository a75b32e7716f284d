#include "cli/Commands.h"

#include "batch/BatchDateChecks.h"
#include "batch/SpreadsheetImport.h"
#include "common/Clock.h"
#include "common/RocDate.h"
#include "data/PayRunHistory.h"
#include "output/BatchFile.h"
#include "output/BatchWarnings.h"
#include "output/TransferFileCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace paysum {

namespace {

constexpr int kFailed = 1;

int ReportWrite(const QString& path, const BatchFileResult& result);

int Export(const QString& path) {
    Batch batch;
    std::vector<PayeeCheck> checks;
    if (DbResult error = ReadBatch(&batch, &checks))
        return Fail(QStringLiteral("資料庫讀取錯誤：") + error->message);
    // A file of a header alone would tell the bank of no transfer at all.
    if (batch.payees.empty())
        return Fail(QStringLiteral("無薪資轉帳資料"));
    if (batch.header.loginDate.isEmpty())
        return Fail(QStringLiteral("尚未輸入登錄日期與轉帳日期"));
    if (const std::optional<BatchDateRefusal> refusal = CheckBatchDates(
            batch.header.loginDate, batch.header.transferDate, RocToday(0, Today())))
        return Fail(refusal->message);
    // Without a clerk to answer, what looks wrong is said and the file written all the same.
    QStringList warnings;
    if (!ReadBatchWarnings(checks, &warnings)) {
        for (const QString& warning : warnings)
            Say(stderr, QStringLiteral("paysum: 注意：") + warning);
    }
    const BatchFileResult result = WriteCurrentBatchFile(path, batch);
    return ReportWrite(path, result);
}

// Tells how writing a batch file ended; 0 when it was written and, for the current batch,
// recorded with it.
int ReportWrite(const QString& path, const BatchFileResult& result) {
    switch (result.outcome) {
        case BatchFileOutcome::Written:
            Say(stdout, QStringLiteral("產生完畢：%1 筆，總金額 %2")
                            .arg(result.file.count)
                            .arg(result.file.total));
            if (!result.recordError.isEmpty()) {
                Say(stderr,
                    QStringLiteral("paysum: 注意：轉帳檔未能記入本批資料：") + result.recordError);
                return kFailed;
            }
            return 0;
        case BatchFileOutcome::DataFault:
            return Fail(QStringLiteral("資料不全,建檔錯誤：") + result.detail);
        case BatchFileOutcome::WriteFailed:
            return WriteFailure(path, result.detail);
        case BatchFileOutcome::Mismatch:
            return Fail(QStringLiteral("轉帳檔讀回比對不符：") + result.detail);
        case BatchFileOutcome::NotAsRecorded:
            return Fail(result.detail + QStringLiteral("，未產生"));
    }
    return kFailed;
}

// A value of a listed run, "-" when there is none, so that no field of a line is empty.
QString OrDash(const QString& value) {
    return value.isEmpty() ? QStringLiteral("-") : value;
}

QJsonValue FileJson(const WrittenFile& file) {
    if (file.IsEmpty())
        return QJsonValue::Null;
    return QJsonObject{
        {QStringLiteral("name"), file.name},     {QStringLiteral("size"), file.size},
        {QStringLiteral("sha256"), file.sha256}, {QStringLiteral("count"), file.count},
        {QStringLiteral("total"), file.total},   {QStringLiteral("writtenAt"), file.writtenAt},
    };
}

// The archived runs, newest first: a line each, its values separated by tabs, or a JSON array.
int History(bool json) {
    std::vector<PayRunSummary> runs;
    if (DbResult error = ReadPayRuns(&runs))
        return Fail(QStringLiteral("資料庫讀取錯誤：") + error->message);
    if (json) {
        QJsonArray list;
        for (const PayRunSummary& run : runs)
            list.append(QJsonObject{
                {QStringLiteral("run"), run.run},
                {QStringLiteral("archivedAt"), run.archivedAt},
                {QStringLiteral("loginDate"), run.loginDate},
                {QStringLiteral("transferDate"), run.transferDate},
                {QStringLiteral("count"), run.count},
                {QStringLiteral("total"), run.total},
                {QStringLiteral("file"), FileJson(run.file)},
            });
        std::fputs(QJsonDocument(list).toJson(QJsonDocument::Indented).constData(), stdout);
        return 0;
    }
    for (const PayRunSummary& run : runs)
        Say(stdout,
            QStringList{QString::number(run.run), OrDash(run.loginDate), OrDash(run.transferDate),
                        QString::number(run.count), QString::number(run.total),
                        run.file.IsEmpty() ? QStringLiteral("-") : run.file.name, run.archivedAt}
                .join(u'\t'));
    return 0;
}

// Writes an archived run's batch file again, only as it was written then.
int HistoryExport(qint64 run, const QString& path) {
    PayRun payRun;
    bool kept = false;
    if (DbResult error = ReadPayRun(run, &payRun, &kept))
        return Fail(QStringLiteral("資料庫讀取錯誤：") + error->message);
    if (!kept)
        return Fail(QStringLiteral("沒有第 %1 批已歸檔的薪資轉帳資料").arg(run));
    return ReportWrite(path, RewritePayRunFile(path, payRun));
}

// A run number as typed: a positive whole number, else 0.
qint64 RunNumber(const QString& text) {
    bool ok = false;
    const qint64 run = text.toLongLong(&ok);
    const bool digits = !text.isEmpty() &&
                        std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    return ok && digits && run > 0 ? run : 0;
}

int Verify(const QString& path, bool json, bool withBatch) {
    const Verification verification =
        VerifyFile(path, withBatch ? CompareBatch::Always : CompareBatch::Never);
    if (!verification.readError.isEmpty())
        return Fail(verification.readError);
    const FileCheck& check = verification.check;
    const std::vector<FileFault>& faults = verification.faults;
    if (json) {
        QJsonArray list;
        for (const FileFault& fault : faults)
            list.append(QJsonObject{{QStringLiteral("line"), fault.line},
                                    {QStringLiteral("message"), fault.text}});
        const QJsonObject result{
            {QStringLiteral("file"), path},
            {QStringLiteral("ok"), faults.empty()},
            {QStringLiteral("records"), check.detailTotals.count},
            {QStringLiteral("total"), check.detailTotals.total},
            {QStringLiteral("faults"), list},
        };
        std::fputs(QJsonDocument(result).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        for (const FileFault& fault : faults)
            Say(stderr, QStringLiteral("%1:%2: %3").arg(path).arg(fault.line).arg(fault.text));
        if (faults.empty())
            Say(stdout, QStringLiteral("檢查無誤：%1 筆，總金額 %2")
                            .arg(check.detailTotals.count)
                            .arg(check.detailTotals.total));
    }
    return faults.empty() ? 0 : kFailed;
}

// What the import of the rows of a file is told.
struct ImportRequest {
    QString what;
    QString path;
    bool dryRun = false;
    bool update = false;
    bool acceptQuestionMarks = false;
    QString sheet;
};

int Import(const ImportRequest& request) {
    const QString& path = request.path;
    ImportKind kind;
    if (request.what == u"employees")
        kind = ImportKind::Employees;
    else if (request.what == u"transfers")
        kind = ImportKind::Transfers;
    else
        return Fail(QStringLiteral("import 之後應為 employees 或 transfers"));
    if (request.update && kind != ImportKind::Employees)
        return Fail(QStringLiteral("--update 只用於匯入員工資料（import employees）"));
    ImportFile file = PrepareImportFile(path, kind, ImportOptions{request.update, request.sheet});
    if (!file.readError.isEmpty())
        return Fail(file.readError);
    if (!file.error.isEmpty())
        return Fail(QStringLiteral("%1: %2").arg(path, file.error));
    // Without a clerk to ask, a name that may have lost a character is taken only when told to.
    if (!request.acceptQuestionMarks)
        RefuseDoubtfulNames(file.rows, QStringLiteral("；確定無誤時請加 --accept-question-marks"));
    int updates = 0;
    for (const ImportRow& row : file.rows) {
        const QString at = QStringLiteral("%1:%2: ").arg(path).arg(row.line);
        if (!row.error.isEmpty()) {
            Say(stderr, at + row.error);
            continue;
        }
        if (row.update) {
            ++updates;
            Say(stdout,
                at + QStringLiteral("更新 %1：%2%3")
                         .arg(row.code,
                              row.Detail().changes.isEmpty()
                                  ? QStringLiteral("無變更")
                                  : row.Detail().changes.join(QStringLiteral("，")),
                              row.accountChanged ? QStringLiteral("（帳號變更）") : QString()));
        }
        for (const QString& note : row.Detail().notes)
            Say(stdout, at + QStringLiteral("注意：") + note);
    }
    const int errors = file.ErrorCount();
    QString counts =
        QStringLiteral("%1：%2 筆可匯入").arg(ImportKindName(kind)).arg(file.ValidCount());
    if (request.update)
        counts += QStringLiteral("（新增 %1 筆，更新 %2 筆）")
                      .arg(file.ValidCount() - updates)
                      .arg(updates);
    counts += QStringLiteral("，%1 筆錯誤").arg(errors);
    const bool dryRun = request.dryRun;
    // Without a clerk to say so, a file with errors is never imported in part.
    if (dryRun || errors > 0) {
        Say(dryRun ? stdout : stderr,
            counts + (dryRun ? QStringLiteral("（未寫入）") : QStringLiteral("，未匯入任何資料")));
        return errors > 0 ? kFailed : 0;
    }
    if (DbResult error = WriteImport(kind, file.rows))
        return Fail(QStringLiteral("寫入資料庫失敗，未匯入任何資料：") + error->message);
    Say(stdout, QStringLiteral("已匯入%1 %2 筆").arg(ImportKindName(kind)).arg(file.ValidCount()));
    return 0;
}

int RunExport(const Invocation& invocation) {
    return Export(invocation.arguments[0]);
}

int RunVerify(const Invocation& invocation) {
    return Verify(invocation.arguments[0], invocation.Has(QStringLiteral("json")),
                  invocation.Has(QStringLiteral("batch")));
}

int RunImport(const Invocation& invocation) {
    return Import({invocation.arguments[0], invocation.arguments[1],
                   invocation.Has(QStringLiteral("dry-run")),
                   invocation.Has(QStringLiteral("update")),
                   invocation.Has(QStringLiteral("accept-question-marks")),
                   invocation.Value(QStringLiteral("sheet"))});
}

int RunHistory(const Invocation& invocation) {
    return History(invocation.Has(QStringLiteral("json")));
}

int RunHistoryExport(const Invocation& invocation) {
    return HistoryExport(RunNumber(invocation.arguments[0]), invocation.arguments[1]);
}

CommandOption JsonOption() {
    return {QStringLiteral("json"), {}, QStringLiteral("以 JSON 輸出到標準輸出")};
}

}  // namespace

QString Command::Synopsis() const {
    QStringList parts = words;
    parts += arguments;
    for (const CommandOption& option : options) {
        const QString typed = QStringLiteral("--") + option.name +
                              (option.valueName.isEmpty() ? QString() : u' ' + option.valueName);
        parts << (option.name == requiredOption ? typed : u'[' + typed + u']');
    }
    return parts.join(u' ');
}

const CommandOption* Command::Option(const QString& name) const {
    const auto found =
        std::find_if(options.begin(), options.end(),
                     [&](const CommandOption& option) { return option.name == name; });
    return found == options.end() ? nullptr : &*found;
}

bool Command::TakesArguments(const QStringList& given) const {
    return given.size() == arguments.size() && (!validArguments || validArguments(given));
}

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands{
        {.words = {QStringLiteral("export")},
         .arguments = {QStringLiteral("FILE")},
         .use = DataUse::Writes,
         .summary = QStringLiteral("產生本批的轉帳檔"),
         .help = QStringLiteral("把本批薪資轉帳資料寫成銀行的轉帳檔 FILE，並記入本批資料。"),
         .run = RunExport},
        {.words = {QStringLiteral("list")},
         .options = {{QStringLiteral("pdf"), QStringLiteral("FILE"),
                      QStringLiteral("寫成的 PDF 檔")}},
         .requiredOption = QStringLiteral("pdf"),
         .use = DataUse::Writes,
         .summary = QStringLiteral("把轉帳明細表存成 PDF"),
         .help = QStringLiteral("把本批的轉帳明細表，依員工代碼排列，存成 PDF 檔 FILE。"),
         .helper = "paysum-pdf"},
        {.words = {QStringLiteral("verify")},
         .arguments = {QStringLiteral("FILE")},
         .options = {JsonOption(),
                     {QStringLiteral("batch"), {}, QStringLiteral("並與本批資料比對")}},
         .use = DataUse::None,
         .useOption = QStringLiteral("batch"),
         .useWithOption = DataUse::Reads,
         .summary = QStringLiteral("檢查轉帳檔"),
         .help = QStringLiteral("依銀行的格式逐筆檢查轉帳檔 FILE，說出每一個錯誤所在的行。"),
         .run = RunVerify},
        {.words = {QStringLiteral("import")},
         .arguments = {QStringLiteral("employees|transfers"), QStringLiteral("FILE")},
         .options = {{QStringLiteral("dry-run"), {}, QStringLiteral("只檢查並報告，不寫入")},
                     {QStringLiteral("update"),
                      {},
                      QStringLiteral(
                          "員工資料檔已有的代碼，以試算表的資料更新（只用於 employees）")},
                     {QStringLiteral("accept-question-marks"),
                      {},
                      QStringLiteral("姓名含有「?」的資料也匯入")},
                     {QStringLiteral("sheet"), QStringLiteral("NAME"),
                      QStringLiteral(".xlsx 或 .ods 檔要匯入的工作表（預設第一個）")}},
         .use = DataUse::Writes,
         .useOption = QStringLiteral("dry-run"),
         .useWithOption = DataUse::Reads,
         .summary = QStringLiteral("匯入試算表的資料"),
         .help = QStringLiteral("把試算表（.xlsx、.ods，或存成的 CSV、Tab 分隔、UTF-16 文字檔）匯入"
                                "員工資料（employees）或本批的轉帳資料（transfers）。有任何一列錯誤"
                                "時，全部不匯入。更新的員工逐筆列出"
                                "改變的欄位；本批的轉帳資料不因更新而改變。"),
         .run = RunImport},
        {.words = {QStringLiteral("history")},
         .options = {JsonOption()},
         .summary = QStringLiteral("列出已歸檔的各批，新的在前"),
         .help =
             QStringLiteral("列出已歸檔的各批，新的在前，每批一行，以 Tab 分隔：批號、登錄日期、"
                            "轉帳日期、筆數、總金額、轉帳檔（沒有時為 -）、歸檔時間。"),
         .run = RunHistory},
        {.words = {QStringLiteral("history"), QStringLiteral("export")},
         .arguments = {QStringLiteral("N"), QStringLiteral("FILE")},
         .use = DataUse::Writes,
         .summary = QStringLiteral("再次產生第 N 批的轉帳檔"),
         .help =
             QStringLiteral("把已歸檔的第 N 批再寫成轉帳檔 FILE；與當時產生的檔案不同時，不產生。"),
         .validArguments = [](const QStringList& arguments) { return RunNumber(arguments[0]) > 0; },
         .run = RunHistoryExport},
    };
    return commands;
}

}  // namespace paysum
