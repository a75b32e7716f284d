// The .xlsx reader: a whole file from outside, or a workbook whose sheet and shared strings are
// the fuzzer's (the two parted by a NUL byte), read within the limits or refused with words.
#include "FuzzSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    const QByteArray input(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    if (input.startsWith("PK") || input.startsWith("\xD0\xCF")) {
        fuzz::CheckSheet(input);
        return 0;
    }
    const qsizetype cut = input.indexOf('\0');
    fuzz::CheckSheet(fuzz::ZipOf(
        {{QStringLiteral("xl/workbook.xml"),
          "<workbook><sheets><sheet name='S' r:id='rId1' xmlns:r='r'/></sheets></workbook>"},
         {QStringLiteral("xl/_rels/workbook.xml.rels"),
          "<Relationships><Relationship Id='rId1' Target='worksheets/sheet1.xml'/>"
          "</Relationships>"},
         {QStringLiteral("xl/worksheets/sheet1.xml"), cut < 0 ? input : input.left(cut)},
         {QStringLiteral("xl/sharedStrings.xml"), cut < 0 ? QByteArray() : input.mid(cut + 1)}}));
    return 0;
}
