// The rules of the memory game: thirty cards holding fifteen pairs of words of the
// study selection, turned two at a time. The game window only shows what this decides.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

namespace tavi {

class MemoryGame {
public:
    static constexpr int Cards = 30;
    static constexpr int Pairs = Cards / 2;

    enum class Turn {
        Ignored,     // the game is over or there is no board: nothing happens
        Opened,      // the first card of a turn is open
        AlreadyOpen, // the card is open already (found, or the first of this turn)
        Mismatch,    // the second card differs: show both, then closeMismatch()
        Match,       // the second card completes a pair
        Won,         // ... the last pair
    };

    // Deals a new game over study entries 0 to studyCount, whose rows rowOf gives (-1
    // for an entry that names no row: such a card still pairs with its twin). Pairs
    // come from the first fifteen entries, a shorter selection used again from its
    // start. No board is dealt for an empty selection.
    template <typename RowOf> void deal(int studyCount, RowOf rowOf, std::mt19937& random)
    {
        std::array<int, Pairs> rows{};
        int j = 0;
        for (int p = 0; p < Pairs && studyCount >= 0; ++p) {
            rows[p] = rowOf(j);
            j = j >= studyCount ? 0 : j + 1;
        }
        dealRows(studyCount >= 0, rows, random);
    }

    // Turns card k (0 to 29).
    Turn turn(int k);
    // Ends a turn of two different cards (after they were shown): both are closed again.
    void closeMismatch();

    bool hasBoard() const { return m_board; }
    bool gameOn() const { return m_gameOn; }
    int pairsFound() const { return m_pairsFound; }
    int row(int k) const { return m_cards[k].row; }
    bool found(int k) const { return m_cards[k].found; }
    bool open(int k) const { return m_cards[k].found || k == m_first || k == m_second; }
    int firstCard() const { return m_first; }
    int secondCard() const { return m_second; }

private:
    struct Card {
        int row = -1;
        bool found = false;
    };
    void dealRows(bool board, const std::array<int, Pairs>& rows, std::mt19937& random);

    std::array<Card, Cards> m_cards{};
    int m_first = -1;
    int m_second = -1;
    int m_pairsFound = 0;
    bool m_gameOn = false;
    bool m_board = false;
};

// The run's generator for the deal: seeded once, from the system's entropy, so that
// every start of the program deals different boards. Left unseeded it would deal the
// same boards in the same order after each start, and the places could be learnt
// instead of the words.
std::mt19937& gameRandom();

} // namespace tavi
