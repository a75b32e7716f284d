// The spreadsheet text: any bytes are decoded or refused at a line of the file, the text taken
// is UTF-8, and the records read from it, written out again as CSV, read back the same.
#include "common/CsvText.h"

#include "FuzzInput.h"

#include <QStringDecoder>

namespace {

constexpr std::size_t kMostRecords = 200;
constexpr int kMostFields = 16;

QByteArray Quoted(const QStringList& fields) {
    QStringList quoted;
    for (QString field : fields)
        quoted << u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return quoted.join(u',').toUtf8();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    const QByteArray file(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    const DecodedText decoded = DecodeSpreadsheetText(file);
    if (decoded.fault != DecodeFault::None) {
        const qint64 lines = file.count('\n') + file.count('\r') + 1;
        fuzz::Require(decoded.fault == DecodeFault::NotText ||
                          (decoded.faultLine >= 1 && decoded.faultLine <= lines),
                      "a refusal names a line of the file");
        return 0;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(decoded.utf8);
    fuzz::Require(!utf8.hasError() && text.toUtf8() == decoded.utf8, "the text is UTF-8");
    if (decoded.encoding == TextEncoding::Utf8)
        fuzz::Require(file.endsWith(decoded.utf8), "UTF-8 is taken as it is");
    if (decoded.encoding == TextEncoding::Utf16)
        fuzz::Require(!decoded.utf8.contains('\0'), "UTF-16 holds no NUL");

    const char separator = FieldSeparator(decoded.utf8);
    fuzz::Require(separator == ',' || separator == '\t' || separator == ';', "a known separator");
    const CsvRecords parsed = ParseCsv(decoded.utf8, kMostRecords, kMostFields, {}, separator);
    if (parsed.outcome != CsvOutcome::Read)
        return 0;
    int line = 0;
    QByteArray again;
    for (const CsvRecord& record : parsed.records) {
        fuzz::Require(record.line > line, "records start on later lines");
        fuzz::Require(record.fields.size() <= kMostFields, "at most the fields asked for");
        line = record.line;
        again += Quoted(record.fields) + "\r\n";
    }
    const CsvRecords reread = ParseCsv(again, kMostRecords, kMostFields);
    fuzz::Require(reread.outcome == CsvOutcome::Read, "written records read again");
    fuzz::Require(reread.records.size() == parsed.records.size(), "as many records");
    for (std::size_t i = 0; i < parsed.records.size(); ++i)
        fuzz::Require(reread.records[i].fields == parsed.records[i].fields, "the same fields");
    return 0;
}
