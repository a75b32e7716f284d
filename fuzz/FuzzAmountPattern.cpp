// Amount masks with any amount: the digits come out in order with their separators.
#include "FuzzInput.h"
#include "common/AmountPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    const bool wide = data.ConsumeBool();
    const qint64 amount = data.ConsumeIntegral<qint64>();
    const QString& pattern = wide ? kAmountPattern15 : kAmountPattern14;

    const QString text = FormatAmount(pattern, amount);
    QString digits;
    for (QChar c : text) {
        if (c.isDigit() || c == u'-')
            digits += c;
    }
    fuzz::Require(digits == QString::number(amount), "every digit of the amount, in order");
    if (amount >= 0 && QString::number(amount).size() <= pattern.count(u'@'))
        fuzz::Require(text.size() == pattern.size(), "an amount that fits keeps the width");
    return 0;
}
