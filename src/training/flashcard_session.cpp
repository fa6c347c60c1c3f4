// Flashcard rounds.
#include "training/flashcard_session.h"

#include "core/numbers.h"
#include "vocabulary/word_table.h"

#include <algorithm>
#include <utility>

namespace tavi {

void FlashcardSession::start(int studyCount, std::vector<int> startLevels)
{
    m_studyCount = std::max(studyCount, -1);
    m_started = true;
    m_now = State{};
    m_now.answers.assign(static_cast<size_t>(m_studyCount + 1), Answer::Unset);
    m_now.roundSize = m_studyCount + 1;
    m_beforeAnswer.reset();
    m_startLevels = std::move(startLevels);
    m_clock.start();
}

bool FlashcardSession::seekCard()
{
    while (m_now.pos <= m_studyCount && m_now.answers[m_now.pos] == Answer::Known)
        ++m_now.pos;
    return hasCard();
}

void FlashcardSession::answer(bool known)
{
    if (!hasCard())
        return;
    m_beforeAnswer = m_now;
    m_levelBeforeAnswer = {};
    m_now.answers[m_now.pos] = known ? Answer::Known : Answer::NotKnown;
    if (known) {
        ++m_now.knownCount;
        if (m_now.roundNumber == 1)
            ++m_now.firstTry;
    }
    ++m_now.answeredCount;
    ++m_now.pos;
    // Only a round whose every word was known brings the count up to its size; an undo
    // takes this back with the rest of the answer, and the clock runs on.
    if (finished())
        m_now.finishedAtMs = m_clock.elapsed();
}

LevelChange FlashcardSession::answer(bool known, int row, const QString& level)
{
    if (!hasCard())
        return {};
    answer(known);
    m_levelBeforeAnswer = {row, level};
    return {row, row >= 0 ? changedLevel(level, known ? 1 : -1) : QString()};
}

std::optional<LevelChange> FlashcardSession::undo()
{
    if (!m_beforeAnswer)
        return std::nullopt;
    m_now = std::move(*m_beforeAnswer);
    m_beforeAnswer.reset();
    return std::exchange(m_levelBeforeAnswer, {});
}

void FlashcardSession::nextRound()
{
    m_now.roundSize = static_cast<int>(std::count_if(m_now.answers.begin(), m_now.answers.end(),
                                                     [](Answer a) { return a != Answer::Known; }));
    m_now.answeredCount = 0;
    m_now.knownCount = 0;
    m_now.pos = 0;
}

TrainingSummary FlashcardSession::summary(const std::vector<int>& levelsNow) const
{
    TrainingSummary s;
    s.trained = static_cast<int>(std::count_if(m_now.answers.begin(), m_now.answers.end(),
                                               [](Answer a) { return a != Answer::Unset; }));
    s.firstTry = m_now.firstTry;
    const size_t n = std::min(levelsNow.size(), m_startLevels.size());
    for (size_t i = 0; i < n; ++i) {
        s.levelsUp += levelsNow[i] > m_startLevels[i];
        s.levelsDown += levelsNow[i] < m_startLevels[i];
    }
    qint64 ms = m_now.finishedAtMs;
    if (ms < 0)
        ms = m_clock.isValid() ? m_clock.elapsed() : 0;
    s.seconds = ms / 1000;
    return s;
}

QString changedLevel(const QString& level, int step)
{
    const auto value = parseNumber(level);
    const double moved = (value ? roundHalfEven(*value) : 0.0) + step;
    return QString::number(static_cast<int>(std::clamp(moved, 0.0, 9.0)));
}

std::vector<int> studyLevels()
{
    std::vector<int> levels(static_cast<size_t>(std::max(StudyCount + 1, 0)), 0);
    for (size_t i = 0; i < levels.size(); ++i) {
        const int row = studyRow(static_cast<int>(i));
        if (row < 0)
            continue;
        if (const auto value = parseNumber(VocTable[row][CTR]))
            levels[i] = static_cast<int>(std::clamp(roundHalfEven(*value), -1e6, 1e6));
    }
    return levels;
}

QString summaryText(const QString& pattern, const TrainingSummary& s)
{
    const QString time =
        QStringLiteral("%1:%2").arg(s.seconds / 60).arg(s.seconds % 60, 2, 10, QLatin1Char('0'));
    return QString(pattern).arg(s.trained).arg(s.firstTry).arg(s.levelsUp).arg(s.levelsDown).arg(time);
}

} // namespace tavi
