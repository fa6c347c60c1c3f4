// libFuzzer entry for the dictionary. The bytes as lines of the data file: each line is
// read by the parser, and the whole is built into an index in which every entry read
// must be found again by its characters, whole. The bytes as an index file: it is
// refused, or looked up in without reading outside the file.
#include "vocabulary/dictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tavi;

namespace {

QString fileIn(const char* name)
{
    static QTemporaryDir dir;
    return dir.filePath(QLatin1String(name));
}

bool write(const QString& path, QByteArrayView bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(bytes.data(), bytes.size()) == bytes.size();
}

void lookUpEverything(const Dictionary& d)
{
    for (const char* query : {"行", "xing", "ni3 hao3", "nǐhǎo", "water", "to go", "a", "AA制"})
        d.lookup(QString::fromUtf8(query));
    d.byCharacters(QStringLiteral("行"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<DictEntry> entries;
    for (const QByteArray& line : bytes.toByteArray().split('\n')) {
        if (std::optional<DictEntry> e = parseCedictLine(QString::fromUtf8(line)))
            entries << *e;
    }

    const QString lines = fileIn("cedict.u8");
    const QString built = fileIn("built.idx");
    QString error;
    Dictionary d;
    if (!write(lines, bytes))
        std::abort();
    if (buildDictionaryIndex(lines, built, &error) != !entries.isEmpty()) {
        std::fprintf(stderr, "%lld entries, yet building says: %s\n", qlonglong(entries.size()),
                     qUtf8Printable(error));
        std::abort();
    }
    if (!entries.isEmpty() && !d.open(built, &error)) {
        std::fprintf(stderr, "the index just built is refused: %s\n", qUtf8Printable(error));
        std::abort();
    }
    for (const DictEntry& e : entries) {
        if (!d.byCharacters(e.simplified).contains(e) || !d.byCharacters(e.traditional).contains(e)) {
            std::fprintf(stderr, "not found again: %s %s [%s]\n", qUtf8Printable(e.traditional),
                         qUtf8Printable(e.simplified), qUtf8Printable(e.pinyin));
            std::abort();
        }
    }
    if (d.isOpen())
        lookUpEverything(d);

    const QString index = fileIn("fuzzed.idx");
    if (!write(index, bytes))
        std::abort();
    if (d.open(index, &error))
        lookUpEverything(d);
    return 0;
}
