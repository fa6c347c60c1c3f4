// Spaced repetition with FSRS-5, the Free Spaced Repetition Scheduler: each word's memory
// is a stability (the days after which it is recalled with 90 % probability) and a
// difficulty (1 to 10), both following from the word's answers; a word is due again on
// the day its recall probability falls to the desired retention. Answers on the same
// day move the stability by the short-term rule.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QTimeZone>
#include <array>
#include <optional>

namespace tavi::fsrs {

using Parameters = std::array<double, 19>;
// The published default parameters of FSRS-5.
inline constexpr Parameters DefaultParameters = {0.40255, 1.18385, 3.173,  15.69105, 7.1949, 0.5345, 1.4604,
                                                 0.0046,  1.54575, 0.1192, 1.01925,  1.9395, 0.11,   0.29605,
                                                 2.2698,  0.2315,  2.9898, 0.51655,  0.6621};

// The four grades; the flashcards give Good for Yes and Again for No.
enum class Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct MemoryState {
    double stability = 0;
    double difficulty = 0;
};

class Model {
public:
    explicit Model(const Parameters& w = DefaultParameters) : m_w(w) {}

    MemoryState first(Grade grade) const;
    // After an answer given elapsedDays after the one before (0: the same day).
    MemoryState next(const MemoryState& state, int elapsedDays, Grade grade) const;
    // The probability of recall elapsedDays after the last answer.
    static double retrievability(double stability, double elapsedDays);
    // The days until recall falls to the desired retention (not rounded).
    static double interval(double stability, double desiredRetention);

private:
    Parameters m_w;
};

// One answer of a word's history.
struct Answer {
    QDateTime time; // UTC
    bool known = false;
};

// A word after its answers: its memory, and the day it is due in the given time zone.
struct Schedule {
    MemoryState memory;
    QDate due;
};

// Days are the learner's calendar days: two answers on either side of a local midnight
// are a day apart, however close, and a day of 23 or 25 hours is one day.
int elapsedDays(const QDateTime& from, const QDateTime& to, const QTimeZone& zone);
// Whole days from the last answer to the due day: at least 1, at most 100 years.
int intervalDays(double stability, double desiredRetention);
// The schedule after the answers, in order; a word without answers has none (it is new).
std::optional<Schedule> schedule(const QList<Answer>& answers, double desiredRetention, const QTimeZone& zone,
                                 const Model& model = Model());

} // namespace tavi::fsrs
