#pragma once

#include "data/DbError.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace paysum {

// A batch file as it was written: where, its size and SHA-256, the count and total its header
// record gives, and when.
struct WrittenFile {
    QString name;
    qint64 size = 0;
    QString sha256;  // lower-case hexadecimal
    int count = 0;
    qint64 total = 0;
    QString writtenAt;  // "yyyy-MM-dd hh:mm:ss", local time

    // No file holds the batch: none was written, or the batch changed after it was (superseded).
    bool IsEmpty() const { return sha256.isEmpty(); }
    // A file was written for an earlier state of the batch; only its name is kept.
    bool Superseded() const { return !name.isEmpty() && sha256.isEmpty(); }
};

// Run numbers run from 1 to 2^53, the whole numbers a double holds exactly, so that every reader
// of `history --json` reads them right; a restore refuses any other, and a new batch beyond the
// last is refused.
inline constexpr qint64 kLastRunNumber = qint64(1) << 53;

// One archived pay run, without its transfers.
struct PayRunSummary {
    qint64 run = 0;      // numbered from 1 in the order the runs were archived
    QString archivedAt;  // "yyyy-MM-dd hh:mm:ss", local time
    QString loginDate;
    QString transferDate;
    int count = 0;
    qint64 total = 0;
    WrittenFile file;  // empty when no batch file was written for the run
};

// An archived pay run whole: the company record as it stood (S_BASE's seven values) and its
// transfers in the order they were entered (S_ITEM's six values each).
struct PayRun {
    PayRunSummary summary;
    QStringList company;
    QList<QStringList> items;
};

// The format of every time the history keeps.
inline const QString kHistoryTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

// Every archived run, newest first.
DbResult ReadPayRuns(std::vector<PayRunSummary>* runs);

// The archived run `run` with its transfers. A run that is not kept is an error, unless `kept` is
// given: it then tells whether the run is kept, and a run that is not is no error.
DbResult ReadPayRun(qint64 run, PayRun* payRun, bool* kept = nullptr);

// The accounts and amounts of the newest archived run in entry order, empty when none is kept.
DbResult ReadLastRunTransfers(QList<QStringList>* transfers);

// Records the batch file just written for the current batch, in place of an earlier one.
DbResult RecordWrittenFile(const WrittenFile& file);

// The batch file recorded for the current batch, empty when none (or a superseded one).
DbResult ReadWrittenFile(WrittenFile* file);

// Runs `write`, which changes `table`. A change to the batch's transfers (S_ITEM) also marks the
// batch file recorded for the batch as superseded, in the same transaction as the change; one is
// begun when the caller has none. Every write of a transfer goes through here but bringing a run
// back, which brings back its file with it.
DbResult WriteTable(const QSqlDatabase& db, const QString& table,
                    const std::function<DbResult()>& write);

// The sum of the amounts of the current batch's transfers, leaving out the one with code
// `exceptCode` when it is given.
DbResult ReadBatchTotal(const QString& exceptCode, qint64* total);

// The number of the current batch's transfers and the sum of their amounts in one query, leaving
// out the one with code `exceptCode` when it is given (not null).
DbResult ReadBatchCountAndTotal(int* count, qint64* total, const QString& exceptCode = {});

// Starts a new batch: archives the current batch when it holds transfers (its transfers, dates,
// the company record, the written file) as the next run, and clears the transfers, the dates and
// the written file, all in one transaction, so that a failure leaves everything as it was.
// `archivedRun`, when given, gets the number of the run archived, 0 when the batch was empty.
[[nodiscard]] DbResult ArchiveAndClearBatch(const QDateTime& now, qint64* archivedRun = nullptr);

// Whether the current batch holds a transfer.
DbResult BatchHoldsTransfers(bool* holds);

// Brings the archived run back as the current batch: its transfers in their order, its dates and
// its written file. Refused, with nothing changed, when the current batch holds a transfer.
enum class BringBack { Done, BatchNotEmpty };
[[nodiscard]] DbResult BringBackPayRun(qint64 run, BringBack* outcome);

// One transfer of the current batch beside the employee master's record of its payee.
struct PayeeCheck {
    QString id;
    QString account;
    QString amount;
    bool inMaster = false;
    QString masterAccount;
    QString masterPay;
};

// The current batch's transfers in entry order, each beside its payee's master record.
DbResult ReadPayeeChecks(std::vector<PayeeCheck>* checks);

// The current batch's rows in entry order, every column, as ReadRows() gives them, and
// ReadPayeeChecks() of them, in one read of the batch.
DbResult ReadItemsWithChecks(QList<QStringList>* items, std::vector<PayeeCheck>* checks);

}  // namespace paysum
