#pragma once

#include "output/BatchFile.h"
#include "platform/FileDialog.h"

class QWidget;

namespace paysum {

// What the batch file's save dialog asks: any file or text files, text files chosen, and whether
// to replace a file that exists.
FileDialogRequest BatchFileRequest();

// Tells the clerk how writing a batch file ended: done, a file that read back otherwise, an
// archived run that no longer makes the file written then, or data that does not make a file.
void ShowBatchFileResult(QWidget* parent, const BatchFileResult& result);

}  // namespace paysum
