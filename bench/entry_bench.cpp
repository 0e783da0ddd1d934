// The main window driven as the operator drives it, offscreen, over a full log: the cost of a key in the
// call field, of logging a contact, and of listing every contact.

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
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace brindle {
namespace {

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

    // Builds and starts the form as the program does.
    void open()
    {
        m_dialogs.onModal = [](QDialog& dialog) { static_cast<StationSetupDialog&>(dialog).publishStation(); };
        m_dialogs.answers.push_back(OperatorDialogs::Answer::Yes);
        form = std::make_unique<MainWindow>(
            MainWindowServices { m_fs, m_clock, m_dialogs, m_settings, m_shared, m_folders, [](int) {} });
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

// From an unloaded form to a ready one, the operator answering every start-up question at once: the
// layout, the default data, the first load of a full log, the country file, station setup.
void startUpToReadyForm(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<BenchForm>(ContestLog::Capacity, false);
        state.ResumeTiming();
        bench->open();
        state.PauseTiming();
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(startUpToReadyForm)->Unit(benchmark::kMillisecond);

// A key that begins no logged call: the partial search scans all 12,000 contacts, the country lookup
// and the labels follow.
void keyInCallField(benchmark::State& state)
{
    BenchForm bench(ContestLog::Capacity);
    QLineEdit* call = bench.field("callField");
    QTest::keyClicks(call, QStringLiteral("DL1"));
    for (auto _ : state) {
        QTest::keyClick(call, Qt::Key_Z);
        state.PauseTiming();
        QTest::keyClick(call, Qt::Key_Backspace);
        state.ResumeTiming();
    }
}
BENCHMARK(keyInCallField)->Unit(benchmark::kMillisecond);

// Enter in the section field to the cleared form: the checks, the duplicate check over the whole log,
// the synced append, the list, grid, score and rates.
void logContact(benchmark::State& state)
{
    BenchForm bench(ContestLog::Capacity - 1000);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.field("callField")->setText(QStringLiteral("ZZ%1").arg(++n));
        bench.field("rstRcvdField")->setText(QStringLiteral("599"));
        bench.field("sectionField")->setText(QStringLiteral("MA"));
        bench.field("rstSentField")->setText(QStringLiteral("599"));
        bench.field("countryField")->setText(QStringLiteral("USA"));
        bench.field("sectionField")->setFocus();
        state.ResumeTiming();
        QTest::keyClick(bench.field("sectionField"), Qt::Key_Return);
    }
    if (bench.field("callField")->text() != QString()) {
        state.SkipWithError("the contact was not logged");
    }
}
BENCHMARK(logContact)->Unit(benchmark::kMillisecond)->Iterations(500);

// Listing all 12,000 contacts and drawing the visible rows.
void listAllContacts(benchmark::State& state)
{
    BenchForm bench(ContestLog::Capacity);
    bench.form->findChild<QPushButton*>(QStringLiteral("listAllButton"))->click();
    auto* list = bench.form->findChild<QTableView*>(QStringLiteral("contactList"));
    for (auto _ : state) {
        bench.form->refreshContactList();
        benchmark::DoNotOptimize(list->viewport()->grab());
    }
    if (list->model()->rowCount() != ContestLog::Capacity) {
        state.SkipWithError("not every contact is listed");
    }
}
BENCHMARK(listAllContacts)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    const auto config = std::filesystem::temp_directory_path() / "brindle-bench-config";
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
