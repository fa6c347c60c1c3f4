// Reading the version resource of a PE file: the headers, the section table, the
// resource directory and the version block; see file_version_info.h for why the
// reader is the program's own. Every read goes through Bytes, which answers 0 outside
// the view, and every structure is checked whole before its fields are used.
#include "install/file_version_info.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace tavi {

namespace {

constexpr quint16 DosMagic = 0x5A4D;    // "MZ"
constexpr quint32 PeSignature = 0x4550; // "PE\0\0"
constexpr quint16 Pe32Magic = 0x10B;
constexpr quint16 Pe32PlusMagic = 0x20B;
constexpr quint32 ResourceDirectoryIndex = 2;
constexpr quint32 RtVersion = 16;
constexpr quint32 FixedInfoSignature = 0xFEEF04BD;
constexpr quint64 FixedInfoSize = 52;
constexpr quint32 HighBit = 0x80000000u;
// A version block holds a handful of children (strings of one table, tables of one
// language); far more means a hostile file, whose walk is cut short.
constexpr int MaxBlockChildren = 1024;
// Entries scanned in one resource directory; real files have a few dozen types.
constexpr quint32 MaxDirectoryEntries = 4096;

quint64 align4(quint64 offset)
{
    return (offset + 3) & ~quint64(3);
}

// A view of bytes whose reads never leave it: outside, a number reads as 0.
class Bytes {
public:
    Bytes() = default;
    Bytes(const uchar* data, quint64 size) : m_data(data), m_size(size) {}

    quint64 size() const { return m_size; }
    bool has(quint64 offset, quint64 length) const { return offset <= m_size && length <= m_size - offset; }
    quint16 u16(quint64 offset) const
    {
        return has(offset, 2) ? qFromLittleEndian<quint16>(m_data + offset) : 0;
    }
    quint32 u32(quint64 offset) const
    {
        return has(offset, 4) ? qFromLittleEndian<quint32>(m_data + offset) : 0;
    }
    // The bytes [offset, offset + length); the caller has checked has().
    Bytes sub(quint64 offset, quint64 length) const { return Bytes(m_data + offset, length); }

private:
    const uchar* m_data = nullptr;
    quint64 m_size = 0;
};

struct Section { // the fields of a section header that place its data
    quint32 virtualAddress;
    quint32 virtualSize;
    quint32 rawSize;
    quint32 rawPointer;
};

// The headers of a PE image: where its sections lie and where its resources start.
class PeImage {
public:
    explicit PeImage(Bytes file) : m_file(file) {}

    // Reads the DOS, COFF and optional headers and finds the section table. False when
    // the file is not a PE image or has no resource directory.
    bool readHeaders()
    {
        if (!m_file.has(0, 64) || m_file.u16(0) != DosMagic)
            return false;
        const quint64 pe = m_file.u32(0x3C);
        if (!m_file.has(pe, 24) || m_file.u32(pe) != PeSignature)
            return false;
        const quint64 sectionCount = m_file.u16(pe + 6);
        const quint64 optionalSize = m_file.u16(pe + 20);
        const quint64 optional = pe + 24;
        if (!m_file.has(optional, optionalSize) || optionalSize < 2)
            return false;
        quint64 countField = 0;
        quint64 directories = 0;
        switch (m_file.u16(optional)) {
        case Pe32Magic:
            countField = 92;
            directories = 96;
            break;
        case Pe32PlusMagic:
            countField = 108;
            directories = 112;
            break;
        default:
            return false;
        }
        const quint64 resourceEntry = directories + 8 * ResourceDirectoryIndex;
        if (optionalSize < resourceEntry + 8 || m_file.u32(optional + countField) <= ResourceDirectoryIndex)
            return false;
        m_resourceRva = m_file.u32(optional + resourceEntry);
        if (m_resourceRva == 0)
            return false;
        m_sectionTable = optional + optionalSize;
        m_sectionCount = sectionCount;
        return m_file.has(m_sectionTable, 40 * m_sectionCount);
    }

    quint32 resourceRva() const { return m_resourceRva; }

    // The bytes at rva, when all of them lie in the file data of the section that holds
    // rva, and that section's data lies in the file.
    std::optional<Bytes> at(quint64 rva, quint64 length) const
    {
        for (quint64 i = 0; i < m_sectionCount; ++i) {
            const Section s = section(i);
            const quint64 span = s.virtualSize ? s.virtualSize : s.rawSize;
            if (rva < s.virtualAddress || rva - s.virtualAddress >= span)
                continue;
            const quint64 offset = rva - s.virtualAddress;
            const quint64 inFile = s.virtualSize ? std::min(s.virtualSize, s.rawSize) : s.rawSize;
            if (!m_file.has(s.rawPointer, s.rawSize) || offset > inFile || length > inFile - offset)
                return std::nullopt;
            return m_file.sub(s.rawPointer + offset, length);
        }
        return std::nullopt;
    }

private:
    Section section(quint64 i) const
    {
        const quint64 p = m_sectionTable + 40 * i;
        return {m_file.u32(p + 12), m_file.u32(p + 8), m_file.u32(p + 16), m_file.u32(p + 20)};
    }

    Bytes m_file;
    quint32 m_resourceRva = 0;
    quint64 m_sectionTable = 0;
    quint64 m_sectionCount = 0;
};

// The data of the first RT_VERSION resource: type, then the first name, then the first
// language. The walk is three directories deep by construction, so a directory entry
// that points back at its own or an earlier directory ends at the third level, where a
// data entry must stand.
std::optional<Bytes> versionResourceData(const PeImage& image)
{
    struct Directory {
        Bytes entries;
        quint32 count;
    };
    const auto directory = [&](quint32 offset) -> std::optional<Directory> {
        const quint64 rva = quint64(image.resourceRva()) + offset;
        const std::optional<Bytes> head = image.at(rva, 16);
        if (!head)
            return std::nullopt;
        const quint32 count = quint32(head->u16(12)) + head->u16(14);
        if (count == 0 || count > MaxDirectoryEntries)
            return std::nullopt;
        const std::optional<Bytes> entries = image.at(rva + 16, 8 * quint64(count));
        if (!entries)
            return std::nullopt;
        return Directory{*entries, count};
    };

    const std::optional<Directory> types = directory(0);
    if (!types)
        return std::nullopt;
    std::optional<quint32> names;
    for (quint32 i = 0; i < types->count && !names; ++i) {
        if (types->entries.u32(8 * i) == RtVersion)
            names = types->entries.u32(8 * i + 4);
    }
    if (!names || !(*names & HighBit))
        return std::nullopt;
    const std::optional<Directory> name = directory(*names & ~HighBit);
    if (!name || !(name->entries.u32(4) & HighBit))
        return std::nullopt;
    const std::optional<Directory> language = directory(name->entries.u32(4) & ~HighBit);
    if (!language || (language->entries.u32(4) & HighBit))
        return std::nullopt;
    const std::optional<Bytes> entry = image.at(quint64(image.resourceRva()) + language->entries.u32(4), 16);
    if (!entry)
        return std::nullopt;
    return image.at(entry->u32(0), entry->u32(4));
}

// One block of the version resource: length, value length, type, key, value, children.
struct Block {
    quint64 begin = 0;
    quint64 end = 0;
    quint64 keyChars = 0;
    quint16 valueLength = 0;
    quint64 valueBegin = 0;
    quint64 valueBytes = 0;
    quint64 childrenBegin = 0;
};

// Walks the blocks of a version resource. Offsets are from the start of the resource,
// whose alignment the blocks' four-byte padding refers to. A block that overruns its
// parent, or a key without end, marks the whole resource broken.
class VersionBlocks {
public:
    explicit VersionBlocks(Bytes resource) : m_res(resource) {}

    bool broken() const { return m_broken; }

    std::optional<Block> root() { return read(0, m_res.size()); }

    // The first child of parent with the key (compared without regard to ASCII case).
    std::optional<Block> child(const Block& parent, std::string_view key)
    {
        quint64 pos = parent.childrenBegin;
        for (int n = 0; parent.end - pos >= 6; ++n) {
            if (m_res.u16(pos) == 0) // zero padding ends the list
                return std::nullopt;
            if (n == MaxBlockChildren)
                return fail();
            const std::optional<Block> c = read(pos, parent.end);
            if (!c)
                return std::nullopt;
            if (keyIs(*c, key))
                return c;
            pos = std::min(align4(c->end), parent.end);
        }
        return std::nullopt;
    }

    // The binary value of a block.
    Bytes value(const Block& b) const { return m_res.sub(b.valueBegin, b.valueBytes); }

    // The zero-terminated UTF-16 text at the block's value, never beyond the block.
    QString text(const Block& b) const
    {
        QString out;
        for (quint64 p = b.valueBegin; p + 2 <= b.end; p += 2) {
            const quint16 unit = m_res.u16(p);
            if (unit == 0)
                break;
            out.append(QChar(unit));
        }
        return out;
    }

private:
    std::optional<Block> fail()
    {
        m_broken = true;
        return std::nullopt;
    }

    std::optional<Block> read(quint64 at, quint64 limit)
    {
        if (at > limit || limit - at < 6)
            return fail();
        Block b;
        const quint64 length = m_res.u16(at);
        if (length < 6 || length > limit - at)
            return fail();
        b.begin = at;
        b.end = at + length;
        b.valueLength = m_res.u16(at + 2);
        const bool isText = m_res.u16(at + 4) == 1;
        quint64 p = at + 6;
        while (p + 2 <= b.end && m_res.u16(p) != 0)
            p += 2;
        if (p + 2 > b.end)
            return fail();
        b.keyChars = (p - (at + 6)) / 2;
        b.valueBegin = std::min(align4(p + 2), b.end);
        b.valueBytes = isText ? 2 * quint64(b.valueLength) : b.valueLength;
        if (b.valueBytes > b.end - b.valueBegin) {
            // Writers disagree on whether a text's length counts characters or bytes;
            // a text is read to its zero anyway, so only a binary value must fit.
            if (!isText)
                return fail();
            b.valueBytes = b.end - b.valueBegin;
        }
        b.childrenBegin = std::min(align4(b.valueBegin + b.valueBytes), b.end);
        return b;
    }

    bool keyIs(const Block& b, std::string_view key) const
    {
        if (b.keyChars != key.size())
            return false;
        for (quint64 i = 0; i < b.keyChars; ++i) {
            const quint16 unit = m_res.u16(b.begin + 6 + 2 * i);
            const auto lower = [](quint16 c) -> quint16 { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
            if (lower(unit) != lower(quint16(static_cast<uchar>(key[i]))))
                return false;
        }
        return true;
    }

    Bytes m_res;
    bool m_broken = false;
};

std::optional<VersionResource> parseVersionBlock(Bytes data)
{
    VersionBlocks blocks(data);
    const std::optional<Block> root = blocks.root();
    if (!root || root->valueBytes < FixedInfoSize)
        return std::nullopt;
    const Bytes fixed = blocks.value(*root);
    if (fixed.u32(0) != FixedInfoSignature)
        return std::nullopt;

    VersionResource r;
    r.structureVersion = fixed.u32(4);
    r.fileVersionMS = fixed.u32(8);
    r.fileVersionLS = fixed.u32(12);
    r.productVersionMS = fixed.u32(16);
    r.productVersionLS = fixed.u32(20);
    r.fileFlags = fixed.u32(28);
    r.fileOS = fixed.u32(32);
    r.fileType = fixed.u32(36);
    r.fileSubtype = fixed.u32(40);

    std::optional<Block> translation;
    if (const std::optional<Block> var = blocks.child(*root, "VarFileInfo"))
        translation = blocks.child(*var, "Translation");
    if (blocks.broken())
        return std::nullopt;
    if (!translation || translation->valueBytes < 4)
        return r;
    const Bytes entry = blocks.value(*translation);
    r.translation = std::pair(entry.u16(0), entry.u16(2));

    const QByteArray code = QByteArray::number(entry.u16(0), 16).rightJustified(4, '0').toUpper() +
                            QByteArray::number(entry.u16(2), 16).rightJustified(4, '0').toUpper();
    std::optional<Block> table;
    if (const std::optional<Block> files = blocks.child(*root, "StringFileInfo"))
        table = blocks.child(*files, std::string_view(code.constData(), code.size()));
    for (size_t i = 0; table && i < VersionStringNames.size(); ++i) {
        const std::optional<Block> s = blocks.child(*table, VersionStringNames[i]);
        if (s && s->valueLength != 0)
            r.strings[i] = blocks.text(*s);
    }
    if (blocks.broken())
        return std::nullopt;
    return r;
}

// A 16-bit half as the classic number format "00" or "0000" writes it: at least that
// many digits, the sign in front.
QString digits(qint16 n, int width)
{
    const QString s = QString::number(std::abs(int(n))).rightJustified(width, u'0');
    return n < 0 ? u'-' + s : s;
}

QString versionText(quint32 ms, quint32 ls)
{
    const qint16 major = qint16(ms >> 16);
    const qint16 minor = qint16(ms & 0xFFFF);
    const qint16 build = qint16(ls >> 16);
    const qint16 revision = qint16(ls & 0xFFFF);
    return QString::number(major) + u'.' + digits(minor, 2) + u'.' +
           (build < 1 ? digits(revision, 4) : digits(build, 2) + digits(revision, 2));
}

QString flagWords(quint32 flags)
{
    static const char* const words[] = {"Debug ", "PreRel ", "Patched ", "Private ", "Info ", "Special "};
    QString out;
    for (int bit = 0; bit < 6; ++bit) {
        if (flags & (1u << bit))
            out += QLatin1String(words[bit]);
    }
    return out.trimmed();
}

QString osName(quint32 os)
{
    switch (os) {
    case 0x00010001:
        return QStringLiteral("DOS-Win16");
    case 0x00010004:
        return QStringLiteral("DOS-Win32");
    case 0x00020002:
        return QStringLiteral("OS/2-16 PM-16");
    case 0x00030003:
        return QStringLiteral("OS/2-16 PM-32");
    case 0x00040004:
        return QStringLiteral("NT-Win32");
    default:
        return QStringLiteral("Unknown");
    }
}

// The names the system gives language ids in its version dialogs, for the languages a
// program is commonly localised into. An id not listed reads as an empty name, as the
// system call's failure did.
QString languageName(quint16 id)
{
    static const std::pair<quint16, const char*> names[] = {
        {0x0000, "Language Neutral"},
        {0x0401, "Arabic (Saudi Arabia)"},
        {0x0402, "Bulgarian (Bulgaria)"},
        {0x0403, "Catalan (Catalan)"},
        {0x0404, "Chinese (Taiwan)"},
        {0x0405, "Czech (Czech Republic)"},
        {0x0406, "Danish (Denmark)"},
        {0x0407, "German (Germany)"},
        {0x0408, "Greek (Greece)"},
        {0x0409, "English (United States)"},
        {0x040A, "Spanish (Spain, Traditional Sort)"},
        {0x040B, "Finnish (Finland)"},
        {0x040C, "French (France)"},
        {0x040D, "Hebrew (Israel)"},
        {0x040E, "Hungarian (Hungary)"},
        {0x040F, "Icelandic (Iceland)"},
        {0x0410, "Italian (Italy)"},
        {0x0411, "Japanese (Japan)"},
        {0x0412, "Korean (Korea)"},
        {0x0413, "Dutch (Netherlands)"},
        {0x0414, "Norwegian, Bokmål (Norway)"},
        {0x0415, "Polish (Poland)"},
        {0x0416, "Portuguese (Brazil)"},
        {0x0418, "Romanian (Romania)"},
        {0x0419, "Russian (Russia)"},
        {0x041A, "Croatian (Croatia)"},
        {0x041B, "Slovak (Slovakia)"},
        {0x041D, "Swedish (Sweden)"},
        {0x041E, "Thai (Thailand)"},
        {0x041F, "Turkish (Turkey)"},
        {0x0422, "Ukrainian (Ukraine)"},
        {0x0424, "Slovenian (Slovenia)"},
        {0x042A, "Vietnamese (Vietnam)"},
        {0x0804, "Chinese (PRC)"},
        {0x0807, "German (Switzerland)"},
        {0x0809, "English (United Kingdom)"},
        {0x080A, "Spanish (Mexico)"},
        {0x080C, "French (Belgium)"},
        {0x0810, "Italian (Switzerland)"},
        {0x0813, "Dutch (Belgium)"},
        {0x0816, "Portuguese (Portugal)"},
        {0x0C04, "Chinese (Hong Kong S.A.R.)"},
        {0x0C07, "German (Austria)"},
        {0x0C09, "English (Australia)"},
        {0x0C0A, "Spanish (Spain, International Sort)"},
        {0x0C0C, "French (Canada)"},
        {0x1004, "Chinese (Singapore)"},
        {0x1009, "English (Canada)"},
        {0x100C, "French (Switzerland)"},
    };
    for (const auto& [key, name] : names) {
        if (key == id)
            return QString::fromUtf8(name);
    }
    return QString();
}

} // namespace

std::optional<VersionResource> parseVersionResource(QByteArrayView image)
{
    PeImage pe(Bytes(reinterpret_cast<const uchar*>(image.data()), quint64(image.size())));
    if (!pe.readHeaders())
        return std::nullopt;
    const std::optional<Bytes> data = versionResourceData(pe);
    if (!data)
        return std::nullopt;
    return parseVersionBlock(*data);
}

void CFileVersionInfo::setFullPathName(const QString& path)
{
    if (path.isEmpty())
        return;
    m_fullPathName = QFileInfo(path).absoluteFilePath();
    Refresh();
}

void CFileVersionInfo::Refresh()
{
    std::optional<VersionResource> resource;
    QFile file(m_fullPathName);
    // Only a plain file is opened: a FIFO or device would block or never end.
    if (QFileInfo(m_fullPathName).isFile() && file.open(QIODevice::ReadOnly) && file.size() > 0) {
        if (uchar* bytes = file.map(0, file.size())) {
            resource = parseVersionResource(QByteArrayView(bytes, file.size()));
            file.unmap(bytes);
        }
    }
    m_available = resource.has_value();
    if (resource)
        take(*resource);
}

void CFileVersionInfo::take(const VersionResource& r)
{
    m_verStructure = QString::number(qint16(r.structureVersion >> 16)) + u'.' +
                     QString::number(qint16(r.structureVersion & 0xFFFF));
    m_verFile = versionText(r.fileVersionMS, r.fileVersionLS);
    m_verProduct = versionText(r.productVersionMS, r.productVersionLS);
    m_fileFlags = flagWords(r.fileFlags);
    m_fileOS = osName(r.fileOS);

    static const char* const driverKinds[] = {"Unknown",     "Printer drv", "Keyboard drv", "Language drv",
                                              "Display drv", "Mouse drv",   "Network drv",  "System drv",
                                              "Installable", "Sound drv",   "Comm drv"};
    static const char* const fontKinds[] = {"Raster Font", "Vector Font", "TrueType Font"};
    switch (r.fileType) {
    case 1:
        m_fileType = QStringLiteral("Application");
        break;
    case 2:
        m_fileType = QStringLiteral("DLL");
        break;
    case 3:
        m_fileType = QStringLiteral("Driver");
        if (r.fileSubtype <= 10)
            m_fileSubType = QLatin1String(driverKinds[r.fileSubtype]);
        break;
    case 4:
        m_fileType = QStringLiteral("Font");
        if (r.fileSubtype >= 1 && r.fileSubtype <= 3)
            m_fileSubType = QLatin1String(fontKinds[r.fileSubtype - 1]);
        break;
    case 5:
        m_fileType = QStringLiteral("VxD");
        break;
    case 7:
        m_fileType = QStringLiteral("Lib");
        break;
    default:
        m_fileType = QStringLiteral("Unknown");
        break;
    }

    if (!r.translation)
        return;
    m_language = languageName(r.translation->first);
    for (size_t i = 0; i < m_strings.size(); ++i) {
        if (r.strings[i])
            m_strings[i] = *r.strings[i];
    }
}

} // namespace tavi
