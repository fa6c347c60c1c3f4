// Importing and exporting words.
//
// Pleco formats its flashcard text with private-use characters that its forum documents
// (unofficially): U+EAB1 a line break, U+EAB2/EAB3 bold, U+EAB4/EAB5 italic, U+EAB8/EABB
// a link, U+EAC1 and two colour units (0x8000 to 0x8FFF) that start a colour, U+EAC2 that
// ends it. The line break becomes a blank; the others carry no words and are dropped, and
// so is anything else of U+EAB0 to U+EACF.
#include "vocabulary/word_exchange.h"

#include "core/text_codec.h"
#include "sound/pinyin_display.h"
#include "vocabulary/voc_file.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <optional>

namespace tavi {

namespace {

constexpr qsizetype SampleBytes = 64 * 1024;
constexpr qsizetype PreviewBytes = 1024 * 1024;
constexpr int SampleRows = 200;
// Longer letter runs are no pinyin word, and splitting them into syllables would take long.
constexpr qsizetype LongestPinyinWord = 64;

const QString ToneMarked = QStringLiteral("āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜĀÁǍÀĒÉĚÈĪÍǏÌŌÓǑÒŪÚǓÙǕǗǙǛ");

bool isBreak(QChar c)
{
    return c == u'\n' || c == u'\r';
}

bool isToneMarked(QChar c)
{
    return c.unicode() >= 0xC0 && ToneMarked.contains(c);
}

// A syllable that starts with a, e or o, marked or not, takes an apostrophe after another.
bool isAeo(QChar c)
{
    const qsizetype marked = c.unicode() >= 0xC0 ? ToneMarked.indexOf(c) : -1;
    const qsizetype vowel = marked / 4 % 6; // ToneMarked holds a e i o u ü, four tones each
    return QStringView(u"aeoAEO").contains(c) || (marked >= 0 && (vowel == 0 || vowel == 1 || vowel == 3));
}

bool isHan(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (c < 0x2E80)
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(s[i].unicode(), s[i + 1].unicode());
            ++i;
        }
        if (QChar::script(c) == QChar::Script_Han)
            return true;
    }
    return false;
}

// ---- bytes to text ----

std::optional<ImportEncoding> byteOrderMark(QByteArrayView b)
{
    if (b.startsWith("\xEF\xBB\xBF"))
        return ImportEncoding::Utf8;
    if (b.startsWith("\xFF\xFE"))
        return ImportEncoding::Utf16LE;
    if (b.startsWith("\xFE\xFF"))
        return ImportEncoding::Utf16BE;
    return std::nullopt;
}

// UTF-16 without a mark: text that is mostly Latin letters, digits and punctuation has a
// zero in every other byte.
std::optional<ImportEncoding> zeroBytePattern(QByteArrayView sample)
{
    qsizetype zeros[2] = {0, 0};
    const qsizetype n = sample.size() & ~qsizetype(1);
    for (qsizetype i = 0; i < n; ++i)
        if (sample[i] == 0)
            ++zeros[i & 1];
    const qsizetype units = n / 2;
    if (units > 0 && zeros[1] * 4 >= units && zeros[0] * 8 <= zeros[1])
        return ImportEncoding::Utf16LE;
    if (units > 0 && zeros[0] * 4 >= units && zeros[1] * 8 <= zeros[0])
        return ImportEncoding::Utf16BE;
    return std::nullopt;
}

// Checks all of the bytes, in stretches that end where a character starts.
bool allUtf8(QByteArrayView bytes)
{
    constexpr qsizetype Stretch = 1 << 20;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = std::min(bytes.size(), at + Stretch);
        for (int back = 0; back < 3 && end < bytes.size() && (quint8(bytes[end]) & 0xC0) == 0x80; ++back)
            --end;
        if (!isValidUtf8(bytes.sliced(at, end - at)))
            return false;
        at = end;
    }
    return true;
}

ImportEncoding detectEncoding(QByteArrayView bytes, QByteArrayView sample)
{
    if (const auto mark = byteOrderMark(bytes))
        return *mark;
    if (const auto wide = zeroBytePattern(sample))
        return *wide;
    return allUtf8(bytes) ? ImportEncoding::Utf8 : ImportEncoding::Windows1252;
}

// partial: the bytes are the start of a file, and a character cut at their end is left out.
QString decodeWithMark(QByteArrayView bytes, ImportEncoding encoding, bool partial)
{
    const auto flags = partial ? QStringDecoder::Flag::Default : QStringDecoder::Flag::Stateless;
    switch (encoding) {
    case ImportEncoding::Utf8:
        return QStringDecoder(QStringDecoder::Utf8, flags).decode(bytes);
    case ImportEncoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE, flags).decode(bytes);
    case ImportEncoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE, flags).decode(bytes);
    case ImportEncoding::Windows1252:
        return decodeWindows1252(bytes);
    case ImportEncoding::Latin1:
        return QString::fromLatin1(bytes);
    }
    return {};
}

QString decodeBytes(QByteArrayView bytes, ImportEncoding encoding, bool partial)
{
    QString text = decodeWithMark(bytes, encoding, partial);
    if (text.startsWith(QChar(QChar::ByteOrderMark)))
        text.remove(0, 1);
    return text;
}

// The text of the first `limit` bytes, ended at its last line break when the bytes went
// on (unless that leaves nothing): a cut row is no row. cut says whether bytes were left.
QString firstPart(QByteArrayView bytes, ImportEncoding encoding, qsizetype limit, bool& cut)
{
    cut = bytes.size() > limit;
    if (!cut)
        return decodeBytes(bytes, encoding, false);
    QString text = decodeBytes(bytes.first(limit), encoding, true);
    qsizetype end = text.size();
    while (end > 0 && !isBreak(text[end - 1]))
        --end;
    if (end > 0)
        text.truncate(end);
    return text;
}

bool looksBinary(QByteArrayView sample, QStringView text, ImportEncoding encoding)
{
    const bool narrow = encoding != ImportEncoding::Utf16LE && encoding != ImportEncoding::Utf16BE;
    if (narrow && sample.contains('\0'))
        return true;
    qsizetype controls = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return true;
        if ((u < 0x20 && u != u'\t' && !isBreak(c) && u != u'\f' && u != u'\v' && u != 0x1A) || u == 0x7F)
            ++controls;
    }
    return controls * 100 > text.size();
}

// ---- fields ----

// A field as the word table holds it: Pleco's formatting and byte-order marks gone, what
// would break the file's line (line ends, tabs, "+") made harmless, lone surrogates
// replaced, trimmed.
QString cleanField(QStringView f)
{
    QString out;
    out.reserve(f.size());
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i];
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'+') {
            out += c;
        } else if (u == u'+') {
            out += QChar(0xFF0B);
        } else if (u == u'\r' && i + 1 < f.size() && f[i + 1] == u'\n') {
            out += u' ';
            ++i;
        } else if (u < 0x20 || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029 || u == 0xEAB1) {
            out += u' ';
        } else if (u == 0xEAC1) {
            for (int k = 0; k < 2 && i + 1 < f.size() && (f[i + 1].unicode() & 0xF000) == 0x8000; ++k)
                ++i;
        } else if ((u >= 0xEAB0 && u <= 0xEACF) || u == 0xFEFF) {
            // Pleco's formatting, a byte-order mark: no text of their own
        } else if (c.isHighSurrogate() && i + 1 < f.size() && f[i + 1].isLowSurrogate()) {
            out += c;
            out += f[++i];
        } else if (c.isSurrogate()) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out.trimmed();
}

bool isTagStart(QStringView s, qsizetype i)
{
    return i + 1 < s.size() && (s[i + 1].isLetter() || s[i + 1] == u'/' || s[i + 1] == u'!');
}

// HTML as text: tags dropped (those that break a line become a blank), entities decoded,
// runs of blanks made one, Anki's [sound:...] references dropped.
QString htmlToText(QStringView s)
{
    static const QHash<QString, QChar> named = {
        {QStringLiteral("amp"), u'&'},  {QStringLiteral("lt"), u'<'},    {QStringLiteral("gt"), u'>'},
        {QStringLiteral("quot"), u'"'}, {QStringLiteral("apos"), u'\''}, {QStringLiteral("nbsp"), u' '}};
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == u'<' && isTagStart(s, i)) {
            const qsizetype close = s.indexOf(u'>', i);
            if (close < 0) { // no tag after all
                out += s.sliced(i);
                break;
            }
            static const QRegularExpression breaking(QStringLiteral("^/?(br|div|p|li|tr|hr)\\b"),
                                                     QRegularExpression::CaseInsensitiveOption);
            if (breaking.match(s.sliced(i + 1, close - i - 1)).hasMatch())
                out += u' ';
            i = close + 1;
        } else if (c == u'&') {
            const qsizetype semi = s.indexOf(u';', i);
            const QStringView name =
                semi > i && semi - i <= 10 ? s.sliced(i + 1, semi - i - 1) : QStringView();
            bool ok = false;
            char32_t code = 0;
            if (name.startsWith(u"#x") || name.startsWith(u"#X"))
                code = name.sliced(2).toUInt(&ok, 16);
            else if (name.startsWith(u'#'))
                code = name.sliced(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && !QChar::isSurrogate(code)) {
                out += QString::fromUcs4(&code, 1);
                i = semi + 1;
            } else if (const auto it = named.find(name.toString().toLower());
                       !name.isEmpty() && it != named.end()) {
                out += *it;
                i = semi + 1;
            } else {
                out += c;
                ++i;
            }
        } else if (c == u'[' && s.sliced(i).startsWith(u"[sound:") && s.indexOf(u']', i) > 0) {
            i = s.indexOf(u']', i) + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out.simplified(); // blanks in HTML collapse
}

bool looksLikeHtml(QStringView text)
{
    static const QRegularExpression html(
        QStringLiteral("<(br|div|p|span|b|i|u|font|img|ruby|rt|strong|em|li|sup|sub)\\b[^<>]*>|</[a-z]+>|"
                       "&(nbsp|amp|lt|gt|quot|#\\d+|#x[0-9a-f]+);"),
        QRegularExpression::CaseInsensitiveOption);
    return html.match(text).hasMatch();
}

// The chapter of an Anki tags field: its first tag, underscores read as blanks.
QString chapterOfTags(QStringView tags)
{
    const QStringView t = tags.trimmed();
    qsizetype end = 0;
    while (end < t.size() && !t[end].isSpace())
        ++end;
    QString first = t.first(end).toString();
    first.replace(u'_', u' ');
    return first.trimmed();
}

// ---- pinyin ----

bool splitsIntoSyllables(QStringView run)
{
    if (run.size() > LongestPinyinWord)
        return false;
    const QString plain = run.toString();
    return pinyinWithDigits(plain) != plain;
}

enum class PinyinLook { No, Untoned, Toned };

PinyinLook pinyinLook(QStringView cell)
{
    bool letters = false;
    bool toned = false;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        const char16_t u = c.unicode();
        if ((u < 0x80 && c.isLetter()) || u == u'ü' || u == u'Ü') {
            letters = true;
        } else if (isToneMarked(c) || (u >= 0x300 && u <= 0x30C)) {
            letters = toned = true;
        } else if (u >= u'0' && u <= u'5') {
            if (i == 0 || !(cell[i - 1].isLetter() || cell[i - 1] == u':'))
                return PinyinLook::No;
            toned = true;
        } else if (!QStringView(u" '’-·:").contains(c)) {
            return PinyinLook::No;
        }
    }
    if (!letters)
        return PinyinLook::No;
    if (toned)
        return PinyinLook::Toned;
    for (qsizetype i = 0; i < cell.size();) {
        if (!cell[i].isLetter()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < cell.size() && cell[i].isLetter())
            ++i;
        if (!splitsIntoSyllables(cell.sliced(start, i - start).toString().toLower()))
            return PinyinLook::No;
    }
    return PinyinLook::Untoned;
}

// ---- the columns ----

std::optional<ColumnRole> roleOfName(QStringView name, bool& traditional)
{
    static const QHash<QString, ColumnRole> names = [] {
        QHash<QString, ColumnRole> h;
        const auto add = [&h](ColumnRole role, std::initializer_list<const char*> words) {
            for (const char* w : words)
                h.insert(QString::fromUtf8(w), role);
        };
        add(ColumnRole::Characters,
            {"characters", "character", "chars", "char", "hanzi", "hànzì", "simplified", "chinese", "word",
             "words", "汉字", "漢字", "简体", "中文", "词语", "zeichen"});
        add(ColumnRole::Pinyin, {"pinyin", "pīnyīn", "reading", "pronunciation", "拼音"});
        add(ColumnRole::Translation,
            {"meaning", "meanings", "english", "definition", "definitions", "translation", "gloss", "german",
             "deutsch", "bedeutung", "übersetzung", "英文", "意思"});
        add(ColumnRole::Chapter, {"tags", "tag", "chapter", "lesson", "category", "kapitel", "lektion"});
        add(ColumnRole::Level, {"level", "ctr", "stufe"});
        add(ColumnRole::Mark, {"mark", "selection", "marker", "markierung"});
        add(ColumnRole::Ignore, {"deck", "notetype", "note type", "guid", "sound", "audio", "id"});
        return h;
    }();
    const QString key = name.trimmed().toString().toLower();
    traditional = key == u"traditional" || key == u"繁體" || key == u"繁体";
    if (traditional)
        return ColumnRole::Characters;
    const auto it = names.find(key);
    return it == names.end() ? std::nullopt : std::optional<ColumnRole>(*it);
}

// ---- reading the text ----

// Past the line break at `at` (CR LF counts as one).
qsizetype pastBreak(QStringView text, qsizetype at)
{
    if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n')
        ++at;
    return at + 1;
}

qsizetype lineEnd(QStringView text, qsizetype at)
{
    while (at < text.size() && !isBreak(text[at]))
        ++at;
    return at;
}

// Anki's header lines at the top of a file: "#key:value".
struct Headers {
    qsizetype end = 0; // where the rows start
    int lines = 0;
    std::optional<QChar> separator;
    std::optional<bool> html;
    std::optional<QString> columns;
    int tagsColumn = -1;
    QList<int> ignored; // the deck, note type and guid columns
    QStringList names;  // of the columns those lines name, as Anki calls them
    bool anki = false;  // a line of Anki's own, not just a comment
};

std::optional<QChar> separatorNamed(QStringView value)
{
    static const QHash<QString, QChar> names = {
        {QStringLiteral("tab"), u'\t'}, {QStringLiteral("comma"), u','}, {QStringLiteral("semicolon"), u';'},
        {QStringLiteral("pipe"), u'|'}, {QStringLiteral("space"), u' '}, {QStringLiteral("colon"), u':'}};
    if (value.size() == 1)
        return value[0];
    const auto it = names.find(value.trimmed().toString().toLower());
    return it == names.end() ? std::nullopt : std::optional<QChar>(*it);
}

Headers readHeaders(QStringView text)
{
    Headers h;
    while (h.end < text.size() && text[h.end] == u'#') {
        const qsizetype end = lineEnd(text, h.end);
        const QStringView line = text.sliced(h.end + 1, end - h.end - 1);
        h.end = end < text.size() ? pastBreak(text, end) : end;
        ++h.lines;
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0)
            continue;
        const QString key = line.first(colon).trimmed().toString().toLower();
        const QStringView value = line.sliced(colon + 1);
        bool number = false;
        const int n = value.trimmed().toInt(&number);
        const int column = number && n >= 1 && n <= 1000 ? n - 1 : -1; // counted from 1
        static const QStringList ankiKeys = {
            QStringLiteral("separator"),   QStringLiteral("html"),        QStringLiteral("columns"),
            QStringLiteral("tags"),        QStringLiteral("deck"),        QStringLiteral("notetype"),
            QStringLiteral("tags column"), QStringLiteral("deck column"), QStringLiteral("notetype column"),
            QStringLiteral("guid column")};
        h.anki = h.anki || ankiKeys.contains(key);
        if (key == u"separator")
            h.separator = separatorNamed(value);
        else if (key == u"html")
            h.html = value.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
        else if (key == u"columns")
            h.columns = value.toString();
        else if (key == u"tags column" && column >= 0)
            h.tagsColumn = column;
        else if ((key == u"deck column" || key == u"notetype column" || key == u"guid column") && column >= 0)
            h.ignored << column;
        static const QHash<QString, QString> ankiNames = {
            {QStringLiteral("tags column"), QStringLiteral("Tags")},
            {QStringLiteral("deck column"), QStringLiteral("Deck")},
            {QStringLiteral("notetype column"), QStringLiteral("Note type")},
            {QStringLiteral("guid column"), QStringLiteral("GUID")}};
        if (const auto name = ankiNames.constFind(key); name != ankiNames.cend() && column >= 0) {
            if (h.names.size() <= column)
                h.names.resize(column + 1);
            h.names[column] = *name;
        }
    }
    return h;
}

// The rows of delimited text: fields split at the separator; a field that starts with a
// double quote runs to the next lone one and may hold separators and line breaks, "" in
// it being one quote (RFC 4180). A quote that is never closed is an ordinary character.
class RecordReader {
public:
    RecordReader(QStringView text, qsizetype start, int line, QChar separator)
        : m_text(text), m_at(start), m_line(line), m_separator(isBreak(separator) ? u'\t' : separator),
          m_quotes(separator != u'"')
    {}

    bool atEnd() const { return m_at >= m_text.size(); }

    // The next row's fields, and the line it starts on.
    bool next(QStringList& fields, int& line)
    {
        if (atEnd())
            return false;
        fields.clear();
        line = m_line;
        for (;;) {
            QString field;
            if (!(m_quotes && m_text[m_at] == u'"' && quoted(field))) {
                qsizetype end = m_at;
                while (end < m_text.size() && m_text[end] != m_separator && !isBreak(m_text[end]))
                    ++end;
                field = m_text.sliced(m_at, end - m_at).toString();
                m_at = end;
            }
            fields << field;
            if (atEnd())
                return true;
            if (isBreak(m_text[m_at])) {
                m_at = pastBreak(m_text, m_at);
                ++m_line;
                return true;
            }
            ++m_at; // the separator
            if (atEnd()) {
                fields << QString();
                return true;
            }
        }
    }

private:
    bool quoted(QString& field)
    {
        if (m_noClosingFrom >= 0 && m_at >= m_noClosingFrom)
            return false;
        qsizetype i = m_at + 1;
        qsizetype last = m_at; // the last quote seen: one from there on has none after it
        for (;;) {
            const qsizetype q = m_text.indexOf(u'"', i);
            if (q < 0) {
                m_noClosingFrom = last;
                field.clear();
                return false;
            }
            last = q;
            field += m_text.sliced(i, q - i);
            if (q + 1 < m_text.size() && m_text[q + 1] == u'"') {
                field += u'"';
                i = q + 2;
                continue;
            }
            i = q + 1;
            break;
        }
        for (qsizetype k = m_at; k < i; ++k)
            if (m_text[k] == u'\n' || (m_text[k] == u'\r' && (k + 1 == i || m_text[k + 1] != u'\n')))
                ++m_line;
        // What follows the closing quote up to the separator is kept as it stands.
        m_at = i;
        while (m_at < m_text.size() && m_text[m_at] != m_separator && !isBreak(m_text[m_at]))
            field += m_text[m_at++];
        return true;
    }

    QStringView m_text;
    qsizetype m_at;
    int m_line;
    QChar m_separator;
    bool m_quotes;
    qsizetype m_noClosingFrom = -1; // an opening quote here or later finds no closing one
};

bool isBlank(const QStringList& fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const QString& f) { return f.trimmed().isEmpty(); });
}

// Calls row(line, text) for each line of Pleco text that is neither blank nor a category
// ("//name", no tab),
// category(name) for each category line, until row returns false; returns whether it did.
template <typename Row, typename Category> bool readPlecoLines(QStringView text, Row row, Category category)
{
    int line = 1;
    for (qsizetype at = 0; at < text.size(); ++line) {
        const qsizetype end = lineEnd(text, at);
        const QStringView l = text.sliced(at, end - at);
        at = end < text.size() ? pastBreak(text, end) : end;
        const QStringView t = l.trimmed();
        if (t.isEmpty())
            continue;
        if (t.startsWith(u"//") && !l.contains(u'\t')) // a word's characters may start with // too
            category(t.sliced(2));
        else if (!row(line, l))
            return true;
    }
    return false;
}

bool looksLikePleco(QStringView data)
{
    int words = 0;
    int tabbed = 0;
    bool pleco = false;
    readPlecoLines(
        data,
        [&](int, QStringView l) {
            ++words;
            const qsizetype tabs = l.count(u'\t');
            tabbed += tabs == 1 || tabs == 2;
            const QStringView first = l.first(tabs ? l.indexOf(u'\t') : l.size()).trimmed();
            const qsizetype open = first.indexOf(u'[');
            pleco = pleco || (open > 0 && first.endsWith(u']') && isHan(first.first(open)));
            pleco = pleco || std::any_of(l.begin(), l.end(), [](QChar c) {
                        return c.unicode() >= 0xEAB0 && c.unicode() <= 0xEACF;
                    });
            return words < SampleRows;
        },
        [&](QStringView) { pleco = true; });
    return pleco && tabbed * 2 >= words;
}

QString plecoCharacters(const QString& field, bool traditional)
{
    const qsizetype open = field.indexOf(u'[');
    if (open <= 0 || !field.endsWith(u']') || field.indexOf(u'[', open + 1) >= 0)
        return field;
    const QString other = field.sliced(open + 1, field.size() - open - 2).trimmed();
    return traditional && !other.isEmpty() ? other : field.first(open).trimmed();
}

// Whether cleanField changes more than the blanks at the ends.
bool needsCleaning(QStringView f)
{
    return std::any_of(f.begin(), f.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return u < 0x20 || u == u'+' || u == 0x7F || u == 0x85 || u == 0x2028 || u == 0x2029 ||
               (u >= 0xEAB0 && u <= 0xEACF) || u == 0xFEFF || QChar::isSurrogate(u);
    });
}

// Most fields need nothing: they are kept, not copied.
QString cleanField(const QString& field, bool html)
{
    if (html)
        return cleanField(htmlToText(field));
    return needsCleaning(field) ? cleanField(QStringView(field)) : field.trimmed();
}

// The first rows of delimited text, blank ones left out, each field as the table would
// hold it.
QList<QStringList> delimitedRows(QStringView text, const Headers& h, const ImportChoices& choices, int count)
{
    QList<QStringList> rows;
    RecordReader reader(text, h.end, h.lines + 1, choices.separator);
    QStringList fields;
    int line = 0;
    while (rows.size() < count && reader.next(fields, line)) {
        if (isBlank(fields))
            continue;
        for (QString& f : fields)
            f = cleanField(f, choices.html);
        rows << fields;
    }
    return rows;
}

QChar guessSeparator(QStringView text, const Headers& h)
{
    QChar best = u'\t';
    int bestScore = 0;
    for (QChar separator : {u'\t', u',', u';', u'|'}) {
        RecordReader reader(text, h.end, h.lines + 1, separator);
        QHash<qsizetype, int> widths; // rows of each number of fields
        QStringList fields;
        int line = 0;
        for (int rows = 0; rows < SampleRows && reader.next(fields, line);)
            if (!isBlank(fields)) {
                ++widths[fields.size()];
                ++rows;
            }
        int score = 0;
        for (auto it = widths.cbegin(); it != widths.cend(); ++it)
            if (it.key() > 1)
                score = std::max(score, it.value());
        if (score > bestScore) {
            best = separator;
            bestScore = score;
        }
    }
    return best;
}

bool isHeaderRow(const QStringList& fields)
{
    int names = 0;
    int han = 0;
    for (const QString& f : fields) {
        bool traditional = false;
        names += roleOfName(f, traditional).has_value();
        han += isHan(f);
    }
    return names >= 2 || (names == 1 && han == 0);
}

struct ColumnStats {
    int filled = 0;
    int han = 0;
    int pinyin = 0;
    int toned = 0;
    int digit = 0; // a single digit: a level
};

// Roles from the names where they are known, from the content elsewhere: a column of Han
// characters holds the characters, one of pinyin syllables the pinyin, one of single
// digits the level, the first other column with text the translation.
QList<ColumnRole> guessRoles(const QStringList& names, const QList<QStringList>& rows, int columns,
                             const Headers& h)
{
    QList<ColumnRole> roles(columns, ColumnRole::Ignore);
    QList<bool> known(columns, false);
    int traditionalColumn = -1;
    for (int c = 0; c < std::min<int>(columns, int(names.size())); ++c) {
        bool traditional = false;
        if (const auto role = roleOfName(names[c], traditional)) {
            known[c] = true;
            if (traditional && traditionalColumn < 0)
                traditionalColumn = c;
            else if (!traditional)
                roles[c] = *role;
        }
    }
    if (h.tagsColumn >= 0 && h.tagsColumn < columns) {
        roles[h.tagsColumn] = ColumnRole::Chapter;
        known[h.tagsColumn] = true;
    }
    for (int c : h.ignored)
        if (c < columns && c != h.tagsColumn) {
            roles[c] = ColumnRole::Ignore;
            known[c] = true;
        }
    std::array<bool, 7> taken{}; // one column a role
    for (ColumnRole& role : roles) {
        if (role == ColumnRole::Ignore)
            continue;
        if (std::exchange(taken[size_t(role)], true))
            role = ColumnRole::Ignore;
    }
    if (traditionalColumn >= 0 && !std::exchange(taken[size_t(ColumnRole::Characters)], true))
        roles[traditionalColumn] = ColumnRole::Characters;

    QList<ColumnStats> stats(columns);
    for (const QStringList& row : rows)
        for (int c = 0; c < std::min<int>(columns, int(row.size())); ++c) {
            const QString& f = row[c];
            if (known[c] || f.isEmpty())
                continue;
            ColumnStats& s = stats[c];
            ++s.filled;
            s.han += isHan(f);
            const PinyinLook look = pinyinLook(f);
            s.pinyin += look != PinyinLook::No;
            s.toned += look == PinyinLook::Toned;
            s.digit += f.size() == 1 && f[0] >= u'0' && f[0] <= u'9';
        }
    const auto assign = [&](ColumnRole role, auto score) {
        if (taken[size_t(role)])
            return;
        int best = -1;
        int bestScore = 0;
        for (int c = 0; c < columns; ++c)
            if (!known[c] && score(stats[c]) > bestScore) {
                best = c;
                bestScore = score(stats[c]);
            }
        if (best >= 0) {
            roles[best] = role;
            known[best] = true;
            taken[size_t(role)] = true;
        }
    };
    assign(ColumnRole::Characters, [](const ColumnStats& s) { return s.han * 2 >= s.filled ? s.han : 0; });
    assign(ColumnRole::Pinyin,
           [](const ColumnStats& s) { return s.pinyin * 2 >= s.filled ? s.pinyin * 2 + s.toned : 0; });
    assign(ColumnRole::Level, [](const ColumnStats& s) { return s.digit == s.filled ? s.digit : 0; });
    // The first column with text rather than the fullest: translations come early.
    assign(ColumnRole::Translation, [](const ColumnStats& s) { return s.filled > 0 ? 1 : 0; });
    return roles;
}

// ---- words ----

QString duplicateKey(QStringView characters, QStringView pinyin)
{
    QString key;
    key.reserve(characters.size() + pinyin.size() + 1);
    const auto add = [&key](QStringView s) {
        for (QChar c : s) {
            if (c.isSpace())
                continue;
            c = c.toLower();
            key += c == u'ü' ? QChar(u'v') : c;
        }
    };
    add(characters);
    key += QChar(0x1F);
    add(pinyin);
    return key;
}

// Gathers the rows read into the result.
struct Collector {
    ImportResult& result;
    const QSet<QString>& known; // keys of the target's words
    int maxRows;
    int rows = 0;

    bool full() const { return maxRows >= 0 && rows >= maxRows; }

    void skip(int line, LineProblem problem)
    {
        result.skipped.append({line, problem});
        ++rows;
    }

    void word(int line, std::array<QString, VocColumns>& cells)
    {
        if (cells[CHAR].isEmpty() && cells[PINYIN].isEmpty())
            return skip(line, LineProblem::NoCharactersOrPinyin);
        ++rows;
        const bool duplicate = !known.isEmpty() && known.contains(duplicateKey(cells[CHAR], cells[PINYIN]));
        result.duplicates += duplicate;
        result.words.push_back({VocRow(levelOf(cells[CTR]), cells[PINYIN], cells[CHAR], cells[TRANSLATION],
                                       cells[CHAPTER], cells[SELECTION]),
                                line, duplicate});
    }
};

int columnOf(ColumnRole role)
{
    switch (role) {
    case ColumnRole::Characters:
        return CHAR;
    case ColumnRole::Pinyin:
        return PINYIN;
    case ColumnRole::Translation:
        return TRANSLATION;
    case ColumnRole::Chapter:
        return CHAPTER;
    case ColumnRole::Mark:
        return SELECTION;
    case ColumnRole::Level:
        return CTR;
    case ColumnRole::Ignore:
        break;
    }
    return -1;
}

// Reads the words of the text into out; returns whether rows were left when out was full.
bool readWords(QStringView text, const ImportChoices& choices, Collector& out)
{
    if (choices.format == ImportFormat::Pleco) {
        QString chapter;
        return readPlecoLines(
            text,
            [&](int line, QStringView l) {
                if (out.full())
                    return false;
                const qsizetype tab = l.indexOf(u'\t');
                if (tab < 0) {
                    out.skip(line, LineProblem::NoTab);
                    return true;
                }
                const qsizetype tab2 = l.indexOf(u'\t', tab + 1);
                std::array<QString, VocColumns> cells;
                cells[CHAR] = plecoCharacters(cleanField(l.first(tab)), choices.traditional);
                cells[PINYIN] = importedPinyin(
                    cleanField(tab2 < 0 ? l.sliced(tab + 1) : l.sliced(tab + 1, tab2 - tab - 1)));
                cells[TRANSLATION] = tab2 < 0 ? QString() : cleanField(l.sliced(tab2 + 1));
                cells[CHAPTER] = chapter;
                out.word(line, cells);
                return true;
            },
            [&](QStringView name) { chapter = cleanField(name); });
    }
    const Headers h = readHeaders(text);
    RecordReader reader(text, h.end, h.lines + 1, choices.separator);
    QStringList fields;
    int line = 0;
    bool headerRow = choices.headerRow;
    while (!out.full() && reader.next(fields, line)) {
        if (isBlank(fields) || std::exchange(headerRow, false))
            continue;
        std::array<QString, VocColumns> cells;
        for (int c = 0; c < std::min<int>(int(fields.size()), int(choices.roles.size())); ++c) {
            const ColumnRole role = choices.roles[c];
            const int column = columnOf(role);
            if (column < 0 || !cells[column].isEmpty())
                continue;
            QString value = cleanField(fields[c], choices.html);
            if (role == ColumnRole::Pinyin)
                value = importedPinyin(value);
            else if (role == ColumnRole::Chapter && c == choices.tagsColumn)
                value = chapterOfTags(value);
            cells[column] = value;
        }
        out.word(line, cells);
    }
    return !reader.atEnd();
}

// ---- export ----

QString exportedPinyin(const VocRow& row, bool marks)
{
    if (!marks)
        return row[PINYIN];
    const ShownPinyin shown = showPinyin(row[PINYIN], true);
    const bool toned =
        std::any_of(shown.runs.begin(), shown.runs.end(), [](const ToneRun& r) { return r.tone < 5; });
    return toned ? shown.text : row[PINYIN];
}

void appendAnkiField(QString& out, QStringView field, bool first)
{
    const bool quote = (first && field.startsWith(u'#')) ||
                       std::any_of(field.begin(), field.end(),
                                   [](QChar c) { return c == u'"' || c == u'\t' || isBreak(c); });
    if (!quote) {
        out += field;
        return;
    }
    out += u'"';
    for (QChar c : field) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

void appendPlecoField(QString& out, QStringView field)
{
    for (QChar c : field)
        out += c == u'\t' || isBreak(c) ? QChar(u' ') : c;
}

} // namespace

ImportRefusal readImportFile(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ImportRefusal::Unreadable;
    if (file.size() > MaxVocFileSize)
        return ImportRefusal::TooLarge;
    bytes = file.read(MaxVocFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        bytes.clear();
        return ImportRefusal::Unreadable;
    }
    if (bytes.size() > MaxVocFileSize) {
        bytes.clear();
        return ImportRefusal::TooLarge;
    }
    return ImportRefusal::None;
}

bool isVocabularyText(QByteArrayView bytes)
{
    // Lines of six fields joined by "+", no tab among them, after an optional header line.
    const QString text = vocTextFromBytes(bytes.first(std::min<qsizetype>(bytes.size(), 64 * 1024)));
    int lines = 0;
    int wordLines = 0;
    for (const QStringView line : QStringView(text).tokenize(u'\r', Qt::SkipEmptyParts)) {
        if (line.trimmed().isEmpty())
            continue;
        if (lines == 0 && wordLines == 0 &&
            line.toString().simplified().compare(VocHeader, Qt::CaseInsensitive) == 0)
            return true;
        wordLines += !line.contains(u'\t') && line.count(u'+') == VocColumns - 1;
        if (++lines == 20)
            break;
    }
    return lines > 0 && wordLines * 5 >= lines * 4;
}

QString importText(QByteArrayView bytes, ImportEncoding encoding)
{
    return decodeBytes(bytes, encoding, false);
}

QString importedPinyin(const QString& pinyin)
{
    QString s = pinyin;
    if (std::any_of(s.cbegin(), s.cend(),
                    [](QChar c) { return c.unicode() >= 0x300 && c.unicode() < 0x370; }))
        s = s.normalized(QString::NormalizationForm_C);
    if (s.contains(u':')) {
        s.replace(QStringLiteral("u:"), QStringLiteral("ü"));
        s.replace(QStringLiteral("U:"), QStringLiteral("Ü"));
    }
    if (std::any_of(s.cbegin(), s.cend(), isToneMarked)) {
        const QStringView in(s);
        QString out;
        out.reserve(in.size() + 8);
        for (qsizetype i = 0; i < in.size();) {
            if (!in[i].isLetter()) {
                // The apostrophe that marks set between syllables: the digit now parts them.
                const bool apostrophe = (in[i] == u'\'' || in[i] == u'’') && !out.isEmpty() &&
                                        out.back().isDigit() && i + 1 < in.size() && isAeo(in[i + 1]);
                if (!apostrophe)
                    out += in[i];
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < in.size() && in[i].isLetter())
                ++i;
            const QString run = in.sliced(start, i - start).toString();
            const bool hasDigit = i < in.size() && in[i].isDigit();
            out += hasDigit || run.size() > LongestPinyinWord ? run : pinyinWithDigits(run);
        }
        s = out;
    }
    // ü as the files write it; v stands for it only after l and n (lv4, nve4).
    for (qsizetype i = 1; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if ((c == u'v' || c == u'V') && QStringView(u"lnLN").contains(s.at(i - 1)) &&
            (i + 1 == s.size() || !s.at(i + 1).isLetter() || s.at(i + 1) == u'e' || s.at(i + 1) == u'E'))
            s[i] = c == u'v' ? u'ü' : u'Ü';
    }
    return s;
}

ImportDetection detectImport(QByteArrayView bytes)
{
    ImportDetection d;
    if (bytes.size() > MaxVocFileSize) {
        d.refusal = ImportRefusal::TooLarge;
        return d;
    }
    ImportChoices& choices = d.choices;
    const QByteArrayView sample = bytes.first(std::min(bytes.size(), SampleBytes));
    choices.encoding = detectEncoding(bytes, sample);
    bool cut = false;
    const QString text = firstPart(bytes, choices.encoding, SampleBytes, cut);
    if (looksBinary(sample, text, choices.encoding)) {
        d.refusal = ImportRefusal::Binary;
        return d;
    }
    const Headers h = readHeaders(text);
    if (!h.anki && looksLikePleco(text)) {
        choices.format = ImportFormat::Pleco;
        choices.roles = {ColumnRole::Characters, ColumnRole::Pinyin, ColumnRole::Translation};
        d.columns = 3;
    } else {
        choices.separator = h.separator.value_or(guessSeparator(text, h));
        choices.html = h.html.value_or(looksLikeHtml(QStringView(text).sliced(h.end)));
        QList<QStringList> rows = delimitedRows(text, h, choices, SampleRows);
        if (h.columns) {
            QStringList names;
            int line = 0;
            RecordReader(*h.columns, 0, 1, choices.separator).next(names, line);
            for (QString& name : names)
                name = name.trimmed();
            d.columnNames = names;
        } else if (!rows.isEmpty() && isHeaderRow(rows.first())) {
            d.columnNames = rows.takeFirst();
            choices.headerRow = true;
        } else {
            d.columnNames = h.names; // the deck's, note type's, guid's and tags' columns
        }
        d.columns = int(d.columnNames.size());
        for (const QStringList& row : std::as_const(rows))
            d.columns = std::max(d.columns, int(row.size()));
        d.columns = std::max(d.columns, h.tagsColumn + 1);
        choices.tagsColumn = h.tagsColumn;
        choices.roles = guessRoles(d.columnNames, rows, d.columns, h);
    }
    ImportResult first;
    const QSet<QString> none;
    Collector out{first, none, SampleRows};
    readWords(text, choices, out);
    if (first.words.empty() && !cut)
        d.refusal = ImportRefusal::NoRows;
    return d;
}

ImportResult convertImport(QByteArrayView bytes, const ImportChoices& choices, std::span<const VocRow> target,
                           int maxRows)
{
    ImportResult result;
    if (bytes.size() > MaxVocFileSize) {
        result.refusal = ImportRefusal::TooLarge;
        return result;
    }
    bool cut = false;
    const QString text = maxRows >= 0 ? firstPart(bytes, choices.encoding, PreviewBytes, cut)
                                      : decodeBytes(bytes, choices.encoding, false);
    QSet<QString> known;
    known.reserve(qsizetype(target.size()));
    for (const VocRow& row : target)
        known.insert(duplicateKey(row.view(CHAR), row.view(PINYIN)));
    Collector out{result, known, maxRows};
    const bool more = readWords(text, choices, out);
    result.complete = !cut && !more;
    if (result.words.empty() && result.complete)
        result.refusal = ImportRefusal::NoRows;
    return result;
}

std::vector<VocRow> ImportResult::rows(bool keepDuplicates) const
{
    std::vector<VocRow> out;
    out.reserve(words.size());
    for (const ImportedWord& w : words)
        if (keepDuplicates || !w.duplicate)
            out.push_back(w.row);
    return out;
}

QList<ImportRecord> importRecords(QByteArrayView bytes, const ImportChoices& choices, int maxRows)
{
    QList<ImportRecord> records;
    if (bytes.size() > MaxVocFileSize || maxRows <= 0)
        return records;
    bool cut = false;
    const QString text = firstPart(bytes, choices.encoding, PreviewBytes, cut);
    if (choices.format == ImportFormat::Pleco) {
        readPlecoLines(
            text,
            [&](int line, QStringView l) {
                QStringList fields;
                for (QStringView f : l.split(u'\t'))
                    fields << cleanField(f);
                records.append({line, fields});
                return records.size() < maxRows;
            },
            [](QStringView) {});
        return records;
    }
    const Headers h = readHeaders(text);
    RecordReader reader(text, h.end, h.lines + 1, choices.separator);
    QStringList fields;
    int line = 0;
    bool headerRow = choices.headerRow;
    while (records.size() < maxRows && reader.next(fields, line)) {
        if (isBlank(fields) || std::exchange(headerRow, false))
            continue;
        for (QString& f : fields)
            f = cleanField(f, choices.html);
        records.append({line, fields});
    }
    return records;
}

QString importRefusalKey(ImportRefusal refusal)
{
    switch (refusal) {
    case ImportRefusal::Unreadable:
        return QStringLiteral("import_unreadable");
    case ImportRefusal::TooLarge:
        return QStringLiteral("import_too_large");
    case ImportRefusal::Binary:
        return QStringLiteral("import_binary");
    case ImportRefusal::NoRows:
        return QStringLiteral("import_no_rows");
    case ImportRefusal::None:
        break;
    }
    return {};
}

QString lineProblemKey(LineProblem problem)
{
    return problem == LineProblem::NoTab ? QStringLiteral("import_line_no_tab")
                                         : QStringLiteral("import_line_no_word");
}

QString columnRoleKey(ColumnRole role)
{
    switch (role) {
    case ColumnRole::Characters:
        return QStringLiteral("import_role_characters");
    case ColumnRole::Pinyin:
        return QStringLiteral("import_role_pinyin");
    case ColumnRole::Translation:
        return QStringLiteral("import_role_translation");
    case ColumnRole::Chapter:
        return QStringLiteral("import_role_chapter");
    case ColumnRole::Mark:
        return QStringLiteral("import_role_mark");
    case ColumnRole::Level:
        return QStringLiteral("import_role_level");
    case ColumnRole::Ignore:
        break;
    }
    return QStringLiteral("import_role_ignore");
}

QByteArray exportWords(std::span<const VocRow> rows, ExportFormat format, bool pinyinMarks)
{
    QString out;
    out.reserve(qsizetype(rows.size()) * 48 + 128);
    if (format == ExportFormat::AnkiText) {
        out +=
            QStringLiteral("#separator:tab\n#html:false\n"
                           "#columns:Characters\tPinyin\tTranslation\tLevel\tMark\tTags\n#tags column:6\n");
        for (const VocRow& row : rows) {
            if (isBlankRow(row))
                continue;
            appendAnkiField(out, row.view(CHAR), true);
            out += u'\t';
            appendAnkiField(out, exportedPinyin(row, pinyinMarks), false);
            for (int column : {TRANSLATION, CTR, SELECTION}) {
                out += u'\t';
                appendAnkiField(out, row.view(column), false);
            }
            out += u'\t';
            QString tag = row.view(CHAPTER).trimmed().toString();
            for (QChar& c : tag)
                if (c.isSpace())
                    c = u'_';
            appendAnkiField(out, tag, false);
            out += u'\n';
        }
        return out.toUtf8();
    }
    // Pleco cannot leave a category once in it: words without a chapter go first.
    QHash<QStringView, int> rank;
    std::vector<std::pair<int, size_t>> order;
    order.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (isBlankRow(rows[i]))
            continue;
        const QStringView chapter = rows[i].view(CHAPTER).trimmed();
        auto it = rank.find(chapter);
        if (!chapter.isEmpty() && it == rank.end())
            it = rank.insert(chapter, int(rank.size()));
        order.emplace_back(chapter.isEmpty() ? -1 : it.value(), i);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    int current = -1;
    for (const auto& [r, i] : order) {
        const VocRow& row = rows[i];
        if (r != current) {
            current = r;
            out += QStringLiteral("//");
            appendPlecoField(out, row.view(CHAPTER).trimmed());
            out += u'\n';
        }
        appendPlecoField(out, row.view(CHAR));
        out += u'\t';
        appendPlecoField(out, exportedPinyin(row, pinyinMarks));
        out += u'\t';
        appendPlecoField(out, row.view(TRANSLATION));
        out += u'\n';
    }
    return out.toUtf8();
}

} // namespace tavi
