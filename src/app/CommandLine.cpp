#include "app/CommandLine.h"

#include "app/QtTranslations.h"
#include "app/startup.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace paysum {

CommandLineOutcome ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("薪資轉帳資料編製程式"));
    // Our own help option: Qt's adds a --help-all about Qt options that the program refuses.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("顯示這份說明。"));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();

    CommandLineOutcome outcome;
    if (!parser.parse(arguments)) {
        outcome.error = parser.errorText() + u'\n';
    } else if (!parser.positionalArguments().isEmpty()) {
        outcome.error =
            QStringLiteral("不明的命令：%1\n").arg(parser.positionalArguments().first());
    } else if (parser.isSet(help)) {
        outcome.output = parser.helpText();
    } else if (parser.isSet(version)) {
        outcome.output = QCoreApplication::applicationName() + u' ' +
                         QCoreApplication::applicationVersion() + u'\n';
    } else {
        return outcome;
    }
    outcome.startWindows = false;
    outcome.exitStatus = outcome.error.isEmpty() ? 0 : 1;
    return outcome;
}

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    if (argc <= 1)
        return std::nullopt;
    // A core application only: the commands must work where no display can be opened.
    QCoreApplication app(argc, argv);
    IdentifyApplication();
    InstallQtTranslations();
    const CommandLineOutcome outcome = ParseCommandLine(QCoreApplication::arguments());
    if (outcome.startWindows)
        return std::nullopt;
    std::fputs(outcome.output.toLocal8Bit().constData(), stdout);
    std::fputs(outcome.error.toLocal8Bit().constData(), stderr);
    return outcome.exitStatus;
}

}  // namespace paysum
