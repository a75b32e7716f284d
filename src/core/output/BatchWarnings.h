#pragma once

#include "data/PayRunHistory.h"

#include <QList>
#include <QStringList>

#include <vector>

namespace paysum {

// What looks wrong in a batch before its file goes to the bank, one line each: an account
// twice, an amount of zero, an amount over three times the payee's pay in the employee master,
// an account other than the master's, and a batch with the same accounts and amounts as the last
// archived run (`lastRun`: account and amount of each of its transfers); and a batch file written
// for the batch before it changed (`written` superseded), which must be written again. Empty when
// none holds.
QStringList BatchWarnings(const std::vector<PayeeCheck>& payees, const QList<QStringList>& lastRun,
                          const WrittenFile& written = {});

// Reads the current batch beside the employee master, the last archived run and the batch file
// recorded, and gives
// BatchWarnings() of them.
DbResult ReadBatchWarnings(QStringList* warnings);

// The same for a batch whose checks against the master were read with it (ReadBatch()).
DbResult ReadBatchWarnings(const std::vector<PayeeCheck>& payees, QStringList* warnings);

// The question that lists the warnings before the file is written.
QString BatchWarningQuestion(const QStringList& warnings);

}  // namespace paysum
