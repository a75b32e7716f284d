// The .ods reader: a whole file from outside, or a document whose content.xml is the fuzzer's,
// read within the limits (repeated rows and cells included) or refused with words.
#include "FuzzSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    const QByteArray input(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    if (input.startsWith("PK")) {
        fuzz::CheckSheet(input);
        return 0;
    }
    fuzz::CheckSheet(
        fuzz::ZipOf({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                     {QStringLiteral("content.xml"), input}}));
    return 0;
}
