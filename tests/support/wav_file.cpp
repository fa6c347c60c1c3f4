// The canonical 44-byte header followed by the samples, little-endian.
#include "support/wav_file.h"

#include <QFile>
#include <QtEndian>

namespace tavi::test {

namespace {

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

} // namespace

QByteArray constantWav(int rate, int channels, qint16 value, int frames)
{
    const quint32 dataBytes = quint32(frames * channels * 2);
    QByteArray out;
    out.append("RIFF");
    put32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, quint16(channels));
    put32(out, quint32(rate));
    put32(out, quint32(rate * channels * 2));
    put16(out, quint16(channels * 2));
    put16(out, 16);
    out.append("data");
    put32(out, dataBytes);
    for (int i = 0; i < frames * channels; ++i)
        put16(out, quint16(value));
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace tavi::test
