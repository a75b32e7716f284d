#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace paysum {

// What the command line asks for before any window opens.
struct CommandLineOutcome {
    bool startWindows = true;  // no command: the program starts as usual
    int exitStatus = 0;        // when the windows do not start
    QString output;            // for standard output
    QString error;             // for standard error
};

// Reads the program's arguments (the program's own path first): `--version` and `--help` answer
// and end, an argument the program does not know is refused with a non-zero status.
CommandLineOutcome ParseCommandLine(const QStringList& arguments);

// Runs what the command line asks for without a display, the windows or the data folder; the exit
// status, or nothing when the program should start its windows.
std::optional<int> RunCommandLine(int argc, char* argv[]);

}  // namespace paysum
