// How long a spoken word takes to start: from SpeakPinyin being called to the first
// sample queued on the SDL device, with a sound folder of 2,500 files (a full pack has
// about 2,100). The device is SDL's disk driver writing to /dev/null, so no sound card
// is needed. Also the cost of listing that folder once when it has changed.
#include "core/app_state.h"
#include "platform/sdl_audio_output.h"
#include "sound/sound_index.h"
#include "sound/speech.h"
#include "support/wav_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <utime.h>

namespace {

using Clock = std::chrono::steady_clock;

// A sound folder of 2,500 quarter-second files, dated back so that its listing is
// trusted from the first lookup on.
struct Folder {
    QTemporaryDir dir;
    Folder()
    {
        const QByteArray wav = tavi::test::constantWav(22050, 1, 1000, 5512);
        for (int i = 0; i < 2497; ++i)
            tavi::test::writeFile(dir.filePath(QStringLiteral("syl%1%2.wav").arg(i / 5).arg(i % 5)), wav);
        for (const char* name : {"ni3.wav", "hao3.wav", "wait.wav"})
            tavi::test::writeFile(dir.filePath(QLatin1String(name)), wav);
        const time_t old = QDateTime::currentSecsSinceEpoch() - 3600;
        const utimbuf times{old, old};
        ::utime(QFile::encodeName(dir.path()).constData(), &times);
        tavi::SoundFolder = dir.path() + QDir::separator();
    }
};

// Notes the moment the first file of a text is queued, and drops what is queued
// instead of waiting for it to be heard.
class TimedOutput final : public tavi::AudioOutput {
public:
    tavi::SdlAudioOutput sdl;
    Clock::time_point firstQueued{};
    bool first = true;

    bool play(const QString& path) override
    {
        const bool ok = sdl.queue(path);
        if (first) {
            firstQueued = Clock::now();
            first = false;
        }
        sdl.clear();
        return ok;
    }
};

void BM_SpeakToFirstSample(benchmark::State& state)
{
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    Folder folder;
    TimedOutput output;
    const tavi::ServiceScope sound({.audio = &output});
    tavi::SpeakPinyin(QStringLiteral("wait")); // opens the device and lists the folder
    for (auto _ : state) {
        output.first = true;
        const auto start = Clock::now();
        // The word has no file of its own: a miss, then the first syllable in capitals.
        tavi::SpeakPinyin(QStringLiteral("Ni3hao3"));
        state.SetIterationTime(std::chrono::duration<double>(output.firstQueued - start).count());
    }
}
BENCHMARK(BM_SpeakToFirstSample)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ListChangedFolder(benchmark::State& state)
{
    Folder folder;
    for (auto _ : state) {
        tavi::SoundIndex index;
        benchmark::DoNotOptimize(index.find(tavi::SoundFolder, QStringLiteral("Ni3.wav")));
    }
}
BENCHMARK(BM_ListChangedFolder)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
