// The INI profile store behind tavi.ini and language.ini.
//
// Written here rather than taken from QSettings because the program depends on the
// classic profile contract, which QSettings does not keep: section and key names
// match without regard to case, blanks and tabs around names and values are dropped,
// one pair of surrounding quotes is removed on reading, a value read back has at most
// 498 characters, and a write replaces one value in place while every other line of
// the file, comments and unknown sections included, stays byte for byte as it was.
// Every write replaces the file atomically, under a lock on the file that serialises
// the writes of several copies of the program.
#pragma once

#include <QString>

namespace tavi::ini {

inline constexpr int MaxValueLength = 498;
// A larger file is no settings or language file: it is neither read nor written.
inline constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

// The value of key in section of file; empty when the file, section or key is missing.
QString read(const QString& file, const QString& section, const QString& key);

// The value of key in section of a file's bytes, as read does it.
QString readFrom(const QByteArray& bytes, const QString& section, const QString& key);
// The file's bytes with key=value written in, as write does it.
QByteArray replaced(const QByteArray& bytes, const QString& section, const QString& key,
                    const QString& value);
// Writes key=value, creating file, section and key as needed. False when the file
// cannot be read or replaced (a missing folder, a read-only file or folder).
bool write(const QString& file, const QString& section, const QString& key, const QString& value);

} // namespace tavi::ini
