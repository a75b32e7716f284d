#include "app/CommandLine.h"
#include "app/startup.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace paysum {
namespace {

CommandLineOutcome Parse(QStringList arguments) {
    IdentifyApplication();
    arguments.prepend(QStringLiteral("paysum"));
    return ParseCommandLine(arguments);
}

TEST(CommandLineTest, VersionAndHelpAnswerOnStandardOutputAndEnd) {
    const CommandLineOutcome version = Parse({QStringLiteral("--version")});
    EXPECT_FALSE(version.startWindows);
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output,
              QStringLiteral("PAYSUM ") + QCoreApplication::applicationVersion() + u'\n');
    EXPECT_TRUE(version.error.isEmpty());

    for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const CommandLineOutcome help = Parse({option});
        EXPECT_FALSE(help.startWindows);
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_TRUE(help.output.contains(QStringLiteral("--version"))) << help.output.toStdString();
        EXPECT_TRUE(help.output.contains(QStringLiteral("薪資轉帳")));
    }
}

TEST(CommandLineTest, UnknownOptionsAndCommandsAreRefusedWithoutStarting) {
    for (const QStringList& arguments :
         {QStringList{QStringLiteral("--versio")}, QStringList{QStringLiteral("--help-all")},
          QStringList{QStringLiteral("-x")}, QStringList{QStringLiteral("backup1.db")},
          QStringList{QStringLiteral("--version"), QStringLiteral("extra")}}) {
        const CommandLineOutcome outcome = Parse(arguments);
        EXPECT_FALSE(outcome.startWindows) << arguments.join(u' ').toStdString();
        EXPECT_NE(outcome.exitStatus, 0);
        EXPECT_TRUE(outcome.output.isEmpty());
        EXPECT_FALSE(outcome.error.isEmpty());
    }
}

TEST(CommandLineTest, NoArgumentsStartTheWindows) {
    EXPECT_TRUE(Parse({}).startWindows);
}

}  // namespace
}  // namespace paysum
