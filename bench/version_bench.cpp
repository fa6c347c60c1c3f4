// Speed of the version reader on a 30 MB PE file whose resources lie behind a 30 MB
// section (tools/make_pe_files.py --large): opening and mapping the file and reading
// its version resource, which must not grow with the file.
#include "install/file_version_info.h"

#include <benchmark/benchmark.h>

using namespace tavi;

namespace {

const QString largeFile = QStringLiteral(TAVI_LARGE_PE);

void BM_Refresh(benchmark::State& state)
{
    CFileVersionInfo info;
    info.setFullPathName(largeFile);
    if (!info.Available()) {
        state.SkipWithError("the large file has no readable version resource");
        return;
    }
    for (auto _ : state) {
        info.Refresh();
        benchmark::DoNotOptimize(info.Available());
    }
}

// As the installation check uses it: a new reader, the path, one text.
void BM_NewReaderFileVersion(benchmark::State& state)
{
    for (auto _ : state) {
        CFileVersionInfo info;
        info.setFullPathName(largeFile);
        benchmark::DoNotOptimize(info.FileVersion());
    }
}

} // namespace

BENCHMARK(BM_Refresh)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewReaderFileVersion)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
