// The vocabulary check.
#include "vocabulary/voc_check.h"

#include "core/language.h"
#include "sound/pinyin_display.h"
#include "syllables_data.h"
#include "vocabulary/dictionary.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/voc_reader.h"

#include <QHash>
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

namespace {

// Views into the text throughout: the check runs over a whole file while the user waits.
struct Syllable {
    QStringView text; // as typed, the tone digit included
    QStringView letters;
    QChar tone; // the digit, or nothing
};

// The syllables of a pinyin field: each ends at its tone digit; letters that follow the
// last digit form one more syllable without a tone. Blanks, apostrophes and hyphens
// only separate.
void syllablesOf(QStringView pinyin, QList<Syllable>& out)
{
    out.clear();
    qsizetype begin = -1;
    for (qsizetype i = 0; i <= pinyin.size(); ++i) {
        const QChar c = i < pinyin.size() ? pinyin[i] : QChar(u' ');
        const bool digit = c.isDigit();
        const bool separator = c == u' ' || c == u'\'' || c == u'-' || c == u'’' || c == u'\t';
        if (!digit && !separator) {
            if (begin < 0)
                begin = i;
            continue;
        }
        if (begin < 0 && !digit)
            continue;
        const qsizetype from = begin < 0 ? i : begin;
        out.append({pinyin.sliced(from, i - from + (digit ? 1 : 0)), pinyin.sliced(from, i - from),
                    digit ? c : QChar()});
        begin = -1;
    }
}

// The letters in lower case with ü (or u:) as v; empty when they hold anything else.
std::string asciiSyllable(QStringView letters)
{
    std::string out;
    out.reserve(letters.size());
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const char16_t c = letters[i].unicode();
        if (c == u'ü' || c == u'Ü' || c == u'v' || c == u'V')
            out += 'v';
        else if ((c == u'u' || c == u'U') && i + 1 < letters.size() && letters[i + 1] == u':')
            out += 'v', ++i;
        else if (c < 128 && std::isalpha(c))
            out += char(std::tolower(c));
        else
            return {};
    }
    return out;
}

// A syllable of up to six letters a to z as one number, five bits a letter: the check
// looks up several syllables a word, millions of times for a large file.
std::optional<quint32> syllableCode(std::string_view s)
{
    if (s.empty() || s.size() > 6)
        return std::nullopt;
    quint32 code = 0;
    for (char c : s) {
        if (c < 'a' || c > 'z')
            return std::nullopt;
        code = code << 5 | quint32(c - 'a' + 1);
    }
    return code;
}

const std::vector<quint32>& syllableTable()
{
    static const std::vector<quint32> table = [] {
        std::vector<quint32> t;
        for (const QString& s : mandarinSyllables())
            if (const auto code = syllableCode(s.toStdString()))
                t.push_back(*code);
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

bool isSyllable(std::string_view s)
{
    const auto code = syllableCode(s);
    return code && std::binary_search(syllableTable().begin(), syllableTable().end(), *code);
}

int hanCount(QStringView text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t p = text[i].unicode();
        if (QChar::isHighSurrogate(p) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            p = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        if (p >= 0x2E80 && QChar::script(p) == QChar::Script_Han)
            ++n;
    }
    return n;
}

// The field after the n-th "+" (0: before the first), trimmed.
QStringView field(QStringView line, int n)
{
    qsizetype from = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype plus = line.indexOf(u'+', from);
        if (plus < 0)
            return {};
        from = plus + 1;
    }
    const qsizetype plus = line.indexOf(u'+', from);
    return (plus < 0 ? line.sliced(from) : line.sliced(from, plus - from)).trimmed();
}

// A word as the duplicate test knows it: its characters and its pinyin's letters (in
// lower case, blanks left out), as two independent 64-bit hashes. The words themselves
// are not kept, so that a file can be checked while it is read; two different words
// would need to agree in all 128 bits to be taken for one.
struct WordKey {
    quint64 a;
    quint64 b;
    bool operator==(const WordKey&) const = default;
};

size_t qHash(const WordKey& key, size_t seed = 0)
{
    return size_t(key.a) ^ seed;
}

WordKey wordKey(QStringView characters, QStringView pinyin, QString& letters)
{
    letters.resize(pinyin.size());
    qsizetype n = 0;
    for (QChar c : pinyin)
        if (c != u' ')
            letters[n++] = c.toLower();
    letters.truncate(n);
    return {quint64(qHash(characters, 1)) * 0x9E3779B97F4A7C15ULL + quint64(qHash(letters, 2)),
            quint64(qHash(characters, 3)) * 0xC2B2AE3D27D4EB4FULL + quint64(qHash(letters, 4))};
}

// The letters of two syllables alike, case aside, ü written as ü, v or u: (no copies:
// the check compares every word of a file with its readings).
bool sameLetters(QStringView a, QStringView b)
{
    const auto next = [](QStringView s, qsizetype& i) -> char16_t {
        char16_t c = QChar::toLower(s[i++].unicode());
        if (c == u'ü' || c == u'v')
            return u'v';
        if (c == u'u' && i < s.size() && s[i] == u':') {
            ++i;
            return u'v';
        }
        return c;
    };
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (next(a, i) != next(b, j))
            return false;
    return i == a.size() && j == b.size();
}

// How a word's pinyin compares with one reading of the dictionary, syllable by
// syllable, case aside: the same, different only where one side has the neutral tone
// (or none written), or different.
enum class Reading { Same, NeutralOnly, Different };

Reading compareReading(const QList<Syllable>& word, QStringView reading, QList<Syllable>& scratch)
{
    syllablesOf(reading, scratch);
    if (scratch.size() != word.size())
        return Reading::Different;
    Reading result = Reading::Same;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (!sameLetters(word[i].letters, scratch[i].letters))
            return Reading::Different;
        const QChar a = word[i].tone.isNull() ? QChar(u'0') : word[i].tone;
        const QChar b = scratch[i].tone.isNull() ? QChar(u'0') : scratch[i].tone;
        if (a == b)
            continue;
        if (a != u'0' && b != u'0')
            return Reading::Different;
        result = Reading::NeutralOnly;
    }
    return result;
}

} // namespace

const QSet<QString>& mandarinSyllables()
{
    static const QSet<QString> all = [] {
        QSet<QString> s;
        const QString list = QString::fromLatin1(kSyllableList);
        for (QStringView line : QStringView(list).split(u'\n')) {
            if (line.startsWith(u'#'))
                continue;
            for (QStringView word : line.split(u' ', Qt::SkipEmptyParts))
                s.insert(word.toString());
        }
        return s;
    }();
    return all;
}

struct VocChecker::Data {
    RecordingLookup hasRecording;
    bool keep = true;
    QList<Finding> findings;
    qsizetype count = 0;
    QHash<WordKey, int> seen; // the line each word was first seen on
    const Dictionary* dictionary = nullptr;
    QList<Syllable> syllables;
    QList<Syllable> readingSyllables;
    QString name;
    QString letters;
    bool headerSeen = false;
    int number = 0;
};

VocChecker::VocChecker(RecordingLookup hasRecording, bool keepFindings, const Dictionary* dictionary)
    : d(std::make_unique<Data>())
{
    d->hasRecording = std::move(hasRecording);
    d->keep = keepFindings;
    d->dictionary = dictionary;
}

VocChecker::~VocChecker() = default;

const QList<Finding>& VocChecker::findings() const
{
    return d->findings;
}

qsizetype VocChecker::count() const
{
    return d->count;
}

void VocChecker::addLine(QStringView whole)
{
    const int number = ++d->number;
    const QStringView line = whole.trimmed();
    if (line.isEmpty())
        return;
    if (!d->headerSeen) {
        d->headerSeen = true;
        const QString first = line.toString();
        if (withHeader(first) == first)
            return; // the header, not a word
    }
    // What a finding names is made only when findings are kept.
    auto add = [&](Finding::Kind kind, QStringView chars, const auto& args) {
        ++d->count;
        if (d->keep)
            d->findings.append({kind, number, chars.toString(), args()});
    };
    const auto none = [] { return QStringList(); };
    if (!line.contains(u'+')) {
        add(Finding::Kind::NoPlus, {}, none);
        return;
    }
    const QStringView pinyin = field(line, 1);
    const QStringView chars = field(line, 2);
    auto report = [&](Finding::Kind kind, const auto& args) { add(kind, chars, args); };
    if (pinyin.isEmpty()) {
        report(Finding::Kind::EmptyPinyin, none);
        return;
    }
    QList<Syllable>& syllables = d->syllables;
    syllablesOf(pinyin, syllables);
    int counted = 0;
    int erhua = 0;
    bool allSpoken = true;
    d->name.clear();
    for (Syllable& s : syllables) {
        ++counted;
        const std::string letters = asciiSyllable(s.letters);
        if (letters == "r")
            continue; // erhua: 儿 on its own
        // Erhua fused before the tone: dianr3 for 点儿.
        const bool fused = letters.size() > 1 && letters.back() == 'r' && letters != "er" &&
                           isSyllable(std::string_view(letters).substr(0, letters.size() - 1));
        erhua += fused ? 1 : 0;
        if (!fused && !isSyllable(letters)) {
            report(Finding::Kind::UnknownSyllable, [&] { return QStringList{s.text.toString()}; });
            allSpoken = false;
        } else if (s.tone.isNull() || s.tone > u'4') {
            report(Finding::Kind::NoTone, [&] { return QStringList{s.text.toString()}; });
            allSpoken = false;
        } else if (d->hasRecording) {
            d->name += s.text; // the word's recording is looked up by it
        }
    }
    const int han = hanCount(chars);
    if (han > 0 && han != counted && han != counted + erhua)
        report(Finding::Kind::CountMismatch, [&] {
            return QStringList{QString::number(counted), QString::number(han)};
        });
    // Spoken as SpeakPinyin does: the word's recording, or else each syllable's.
    const RecordingLookup& hasRecording = d->hasRecording;
    if (hasRecording && !d->name.isEmpty() &&
        !(allSpoken && hasRecording(d->name + QStringLiteral(".wav")))) {
        for (const Syllable& s : syllables) {
            const std::string letters = asciiSyllable(s.letters);
            if (letters == "r" || s.tone.isNull() || s.tone > u'4' ||
                !(isSyllable(letters) || (letters.size() > 1 && letters.back() == 'r')))
                continue;
            if (!hasRecording(s.text.toString() + QStringLiteral(".wav")))
                report(Finding::Kind::NoRecording, [&] { return QStringList{s.text.toString()}; });
        }
    }
    // Against the dictionary: a word it does not know is no finding.
    if (d->dictionary && !chars.isEmpty()) {
        const QStringList readings = d->dictionary->readings(chars.toString());
        Reading best = readings.isEmpty() ? Reading::Same : Reading::Different;
        for (const QString& reading : readings)
            best = std::min(best, compareReading(syllables, reading, d->readingSyllables));
        if (best != Reading::Same)
            report(best == Reading::NeutralOnly ? Finding::Kind::DictionaryNeutral
                                                : Finding::Kind::DictionaryPinyin,
                   [&] { return QStringList{readings.join(QStringLiteral(" / "))}; });
    }
    // Twice: the same characters with the same pinyin (case and blanks aside).
    const WordKey key = wordKey(chars, pinyin, d->letters);
    if (const auto earlier = d->seen.constFind(key); earlier != d->seen.constEnd())
        report(Finding::Kind::Duplicate, [&] { return QStringList{QString::number(*earlier)}; });
    else
        d->seen.insert(key, number);
}

QList<Finding> checkVocText(const QString& text, const RecordingLookup& hasRecording,
                            const Dictionary* dictionary)
{
    // Lines end at CR, LF or CR LF, as the editor shows them: cut as a file is read.
    VocChecker check(hasRecording, true, dictionary);
    QString crOnly = text;
    LineEnds().normalise(crOnly);
    VocCutter cut([](QStringView) {}, [&](QStringView line) { check.addLine(line); });
    cut.add(crOnly);
    cut.finish();
    return check.findings();
}

QString findingText(const Finding& finding)
{
    static const char* const keys[] = {
        "check_unknown_syllable", "check_no_tone",    "check_count",
        "check_no_recording",     "check_duplicate",  "check_no_plus",
        "check_empty_pinyin",     "check_dictionary", "check_dictionary_neutral"};
    QString text = LangText(QLatin1String(keys[static_cast<int>(finding.kind)]));
    for (const QString& a : finding.args) {
        // A syllable is named as the file has it, the name of its recording; with marks
        // on, as the learner reads it too.
        const bool pinyin = finding.kind == Finding::Kind::NoRecording ||
                            finding.kind == Finding::Kind::DictionaryPinyin ||
                            finding.kind == Finding::Kind::DictionaryNeutral;
        const QString marked = pinyin && pinyinDisplay().marks ? pinyinWithMarks(a) : a;
        text = text.arg(marked == a ? a : a + QStringLiteral(" (") + marked + u')');
    }
    return text;
}

} // namespace tavi
