// The brainwash tick: placing the floating window over the foreground window and one
// scheduler step, shown and (at the pinyin step) spoken to a recorder. Also the resident
// memory before and after 10,000 ticks driven as fast as possible, which must stay flat
// for a run left going all day.
#include "app/all_windows.h"
#include "bench_support.h"
#include "brainwash/brain_window.h"
#include "core/services.h"
#include "core/window_registry.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <unistd.h>

using namespace tavi;

namespace {

// A foreground window that moves a little every time it is asked for.
struct MovingForeground final : WindowSystem {
    int asked = 0;
    bool available() const override { return true; }
    std::optional<Foreground> foreground() override
    {
        ++asked;
        return Foreground{4711, QRect(100 + asked % 50, 50, 800, 600)};
    }
    GrabResult grabHotkey(Modifier, QChar) override { return GrabResult::Grabbed; }
    void ungrabHotkey() override {}
};

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

struct Run {
    QTemporaryDir dir;
    bench::CountingOutput output;
    MovingForeground foreground;
    ServiceScope services{{.audio = &output, .windowSystem = &foreground}};
    WindowRegistry registry;
    BrainWindow* window = nullptr;

    Run()
    {
        bench::prepareWords(dir, 100);
        registerAllWindows(registry);
        registry.open(QStringLiteral("frm_brain"));
        window = registry.get<BrainWindow>(QStringLiteral("frm_brain"));
        window->findChild<QPushButton*>(QStringLiteral("bt_start"))->click();
        window->findChild<QTimer*>(QStringLiteral("Timer1"))->stop(); // the benchmark ticks
        QApplication::processEvents();
    }
    ~Run() { registry.unloadAll(); }
};

void BM_BrainTick(benchmark::State& state)
{
    Run run;
    for (auto _ : state) {
        run.window->Timer1_Timer();
        QApplication::processEvents();
    }
    state.counters["spoken"] = run.output.played;
}

void BM_ResidentOver10000Ticks(benchmark::State& state)
{
    Run run;
    for (int i = 0; i < 1000; ++i) { // warm up: fonts, caches, the first repaints
        run.window->Timer1_Timer();
        QApplication::processEvents();
    }
    for (auto _ : state) {
        const long before = residentKiB();
        for (int i = 0; i < 10000; ++i) {
            run.window->Timer1_Timer();
            QApplication::processEvents();
        }
        state.counters["rss_before_KiB"] = double(before);
        state.counters["rss_growth_KiB"] = double(residentKiB() - before);
    }
}

} // namespace

BENCHMARK(BM_BrainTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ResidentOver10000Ticks)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
