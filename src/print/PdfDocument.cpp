#include "print/PdfDocument.h"

#include <QList>

#include <algorithm>
#include <optional>

namespace paysum {

namespace {

// Where each hexadecimal string <…> of a line starts.
QList<qsizetype> HexStrings(const QByteArray& pdf, qsizetype from, qsizetype to) {
    QList<qsizetype> starts;
    for (qsizetype at = from; at < to; ++at) {
        if (pdf[at] == '<')
            starts << at;
    }
    return starts;
}

// The value of the four-digit hexadecimal string at `at`, if it is one.
std::optional<char16_t> FourDigits(const QByteArray& pdf, qsizetype at) {
    if (at + 5 >= pdf.size() || pdf[at + 5] != '>')
        return std::nullopt;
    bool ok = false;
    const uint value = pdf.mid(at + 1, 4).toUInt(&ok, 16);
    return ok ? std::optional<char16_t>(static_cast<char16_t>(value)) : std::nullopt;
}

// The Unicode value of one code in a map, and where it is written: nowhere of its own when it is
// one of a range of consecutive values.
struct MapEntry {
    quint16 code = 0;
    char16_t value = 0;
    qsizetype at = -1;
};

// Calls `visit` for each entry of one CMap, from `at` to its end: a bfchar line is `<code>
// <value>`, a bfrange line `<first> <last> <value>` (consecutive values from `value`) or
// `<first> <last> [<value> …]`. Values of two UTF-16 units are not visited.
void ForEachEntry(const QByteArray& pdf, qsizetype at, qsizetype end,
                  const std::function<void(const MapEntry&)>& visit) {
    enum class Section { Other, Chars, Ranges } section = Section::Other;
    while (at < end) {
        qsizetype lineEnd = pdf.indexOf('\n', at);
        if (lineEnd < 0 || lineEnd > end)
            lineEnd = end;
        const QByteArray line = pdf.mid(at, lineEnd - at).trimmed();
        if (line.endsWith("beginbfchar")) {
            section = Section::Chars;
        } else if (line.endsWith("beginbfrange")) {
            section = Section::Ranges;
        } else if (line.startsWith("end")) {
            section = Section::Other;
        } else if (section != Section::Other) {
            const QList<qsizetype> strings = HexStrings(pdf, at, lineEnd);
            const std::optional<char16_t> first =
                strings.isEmpty() ? std::nullopt : FourDigits(pdf, strings[0]);
            const std::optional<char16_t> last =
                strings.size() < 2 ? std::nullopt : FourDigits(pdf, strings[1]);
            if (section == Section::Chars && strings.size() == 2 && first) {
                if (const std::optional<char16_t> value = FourDigits(pdf, strings[1]))
                    visit({*first, *value, strings[1]});
            } else if (section == Section::Ranges && first && last && line.contains('[')) {
                for (qsizetype i = 2; i < strings.size(); ++i) {
                    if (const std::optional<char16_t> value = FourDigits(pdf, strings[i]))
                        visit({static_cast<quint16>(*first + i - 2), *value, strings[i]});
                }
            } else if (section == Section::Ranges && first && last && strings.size() == 3) {
                if (const std::optional<char16_t> value = FourDigits(pdf, strings[2])) {
                    for (int code = *first; code <= *last; ++code) {
                        visit({static_cast<quint16>(code),
                               static_cast<char16_t>(*value + code - *first),
                               *first == *last ? strings[2] : -1});
                    }
                }
            }
        }
        at = lineEnd + 1;
    }
}

// Where each ToUnicode map that Qt wrote, each an uncompressed stream of its own, starts and ends.
QList<std::pair<qsizetype, qsizetype>> ToUnicodeMaps(const QByteArray& pdf) {
    static const QByteArray kStart = QByteArrayLiteral("stream\n/CIDInit /ProcSet findresource");
    QList<std::pair<qsizetype, qsizetype>> maps;
    for (qsizetype at = pdf.indexOf(kStart); at >= 0; at = pdf.indexOf(kStart, at)) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        const qsizetype streamEnd = pdf.indexOf("endstream", at);
        if (end < 0 || streamEnd < end)
            break;
        maps.append({at, end});
        at = end;
    }
    return maps;
}

// The number written at `at`, and where it ends.
std::optional<qint64> NumberAt(const QByteArray& pdf, qsizetype at, qsizetype* end) {
    qsizetype stop = at;
    while (stop < pdf.size() && pdf[stop] >= '0' && pdf[stop] <= '9')
        ++stop;
    bool ok = false;
    const qint64 number = pdf.mid(at, stop - at).toLongLong(&ok);
    *end = stop;
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

// The last cross-reference table, as Qt writes it: "xref", "0 <count>", then an entry of 20 bytes
// per object, the trailer, and the table's offset after "startxref".
struct CrossReference {
    qsizetype entries = 0;
    qint64 count = 0;
    qsizetype trailer = 0;
    qsizetype tableAtStart = 0;
    qsizetype tableAtEnd = 0;
    qint64 tableAt = 0;
};

std::optional<CrossReference> FindCrossReference(const QByteArray& pdf) {
    CrossReference table;
    const qsizetype xref = pdf.lastIndexOf("\nxref\n");
    table.trailer = pdf.lastIndexOf("\ntrailer\n");
    const qsizetype startxref = pdf.lastIndexOf("\nstartxref\n");
    if (xref < 0 || table.trailer < xref || startxref < table.trailer ||
        pdf.mid(xref + 6, 2) != "0 ")
        return std::nullopt;
    qsizetype end = 0;
    const std::optional<qint64> count = NumberAt(pdf, xref + 8, &end);
    table.entries = end + 1;
    table.tableAtStart = startxref + 11;
    const std::optional<qint64> tableAt = NumberAt(pdf, table.tableAtStart, &table.tableAtEnd);
    if (!count || pdf.mid(end, 1) != "\n" || table.entries + *count * 20 != table.trailer + 1 ||
        tableAt != xref + 1)
        return std::nullopt;
    table.count = *count;
    table.tableAt = *tableAt;
    return table;
}

// The offset of object `object`, from the table.
std::optional<qint64> ObjectAt(const QByteArray& pdf, const CrossReference& table, qint64 object) {
    qsizetype end = 0;
    if (object < 0 || object >= table.count)
        return std::nullopt;
    return NumberAt(pdf, table.entries + object * 20, &end);
}

// Replaces `removed` bytes at `at`, inside an object, by `inserted`, and moves the offsets of the
// objects that follow and of the table. False, and nothing changed, when the document's table is
// not as Qt writes it.
bool Splice(QByteArray& pdf, qsizetype at, qsizetype removed, const QByteArray& inserted) {
    const std::optional<CrossReference> table = FindCrossReference(pdf);
    if (!table || at + removed > table->entries)
        return false;
    const qint64 moved = inserted.size() - removed;
    pdf.replace(table->tableAtStart, table->tableAtEnd - table->tableAtStart,
                QByteArray::number(table->tableAt + moved));
    for (qint64 i = 0; i < table->count; ++i) {
        const qsizetype line = table->entries + i * 20;
        qsizetype end = 0;
        const std::optional<qint64> offset = NumberAt(pdf, line, &end);
        if (offset && pdf.mid(line + 17, 1) == "n" && *offset > at)
            pdf.replace(line, 10, QByteArray::number(*offset + moved).rightJustified(10, '0'));
    }
    pdf.replace(at, removed, inserted);
    return true;
}

// A PDF text string in UTF-16, which holds any text.
QByteArray PdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex + '>';
}

// A CMap section of bfchar entries; at most 100 go in one.
QByteArray CharSections(const QMap<quint16, char32_t>& values) {
    QByteArray sections;
    QByteArray lines;
    int count = 0;
    for (auto value = values.cbegin(); value != values.cend(); ++value) {
        QByteArray hex;
        for (const QChar unit : QString::fromUcs4(&value.value(), 1))
            hex += QByteArray::number(unit.unicode(), 16).toUpper().rightJustified(4, '0');
        lines += '<' + QByteArray::number(value.key(), 16).toUpper().rightJustified(4, '0') +
                 "> <" + hex + ">\n";
        if (++count == 100 || std::next(value) == values.cend()) {
            sections += QByteArray::number(count) + " beginbfchar\n" + lines + "endbfchar\n";
            lines.clear();
            count = 0;
        }
    }
    return sections;
}

}  // namespace

void RewriteToUnicode(QByteArray& pdf, const MapReading& read) {
    // From the last map to the first, so that the places of those before stay as they are.
    QList<std::pair<qsizetype, qsizetype>> maps = ToUnicodeMaps(pdf);
    std::reverse(maps.begin(), maps.end());
    for (const auto& [at, end] : maps) {
        QMap<quint16, char32_t> values;
        ForEachEntry(pdf, at, end,
                     [&](const MapEntry& entry) { values[entry.code] = entry.value; });
        QMap<quint16, char32_t> wanted = read(values);
        // A value of one UTF-16 unit takes the place of the one written; codes without a value
        // get an entry of their own at the end.
        ForEachEntry(pdf, at, end, [&](const MapEntry& entry) {
            const auto value = wanted.constFind(entry.code);
            if (value != wanted.cend() && entry.at >= 0 && *value <= 0xFFFF)
                pdf.replace(entry.at + 1, 4,
                            QByteArray::number(*value, 16).toUpper().rightJustified(4, '0'));
        });
        wanted.removeIf([&values](const auto& value) { return values.contains(value.key()); });
        const QByteArray added = CharSections(wanted);
        // The stream's length, in its dictionary just before it.
        const qsizetype lengthKey = pdf.lastIndexOf("/Length ", at);
        qsizetype lengthEnd = 0;
        const std::optional<qint64> length = NumberAt(pdf, lengthKey + 8, &lengthEnd);
        if (added.isEmpty() || lengthKey < 0 || !length ||
            pdf.lastIndexOf(" obj\n", at) > lengthKey)
            continue;
        if (Splice(pdf, end, 0, added)) {
            Splice(pdf, lengthKey + 8, lengthEnd - lengthKey - 8,
                   QByteArray::number(*length + added.size()));
        }
    }
}

void AddPdfAuthor(QByteArray& pdf, const QString& author) {
    // The trailer names the information dictionary.
    const std::optional<CrossReference> table = FindCrossReference(pdf);
    const qsizetype infoKey = table ? pdf.indexOf("/Info ", table->trailer) : -1;
    if (author.isEmpty() || infoKey < 0)
        return;
    qsizetype end = 0;
    const qint64 info = NumberAt(pdf, infoKey + 6, &end).value_or(-1);
    const qint64 object = ObjectAt(pdf, *table, info).value_or(-1);
    const QByteArray head = QByteArray::number(info) + " 0 obj\n<<\n";
    if (object >= 0 && pdf.mid(object, head.size()) == head)
        Splice(pdf, object + head.size(), 0, "/Author " + PdfText(author) + '\n');
}

}  // namespace paysum
