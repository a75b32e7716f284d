#include "common/Big5Text.h"

#include "common/TextRules.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <array>
#include <cstdint>

namespace paysum {

namespace {

using WidthTable = std::array<std::uint8_t, 0x10000>;

// Byte widths of every character of the Basic Multilingual Plane in code page 950, worked out
// once through ICU's windows-950 converter.
WidthTable BuildWidthTable() {
    WidthTable table;
    table.fill(1);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-950", &status);
    if (U_FAILURE(status))
        return table;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    char bytes[8];
    for (std::uint32_t code = 0x80; code < 0x10000; ++code) {
        if (code >= 0xD800 && code <= 0xDFFF)
            continue;  // lone surrogates are never text of their own
        const UChar unit = static_cast<UChar>(code);
        status = U_ZERO_ERROR;
        ucnv_reset(converter);
        const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, &unit, 1, &status);
        if (U_SUCCESS(status) && length > 0)
            table[code] = static_cast<std::uint8_t>(length);
    }
    ucnv_close(converter);
    return table;
}

const WidthTable& Widths() {
    static const WidthTable table = BuildWidthTable();
    return table;
}

}  // namespace

int Big5Length(const QString& text) {
    const WidthTable& widths = Widths();
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;  // a character beyond the BMP has no code page 950 form
        length += c.isSurrogate() ? 1 : widths[c.unicode()];
    }
    return length;
}

bool FitsBytes(const QString& text, int n) {
    return Big5Length(text) <= n;
}

QString PadZeroLeft(int n, const QString& text) {
    const qsizetype k = TrimBlanks(text).size();
    if (k == 0 || k >= n)
        return text;
    return QString(n - k, u'0') + text;
}

QString PadSpaceRight(int n, const QString& text) {
    const int k = Big5Length(TrimBlanks(text));
    if (k == 0 || k >= n)
        return text;
    return text + QString(n - k, u' ');
}

}  // namespace paysum
