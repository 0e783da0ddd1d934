#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace brindle {

// The program's version, as the build gives it.
QString programVersion();

// What the command line asks of this run.
struct StartOptions
{
    enum class Action
    {
        Run, // open the logger
        ShowHelp, // print text on the standard output and end
        ShowVersion, // the same
        Refuse, // print text on the standard error and end: the line cannot be understood
    };
    Action action = Action::Run;
    std::optional<std::string> folder; // --folder, as given; none means the current folder
    QString text; // what to print for every action but Run
};

// Reads the program's arguments (the executable's name first). Help and version are answered even
// beside options that are not understood, so that "--help" always helps. Needs no application object:
// help and version must work where there is no display to make one for.
StartOptions parseStartOptions(const QStringList& arguments);

} // namespace brindle
