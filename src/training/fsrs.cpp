// FSRS-5 as its reference implementation computes the values its tests publish: the
// power forgetting curve R(t, S) = (1 + F t / S)^D with D = -0.5 and F = 19/81, so that
// R(S, S) = 0.9; a lapse never raises the stability; the difficulty moves by the grade
// and reverts slightly towards the first-Easy difficulty.
#include "training/fsrs.h"

#include <algorithm>
#include <cmath>

namespace tavi::fsrs {

namespace {

constexpr double Decay = -0.5;
constexpr double Factor = 19.0 / 81.0;
constexpr double MinStability = 0.01;
constexpr double MaxStability = 36500;

double clampStability(double s)
{
    return std::clamp(s, MinStability, MaxStability);
}

} // namespace

double Model::retrievability(double stability, double elapsedDays)
{
    return std::pow(1 + Factor * elapsedDays / stability, Decay);
}

double Model::interval(double stability, double desiredRetention)
{
    return stability / Factor * (std::pow(desiredRetention, 1 / Decay) - 1);
}

MemoryState Model::first(Grade grade) const
{
    const int g = int(grade);
    return {clampStability(m_w[g - 1]), std::clamp(m_w[4] - std::exp(m_w[5] * (g - 1)) + 1, 1.0, 10.0)};
}

MemoryState Model::next(const MemoryState& state, int elapsedDays, Grade grade) const
{
    const int g = int(grade);
    const double s = state.stability;
    const double d = state.difficulty;
    double stability;
    if (elapsedDays == 0) {
        stability = s * std::exp(m_w[17] * (g - 3 + m_w[18]));
    } else {
        const double r = retrievability(s, elapsedDays);
        if (grade == Grade::Again) {
            const double forgotten = m_w[11] * std::pow(d, -m_w[12]) * (std::pow(s + 1, m_w[13]) - 1) *
                                     std::exp((1 - r) * m_w[14]);
            stability = std::min(forgotten, s);
        } else {
            const double hard = grade == Grade::Hard ? m_w[15] : 1;
            const double easy = grade == Grade::Easy ? m_w[16] : 1;
            stability = s * (1 + std::exp(m_w[8]) * (11 - d) * std::pow(s, -m_w[9]) *
                                     (std::exp((1 - r) * m_w[10]) - 1) * hard * easy);
        }
    }
    // The difficulty moves by the grade, and a little back towards that of a first Easy.
    const double moved = d - m_w[6] * (g - 3);
    const double easyStart = m_w[4] - std::exp(m_w[5] * 3) + 1;
    const double difficulty = std::clamp(m_w[7] * (easyStart - moved) + moved, 1.0, 10.0);
    return {clampStability(stability), difficulty};
}

int elapsedDays(const QDateTime& from, const QDateTime& to, const QTimeZone& zone)
{
    return int(from.toTimeZone(zone).date().daysTo(to.toTimeZone(zone).date()));
}

int intervalDays(double stability, double desiredRetention)
{
    return int(std::clamp(std::round(Model::interval(stability, desiredRetention)), 1.0, MaxStability));
}

std::optional<Schedule> schedule(const QList<Answer>& answers, double desiredRetention, const QTimeZone& zone,
                                 const Model& model)
{
    if (answers.isEmpty())
        return std::nullopt;
    const auto grade = [](const Answer& a) { return a.known ? Grade::Good : Grade::Again; };
    MemoryState memory = model.first(grade(answers.front()));
    for (qsizetype i = 1; i < answers.size(); ++i)
        memory = model.next(memory, std::max(0, elapsedDays(answers[i - 1].time, answers[i].time, zone)),
                            grade(answers[i]));
    const QDate last = answers.back().time.toTimeZone(zone).date();
    return Schedule{memory, last.addDays(intervalDays(memory.stability, desiredRetention))};
}

} // namespace tavi::fsrs
