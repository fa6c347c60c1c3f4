// The vocabulary check: the typos a hand-typed file gathers and nobody notices. It reads
// a vocabulary text line by line, as the user sees it in the editor, and reports per word
// line a syllable that Mandarin does not have, one without its tone digit, a syllable
// count that differs from the characters, a recording that is missing, a word typed twice,
// a line without any "+", a word without pinyin, and, with a dictionary, pinyin that
// none of the dictionary's readings of the characters has.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tavi {

class Dictionary;

struct Finding {
    enum class Kind {
        UnknownSyllable,
        NoTone,
        CountMismatch,
        NoRecording,
        Duplicate,
        NoPlus,
        EmptyPinyin,
        DictionaryPinyin,  // no reading of the characters has these syllables and tones
        DictionaryNeutral, // a reading differs only where one side has the neutral tone
    };
    Kind kind;
    int line;           // 1-based, in the text
    QString characters; // the CHAR field of that line
    QStringList args;   // what the message names: a syllable, two counts, a line number

    bool operator==(const Finding&) const = default;
};

// Whether a recording of that name (e.g. "ni3.wav") is there to be spoken.
using RecordingLookup = std::function<bool(const QString& fileName)>;

// The check of a text handed on line by line, so that a file is checked while it is
// read. A file of millions of words may have millions of findings: without
// keepFindings only their count is kept.
class VocChecker {
public:
    explicit VocChecker(RecordingLookup hasRecording = {}, bool keepFindings = true,
                        const Dictionary* dictionary = nullptr);
    ~VocChecker();
    VocChecker(const VocChecker&) = delete;
    VocChecker& operator=(const VocChecker&) = delete;

    void addLine(QStringView line); // the next line, without its line end
    const QList<Finding>& findings() const;
    qsizetype count() const;

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// The findings of a vocabulary text (its first line, when it is a header, is not a
// word); without a lookup the recordings are not checked, without a dictionary the
// readings.
QList<Finding> checkVocText(const QString& text, const RecordingLookup& hasRecording = {},
                            const Dictionary* dictionary = nullptr);

// The standard Mandarin syllables without tone, ü written as v.
const QSet<QString>& mandarinSyllables();

// The finding's message in the current language.
QString findingText(const Finding& finding);

} // namespace tavi
