// Splits a pinyin text with tone digits into the words and syllables that are looked
// up as sound files.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tavi {

struct PinyinWord {
    QString text;          // the syllables joined, e.g. "ni3hao3"
    QStringList syllables; // e.g. "ni3", "hao3"

    bool operator==(const PinyinWord&) const = default;
};

// The words of the text in speaking order. There is always at least one word: an empty
// text, leading or doubled separators give empty words and syllables, which are tried
// (and logged) like any other name. Letters after a tone digit without a digit of their
// own are dropped. Every word and syllable is kept, however long the text.
QList<PinyinWord> parsePinyin(const QString& text);

} // namespace tavi
