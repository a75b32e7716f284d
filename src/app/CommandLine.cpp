#include "app/CommandLine.h"

#include "batch/BatchDateChecks.h"
#include "batch/SpreadsheetImport.h"
#include "common/RocDate.h"
#include "common/Version.h"
#include "data/DataFolder.h"
#include "data/Database.h"
#include "data/PayRunHistory.h"
#include "output/BatchFile.h"
#include "output/BatchWarnings.h"
#include "output/ReportPrint.h"
#include "output/TransferFileCheck.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/InstanceLock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace paysum {

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void Say(std::FILE* stream, const QString& text) {
    std::fputs((text + u'\n').toUtf8().constData(), stream);
}

int Fail(const QString& text) {
    Say(stderr, QStringLiteral("paysum: ") + text);
    return kFailed;
}

// A name's bytes, those that are not printable ASCII written as \xHH.
QString Escaped(const QByteArray& bytes) {
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7f)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x") +
                    QString::number(value, 16).toUpper().rightJustified(2, u'0');
    }
    return text;
}

QString VersionText() {
    return QString::fromLatin1(kVersion);
}

// The data folder a command works on must hold a sound main database; a command never creates
// one.
std::optional<QString> CheckDataFolder() {
    const QString path = MainDatabasePath();
    if (PrepareDatabaseFile(path) != FileState::Usable)
        return QStringLiteral("資料檔 %1 不存在或無法寫入").arg(path);
    if (DbResult error = CheckDatabaseFile(path, DatabaseFile::Main))
        return QStringLiteral("資料檔 %1 無法使用：%2").arg(path, error->message);
    return std::nullopt;
}

// A file the clerk named that was not written, and why.
int WriteFailure(const QString& path, const QString& detail) {
    if (path.isEmpty())
        return Fail(detail);
    return Fail(detail.isEmpty() ? QStringLiteral("無法寫入 %1").arg(path)
                                 : QStringLiteral("無法寫入 %1：%2").arg(path, detail));
}

int ReportWrite(const QString& path, const BatchFileResult& result);

int Export(const QString& path) {
    Batch batch;
    if (DbResult error = ReadBatch(&batch))
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
    if (!ReadBatchWarnings(&warnings)) {
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

int ListPdf(const QString& path) {
    Report report;
    if (DbResult error = ReadDetailReport(0, Today(), &report))
        return Fail(QStringLiteral("資料庫讀取錯誤：") + error->message);
    if (std::optional<PrintFault> fault = PrintReportJob(
            PrintTarget{{}, path}, {MingFont().families(), QPageLayout::Portrait, 1}, report.lines))
        return WriteFailure(path, fault->detail);
    return 0;
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

int Import(const QString& what, const QString& path, bool dryRun) {
    ImportKind kind;
    if (what == u"employees")
        kind = ImportKind::Employees;
    else if (what == u"transfers")
        kind = ImportKind::Transfers;
    else
        return Fail(QStringLiteral("import 之後應為 employees 或 transfers"));
    const ImportFile file = PrepareImportFile(path, kind);
    if (!file.readError.isEmpty())
        return Fail(file.readError);
    if (!file.error.isEmpty())
        return Fail(QStringLiteral("%1: %2").arg(path, file.error));
    for (const ImportRow& row : file.rows) {
        if (!row.error.isEmpty())
            Say(stderr, QStringLiteral("%1:%2: %3").arg(path).arg(row.line).arg(row.error));
    }
    const int errors = file.ErrorCount();
    const QString counts = QStringLiteral("%1：%2 筆可匯入，%3 筆錯誤")
                               .arg(ImportKindName(kind))
                               .arg(file.ValidCount())
                               .arg(errors);
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

void DescribeCommands(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "PAYSUM salary credit transfers. Without arguments the windows start; with a command it\n"
        "runs without windows on the same data folder ($PAYSUM_DATA_DIR).\n\n"
        "Commands:\n"
        "  export FILE                         write the batch transfer file of the current batch\n"
        "  list --pdf FILE                     write the transfer detail list as a PDF\n"
        "  verify FILE [--json] [--batch]      check a batch transfer file\n"
        "  import employees|transfers CSV [--dry-run]\n"
        "                                      import a spreadsheet's rows\n"
        "  history [--json]                    list the archived pay runs, newest first: run,\n"
        "                                      login date, transfer date, count, total, batch\n"
        "                                      file written (or -), archived at; tab-separated\n"
        "  history export N FILE               write archived run N's batch transfer file again,\n"
        "                                      refused when it would differ from the one written"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("pdf"), QStringLiteral("list: the PDF file to write."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("json"),
                      QStringLiteral("verify, history: report as JSON on standard output.")});
    parser.addOption({QStringLiteral("batch"),
                      QStringLiteral("verify: also compare the file with the current batch.")});
    parser.addOption(
        {QStringLiteral("dry-run"), QStringLiteral("import: check and report, write nothing.")});
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("export, list, verify, import or history."));
    parser.addPositionalArgument(QStringLiteral("arguments"),
                                 QStringLiteral("The command's file names."),
                                 QStringLiteral("[...]"));
}

int RunParsed(QCommandLineParser& parser) {
    const QStringList arguments = parser.positionalArguments();
    const QString command = arguments.value(0);
    const auto wants = [&](qsizetype count) { return arguments.size() == count; };
    const bool dryRun = parser.isSet(QStringLiteral("dry-run"));
    bool known = true;
    bool writes = false;
    if (command == u"export")
        known = wants(2), writes = true;
    else if (command == u"list")
        known = wants(1) && parser.isSet(QStringLiteral("pdf")), writes = true;
    else if (command == u"verify")
        known = wants(2);
    else if (command == u"import")
        known = wants(3), writes = !dryRun;
    else if (command == u"history" && arguments.value(1) == u"export")
        known = wants(4) && RunNumber(arguments[2]) > 0, writes = true;
    else if (command == u"history")
        known = wants(1);
    else
        known = false;
    if (!known) {
        Say(stderr, QStringLiteral("paysum: 不明的命令或參數不符；請看 paysum --help"));
        return kUsage;
    }

    // Checking a file on its own needs no data at all.
    const bool readsData = command != u"verify" || parser.isSet(QStringLiteral("batch"));
    if (!readsData)
        return Verify(arguments[1], parser.isSet(QStringLiteral("json")), false);
    TightenDataFolder(DataFolderPath());
    if (const std::optional<QString> fault = CheckDataFolder())
        return Fail(*fault);
    InstanceLock lock(DataFolderPath(), InstanceLock::Holder::Command);
    const InstanceLock::Outcome locked = lock.TryLock();
    if ((locked == InstanceLock::Outcome::HeldByOther ||
         locked == InstanceLock::Outcome::HeldByCommand) &&
        writes)
        return Fail(QStringLiteral("PAYSUM 正在使用資料夾 %1，請先關閉程式；未寫入任何資料")
                        .arg(DataFolderPath()));
    if (locked == InstanceLock::Outcome::CannotWrite && writes)
        return Fail(QStringLiteral("資料夾 %1 無法寫入；未寫入任何資料").arg(DataFolderPath()));

    int status = kFailed;
    if (command == u"export")
        status = Export(arguments[1]);
    else if (command == u"list")
        status = ListPdf(parser.value(QStringLiteral("pdf")));
    else if (command == u"verify")
        status = Verify(arguments[1], parser.isSet(QStringLiteral("json")),
                        parser.isSet(QStringLiteral("batch")));
    else if (command == u"history" && arguments.size() == 4)
        status = HistoryExport(RunNumber(arguments[2]), arguments[3]);
    else if (command == u"history")
        status = History(parser.isSet(QStringLiteral("json")));
    else
        status = Import(arguments[1], arguments[2], dryRun);
    CloseAllConnections();
    return status;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
    if (argc <= 1)
        return -1;
    // File names are the system's bytes; one that cannot be held as text exactly would name
    // another file, so it is refused.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QByteArray native(argv[i]);
        arguments << QFile::decodeName(native);
        if (QFile::encodeName(arguments.back()) != native) {
            Say(stderr, QStringLiteral("paysum: 檔名含有無法辨識的位元組：") + Escaped(native));
            return kFailed;
        }
    }
    // Qt's own notes (a missing runtime folder, a font fallback) are English and tell the clerk
    // nothing; what goes wrong is said by the command itself.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            Say(stderr, text);
    });
    QCommandLineParser parser;
    DescribeCommands(parser);
    const bool parsed = parser.parse(arguments);

    // Only the PDF list draws text; every other command needs no display at all.
    const bool drawing = parsed && parser.positionalArguments().value(0) == u"list";
    std::unique_ptr<QCoreApplication> app;
    if (drawing) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QCoreApplication::setApplicationVersion(VersionText());

    if (!parsed) {
        Say(stderr, QStringLiteral("paysum: ") + parser.errorText());
        return kUsage;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        Say(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        Say(stdout, QStringLiteral("PAYSUM ") + VersionText());
        return 0;
    }
    return RunParsed(parser);
}

}  // namespace paysum
