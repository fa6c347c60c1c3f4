// The rounds of a flashcard training: which card is next, the counters, and when a
// round ends. The flashcard window shows what this decides.
#pragma once

#include <QString>
#include <vector>

namespace tavi {

class FlashcardSession {
public:
    // A fresh training over study entries 0 to studyCount: all answers unset, round 1.
    void start(int studyCount);

    // Moves past entries known in an earlier round. True when the position names a
    // card of this round, false when the round is over.
    bool seekCard();
    // Whether the position names a card (false between rounds and after the end).
    bool hasCard() const { return m_pos >= 0 && m_pos <= m_studyCount; }

    // Records the answer for the current card and moves on by one.
    void answer(bool known);

    // At the end of a round: every word asked was known.
    bool finished() const { return m_knownCount == m_roundSize; }
    // Begins the next round of the words not known yet.
    void nextRound();
    // Counts the next round before it begins (for the round number shown meanwhile).
    void advanceRoundNumber() { ++m_roundNumber; }

    int position() const { return m_pos; }
    int roundNumber() const { return m_roundNumber; }
    int roundSize() const { return m_roundSize; }
    int knownCount() const { return m_knownCount; }
    int answeredCount() const { return m_answeredCount; }

private:
    enum class Answer : signed char { Unset, NotKnown, Known };
    std::vector<Answer> m_answers; // one per study entry, however many
    int m_studyCount = -1;
    int m_pos = 0;
    int m_roundNumber = 1;
    int m_roundSize = 0;
    int m_knownCount = 0;
    int m_answeredCount = 0;
};

// A level moved by step and kept within 0 to 9, as decimal text. A cell that is no
// number counts as level 0.
QString changedLevel(const QString& level, int step);

} // namespace tavi
