#include "station/CommandLine.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace brindle {
namespace {

using Action = StartOptions::Action;

TEST(CommandLineTest, noOptionsRunTheLoggerInTheCurrentFolder)
{
    const StartOptions options = parseStartOptions({ "brindle" });
    EXPECT_EQ(options.action, Action::Run);
    EXPECT_FALSE(options.folder.has_value());
}

TEST(CommandLineTest, folderNamesTheWorkingFolderAsGiven)
{
    const StartOptions spaced = parseStartOptions({ "brindle", "--folder", "~/Brindle DX" });
    EXPECT_EQ(spaced.action, Action::Run);
    EXPECT_EQ(spaced.folder, "~/Brindle DX");
    EXPECT_EQ(parseStartOptions({ "brindle", "--folder=/srv/dx" }).folder, "/srv/dx");
}

TEST(CommandLineTest, whatIsNotUnderstoodIsRefusedWithAPointerToTheHelp)
{
    const StartOptions unknown = parseStartOptions({ "/usr/bin/brindle", "--fodler", "x" });
    EXPECT_EQ(unknown.action, Action::Refuse);
    EXPECT_TRUE(unknown.text.contains("fodler")) << unknown.text.toStdString();
    EXPECT_TRUE(unknown.text.contains("brindle --help")) << unknown.text.toStdString();

    EXPECT_EQ(parseStartOptions({ "brindle", "log.txt" }).action, Action::Refuse);
    EXPECT_EQ(parseStartOptions({ "brindle", "--folder" }).action, Action::Refuse);
}

TEST(CommandLineTest, helpAndVersionAreAnsweredEvenBesideOptionsNotUnderstood)
{
    const StartOptions help = parseStartOptions({ "brindle", "--fodler", "--help" });
    EXPECT_EQ(help.action, Action::ShowHelp);
    EXPECT_TRUE(help.text.contains("--folder <FOLDER>")) << help.text.toStdString();
    EXPECT_TRUE(help.text.contains("--version")) << help.text.toStdString();

    const StartOptions version = parseStartOptions({ "brindle", "-v" });
    EXPECT_EQ(version.action, Action::ShowVersion);
    EXPECT_EQ(version.text, QStringLiteral("Brindle DX %1\n").arg(programVersion()));
    EXPECT_FALSE(programVersion().isEmpty());
}

// The built program itself, with no display to open a window on: help and version still answer, and
// a start without them still stops with the advice to use a virtual display.
TEST(CommandLineTest, theProgramAnswersHelpAndVersionWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" }) {
        environment.remove(name);
    }
    auto run = [&environment](const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(BRINDLE_EXECUTABLE), arguments);
        process->waitForFinished(-1);
        return process;
    };

    const auto version = run({ "--version" });
    EXPECT_EQ(version->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(version->exitCode(), 0);
    EXPECT_EQ(
        QString::fromUtf8(version->readAllStandardOutput()), QStringLiteral("Brindle DX %1\n").arg(programVersion()));

    const auto help = run({ "--help" });
    EXPECT_EQ(help->exitCode(), 0);
    const QString helpText = QString::fromUtf8(help->readAllStandardOutput());
    EXPECT_TRUE(helpText.startsWith("Usage: brindle [options]")) << helpText.toStdString();
    EXPECT_TRUE(helpText.contains("--folder <FOLDER>")) << helpText.toStdString();

    const auto start = run({});
    EXPECT_EQ(start->exitCode(), 2);
    EXPECT_TRUE(start->readAllStandardError().contains("xvfb-run"));
}

} // namespace
} // namespace brindle
