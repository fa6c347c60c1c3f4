// The tick rule. A cycle lasts E + 1 ticks (E = until + for): question at tick 0, whole
// card at tick U, and the counter wraps after E. A counter beyond E (the times were
// shortened during a run) wraps at once.
#include "training/auto_flash_ticker.h"

#include "core/numbers.h"

#include <optional>

namespace tavi {

namespace {

constexpr int MaxTime = 32767;

std::optional<int> timeValue(QStringView text)
{
    const auto value = parseWholeNumber(text);
    if (!value || *value < 0 || *value > MaxTime)
        return std::nullopt;
    return *value;
}

} // namespace

void AutoFlashTicker::start()
{
    m_roundNumber = 1;
    m_vocPos = -1;
}

bool AutoFlashTicker::readTimes(QStringView untilSolution, QStringView forSolution)
{
    const auto until = timeValue(untilSolution);
    const auto forSol = timeValue(forSolution);
    const int newUntil = until.value_or(m_secsUntilSolution);
    const int newFor = forSol.value_or(m_secsForSolution);
    if (newUntil + newFor > MaxTime)
        return false;
    m_secsUntilSolution = newUntil;
    m_secsForSolution = newFor;
    return until && forSol;
}

AutoFlashTicker::Step AutoFlashTicker::tick(int studyCount)
{
    const int until = m_secsUntilSolution;
    const int end = until + m_secsForSolution;
    Step step{m_tick, Action::None};
    if (m_tick == 0) {
        ++m_vocPos;
        if (m_vocPos <= studyCount) {
            step.action = Action::Question;
        } else {
            ++m_roundNumber;
            m_vocPos = -1;
            step.action = Action::EndOfPass;
        }
    } else if (m_tick == until) {
        if (m_vocPos >= 0 && m_vocPos <= studyCount)
            step.action = Action::Solution;
    } else if (m_tick == end) {
        m_tick = -1;
    }
    if (m_tick > end)
        m_tick = -1;
    ++m_tick;
    return step;
}

} // namespace tavi
