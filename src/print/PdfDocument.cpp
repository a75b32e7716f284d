#include "print/PdfDocument.h"

#include <QList>

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

// Puts the reading of the Unicode value at `at` in its place; a value of another length (two
// UTF-16 units) is left.
void Reread(QByteArray& pdf, qsizetype at, const std::function<char16_t(char16_t)>& reading) {
    const std::optional<char16_t> value = FourDigits(pdf, at);
    if (!value)
        return;
    const char16_t read = reading(*value);
    if (read != *value)
        pdf.replace(at + 1, 4, QByteArray::number(read, 16).toUpper().rightJustified(4, '0'));
}

// Rereads the values of one CMap, from `at` to its end: a bfchar line is `<code> <value>`, a
// bfrange line `<first> <last> <value>` or `<first> <last> [<value> …]`. A range of several codes
// with one value stands for consecutive values and is left as it is.
void RereadCMap(QByteArray& pdf, qsizetype at, qsizetype end,
                const std::function<char16_t(char16_t)>& reading) {
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
            if (section == Section::Chars && strings.size() == 2) {
                Reread(pdf, strings[1], reading);
            } else if (section == Section::Ranges && line.contains('[')) {
                for (qsizetype i = 2; i < strings.size(); ++i)
                    Reread(pdf, strings[i], reading);
            } else if (section == Section::Ranges && strings.size() == 3 &&
                       FourDigits(pdf, strings[0]) == FourDigits(pdf, strings[1])) {
                Reread(pdf, strings[2], reading);
            }
        }
        at = lineEnd + 1;
    }
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

// A PDF text string in UTF-16, which holds any text.
QByteArray PdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return hex + '>';
}

}  // namespace

void RereadToUnicode(QByteArray& pdf, const std::function<char16_t(char16_t)>& reading) {
    // Qt writes each map as an uncompressed stream of its own.
    static const QByteArray kStart = QByteArrayLiteral("stream\n/CIDInit /ProcSet findresource");
    for (qsizetype at = pdf.indexOf(kStart); at >= 0; at = pdf.indexOf(kStart, at)) {
        const qsizetype end = pdf.indexOf("endcmap", at);
        const qsizetype streamEnd = pdf.indexOf("endstream", at);
        if (end < 0 || streamEnd < end)
            return;
        RereadCMap(pdf, at, end, reading);
        at = end;
    }
}

void AddPdfAuthor(QByteArray& pdf, const QString& author) {
    // The last cross-reference table ("xref", "0 <count>", then an entry of 20 bytes per object),
    // its trailer naming the information dictionary, and the table's offset at the end.
    const qsizetype xref = pdf.lastIndexOf("\nxref\n");
    const qsizetype trailer = pdf.lastIndexOf("\ntrailer\n");
    const qsizetype startxref = pdf.lastIndexOf("\nstartxref\n");
    const qsizetype infoKey = pdf.indexOf("/Info ", trailer);
    if (author.isEmpty() || xref < 0 || trailer < xref || startxref < trailer || infoKey < 0 ||
        infoKey > startxref || pdf.mid(xref + 6, 2) != "0 ")
        return;
    qsizetype end = 0;
    const std::optional<qint64> count = NumberAt(pdf, xref + 8, &end);
    const qsizetype entries = end + 1;
    const std::optional<qint64> info = NumberAt(pdf, infoKey + 6, &end);
    qsizetype tableEnd = 0;
    const std::optional<qint64> tableAt = NumberAt(pdf, startxref + 11, &tableEnd);
    if (!count || !info || *info >= *count || pdf.mid(entries - 1, 1) != "\n" ||
        entries + *count * 20 != trailer + 1 || tableAt != xref + 1)
        return;
    const std::optional<qint64> object = NumberAt(pdf, entries + *info * 20, &end);
    const QByteArray head = QByteArray::number(*info) + " 0 obj\n<<\n";
    if (!object || pdf.mid(*object, head.size()) != head)
        return;
    const qsizetype insertAt = *object + head.size();
    const QByteArray entry = "/Author " + PdfText(author) + '\n';

    pdf.replace(startxref + 11, tableEnd - startxref - 11,
                QByteArray::number(*tableAt + entry.size()));
    for (qsizetype i = 0; i < *count; ++i) {
        const qsizetype line = entries + i * 20;
        const std::optional<qint64> offset = NumberAt(pdf, line, &end);
        if (offset && pdf.mid(line + 17, 1) == "n" && *offset >= insertAt)
            pdf.replace(line, 10,
                        QByteArray::number(*offset + entry.size()).rightJustified(10, '0'));
    }
    pdf.insert(insertAt, entry);
}

}  // namespace paysum
