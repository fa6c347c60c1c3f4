// Time from a Yes click to the next card shown and its sound handed to the output,
// for selections of 10 and 10,000 words. The output is a recorder: what is measured
// is the trainer's own work (including the repaint before speaking), not the sound.
#include "core/app_state.h"
#include "core/window_registry.h"
#include "sound/audio_output.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

struct CountingOutput final : AudioOutput {
    int played = 0;
    bool play(const QString&) override
    {
        ++played;
        return true;
    }
};

void BM_YesToNextCard(benchmark::State& state)
{
    QTemporaryDir dir;
    initProgramPaths(dir.path());
    QDir(dir.path()).mkdir(QStringLiteral("sound"));
    for (const char* name : {"sound/ni3hao3.wav", "sound/wait.wav"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
    }
    const int words = static_cast<int>(state.range(0));
    VocTable.assign(words, VocRow{QStringLiteral("1"), QStringLiteral("ni3hao3"), QStringLiteral("你好"),
                                  QStringLiteral("hello"), QStringLiteral("1"), QString()});
    VocCount = words - 1;
    StudyList.clear();
    for (int i = 0; i < words; ++i)
        StudyList << QString::number(i);
    StudyCount = words - 1;

    CountingOutput output;
    setAudioOutput(&output);
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
    setAudioOutput(nullptr);
}

} // namespace

BENCHMARK(BM_YesToNextCard)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
