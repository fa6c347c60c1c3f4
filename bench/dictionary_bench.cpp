// The dictionary over the whole of CC-CEDICT: building the index (its time and size),
// opening it with the first look-up, further look-ups by characters, pinyin and English,
// and the resident memory that opening and a few look-ups add. The data file is
// $TAVI_CEDICT, or else the copy the build unpacks.
#include "vocabulary/dictionary.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

using namespace tavi;

namespace {

struct Built {
    QString path;
    double seconds = 0;
    qint64 bytes = 0;
};

// The index of the data file, built once.
const Built& index()
{
    static QTemporaryDir dir;
    static const Built built = [] {
        const QByteArray given = qgetenv("TAVI_CEDICT");
        const QString data =
            given.isEmpty() ? QStringLiteral(TAVI_CEDICT_DATA) : QString::fromLocal8Bit(given);
        Built b{dir.filePath(QStringLiteral("cedict.idx"))};
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!buildDictionaryIndex(data, b.path, &error)) {
            std::fprintf(stderr, "%s (set TAVI_CEDICT to a CC-CEDICT file)\n", qUtf8Printable(error));
            std::exit(1);
        }
        b.seconds = timer.nsecsElapsed() / 1e9;
        b.bytes = QFileInfo(b.path).size();
        return b;
    }();
    return built;
}

long residentKiB()
{
    long value = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            if (std::strncmp(line, "VmRSS:", 6) == 0)
                value = std::atol(line + 6);
        }
        std::fclose(f);
    }
    return value;
}

// The usual queries, then the costliest: one letter (every key starting with it) and two
// of the commonest English words.
const char* const Queries[] = {"你好", "行", "nihao", "water", "s", "to the"};

void BM_BuildIndex(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(index().bytes);
    state.counters["build_s"] = index().seconds;
    state.counters["index_MB"] = double(index().bytes) / 1e6;
}

void BM_FirstLookup(benchmark::State& state)
{
    const QString path = index().path;
    for (auto _ : state) {
        Dictionary d;
        d.open(path, nullptr);
        benchmark::DoNotOptimize(d.lookup(QStringLiteral("你好")));
    }
}

void BM_Lookup(benchmark::State& state)
{
    Dictionary d;
    QString error;
    if (!d.open(index().path, &error)) {
        state.SkipWithError(qUtf8Printable(error));
        return;
    }
    const QString query = QString::fromUtf8(Queries[state.range(0)]);
    state.SetLabel(Queries[state.range(0)]);
    qsizetype found = 0;
    for (auto _ : state)
        found = d.lookup(query).size();
    state.counters["found"] = double(found);
}

void BM_ResidentMemory(benchmark::State& state)
{
    const QString path = index().path;
    for (auto _ : state) {
        malloc_trim(0); // what building the index freed is not counted as kept
        const long before = residentKiB();
        Dictionary d;
        d.open(path, nullptr);
        for (const char* query : Queries)
            benchmark::DoNotOptimize(d.lookup(QString::fromUtf8(query)));
        state.counters["rss_added_MB"] = double(residentKiB() - before) / 1024;
    }
}

} // namespace

BENCHMARK(BM_BuildIndex)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lookup)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
