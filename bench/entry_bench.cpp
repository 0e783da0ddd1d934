// The main window driven as the operator drives it, offscreen, over a full log: the cost of a key in the
// call field, of logging a contact, and of listing every contact.

#include "BenchForm.h"

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
    brindle::keepSettingsAside();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
