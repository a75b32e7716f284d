// Code page 950 widths and padding on any text, Chinese and unmappable characters included.
#include "FuzzInput.h"
#include "common/Big5Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    const int n = data.ConsumeIntegralInRange<int>(-2, 80);
    const QString text = fuzz::Text(data, 64);

    const int length = Big5Length(text);
    fuzz::Require(length >= 0 && length <= 2 * text.size(), "one or two bytes a character");
    fuzz::Require(FitsBytes(text, n) == (length <= n), "fits agrees with the length");
    const QString zeros = PadZeroLeft(n, text);
    fuzz::Require(zeros.endsWith(text), "zero padding only prefixes");
    const QString blanks = PadSpaceRight(n, text);
    fuzz::Require(blanks.startsWith(text), "blank padding only appends");
    fuzz::Require(blanks.size() - text.size() <= std::max(n, 0), "no more blanks than the width");
    return 0;
}
