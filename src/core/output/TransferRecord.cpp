#include "output/TransferRecord.h"

#include <algorithm>

namespace paysum {

QString BuildRecord(std::span<const RecordField> fields, std::span<const QString> values) {
    QString record;
    record.reserve(kRecordLength);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const RecordField& field = fields[i];
        switch (field.padding) {
            case Padding::Fixed:
                record += QLatin1StringView(field.text.data(), field.text.size());
                break;
            // Padded in place, as rightJustified() and leftJustified() would pad them: a value
            // longer than its field is kept whole.
            case Padding::ZeroLeft:
                record.resize(
                    record.size() + std::max<qsizetype>(field.width - values[i].size(), 0), u'0');
                record += values[i];
                break;
            case Padding::BlankRight:
                record += values[i];
                record.resize(
                    record.size() + std::max<qsizetype>(field.width - values[i].size(), 0), u' ');
                break;
        }
    }
    return record;
}

QString FieldPlaces(const RecordField& field) {
    if (field.width == 1)
        return QStringLiteral("第 %1 位").arg(field.offset + 1);
    return QStringLiteral("第 %1 至 %2 位").arg(field.offset + 1).arg(field.offset + field.width);
}

}  // namespace paysum
