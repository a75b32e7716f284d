#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace paysum {

// The highest employee code there is room for in five digits.
constexpr int kHighestCode = 99999;

// The code one above `code` ("00012" gives "00013"), counted in 32 bits; none when `code` is not
// five digits or is already the highest code.
std::optional<QString> IncrementCode(const QString& code);

// Why no room can be made for a code.
enum class RoomRefusal {
    None,
    PastHighestCode,   // the run of codes would have to move past 99999
    TransferInTheWay,  // a transfer record that is no employee's holds the code the run moves into
};

// How room is made for a code that an employee already has: the consecutive run of employee
// codes from it upward moves up by one, together with the transfer records of those codes.
struct CodeRoom {
    QString first;  // the lowest code that moves: the code made free
    QString last;   // the highest code that moves
    int count = 0;  // how many codes move; 0 when no employee has the code
    RoomRefusal refusal = RoomRefusal::None;
    QString blockingCode;  // for TransferInTheWay: the transfer record's code
};

// Plans the room for `code` from the five-digit codes at or above it of the employees
// (`staffCodes`) and of the transfer records (`itemCodes`), each in code order. Refuses, so that
// nothing moves, when the run would pass the highest code or would move onto a transfer record
// whose code is no employee's.
CodeRoom PlanRoomForCode(const QString& code, const QStringList& staffCodes,
                         const QStringList& itemCodes);

}  // namespace paysum
