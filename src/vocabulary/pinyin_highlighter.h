// Tone colours in the vocabulary editor: each syllable of a line's pinyin, and the
// characters when the learner wants them too, in the colour of its tone while typing.
// Only the look changes; what the editor saves is the text as typed.
#pragma once

#include "sound/pinyin_display.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

namespace tavi {

class PinyinHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    // Owned by the document; colours it from the start when the setting says so.
    explicit PinyinHighlighter(QTextDocument* document);

    // Follows the display setting: colours every line anew, or takes the colours off.
    void displayChanged();

protected:
    void highlightBlock(const QString& text) override;

private:
    void useColours(const ToneColours& colours);
    void colour(qsizetype offset, const QList<ToneRun>& runs);

    QTextDocument* m_text; // the document coloured whenever colours are on
    ToneColours m_colours{};
    std::array<QTextCharFormat, 5> m_formats; // tones 1 to 4, then neutral
};

} // namespace tavi
