// Time from a Yes click to the next card shown and its sound handed to the output,
// for selections of 10 and 10,000 words. The output is a recorder: what is measured
// is the trainer's own work (including the repaint before speaking), not the sound.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

void BM_YesToNextCard(benchmark::State& state)
{
    QTemporaryDir dir;
    const int words = static_cast<int>(state.range(0));
    bench::prepareWords(dir, words);

    bench::CountingOutput output;
    const ServiceScope sound({.audio = &output});
    WindowRegistry registry;
    registerAllWindows(registry);
    registry.open(QStringLiteral("flashcard"));
    QWidget* window = registry.find(QStringLiteral("flashcard"));
    auto* start = window->findChild<QPushButton*>(QStringLiteral("bt_start"));
    auto* goon = window->findChild<QPushButton*>(QStringLiteral("bt_goon"));
    auto* yes = window->findChild<QPushButton*>(QStringLiteral("bt_Yes"));
    QApplication::processEvents();
    start->click();
    for (auto _ : state) {
        state.PauseTiming();
        if (!goon->isEnabled()) { // the training finished: a fresh one, as after Stop
            start->setEnabled(true);
            start->click();
        }
        goon->click();
        const int before = output.played;
        state.ResumeTiming();
        yes->click();
        benchmark::DoNotOptimize(output.played - before);
    }
}

} // namespace

BENCHMARK(BM_YesToNextCard)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
