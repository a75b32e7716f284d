#pragma once

#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace paysum::fuzz {

// A text of at most `most` UTF-16 units from the fuzzer's bytes, mostly digits and blanks so
// that the routines get past their first checks, with any other character now and then.
inline QString Text(FuzzedDataProvider& data, std::size_t most) {
    QString text;
    const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, most);
    for (std::size_t i = 0; i < length && data.remaining_bytes() > 0; ++i) {
        const auto pick = data.ConsumeIntegral<std::uint8_t>();
        if (pick < 200)
            text += QChar(u'0' + pick % 10);
        else if (pick < 215)
            text += u' ';
        else
            text += QChar(data.ConsumeIntegral<char16_t>());
    }
    return text;
}

// Ends the run with a message when a property of a routine does not hold.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

}  // namespace paysum::fuzz
