// The batch file verifier: any bytes are checked without a fault of its own, and a file it passes
// is, written again from the header and records it read, the same bytes.
#include "output/TransferFile.h"
#include "output/TransferFileCheck.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    using namespace paysum;
    const QByteArray file(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    const FileCheck check = CheckTransferBytes(file);
    fuzz::Require(check.items.size() == check.itemLines.size(), "a line for every record");
    fuzz::Require(CheckTransferBytes(file, false).faults.size() == check.faults.size(),
                  "the same faults without the records kept");
    if (!check.faults.empty())
        return 0;
    fuzz::Require(check.headerRead, "a passed file has its header");
    fuzz::Require(CheckTransferFile(check.header, check.items) == TransferFault::None,
                  "a passed file's values make a file");
    const QByteArray rewritten = TransferFileBytes(TransferFileLines(check.header, check.items));
    fuzz::Require(rewritten == file, "a passed file is written again byte for byte");
    return 0;
}
