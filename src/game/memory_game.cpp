// Memory game rules.
#include "game/memory_game.h"

namespace tavi {

void MemoryGame::dealRows(bool board, const std::array<int, Pairs>& rows, std::mt19937& random)
{
    m_cards = {};
    m_first = m_second = -1;
    m_pairsFound = 0;
    m_board = board;
    m_gameOn = board;
    if (!board)
        return;
    for (int p = 0; p < Pairs; ++p)
        m_cards[p].row = m_cards[p + Pairs].row = rows[p];
    // Fisher-Yates with draws in [0, 1): every order of the thirty cards is as likely.
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int i = Cards - 1; i > 0; --i) {
        const int j = std::min(i, static_cast<int>((i + 1) * unit(random)));
        std::swap(m_cards[i].row, m_cards[j].row);
    }
}

MemoryGame::Turn MemoryGame::turn(int k)
{
    if (!m_gameOn || k < 0 || k >= Cards || m_second >= 0)
        return Turn::Ignored;
    if (open(k))
        return Turn::AlreadyOpen;
    if (m_first < 0) {
        m_first = k;
        return Turn::Opened;
    }
    if (m_cards[k].row != m_cards[m_first].row) {
        m_second = k;
        return Turn::Mismatch;
    }
    m_cards[k].found = m_cards[m_first].found = true;
    m_first = -1;
    ++m_pairsFound;
    if (m_pairsFound == Pairs) {
        m_gameOn = false;
        return Turn::Won;
    }
    return Turn::Match;
}

void MemoryGame::closeMismatch()
{
    m_first = m_second = -1;
}

std::mt19937& gameRandom()
{
    static std::mt19937 generator{std::random_device{}()};
    return generator;
}

} // namespace tavi
