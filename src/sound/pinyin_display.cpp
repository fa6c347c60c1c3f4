// Pinyin with tone marks and tone colours. The mark goes on a or e when the syllable has
// one, on the o of "ou", else on its last vowel; ü may be written ü, v or u:. Neutral
// tones (0 and 5) get no mark. An apostrophe keeps a syllable that starts with a, e or o
// apart from the one before it (xi1an1 → xī'ān), as the marked form would read otherwise
// as one syllable.
#include "sound/pinyin_display.h"

#include "core/settings.h"
#include "vocabulary/voc_check.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace tavi {

namespace {

// The marked vowels, tones 1 to 4, for a e i o u ü and their capitals.
constexpr char16_t kVowels[] = u"aeiouüAEIOUÜ";
constexpr const char16_t* kMarked[] = {u"āáǎà", u"ēéěè", u"īíǐì", u"ōóǒò", u"ūúǔù", u"ǖǘǚǜ",
                                       u"ĀÁǍÀ", u"ĒÉĚÈ", u"ĪÍǏÌ", u"ŌÓǑÒ", u"ŪÚǓÙ", u"ǕǗǙǛ"};

bool isLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'ü' || c == u'Ü';
}

bool isSeparator(QChar c)
{
    return QStringView(u" '-\u2019,.;:?!/()").contains(c);
}

bool hasVowel(QStringView letters)
{
    for (QChar c : letters)
        if (QStringView(u"aeiouüvAEIOUÜV").contains(c))
            return true;
    return false;
}

// The syllable's letters with ü for v and u:.
QString withUmlaut(QStringView letters)
{
    QString s;
    s.reserve(letters.size());
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const QChar c = letters[i];
        if (c == u'v' || c == u'V')
            s += c == u'v' ? u'ü' : u'Ü';
        else if ((c == u'u' || c == u'U') && i + 1 < letters.size() && letters[i + 1] == u':') {
            s += c == u'u' ? u'ü' : u'Ü';
            ++i;
        } else
            s += c;
    }
    return s;
}

// Where the mark goes in letters written with ü.
qsizetype markPosition(const QString& letters)
{
    const QString lower = letters.toLower();
    if (const qsizetype a = lower.indexOf(u'a'); a >= 0)
        return a;
    if (const qsizetype e = lower.indexOf(u'e'); e >= 0)
        return e;
    if (const qsizetype ou = lower.indexOf(u"ou"); ou >= 0)
        return ou;
    for (qsizetype i = lower.size() - 1; i >= 0; --i)
        if (QStringView(u"iouü").contains(lower[i]))
            return i;
    return -1;
}

QChar marked(QChar vowel, int tone)
{
    const qsizetype v = QStringView(kVowels).indexOf(vowel);
    return v < 0 ? vowel : QChar(kMarked[v][tone - 1]);
}

// A syllable of stored pinyin: letters, tone digit, perhaps an erhua r after the digit.
struct Syllable {
    qsizetype start = 0;
    qsizetype end = 0; // past the digit and the r
    QStringView letters;
    int tone = 0;
    bool erhua = false;
};

// The syllables of text written with digits, or nothing when it is not such text.
std::optional<QList<Syllable>> storedSyllables(QStringView text)
{
    QList<Syllable> syllables;
    qsizetype i = 0;
    while (i < text.size()) {
        if (isSeparator(text[i])) {
            ++i;
            continue;
        }
        Syllable s;
        s.start = i;
        while (i < text.size() && (isLetter(text[i]) || (text[i] == u':' && i > s.start &&
                                                         (text[i - 1] == u'u' || text[i - 1] == u'U'))))
            ++i;
        s.letters = text.mid(s.start, i - s.start);
        if (s.letters.isEmpty() || !hasVowel(s.letters) || i >= text.size() || text[i] < u'0' ||
            text[i] > u'5')
            return std::nullopt;
        s.tone = text[i].unicode() - u'0';
        ++i;
        // An r right after the digit, with no letters of its own, is erhua.
        if (i < text.size() && (text[i] == u'r' || text[i] == u'R') &&
            (i + 1 == text.size() || !isLetter(text[i + 1]))) {
            s.erhua = true;
            ++i;
        }
        s.end = i;
        syllables << s;
    }
    if (syllables.isEmpty())
        return std::nullopt;
    return syllables;
}

int runTone(int tone)
{
    return tone >= 1 && tone <= 4 ? tone : 5;
}

} // namespace

ShownPinyin showPinyin(const QString& stored, bool marks)
{
    ShownPinyin shown;
    const auto syllables = storedSyllables(stored);
    if (!syllables) {
        shown.text = stored;
        return shown;
    }
    if (!marks) {
        shown.text = stored;
        for (const Syllable& s : *syllables)
            shown.runs << ToneRun{int(s.start), int(s.end - s.start), runTone(s.tone)};
        return shown;
    }
    QString& out = shown.text;
    out.reserve(stored.size());
    qsizetype copied = 0;
    for (const Syllable& s : *syllables) {
        out += QStringView(stored).mid(copied, s.start - copied); // separators as they stand
        QString letters = withUmlaut(s.letters);
        const bool joined = s.start == copied && copied > 0;
        if (joined && QStringView(u"aeoAEO").contains(letters[0]))
            out += u'\'';
        if (s.tone >= 1 && s.tone <= 4)
            if (const qsizetype p = markPosition(letters); p >= 0)
                letters[p] = marked(letters[p], s.tone);
        if (s.erhua)
            letters += stored[s.end - 1];
        shown.runs << ToneRun{int(out.size()), int(letters.size()), runTone(s.tone)};
        out += letters;
        copied = s.end;
    }
    out += QStringView(stored).mid(copied);
    return shown;
}

namespace {

// Splits plain letters into standard syllables, the longest first; an r left over after a
// syllable is its erhua. Empty when they do not split.
QList<qsizetype> splitSyllables(const QString& plain)
{
    const QSet<QString>& known = mandarinSyllables();
    QList<qsizetype> ends;
    QList<bool> dead(plain.size() + 1, false); // starts known not to split: no second try
    std::function<bool(qsizetype)> from = [&](qsizetype start) {
        if (start == plain.size())
            return true;
        if (dead[start])
            return false;
        for (qsizetype n = std::min<qsizetype>(6, plain.size() - start); n >= 1; --n) {
            QString piece = plain.mid(start, n);
            bool ok = known.contains(piece);
            // erhua: the syllable and an r that ends the word or comes before a separator
            if (!ok && n >= 2 && piece.endsWith(u'r') && start + n == plain.size())
                ok = known.contains(piece.chopped(1)) && piece != u"er";
            if (ok) {
                ends << start + n;
                if (from(start + n))
                    return true;
                ends.removeLast();
            }
        }
        dead[start] = true;
        return false;
    };
    if (!from(0))
        ends.clear();
    return ends;
}

} // namespace

QString pinyinWithDigits(const QString& marked)
{
    QString out;
    qsizetype i = 0;
    while (i < marked.size()) {
        if (!marked[i].isLetter()) {
            out += marked[i++];
            continue;
        }
        const qsizetype start = i;
        QString plain;   // lower case, ü as v, for the syllable list
        QString written; // the letters as written, ü as v, marks taken off
        QList<int> tones;
        while (i < marked.size() && marked[i].isLetter()) {
            QChar c = marked[i++];
            int tone = 0;
            for (qsizetype v = 0; v < 12 && !tone; ++v)
                if (const qsizetype t = QStringView(kMarked[v]).indexOf(c); t >= 0) {
                    c = kVowels[v];
                    tone = int(t) + 1;
                }
            if (c == u'ü' || c == u'Ü')
                c = c == u'ü' ? u'v' : u'V';
            written += c;
            plain += c.toLower();
            tones << tone;
        }
        const QList<qsizetype> ends = splitSyllables(plain);
        if (ends.isEmpty()) {
            out += QStringView(marked).mid(start, i - start);
            continue;
        }
        qsizetype from = 0;
        for (qsizetype end : ends) {
            const bool erhua = !mandarinSyllables().contains(plain.mid(from, end - from));
            const qsizetype letters = erhua ? end - 1 : end;
            int tone = 0;
            for (qsizetype k = from; k < letters; ++k)
                tone = tone ? tone : tones[k];
            out += QStringView(written).mid(from, letters - from);
            out += QChar(u'0' + tone);
            if (erhua)
                out += written[end - 1];
            from = end;
        }
    }
    return out;
}

QList<ToneRun> characterRuns(const QString& characters, const QList<ToneRun>& syllables)
{
    QList<ToneRun> runs;
    for (qsizetype at = 0; at < characters.size();) {
        const bool pair = characters[at].isHighSurrogate() && at + 1 < characters.size() &&
                          characters[at + 1].isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(characters[at], characters[at + 1]) : characters[at].unicode();
        const qsizetype length = pair ? 2 : 1;
        if (QChar::script(c) == QChar::Script_Han) {
            if (runs.size() == syllables.size())
                return {};
            runs << ToneRun{int(at), int(length), syllables[runs.size()].tone};
        }
        at += length;
    }
    if (runs.size() != syllables.size())
        return {};
    return runs;
}

ToneColours PinyinDisplay::schemeColours(int scheme)
{
    // Each scheme's hues as the programs learners know use them; shades darkened where
    // needed for a contrast of 3:1 on the light window background.
    switch (scheme) {
    case Hanping:
        return {0x4e8cc7, 0x2b9d2b, 0xaf8000, 0xdd0000, 0x888888};
    case Mdbg:
        return {0xff0000, 0xba7c00, 0x009e00, 0x0000ff, 0x000000};
    default:
        return {0xe30000, 0x029f19, 0x1510f0, 0x8900bf, 0x777777}; // Pleco
    }
}

ToneColours PinyinDisplay::colours() const
{
    return scheme == Custom ? custom : schemeColours(scheme);
}

QString toneColoursText(const ToneColours& colours)
{
    QStringList parts;
    for (quint32 c : colours)
        parts << QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QChar(u'0'));
    return parts.join(u',');
}

ToneColours toneColoursFromText(const QString& text)
{
    const QStringList parts = text.split(u',');
    ToneColours colours{};
    bool good = parts.size() == 5;
    for (qsizetype i = 0; good && i < 5; ++i) {
        const QString p = parts[i].trimmed();
        good = p.size() == 7 && p.startsWith(u'#');
        if (good)
            colours[i] = p.mid(1).toUInt(&good, 16);
    }
    return good ? colours : PinyinDisplay::schemeColours(PinyinDisplay::Pleco);
}

PinyinDisplay PinyinDisplay::read()
{
    PinyinDisplay d;
    d.marks = ReadSettingNumber(QStringLiteral("display_pinyin_marks")) == 1;
    const qint32 scheme = ReadSettingNumber(QStringLiteral("display_tone_colours"));
    d.scheme = scheme >= Off && scheme <= Custom ? scheme : Off;
    d.characters = ReadSettingNumber(QStringLiteral("display_tone_chars")) == 1;
    d.custom = toneColoursFromText(ReadSetting(QStringLiteral("display_tone_custom")));
    return d;
}

void PinyinDisplay::write() const
{
    WriteSetting(QStringLiteral("display_pinyin_marks"), marks ? QStringLiteral("1") : QStringLiteral("0"));
    WriteSetting(QStringLiteral("display_tone_colours"), QString::number(scheme));
    WriteSetting(QStringLiteral("display_tone_chars"),
                 characters ? QStringLiteral("1") : QStringLiteral("0"));
    WriteSetting(QStringLiteral("display_tone_custom"), toneColoursText(custom));
}

PinyinDisplayNotifier& PinyinDisplayNotifier::instance()
{
    static PinyinDisplayNotifier notifier;
    return notifier;
}

void PinyinDisplayNotifier::reload()
{
    const PinyinDisplay read = PinyinDisplay::read();
    if (read == m_current)
        return;
    m_current = read;
    Q_EMIT changed();
}

void PinyinDisplayNotifier::set(const PinyinDisplay& display)
{
    display.write();
    if (display == m_current)
        return;
    m_current = display;
    Q_EMIT changed();
}

QString toneHtml(const QString& text, const QList<ToneRun>& runs, const ToneColours& colours)
{
    QString html;
    qsizetype at = 0;
    for (const ToneRun& r : runs) {
        html += QStringView(text).mid(at, r.start - at).toString().toHtmlEscaped();
        html += QStringLiteral("<span style=\"color:#%1\">")
                    .arg(colours[r.tone - 1] & 0xffffff, 6, 16, QChar(u'0'));
        html += QStringView(text).mid(r.start, r.length).toString().toHtmlEscaped();
        html += QStringLiteral("</span>");
        at = r.start + r.length;
    }
    html += QStringView(text).mid(at).toString().toHtmlEscaped();
    return html;
}

} // namespace tavi
