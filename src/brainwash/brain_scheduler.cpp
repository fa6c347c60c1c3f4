// The brainwash steps. A word takes 2p + 1 ticks with every step shown: characters at
// tick 0, pinyin at p, translation at 2p. A step whose box is cleared hands over to the
// next one within the same tick, so the step that is shown keeps its full time. Each
// step runs at most once per tick: with all three boxes cleared the tick ends after one
// pass with an empty box instead of handing over for ever.
#include "brainwash/brain_scheduler.h"

#include "core/app_state.h"
#include "sound/missing_sound_log.h"
#include "vocabulary/word_table.h"

#include <algorithm>

namespace tavi {

QPoint floatPosition(const QRect& foregroundFrame, int floatWidthTwips, int buttonsWidthTwips)
{
    const int right = (foregroundFrame.x() + foregroundFrame.width()) * TwipsPerPixel;
    const int left = right - floatWidthTwips - buttonsWidthTwips / 2;
    return {qRound(double(left) / TwipsPerPixel), foregroundFrame.y()};
}

QPoint fallbackPosition(FloatPlace place, const QRect& screen, const QSize& size,
                        const std::optional<QPoint>& dragged)
{
    const int left = screen.left();
    const int right = screen.left() + screen.width() - size.width();
    const int top = screen.top();
    const int bottom = screen.top() + screen.height() - size.height();
    switch (place) {
    case FloatPlace::TopLeft:
        return {left, top};
    case FloatPlace::TopRight:
        return {right, top};
    case FloatPlace::BottomLeft:
        return {left, bottom};
    case FloatPlace::BottomRight:
        return {right, bottom};
    case FloatPlace::Dragged:
        if (dragged)
            return {std::clamp(dragged->x(), left, std::max(left, right)),
                    std::clamp(dragged->y(), top, std::max(top, bottom))};
        break;
    case FloatPlace::TopCentre:
        break;
    }
    return {left + (screen.width() - size.width()) / 2, top};
}

struct BrainScheduler::Pass {
    const Options& options;
    int studyCount;
    bool floatShown;
    int ran = 0; // the stages run in this tick
    QString speak;
};

bool BrainScheduler::setPeriode(QStringView text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > MaxPeriode)
        return false;
    m_periode = value;
    return true;
}

void BrainScheduler::start()
{
    m_vocPos = -1;
    m_tick = 0;
}

BrainScheduler::Step BrainScheduler::tick(const Options& options, int studyCount, bool floatShown)
{
    Step step{m_tick, {}};
    Pass pass{options, studyCount, floatShown, 0, {}};
    const int p = m_periode;
    if (m_tick == 0) {
        characters_step(pass);
    } else if (m_tick == p) {
        pinyin_step(pass);
    } else if (m_tick == 2 * p) {
        translation_step(pass);
    } else if (m_tick > 2 * p) {
        // The interval was lowered during the run: the next word starts now.
        m_tick = 0;
        characters_step(pass);
    } else {
        ++m_tick;
    }
    step.speak = pass.speak;
    return step;
}

void BrainScheduler::characters_step(Pass& pass)
{
    if (pass.ran & Characters) {
        m_tick = 0; // every box is cleared: this tick ends with the empty box
        return;
    }
    pass.ran |= Characters;
    m_wordEng.clear();
    m_wordChin.clear();
    m_wordPinyin.clear();
    m_box.text.clear();
    switch (m_colorStep) {
    case 0:
        m_box.colour = Colour::Red;
        break;
    case 1:
        m_box.colour = Colour::Black;
        break;
    case 2:
        m_box.colour = Colour::Blue;
        m_colorStep = -1;
        break;
    default:
        break;
    }
    ++m_colorStep;

    ++m_vocPos;
    if (m_vocPos > pass.studyCount) {
        m_vocPos = -1;
        m_tick = 0;
        return;
    }
    if (const int row = studyRow(m_vocPos); row >= 0) {
        const VocRow& word = VocTable[row];
        m_wordEng = word[TRANSLATION];
        m_wordChin = word[CHAR];
        m_wordPinyin = word[PINYIN];
    }
    if (pass.options.chin) {
        show(m_wordChin, ChineseFont, size_chin, Shows::Characters);
        m_tick = 1;
    } else {
        m_tick = m_periode;
        pinyin_step(pass);
    }
}

void BrainScheduler::pinyin_step(Pass& pass)
{
    if (pass.ran & Pinyin) {
        m_tick = 0;
        return;
    }
    pass.ran |= Pinyin;
    if (pass.options.pinyin) {
        show(m_wordPinyin, QStringLiteral("Arial"), size_other, Shows::Pinyin);
        m_tick = m_periode + 1;
    } else {
        m_tick = 2 * m_periode;
        translation_step(pass);
    }
    // Recorded before speaking, so that a missing sound is logged with its word.
    if (const int row = studyRow(m_vocPos); row >= 0)
        CurrentCharacter = VocTable[row][CHAR];
    if (pass.options.sound && pass.floatShown && !m_wordPinyin.isEmpty())
        pass.speak = m_wordPinyin;
}

void BrainScheduler::translation_step(Pass& pass)
{
    if (pass.ran & Translation) {
        m_tick = 0;
        return;
    }
    pass.ran |= Translation;
    if (pass.options.eng) {
        show(m_wordEng, QStringLiteral("Arial"), size_other);
        m_tick = 0;
    } else {
        m_tick = 0;
        characters_step(pass);
    }
}

void BrainScheduler::show(const QString& text, const QString& fontName, int fontSize, Shows shows)
{
    m_box.text = text;
    m_box.shows = shows;
    m_box.pinyin = m_wordPinyin;
    m_box.fontName = fontName;
    m_box.fontSize = fontSize;
}

} // namespace tavi
