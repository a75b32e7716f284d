// The renumbering plan: the run it moves is the consecutive employee codes from the code up,
// and the code it moves into is free of employees and, unless refused, of transfers.
#include "FuzzInput.h"
#include "staff/Renumbering.h"

#include <algorithm>

namespace {

QString Code(int value) {
    return QStringLiteral("%1").arg(value, 5, 10, QLatin1Char('0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    FuzzedDataProvider data(bytes, size);
    // Codes near the top are the interesting ones: the run may have to pass 99999.
    const int base = data.ConsumeBool() ? 99900 : 0;
    const QString code = Code(base + data.ConsumeIntegralInRange<int>(0, 99));
    QStringList staff;
    QStringList items;
    while (data.remaining_bytes() > 1) {
        const int value = base + data.ConsumeIntegralInRange<int>(0, 99);
        (data.ConsumeBool() ? staff : items) << Code(std::min(value, kHighestCode));
    }
    for (QStringList* codes : {&staff, &items}) {
        std::sort(codes->begin(), codes->end());
        codes->erase(std::unique(codes->begin(), codes->end()), codes->end());
    }

    const CodeRoom room = PlanRoomForCode(code, staff, items);
    if (!staff.contains(code)) {
        fuzz::Require(room.count == 0, "nothing moves when the code is free");
        return 0;
    }
    fuzz::Require(room.first == code, "the run starts at the code");
    fuzz::Require(room.last.toInt() - room.first.toInt() + 1 == room.count, "a run of codes");
    for (int value = room.first.toInt(); value <= room.last.toInt(); ++value)
        fuzz::Require(staff.contains(Code(value)), "every code of the run is an employee's");
    const int next = room.last.toInt() + 1;
    if (next > kHighestCode) {
        fuzz::Require(room.refusal == RoomRefusal::PastHighestCode, "refused past 99999");
        return 0;
    }
    fuzz::Require(!staff.contains(Code(next)), "the run ends below a free code");
    fuzz::Require((room.refusal == RoomRefusal::TransferInTheWay) == items.contains(Code(next)),
                  "refused exactly when a transfer holds the free code");
    return 0;
}
