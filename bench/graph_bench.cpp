// The rate graph of a full log: the arithmetic alone, and the whole drawing as the window does it (working
// the graph out, then painting the window with its curve, band strip and labels), offscreen.

#include "common/DateText.h"
#include "log/ContestLog.h"
#include "reports/RateGraph.h"
#include "reports/RateGraphDialog.h"

#include "support/LogSamples.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace brindle {
namespace {

// A full log at an even pace over the 48 hours.
const ContestLog& fullLog()
{
    static const ContestLog log = test::sampleLog(ContestLog::Capacity);
    return log;
}

// A full log squeezed into three hours: some 670 contacts in every ten minutes, the longest walk back
// that counting the last ten minutes can take.
const ContestLog& burstLog()
{
    static const ContestLog log = [] {
        ContestLog burst;
        const DateTime start { 2026, 2, 21, 0, 0, 0 };
        for (int n = 0; n < ContestLog::Capacity; ++n) {
            QsoRecord record = test::sampleRecord(n);
            const DateTime t = addHours(start, (n * 0.9 + 0.5) / 3600.0);
            record.qsoDate = formatDate(t);
            record.qsoTime = formatTime(t);
            burst.append(std::move(record));
        }
        return burst;
    }();
    return log;
}

void computeFullLog(benchmark::State& state)
{
    for (auto _ : state) {
        RateGraph graph = computeRateGraph(fullLog(), GraphBlack);
        benchmark::DoNotOptimize(graph);
    }
}
BENCHMARK(computeFullLog)->Unit(benchmark::kMillisecond);

void computeBurstLog(benchmark::State& state)
{
    for (auto _ : state) {
        RateGraph graph = computeRateGraph(burstLog(), GraphBlack);
        benchmark::DoNotOptimize(graph);
    }
}
BENCHMARK(computeBurstLog)->Unit(benchmark::kMillisecond);

// The window at the size the work-area rule gives it on a 1366 × 768 screen.
void drawWindow(benchmark::State& state)
{
    test::ScriptedDialogs dialogs;
    RateGraphDialog graph(fullLog(), dialogs);
    graph.resize(1366, 704);
    QImage image(graph.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        graph.drawGraph();
        graph.render(&image);
        benchmark::ClobberMemory();
    }
    if (!graph.graph().plot) {
        state.SkipWithError("nothing was drawn");
    }
}
BENCHMARK(drawWindow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace brindle

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
