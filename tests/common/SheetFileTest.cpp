#include "common/SheetFile.h"

#include "support/Files.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <gtest/gtest.h>

#include <utility>

static void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace paysum {
namespace {

using Parts = std::vector<std::pair<QString, QByteArray>>;

QByteArray Sheet(const char* name) {
    return test::ReadFile(QStringLiteral(PAYSUM_SHEETS "/") + QString::fromUtf8(name));
}

// An archive of the parts given, the last written `times` times over, compressed at `level`
// (0: stored as they are, in deflate's stored blocks).
QByteArray Zip(const Parts& parts, int times = 1, int level = 1) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QuaZip zip(&buffer);
    EXPECT_TRUE(zip.open(QuaZip::mdCreate));
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        EXPECT_TRUE(
            file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED, level));
        for (int i = 0; i < (&bytes == &parts.back().second ? times : 1); ++i)
            file.write(bytes);
        file.close();
    }
    zip.close();
    return buffer.data();
}

QByteArray Ods(const QByteArray& rows) {
    return Zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                {QStringLiteral("content.xml"),
                 "<office:document-content xmlns:office='o' xmlns:table='t' xmlns:text='x'>"
                 "<office:body><office:spreadsheet><table:table table:name='S'>" +
                     rows +
                     "</table:table></office:spreadsheet></office:body>"
                     "</office:document-content>"}});
}

QByteArray Xlsx(const QByteArray& rows, const QByteArray& shared = {}) {
    Parts parts{{QStringLiteral("xl/workbook.xml"),
                 "<workbook xmlns:r='r'><sheets><sheet name='Data' sheetId='1' r:id='rId7'/>"
                 "</sheets></workbook>"},
                {QStringLiteral("xl/_rels/workbook.xml.rels"),
                 "<Relationships><Relationship Id='rId7' Target='/xl/worksheets/data.xml'/>"
                 "</Relationships>"},
                {QStringLiteral("xl/worksheets/data.xml"),
                 "<worksheet><sheetData>" + rows + "</sheetData></worksheet>"}};
    if (!shared.isEmpty())
        parts.push_back({QStringLiteral("xl/sharedStrings.xml"), "<sst>" + shared + "</sst>"});
    return Zip(parts);
}

struct Row {
    int line;
    QStringList fields;
    std::vector<bool> numbers;
};

void ExpectRows(const SheetRecords& read, const std::vector<Row>& rows) {
    ASSERT_EQ(read.outcome, SheetOutcome::Read) << read.error.toStdString();
    ASSERT_EQ(read.records.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(read.records[i].line, rows[i].line);
        EXPECT_EQ(read.records[i].fields, rows[i].fields) << rows[i].line;
        EXPECT_EQ(read.records[i].numbers, rows[i].numbers) << rows[i].line;
    }
}

QString Refusal(const QByteArray& bytes, const QString& sheet = {}) {
    const SheetRecords read = ReadSheet(bytes, sheet, 100, 64);
    EXPECT_EQ(read.outcome, SheetOutcome::Refused);
    EXPECT_TRUE(read.records.empty());
    return read.error;
}

// The sheets as LibreOffice Calc saved them: text cells keep their leading zeros, numbers come as
// the sheet stores them and are flagged, formulas give their values, the empty row and the
// formatted empty cells after the last value are left out.
TEST(SheetFileTest, ReadsTheSheetsASpreadsheetProgramSaved) {
    const QStringList headings{"員工代碼", "員工帳號", "員工薪資", "員工姓名", "存單號碼", "加倍"};
    const Row first{2,
                    {"00001", "004001012341", "45000", "王小明", "01234567", "90000"},
                    {false, false, true, false, false, true}};
    const Row second{3,
                     {"2", "4001012341", "38500", "陳美玲", "1234567", "77000"},
                     {true, true, true, false, true, true}};
    const QStringList last{"00004", "123456789012", "30000.5", "林  志豪\n第二行", "", "00004號"};
    const auto lastNumbers = [](bool boolean) {
        return std::vector<bool>{false, true, true, false, false, false, boolean, false};
    };
    // Calc writes a boolean into .xlsx as the number 1.
    ExpectRows(ReadSheet(Sheet("staff.xlsx"), {}, 100, 64),
               {{1, headings, std::vector<bool>(6)},
                first,
                second,
                {5, last + QStringList{"1", "#DIV/0!"}, lastNumbers(true)}});
    ExpectRows(ReadSheet(Sheet("staff.ods"), {}, 100, 64),
               {{1, headings, std::vector<bool>(6)},
                first,
                second,
                {5, last + QStringList{"TRUE", "#DIV/0!"}, lastNumbers(false)}});

    for (const char* name : {"staff.xlsx", "staff.ods"}) {
        const QByteArray bytes = Sheet(name);
        EXPECT_TRUE(LooksLikeSheet(bytes));
        const SheetNames names = ListSheets(bytes);
        EXPECT_TRUE(names.error.isEmpty());
        EXPECT_EQ(names.names, QStringList({"員工", "轉帳"}));
        const SheetRecords transfers = ReadSheet(bytes, QStringLiteral("轉帳"), 100, 64);
        EXPECT_EQ(transfers.sheet, QStringLiteral("轉帳"));
        ExpectRows(transfers,
                   {{1, {"員工代碼", "員工帳號", "轉帳金額", "員工姓名"}, std::vector<bool>(4)},
                    {2, {"00001", "004001012341", "1500", "王小明"}, {false, false, true, false}}});
        EXPECT_EQ(Refusal(bytes, QStringLiteral("薪資")), QStringLiteral("找不到工作表「薪資」"));

        // Records handed on one by one, and the reading stopped when asked.
        std::vector<int> lines;
        const SheetRecords taken = ReadSheet(bytes, {}, 100, 64, [&](CsvRecord&& record) {
            lines.push_back(record.line);
            return lines.size() < 2;
        });
        EXPECT_EQ(taken.outcome, SheetOutcome::Read);
        EXPECT_TRUE(taken.records.empty());
        EXPECT_EQ(lines, std::vector<int>({1, 2}));
    }
    EXPECT_EQ(ListSheets(Sheet("staff.ods")).format, SheetFormat::Ods);
    EXPECT_FALSE(LooksLikeSheet(QByteArray("員工代碼,員工帳號\r\n")));
}

// What other programs write: rich text runs with a phonetic guide, escaped characters, inline
// strings, booleans, skipped row numbers, cells without a reference.
TEST(SheetFileTest, ReadsTheCellFormsOfOtherPrograms) {
    const QByteArray shared =
        "<si><r><t>王</t></r><r><rPr><b/></rPr><t>小明</t></r><rPh><t>おう</t></rPh></si>"
        "<si><t>a_x000D_b</t></si>";
    ExpectRows(ReadSheet(Xlsx("<row r='2'><c r='B2' t='s'><v>0</v></c><c t='b'><v>1</v></c>"
                              "<c t='inlineStr'><is><t>0012</t></is></c></row>"
                              "<row><c r='AA3'><v>1.23456789012E+11</v></c></row>"
                              "<row r='9'><c r='A9' t='s'><v>1</v></c><c r='C9' t='e'><v>#N/A</v>"
                              "</c><c r='D9' s='4'/></row>",
                              shared),
                         {}, 100, 64),
               {{2, {"", "王小明", "TRUE", "0012"}, {false, false, false, false}},
                {3, QStringList(26) << "1.23456789012E+11",
                 [] {
                     std::vector<bool> numbers(27);
                     numbers[26] = true;
                     return numbers;
                 }()},
                {9, {"a\rb", "", "#N/A"}, {false, false, false}}});
    EXPECT_EQ(Refusal(Xlsx("<row><c t='s'><v>5</v></c></row>", shared)),
              QStringLiteral("試算表檔案不完整或已損毀，無法匯入"));
}

TEST(SheetFileTest, RefusesWhatIsNoSheetItCanRead) {
    const QString notSheet = QStringLiteral("不是試算表檔案（.xlsx 或 .ods），無法匯入");
    const QString damaged = QStringLiteral("試算表檔案不完整或已損毀，無法匯入");
    const QString locked = QStringLiteral("試算表有密碼保護，無法匯入");
    EXPECT_EQ(Refusal("員工代碼,員工帳號\r\n00001,004001012341\r\n"), notSheet);
    EXPECT_EQ(Refusal(Zip({{QStringLiteral("word/document.xml"), "<w/>"}})), notSheet);
    EXPECT_EQ(Refusal(Zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.text"},
                           {QStringLiteral("content.xml"), "<a/>"}})),
              notSheet);
    const QByteArray xlsx = Sheet("staff.xlsx");
    EXPECT_EQ(Refusal(xlsx.left(xlsx.size() / 2)), damaged);
    EXPECT_EQ(Refusal(Ods("<table:table-row><table:table-cell>")), damaged);
    EXPECT_EQ(ListSheets(xlsx.left(100)).error, damaged);
    // A part whose bytes are not those the archive's checksum was taken of.
    QByteArray changed =
        Zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
             {QStringLiteral("content.xml"), "<a><b>00012</b></a>"}},
            1, 0);
    ASSERT_TRUE(changed.contains("00012"));
    changed.replace("00012", "00013");
    EXPECT_EQ(Refusal(changed), damaged);

    // A workbook saved with a password is a compound file holding its encryption's description;
    // an .ods (saved by Calc with the password 1234) keeps its parts encrypted.
    QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    compound += QByteArray(504, '\0');
    EXPECT_EQ(Refusal(compound + QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28)),
              locked);
    EXPECT_EQ(Refusal(compound),
              QStringLiteral("舊版試算表檔案（.xls）無法匯入，請另存為 .xlsx 或 .ods"));
    EXPECT_EQ(Refusal(Sheet("locked.ods")), locked);
    EXPECT_EQ(ListSheets(Sheet("locked.ods")).error, locked);
}

// Repeats and sizes come from outside: an .ods row of a cell repeated a thousand million times
// and a million empty rows give a few fields, the limits refuse at the row that passes them, and a
// part that unpacks to more than the bound is refused, whatever the archive says of its size.
TEST(SheetFileTest, BoundsWhatTheFileAsksFor) {
    const QByteArray value =
        "<table:table-cell office:value-type='string'><text:p>a</text:p>"
        "</table:table-cell>";
    const QByteArray empty = "<table:table-cell table:number-columns-repeated='1000000000'/>";
    ExpectRows(
        ReadSheet(Ods("<table:table-row>" + value + "<table:table-cell/>" + value + empty +
                      "</table:table-row><table:table-row table:number-rows-repeated="
                      "'1000000'>" +
                      empty + "</table:table-row><table:table-row>" + value + "</table:table-row>"),
                  {}, 100, 64),
        {{1, {"a", "", "a"}, {false, false, false}}, {1000002, {"a"}, {false}}});

    SheetRecords read = ReadSheet(Ods("<table:table-row table:number-rows-repeated='1000000000'>" +
                                      value + "</table:table-row>"),
                                  {}, 100, 64);
    EXPECT_EQ(read.outcome, SheetOutcome::TooManyRecords);
    EXPECT_EQ(read.line, 101);
    EXPECT_TRUE(read.records.empty());
    read = ReadSheet(Ods("<table:table-row>" + empty + value + "</table:table-row>"), {}, 100, 64);
    EXPECT_EQ(read.outcome, SheetOutcome::TooManyFields);
    EXPECT_EQ(read.line, 1);
    read = ReadSheet(Xlsx("<row r='7'><c r='BM7'><v>1</v></c></row>"), {}, 100, 64);
    EXPECT_EQ(read.outcome, SheetOutcome::TooManyFields);
    EXPECT_EQ(read.line, 7);
    // Formatted empty cells far to the right are no fields.
    ExpectRows(
        ReadSheet(Xlsx("<row r='7'><c r='A7'><v>1</v></c><c r='XFD7' s='3'/></row>"), {}, 100, 64),
        {{7, {"1"}, {true}}});

    QByteArray spaces(1 << 20, ' ');
    const QByteArray bomb =
        Zip({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
             {QStringLiteral("content.xml"), spaces}},
            129);
    EXPECT_LT(bomb.size(), 1 << 20);
    EXPECT_EQ(Refusal(bomb), QStringLiteral("試算表的內容超過 128 MB，無法匯入"));
}

TEST(SheetFileTest, WholeNumberDigits) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"45000", u"45000"},
        {u"45000.0", u"45000"},
        {u"1.23456789012E+11", u"123456789012"},
        {u"4.001012341e9", u"4001012341"},
        {u"1E3", u"1000"},
        {u"0", u"0"},
        {u"12.5", u""},
        {u"-3", u""},
        {u"1.5E-1", u""},
        {u"1.2345678901234568E+16", u""},
        {u"4,5000", u""},
        {u"", u""},
        {u"1e", u""},
    };
    for (const auto& [number, digits] : cases)
        EXPECT_EQ(WholeNumberDigits(QString::fromUtf16(number)), QString::fromUtf16(digits))
            << QString::fromUtf16(number).toStdString();
    EXPECT_EQ(WholeNumberDigits(u"123456789012", 11), QString());
}

}  // namespace
}  // namespace paysum
