#pragma once

#include "station/ProgramStart.h"

#include <functional>

namespace brindle {

class Clock;
class FileSystem;
class OperatorDialogs;
class SettingsStore;
class SharedPreferences;

// What the main window and its parts reach the outside through.
struct MainWindowServices
{
    FileSystem& fs;
    const Clock& clock;
    OperatorDialogs& dialogs;
    SettingsStore& settings;
    SharedPreferences& sharedPreferences;
    ProgramFolders folders;
    // Ends the program at once, with no closing steps and no backup.
    std::function<void(int exitCode)> endProgram;
};

} // namespace brindle
