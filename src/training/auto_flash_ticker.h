// The clock of the automatic flashcards: one call of tick() per timer tick decides
// whether a question, the whole card or nothing is due, and counts the words and
// rounds. The window shows what it decides.
#pragma once

#include <QStringView>

namespace tavi {

class AutoFlashTicker {
public:
    enum class Action {
        None,
        Question,  // show the word at position(), as far as the check boxes allow
        EndOfPass, // the selection is used up: fields empty, roundNumber() went up
        Solution,  // show the whole card of the word at position()
    };
    struct Step {
        int shownTick = 0; // the counter as it stood when the tick began
        Action action = Action::None;
    };

    // A new pass from the first word, round 1. The tick counter carries on, so the
    // first question comes at the first tick that finds it at 0.
    void start();

    // Takes the seconds until the whole card and the seconds it stays. A text that is
    // no whole number from 0 to 32767 (rounded, halves to even) keeps the value it would
    // have replaced, and a pair whose sum exceeds 32767 keeps both previous values: a
    // run never stops over what the user is typing. False when anything was kept.
    bool readTimes(QStringView untilSolution, QStringView forSolution);

    // One tick over study entries 0 to studyCount. The count is taken anew each time,
    // so a selection changed during a run ends the pass at its new end.
    Step tick(int studyCount);

    int position() const { return m_vocPos; }
    int roundNumber() const { return m_roundNumber; }
    int secsUntilSolution() const { return m_secsUntilSolution; }
    int secsForSolution() const { return m_secsForSolution; }
    int tickCount() const { return m_tick; }

private:
    int m_vocPos = -1;
    int m_roundNumber = 1;
    int m_secsUntilSolution = 2;
    int m_secsForSolution = 3;
    int m_tick = 0;
};

} // namespace tavi
