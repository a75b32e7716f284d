#pragma once
// What the fuzz targets of the workbook reader share: an archive made of the fuzzer's parts, and
// the properties every workbook read must have.
#include "common/SheetFile.h"

#include "FuzzInput.h"

#include <QBuffer>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <utility>
#include <vector>

namespace paysum::fuzz {

constexpr std::size_t kMostSheetRecords = 50;
constexpr int kMostSheetFields = 16;

// An archive of the parts given, stored without compression.
inline QByteArray ZipOf(const std::vector<std::pair<QString, QByteArray>>& parts) {
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QuaZip zip(&buffer);
    Require(zip.open(QuaZip::mdCreate), "an archive is made");
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        Require(file.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, 0, 0),
                "a part is added");
        file.write(bytes);
        file.close();
    }
    zip.close();
    return buffer.data();
}

// Whatever the bytes, the reader refuses with words or gives records within the limits, each with
// a value in its last field and a number flag per field; the records handed on one by one are
// the ones kept, and the sheet read is one the list of sheets names (when the rest of the file,
// which the reading of the first sheet need not reach, lets it be listed).
inline void CheckSheet(const QByteArray& bytes) {
    const SheetRecords read = ReadSheet(bytes, {}, kMostSheetRecords, kMostSheetFields);
    if (read.outcome == SheetOutcome::Refused) {
        Require(!read.error.isEmpty() && read.records.empty(), "a refusal says why");
        return;
    }
    if (read.outcome != SheetOutcome::Read) {
        Require(read.line >= 1 && read.records.empty(), "a limit names its row");
        return;
    }
    Require(read.records.size() <= kMostSheetRecords, "at most the records asked for");
    for (const CsvRecord& record : read.records) {
        Require(record.line >= 1, "rows are numbered from 1");
        Require(!record.fields.isEmpty() && record.fields.size() <= kMostSheetFields,
                "at most the fields asked for");
        Require(!record.fields.back().isEmpty(), "no empty field at the end");
        Require(record.numbers.size() == static_cast<std::size_t>(record.fields.size()),
                "a number flag per field");
    }
    std::vector<CsvRecord> taken;
    ReadSheet(bytes, {}, kMostSheetRecords, kMostSheetFields, [&](CsvRecord&& record) {
        taken.push_back(std::move(record));
        return true;
    });
    Require(taken.size() == read.records.size(), "as many records handed on as kept");
    for (std::size_t i = 0; i < taken.size(); ++i)
        Require(taken[i].line == read.records[i].line &&
                    taken[i].fields == read.records[i].fields &&
                    taken[i].numbers == read.records[i].numbers,
                "the same records handed on as kept");
    const SheetNames names = ListSheets(bytes);
    Require(!names.error.isEmpty() || names.names.contains(read.sheet), "the sheet is listed");
}

}  // namespace paysum::fuzz
