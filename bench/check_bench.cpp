// The vocabulary check over 100,000 words (recordings looked up in the sound folder), and
// one drawing of the progress view over them.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"
#include "sound/sound_index.h"
#include "vocabulary/dictionary.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QFile>
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

// The check over 100,000 of the dictionary's own words, one in ten with a wrong tone,
// without the dictionary and with it (every word looked up).
void BM_CheckWithDictionary(benchmark::State& state)
{
    Dictionary dictionary;
    QString error;
    QFile lines(QStringLiteral(TAVI_CEDICT_DATA));
    if (!dictionary.open(QStringLiteral(TAVI_APP_DIR "/cedict.idx"), &error) ||
        !lines.open(QIODevice::ReadOnly)) {
        state.SkipWithError("no dictionary in the build folder");
        return;
    }
    QTemporaryDir dir;
    bench::prepareWords(dir, 0);
    VocTable.clear();
    while (VocTable.size() < 100000 && !lines.atEnd())
        if (const auto e = parseCedictLine(QString::fromUtf8(lines.readLine()).trimmed())) {
            QString pinyin = e->pinyin;
            if (VocTable.size() % 10 == 0 && !pinyin.isEmpty() && pinyin.back().isDigit())
                pinyin.back() = pinyin.back() == u'1' ? u'2' : u'1';
            VocTable.push_back(VocRow{QStringLiteral("1"), pinyin, e->simplified, QStringLiteral("x"),
                                      QStringLiteral("1"), QString()});
        }
    VocCount = static_cast<int>(VocTable.size()) - 1;
    const QString text = BuildVocText();
    for (auto _ : state)
        state.counters["findings"] =
            double(checkVocText(text, {}, state.range(0) ? &dictionary : nullptr).size());
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
BENCHMARK(BM_CheckWithDictionary)->ArgName("dictionary")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawProgress)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
