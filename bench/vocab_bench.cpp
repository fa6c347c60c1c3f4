// Speed of the vocabulary file round: reading and parsing, building and writing, and
// selecting, for files of 1,000 to 100,000 words; reading a file of a million words and
// one whose single word is 10 MB long.
#include "vocabulary/study_selection.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace tavi;

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A file of n words, written once per size.
QString fileOf(int n)
{
    static std::map<int, QString> files;
    auto it = files.find(n);
    if (it != files.end())
        return it->second;
    VocTable.clear();
    for (int i = 0; i < n; ++i)
        VocTable.push_back({QString::number(i % 10), QStringLiteral("ni3hao3 peng2you0"),
                            QStringLiteral("你好朋友"), QStringLiteral("hello, friend %1").arg(i),
                            QString::number(i % 20 + 1), i % 9 ? QString() : QStringLiteral("x")});
    VocCount = n - 1;
    const QString path = folder().filePath(QStringLiteral("words%1.txt").arg(n));
    WriteVocFile(path, BuildVocText());
    return files[n] = path;
}

void BM_ReadAndParse(benchmark::State& state)
{
    const QString path = fileOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        readVocabulary(path);
        benchmark::DoNotOptimize(VocCount);
    }
    state.SetComplexityN(state.range(0));
}

void BM_ReadTenMegabyteLine(benchmark::State& state)
{
    const QString path = folder().filePath(QStringLiteral("long.txt"));
    VocTable.assign(1, {QStringLiteral("1"), QStringLiteral("ni3"), QStringLiteral("你"),
                        QString(5 * 1024 * 1024, u'a'), QStringLiteral("1"), QString()});
    VocCount = 0;
    WriteVocFile(path, BuildVocText()); // 10 MB as UTF-16
    for (auto _ : state) {
        readVocabulary(path);
        benchmark::DoNotOptimize(VocCount);
    }
}

void BM_BuildAndWrite(benchmark::State& state)
{
    ParseVocText(ReadVocFile(fileOf(static_cast<int>(state.range(0)))));
    const QString out = folder().filePath(QStringLiteral("out.txt"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteVocFile(out, BuildVocText()));
    state.SetComplexityN(state.range(0));
}

void BM_Build(benchmark::State& state)
{
    ParseVocText(ReadVocFile(fileOf(static_cast<int>(state.range(0)))));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildVocText());
    state.SetComplexityN(state.range(0));
}

void BM_Select(benchmark::State& state)
{
    ParseVocText(ReadVocFile(fileOf(static_cast<int>(state.range(0)))));
    const StudyFilters filters{QStringLiteral("1, 2, 3, 4, 5, 6, 7, 8, 9, 10"), QStringLiteral("5"),
                               QString()};
    for (auto _ : state) {
        selectStudyWords(filters);
        benchmark::DoNotOptimize(StudyCount);
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_ReadAndParse)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadTenMegabyteLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Build)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Select)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
