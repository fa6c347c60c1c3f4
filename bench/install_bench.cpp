// Opening the installation check on this machine: every check run on the real desktop's
// files and the window shown and painted.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

void BM_OpenInstallCheck(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::prepareWords(dir, 1);
    WindowRegistry registry;
    registerAllWindows(registry);
    for (auto _ : state) {
        registry.open(QStringLiteral("frm_install"));
        QApplication::processEvents();
        state.PauseTiming();
        registry.unload(QStringLiteral("frm_install"));
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_OpenInstallCheck)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
