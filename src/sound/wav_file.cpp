// Walking a WAV file's chunks; see wav_file.h for why the reader is the program's own.
// Positions are 64-bit and every read is checked against the view before it is made,
// so no declared length, however large, can wrap around or reach outside the bytes.
#include "sound/wav_file.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace tavi {

namespace {

constexpr quint16 FormatExtensible = 0xFFFE;
constexpr qint64 ChunkHeaderSize = 8;
constexpr qint64 FmtSize = 16;
constexpr qint64 FmtExtensibleSize = 40;
// The subformat GUID of WAVE_FORMAT_EXTENSIBLE after its first two bytes, which hold
// the format code.
constexpr char GuidTail[14] = {0x00, 0x00, 0x00,       0x00, 0x10, 0x00,       char(0x80),
                               0x00, 0x00, char(0xAA), 0x00, 0x38, char(0x9B), 0x71};

quint16 u16(QByteArrayView b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

quint32 u32(QByteArrayView b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.data() + at);
}

bool sampleLayoutKnown(quint16 format, quint16 bits)
{
    if (format == WavFormatPcm)
        return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (format == WavFormatFloat)
        return bits == 32 || bits == 64;
    return false;
}

// The format chunk's body, already known to lie inside the bytes.
std::optional<WavInfo> readFormat(QByteArrayView body)
{
    if (body.size() < FmtSize)
        return std::nullopt;
    WavInfo info;
    info.format = u16(body, 0);
    info.channels = u16(body, 2);
    info.sampleRate = u32(body, 4);
    info.blockAlign = u16(body, 12);
    info.bitsPerSample = u16(body, 14);
    if (info.format == FormatExtensible) {
        if (body.size() < FmtExtensibleSize || std::memcmp(body.data() + 26, GuidTail, sizeof GuidTail) != 0)
            return std::nullopt;
        info.extensible = true;
        info.format = u16(body, 24);
    }
    if (!sampleLayoutKnown(info.format, info.bitsPerSample) || info.channels == 0 || info.sampleRate == 0)
        return std::nullopt;
    if (qint64(info.blockAlign) != qint64(info.channels) * info.bitsPerSample / 8)
        return std::nullopt;
    return info;
}

} // namespace

std::optional<WavInfo> parseWav(QByteArrayView bytes)
{
    const qint64 size = bytes.size();
    if (size < 12 || size > MaxWavFileSize || !bytes.startsWith("RIFF") ||
        bytes.sliced(8, 4) != QByteArrayView("WAVE"))
        return std::nullopt;
    // Writers that stream leave the RIFF size at 0; otherwise chunks after it are no
    // part of the file.
    const qint64 riffSize = u32(bytes, 4);
    const qint64 end = riffSize == 0 ? size : std::min(size, ChunkHeaderSize + riffSize);

    std::optional<WavInfo> info;
    for (qint64 pos = 12; pos + ChunkHeaderSize <= end;) {
        const QByteArrayView id = bytes.sliced(pos, 4);
        const qint64 length = u32(bytes, pos + 4);
        const qint64 body = pos + ChunkHeaderSize;
        if (length > size - body)
            return std::nullopt; // runs past the end: a truncated file
        if (id == QByteArrayView("fmt ")) {
            if (info)
                return std::nullopt; // a second format: which one would the samples be in?
            info = readFormat(bytes.sliced(body, length));
            if (!info)
                return std::nullopt;
        } else if (id == QByteArrayView("data")) {
            if (!info || length % info->blockAlign != 0)
                return std::nullopt;
            info->dataOffset = body;
            info->dataLength = length;
            return info;
        }
        pos = body + length + (length & 1);
    }
    return std::nullopt;
}

} // namespace tavi
