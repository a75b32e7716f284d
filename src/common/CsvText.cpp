#include "common/CsvText.h"

#include <csv.h>
#include <unicode/ucnv.h>

#include <memory>

namespace paysum {

namespace {

// Converts with ICU's converter of that name, refusing any byte sequence it does not map.
std::optional<QString> Convert(const char* converterName, const QByteArray& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(converterName, &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status))
        return std::nullopt;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    QString text(bytes.size() + 1, Qt::Uninitialized);
    const int32_t length = ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()), bytes.constData(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

// Gathers the records libcsv reports, with the line each one starts on.
struct Collector {
    std::vector<CsvRecord> records;
    QStringList fields;
    int line = 0;       // the line being fed
    int startLine = 0;  // the line the open record starts on
    bool open = false;
};

void EndField(void* data, std::size_t length, void* context) {
    auto* collector = static_cast<Collector*>(context);
    collector->fields << QString::fromUtf8(static_cast<const char*>(data),
                                           static_cast<qsizetype>(length));
}

void EndRecord(int, void* context) {
    auto* collector = static_cast<Collector*>(context);
    bool blank = true;
    for (const QString& field : collector->fields)
        blank = blank && field.isEmpty();
    if (!blank)
        collector->records.push_back({collector->startLine, collector->fields});
    collector->fields.clear();
    collector->open = false;
}

}  // namespace

std::optional<DecodedText> DecodeSpreadsheetText(const QByteArray& bytes) {
    if (bytes.contains('\0'))
        return std::nullopt;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        std::optional<QString> text = Convert("UTF-8", bytes.mid(3));
        if (!text)
            return std::nullopt;
        return DecodedText{*text, TextEncoding::Utf8};
    }
    if (std::optional<QString> text = Convert("UTF-8", bytes))
        return DecodedText{*text, TextEncoding::Utf8};
    if (std::optional<QString> text = Convert("windows-950", bytes))
        return DecodedText{*text, TextEncoding::Big5};
    return std::nullopt;
}

std::optional<std::vector<CsvRecord>> ParseCsv(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0)
        return std::nullopt;
    Collector collector;
    // Fed a line at a time, so that each record knows the line it starts on; the parser keeps
    // a quoted field open across lines.
    qsizetype from = 0;
    bool ok = true;
    while (ok && from < bytes.size()) {
        qsizetype to = bytes.indexOf('\n', from);
        to = to < 0 ? bytes.size() : to + 1;
        ++collector.line;
        if (!collector.open) {
            const QByteArray content = bytes.mid(from, to - from).trimmed();
            if (!content.isEmpty()) {
                collector.startLine = collector.line;
                collector.open = true;
            }
        }
        const std::size_t length = static_cast<std::size_t>(to - from);
        ok = csv_parse(&parser, bytes.constData() + from, length, EndField, EndRecord,
                       &collector) == length;
        from = to;
    }
    ok = ok && csv_fini(&parser, EndField, EndRecord, &collector) == 0;
    csv_free(&parser);
    if (!ok)
        return std::nullopt;
    return std::move(collector.records);
}

}  // namespace paysum
