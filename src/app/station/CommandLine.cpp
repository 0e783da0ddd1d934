#include "CommandLine.h"

#include "BrindleVersion.h"
#include "common/QtText.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace brindle {

QString programVersion()
{
    return QStringLiteral(BRINDLE_VERSION);
}

StartOptions parseStartOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Brindle DX, a contest logger for the ARRL International DX Contest.\n\n"
        "The logger works in a folder of its own: the default data (inprefDX.txt), the log (log.txt) and\n"
        "the keyers' and rig's settings. It is the current folder unless --folder names another. A folder\n"
        "named with --folder is made if missing, and the distributed data files it lacks are copied in;\n"
        "files already there are never replaced. \"~/\" at its start stands for the home folder, which is\n"
        "how the desktop menu's entry opens \"~/Brindle DX\"."));
    // Our own help option rather than addHelpOption(): that one also offers --help-all, which only
    // QCommandLineParser::process() can answer.
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and end."));
    const QCommandLineOption version(
        { QStringLiteral("v"), QStringLiteral("version") }, QStringLiteral("Show the version and end."));
    const QCommandLineOption folder(QStringLiteral("folder"),
        QStringLiteral("Work in FOLDER, made and seeded with the data files where they are missing."),
        QStringLiteral("FOLDER"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(folder);

    StartOptions options;
    const bool understood = parser.parse(arguments);
    const QString name = arguments.isEmpty() ? QStringLiteral("brindle") : QFileInfo(arguments.first()).fileName();
    if (parser.isSet(help)) {
        options.action = StartOptions::Action::ShowHelp;
        // Without an application object the parser cannot name the executable.
        options.text = parser.helpText().replace(QStringLiteral("<executable_name>"), name);
        return options;
    }
    if (parser.isSet(version)) {
        options.action = StartOptions::Action::ShowVersion;
        options.text = QStringLiteral("Brindle DX %1\n").arg(programVersion());
        return options;
    }
    if (!understood || !parser.positionalArguments().isEmpty()) {
        options.action = StartOptions::Action::Refuse;
        const QString why = understood
            ? QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first())
            : parser.errorText();
        options.text = QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(name, why);
        return options;
    }
    if (parser.isSet(folder)) {
        options.folder = pathFromQString(parser.value(folder));
    }
    return options;
}

} // namespace brindle
