// libFuzzer entry for the INI store: any bytes as a settings file, one key written into
// it, and every key read back. The input is the file; after its first NUL byte, when
// it has one, come the section, the key and the value to write, NUL-separated (UTF-8).
// Without a NUL the last key of the file's last section is written.
//
// Afterwards the key reads back its value as the store's contract has it (blanks
// around it dropped, one pair of quotes removed, line breaks as blanks, at most 498
// characters), and every other key of every section reads as it did before.
#include "core/ini_store.h"
#include "core/text_codec.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

using namespace tavi;

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimmed(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s.toString();
}

using Name = std::pair<QString, QString>; // section, key

// Every section and key name that a line of the file could give, found without the
// store: lines end at CR LF, LF or CR; a line starting with "[" and holding a "]" names a
// section, any other line that is not blank a key (the text before its "=", if any).
QList<Name> namesIn(const QByteArray& bytes)
{
    QList<Name> names;
    QString text = decodeText(bytes, detectSystemEncoding(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QString section;
    for (QStringView line : QStringView(text).split(u'\n')) {
        const QString t = trimmed(line);
        if (t.startsWith(u'[') && t.contains(u']')) {
            const QStringView name = QStringView(t).sliced(1);
            section = trimmed(name.first(name.indexOf(u']')));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0)
            names.append({section, trimmed(line.left(eq))});
        else if (!t.isEmpty())
            names.append({section, t});
    }
    return names;
}

bool same(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// What the contract says a written value reads back as.
QString readBack(QString value)
{
    value.replace(u'\r', u' ');
    value.replace(u'\n', u' ');
    value = trimmed(value);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    return value.left(ini::MaxValueLength);
}

[[noreturn]] void fail(const char* what, const Name& name, const QString& was, const QString& now)
{
    std::fprintf(stderr, "%s: [%s] %s\n  expected \"%s\"\n  read     \"%s\"\n", what,
                 qUtf8Printable(name.first), qUtf8Printable(name.second), qUtf8Printable(was),
                 qUtf8Printable(now));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype nul = input.indexOf('\0');
    const QByteArray file = nul < 0 ? input : input.first(nul);
    const QList<Name> before = namesIn(file);
    Name target;
    QString value;
    if (nul < 0) {
        if (before.isEmpty())
            return 0;
        target = before.back();
        value = QStringLiteral(" \"written\" ");
    } else {
        const QList<QByteArray> parts = input.sliced(nul + 1).split('\0');
        target = {trimmed(QString::fromUtf8(parts.value(0))), trimmed(QString::fromUtf8(parts.value(1)))};
        value = QString::fromUtf8(parts.value(2));
    }
    // Names that the program could write: a key line must stay a key line, a section
    // header a header of that section.
    const auto& [section, key] = target;
    if (section.isEmpty() || key.isEmpty() || key.startsWith(u'[') || key.contains(u'=') ||
        section.contains(u']'))
        return -1;
    for (const QString& name : {section, key}) {
        if (name.contains(u'\r') || name.contains(u'\n'))
            return -1;
    }

    // Each lookup reads the whole file: of a long file, a spread of at most 48 other keys
    // is compared, the ones next to the written key among them.
    QList<std::pair<Name, QString>> others;
    const qsizetype step = std::max<qsizetype>(1, before.size() / 48);
    for (qsizetype i = 0; i < before.size(); ++i) {
        const Name& n = before[i];
        const bool near = i + 1 < before.size() && same(before[i + 1].second, key);
        if ((i % step == 0 || near) && !(same(n.first, section) && same(n.second, key)))
            others.append({n, ini::readFrom(file, n.first, n.second)});
    }

    const QByteArray out = ini::replaced(file, section, key, value);
    if (const QString now = ini::readFrom(out, section, key); now != readBack(value))
        fail("the written key", target, readBack(value), now);
    for (const auto& [name, was] : others) {
        if (const QString now = ini::readFrom(out, name.first, name.second); now != was)
            fail("another key", name, was, now);
    }
    return 0;
}
