// ROC dates: checking and ordering any six characters, and today's date in both forms.
#include "FuzzInput.h"
#include "common/RocDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    const QDate day = QDate(1912, 1, 1).addDays(data.ConsumeIntegralInRange<int>(0, 80000));
    const int form = data.ConsumeIntegralInRange<int>(0, 3);
    const QString later = fuzz::Text(data, 8);
    const QString earlier = fuzz::Text(data, 8);

    const QString today = RocToday(2, day);
    fuzz::Require(today.size() == 6 && CheckRocDate(today) == 1, "today is a valid ROC date");
    fuzz::Require(!RocToday(form, day).isEmpty(), "today in either form");
    const qint16 check = CheckRocDate(later);
    fuzz::Require(check == 1 || check == -1 || check == -2 || check == -3, "check result");
    fuzz::Require(check == -1 || later.size() == 6, "only six characters pass the length");
    const qint16 order = CompareRocDates(later, earlier);
    fuzz::Require(order == 1 || order == -1 || order == -2, "compare result");
    if (check == 1)
        fuzz::Require(CompareRocDates(later, later) == 1, "a date is not before itself");
    return 0;
}
