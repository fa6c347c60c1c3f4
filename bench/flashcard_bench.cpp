// Time from a Yes click to the next card shown and its sound handed to the output,
// for selections of 10 and 10,000 words, with pinyin as stored or in tone marks and
// colours. The output is a recorder: what is measured is the trainer's own work
// (including the repaint before speaking), not the sound. And a card's pinyin alone:
// converted, coloured and laid out in its field.
#include "app/all_windows.h"
#include "bench_support.h"
#include "core/window_registry.h"
#include "sound/pinyin_display.h"
#include "training/review_log.h"
#include "ui/read_only_field.h"

#include <QApplication>
#include <QLineEdit>
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
    PinyinDisplay toned;
    if (state.range(1)) {
        toned.marks = toned.characters = true;
        toned.scheme = PinyinDisplay::Pleco;
    }
    PinyinDisplayNotifier::instance().set(toned);

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

void BM_ShowTonedPinyin(benchmark::State& state)
{
    QTemporaryDir dir;
    bench::prepareWords(dir, 1);
    const bool toned = state.range(0) != 0;
    PinyinDisplayNotifier::instance().set({.marks = toned,
                                           .scheme = toned ? PinyinDisplay::Pleco : PinyinDisplay::Off,
                                           .characters = toned,
                                           .custom = {}});
    QLineEdit field;
    field.setReadOnly(true);
    field.resize(320, 40);
    field.show();
    int i = 0;
    for (auto _ : state) {
        // Two cards in turn, so that every call shows a new text.
        showPinyinText(&field, ++i % 2 ? QStringLiteral("zhong1guo2ren2") : QStringLiteral("xie4xie0 ni3"));
        benchmark::DoNotOptimize(field.text());
    }
}

// The conversion alone: marks, runs of the pinyin and of the characters.
void BM_ConvertPinyin(benchmark::State& state)
{
    const QString pinyin = QStringLiteral("zhong1guo2ren2");
    const QString characters = QStringLiteral("中国人");
    for (auto _ : state) {
        const ShownPinyin shown = showPinyin(pinyin, true);
        benchmark::DoNotOptimize(characterRuns(characters, shown.runs).size() + shown.text.size());
    }
}

// One answer appended to the review log and committed to disk (full sync), in a log that
// already holds range(0) answers.
void BM_LogAnswer(benchmark::State& state)
{
    QTemporaryDir dir;
    ReviewLog log(dir.filePath(QStringLiteral("reviews.sqlite")));
    log.open();
    const Review review{QDateTime::currentDateTimeUtc(),
                        QStringLiteral("你好"),
                        QStringLiteral("ni3hao3"),
                        QStringLiteral("words.txt"),
                        true,
                        3,
                        4,
                        1500};
    for (qint64 i = 0; i < state.range(0); ++i)
        log.append(review);
    for (auto _ : state)
        benchmark::DoNotOptimize(log.append(review));
}

} // namespace

BENCHMARK(BM_LogAnswer)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertPinyin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_YesToNextCard)
    ->ArgsProduct({{10, 10000}, {0, 1}})
    ->ArgNames({"words", "toned"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowTonedPinyin)->ArgName("toned")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
