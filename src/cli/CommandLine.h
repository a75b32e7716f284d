#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <memory>

namespace paysum {

// What a command was given: its arguments after the command's words, and its options with
// their values ("" for an option that takes none).
struct Invocation {
    QStringList arguments;
    QHash<QString, QString> options;

    bool Has(const QString& option) const { return options.contains(option); }
    QString Value(const QString& option) const { return options.value(option); }
};

// A command that a helper program runs itself instead of starting itself again: the command's
// name, what it does, and the application object it needs (the PDF list draws text).
struct ProvidedCommand {
    QString name;
    std::function<int(const Invocation&)> run;
    std::function<std::unique_ptr<QCoreApplication>(int& argc, char** argv)> application;
};

// Runs the command the arguments name without any window, on the data folder and under the
// single-instance lock the windows use: its exit status, 0 on success. A command that a helper
// program draws is handed to it, unless `provided` is that command.
int RunCommandLine(int argc, char** argv, const ProvidedCommand* provided = nullptr);

// Replaces this process with the helper program `name` (paysum-windows, paysum-pdf), found
// beside this program or in the installed helpers' folder, given the same arguments. Returns
// only when it could not be started, with the exit status to end with.
int StartHelper(const char* name, char** argv);

// A line on standard output or standard error.
void Say(std::FILE* stream, const QString& text);
// Says on standard error why a command failed; the failure status.
int Fail(const QString& text);
// Says that a file the clerk named was not written, and why; the failure status.
int WriteFailure(const QString& path, const QString& detail);

}  // namespace paysum
