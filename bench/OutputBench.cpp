// Speed of the batch output: the bank's file for the largest batch it holds, and the detail
// list for a batch of 7,400 transfers.

#include "output/DetailReport.h"
#include "output/TransferFile.h"
#include "print/Fonts.h"

#include <QApplication>
#include <QBuffer>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

using namespace paysum;

namespace {

std::vector<TransferItem> Items(int count) {
    std::vector<TransferItem> items;
    for (int i = 0; i < count; ++i) {
        items.push_back(TransferItem{QStringLiteral("123016456789"), QString::number(35000 + i),
                                     i % 2 ? QStringLiteral("00012345") : QString()});
    }
    return items;
}

std::vector<ReportRow> Rows(int count) {
    std::vector<ReportRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(ReportRow{QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')),
                                 QStringLiteral("123016456789"), QString::number(35000 + i),
                                 QStringLiteral("陳美玲"), QStringLiteral("00012345"),
                                 QStringLiteral("獎金")});
    }
    return rows;
}

const ReportHeader kHeader{
    QStringLiteral("大安實業股份有限公司"),
    QStringLiteral("0040129"),
    QStringLiteral("[大安分行]"),
    QStringLiteral("910505"),
    QStringLiteral("91/5/3"),
    {QStringLiteral("主管"), QStringLiteral("會計"), QStringLiteral("出納")}};

// Checking every value, building the records and writing them for 999 transfers.
void TransferFile999(benchmark::State& state) {
    const TransferHeader header{QStringLiteral("910503"), QStringLiteral("910505"),
                                QStringLiteral("123"), QStringLiteral("12345678"),
                                QStringLiteral("045")};
    const std::vector<TransferItem> items = Items(kMaxTransferRecords);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (CheckTransferFile(header, items) != TransferFault::None ||
            !WriteLines(buffer, TransferFileLines(header, items)))
            state.SkipWithError("refused");
        benchmark::DoNotOptimize(buffer.data().size());
    }
}
BENCHMARK(TransferFile999)->Unit(benchmark::kMillisecond);

// Laying out the preview and the print lines of 7,400 transfers.
void DetailList7400(benchmark::State& state) {
    const std::vector<ReportRow> rows = Rows(7400);
    for (auto _ : state) {
        const Report report = BuildReport(kHeader, rows);
        benchmark::DoNotOptimize(report.lines.size());
    }
}
BENCHMARK(DetailList7400)->Unit(benchmark::kMillisecond);

// Putting that preview into the report window's box.
void DetailPreview7400(benchmark::State& state) {
    const Report report = BuildReport(kHeader, Rows(7400));
    QPlainTextEdit box;
    box.setFont(MingFont());
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    for (auto _ : state)
        box.setPlainText(report.preview);
}
BENCHMARK(DetailPreview7400)->Unit(benchmark::kMillisecond);

}  // namespace
