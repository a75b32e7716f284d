#include "cli/CommandLine.h"
#include "common/Memory.h"

// `paysum`: with a command, runs it without windows; with none, starts the windows program.
int main(int argc, char* argv[]) {
    if (argc <= 1)
        return paysum::StartHelper("paysum-windows", argv);
    paysum::KeepFreedMemoryForReuse();
    return paysum::RunCommandLine(argc, argv);
}
