#pragma once

namespace paysum {

// Runs the command the arguments name without any window, on the data folder and under the
// single-instance lock the windows use: its exit status, 0 on success; -1 when there are no
// arguments and the windows are to start.
int RunCommandLine(int argc, char** argv);

}  // namespace paysum
