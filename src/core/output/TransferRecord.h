#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <span>
#include <string_view>

namespace paysum {

// How a value fills its field of a record: digits zero-filled on the left, text filled with
// blanks on the right, or the field's own fixed text.
enum class Padding { ZeroLeft, BlankRight, Fixed };

// One field of a 60-byte record of the batch transfer file: its positions (counted from 0) and
// how it is filled.
struct RecordField {
    std::string_view name;
    int offset = 0;
    int width = 0;
    Padding padding = Padding::Fixed;
    std::string_view text;  // the fixed text, for Padding::Fixed
};

// The fields of the header record, in order; each names its place in kHeaderFields.
enum HeaderField {
    kHeaderLoginDate,
    kHeaderTransferDate,
    kHeaderBranch,
    kHeaderUnifiedNo,
    kHeaderCustomerCode,
    kHeaderZeros,
    kHeaderTotal,
    kHeaderCount,
    kHeaderBlanks,
    kHeaderType,
    kHeaderFieldCount
};

// The fields of the detail record, in order; each names its place in kDetailFields.
enum DetailField {
    kDetailLead,
    kDetailAccount,
    kDetailAmount,
    kDetailCertificate,
    kDetailBlanks,
    kDetailType,
    kDetailFieldCount
};

inline constexpr std::array<RecordField, kHeaderFieldCount> kHeaderFields{{
    {"loginDate", 0, 6, Padding::ZeroLeft, {}},
    {"transferDate", 6, 6, Padding::ZeroLeft, {}},
    {"branch", 12, 3, Padding::ZeroLeft, {}},
    {"unifiedNo", 15, 8, Padding::ZeroLeft, {}},
    {"customerCode", 23, 3, Padding::ZeroLeft, {}},
    {"zeros", 26, 14, Padding::Fixed, "00000000000000"},
    {"total", 40, 12, Padding::ZeroLeft, {}},
    {"count", 52, 4, Padding::ZeroLeft, {}},
    {"blanks", 56, 3, Padding::Fixed, "   "},
    {"type", 59, 1, Padding::Fixed, "9"},
}};

inline constexpr std::array<RecordField, kDetailFieldCount> kDetailFields{{
    {"lead", 0, 3, Padding::Fixed, "   "},
    {"account", 3, 14, Padding::ZeroLeft, {}},
    {"amount", 17, 12, Padding::ZeroLeft, {}},
    {"certificate", 29, 8, Padding::BlankRight, {}},
    {"blanks", 37, 22, Padding::Fixed, "                      "},
    {"type", 59, 1, Padding::Fixed, "9"},
}};

// The length of each record without its CR LF.
inline constexpr int kRecordLength = 60;

// True when the fields follow one another without gap or overlap up to kRecordLength and each
// fixed text fills its field.
constexpr bool FieldsTile(std::span<const RecordField> fields) {
    int next = 0;
    for (const RecordField& field : fields) {
        if (field.offset != next || field.width <= 0)
            return false;
        if (field.padding == Padding::Fixed &&
            field.text.size() != static_cast<std::size_t>(field.width))
            return false;
        next += field.width;
    }
    return next == kRecordLength;
}

static_assert(FieldsTile(kHeaderFields));
static_assert(FieldsTile(kDetailFields));

// A record made by walking its fields: `values` holds one value per field (those of fixed
// fields are not read). A value longer than its field is kept whole, as the writer's value
// check refuses such values before a record is made.
QString BuildRecord(std::span<const RecordField> fields, std::span<const QString> values);

// The bytes of one field of a record of kRecordLength bytes.
inline QByteArrayView FieldOf(QByteArrayView record, const RecordField& field) {
    return record.sliced(field.offset, field.width);
}

// "第 a 至 b 位" or "第 a 位": the positions of a field as the clerk counts them, from 1.
QString FieldPlaces(const RecordField& field);

}  // namespace paysum
