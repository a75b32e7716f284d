#pragma once

#include "common/BoundedFile.h"
#include "common/CsvText.h"
#include "common/SheetFile.h"
#include "data/DbError.h"

#include <QHash>
#include <QSet>
#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <vector>

namespace paysum {

// The largest file an import reads, the most rows it takes and the most fields a row may have:
// 100,000 rows of the widest values fit in 32 MB, more than the employee codes there are.
inline constexpr qint64 kMostImportBytes = qint64(32) << 20;
inline constexpr std::size_t kMostImportRows = 100'000;
inline constexpr int kMostImportFields = 64;

// What a spreadsheet file brings in: employees for S_STAFF, or transfers of the batch for S_ITEM
// (each payee not yet an employee filed in S_STAFF too).
enum class ImportKind { Employees, Transfers };

// What reading and checking a row found beyond its verdict, kept apart from the row, since most
// rows need none of it and a file holds up to 100,000 of them.
struct ImportRowDetail : QSharedData {
    // What an update changes in the master's row, as "caption：old → new".
    QStringList changes;
    // What the clerk is told of a row that passed: values filled in, what stays as it is.
    QStringList notes;
    // What reading the row found wrong before any check (a number cell that is no whole number),
    // and the columns read from number cells of a workbook (by their order in S_ITEM).
    QString readFault;
    QList<int> numberColumns;
};

// One row of the file with its values and its verdict.
struct ImportRow {
    int line = 0;  // the line of the file it starts on
    QString code;
    QString account;
    QString certificate;
    QString amount;  // the pay of an employee, the amount of a transfer
    QString name;
    QString remark;
    QString error;               // why the row cannot be written; empty when it can
    bool temporaryCode = false;  // a transfer without a code, given the next free temporary code
    bool newPayee = false;       // a transfer whose payee is filed in the employee master
    // An employee the master holds, written over it (ImportOptions::update), and whether its bank
    // account changes.
    bool update = false;
    bool accountChanged = false;
    // A name holding "?", which an export in an encoding that could not hold a character leaves;
    // written only once the clerk says it is right.
    bool doubtfulName = false;
    QSharedDataPointer<ImportRowDetail> detail;

    // The row's detail, an empty one when it has none.
    const ImportRowDetail& Detail() const;
    // The row's detail to write, made when the row has none.
    ImportRowDetail& EditDetail();
};

// How a file is imported: employees the master already holds are updated rather than refused;
// the sheet of a workbook read (the first when empty); and, for a workbook of several sheets when
// none is named, who chooses one (an empty answer cancels the import).
struct ImportOptions {
    bool update = false;
    QString sheet{};
    std::function<QString(const QStringList& sheets)> chooseSheet{};
};

// A file read and checked: the refusal of the whole file, or its rows.
struct ImportFile {
    FileReadOutcome read = FileReadOutcome::Read;
    QString readError;       // why the file could not be read at all, naming it
    bool cancelled = false;  // no sheet was chosen
    QString error;
    TextEncoding encoding = TextEncoding::Utf8;
    QString sheet;  // the sheet read of a workbook; empty for a text file
    ImportOptions options;
    std::vector<ImportRow> rows;

    int ErrorCount() const;
    int ValidCount() const { return static_cast<int>(rows.size()) - ErrorCount(); }
};

// What the database holds that the rows are checked against: the employees by code (the columns
// of S_STAFF in order) and the codes of the batch.
struct ImportContext {
    QHash<QString, QStringList> employees;
    QSet<QString> batchCodes;
    qint64 batchTotal = 0;  // the sum of the batch's amounts
};

// Decodes the file, parses it as CSV and takes each row's values by the column names of its first
// row; the rows are not checked yet.
ImportFile ReadImportFile(const QByteArray& bytes, ImportKind kind,
                          const ImportOptions& options = {});

// Checks every row with the rules of the entry windows, the codes of the file against each other
// and against the database, and gives transfers without a code their temporary codes.
void CheckImportRows(ImportKind kind, std::vector<ImportRow>& rows, const ImportContext& context,
                     const ImportOptions& options = {});

// Refuses the rows whose names hold "?" (ImportRow::doubtfulName), for a reader who cannot be
// asked, saying how to take them all the same.
void RefuseDoubtfulNames(std::vector<ImportRow>& rows, const QString& howToAccept);

// The text of a doubtful name, as the preview shows it and the refusal says it.
QString DoubtfulNameText();

// Reads what the rows are checked against from the main database.
DbResult ReadImportContext(ImportContext* context);

// Reads and checks a file against the main database.
ImportFile PrepareImport(const QByteArray& bytes, ImportKind kind,
                         const ImportOptions& options = {});

// Reads the file at `path`, a regular file of at most kMostImportBytes, and checks it as
// PrepareImport() does; a file it cannot read is refused with the reason.
ImportFile PrepareImportFile(const QString& path, ImportKind kind,
                             const ImportOptions& options = {});

// Writes every row without an error in one transaction: all of them or none; an updated employee
// is written over the master's row, the batch's transfers left as they are. `progress`, when
// given, is told the number of rows written so far.
DbResult WriteImport(ImportKind kind, const std::vector<ImportRow>& rows,
                     const std::function<void(int)>& progress = {});

// What the preview says of a row: its error, or what writing it does ("正確", "新增", "更新：…"
// with the values that change and "（帳號變更）"), followed by its notes.
QString ImportVerdict(const ImportRow& row, const ImportOptions& options);

// The name of a kind as the messages say it.
QString ImportKindName(ImportKind kind);

// The name of a text file's encoding as the clerk is told it: "UTF-8", "UTF-16" or "Big5".
QString EncodingName(TextEncoding encoding);

}  // namespace paysum
