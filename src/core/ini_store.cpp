// Line-based INI reading and in-place writing; see ini_store.h for the contract.
#include "core/ini_store.h"

#include "core/file_replace.h"
#include "core/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <optional>
#include <vector>

namespace tavi::ini {

namespace {

struct Line {
    qsizetype begin; // first byte
    qsizetype end;   // one past the last byte before the line end
    qsizetype next;  // first byte of the following line
};

// Lines end at CR LF, LF or CR alone (files from old Mac editors).
std::vector<Line> splitLines(QByteArrayView bytes)
{
    std::vector<Line> lines;
    const char* const data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && data[end] != '\n' && data[end] != '\r')
            ++end;
        qsizetype next = end;
        if (end < size)
            next += data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// The section name when the line is a section header: a "[" with a "]" after it. A
// damaged "[name" without its "]" is a key line, as the profile functions read it.
std::optional<QStringView> headerName(QStringView line)
{
    QStringView t = trimBlanks(line);
    if (!t.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return std::nullopt;
    return trimBlanks(t.sliced(1, close - 1));
}

struct KeyLine {
    QStringView key;
    QStringView value;
};

// A line without "=" is a key with an empty value; a blank line is no key.
std::optional<KeyLine> keyLine(QStringView line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        const QStringView key = trimBlanks(line);
        return key.isEmpty() ? std::nullopt : std::optional(KeyLine{key, {}});
    }
    return KeyLine{trimBlanks(line.left(eq)), trimBlanks(line.mid(eq + 1))};
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquote(QStringView v)
{
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.left(MaxValueLength).toString();
}

// A value must stay on its one line.
QString oneLine(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    return value;
}

struct FileText {
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    std::vector<Line> lines;

    QString lineText(const Line& l) const
    {
        return decodeText(QByteArrayView(bytes).sliced(l.begin, l.end - l.begin), encoding);
    }
};

FileText parse(QByteArray bytes)
{
    FileText ft;
    ft.bytes = std::move(bytes);
    ft.encoding = detectSystemEncoding(ft.bytes);
    ft.lines = splitLines(ft.bytes);
    return ft;
}

// The file's bytes; nullopt when it exists but cannot be read or is larger than a
// settings file can be. A missing file is empty.
std::optional<QByteArray> load(const QString& file)
{
    QFile f(file);
    if (!f.exists())
        return QByteArray();
    if (!f.open(QIODevice::ReadOnly) || f.size() > MaxFileSize)
        return std::nullopt;
    return f.readAll();
}

// The file's own line end, that of its first line: CR LF, LF, or CR alone.
QByteArray lineEnd(const FileText& ft)
{
    for (const Line& l : ft.lines) {
        if (l.next == l.end)
            break; // the last line, without an end
        if (l.next > l.end + 1)
            return "\r\n";
        return ft.bytes[l.end] == '\r' ? "\r" : "\n";
    }
    return "\n";
}

// What a last line that has no line end needs before anything is added after it. In a
// file of CR LF lines, a lone CR ending it is the first half of a line end.
QByteArray endOfLastLine(const QByteArray& bytes, const QByteArray& eol)
{
    if (bytes.isEmpty() || bytes.endsWith('\n') || (bytes.endsWith('\r') && eol == "\r"))
        return {};
    return bytes.endsWith('\r') ? QByteArray("\n") : eol;
}

} // namespace

QString read(const QString& file, const QString& section, const QString& key)
{
    const auto bytes = load(file);
    return bytes ? readFrom(*bytes, section, key) : QString();
}

QString readFrom(const QByteArray& bytes, const QString& section, const QString& key)
{
    const FileText ft = parse(bytes);
    const QString wantSection = trimBlanks(section).toString();
    const QString wantKey = trimBlanks(key).toString();
    bool inSection = false;
    for (const Line& l : ft.lines) {
        const QString text = ft.lineText(l);
        if (auto name = headerName(text)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = sameName(*name, wantSection);
            continue;
        }
        if (!inSection)
            continue;
        if (auto kl = keyLine(text); kl && sameName(kl->key, wantKey))
            return unquote(kl->value);
    }
    return {};
}

QByteArray replaced(const QByteArray& bytes, const QString& section, const QString& key, const QString& value)
{
    FileText ft = parse(bytes);
    const QString wantSection = trimBlanks(section).toString();
    const QString wantKey = trimBlanks(key).toString();
    const QString cleanValue = oneLine(value);

    // A Windows-1252 file that cannot hold the new text is converted to UTF-8 as a
    // whole, so that the file stays readable in one encoding.
    const QString newest = wantSection + wantKey + cleanValue;
    if (!encodeText(newest, ft.encoding)) {
        ft.bytes = decodeText(ft.bytes, ft.encoding).toUtf8();
        ft.encoding = TextEncoding::Utf8;
        ft.lines = splitLines(ft.bytes);
    }
    auto encode = [&](const QString& s) { return *encodeText(s, ft.encoding); };
    const QByteArray eol = lineEnd(ft);

    QByteArray out = ft.bytes;
    std::optional<size_t> header;
    size_t lastContent = 0;
    bool done = false;
    for (size_t i = 0; i < ft.lines.size() && !done; ++i) {
        const Line& l = ft.lines[i];
        const QString text = ft.lineText(l);
        if (auto name = headerName(text)) {
            if (header)
                break;
            if (sameName(*name, wantSection)) {
                header = i;
                lastContent = i;
            }
            continue;
        }
        if (!header)
            continue;
        if (!trimBlanks(text).isEmpty())
            lastContent = i;
        if (auto kl = keyLine(text); kl && sameName(kl->key, wantKey)) {
            out.replace(l.begin, l.end - l.begin, encode(kl->key.toString() + u'=' + cleanValue));
            done = true;
        }
    }

    if (!done) {
        const QByteArray entry = encode(wantKey + u'=' + cleanValue) + eol;
        if (header) {
            // A new key goes right after the last non-blank line of its section.
            const Line& after = ft.lines[lastContent];
            QByteArray insert = entry;
            if (after.next == out.size()) // that line ends the file
                insert.prepend(endOfLastLine(out, eol));
            out.insert(after.next, insert);
        } else {
            out.append(endOfLastLine(out, eol));
            out.append(encode(u'[' + wantSection + u']') + eol + entry);
        }
    }

    // A Windows-1252 file whose last byte that is not UTF-8 was just written over would
    // read as UTF-8 from now on, changing its other texts: it is converted as a whole.
    if (ft.encoding == TextEncoding::Windows1252 && detectSystemEncoding(out) != ft.encoding)
        return replaced(decodeText(ft.bytes, ft.encoding).toUtf8(), section, key, value);
    return out;
}

bool write(const QString& file, const QString& section, const QString& key, const QString& value)
{
    const QFileInfo info(file);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        return false;
    // Another copy of the program may write the same file: reading, replacing the one
    // line and writing happen under a lock, so that neither loses the other's keys.
    const FileLock lock(file);
    if (lock.failure() == FileLock::Failure::Busy)
        return false; // held by a living copy for seconds: something is wrong
    const auto bytes = load(file);
    if (!bytes)
        return false;
    const QByteArray out = replaced(*bytes, section, key, value);
    if (out == *bytes)
        return true;
    return replaceFile(file, out);
}

} // namespace tavi::ini
