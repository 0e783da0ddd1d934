#pragma once

#include "log/MainWindow.h"

#include "os/PosixFileSystem.h"
#include "station/QtSettingsStore.h"
#include "station/SharedPreferences.h"
#include "station/StationSetupDialog.h"
#include "support/ManualClock.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/StationSamples.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace brindle::test {

// A started main window over the two-band fixture log (K1AB MA and W2XY NY on 20 m, VE3AA ON on 40 m),
// on 20 m, with the focus in the call field.
class StartedMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folders.workingDir);
        std::filesystem::create_directories(folders.sharedDir);
        writeBytes(folders.workingDir + "/inprefDX.txt", formatDefaultData(initialDefaults()));
        writeBytes(logPath(), initialLog());
        writeBytes(folders.workingDir + "/arrlpre2.txt", fixture("station/main_form_countries.txt"));
        shared.load(folders.sharedDir + "/SharedUserPreferences.xml");
        dialogs.onModal = [](QDialog& dialog) { static_cast<StationSetupDialog&>(dialog).publishStation(); };
        dialogs.answers.push_back(OperatorDialogs::Answer::Yes);

        form = std::make_unique<MainWindow>(MainWindowServices { fs, clock, dialogs, settings, shared, folders,
                                                [this](int exitCode) { programEnded(exitCode); } },
            keyers());
        ASSERT_TRUE(form->startUp());
        showWindow();
        field("callField")->setFocus();
        shownAtStart = dialogs.shown;
        dialogs.shown.clear();
    }

    // The default data the form starts with.
    virtual DefaultData initialDefaults() const
    {
        return sampleDefaults();
    }
    // Shown and made the active window, as a window manager does.
    virtual void showWindow()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
    }
    // The keyers the window drives: none set up, unless a test brings its own.
    virtual MainWindowKeyers keyers()
    {
        return {};
    }
    // The window asked for the program to end with this code; the test's event loop goes on.
    virtual void programEnded(int exitCode)
    {
        (void)exitCode;
    }
    // The log the form starts with.
    virtual std::string initialLog() const
    {
        return fixture("log/two_bands_three_contacts.txt");
    }
    std::string logPath() const
    {
        return folders.workingDir + "/log.txt";
    }

    QLineEdit* field(const char* name)
    {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QString text(const char* name)
    {
        return form->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QWidget* widget(const char* name)
    {
        return form->findChild<QWidget*>(QString::fromLatin1(name));
    }
    void typeCall(const char* keys)
    {
        QTest::keyClicks(field("callField"), QString::fromLatin1(keys));
    }
    // The operator moves on from the call field; what the window left for the event loop then runs.
    void leaveCall()
    {
        field("sectionField")->setFocus();
        QCoreApplication::processEvents();
    }
    // Starts the operating clock, as the operator does before the first contact.
    void startClock()
    {
        form->toggleTimeOn();
        dialogs.shown.clear();
    }

    test::TempFolder temp;
    ProgramFolders folders { temp.file("work"), temp.file("data"), temp.file("shared"), temp.file("data/BACKUP") };
    PosixFileSystem fs;
    test::ManualClock clock;
    test::ScriptedDialogs dialogs;
    QtSettingsStore settings;
    SharedPreferences shared { fs };
    // What the start-up showed the operator.
    std::vector<test::ScriptedDialogs::Shown> shownAtStart;
    std::unique_ptr<MainWindow> form;
};

} // namespace brindle::test
