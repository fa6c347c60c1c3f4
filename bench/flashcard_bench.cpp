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
#include "vocabulary/study_selection.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
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

// A learner's year: 100,000 words, ten answers each, 1,000,000 rows in the log.
struct BigLog {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("reviews.sqlite"));
    BigLog()
    {
        bench::prepareWords(dir, 100000);
        for (int i = 0; i < 100000; ++i)
            VocTable[i].set(CHAR, QStringLiteral("字%1").arg(i));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("filler"));
        db.setDatabaseName(path);
        db.open();
        ReviewLog(path).open(); // the tables
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(
            QStringLiteral("INSERT INTO reviews (time_utc, characters, pinyin, file, known, level_before, "
                           "level_after, answer_ms) VALUES (?, ?, 'ni3hao3', 'words.txt', ?, 1, 2, 900)"));
        const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-365);
        for (int answer = 0; answer < 10; ++answer)
            for (int word = 0; word < 100000; ++word) {
                q.addBindValue(
                    start.addSecs(qint64(answer) * 36 * 86400 + word * 7).toString(Qt::ISODateWithMs));
                q.addBindValue(VocTable[word][CHAR]);
                q.addBindValue((word + answer) % 5 != 0);
                q.exec();
            }
        q.exec(QStringLiteral("COMMIT"));
        q.exec(QStringLiteral("DELETE FROM derived")); // written behind the log's back: rebuilt
        db.close();
    }
};

BigLog& bigLog()
{
    static BigLog log;
    return log;
}

// Opening the log: the check of the file, and the first time, the rebuild of each word's
// memory from its 1,000,000 answers.
void BM_OpenBigLog(benchmark::State& state)
{
    const QString path = bigLog().path;
    for (auto _ : state) {
        ReviewLog log(path);
        benchmark::DoNotOptimize(log.open());
    }
}

// Select with "only words due": the due days of 100,000 words read from the log (cold:
// just opened; warm: read before, nothing written since), then the selection ordered.
void BM_DueCounts(benchmark::State& state)
{
    const QString path = bigLog().path;
    const QStringList all = StudyList;
    ReviewLog log(path);
    log.open();
    if (state.range(0))
        log.dueDays(0.9);
    for (auto _ : state) {
        state.PauseTiming();
        StudyList = all;
        std::optional<ReviewLog> cold;
        if (!state.range(0)) {
            cold.emplace(path);
            cold->open();
        }
        state.ResumeTiming();
        const DueDays due = (cold ? *cold : log).dueDays(0.9);
        const DueCounts counts = orderByDueDays(due, QDate::currentDate(), {true, 20, false, 0});
        benchmark::DoNotOptimize(counts);
        state.counters["due"] = counts.due;
    }
}

} // namespace

BENCHMARK(BM_OpenBigLog)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DueCounts)->ArgName("warm")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
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
