#include "SheetData.h"

#include "common/CheckDigits.h"

#include <QBuffer>
#include <QString>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <functional>
#include <utility>
#include <vector>

namespace paysum::bench {

namespace {

constexpr int kRows = kSheetRows;
const char* const kNames[] = {"陳美玲", "王小明", "林志豪", "張淑芬", "李建宏",
                              "黃雅婷", "吳俊傑", "劉怡君", "蔡宗翰", "楊佳穎"};

QByteArray Code(int row) {
    return QByteArray::number(row).rightJustified(5, '0');
}
// A twelve-digit account of the row whose check digit is right.
QByteArray Account(int row) {
    const QByteArray base = "004001" + QByteArray::number(row).rightJustified(5, '0');
    for (char digit = '0'; digit <= '9'; ++digit) {
        if (CheckAccountNo(QString::fromLatin1(base + digit)))
            return base + digit;
    }
    return base + '0';
}

// An archive whose part `name` is written a piece at a time by `write`, with the small parts
// given before it.
QByteArray Archive(const std::vector<std::pair<QString, QByteArray>>& small, const QString& name,
                   const std::function<void(QIODevice&)>& write) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto& [part, bytes] : small) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(part));
        file.write(bytes);
        file.close();
    }
    QuaZipFile file(&zip);
    file.open(QIODevice::WriteOnly, QuaZipNewInfo(name));
    write(file);
    file.close();
    zip.close();
    return buffer.data();
}

QByteArray XlsxBytes() {
    // Shared strings: the headings, the names, then each row's code and account.
    QByteArray shared = "<sst>";
    const char* const headings[] = {"員工代碼", "員工帳號", "員工薪資", "員工姓名", "存單號碼"};
    for (const char* text : headings)
        shared += QByteArray("<si><t>") + text + "</t></si>";
    for (const char* text : kNames)
        shared += QByteArray("<si><t>") + text + "</t></si>";
    for (int row = 1; row <= kRows; ++row)
        shared += "<si><t>" + Code(row) + "</t></si><si><t>" + Account(row) + "</t></si>";
    shared += "</sst>";
    return Archive(
        {{QStringLiteral("xl/workbook.xml"),
          "<workbook xmlns:r='r'><sheets><sheet name='員工' sheetId='1' r:id='rId1'/></sheets>"
          "</workbook>"},
         {QStringLiteral("xl/_rels/workbook.xml.rels"),
          "<Relationships><Relationship Id='rId1' Target='worksheets/sheet1.xml'/>"
          "</Relationships>"},
         {QStringLiteral("xl/sharedStrings.xml"), shared}},
        QStringLiteral("xl/worksheets/sheet1.xml"), [](QIODevice& out) {
            out.write("<worksheet><sheetData><row r='1'>");
            for (int column = 0; column < 5; ++column)
                out.write("<c r='" + QByteArray(1, char('A' + column)) + "1' t='s'><v>" +
                          QByteArray::number(column) + "</v></c>");
            out.write("</row>");
            for (int row = 1; row <= kRows; ++row) {
                const QByteArray r = QByteArray::number(row + 1);
                const int code = 15 + 2 * (row - 1);
                out.write("<row r='" + r + "'><c r='A" + r + "' s='2' t='s'><v>" +
                          QByteArray::number(code) + "</v></c><c r='B" + r + "' s='2' t='s'><v>" +
                          QByteArray::number(code + 1) + "</v></c><c r='C" + r +
                          "' s='3' t='n'><v>" + QByteArray::number(30000 + row % 5000) +
                          "</v></c><c r='D" + r + "' t='s'><v>" + QByteArray::number(5 + row % 10) +
                          "</v></c><c r='F" + r + "' s='4'/></row>");
            }
            out.write("</sheetData></worksheet>");
        });
}

QByteArray OdsBytes() {
    const auto text = [](const QByteArray& value) {
        return "<table:table-cell office:value-type='string'><text:p>" + value +
               "</text:p></table:table-cell>";
    };
    const auto number = [](const QByteArray& value) {
        return "<table:table-cell office:value-type='float' office:value='" + value + "'><text:p>" +
               value + "</text:p></table:table-cell>";
    };
    return Archive(
        {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"}},
        QStringLiteral("content.xml"), [&](QIODevice& out) {
            out.write(
                "<office:document-content xmlns:office='o' xmlns:table='t' xmlns:text='x'>"
                "<office:body><office:spreadsheet><table:table "
                "table:name='員工'><table:table-row>");
            for (const char* heading : {"員工代碼", "員工帳號", "員工薪資", "員工姓名", "存單號碼"})
                out.write(text(heading));
            out.write("</table:table-row>");
            for (int row = 1; row <= kRows; ++row)
                out.write("<table:table-row>" + text(Code(row)) + text(Account(row)) +
                          number(QByteArray::number(30000 + row % 5000)) + text(kNames[row % 10]) +
                          "<table:table-cell table:number-columns-repeated='1019'/>"
                          "</table:table-row>");
            out.write(
                "<table:table-row table:number-rows-repeated='948575'><table:table-cell "
                "table:number-columns-repeated='1024'/></table:table-row></table:table>"
                "</office:spreadsheet></office:body></office:document-content>");
        });
}

// The same 100,000 employees as text files the way spreadsheet programs save them.
QByteArray TextBytes(char separator) {
    QByteArray text =
        QByteArray("員工代碼,員工帳號,員工薪資,員工姓名,存單號碼\r\n").replace(',', separator);
    for (int row = 1; row <= kRows; ++row)
        text += Code(row) + separator + Account(row) + separator + "\"45,000\"" + separator +
                kNames[row % 10] + separator + "\r\n";
    return text;
}

QByteArray Utf16Bytes(const QByteArray& utf8) {
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

}  // namespace

QByteArray SheetXlsx() {
    return XlsxBytes();
}

QByteArray SheetOds() {
    return OdsBytes();
}

QByteArray SheetText(char separator) {
    return TextBytes(separator);
}

QByteArray Utf16Of(const QByteArray& utf8) {
    return Utf16Bytes(utf8);
}

QByteArray SheetOfFormat(int index) {
    switch (index) {
        case 0:
            return XlsxBytes();
        case 1:
            return OdsBytes();
        case 2:
            return TextBytes(',');
        case 3:
            return TextBytes('\t');
        default:
            return Utf16Bytes(TextBytes(','));
    }
}

}  // namespace paysum::bench
