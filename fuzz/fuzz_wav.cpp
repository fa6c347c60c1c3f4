// libFuzzer entry for the WAV reader: any bytes as a whole recording. What it accepts
// must describe samples that lie inside the bytes, in whole frames of the format it
// reports, since the sound output hands exactly that range to SDL.
#include "sound/wav_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto wav = tavi::parseWav(bytes);
    if (!wav)
        return 0;
    const bool inside =
        wav->dataOffset >= 12 && wav->dataLength >= 0 && wav->dataLength <= qint64(size) - wav->dataOffset;
    const bool frames = wav->channels > 0 && wav->sampleRate > 0 &&
                        wav->blockAlign == qint64(wav->channels) * wav->bitsPerSample / 8 &&
                        wav->dataLength % wav->blockAlign == 0;
    if (!inside || !frames || wav->durationMs() < 0) {
        std::fprintf(stderr, "accepted: data %lld+%lld of %zu bytes, %u ch, %u bit, align %u\n",
                     static_cast<long long>(wav->dataOffset), static_cast<long long>(wav->dataLength), size,
                     unsigned(wav->channels), unsigned(wav->bitsPerSample), unsigned(wav->blockAlign));
        std::abort();
    }
    return 0;
}
