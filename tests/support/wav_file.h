// Small PCM WAV files for sound tests: every sample of a file holds the same value, so
// that what a sound output wrote can be traced back to the file it came from.
#pragma once

#include <QByteArray>
#include <QString>

namespace tavi::test {

// 16-bit PCM; frames sample frames of the given value in every channel.
QByteArray constantWav(int rate, int channels, qint16 value, int frames);

// Writes the bytes to path; false when that fails.
bool writeFile(const QString& path, const QByteArray& bytes);

} // namespace tavi::test
