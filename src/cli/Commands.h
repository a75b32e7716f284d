#pragma once

#include "cli/CommandLine.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace paysum {

// How a command uses the data folder: not at all, reading it, or writing it, which needs the
// single-instance lock.
enum class DataUse { None, Reads, Writes };

// An option of a command: its name without the dashes, the name of its value (empty for a
// switch) and what it does.
struct CommandOption {
    QString name;
    QString valueName;
    QString help{};
};

// One command of the command line: the words that name it, the names of its arguments, its
// options, how it uses the data folder (and the option that changes that), what it does, and the
// function that runs it, or the helper program that does.
struct Command {
    QStringList words{};
    QStringList arguments{};
    std::vector<CommandOption> options{};
    // An option the command cannot run without ("" when there is none).
    QString requiredOption{};
    DataUse use = DataUse::Reads;
    QString useOption{};
    DataUse useWithOption = DataUse::Reads;
    QString summary{};
    QString help{};
    // Checks the arguments beyond their count, where the command's use depends on it.
    bool (*validArguments)(const QStringList& arguments) = nullptr;
    int (*run)(const Invocation& invocation) = nullptr;
    const char* helper = nullptr;

    QString Name() const { return words.join(u' '); }
    // The command as typed: its words, arguments and options, e.g. "verify FILE [--json]".
    QString Synopsis() const;
    DataUse Use(const Invocation& invocation) const {
        return !useOption.isEmpty() && invocation.Has(useOption) ? useWithOption : use;
    }
    const CommandOption* Option(const QString& name) const;
    // Whether the arguments are what the command takes; the arguments' own checks come after.
    bool TakesArguments(const QStringList& given) const;
};

// Every command, in the order the help lists them.
const std::vector<Command>& Commands();

}  // namespace paysum
