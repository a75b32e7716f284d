#include "staff/Renumbering.h"

#include "common/Big5Text.h"
#include "common/TextRules.h"
#include "data/SchemaTable.h"

#include <algorithm>

namespace paysum {

std::optional<QString> IncrementCode(const QString& code) {
    if (code.size() != 5 || !IsDigits(code))
        return std::nullopt;
    const qint32 value = code.toInt();
    if (value >= kHighestCode)
        return std::nullopt;
    return PadZeroLeft(ColumnWidth("S_STAFF", "ID"), QString::number(value + 1));
}

CodeRoom PlanRoomForCode(const QString& code, const QStringList& staffCodes,
                         const QStringList& itemCodes) {
    CodeRoom room;
    const auto start = std::lower_bound(staffCodes.begin(), staffCodes.end(), code);
    if (start == staffCodes.end() || *start != code)
        return room;

    room.first = code;
    room.last = code;
    room.count = 1;
    // The run goes on while each code is the five digits of one more than the code before it;
    // compared as numbers, so that a run of thousands is not formatted code by code.
    int value = code.size() == 5 && IsDigits(code) ? code.toInt() : kHighestCode;
    auto it = start + 1;
    for (; value < kHighestCode && it != staffCodes.end() && it->size() == 5 && IsDigits(*it) &&
           it->toInt() == value + 1;
         ++it) {
        ++value;
        ++room.count;
    }
    if (room.count > 1)
        room.last = *(it - 1);
    std::optional<QString> next = IncrementCode(room.last);

    // `next` is now the free code the highest of the run moves into.
    if (!next) {
        room.refusal = RoomRefusal::PastHighestCode;
    } else if (std::binary_search(itemCodes.begin(), itemCodes.end(), *next)) {
        room.refusal = RoomRefusal::TransferInTheWay;
        room.blockingCode = *next;
    }
    return room;
}

}  // namespace paysum
