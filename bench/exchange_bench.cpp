// Speed of importing and exporting 100,000 words: what the import window waits for before
// its preview shows (detection, the first rows converted and split), the whole import
// (pinyin with digits, with tone marks, Pleco's text, and against a table that already
// holds every word), and the export to Anki's and Pleco's text. Then the import window:
// from the file chosen to its preview drawn, and from Import to the new file written.
#include "bench_support.h"
#include "vocabulary/import_window.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_exchange.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace tavi;

namespace {

constexpr int Words = 100000;

const std::vector<VocRow>& table()
{
    static const std::vector<VocRow> rows = [] {
        // Pinyin of two words from the standard syllables, hardly one like another: a
        // conversion cannot live off repeated words.
        QStringList syllables = mandarinSyllables().values();
        syllables.sort();
        const auto syllable = [&](int n) {
            return syllables[n % syllables.size()] + QChar(u'0' + (n / int(syllables.size())) % 5);
        };
        std::vector<VocRow> t;
        t.reserve(Words);
        for (int i = 0; i < Words; ++i)
            t.push_back(
                {QString::number(i % 10), syllable(i) + syllable(i * 7 + 3) + u' ' + syllable(i * 13 + 5),
                 QStringLiteral("你好朋友%1").arg(i), QStringLiteral("hello, friend %1").arg(i),
                 QStringLiteral("Lesson %1").arg(i % 20 + 1), i % 9 ? QString() : QStringLiteral("x")});
        return t;
    }();
    return rows;
}

enum Kind { AnkiDigits, AnkiMarks, Pleco, AnkiDuplicates };

const QByteArray& fileOf(int kind)
{
    static std::map<int, QByteArray> files;
    auto it = files.find(kind);
    if (it == files.end())
        it = files
                 .emplace(kind, exportWords(table(),
                                            kind == Pleco ? ExportFormat::PlecoText : ExportFormat::AnkiText,
                                            kind == AnkiMarks))
                 .first;
    return it->second;
}

void BM_DetectAndPreview(benchmark::State& state)
{
    const QByteArray& bytes = fileOf(int(state.range(0)));
    for (auto _ : state) {
        const ImportDetection d = detectImport(bytes);
        benchmark::DoNotOptimize(convertImport(bytes, d.choices, {}, 100).words.size());
        benchmark::DoNotOptimize(importRecords(bytes, d.choices, 100).size());
    }
    state.counters["file_MiB"] = double(bytes.size()) / (1 << 20);
}

void BM_ImportWhole(benchmark::State& state)
{
    const int kind = int(state.range(0));
    const QByteArray& bytes = fileOf(kind == AnkiDuplicates ? AnkiDigits : kind);
    const std::span<const VocRow> target =
        kind == AnkiDuplicates ? std::span<const VocRow>(table()) : std::span<const VocRow>();
    for (auto _ : state) {
        const ImportDetection d = detectImport(bytes);
        const ImportResult r = convertImport(bytes, d.choices, target);
        if (r.words.size() != size_t(Words))
            state.SkipWithError("words missing");
        benchmark::DoNotOptimize(r.duplicates);
    }
}

void BM_Export(benchmark::State& state)
{
    const int kind = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(exportWords(table(),
                                             kind == Pleco ? ExportFormat::PlecoText : ExportFormat::AnkiText,
                                             kind == AnkiMarks)
                                     .size());
}

// The program folder in dir, holding the file of the benchmark's kind as deck.txt.
QString deckIn(const QTemporaryDir& dir, benchmark::State& state)
{
    initProgramPaths(dir.path());
    const QString path = dir.filePath(QStringLiteral("deck.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(fileOf(int(state.range(0)))) < 0)
        state.SkipWithError("cannot write the file");
    return path;
}

// The file as the window opens it: read, detected, its first rows shown and drawn.
void BM_WindowPreview(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = deckIn(dir, state);
    for (auto _ : state) {
        ImportWindow window;
        if (!window.openFile(path))
            state.SkipWithError("not opened");
        window.show();
        QApplication::processEvents(); // drawn; the whole file is read 40 ms later
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}

// Import pressed: the whole file read with the choices, written as a new vocabulary file.
void BM_WindowImport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = deckIn(dir, state);
    ImportWindow window;
    window.openFile(path);
    for (auto _ : state) {
        state.PauseTiming();
        window.openFile(path); // forgets the whole read
        state.ResumeTiming();
        const std::vector<VocRow> rows = window.whole().rows();
        if (!WriteVocFile(dir.filePath(QStringLiteral("words.txt")), vocText(rows)))
            state.SkipWithError("not written");
    }
}

} // namespace

BENCHMARK(BM_WindowPreview)->Arg(AnkiDigits)->Arg(AnkiMarks)->Arg(Pleco)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowImport)->Arg(AnkiDigits)->Arg(AnkiMarks)->Arg(Pleco)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectAndPreview)->Arg(AnkiDigits)->Arg(AnkiMarks)->Arg(Pleco)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWhole)
    ->Arg(AnkiDigits)
    ->Arg(AnkiMarks)
    ->Arg(Pleco)
    ->Arg(AnkiDuplicates)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Arg(AnkiDigits)->Arg(AnkiMarks)->Arg(Pleco)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return tavi::bench::runWindowBenchmarks(argc, argv);
}
