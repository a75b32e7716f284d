#pragma once

#include "data/DbError.h"
#include "data/PayRunHistory.h"
#include "output/TransferFile.h"
#include "output/TransferFileCheck.h"

#include <QString>

#include <optional>
#include <vector>

namespace paysum {

// The SHA-256 of a file's bytes in lower-case hexadecimal.
QString Sha256Of(const QByteArray& bytes);

// The current batch as the batch file is made from it: the company's values, the stored batch
// dates and the transfers in the order they were stored.
struct Batch {
    bool hasCompany = false;  // S_BASE has its row
    TransferHeader header;    // the stored dates (empty when S_DAY has no row) and S_BASE values
    std::vector<BatchPayee> payees;

    std::vector<TransferItem> Items() const;
};

// Reads the batch from the main database.
DbResult ReadBatch(Batch* batch);

// Reads the batch and, in the same read of its transfers, the checks of them against the
// employee master that ReadBatchWarnings() takes.
DbResult ReadBatch(Batch* batch, std::vector<PayeeCheck>* checks);

// The batch an archived run was: its company record as it stood, its dates and its transfers.
Batch BatchOfRun(const PayRun& run);

// How writing a batch file ended.
enum class BatchFileOutcome {
    Written,        // on the disk and read back exactly as meant
    DataFault,      // the batch does not fit the file (no company, a value out of its width, ...)
    WriteFailed,    // the file could not be written; an earlier file of that name is untouched
    Mismatch,       // the file read back differs from what was meant
    NotAsRecorded,  // an archived run's file would differ from the one written then; not written
};

struct BatchFileResult {
    BatchFileOutcome outcome = BatchFileOutcome::Written;
    QString detail;       // what failed, for a mismatch or a data fault
    WrittenFile file;     // the file as written
    QString recordError;  // the written file could not be recorded with the current batch
};

// A write that did not end with the file written.
BatchFileResult Failure(BatchFileOutcome outcome, const QString& detail);

// Checks the batch, writes the file beside the target and renames it into place only once all
// of it is written, then reads the file back and compares it with what was meant.
BatchFileResult WriteBatchFile(const QString& path, bool hasCompany, const TransferHeader& header,
                               const std::vector<TransferItem>& items);

// Writes the current batch's file as WriteBatchFile() does and records it with the batch, so that
// the pay run's history tells which file went out.
BatchFileResult WriteCurrentBatchFile(const QString& path, const Batch& batch);

// Writes an archived run's file again from what the run keeps. When a file was recorded for the
// run, the bytes must be the same as then (size and SHA-256); otherwise nothing is written.
BatchFileResult RewritePayRunFile(const QString& path, const PayRun& run);

// A batch file checked: the file's own faults, then how it differs from the current batch when
// compared with it.
struct Verification {
    QString readError;  // the file or the batch could not be read
    FileCheck check;
    std::vector<FileFault> faults;
    bool comparedWithBatch = false;
};

// Reads and checks the file at `path`; compares it with the current batch when `withBatch` says
// Always, or says WhenAny and the batch holds transfers.
enum class CompareBatch { Never, WhenAny, Always };
Verification VerifyFile(const QString& path, CompareBatch withBatch);

// The clerk's words for a fault CheckTransferFile found.
QString TransferFaultText(TransferFault fault);

}  // namespace paysum
