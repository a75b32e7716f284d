#pragma once

#include <QByteArray>
#include <QList>

namespace paysum::test {

// The records of the worked example's batch file, field by field, and the same batch paid into
// accounts whose check digits hold.
// clang-format off
inline const QByteArray kExampleHeader =
    "910503" "910505" "123" "12345678" "045" "00000000000000" "000000155500" "0002" "   " "9";
inline const QByteArray kExampleDetail1 =
    "   " "00123016456789" "000000035000" "00012345" "                      " "9";
inline const QByteArray kExampleDetail2 =
    "   " "00012345678901" "000000120500" "                              " "9";
inline const QByteArray kSoundDetail1 =
    "   " "00201016000011" "000000035000" "00012345" "                      " "9";
inline const QByteArray kSoundDetail2 =
    "   " "00123456789014" "000000120500" "                              " "9";
// clang-format on

// The records as a file, each followed by `end`.
inline QByteArray BatchFileBytes(const QList<QByteArray>& lines, const QByteArray& end = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + end;
    return bytes;
}

}  // namespace paysum::test
