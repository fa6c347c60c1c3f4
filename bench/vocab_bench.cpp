// Speed of the vocabulary file round: reading and parsing, building and writing, and
// selecting, for files of 1,000 to 100,000 words; reading a file of a million words and
// one whose single word is 10 MB long. Memory: the peak while the selection window
// loads a file (reading, parsing and checking it) of 100,000 and 1,000,000 words and
// one near the size limit, in the program's own UTF-16 and in UTF-8.
#include "vocabulary/study_selection.h"
#include "vocabulary/voc_check.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <malloc.h>
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

// A file of the same words written straight to the disk, in UTF-16 (the program's own
// format, CR line ends) or UTF-8 (LF, as a text editor writes), without a table of
// them in memory.
QString directFileOf(int n, bool utf8)
{
    const QString path = folder().filePath(QStringLiteral("direct%1%2.txt").arg(n).arg(utf8 ? "u8" : "u16"));
    if (QFile::exists(path))
        return path;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    const QString end = utf8 ? QStringLiteral("\n") : QStringLiteral("\r");
    auto write = [&](const QString& text) {
        if (utf8) {
            f.write(text.toUtf8());
        } else {
            f.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        }
    };
    if (!utf8)
        f.write("\xFF\xFE");
    QString text = VocHeader + end;
    for (int i = 0; i < n; ++i) {
        text += QStringLiteral("%1 + ni3hao3 peng2you0 + 你好朋友 + hello, friend %2 + %3 + %4")
                    .arg(i % 10)
                    .arg(i)
                    .arg(i % 20 + 1)
                    .arg(i % 9 ? QString() : QStringLiteral("x")) +
                end;
        if (text.size() > (1 << 20)) {
            write(text);
            text.clear();
        }
    }
    write(text);
    return path;
}

long statusKiB(const char* key)
{
    long value = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        const size_t n = std::strlen(key);
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, key, n) == 0)
                value = std::atol(line + n);
        std::fclose(f);
    }
    return value;
}

// What the selection window does with a file: read, parse and check it; reported as
// the resident memory's peak above what the process held before, and as a multiple of
// the file's size.
void measureLoad(benchmark::State& state, const QString& path)
{
    std::vector<VocRow>().swap(VocTable);
    VocCount = -1;
    malloc_trim(0);
    const long before = statusKiB("VmRSS:");
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) { // the peak starts again from here
        std::fputs("5", f);
        std::fclose(f);
    }
    for (auto _ : state) {
        VocChecker check({}, false);
        readVocabulary(path, {{}, [&](QStringView line) { check.addLine(line); }});
        benchmark::DoNotOptimize(check.count());
    }
    const double peak = double(statusKiB("VmHWM:") - before) * 1024;
    const double size = double(QFile(path).size());
    state.counters["file_MiB"] = size / (1 << 20);
    state.counters["peak_MiB"] = peak / (1 << 20);
    state.counters["peak_x_file"] = peak / size;
    state.counters["words"] = VocCount + 1;
}

void BM_LoadMemory(benchmark::State& state)
{
    measureLoad(state, directFileOf(static_cast<int>(state.range(0)), false));
}

// Near the 256 MB limit: 2,200,000 words in UTF-16 (252 MiB), 3,900,000 in UTF-8 (254 MiB).
void BM_LoadMemoryNearLimit(benchmark::State& state)
{
    const bool utf8 = state.range(0) == 8;
    measureLoad(state, directFileOf(utf8 ? 3900000 : 2200000, utf8));
}

} // namespace

BENCHMARK(BM_ReadAndParse)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_ReadTenMegabyteLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAndWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_Build)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Select)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK(BM_LoadMemory)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMemoryNearLimit)->Arg(16)->Arg(8)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
