#include "common/OperatorDialogs.h"
#include "common/QtText.h"
#include "common/SystemClock.h"
#include "keying/CwKeyer.h"
#include "keying/FlitePromptSpeaker.h"
#include "keying/KeyingLines.h"
#include "keying/PhoneKeyer.h"
#include "keying/QtWavePlayer.h"
#include "keying/VoicePromptPlayer.h"
#include "log/MainWindow.h"
#include "os/PosixFileSystem.h"
#include "rig/RigInterface.h"
#include "serial/QtSerialPort.h"
#include "serial/PortArbiter.h"
#include "spots/SpotFeed.h"
#include "station/ProgramStart.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "ui/StartupLogoDialog.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// Qt aborts with a terse platform-plugin error when there is no display; say what to do instead.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fprintf(stderr,
            "brindle: no display to open the logger's window on.\n"
            "On a machine without a desktop, start it under a virtual display:\n"
            "    xvfb-run -a -s \"-screen 0 1280x1024x24\" brindle\n"
            "(Debian package xvfb), or set DISPLAY to a running X server.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindle DX"));

    using namespace brindle;
    PosixFileSystem fs;
    SystemClock clock;
    QtOperatorDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared(fs);

    // The working folder is wherever the program was started: its files are named without a folder.
    const std::string workingDir = pathFromQString(QDir::currentPath());
    // Held until the program ends, so that no second copy appends to the same log meanwhile.
    const std::unique_ptr<QLockFile> workingFolderLock = claimWorkingFolder(dialogs, workingDir);
    if (!workingFolderLock) {
        return 1;
    }
    const ProgramFolders folders = startProgram(fs, dialogs, shared, workingDir, userFolderPlacesFromEnvironment());

    // The logo looks for the operator's own picture in the maker's shared folder.
    {
        StartupLogoDialog logo(std::filesystem::path(folders.sharedDir).parent_path().string());
        logo.exec();
    }

    // Outlives the keyers, which hand their ports over through it.
    PortArbiter ports;
    MainWindowKeyers keyers;
    auto cw = std::make_unique<CwKeyer>(fs, workingDir, settings, dialogs, systemKeyingLines);
    cw->setWinKeySettingsFolder(folders.programDataDir);
    cw->usePortArbiter(ports);
    keyers.cw = std::move(cw);
    auto phone = std::make_unique<PhoneKeyer>(
        fs, workingDir, dialogs, std::make_unique<QtWavePlayer>(), systemKeyingLines);
    phone->usePortArbiter(ports);
    keyers.phone = std::move(phone);
    keyers.voice = std::make_unique<VoicePromptPlayer>(
        workingDir, settings, std::make_unique<QtWavePlayer>(), std::make_unique<FlitePromptSpeaker>());

    keyers.rig = std::make_unique<RigInterface>(fs, workingDir, dialogs, settings,
        [] { return std::make_unique<QtSerialPort>(systemPortDevices()); });
    keyers.spots = std::make_unique<SpotFeed>(
        fs, workingDir, dialogs, [] { return std::make_unique<QtSerialPort>(systemPortDevices()); });

    int exitCode = -1;
    MainWindow form(
        { fs, clock, dialogs, settings, shared, folders,
            [&exitCode](int code) {
                exitCode = code;
                QCoreApplication::exit(code);
            } },
        std::move(keyers));
    dialogs.setParent(&form);
    if (!form.startUp()) {
        return exitCode >= 0 ? exitCode : 1;
    }
    form.show();
    const int result = QApplication::exec();
    return exitCode >= 0 ? exitCode : result;
}
