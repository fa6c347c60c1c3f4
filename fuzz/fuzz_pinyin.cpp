// libFuzzer entry for the pinyin parser: any bytes as UTF-8 text. It must keep what its
// header promises: at least one word; each word's text is its syllables joined; blanks
// only separate; and every name it returns is taken, in order, from the text itself.
#include "sound/pinyin_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char* what, const QString& name)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, qUtf8Printable(name));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<tavi::PinyinWord> words = tavi::parsePinyin(text);
    if (words.isEmpty())
        fail("no word", text);

    qsizetype from = 0; // where the next character taken from the text may be
    for (const tavi::PinyinWord& w : words) {
        if (w.syllables.join(QString()) != w.text)
            fail("word text is not its syllables joined", w.text);
        for (const QString& s : w.syllables) {
            if (s.contains(u' '))
                fail("blank inside a syllable", s);
        }
        for (QChar c : w.text) {
            from = text.indexOf(c, from);
            if (from < 0)
                fail("a character that the text does not hold at that place", w.text);
            ++from;
        }
    }
    return 0;
}
