// The dictionary: CC-CEDICT's lines, the index built from them and the look-ups in it.
//
// The index (cedict.idx) is little-endian; a header locates its sections:
//   header    "TAVIDICT", format version, file size, entry count, then the offset and size
//             of each section below
//   licence   the data file's "#" lines, UTF-8: CC BY-SA asks that they travel with the data
//   offsets   entry count + 1 offsets into the text, which holds per entry
//             traditional US simplified US pinyin US senses joined by "/" (US = 0x1f)
//   tables    simplified and traditional headwords, toned and toneless pinyin keys, English
//             words: each a sorted run of distinct keys (key count + 1 records of key
//             offset and first posting, lengths being the differences), the keys' bytes and
//             the postings (entry numbers)
// Opening reads the header only and checks every section against the file's size; each
// record, key and entry is checked against its section when it is read, so a damaged
// file gives wrong answers at worst, never a read outside the mapping.
#include "vocabulary/dictionary.h"

#include "core/app_state.h"
#include "core/file_replace.h"

#include <QMutex>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace tavi {

namespace {

constexpr char Magic[8] = {'T', 'A', 'V', 'I', 'D', 'I', 'C', 'T'};
constexpr quint32 FormatVersion = 1;
constexpr char FieldSeparator = '\x1f';

enum Table { Simplified, Traditional, Toned, Toneless, English, TableCount };
const char* const TableNames[TableCount] = {"simplified headwords", "traditional headwords", "pinyin keys",
                                            "toneless pinyin keys", "English words"};

// The header's 32-bit fields after the magic; then TableFields per table.
enum Field { Version, FileSize, EntryCount, LicenceAt, LicenceSize, OffsetsAt, TextAt, TextSize, TablesAt };
enum TableField { KeyCount, RecordsAt, KeysAt, KeysSize, PostingsAt, PostingCount };
constexpr int TableFields = 6;
constexpr int HeaderFields = TablesAt + TableCount * TableFields;
constexpr quint64 HeaderSize = sizeof(Magic) + HeaderFields * 4;

quint32 read32(const uchar* p)
{
    return qFromLittleEndian<quint32>(p);
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Han characters and the other East Asian scripts of headwords (kana, bopomofo, full-width
// forms): a query holding any of them is looked up as characters.
bool hasCjk(QStringView text)
{
    for (const char32_t c : text.toUcs4()) {
        const QChar::Script s = QChar::script(c);
        if (s == QChar::Script_Han || s == QChar::Script_Hiragana || s == QChar::Script_Katakana ||
            s == QChar::Script_Bopomofo || (c >= 0x3000 && c <= 0x303f) || (c >= 0xff00 && c <= 0xffef))
            return true;
    }
    return false;
}

// A reading token that CC-CEDICT writes for a syllable: letters (u: for ü) and a tone digit.
bool isSyllable(QStringView token)
{
    if (token.size() < 2 || token.back() < u'1' || token.back() > u'5')
        return false;
    for (qsizetype i = 0; i + 1 < token.size(); ++i) {
        const QChar c = token[i];
        const bool umlaut = c == u':' && i > 0 && (token[i - 1] == u'u' || token[i - 1] == u'U');
        if (!isAsciiLetter(c) && c != u'ü' && c != u'Ü' && !umlaut)
            return false;
    }
    return true;
}

// The reading in the vocabulary files' way. Syllables next to each other make one word
// (ni3hao3); letter tokens next to each other make one word too, since they spell the
// headword's own letters (D N A jian4 ding4 gives DNA jian4ding4, t o n y gives tony);
// punctuation tokens ("," "·" ":") only end a word: a learner's line reads
// "yi1bu4zuo4 er4bu4xiu1" rather than carrying a comma in its pinyin. The erhua syllable
// r5 is written as the vocabulary files write it, without a tone: yi1dian3r.
QString readingOf(QStringView reading)
{
    enum Kind { None, Syllables, Letters } last = None;
    QString out;
    for (const QStringView token : reading.tokenize(u' ', Qt::SkipEmptyParts)) {
        QString t = token.toString();
        t.replace(QLatin1String("u:"), QStringLiteral("ü")).replace(QLatin1String("U:"), QStringLiteral("Ü"));
        Kind kind = Letters;
        if (isSyllable(token)) {
            kind = Syllables;
            if (t.back() == u'5')
                t.back() = u'0';
            if (last == Syllables && t.compare(QLatin1String("r0"), Qt::CaseInsensitive) == 0)
                t.chop(1);
        } else if (std::none_of(t.cbegin(), t.cend(), [](QChar c) { return c.isLetterOrNumber(); })) {
            last = None;
            continue;
        }
        if (!out.isEmpty() && kind != last)
            out += u' ';
        out += t;
        last = kind;
    }
    return out;
}

// The key of a reading or of a typed pinyin: lower case; ü, u: and v as v; blanks,
// apostrophes and punctuation left out; the neutral tone as 0. Without tones, a digit
// right after a letter is a tone and left out (the 4 of 4S stays).
std::string pinyinKey(QStringView text, bool toned)
{
    std::string key;
    bool afterLetter = false;
    for (const QChar c : text) {
        if (c == u'ü' || c == u'Ü') {
            key += 'v';
            afterLetter = true;
        } else if (c == u':' && afterLetter && key.back() == 'u') {
            key.back() = 'v';
        } else if (isAsciiLetter(c)) {
            key += char(c.toLower().unicode());
            afterLetter = true;
        } else if (isAsciiDigit(c)) {
            if (!afterLetter)
                key += char(c.unicode());
            else if (toned)
                key += c == u'5' ? '0' : char(c.unicode());
            afterLetter = false;
        } else {
            afterLetter = false;
        }
    }
    return key;
}

// The tones of a reading's syllables, neutral ones left out: "33" for ni3hao3.
std::string tonesOf(QByteArrayView toned)
{
    std::string tones;
    for (qsizetype i = 1; i < toned.size(); ++i) {
        const char c = toned[i];
        const auto before = uchar(toned[i - 1]);
        const bool afterLetter = (before >= 'a' && before <= 'z') || (before >= 'A' && before <= 'Z') ||
                                 before >= 0x80; // the last byte of ü
        if (c >= '1' && c <= '4' && afterLetter)
            tones += c;
    }
    return tones;
}

// What a typed text means as pinyin: its key, whether it gave tone digits, and the tones
// its marks gave (nǐhǎo: "33"), which then filter the toneless matches.
struct PinyinQuery {
    std::string key;
    bool toned = false;
    std::string marks;
};

std::optional<PinyinQuery> pinyinQuery(const QString& query)
{
    const QString text = query.normalized(QString::NormalizationForm_D);
    QString plain;
    PinyinQuery q;
    for (const QChar c : text) {
        // The four tone marks once decomposed (macron, acute, caron, grave), and ü's dots.
        if (const qsizetype tone = QStringView(u"\u0304\u0301\u030c\u0300").indexOf(c); tone >= 0) {
            q.marks += char('1' + tone);
            continue;
        }
        if (c == u'\u0308') {
            if (!plain.isEmpty() && (plain.back() == u'u' || plain.back() == u'U'))
                plain.back() = u'v';
            continue;
        }
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u' ' && c != u'\'' && c != u':' && c != u'-')
            return std::nullopt;
        plain += c;
    }
    if (std::none_of(plain.cbegin(), plain.cend(), isAsciiLetter))
        return std::nullopt;
    q.key = pinyinKey(plain, true);
    q.toned = q.key != pinyinKey(plain, false);
    if (q.toned)
        q.marks.clear();
    else
        q.key = pinyinKey(plain, false);
    return q;
}

// The lower-case words of an English text: runs of letters and digits below the CJK
// blocks; text in square brackets (the pinyin of a cross-reference) is left out.
QStringList englishWords(QStringView text)
{
    QStringList words;
    QString word;
    int brackets = 0;
    const auto end = [&] {
        if (!word.isEmpty())
            words << word.toLower();
        word.clear();
    };
    for (const QChar c : text) {
        if (c == u'[')
            ++brackets;
        else if (c == u']' && brackets > 0)
            --brackets;
        if (brackets == 0 && c.isLetterOrNumber() && c.unicode() < 0x2e80 && !c.isSurrogate()) {
            word += c;
        } else {
            end();
        }
    }
    end();
    return words;
}

// A gloss (a sense's part between semicolons) as its words, parentheses left out and a
// verb's leading "to" too: "(bound form) to walk" is just "walk".
QStringList glossCore(QStringView gloss)
{
    QString bare;
    int depth = 0;
    for (const QChar c : gloss) {
        if (c == u'(')
            ++depth;
        else if (c == u')' && depth > 0)
            --depth;
        else if (depth == 0)
            bare += c;
    }
    QStringList words = englishWords(bare);
    if (words.size() > 1 && words.front() == QLatin1String("to"))
        words.removeFirst();
    return words;
}

QList<QStringView> glossesOf(const QString& sense)
{
    return QStringView(sense).split(u';');
}

// How well the entry's senses answer an English word, lower is better: a gloss that is
// just the word, then one that is the word once parentheses and a verb's "to" are left
// out, then by the word count of the gloss; among these, the earlier sense first.
std::map<std::string, quint32> englishRanks(const DictEntry& e)
{
    std::map<std::string, quint32> ranks;
    for (qsizetype sense = 0; sense < e.senses.size(); ++sense) {
        for (const QStringView gloss : glossesOf(e.senses[sense])) {
            const QStringList words = englishWords(gloss);
            const QStringList core = glossCore(gloss);
            for (const QString& w : words) {
                const qsizetype kind = words.size() == 1                       ? 0
                                       : core.size() == 1 && core.front() == w ? 1
                                                                               : words.size();
                const auto rank =
                    quint32(std::min<qsizetype>(kind, 255) * 32 + std::min<qsizetype>(sense, 31));
                auto [it, added] = ranks.try_emplace(w.toStdString(), rank);
                if (!added)
                    it->second = std::min(it->second, rank);
            }
        }
    }
    return ranks;
}

// The pieces of bytes between separators (Qt's byte views have no split of their own).
QList<QByteArrayView> splitBytes(QByteArrayView bytes, char separator)
{
    QList<QByteArrayView> pieces;
    for (qsizetype from = 0;;) {
        const qsizetype at = bytes.indexOf(separator, from);
        pieces << bytes.sliced(from, (at < 0 ? bytes.size() : at) - from);
        if (at < 0)
            return pieces;
        from = at + 1;
    }
}

qsizetype codePoints(QByteArrayView utf8)
{
    return std::count_if(utf8.begin(), utf8.end(), [](char b) { return (uchar(b) & 0xc0) != 0x80; });
}

bool startsWith(QByteArrayView key, QByteArrayView prefix)
{
    return key.size() >= prefix.size() && std::memcmp(key.data(), prefix.data(), size_t(prefix.size())) == 0;
}

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

// Gathers the entry numbers of a look-up, best first, each once, at most limit.
class Results {
public:
    explicit Results(int limit) : m_limit(size_t(limit)) {}
    size_t limit() const { return m_limit; }
    bool full() const { return m_ids.size() >= m_limit; }
    void add(quint32 id)
    {
        if (!full() && m_seen.insert(id).second)
            m_ids.push_back(id);
    }
    template <typename Ids> void addAll(const Ids& ids)
    {
        for (const quint32 id : ids)
            add(id);
    }
    const std::vector<quint32>& ids() const { return m_ids; }

private:
    size_t m_limit;
    std::vector<quint32> m_ids;
    std::unordered_set<quint32> m_seen;
};

std::vector<quint32> merged(std::vector<quint32> a, const std::vector<quint32>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    std::sort(a.begin(), a.end());
    a.erase(std::unique(a.begin(), a.end()), a.end());
    return a;
}

} // namespace

std::optional<DictEntry> parseCedictLine(QStringView line)
{
    while (!line.isEmpty() && (line.back() == u'\n' || line.back() == u'\r' || line.back() == u' '))
        line.chop(1);
    if (line.isEmpty() || line.front() == u'#')
        return std::nullopt;
    if (std::any_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x20; }))
        return std::nullopt;
    const qsizetype first = line.indexOf(u' ');
    const qsizetype second = first > 0 ? line.indexOf(u' ', first + 1) : -1;
    if (second <= first + 1)
        return std::nullopt;
    const QStringView rest = line.sliced(second + 1);
    const qsizetype close = rest.indexOf(u']');
    if (!rest.startsWith(u'[') || close < 0)
        return std::nullopt;
    QStringView senses = rest.sliced(close + 1);
    if (senses.size() < 3 || !senses.startsWith(u" /") || !senses.endsWith(u'/'))
        return std::nullopt;
    senses = senses.sliced(2, senses.size() - 3);

    DictEntry e;
    e.traditional = line.first(first).toString();
    e.simplified = line.sliced(first + 1, second - first - 1).toString();
    e.pinyin = readingOf(rest.sliced(1, close - 1));
    for (const QStringView sense : senses.tokenize(u'/')) {
        if (!sense.trimmed().isEmpty())
            e.senses << sense.trimmed().toString();
    }
    if (e.senses.isEmpty())
        return std::nullopt;
    return e;
}

bool buildDictionaryIndex(const QString& cedictPath, const QString& indexPath, QString* error)
{
    QFile in(cedictPath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot read %1: %2").arg(cedictPath, in.errorString()));
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("cannot read %1: %2").arg(cedictPath, in.errorString()));

    struct Row {
        std::string key;
        quint32 rank;
        quint32 entry;
        bool operator<(const Row& o) const
        {
            return std::tie(key, rank, entry) < std::tie(o.key, o.rank, o.entry);
        }
    };
    std::array<std::vector<Row>, TableCount> rows;
    QByteArray licence;
    QByteArray text;
    std::vector<quint32> offsets;
    for (const QByteArrayView line : splitBytes(data, '\n')) {
        if (line.startsWith('#')) {
            licence += line.trimmed().toByteArray() + '\n';
            continue;
        }
        const std::optional<DictEntry> e = parseCedictLine(QString::fromUtf8(line));
        if (!e)
            continue;
        const auto entry = quint32(offsets.size());
        offsets.push_back(quint32(text.size()));
        text += e->traditional.toUtf8() + FieldSeparator + e->simplified.toUtf8() + FieldSeparator +
                e->pinyin.toUtf8() + FieldSeparator + e->senses.join(u'/').toUtf8();
        rows[Simplified].push_back({e->simplified.toStdString(), 0, entry});
        rows[Traditional].push_back({e->traditional.toStdString(), 0, entry});
        for (const bool toned : {true, false}) {
            std::string key = pinyinKey(e->pinyin, toned);
            if (!key.empty())
                rows[toned ? Toned : Toneless].push_back({std::move(key), 0, entry});
        }
        for (auto& [word, rank] : englishRanks(*e))
            rows[English].push_back({word, rank, entry});
    }
    if (offsets.empty())
        return fail(error, QStringLiteral("%1 holds no dictionary entries").arg(cedictPath));
    offsets.push_back(quint32(text.size()));

    std::array<quint32, HeaderFields> header{};
    QByteArray out(qsizetype(HeaderSize), '\0');
    const auto put32 = [&out](quint32 v) {
        char bytes[4];
        qToLittleEndian(v, bytes);
        out.append(bytes, 4);
    };
    const auto section = [&out](QByteArrayView bytes) {
        while (out.size() % 4)
            out.append('\0');
        const auto at = quint32(out.size());
        out.append(bytes);
        return std::pair(at, quint32(bytes.size()));
    };
    header[Version] = FormatVersion;
    header[EntryCount] = quint32(offsets.size() - 1);
    std::tie(header[LicenceAt], header[LicenceSize]) = section(licence);
    std::tie(header[OffsetsAt], std::ignore) = section({});
    for (const quint32 offset : offsets)
        put32(offset);
    std::tie(header[TextAt], header[TextSize]) = section(text);
    for (int t = 0; t < TableCount; ++t) {
        std::vector<Row>& table = rows[t];
        std::sort(table.begin(), table.end());
        QByteArray keys;
        std::vector<quint32> postings;
        std::vector<std::pair<quint32, quint32>> records;
        for (size_t i = 0; i < table.size(); ++i) {
            if (i == 0 || table[i].key != table[i - 1].key) {
                records.emplace_back(quint32(keys.size()), quint32(postings.size()));
                keys.append(table[i].key.data(), qsizetype(table[i].key.size()));
            }
            postings.push_back(table[i].entry);
        }
        records.emplace_back(quint32(keys.size()), quint32(postings.size()));
        quint32* field = header.data() + TablesAt + t * TableFields;
        field[KeyCount] = quint32(records.size() - 1);
        std::tie(field[RecordsAt], std::ignore) = section({});
        for (const auto& [keyAt, postingAt] : records) {
            put32(keyAt);
            put32(postingAt);
        }
        std::tie(field[KeysAt], field[KeysSize]) = section(keys);
        std::tie(field[PostingsAt], std::ignore) = section({});
        for (const quint32 p : postings)
            put32(p);
        field[PostingCount] = quint32(postings.size());
    }
    if (quint64(out.size()) > 0xffffffffu) // every offset is 32 bits wide
        return fail(error, QStringLiteral("%1 is too large for an index").arg(cedictPath));
    header[FileSize] = quint32(out.size());
    std::memcpy(out.data(), Magic, sizeof(Magic));
    for (int i = 0; i < HeaderFields; ++i)
        qToLittleEndian(header[i], out.data() + sizeof(Magic) + 4 * i);

    QString why;
    if (!replaceFile(indexPath, out, &why))
        return fail(error, QStringLiteral("cannot write %1: %2").arg(indexPath, why));
    return true;
}

struct Dictionary::Index {
    struct TableView {
        quint32 keys = 0;
        const uchar* records = nullptr;
        const uchar* keyBytes = nullptr;
        quint32 keyBytesSize = 0;
        const uchar* postings = nullptr;
        quint32 postingCount = 0;
    };

    QFile file;
    quint32 entryCount = 0;
    const uchar* offsets = nullptr;
    const uchar* text = nullptr;
    quint32 textSize = 0;
    std::array<TableView, TableCount> tables;

    // The key of record i; a damaged record reads as the empty key.
    QByteArrayView key(int t, quint32 i) const
    {
        const TableView& v = tables[t];
        if (i >= v.keys)
            return {};
        const quint32 from = read32(v.records + 8 * quint64(i));
        const quint32 to = read32(v.records + 8 * (quint64(i) + 1));
        if (from > to || to > v.keyBytesSize)
            return {};
        return {v.keyBytes + from, qsizetype(to - from)};
    }

    // The entries of record i, in the order the table keeps them; none when damaged.
    std::vector<quint32> postings(int t, quint32 i) const
    {
        const TableView& v = tables[t];
        std::vector<quint32> ids;
        if (i >= v.keys)
            return ids;
        const quint32 from = read32(v.records + 8 * quint64(i) + 4);
        const quint32 to = read32(v.records + 8 * (quint64(i) + 1) + 4);
        if (from > to || to > v.postingCount)
            return ids;
        ids.reserve(to - from);
        for (quint32 p = from; p < to; ++p)
            ids.push_back(read32(v.postings + 4 * quint64(p)));
        return ids;
    }

    quint32 lowerBound(int t, QByteArrayView k) const
    {
        quint32 lo = 0;
        quint32 hi = tables[t].keys;
        while (lo < hi) {
            const quint32 mid = lo + (hi - lo) / 2;
            if (key(t, mid) < k)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    std::vector<quint32> exact(int t, QByteArrayView k) const
    {
        const quint32 i = lowerBound(t, k);
        return i < tables[t].keys && key(t, i) == k ? postings(t, i) : std::vector<quint32>();
    }

    // The entries whose headword is these characters, simplified or traditional.
    std::vector<quint32> headword(QByteArrayView characters) const
    {
        return merged(exact(Simplified, characters), exact(Traditional, characters));
    }

    // The records whose keys start with prefix and are longer, as (table, record).
    void longerKeys(int t, QByteArrayView prefix, std::vector<std::pair<int, quint32>>& found) const
    {
        for (quint32 i = lowerBound(t, prefix); i < tables[t].keys; ++i) {
            const QByteArrayView k = key(t, i);
            if (!startsWith(k, prefix))
                break;
            if (k.size() > prefix.size())
                found.emplace_back(t, i);
        }
    }

    QByteArrayView entryText(quint32 id) const
    {
        if (id >= entryCount)
            return {};
        const quint32 from = read32(offsets + 4 * quint64(id));
        const quint32 to = read32(offsets + 4 * (quint64(id) + 1));
        if (from > to || to > textSize)
            return {};
        return {text + from, qsizetype(to - from)};
    }

    std::optional<DictEntry> entry(quint32 id) const
    {
        const QByteArrayView bytes = entryText(id);
        const QList<QByteArrayView> fields = splitBytes(bytes, FieldSeparator);
        if (fields.size() != 4)
            return std::nullopt;
        DictEntry e{QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]),
                    QString::fromUtf8(fields[3]).split(u'/', Qt::SkipEmptyParts)};
        return e;
    }

    QByteArrayView pinyinOf(quint32 id) const
    {
        // The third field, found without splitting: the check asks this of every word.
        const QByteArrayView t = entryText(id);
        const qsizetype a = t.indexOf(FieldSeparator);
        const qsizetype b = a < 0 ? -1 : t.indexOf(FieldSeparator, a + 1);
        const qsizetype c = b < 0 ? -1 : t.indexOf(FieldSeparator, b + 1);
        return c < 0 ? QByteArrayView() : t.sliced(b + 1, c - b - 1);
    }

    // 0 when a gloss of the entry is the phrase, 1 when a sense holds its words in a
    // row, else 2.
    int phraseRank(quint32 id, const QStringList& phrase, const QStringList& core) const
    {
        const std::optional<DictEntry> e = entry(id);
        int rank = 2;
        for (const QString& sense : e ? e->senses : QStringList()) {
            for (const QStringView gloss : glossesOf(sense)) {
                if (glossCore(gloss) == core)
                    return 0;
            }
            const QStringList words = englishWords(sense);
            for (qsizetype i = 0; i + phrase.size() <= words.size() && rank > 1; ++i)
                rank = std::equal(phrase.begin(), phrase.end(), words.begin() + i) ? 1 : rank;
        }
        return rank;
    }

    // Entries whose senses hold every word of the query, as whole words. One word: in
    // the order the index ranks them (a gloss that is just the word, then short glosses
    // first). Several: in the rarest word's order, the phrase itself first.
    void addEnglish(const QString& query, Results& results) const
    {
        const QStringList phrase = englishWords(query);
        const QStringList core = glossCore(query);
        QStringList words = phrase;
        words.removeDuplicates();
        if (words.isEmpty() || results.full())
            return;
        std::vector<std::vector<quint32>> lists;
        for (const QString& w : words) {
            lists.push_back(exact(English, w.toUtf8()));
            if (lists.back().empty())
                return;
        }
        std::sort(lists.begin(), lists.end(),
                  [](const auto& a, const auto& b) { return a.size() < b.size(); });
        if (lists.size() == 1) {
            results.addAll(lists.front());
            return;
        }
        // Counted per entry in a plain array: the common words have tens of thousands.
        std::vector<quint32> hits(entryCount);
        for (const std::vector<quint32>& list : lists) {
            for (const quint32 id : list) {
                if (id < entryCount)
                    ++hits[id];
            }
        }
        // Reading the senses costs, so only twice as many as asked for are ranked by the
        // phrase; the rest keep the rarest word's order.
        std::vector<std::pair<int, quint32>> ranked;
        for (const quint32 id : lists.front()) {
            if (id < entryCount && hits[id] == lists.size())
                ranked.emplace_back(ranked.size() < 2 * results.limit() ? phraseRank(id, phrase, core) : 2,
                                    id);
        }
        std::stable_sort(ranked.begin(), ranked.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [rank, id] : ranked)
            results.add(id);
    }
};

Dictionary::Dictionary() = default;
Dictionary::~Dictionary() = default;

bool Dictionary::open(const QString& indexPath, QString* error)
{
    m_index.reset();
    auto index = std::make_unique<Index>();
    QFile& f = index->file;
    f.setFileName(indexPath);
    if (!f.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("cannot open %1: %2").arg(indexPath, f.errorString()));
    const qint64 size = f.size();
    if (quint64(size) < HeaderSize || size > 0xffffffffLL)
        return fail(error,
                    QStringLiteral("%1 is not a dictionary index: it has %2 bytes").arg(indexPath).arg(size));
    const uchar* base = f.map(0, size);
    if (!base)
        return fail(error, QStringLiteral("cannot map %1: %2").arg(indexPath, f.errorString()));
    if (std::memcmp(base, Magic, sizeof(Magic)) != 0)
        return fail(error, QStringLiteral("%1 is not a dictionary index").arg(indexPath));
    std::array<quint32, HeaderFields> h;
    for (int i = 0; i < HeaderFields; ++i)
        h[i] = read32(base + sizeof(Magic) + 4 * i);
    if (h[Version] != FormatVersion)
        return fail(error, QStringLiteral("%1 is an index of format %2; this program reads format %3")
                               .arg(indexPath)
                               .arg(h[Version])
                               .arg(FormatVersion));
    if (h[FileSize] != quint64(size))
        return fail(error, QStringLiteral("%1 is cut short or damaged: it has %2 bytes of %3")
                               .arg(indexPath)
                               .arg(size)
                               .arg(h[FileSize]));
    // Each section lies after the header and inside the file; counts are widened so that
    // no product wraps round.
    const auto inside = [&](quint32 at, quint64 bytes) {
        return at >= HeaderSize && at + bytes <= quint64(size);
    };
    const auto damaged = [&](const QString& what) {
        return fail(error, QStringLiteral("%1 is damaged: its %2 lie outside the file").arg(indexPath, what));
    };
    if (!inside(h[LicenceAt], h[LicenceSize]))
        return damaged(QStringLiteral("licence lines"));
    if (!inside(h[OffsetsAt], (quint64(h[EntryCount]) + 1) * 4) || !inside(h[TextAt], h[TextSize]))
        return damaged(QStringLiteral("entries"));
    index->entryCount = h[EntryCount];
    index->offsets = base + h[OffsetsAt];
    index->text = base + h[TextAt];
    index->textSize = h[TextSize];
    for (int t = 0; t < TableCount; ++t) {
        const quint32* field = h.data() + TablesAt + t * TableFields;
        if (!inside(field[RecordsAt], (quint64(field[KeyCount]) + 1) * 8) ||
            !inside(field[KeysAt], field[KeysSize]) ||
            !inside(field[PostingsAt], quint64(field[PostingCount]) * 4))
            return damaged(QLatin1String(TableNames[t]));
        index->tables[t] = {field[KeyCount], base + field[RecordsAt],  base + field[KeysAt],
                            field[KeysSize], base + field[PostingsAt], field[PostingCount]};
    }
    m_index = std::move(index);
    return true;
}

bool Dictionary::isOpen() const
{
    return m_index != nullptr;
}

int Dictionary::size() const
{
    return m_index ? int(m_index->entryCount) : 0;
}

QList<DictEntry> Dictionary::lookup(const QString& query, int limit) const
{
    const QString q = query.trimmed();
    if (!m_index || limit <= 0 || q.isEmpty())
        return {};
    const Index& index = *m_index;
    Results results(limit);
    // The headword itself first, also for those without Han characters (3C, DNA).
    const QByteArray chars = q.toUtf8();
    results.addAll(index.headword(chars));

    // Longer keys: shortest first, then in key order.
    const auto addLonger = [&](std::initializer_list<int> tables, QByteArrayView prefix, auto&& keep) {
        std::vector<std::pair<int, quint32>> found;
        for (const int t : tables)
            index.longerKeys(t, prefix, found);
        std::vector<std::tuple<qsizetype, QByteArrayView, int, quint32>> order;
        order.reserve(found.size());
        for (const auto& [t, i] : found) {
            const QByteArrayView k = index.key(t, i);
            order.emplace_back(codePoints(k), k, t, i);
        }
        std::sort(order.begin(), order.end());
        for (const auto& [length, k, t, i] : order) {
            if (results.full())
                break;
            for (const quint32 id : index.postings(t, i)) {
                if (keep(id))
                    results.add(id);
            }
        }
    };
    const auto any = [](quint32) { return true; };

    if (hasCjk(q)) {
        addLonger({Simplified, Traditional}, chars, any);
    } else {
        if (const std::optional<PinyinQuery> pinyin = pinyinQuery(q); pinyin && !pinyin->key.empty()) {
            const int table = pinyin->toned ? Toned : Toneless;
            const auto tones = [&](quint32 id, bool whole) {
                if (pinyin->marks.empty())
                    return true;
                const std::string have = tonesOf(index.pinyinOf(id));
                return whole ? have == pinyin->marks : have.rfind(pinyin->marks, 0) == 0;
            };
            const QByteArrayView key(pinyin->key.data(), qsizetype(pinyin->key.size()));
            for (const quint32 id : index.exact(table, key)) {
                if (tones(id, true))
                    results.add(id);
            }
            addLonger({table}, key, [&](quint32 id) { return tones(id, false); });
        }
        index.addEnglish(q, results);
    }

    QList<DictEntry> entries;
    for (const quint32 id : results.ids()) {
        if (std::optional<DictEntry> e = index.entry(id))
            entries << std::move(*e);
    }
    return entries;
}

QList<DictEntry> Dictionary::byCharacters(const QString& characters) const
{
    QList<DictEntry> entries;
    if (!m_index || characters.isEmpty())
        return entries;
    for (const quint32 id : m_index->headword(characters.toUtf8())) {
        if (std::optional<DictEntry> e = m_index->entry(id))
            entries << std::move(*e);
    }
    return entries;
}

QStringList Dictionary::readings(const QString& characters) const
{
    QStringList found;
    if (!m_index || characters.isEmpty())
        return found;
    for (const quint32 id : m_index->headword(characters.toUtf8())) {
        const QString reading = QString::fromUtf8(m_index->pinyinOf(id));
        if (!found.contains(reading))
            found << reading;
    }
    return found;
}

const Dictionary* programDictionary(QString* error)
{
    // One dictionary per path, kept to the end: a pointer handed out (to a background
    // thread, say) stays valid when the program folder changes, as it does between tests.
    // A file that cannot be opened is tried again at the next call.
    static QMutex mutex;
    static std::map<QString, std::unique_ptr<Dictionary>> opened;
    const QString path = programFile(QStringLiteral("cedict.idx"));
    const QMutexLocker lock(&mutex);
    if (const auto it = opened.find(path); it != opened.end())
        return it->second.get();
    auto dictionary = std::make_unique<Dictionary>();
    if (!dictionary->open(path, error))
        return nullptr;
    return (opened[path] = std::move(dictionary)).get();
}

} // namespace tavi
