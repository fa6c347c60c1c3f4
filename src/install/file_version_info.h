// The version resource of a Windows program file (PE: .exe, .dll), offered as text
// properties: the fixed part (versions, flags, system, type), the language and the
// string table. The installation check reads the FileVersion of the web browser
// library with it.
//
// The reader is the program's own: Linux has no system call that reads a PE version
// resource, and a small reader that checks every offset and length against the file
// is safer and lighter than a library pulled in for one field. It maps the file and
// touches only the headers, the resource directory and the version block, so a large
// file costs no more than a small one. A short, truncated or lying file (offsets past
// the end, lengths that overrun their block, directories that loop) reads as a file
// without version resource; nothing is ever read past the end of the file.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>
#include <utility>

namespace tavi {

// The names of the string table, in the order the reader takes them.
inline constexpr std::array<const char*, 9> VersionStringNames = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",  "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion"};

// What a PE image's version resource holds, as numbers and UTF-16 texts.
struct VersionResource {
    quint32 structureVersion = 0;
    quint32 fileVersionMS = 0;
    quint32 fileVersionLS = 0;
    quint32 productVersionMS = 0;
    quint32 productVersionLS = 0;
    quint32 fileFlags = 0; // the flags word as it stands; the flags mask is not applied
    quint32 fileOS = 0;
    quint32 fileType = 0;
    quint32 fileSubtype = 0;
    // The first translation entry, when there is one: language id, code page.
    std::optional<std::pair<quint16, quint16>> translation;
    // The string table of that translation, by VersionStringNames; empty where the
    // table lacks the name or gives it no value.
    std::array<std::optional<QString>, VersionStringNames.size()> strings;
};

// The version resource of the image (the whole file's bytes): the first RT_VERSION
// resource, its first name and its first language. Empty when the image is not a PE
// file, has no version resource, or any offset or length on the way to it is wrong.
// Reads nothing outside the view.
std::optional<VersionResource> parseVersionResource(QByteArrayView image);

class CFileVersionInfo {
public:
    // Makes the path absolute and reads that file; an empty path changes nothing.
    void setFullPathName(const QString& path);
    QString FullPathName() const { return m_fullPathName; }
    bool Available() const { return m_available; }

    QString FileFlags() const { return m_fileFlags; }
    QString FileOS() const { return m_fileOS; }
    QString FileType() const { return m_fileType; }
    QString FileSubType() const { return m_fileSubType; }
    QString VerFile() const { return m_verFile; }
    QString VerProduct() const { return m_verProduct; }
    QString VerStructure() const { return m_verStructure; }
    QString CompanyName() const { return m_strings[0]; }
    QString FileDescription() const { return m_strings[1]; }
    QString FileVersion() const { return m_strings[2]; }
    QString InternalName() const { return m_strings[3]; }
    QString Language() const { return m_language; }
    QString LegalCopyright() const { return m_strings[4]; }
    QString LegalTrademarks() const { return m_strings[5]; }
    QString OriginalFilename() const { return m_strings[6]; }
    QString ProductName() const { return m_strings[7]; }
    QString ProductVersion() const { return m_strings[8]; }

    // Reads FullPathName again. Without a version resource only Available turns false;
    // every text keeps what the last file gave it, and so do the language and the
    // strings when the resource has no translation table or lacks a string.
    void Refresh();

private:
    void take(const VersionResource& resource);

    QString m_fullPathName;
    bool m_available = false;
    QString m_fileFlags;
    QString m_fileOS;
    QString m_fileType;
    QString m_fileSubType;
    QString m_verFile;
    QString m_verProduct;
    QString m_verStructure;
    QString m_language;
    std::array<QString, VersionStringNames.size()> m_strings;
};

} // namespace tavi
