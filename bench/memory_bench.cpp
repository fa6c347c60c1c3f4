// The memory game: from a click on a card to its face shown and its sound handed to the
// output, and the dealing of a new board (shuffle, faces and backs laid out). The
// output is a recorder, so what is measured is the game's own work.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"
#include "game/memory_window.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

struct Board {
    QTemporaryDir dir;
    bench::CountingOutput output;
    ServiceScope sound{{.audio = &output}};
    WindowRegistry registry;
    MemoryWindow* window = nullptr;
    QPushButton* start = nullptr;

    Board()
    {
        bench::prepareWords(dir, 15);
        registerAllWindows(registry);
        registry.open(QStringLiteral("frm_game1"));
        window = static_cast<MemoryWindow*>(registry.find(QStringLiteral("frm_game1")));
        start = window->findChild<QPushButton*>(QStringLiteral("bt_start"));
        QApplication::processEvents();
    }
};

void BM_ClickToFaceShown(benchmark::State& state)
{
    Board b;
    for (auto _ : state) {
        state.PauseTiming();
        b.start->click(); // a fresh board: the first card of a turn
        QApplication::processEvents();
        const int before = b.output.played;
        state.ResumeTiming();
        b.window->pic_1_Click(0);
        QApplication::processEvents(); // the face painted
        benchmark::DoNotOptimize(b.output.played - before);
    }
}

void BM_DealBoard(benchmark::State& state)
{
    Board b;
    for (auto _ : state) {
        b.start->click();
        QApplication::processEvents(); // the new board painted
    }
}

} // namespace

BENCHMARK(BM_ClickToFaceShown)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DealBoard)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
