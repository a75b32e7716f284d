#include "common/CsvText.h"

#include <csv.h>
#include <unicode/ucnv.h>

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <memory>

namespace paysum {

namespace {

// Converted a piece at a time, so that the text costs no more than its UTF-8.
constexpr std::size_t kPiece = 1 << 16;

// Where the line that starts at `from` ends, past its CR LF, LF or CR.
qsizetype LineEnd(QByteArrayView bytes, qsizetype from) {
    const auto end = std::find_if(bytes.begin() + from, bytes.end(),
                                  [](char c) { return c == '\n' || c == '\r'; });
    if (end == bytes.end())
        return bytes.size();
    const qsizetype at = end - bytes.begin();
    return at + (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n' ? 2 : 1);
}

// Whether a line holds anything but its line break; the CSV parser skips only empty lines.
bool HoldsText(QByteArrayView line) {
    return std::any_of(line.begin(), line.end(), [](char c) { return c != '\r' && c != '\n'; });
}

// The line, counted from 1, that holds the byte at `offset`.
qint64 LineAt(QByteArrayView bytes, qsizetype offset) {
    qint64 line = 1;
    for (qsizetype from = LineEnd(bytes, 0); from <= offset && from < bytes.size();
         from = LineEnd(bytes, from))
        ++line;
    return line;
}

// Converts with ICU's converter of that name, stopping at the first byte sequence it does not
// map; appends the text to `utf8` when given. The offset of that sequence, or -1 when there is
// none.
qsizetype Convert(const char* converterName, QByteArrayView bytes, QByteArray* utf8) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, decltype(&ucnv_close)> converter(ucnv_open(converterName, &status),
                                                                 &ucnv_close);
    if (U_FAILURE(status))
        return 0;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    std::array<UChar, kPiece> piece;
    const char* source = bytes.data();
    const char* end = source + bytes.size();
    for (;;) {
        UChar* target = piece.data();
        status = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, piece.data() + piece.size(), &source, end, nullptr,
                       true, &status);
        if (utf8)
            utf8->append(QStringView(piece.data(), target - piece.data()).toUtf8());
        if (status == U_BUFFER_OVERFLOW_ERROR)
            continue;
        if (U_SUCCESS(status))
            return -1;
        std::array<char, 32> invalid;
        auto length = static_cast<int8_t>(invalid.size());
        UErrorCode ignored = U_ZERO_ERROR;
        ucnv_getInvalidChars(converter.get(), invalid.data(), &length, &ignored);
        return (source - bytes.data()) - (U_SUCCESS(ignored) ? length : 0);
    }
}

// True when the line is valid UTF-8 holding a character of three or four bytes, as every Chinese
// character is; Big5 text seldom is valid UTF-8, and hardly ever holds such a sequence.
bool LooksLikeUtf8(QByteArrayView line) {
    bool wide = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80)
            continue;
        int more = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + more >= line.size())
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(line[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        wide = wide || more >= 2;
        i += more;
    }
    return wide;
}

QByteArrayView LineAround(QByteArrayView bytes, qsizetype offset) {
    qsizetype start = 0;
    for (qsizetype end = LineEnd(bytes, 0); end <= offset && end < bytes.size();
         end = LineEnd(bytes, end))
        start = end;
    return bytes.sliced(start, LineEnd(bytes, start) - start);
}

DecodedText Refused(DecodeFault fault, TextEncoding encoding, qint64 line) {
    DecodedText result;
    result.encoding = encoding;
    result.fault = fault;
    result.faultLine = line;
    return result;
}

// UTF-16 after its byte order mark, little- or big-endian, as UTF-8; refused at the line of a
// surrogate without its pair. Lines end at LF, or at a CR not followed by LF.
DecodedText DecodeUtf16(QByteArrayView text, bool bigEndian) {
    const qsizetype units = text.size() / 2;
    const auto unit = [&](qsizetype i) -> char16_t {
        const auto first = static_cast<unsigned char>(text[2 * i]);
        const auto second = static_cast<unsigned char>(text[2 * i + 1]);
        return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    qint64 line = 1;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t c = unit(i);
        if (c == u'\n' || (c == u'\r' && (i + 1 >= units || unit(i + 1) != u'\n')))
            ++line;
        else if (c == 0)
            return Refused(DecodeFault::NotText, TextEncoding::Utf16, 0);
        else if (QChar::isHighSurrogate(c) && i + 1 < units && QChar::isLowSurrogate(unit(i + 1)))
            ++i;
        else if (QChar::isSurrogate(c))
            return Refused(DecodeFault::BadSequence, TextEncoding::Utf16, line);
    }
    if (text.size() % 2 != 0)
        return Refused(DecodeFault::BadSequence, TextEncoding::Utf16, line);
    QStringDecoder decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE,
                           QStringDecoder::Flag::Stateless);
    return {QString(decoder(text)).toUtf8(), TextEncoding::Utf16, DecodeFault::None, 0};
}

// Gathers the records libcsv reports, with the line each one starts on.
struct Collector {
    std::size_t mostRecords = 0;
    int mostFields = 0;
    const std::function<bool(CsvRecord&&)>* take = nullptr;
    std::size_t read = 0;
    bool stopped = false;
    std::vector<CsvRecord> records;
    QStringList fields;
    int line = 0;       // the line being fed
    int startLine = 0;  // the line the open record starts on
    bool open = false;
    CsvOutcome outcome = CsvOutcome::Read;
    QStringDecoder decoder{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom};
};

void EndField(void* data, std::size_t length, void* context) {
    auto* collector = static_cast<Collector*>(context);
    if (collector->fields.size() >= collector->mostFields) {
        if (collector->outcome == CsvOutcome::Read)
            collector->outcome = CsvOutcome::TooManyFields;
        return;
    }
    // A field that starts with U+FEFF keeps it; QString::fromUtf8() would take it for a byte
    // order mark and drop it.
    collector->fields << collector->decoder.decode(
        QByteArrayView(static_cast<const char*>(data), static_cast<qsizetype>(length)));
}

void EndRecord(int, void* context) {
    auto* collector = static_cast<Collector*>(context);
    bool blank = true;
    for (const QString& field : collector->fields)
        blank = blank && field.isEmpty();
    if (!blank && collector->outcome == CsvOutcome::Read && !collector->stopped) {
        if (collector->read++ == collector->mostRecords)
            collector->outcome = CsvOutcome::TooManyRecords;
        else if (*collector->take)
            collector->stopped =
                !(*collector->take)({collector->startLine, std::move(collector->fields), {}});
        else
            collector->records.push_back({collector->startLine, collector->fields, {}});
    }
    collector->fields.clear();
    collector->open = false;
}

}  // namespace

DecodedText DecodeSpreadsheetText(const QByteArray& bytes) {
    // What a spreadsheet program saves as "Unicode text" is UTF-16 with a byte order mark.
    if (bytes.startsWith("\xFF\xFE"))
        return DecodeUtf16(QByteArrayView(bytes).sliced(2), false);
    if (bytes.startsWith("\xFE\xFF"))
        return DecodeUtf16(QByteArrayView(bytes).sliced(2), true);
    if (bytes.contains('\0'))
        return Refused(DecodeFault::NotText, TextEncoding::Utf8, 0);
    const QByteArrayView bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        const QByteArrayView text = QByteArrayView(bytes).sliced(bom.size());
        const qsizetype bad = Convert("UTF-8", text, nullptr);
        if (bad >= 0)
            return Refused(DecodeFault::BadSequence, TextEncoding::Utf8, LineAt(text, bad));
        return {bytes.sliced(bom.size()), TextEncoding::Utf8, DecodeFault::None, 0};
    }
    const qsizetype badUtf8 = Convert("UTF-8", bytes, nullptr);
    if (badUtf8 < 0)
        return {bytes, TextEncoding::Utf8, DecodeFault::None, 0};

    // Not wholly UTF-8: the first line that holds more than ASCII tells what the file was meant
    // to be in.
    const auto wide = std::find_if(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (LooksLikeUtf8(LineAround(bytes, wide - bytes.begin())))
        return Refused(DecodeFault::BadSequence, TextEncoding::Utf8, LineAt(bytes, badUtf8));
    DecodedText result;
    result.encoding = TextEncoding::Big5;
    const qsizetype badBig5 = Convert("windows-950", bytes, &result.utf8);
    const qsizetype checkedTo = badBig5 < 0 ? bytes.size() : badBig5;
    qint64 line = 1;
    for (qsizetype from = 0; from < checkedTo; ++line) {
        const qsizetype end = LineEnd(bytes, from);
        if (LooksLikeUtf8(QByteArrayView(bytes).sliced(from, end - from)))
            return Refused(DecodeFault::MixedEncoding, TextEncoding::Big5, line);
        from = end;
    }
    if (badBig5 >= 0)
        return Refused(DecodeFault::BadSequence, TextEncoding::Big5, LineAt(bytes, badBig5));
    return result;
}

char FieldSeparator(QByteArrayView utf8) {
    // The first line that holds anything: the headings.
    qsizetype from = 0;
    QByteArrayView line;
    while (from < utf8.size()) {
        const qsizetype to = LineEnd(utf8, from);
        line = utf8.sliced(from, to - from);
        if (HoldsText(line))
            break;
        from = to;
    }
    char best = ',';
    qsizetype most = 0;
    for (const char separator : {',', '\t', ';'}) {
        qsizetype count = 0;
        bool quoted = false;
        for (const char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == separator && !quoted)
                ++count;
        }
        if (count > most) {
            most = count;
            best = separator;
        }
    }
    return best;
}

CsvRecords ParseCsv(QByteArrayView bytes, std::size_t mostRecords, int mostFields,
                    const std::function<bool(CsvRecord&&)>& take, char separator) {
    CsvRecords result;
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        result.outcome = CsvOutcome::OpenQuote;
        return result;
    }
    csv_set_delim(&parser, static_cast<unsigned char>(separator));
    Collector collector;
    collector.mostRecords = mostRecords;
    collector.mostFields = mostFields;
    collector.take = &take;
    // Fed a line at a time, so that each record knows the line it starts on; the parser keeps
    // a quoted field open across lines.
    qsizetype from = 0;
    bool ok = true;
    while (ok && from < bytes.size() && collector.outcome == CsvOutcome::Read &&
           !collector.stopped) {
        const qsizetype to = LineEnd(bytes, from);
        ++collector.line;
        if (!collector.open) {
            // The parser skips only empty lines; any other starts a record.
            const QByteArrayView line = bytes.sliced(from, to - from);
            if (HoldsText(line)) {
                collector.startLine = collector.line;
                collector.open = true;
            }
        }
        const std::size_t length = static_cast<std::size_t>(to - from);
        ok = csv_parse(&parser, bytes.data() + from, length, EndField, EndRecord, &collector) ==
             length;
        from = to;
    }
    if (collector.outcome == CsvOutcome::Read && !collector.stopped)
        ok = ok && csv_fini(&parser, EndField, EndRecord, &collector) == 0;
    csv_free(&parser);
    result.outcome = collector.outcome;
    if (result.outcome != CsvOutcome::Read) {
        result.line = collector.startLine;
        return result;
    }
    if (!ok) {
        result.outcome = CsvOutcome::OpenQuote;
        return result;
    }
    result.records = std::move(collector.records);
    return result;
}

}  // namespace paysum
