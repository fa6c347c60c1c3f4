// The format of a WAV recording and where its samples lie, read before any byte of the
// file reaches the sound output.
//
// The reader is the program's own. A recording in the sound folder may come from
// anywhere (a user's own recordings, a pack somebody shared), and without this reader
// SDL's loader, which understands far more than the program needs, would be the first
// code to parse it. This one walks the RIFF chunks with every offset and length
// checked against the bytes in 64-bit arithmetic, accepts only the sample formats that
// recorders and the default pack write, and refuses a truncated or inconsistent file
// as a whole: a word is spoken completely or counts as not played, never cut off in
// the middle. The output then hands SDL only the bytes checked here.
#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace tavi {

// A larger file is no recording of a word: it is refused without being read whole.
// 32 MB hold six minutes of 44.1 kHz 16-bit stereo.
inline constexpr qint64 MaxWavFileSize = 32LL * 1024 * 1024;

inline constexpr quint16 WavFormatPcm = 1;
inline constexpr quint16 WavFormatFloat = 3;

struct WavInfo {
    // WavFormatPcm or WavFormatFloat; also when the file gives it as the subformat of
    // WAVE_FORMAT_EXTENSIBLE.
    quint16 format = 0;
    bool extensible = false;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint16 bitsPerSample = 0;
    quint16 blockAlign = 0; // bytes of one sample frame: channels × bitsPerSample / 8
    // The samples: the data chunk's body, a whole number of frames, inside the bytes.
    qint64 dataOffset = 0;
    qint64 dataLength = 0;

    qint64 frames() const { return dataLength / blockAlign; }
    // Rounded down to the millisecond.
    qint64 durationMs() const { return frames() * 1000 / sampleRate; }
};

// The WAV file of these bytes (the whole file). nullopt unless: RIFF/WAVE, a "fmt "
// chunk of at least 16 bytes before the "data" chunk, PCM of 8, 16, 24 or 32 bits or
// IEEE float of 32 or 64 bits, at least one channel, a sample rate, a block align of
// channels × bits / 8, and a data chunk of whole frames that the bytes hold entirely.
// Chunks are padded to even lengths; a non-zero RIFF size bounds the chunk walk;
// bytes after the data chunk are not looked at. Reads nothing outside the view.
std::optional<WavInfo> parseWav(QByteArrayView bytes);

} // namespace tavi
