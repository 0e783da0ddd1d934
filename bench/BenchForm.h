#pragma once

// A started main window over a full log, offscreen, for the benchmarks that drive the windows.

#include "log/LogFormat.h"
#include "log/MainWindow.h"
#include "os/PosixFileSystem.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "station/StationSetupDialog.h"

#include "support/LogSamples.h"
#include "support/ManualClock.h"
#include "support/ScriptedDialogs.h"
#include "support/StationSamples.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLineEdit>

#include <filesystem>
#include <memory>

namespace brindle {

// The settings a form writes go to a folder of the benchmarks' own, not to the operator's; before the
// application starts.
inline void keepSettingsAside()
{
    const auto config = std::filesystem::temp_directory_path() / "brindle-bench-config";
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

// A started main form in a working folder of its own, over a log of `contacts` contacts on 20 m.
class BenchForm
{
public:
    explicit BenchForm(int contacts, bool open = true)
    {
        std::filesystem::create_directories(m_folders.workingDir);
        std::filesystem::create_directories(m_folders.sharedDir);
        test::writeBytes(m_folders.workingDir + "/inprefDX.txt", formatDefaultData(test::sampleDefaults()));
        test::writeBytes(m_folders.workingDir + "/log.txt", formatLog(test::sampleLogOnOneBand(contacts, "20")));
        std::filesystem::copy_file(
            std::string(BRINDLE_DATA_DIR) + "/arrlpre2.txt", m_folders.workingDir + "/arrlpre2.txt");
        m_shared.load(m_folders.sharedDir + "/SharedUserPreferences.xml");
        if (open) {
            this->open();
        }
    }

    // Builds and starts the form as the program does, driving the keyers given.
    void open(MainWindowKeyers keyers = {})
    {
        m_dialogs.onModal = [](QDialog& dialog) { static_cast<StationSetupDialog&>(dialog).publishStation(); };
        m_dialogs.answers.push_back(OperatorDialogs::Answer::Yes);
        form = std::make_unique<MainWindow>(
            MainWindowServices { m_fs, m_clock, m_dialogs, m_settings, m_shared, m_folders, [](int) {} },
            std::move(keyers));
        form->startUp();
        form->resize(1280, 900);
        form->show();
        QApplication::setActiveWindow(form.get());
        form->toggleTimeOn();
        field("callField")->setFocus();
    }

    QLineEdit* field(const char* name)
    {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    // What a keyer built for the form uses.
    FileSystem& fileSystem()
    {
        return m_fs;
    }
    SettingsStore& settings()
    {
        return m_settings;
    }
    OperatorDialogs& dialogs()
    {
        return m_dialogs;
    }
    const std::string& workingDir() const
    {
        return m_folders.workingDir;
    }

private:
    test::TempFolder m_temp;
    ProgramFolders m_folders { m_temp.file("work"), m_temp.file("data"), m_temp.file("shared"),
        m_temp.file("data/BACKUP") };
    PosixFileSystem m_fs;
    test::ManualClock m_clock;
    test::ScriptedDialogs m_dialogs;
    QtSettingsStore m_settings;
    SharedPreferences m_shared { m_fs };

public:
    // Last, so that it goes before what it uses.
    std::unique_ptr<MainWindow> form;
};

} // namespace brindle
