// libFuzzer entry for the language file: any bytes as language.ini, every interface text
// that the program asks for (the keys of the shipped file's ENGLISH section) looked up
// in each of the three language sections, as LangText does through the INI store. No
// lookup may fail, and none may give more than the 498 characters a value can have.
// Each lookup reads the whole file, so every eighth key is asked for: enough to reach
// every part of a file that has the shipped layout.
#include "core/ini_store.h"

#include <QFile>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tavi;

namespace {

// The keys of [ENGLISH] in the shipped language.ini, read once without the store.
QStringList englishKeys()
{
    QFile file(QStringLiteral(TAVI_LANGUAGE_INI));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", TAVI_LANGUAGE_INI);
        std::abort();
    }
    QStringList keys;
    bool english = false;
    int count = 0;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray t = line.trimmed();
        if (t.startsWith('['))
            english = t == "[ENGLISH]";
        else if (english && t.contains('=') && ++count % 8 == 1)
            keys << QString::fromUtf8(t.first(t.indexOf('='))).trimmed();
    }
    if (keys.size() < 10) {
        std::fprintf(stderr, "only %lld keys in [ENGLISH] of %s\n", static_cast<long long>(keys.size()),
                     TAVI_LANGUAGE_INI);
        std::abort();
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList keys = englishKeys();
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* section : {"ENGLISH", "GERMAN", "NEW"}) {
        for (const QString& key : keys) {
            if (ini::readFrom(file, QLatin1String(section), key).size() > ini::MaxValueLength) {
                std::fprintf(stderr, "[%s] %s longer than %d characters\n", section, qUtf8Printable(key),
                             ini::MaxValueLength);
                std::abort();
            }
        }
    }
    return 0;
}
