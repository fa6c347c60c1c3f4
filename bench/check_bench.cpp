// The vocabulary check over 100,000 words (recordings looked up in the sound folder), and
// one drawing of the progress view over them.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"
#include "sound/sound_index.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

void BM_CheckText(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::prepareWords(dir, static_cast<int>(state.range(0)));
    // A clean file: every word its own two characters.
    for (int i = 0; i <= VocCount; ++i)
        VocTable[i].set(CHAR, QString(QChar(0x4E00 + i % 20000)) + QChar(0x4E00 + i / 20000));
    const QString text = BuildVocText();
    for (auto _ : state) // the folder listed, the text checked
        benchmark::DoNotOptimize(checkVocText(text, recordingLookup()));
}

void BM_DrawProgress(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::prepareWords(dir, static_cast<int>(state.range(0)));
    WindowRegistry registry;
    registerAllWindows(registry);
    QWidget* view = registry.get(QStringLiteral("frm_progress"));
    view->resize(680, 520);
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        view->render(&image);
}

} // namespace

BENCHMARK(BM_CheckText)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawProgress)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
