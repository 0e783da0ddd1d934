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
#include "serial/PortArbiter.h"
#include "serial/QtSerialPort.h"
#include "spots/SpotFeed.h"
#include "station/CommandLine.h"
#include "station/ProgramStart.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "station/TerminationSignals.h"
#include "station/WorkingFolder.h"
#include "ui/StartupLogoDialog.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLockFile>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

// Qt aborts with a terse platform-plugin error when there is no display; say what to do instead.
bool displayAvailable()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// The folder named by --folder, made and seeded with the distributed data files it lacks, becomes the
// current folder: the windows name their files without a folder. False when it cannot be worked in;
// the operator has been told why.
bool enterFolder(brindle::FileSystem& fs, brindle::OperatorDialogs& dialogs, const std::string& folder)
{
    using namespace brindle;
    const SeededFolder seeded
        = seedWorkingFolder(fs, folder, distributedDataFor(pathFromQString(QCoreApplication::applicationDirPath())));
    if (!seeded.ready || !QDir::setCurrent(pathToQString(folder))) {
        dialogs.message(toQString(FolderNotMadeTitle),
            toQString(FolderNotMadeText) + QStringLiteral("\r\n\r\n") + pathToQString(folder)
                + (seeded.failure.empty() ? QString() : QStringLiteral(" (%1)").arg(toQString(seeded.failure))),
            OperatorDialogs::Buttons::Ok, OperatorDialogs::Icon::Critical);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Brindle DX"));
    QCoreApplication::setApplicationVersion(brindle::programVersion());
    // Help and version are answered before anything needs a display. Options of Qt's own (-platform,
    // -style) are not known yet here; they are taken out by QApplication and the rest read again below.
    if (const brindle::StartOptions early = brindle::parseStartOptions(argumentsOf(argc, argv));
        early.action == brindle::StartOptions::Action::ShowHelp
        || early.action == brindle::StartOptions::Action::ShowVersion) {
        std::fputs(early.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!displayAvailable()) {
        std::fprintf(stderr,
            "brindle: no display to open the logger's window on.\n"
            "On a machine without a desktop, start it under a virtual display:\n"
            "    xvfb-run -a -s \"-screen 0 1280x1024x24\" brindle\n"
            "(Debian package xvfb), or set DISPLAY to a running X server.\n");
        return 2;
    }
    QApplication app(argc, argv);
    // Lets a Wayland desktop match the window to the menu entry, for its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.brindledx.BrindleDX"));

    using namespace brindle;
    const StartOptions options = parseStartOptions(QCoreApplication::arguments());
    if (options.action != StartOptions::Action::Run) {
        std::fputs(options.text.toLocal8Bit().constData(), stderr);
        return 2;
    }
    PosixFileSystem fs;
    SystemClock clock;
    QtOperatorDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared(fs);

    if (options.folder
        && !enterFolder(fs, dialogs,
            chooseWorkingFolder(
                options.folder, pathFromQString(QDir::currentPath()), pathFromQString(QDir::homePath())))) {
        return 1;
    }
    // The working folder is the current folder, wherever the program was started unless --folder
    // named another: its files are named without a folder.
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
    auto phone
        = std::make_unique<PhoneKeyer>(fs, workingDir, dialogs, std::make_unique<QtWavePlayer>(), systemKeyingLines);
    phone->usePortArbiter(ports);
    keyers.phone = std::move(phone);
    keyers.voice = std::make_unique<VoicePromptPlayer>(
        workingDir, settings, std::make_unique<QtWavePlayer>(), std::make_unique<FlitePromptSpeaker>());

    keyers.rig = std::make_unique<RigInterface>(
        fs, workingDir, dialogs, settings, [] { return std::make_unique<QtSerialPort>(systemPortDevices()); });
    keyers.spots = std::make_unique<SpotFeed>(
        fs, workingDir, dialogs, [] { return std::make_unique<QtSerialPort>(systemPortDevices()); });

    int exitCode = -1;
    // Made once the window is up, and kept until it has gone with its keyers: a second signal while they
    // let their lines go waits for them.
    std::optional<TerminationSignals> terminationSignals;
    MainWindow form({ fs, clock, dialogs, settings, shared, folders,
                        [&exitCode](int code) {
                            exitCode = code;
                            QCoreApplication::exit(code);
                        } },
        std::move(keyers));
    dialogs.setParent(&form);
    if (!form.startUp()) {
        return exitCode >= 0 ? exitCode : 1;
    }
    // From here on a logout, kill or Ctrl+C in the terminal ends the program through its closing steps:
    // key and PTT up, ports closed, the log backed up. What SIGKILL leaves is the system's to put right
    // (the serial ports hang up on close).
    terminationSignals.emplace();
    QObject::connect(&*terminationSignals, &TerminationSignals::received, &form, &MainWindow::endBySignal);
    form.show();
    const int result = QApplication::exec();
    return exitCode >= 0 ? exitCode : result;
}
