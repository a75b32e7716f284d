#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "common/InstanceLock.h"
#include "common/SystemText.h"
#include "common/Version.h"
#include "data/DataFolder.h"
#include "data/Database.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace paysum {

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage(const QString& text) {
    Say(stderr, QStringLiteral("paysum: ") + text);
    return kUsage;
}

// A name's bytes, those that are not printable ASCII written as \xHH.
QString Escaped(const QByteArray& bytes) {
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7f)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x") +
                    QString::number(value, 16).toUpper().rightJustified(2, u'0');
    }
    return text;
}

// The data folder a command works on must hold a sound main database; a command never creates
// one.
std::optional<QString> CheckDataFolder() {
    const QString path = MainDatabasePath();
    if (PrepareDatabaseFile(path) != FileState::Usable)
        return QStringLiteral("資料檔 %1 不存在或無法寫入").arg(path);
    if (DbResult error = CheckDatabaseFile(path, DatabaseFile::Main))
        return QStringLiteral("資料檔 %1 無法使用：%2").arg(path, error->message);
    return std::nullopt;
}

// The arguments as typed, split into options and the rest.
struct ParsedLine {
    QStringList words;
    QHash<QString, QString> options;
    QString error;
};

// The options every command and none takes.
bool IsGeneralOption(const QString& name) {
    return name == u"help" || name == u"version";
}

// Whether any command takes the option, and whether it takes a value.
std::optional<bool> KnownOption(const QString& name) {
    if (IsGeneralOption(name))
        return false;
    for (const Command& command : Commands()) {
        if (const CommandOption* option = command.Option(name))
            return !option->valueName.isEmpty();
    }
    return std::nullopt;
}

// Options may stand anywhere, before the command too; "--" ends them.
ParsedLine ParseLine(const QStringList& arguments) {
    ParsedLine line;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            line.words << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        QString name;
        std::optional<QString> value;
        if (argument == u"-h")
            name = QStringLiteral("help");
        else if (argument == u"-v")
            name = QStringLiteral("version");
        else if (argument.startsWith(u"--")) {
            name = argument.mid(2);
            if (const qsizetype equals = name.indexOf(u'='); equals >= 0) {
                value = name.mid(equals + 1);
                name.truncate(equals);
            }
        }
        const std::optional<bool> takesValue = name.isEmpty() ? std::nullopt : KnownOption(name);
        if (!takesValue) {
            line.error = QStringLiteral("不明的選項 %1").arg(argument);
            return line;
        }
        if (*takesValue && !value) {
            if (i + 1 >= arguments.size()) {
                line.error = QStringLiteral("選項 --%1 之後應有值").arg(name);
                return line;
            }
            value = arguments[++i];
        }
        if (!*takesValue && value) {
            line.error = QStringLiteral("選項 --%1 不帶值").arg(name);
            return line;
        }
        line.options.insert(name, value.value_or(QString()));
    }
    return line;
}

// The command the words name: the one with the most words that lead them.
const Command* FindCommand(const QStringList& words) {
    const Command* found = nullptr;
    for (const Command& command : Commands()) {
        const bool leads = command.words.size() <= words.size() &&
                           std::equal(command.words.begin(), command.words.end(), words.begin());
        if (leads && (!found || command.words.size() > found->words.size()))
            found = &command;
    }
    return found;
}

// Two columns: the left one padded to a width, the right one beside it or on the next line.
QString Columns(const QString& left, const QString& right) {
    constexpr qsizetype kWidth = 38;
    const QString indented = QStringLiteral("  ") + left;
    if (indented.size() < kWidth)
        return indented.leftJustified(kWidth) + right;
    return indented + u'\n' + QString(kWidth, u' ') + right;
}

QString GeneralHelp() {
    QStringList lines{
        QStringLiteral("用法：paysum [命令 參數…] [選項]"),
        QStringLiteral("PAYSUM 薪資轉帳。不帶命令時開啟視窗；帶命令時不開視窗，在同一個資料夾"
                       "（$PAYSUM_DATA_DIR）上執行。"),
        QString(),
        QStringLiteral("命令："),
    };
    for (const Command& command : Commands())
        lines << Columns(command.Synopsis(), command.summary);
    lines << QString() << QStringLiteral("選項：")
          << Columns(QStringLiteral("-h, --help"), QStringLiteral("顯示這份說明"))
          << Columns(QStringLiteral("-v, --version"), QStringLiteral("顯示版本")) << QString()
          << QStringLiteral("paysum 命令 --help 顯示該命令的說明。");
    return lines.join(u'\n');
}

QString CommandHelp(const Command& command) {
    QStringList lines{QStringLiteral("用法：paysum ") + command.Synopsis(), command.help};
    if (!command.options.empty()) {
        lines << QString() << QStringLiteral("選項：");
        for (const CommandOption& option : command.options)
            lines << Columns(QStringLiteral("--") + option.name +
                                 (option.valueName.isEmpty() ? QString() : u' ' + option.valueName),
                             option.help);
    }
    return lines.join(u'\n');
}

// Runs a command that was typed in full and right, under the lock when it writes.
int RunCommand(const Command& command, const Invocation& invocation,
               const ProvidedCommand* provided) {
    const DataUse use = command.Use(invocation);
    const auto run = [&] { return provided ? provided->run(invocation) : command.run(invocation); };
    // Checking a file on its own needs no data at all.
    if (use == DataUse::None)
        return run();
    TightenDataFolder(DataFolderPath());
    if (const std::optional<QString> fault = CheckDataFolder())
        return Fail(*fault);
    InstanceLock lock(DataFolderPath(), InstanceLock::Holder::Command);
    const InstanceLock::Outcome locked = lock.TryLock();
    const bool writes = use == DataUse::Writes;
    if ((locked == InstanceLock::Outcome::HeldByOther ||
         locked == InstanceLock::Outcome::HeldByCommand) &&
        writes)
        return Fail(QStringLiteral("PAYSUM 正在使用資料夾 %1，請先關閉程式；未寫入任何資料")
                        .arg(DataFolderPath()));
    if (locked == InstanceLock::Outcome::CannotWrite && writes)
        return Fail(QStringLiteral("資料夾 %1 無法寫入；未寫入任何資料").arg(DataFolderPath()));
    const int status = run();
    CloseAllConnections();
    return status;
}

}  // namespace

void Say(std::FILE* stream, const QString& text) {
    std::fputs((text + u'\n').toUtf8().constData(), stream);
}

int Fail(const QString& text) {
    Say(stderr, QStringLiteral("paysum: ") + text);
    return kFailed;
}

int WriteFailure(const QString& path, const QString& detail) {
    if (path.isEmpty())
        return Fail(detail);
    return Fail(detail.isEmpty() ? QStringLiteral("無法寫入 %1").arg(path)
                                 : QStringLiteral("無法寫入 %1：%2").arg(path, detail));
}

int RunCommandLine(int argc, char** argv, const ProvidedCommand* provided) {
    // File names are the system's bytes; one that cannot be held as text exactly would name
    // another file, so it is refused.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QByteArray native(argv[i]);
        arguments << QFile::decodeName(native);
        if (QFile::encodeName(arguments.back()) != native) {
            Say(stderr, QStringLiteral("paysum: 檔名含有無法辨識的位元組：") + Escaped(native));
            return kFailed;
        }
    }
    const ParsedLine line = ParseLine(arguments);
    if (!line.error.isEmpty())
        return Usage(line.error + QStringLiteral("；請看 paysum --help"));
    const Command* command = FindCommand(line.words);
    const bool help = line.options.contains(QStringLiteral("help"));
    if (!command || line.options.contains(QStringLiteral("version"))) {
        if (help) {
            Say(stdout, GeneralHelp());
            return 0;
        }
        if (line.options.contains(QStringLiteral("version")) && line.words.isEmpty() &&
            line.options.size() == 1) {
            Say(stdout, QStringLiteral("PAYSUM ") + QString::fromLatin1(kVersion));
            return 0;
        }
        return Usage(QStringLiteral("不明的命令或參數不符；請看 paysum --help"));
    }
    if (help) {
        Say(stdout, CommandHelp(*command));
        return 0;
    }
    for (auto option = line.options.cbegin(); option != line.options.cend(); ++option) {
        if (!command->Option(option.key()))
            return Usage(QStringLiteral("%1 不接受選項 --%2；請看 paysum %1 --help")
                             .arg(command->Name(), option.key()));
    }
    const Invocation invocation{line.words.mid(command->words.size()), line.options};
    if (!command->TakesArguments(invocation.arguments) ||
        (!command->requiredOption.isEmpty() && !invocation.Has(command->requiredOption)))
        return Usage(QStringLiteral("%1 的參數不符；請看 paysum %1 --help").arg(command->Name()));

    const bool mine = provided && provided->name == command->Name();
    if (command->helper && !mine)
        return StartHelper(command->helper, argv);
    // Qt's own notes (a missing runtime folder, a font fallback) are English and tell the clerk
    // nothing; what goes wrong is said by the command itself.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            Say(stderr, text);
    });
    const std::unique_ptr<QCoreApplication> app =
        mine && provided->application ? provided->application(argc, argv)
                                      : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    return RunCommand(*command, invocation, mine ? provided : nullptr);
}

int StartHelper(const char* name, char** argv) {
    // Beside this program in the build tree; in the helpers' folder once installed.
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    QString folder;
    if (length > 0) {
        self[length] = '\0';
        folder = QFile::decodeName(self);
        folder.truncate(folder.lastIndexOf(u'/'));
    }
    const QString fileName = QString::fromLatin1(name);
    for (const QString& path :
         {folder + u'/' + fileName,
          folder + u'/' + QStringLiteral(PAYSUM_HELPERS_FROM_BIN) + u'/' + fileName}) {
        const QByteArray native = QFile::encodeName(path);
        if (access(native.constData(), X_OK) == 0) {
            execv(native.constData(), argv);
            return Fail(QStringLiteral("無法啟動 %1：%2").arg(path, SystemErrorText(errno)));
        }
    }
    return Fail(QStringLiteral("找不到 PAYSUM 的 %1，請重新安裝").arg(fileName));
}

}  // namespace paysum
