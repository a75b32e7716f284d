// Speed and memory of reading a workbook of 100,000 employees, .xlsx and .ods, as the import reads
// it: every row handed on as it is read and kept, as the import keeps its rows (keep:1), or
// dropped, for what the reader itself takes (keep:0). The workbooks are
// made at the start, as a spreadsheet program lays them out (text in shared strings, numbers as
// values, a formatted empty cell at the end of each row). Run one alone under /usr/bin/time -v
// (--benchmark_filter=Xlsx or Ods) for the peak memory; `peak_MB` says the same from inside.

#include "batch/SpreadsheetImport.h"
#include "common/Memory.h"
#include "common/SheetFile.h"
#include "data/DataFolder.h"
#include "data/Database.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <functional>

using namespace paysum;

namespace {

constexpr int kRows = 100'000;
const char* const kNames[] = {"陳美玲", "王小明", "林志豪", "張淑芬", "李建宏",
                              "黃雅婷", "吳俊傑", "劉怡君", "蔡宗翰", "楊佳穎"};

QByteArray Code(int row) {
    return QByteArray::number(row).rightJustified(5, '0');
}
QByteArray Account(int row) {
    return "0040010" + QByteArray::number(row).rightJustified(5, '0');
}

// An archive whose part `name` is written a piece at a time by `write`, with the small parts
// given before it.
QByteArray Archive(const std::vector<std::pair<QString, QByteArray>>& small, const QString& name,
                   const std::function<void(QIODevice&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto& [part, bytes] : small) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(part));
        file.write(bytes);
        file.close();
    }
    QuaZipFile file(&zip);
    file.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
    write(file);
    file.close();
    zip.close();
    return buffer.data();
}

QByteArray Xlsx() {
    // Shared strings: the headings, the names, then each row's code and account.
    QByteArray shared = "<sst>";
    const char* const headings[] = {"員工代碼", "員工帳號", "員工薪資", "員工姓名", "存單號碼"};
    for (const char* text : headings)
        shared += QByteArray("<si><t>") + text + "</t></si>";
    for (const char* text : kNames)
        shared += QByteArray("<si><t>") + text + "</t></si>";
    for (int row = 1; row <= kRows; ++row)
        shared += "<si><t>" + Code(row) + "</t></si><si><t>" + Account(row) + "</t></si>";
    shared += "</sst>";
    return Archive(
        {{QStringLiteral("xl/workbook.xml"),
          "<workbook xmlns:r='r'><sheets><sheet name='員工' sheetId='1' r:id='rId1'/></sheets>"
          "</workbook>"},
         {QStringLiteral("xl/_rels/workbook.xml.rels"),
          "<Relationships><Relationship Id='rId1' Target='worksheets/sheet1.xml'/>"
          "</Relationships>"},
         {QStringLiteral("xl/sharedStrings.xml"), shared}},
        QStringLiteral("xl/worksheets/sheet1.xml"), [](QIODevice& out) {
            out.write("<worksheet><sheetData><row r='1'>");
            for (int column = 0; column < 5; ++column)
                out.write("<c r='" + QByteArray(1, char('A' + column)) + "1' t='s'><v>" +
                          QByteArray::number(column) + "</v></c>");
            out.write("</row>");
            for (int row = 1; row <= kRows; ++row) {
                const QByteArray r = QByteArray::number(row + 1);
                const int code = 15 + 2 * (row - 1);
                out.write(
                    "<row r='" + r + "'><c r='A" + r + "' s='2' t='s'><v>" +
                    QByteArray::number(code) + "</v></c><c r='B" + r + "' s='2' t='s'><v>" +
                    QByteArray::number(code + 1) + "</v></c><c r='C" + r + "' s='3' t='n'><v>" +
                    QByteArray::number(30000 + row % 5000) + "</v></c><c r='D" + r + "' t='s'><v>" +
                    QByteArray::number(5 + row % 10) + "</v></c><c r='E" + r + "' t='n'><v>" +
                    QByteArray::number(10000000 + row) + "</v></c><c r='F" + r + "' s='4'/></row>");
            }
            out.write("</sheetData></worksheet>");
        });
}

QByteArray Ods() {
    const auto text = [](const QByteArray& value) {
        return "<table:table-cell office:value-type='string'><text:p>" + value +
               "</text:p></table:table-cell>";
    };
    const auto number = [](const QByteArray& value) {
        return "<table:table-cell office:value-type='float' office:value='" + value + "'><text:p>" +
               value + "</text:p></table:table-cell>";
    };
    return Archive(
        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"}},
        QStringLiteral("content.xml"), [&](QIODevice& out) {
            out.write(
                "<office:document-content xmlns:office='o' xmlns:table='t' xmlns:text='x'>"
                "<office:body><office:spreadsheet><table:table "
                "table:name='員工'><table:table-row>");
            for (const char* heading : {"員工代碼", "員工帳號", "員工薪資", "員工姓名", "存單號碼"})
                out.write(text(heading));
            out.write("</table:table-row>");
            for (int row = 1; row <= kRows; ++row)
                out.write("<table:table-row>" + text(Code(row)) + text(Account(row)) +
                          number(QByteArray::number(30000 + row % 5000)) + text(kNames[row % 10]) +
                          number(QByteArray::number(10000000 + row)) +
                          "<table:table-cell table:number-columns-repeated='1018'/>"
                          "</table:table-row>");
            out.write(
                "<table:table-row table:number-rows-repeated='948575'><table:table-cell "
                "table:number-columns-repeated='1024'/></table:table-row></table:table>"
                "</office:spreadsheet></office:body></office:document-content>");
        });
}

void Read100000(benchmark::State& state, const QByteArray& bytes) {
    std::size_t rows = 0;
    for (auto _ : state) {
        std::vector<CsvRecord> kept;
        kept.reserve(kRows + 1);
        rows = 0;
        const SheetRecords read = ReadSheet(bytes, {}, kRows + 1, 64, [&](CsvRecord&& record) {
            ++rows;
            if (state.range(0) != 0)
                kept.push_back(std::move(record));
            return true;
        });
        if (read.outcome != SheetOutcome::Read || rows != kRows + 1)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(kept.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / (1 << 20);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

void ReadXlsx100000(benchmark::State& state) {
    Read100000(state, Xlsx());
}
BENCHMARK(ReadXlsx100000)->ArgName("keep")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void ReadOds100000(benchmark::State& state) {
    Read100000(state, Ods());
}
BENCHMARK(ReadOds100000)->ArgName("keep")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The same 100,000 employees as text files the way spreadsheet programs save them.
QByteArray Text(char separator) {
    QByteArray text =
        QByteArray("員工代碼,員工帳號,員工薪資,員工姓名,存單號碼\r\n").replace(',', separator);
    for (int row = 1; row <= kRows; ++row)
        text += Code(row) + separator + Account(row) + separator + "\"45,000\"" + separator +
                kNames[row % 10] + separator + "\r\n";
    return text;
}

QByteArray Utf16(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

// What the import's preview holds: every row read, checked against an empty master and kept,
// for each format (0 .xlsx, 1 .ods, 2 comma CSV in UTF-8, 3 tab-separated, 4 UTF-16). Run one
// alone under /usr/bin/time -v for the peak memory (target: under 100 MB).
void PrepareImport100000(benchmark::State& state) {
    QTemporaryDir temp;
    qputenv("PAYSUM_DATA_DIR", (temp.path() + QStringLiteral("/data")).toUtf8());
    if (CreateDataFolder(DataFolderPath())) {
        state.SkipWithError("no data folder");
        return;
    }
    QByteArray bytes;
    switch (state.range(0)) {
        case 0:
            bytes = Xlsx();
            break;
        case 1:
            bytes = Ods();
            break;
        case 2:
            bytes = Text(',');
            break;
        case 3:
            bytes = Text('\t');
            break;
        default:
            bytes = Utf16(Text(','));
            break;
    }
    std::size_t rows = 0;
    for (auto _ : state) {
        const ImportFile file = PrepareImport(bytes, ImportKind::Employees);
        rows = file.rows.size();
        if (!file.error.isEmpty() || rows != kRows)
            state.SkipWithError("not read");
        benchmark::DoNotOptimize(file.rows.data());
    }
    CloseAllConnections();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(PrepareImport100000)
    ->ArgName("format")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
