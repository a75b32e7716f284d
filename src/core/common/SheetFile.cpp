#include "common/SheetFile.h"

#include <QBuffer>
#include <QIODevice>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

namespace paysum {

namespace {

// What one part of an archive may unpack to, whatever the archive says of it: four times the
// largest file the import takes, so that a small archive cannot keep the reader busy for long.
constexpr qint64 kMostPartBytes = qint64(128) << 20;
// The entries an archive may hold; a workbook has a few dozen.
constexpr int kMostEntries = 10'000;
// The most a spreadsheet cell holds.
constexpr qsizetype kMostCellChars = 32'767;
// The shared strings of a workbook kept while its sheet is read: their characters and their count.
constexpr qsizetype kMostSharedChars = qsizetype(16) << 20;
constexpr std::size_t kMostSharedStrings = 2'000'000;
// A repeat count of an .ods row or cell is taken as at most this; a sheet has 2^20 rows at most.
constexpr qint64 kMostRepeat = qint64(1) << 24;

const QByteArray kCompoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
const QByteArray kOdsType("application/vnd.oasis.opendocument.spreadsheet");

QString NotSheetText() {
    return QStringLiteral("不是試算表檔案（.xlsx 或 .ods），無法匯入");
}
QString EncryptedText() {
    return QStringLiteral("試算表有密碼保護，無法匯入");
}
QString DamagedText() {
    return QStringLiteral("試算表檔案不完整或已損毀，無法匯入");
}
QString TooLargeText() {
    return QStringLiteral("試算表的內容超過 %1 MB，無法匯入").arg(kMostPartBytes >> 20);
}

// Why a workbook is refused, thrown from deep in its XML and caught where it is read.
struct Refusal {
    QString text;
};

// One part of an archive as a device that gives at most kMostPartBytes and then fails.
class PartDevice : public QIODevice {
public:
    explicit PartDevice(QuaZip* zip) : file_(zip) {}
    ~PartDevice() override {
        if (file_.isOpen())
            file_.close();
    }

    bool Open() { return file_.open(QIODevice::ReadOnly) && open(QIODevice::ReadOnly); }
    bool overflowed() const { return overflowed_; }

    // Whether the part, read to its end, has the checksum the archive gives it.
    bool Intact() {
        char rest[1 << 16];
        while (readData(rest, sizeof rest) > 0) {
        }
        if (overflowed_ || !file_.atEnd())
            return false;
        file_.close();
        return file_.getZipError() == UNZ_OK;
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 most) override {
        const qint64 read = file_.read(data, most);
        if (read <= 0)
            return read;
        read_ += read;
        if (read_ > kMostPartBytes) {
            overflowed_ = true;
            return -1;
        }
        return read;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QuaZipFile file_;
    qint64 read_ = 0;
    bool overflowed_ = false;
};

// An archive in memory.
class Archive {
public:
    explicit Archive(const QByteArray& bytes) : buffer_(), zip_(&buffer_) {
        buffer_.setData(bytes);
        buffer_.open(QIODevice::ReadOnly);
        open_ = zip_.open(QuaZip::mdUnzip);
    }

    bool IsOpen() const { return open_; }
    int Entries() const { return zip_.getEntriesCount(); }
    bool Has(const QString& name) { return zip_.setCurrentFile(name, QuaZip::csSensitive); }

    // Whether any entry is encrypted with the archive's own password.
    bool AnyEncrypted() {
        for (bool more = zip_.goToFirstFile(); more; more = zip_.goToNextFile()) {
            QuaZipFileInfo64 info;
            if (zip_.getCurrentFileInfo(&info) && info.isEncrypted())
                return true;
        }
        return false;
    }

    // The part `name` opened for reading, or nothing when the archive lacks it.
    std::unique_ptr<PartDevice> Open(const QString& name) {
        if (!Has(name))
            return nullptr;
        auto part = std::make_unique<PartDevice>(&zip_);
        if (!part->Open())
            throw Refusal{DamagedText()};
        return part;
    }

    // A small part whole, at most `most` bytes of it.
    std::optional<QByteArray> ReadSmall(const QString& name, qint64 most) {
        std::unique_ptr<PartDevice> part = Open(name);
        if (!part)
            return std::nullopt;
        return part->read(most);
    }

private:
    QBuffer buffer_;
    QuaZip zip_;
    bool open_ = false;
};

// Ends the reading of a part: an error in its XML or a part that is not what the archive says
// it wrote refuses the workbook.
void Finish(QXmlStreamReader& xml, PartDevice& part) {
    if (part.overflowed())
        throw Refusal{TooLargeText()};
    if (xml.hasError() || !part.Intact())
        throw Refusal{part.overflowed() ? TooLargeText() : DamagedText()};
}

// The value of the attribute whose name without its prefix is `name`.
QStringView Attribute(const QXmlStreamReader& xml, QStringView name) {
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        if (attribute.name() == name)
            return attribute.value();
    }
    return {};
}

bool Named(const QXmlStreamReader& xml, QStringView name) {
    return xml.name() == name;
}

// The rows of a sheet as they are read, within the limits.
class RowSink {
public:
    RowSink(std::size_t mostRecords, int mostFields, const std::function<bool(CsvRecord&&)>& take,
            SheetRecords* result)
        : mostRecords_(mostRecords), mostFields_(mostFields), take_(take), result_(result) {}

    bool Stopped() const { return stopped_ || result_->outcome != SheetOutcome::Read; }

    // A cell of the row being read, in the column counted from 0; an empty one is no field.
    void Cell(qint64 row, qint64 column, const QString& text, bool number) {
        if (text.isEmpty() || Stopped())
            return;
        if (text.size() > kMostCellChars)
            throw Refusal{QStringLiteral("第 %1 列有一格超過 %2 個字，無法匯入")
                              .arg(Line(row))
                              .arg(kMostCellChars)};
        if (column >= mostFields_) {
            result_->outcome = SheetOutcome::TooManyFields;
            result_->line = Line(row);
            return;
        }
        const auto at = static_cast<qsizetype>(column);
        while (record_.fields.size() <= at) {
            record_.fields.append(QString());
            record_.numbers.push_back(false);
        }
        record_.fields[at] = text;
        record_.numbers[static_cast<std::size_t>(at)] = number;
    }

    // Ends the row numbered `row`: one with a value is a record.
    void EndRow(qint64 row) {
        if (record_.fields.isEmpty() || Stopped()) {
            Clear();
            return;
        }
        record_.line = Line(row);
        if (read_++ == mostRecords_) {
            result_->outcome = SheetOutcome::TooManyRecords;
            result_->line = record_.line;
        } else if (take_) {
            stopped_ = !take_(std::move(record_));
        } else {
            result_->records.push_back(record_);
        }
        Clear();
    }

    // The row being read, to be ended again as each of the rows an .ods row repeats.
    bool HasCells() const { return !record_.fields.isEmpty(); }
    CsvRecord Copy() const { return record_; }
    void Restore(const CsvRecord& record) { record_ = record; }

private:
    static int Line(qint64 row) { return static_cast<int>(std::min<qint64>(row, INT_MAX)); }
    void Clear() {
        record_.fields.clear();
        record_.numbers.clear();
    }

    std::size_t mostRecords_;
    int mostFields_;
    const std::function<bool(CsvRecord&&)>& take_;
    SheetRecords* result_;
    CsvRecord record_;
    std::size_t read_ = 0;
    bool stopped_ = false;
};

// ---------------------------------------------------------------------------------------------
// .xlsx

// Text as a workbook stores it, with a character XML cannot hold written as _xHHHH_.
QString Unescaped(const QString& text) {
    if (!text.contains(u"_x"))
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'_' && i + 6 < text.size() && text[i + 1] == u'x' && text[i + 6] == u'_') {
            bool ok = false;
            const uint code = QStringView(text).sliced(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                result.append(QChar(static_cast<char16_t>(code)));
                i += 6;
                continue;
            }
        }
        result.append(text[i]);
    }
    return result;
}

// The text of a string item (<si>, <is>) at its start: its runs' <t>, without the phonetic
// guide (<rPh>) shown above some East Asian text.
QString ReadStringItem(QXmlStreamReader& xml) {
    QString text;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (Named(xml, u"t")) {
                text += xml.readElementText(QXmlStreamReader::SkipChildElements);
                if (text.size() > kMostCellChars)
                    throw Refusal{
                        QStringLiteral("試算表有一格超過 %1 個字，無法匯入").arg(kMostCellChars)};
            } else if (Named(xml, u"rPh") || Named(xml, u"phoneticPr")) {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement && depth-- == 0) {
            break;
        }
    }
    return Unescaped(text);
}

// The shared strings of a workbook, all in one string to keep them small.
class SharedStrings {
public:
    void Read(Archive& zip) {
        std::unique_ptr<PartDevice> part = zip.Open(QStringLiteral("xl/sharedStrings.xml"));
        if (!part)
            return;
        QXmlStreamReader xml(part.get());
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || !Named(xml, u"si"))
                continue;
            const QString text = ReadStringItem(xml);
            if (spans_.size() >= kMostSharedStrings ||
                characters_.size() + text.size() > kMostSharedChars)
                throw Refusal{QStringLiteral("試算表的文字超過上限，無法匯入")};
            spans_.push_back(
                {static_cast<quint32>(characters_.size()), static_cast<quint32>(text.size())});
            characters_ += text;
        }
        Finish(xml, *part);
    }

    QString At(QStringView index) const {
        bool ok = false;
        const qulonglong at = index.trimmed().toULongLong(&ok);
        if (!ok || at >= spans_.size())
            throw Refusal{DamagedText()};
        const auto [from, length] = spans_[at];
        return characters_.mid(from, length);
    }

private:
    QString characters_;
    std::vector<std::pair<quint32, quint32>> spans_;
};

struct XlsxSheet {
    QString name;
    QString relation;
};

std::vector<XlsxSheet> XlsxSheets(Archive& zip) {
    std::unique_ptr<PartDevice> part = zip.Open(QStringLiteral("xl/workbook.xml"));
    if (!part)
        throw Refusal{NotSheetText()};
    std::vector<XlsxSheet> sheets;
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && Named(xml, u"sheet")) {
            if (sheets.size() >= static_cast<std::size_t>(kMostEntries))
                throw Refusal{DamagedText()};
            sheets.push_back(
                {Attribute(xml, u"name").toString(), Attribute(xml, u"id").toString()});
        }
    }
    Finish(xml, *part);
    return sheets;
}

// The part of the workbook that relation `id` names, from xl/_rels/workbook.xml.rels.
QString XlsxPart(Archive& zip, const QString& id) {
    std::unique_ptr<PartDevice> part = zip.Open(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!part)
        throw Refusal{DamagedText()};
    QString target;
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && Named(xml, u"Relationship") &&
            Attribute(xml, u"Id") == id) {
            target = Attribute(xml, u"Target").toString();
            break;
        }
    }
    Finish(xml, *part);
    if (target.isEmpty())
        throw Refusal{DamagedText()};
    // A target is relative to xl/ or, with a leading slash, to the archive's root.
    if (target.startsWith(u'/'))
        return target.mid(1);
    return QStringLiteral("xl/") + target;
}

// The column of a cell reference such as "AA10", counted from 0; -1 when it holds none.
qint64 ReferenceColumn(QStringView reference) {
    qint64 column = 0;
    qsizetype letters = 0;
    for (QChar c : reference) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            break;
        if (++letters > 4)
            return -1;
        column = column * 26 + (u - u'A' + 1);
    }
    return letters == 0 ? -1 : column - 1;
}

// The number of the row a reference such as "AA10" is on; 0 when it holds none.
qint64 ReferenceRow(QStringView reference) {
    qsizetype i = 0;
    while (i < reference.size() && reference[i].isLetter())
        ++i;
    bool ok = false;
    const qint64 row = reference.sliced(i).toLongLong(&ok);
    return ok && row > 0 && row <= kMostRepeat ? row : 0;
}

// One cell at its start: its value as the sheet shows it, and whether it is a number.
std::pair<QString, bool> ReadXlsxCell(QXmlStreamReader& xml, const SharedStrings& shared) {
    const QString type = Attribute(xml, u"t").toString();
    QString value;
    bool hasValue = false;
    QString inlineText;
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (Named(xml, u"v")) {
                value = xml.readElementText(QXmlStreamReader::SkipChildElements);
                hasValue = true;
            } else if (Named(xml, u"is")) {
                inlineText = ReadStringItem(xml);
            } else if (Named(xml, u"f") || Named(xml, u"extLst")) {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement && depth-- == 0) {
            break;
        }
    }
    if (type == u"inlineStr")
        return {inlineText, false};
    if (!hasValue)
        return {};
    if (type == u"s")
        return {shared.At(value), false};
    if (type == u"b")
        return {value.trimmed() == u"1" ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), false};
    if (type.isEmpty() || type == u"n")
        return {value.trimmed(), true};
    // A formula's string ("str"), an error code ("e"), a date in ISO form ("d").
    return {Unescaped(value), false};
}

void ReadXlsxRows(Archive& zip, const QString& name, const SharedStrings& shared, RowSink& sink) {
    std::unique_ptr<PartDevice> part = zip.Open(name);
    if (!part)
        throw Refusal{DamagedText()};
    QXmlStreamReader xml(part.get());
    qint64 row = 0;
    qint64 column = 0;
    bool inRow = false;
    while (!xml.atEnd() && !sink.Stopped()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (Named(xml, u"row")) {
                const qint64 number = ReferenceRow(Attribute(xml, u"r"));
                row = number > 0 ? number : row + 1;
                column = 0;
                inRow = true;
            } else if (inRow && Named(xml, u"c")) {
                const qint64 at = ReferenceColumn(Attribute(xml, u"r"));
                if (at >= 0)
                    column = at;
                const auto [text, number] = ReadXlsxCell(xml, shared);
                sink.Cell(row, column, text, number);
                ++column;
            }
        } else if (token == QXmlStreamReader::EndElement && Named(xml, u"row")) {
            sink.EndRow(row);
            inRow = false;
        } else if (token == QXmlStreamReader::EndElement && Named(xml, u"sheetData")) {
            break;
        }
    }
    Finish(xml, *part);
}

// ---------------------------------------------------------------------------------------------
// .ods

// The text of a paragraph (<text:p>, <text:h>) at its start: its spans' text, <text:s> as its
// spaces, tabs and line breaks; notes and annotations left out.
void AppendParagraph(QXmlStreamReader& xml, QString* text) {
    int depth = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            text->append(xml.text());
        } else if (token == QXmlStreamReader::StartElement) {
            if (Named(xml, u"s")) {
                bool ok = false;
                const qint64 count = Attribute(xml, u"c").toLongLong(&ok);
                text->append(
                    QString(ok ? std::clamp<qint64>(count, 0, kMostCellChars + 1) : 1, u' '));
                xml.skipCurrentElement();
            } else if (Named(xml, u"tab")) {
                text->append(u'\t');
                xml.skipCurrentElement();
            } else if (Named(xml, u"line-break")) {
                text->append(u'\n');
                xml.skipCurrentElement();
            } else if (Named(xml, u"note") || Named(xml, u"annotation") ||
                       Named(xml, u"ruby-text")) {
                xml.skipCurrentElement();
            } else {
                ++depth;
            }
        } else if (token == QXmlStreamReader::EndElement && depth-- == 0) {
            return;
        }
        if (text->size() > kMostCellChars)
            throw Refusal{QStringLiteral("試算表有一格超過 %1 個字，無法匯入").arg(kMostCellChars)};
    }
}

// A repeat count of an .ods row or cell: 1 unless the attribute says more.
qint64 Repeats(const QXmlStreamReader& xml, QStringView name) {
    bool ok = false;
    const qint64 count = Attribute(xml, name).toLongLong(&ok);
    return ok && count > 1 ? std::min(count, kMostRepeat) : 1;
}

// One cell at its start: its value and whether it is a number.
std::pair<QString, bool> ReadOdsCell(QXmlStreamReader& xml) {
    // Taken before the cell's text is read, which moves the reader off the cell's attributes.
    const QString type = Attribute(xml, u"value-type").toString();
    const bool number = type == u"float" || type == u"percentage" || type == u"currency";
    const QString value = number ? Attribute(xml, u"value").trimmed().toString() : QString();
    const bool truth = Attribute(xml, u"boolean-value") == u"true";
    QString text;
    int paragraphs = 0;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (Named(xml, u"p") || Named(xml, u"h")) {
                if (paragraphs++ > 0)
                    text.append(u'\n');
                AppendParagraph(xml, &text);
            } else {
                xml.skipCurrentElement();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            break;
        }
    }
    if (number && !value.isEmpty())
        return {value, true};
    if (type == u"boolean")
        return {truth ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), false};
    return {text, false};
}

// Calls `table` at the start of each sheet (<table:table>) of content.xml with its name; it
// reads the sheet or skips it, and answers whether to go on.
void ForEachOdsTable(Archive& zip, const std::function<bool(QXmlStreamReader&, QString)>& table) {
    std::unique_ptr<PartDevice> part = zip.Open(QStringLiteral("content.xml"));
    if (!part)
        throw Refusal{DamagedText()};
    QXmlStreamReader xml(part.get());
    int tables = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || !Named(xml, u"table"))
            continue;
        if (++tables > kMostEntries)
            throw Refusal{DamagedText()};
        if (!table(xml, Attribute(xml, u"name").toString()))
            break;
    }
    Finish(xml, *part);
}

void ReadOdsRows(QXmlStreamReader& xml, RowSink& sink) {
    qint64 row = 1;
    int depth = 0;
    while (!xml.atEnd() && !sink.Stopped()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && depth-- == 0)
            return;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (!Named(xml, u"table-row")) {
            // Row groups and header rows hold rows; columns, shapes and the like none.
            if (Named(xml, u"table-row-group") || Named(xml, u"table-header-rows") ||
                Named(xml, u"table-rows"))
                ++depth;
            else
                xml.skipCurrentElement();
            continue;
        }
        const qint64 rows = Repeats(xml, u"number-rows-repeated");
        qint64 column = 0;
        while (!xml.atEnd() && !sink.Stopped()) {
            const auto cellToken = xml.readNext();
            if (cellToken == QXmlStreamReader::EndElement)
                break;
            if (cellToken != QXmlStreamReader::StartElement)
                continue;
            if (!Named(xml, u"table-cell") && !Named(xml, u"covered-table-cell")) {
                xml.skipCurrentElement();
                continue;
            }
            const qint64 columns = Repeats(xml, u"number-columns-repeated");
            const auto [text, number] = ReadOdsCell(xml);
            // A repeated cell with a value is a field in each column, up to one past the limit.
            if (!text.isEmpty()) {
                for (qint64 i = 0; i < columns && !sink.Stopped(); ++i)
                    sink.Cell(row, column + i, text, number);
            }
            column += columns;
        }
        if (!sink.HasCells()) {
            // An empty row repeated, as a sheet ends with a million of them: numbers only.
            row += rows;
            continue;
        }
        const CsvRecord cells = sink.Copy();
        for (qint64 i = 0; i < rows && !sink.Stopped(); ++i) {
            if (i > 0)
                sink.Restore(cells);
            sink.EndRow(row + i);
        }
        row += rows;
    }
}

// ---------------------------------------------------------------------------------------------

// The archive in `bytes` and what kind of workbook it is; a refusal for anything else.
SheetFormat Recognize(const QByteArray& bytes, Archive& zip) {
    if (bytes.startsWith(kCompoundFile)) {
        // A workbook saved with a password is a compound file holding an "EncryptionInfo"
        // stream; one without is from the spreadsheet programs of before 2007.
        const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28);
        if (bytes.contains(name))
            throw Refusal{EncryptedText()};
        throw Refusal{QStringLiteral("舊版試算表檔案（.xls）無法匯入，請另存為 .xlsx 或 .ods")};
    }
    if (!bytes.startsWith("PK"))
        throw Refusal{NotSheetText()};
    if (!zip.IsOpen())
        throw Refusal{bytes.startsWith("PK\x03\x04") ? DamagedText() : NotSheetText()};
    if (zip.Entries() > kMostEntries)
        throw Refusal{DamagedText()};
    if (zip.AnyEncrypted())
        throw Refusal{EncryptedText()};
    if (zip.Has(QStringLiteral("xl/workbook.xml")))
        return SheetFormat::Xlsx;
    const std::optional<QByteArray> type = zip.ReadSmall(QStringLiteral("mimetype"), 256);
    if (!type || type->trimmed() != kOdsType || !zip.Has(QStringLiteral("content.xml")))
        throw Refusal{NotSheetText()};
    // A document saved with a password keeps its parts encrypted, as its manifest says.
    if (std::unique_ptr<PartDevice> manifest = zip.Open(QStringLiteral("META-INF/manifest.xml"))) {
        QXmlStreamReader xml(manifest.get());
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && Named(xml, u"encryption-data"))
                throw Refusal{EncryptedText()};
        }
    }
    return SheetFormat::Ods;
}

QString NoSuchSheetText(const QString& name) {
    return QStringLiteral("找不到工作表「%1」").arg(name);
}

}  // namespace

bool LooksLikeSheet(QByteArrayView bytes) {
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06") ||
           bytes.startsWith(QByteArrayView(kCompoundFile));
}

SheetRecords ReadSheet(const QByteArray& bytes, const QString& sheet, std::size_t mostRecords,
                       int mostFields, const std::function<bool(CsvRecord&&)>& take) {
    SheetRecords result;
    RowSink sink(mostRecords, mostFields, take, &result);
    try {
        Archive zip(bytes);
        result.format = Recognize(bytes, zip);
        if (result.format == SheetFormat::Xlsx) {
            const std::vector<XlsxSheet> sheets = XlsxSheets(zip);
            const auto chosen = std::find_if(sheets.begin(), sheets.end(), [&](const XlsxSheet& s) {
                return sheet.isEmpty() || s.name == sheet;
            });
            if (chosen == sheets.end())
                throw Refusal{sheet.isEmpty() ? QStringLiteral("試算表沒有工作表")
                                              : NoSuchSheetText(sheet)};
            result.sheet = chosen->name;
            const QString part = XlsxPart(zip, chosen->relation);
            SharedStrings shared;
            shared.Read(zip);
            ReadXlsxRows(zip, part, shared, sink);
        } else {
            bool found = false;
            ForEachOdsTable(zip, [&](QXmlStreamReader& xml, const QString& name) {
                if (!sheet.isEmpty() && name != sheet) {
                    xml.skipCurrentElement();
                    return true;
                }
                found = true;
                result.sheet = name;
                ReadOdsRows(xml, sink);
                return false;
            });
            if (!found)
                throw Refusal{sheet.isEmpty() ? QStringLiteral("試算表沒有工作表")
                                              : NoSuchSheetText(sheet)};
        }
    } catch (const Refusal& refusal) {
        result.outcome = SheetOutcome::Refused;
        result.error = refusal.text;
        result.line = 0;
    }
    if (result.outcome != SheetOutcome::Read)
        result.records.clear();
    return result;
}

SheetNames ListSheets(const QByteArray& bytes) {
    SheetNames result;
    try {
        Archive zip(bytes);
        result.format = Recognize(bytes, zip);
        if (result.format == SheetFormat::Xlsx) {
            for (const XlsxSheet& sheet : XlsxSheets(zip))
                result.names << sheet.name;
        } else {
            ForEachOdsTable(zip, [&](QXmlStreamReader& xml, const QString& name) {
                result.names << name;
                xml.skipCurrentElement();
                return true;
            });
        }
    } catch (const Refusal& refusal) {
        result.error = refusal.text;
        result.names.clear();
    }
    return result;
}

QString WholeNumberDigits(QStringView number, int mostDigits) {
    number = number.trimmed();
    // digits[.digits][E[+-]digits]
    qsizetype i = 0;
    QString digits;
    qsizetype point = -1;
    while (i < number.size() && (number[i].isDigit() || number[i] == u'.')) {
        if (number[i] == u'.') {
            if (point >= 0)
                return {};
            point = digits.size();
        } else if (number[i] >= u'0' && number[i] <= u'9') {
            digits.append(number[i]);
        } else {
            return {};
        }
        ++i;
    }
    if (digits.isEmpty())
        return {};
    if (point < 0)
        point = digits.size();
    if (i < number.size()) {
        if (number[i] != u'E' && number[i] != u'e')
            return {};
        bool ok = false;
        const int exponent = number.sliced(i + 1).toInt(&ok);
        if (!ok || exponent > 64 || exponent < -64)
            return {};
        point += exponent;
    }
    // Now the value is digits with the point before digits[point].
    while (!digits.isEmpty() && digits.back() == u'0' && digits.size() > point)
        digits.chop(1);
    if (point < digits.size())
        return {};  // a fraction
    // Leading zeros are no digits of the number.
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == u'0')
        ++first;
    const qsizetype significant = digits.size() - first;
    if (significant > 15)
        return {};
    if (point > digits.size())
        digits.append(QString(point - digits.size(), u'0'));
    QString whole = digits.sliced(std::min(first, point));
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    if (whole.size() > mostDigits)
        return {};
    return whole;
}

}  // namespace paysum
