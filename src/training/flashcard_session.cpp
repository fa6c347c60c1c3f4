// Flashcard rounds.
#include "training/flashcard_session.h"

#include "core/numbers.h"

#include <algorithm>

namespace tavi {

void FlashcardSession::start(int studyCount)
{
    m_studyCount = std::max(studyCount, -1);
    m_answers.assign(static_cast<size_t>(m_studyCount + 1), Answer::Unset);
    m_answeredCount = 0;
    m_knownCount = 0;
    m_roundNumber = 1;
    m_roundSize = m_studyCount + 1;
    m_pos = 0;
}

bool FlashcardSession::seekCard()
{
    while (m_pos <= m_studyCount && m_answers[m_pos] == Answer::Known)
        ++m_pos;
    return hasCard();
}

void FlashcardSession::answer(bool known)
{
    if (!hasCard())
        return;
    m_answers[m_pos] = known ? Answer::Known : Answer::NotKnown;
    if (known)
        ++m_knownCount;
    ++m_answeredCount;
    ++m_pos;
}

void FlashcardSession::nextRound()
{
    m_roundSize = static_cast<int>(
        std::count_if(m_answers.begin(), m_answers.end(), [](Answer a) { return a != Answer::Known; }));
    m_answeredCount = 0;
    m_knownCount = 0;
    m_pos = 0;
}

QString changedLevel(const QString& level, int step)
{
    const auto value = parseNumber(level);
    const double moved = (value ? roundHalfEven(*value) : 0.0) + step;
    return QString::number(static_cast<int>(std::clamp(moved, 0.0, 9.0)));
}

} // namespace tavi
