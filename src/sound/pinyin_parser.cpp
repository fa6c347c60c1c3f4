// The pinyin parser keeps the quirks that vocabulary files have always relied on: the
// separator after a toneless syllable stays part of it ("ma-"), a second separator
// starts an empty syllable, and a toneless tail after a tone digit is not spoken.
#include "sound/pinyin_parser.h"

namespace tavi {

namespace {

bool isToneDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'4';
}

bool isSeparator(QChar ch)
{
    return ch == u' ' || ch == u'-' || ch == u'_';
}

} // namespace

QList<PinyinWord> parsePinyin(const QString& text)
{
    QList<PinyinWord> words;
    PinyinWord word;
    QStringList slots{QString()}; // syllable slots of the current word; the last one is being filled
    bool toneClosed = false;      // a tone digit has closed a syllable since the last separator
    bool wordClosed = false;      // the last separator closed a word

    auto closeSyllable = [&] {
        word.text += slots.last();
        slots.append(QString());
    };
    // The slot being filled marks the end of the word's syllables.
    auto finishWord = [&] {
        slots.removeLast();
        word.syllables = slots;
        words.append(word);
    };

    for (const QChar ch : text) {
        if (ch != u' ')
            slots.last() += ch;
        if (isToneDigit(ch)) {
            closeSyllable();
            toneClosed = true;
        } else if (isSeparator(ch)) {
            if (!toneClosed)
                closeSyllable();
            if (!wordClosed) {
                finishWord();
                word = PinyinWord();
                slots = QStringList{QString()};
            }
            wordClosed = true;
            toneClosed = false;
        } else {
            wordClosed = false;
        }
    }
    // A last syllable without a tone digit counts, as it would before a separator.
    if (!toneClosed && !slots.last().isEmpty())
        closeSyllable();
    finishWord();
    return words;
}

} // namespace tavi
