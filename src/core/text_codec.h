// The system's 8-bit text: UTF-8, with Windows-1252 as the reading of files that are
// not valid UTF-8 (settings and language files written by older Windows tools).
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace tavi {

enum class TextEncoding { Utf8, Windows1252 };

// Whether the bytes are well-formed UTF-8.
bool isValidUtf8(QByteArrayView bytes);

// The encoding a file of these bytes is read in: UTF-8 when valid, else Windows-1252.
TextEncoding detectSystemEncoding(QByteArrayView bytes);

QString decodeText(QByteArrayView bytes, TextEncoding encoding);
QString decodeWindows1252(QByteArrayView bytes);

// Encodes text; nullopt when Windows-1252 cannot hold one of its characters.
std::optional<QByteArray> encodeText(const QString& text, TextEncoding encoding);

} // namespace tavi
