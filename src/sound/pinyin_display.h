// How pinyin is shown: as stored (tone digits) or with tone marks, and each syllable,
// perhaps each character, in the colour of its tone. What is stored never changes; every
// window that shows pinyin asks here, so that all of them show it alike.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <array>

namespace tavi {

// A stretch of shown text that carries one tone: 1 to 4, or 5 for the neutral tone.
struct ToneRun {
    int start = 0;
    int length = 0;
    int tone = 5;
    bool operator==(const ToneRun&) const = default;
};

struct ShownPinyin {
    QString text;
    QList<ToneRun> runs; // one per syllable; empty when the text is not pinyin with digits
};

// The stored pinyin as shown: with marks (ni3hao3 → nǐhǎo) or with its digits. Text that is
// not pinyin with tone digits throughout (a translation in the pinyin column, a syllable
// without a digit) comes back unchanged and without runs.
ShownPinyin showPinyin(const QString& stored, bool marks);
inline QString pinyinWithMarks(const QString& stored)
{
    return showPinyin(stored, true).text;
}
// The way back: nǐhǎo → ni3hao3, lǜ → lv4; a syllable without a mark gets the neutral 0.
// Syllables written together are told apart with the standard syllable list.
QString pinyinWithDigits(const QString& marked);

// The runs of the characters: one per Han character, in the tones of the syllables, when
// there are as many Han characters as syllables; otherwise none.
QList<ToneRun> characterRuns(const QString& characters, const QList<ToneRun>& syllables);

// 0xRRGGBB colours of the tones 1, 2, 3, 4 and the neutral tone.
using ToneColours = std::array<quint32, 5>;

// The display setting in tavi.ini.
struct PinyinDisplay {
    enum Scheme { Off = 0, Pleco = 1, Hanping = 2, Mdbg = 3, Custom = 4 };
    bool marks = false;      // display_pinyin_marks
    int scheme = Off;        // display_tone_colours
    bool characters = false; // display_tone_chars
    ToneColours custom{};    // display_tone_custom: "#rrggbb,..." tones 1-4 then neutral

    // The colours of the chosen scheme (the custom ones for Custom).
    ToneColours colours() const;
    static ToneColours schemeColours(int scheme);
    bool coloured() const { return scheme != Off; }

    static PinyinDisplay read();
    void write() const;
    bool operator==(const PinyinDisplay&) const = default;
};

// "#rrggbb,#rrggbb,..." and back; a text that is not five colours reads as Pleco's.
QString toneColoursText(const ToneColours& colours);
ToneColours toneColoursFromText(const QString& text);

// The setting of this run; changing it tells every open window at once.
class PinyinDisplayNotifier : public QObject {
    Q_OBJECT
public:
    static PinyinDisplayNotifier& instance();
    const PinyinDisplay& current() const { return m_current; }
    // Reads tavi.ini anew (at start and when the program folder changes).
    void reload();
    // Stores the setting and tells the windows.
    void set(const PinyinDisplay& display);

Q_SIGNALS:
    void changed();

private:
    PinyinDisplay m_current;
};

inline const PinyinDisplay& pinyinDisplay()
{
    return PinyinDisplayNotifier::instance().current();
}

// Rich text for a label: the text, HTML-escaped, each run in its tone's colour.
QString toneHtml(const QString& text, const QList<ToneRun>& runs, const ToneColours& colours);

} // namespace tavi
