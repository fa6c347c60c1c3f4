// The editor's tone colours. A file may hold 100,000 words and every line passes through
// here when the text is set or refreshed, so a line is read in place: views into the
// block's text, no pattern matching, the formats made once per colour scheme.
//
// Without colours the highlighter stays off the document altogether: Qt would otherwise
// still go over every line of a large file for nothing.
#include "vocabulary/pinyin_highlighter.h"

#include <QTextDocument>
#include <algorithm>

namespace tavi {

namespace {

// A field of a word line: where it starts in the line and how long it is, without the
// blanks around it, as the parser reads it.
struct Field {
    qsizetype start = 0;
    qsizetype size = 0;
};

// The field from position (the line's start or just past a "+") to the next "+";
// position moves past that "+", or to -1 after the last field.
Field nextField(QStringView line, qsizetype& position)
{
    const qsizetype plus = line.indexOf(u'+', position);
    qsizetype begin = position;
    qsizetype end = plus < 0 ? line.size() : plus;
    position = plus < 0 ? -1 : plus + 1;
    while (begin < end && line[begin] == u' ')
        ++begin;
    while (end > begin && line[end - 1] == u' ')
        --end;
    return {begin, end - begin};
}

// The field's text without a copy; it lives as long as the block's text.
QString fieldText(const QString& line, Field f)
{
    return QString::fromRawData(line.constData() + f.start, f.size);
}

// A level: digits or nothing, the way a word line starts and the header does not.
bool isLevel(QStringView field)
{
    const QStringView level = field.trimmed();
    return std::all_of(level.begin(), level.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

PinyinHighlighter::PinyinHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(static_cast<QObject*>(document)), m_text(document)
{
    displayChanged();
}

void PinyinHighlighter::displayChanged()
{
    const bool coloured = pinyinDisplay().coloured();
    if (!coloured && !document())
        return;
    // Lines laid out already would be laid out again one by one as their colours
    // change; dropping every layout at once leaves that to the lines painted.
    m_text->markContentsDirty(0, m_text->characterCount());
    if (!coloured) {
        setDocument(nullptr); // which takes the colours off every line
        return;
    }
    if (!document())
        setDocument(m_text);
    rehighlight();
}

void PinyinHighlighter::highlightBlock(const QString& text)
{
    const PinyinDisplay& display = pinyinDisplay();
    if (!display.coloured())
        return;
    const QStringView line(text);
    qsizetype position = line.indexOf(u'+');
    if (position < 0)
        return; // no word line
    // The first line is the header unless it starts with a level, as for the parser.
    if (!isLevel(line.first(position)) && currentBlock().blockNumber() == 0)
        return;
    ++position;
    const Field pinyin = nextField(line, position);
    const QList<ToneRun> syllables = showPinyin(fieldText(text, pinyin), false).runs;
    if (syllables.isEmpty())
        return; // a translation in the pinyin column, or pinyin still being typed
    useColours(display.colours());
    colour(pinyin.start, syllables);
    if (display.characters && position >= 0) {
        const Field characters = nextField(line, position);
        colour(characters.start, characterRuns(fieldText(text, characters), syllables));
    }
}

void PinyinHighlighter::useColours(const ToneColours& colours)
{
    if (colours == m_colours && m_formats[0].hasProperty(QTextFormat::ForegroundBrush))
        return; // made for these colours already
    m_colours = colours;
    for (size_t tone = 0; tone < m_formats.size(); ++tone) {
        // One format per tone, shared by every run: Qt compares formats by their shared
        // data first, and merges neighbouring runs of one tone into one range.
        m_formats[tone] = QTextCharFormat();
        m_formats[tone].setForeground(QColor::fromRgb(QRgb(0xff000000u | colours[tone])));
    }
}

void PinyinHighlighter::colour(qsizetype offset, const QList<ToneRun>& runs)
{
    for (const ToneRun& run : runs)
        setFormat(int(offset) + run.start, run.length, m_formats[size_t(run.tone - 1)]);
}

} // namespace tavi
