// The rounds of a flashcard training: which card is next, the counters, when a round
// ends, the undo of the last answer and the figures of the training. The flashcard
// window shows what this decides.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <optional>
#include <vector>

namespace tavi {

// What a training came to, for the summary at its end.
struct TrainingSummary {
    int trained = 0;    // words answered at least once
    int firstTry = 0;   // words known in the first round
    int levelsUp = 0;   // words whose level is now higher than at Start
    int levelsDown = 0; // ... lower than at Start
    qint64 seconds = 0; // from Start to the last answer, or to now while it runs

    bool operator==(const TrainingSummary&) const = default;
};

// A word's level cell to put into the table: row -1 for none.
struct LevelChange {
    int row = -1;
    QString level;
};

class FlashcardSession {
public:
    // A fresh training over study entries 0 to studyCount: all answers unset, round 1,
    // its clock at 0. startLevels, one per entry, are the words' levels at Start, for
    // the summary.
    void start(int studyCount, std::vector<int> startLevels = {});

    // Moves past entries known in an earlier round. True when the position names a
    // card of this round, false when the round is over.
    bool seekCard();
    // Whether the position names a card (false between rounds and after the end).
    bool hasCard() const { return m_now.pos >= 0 && m_now.pos <= m_studyCount; }

    // Records the answer for the current card and moves on by one.
    void answer(bool known);
    // The same for the card of that table row whose level is level now: returns its new
    // level (one up or down, within 0 to 9), and keeps the old one for an undo.
    LevelChange answer(bool known, int row, const QString& level);

    // Puts everything back as it was before the last answer, a round that it ended
    // included, and returns the level the word had before it. Only the last answer can
    // be undone; nothing when there is none.
    std::optional<LevelChange> undo();
    bool canUndo() const { return m_beforeAnswer.has_value(); }
    // From now on the last answer stays (the whole card of the next word was shown).
    void keepAnswers() { m_beforeAnswer.reset(); }

    // At the end of a round: every word asked was known.
    bool finished() const { return m_now.knownCount == m_now.roundSize; }
    // Begins the next round of the words not known yet.
    void nextRound();
    // Counts the next round before it begins (for the round number shown meanwhile).
    void advanceRoundNumber() { ++m_now.roundNumber; }

    // The figures so far, against the levels the words have now (one per entry). The
    // time of a finished training is taken at its last answer, so that every summary
    // of it, shown or stored, gives the same time however much later it is asked for.
    TrainingSummary summary(const std::vector<int>& levelsNow) const;
    bool started() const { return m_started; }

    int position() const { return m_now.pos; }
    int roundNumber() const { return m_now.roundNumber; }
    int roundSize() const { return m_now.roundSize; }
    int knownCount() const { return m_now.knownCount; }
    int answeredCount() const { return m_now.answeredCount; }

private:
    enum class Answer : signed char { Unset, NotKnown, Known };
    struct State {
        std::vector<Answer> answers; // one per study entry, however many
        int pos = 0;
        int roundNumber = 1;
        int roundSize = 0;
        int knownCount = 0;
        int answeredCount = 0;
        int firstTry = 0;
        qint64 finishedAtMs = -1; // on the clock, when the last answer finished the training
    };
    State m_now;
    std::optional<State> m_beforeAnswer;
    LevelChange m_levelBeforeAnswer;
    std::vector<int> m_startLevels;
    QElapsedTimer m_clock; // since Start
    int m_studyCount = -1;
    bool m_started = false;
};

// A level moved by step and kept within 0 to 9, as decimal text. A cell that is no
// number counts as level 0.
QString changedLevel(const QString& level, int step);

// The level of each study entry 0 to StudyCount as a whole number (0 for an entry
// that names no row or holds no number).
std::vector<int> studyLevels();

// The summary in words: pattern holds %1 words trained, %2 known at the first try,
// %3 levels up, %4 down and %5 the time as m:ss.
QString summaryText(const QString& pattern, const TrainingSummary& s);

} // namespace tavi
