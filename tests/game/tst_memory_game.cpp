// The memory game's rules, played card by card.
#include "game/memory_game.h"

#include <QTest>

using namespace tavi;

namespace {

// A game over entries 0 to count - 1, entry i naming row 100 + i.
MemoryGame dealt(int count, unsigned seed = 7)
{
    std::mt19937 random(seed);
    MemoryGame g;
    g.deal(
        count - 1, [](int i) { return 100 + i; }, random);
    return g;
}

// The two cards of each row, in row order.
QList<QPair<int, int>> pairsOf(const MemoryGame& g)
{
    QMap<int, QList<int>> byRow;
    for (int k = 0; k < MemoryGame::Cards; ++k)
        byRow[g.row(k)] << k;
    QList<QPair<int, int>> pairs;
    for (const QList<int>& cards : byRow)
        for (int i = 0; i + 1 < cards.size(); i += 2)
            pairs << qMakePair(cards[i], cards[i + 1]);
    return pairs;
}

} // namespace

class TstMemoryGame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dealsPairsFromTheFirstFifteen_data();
    void dealsPairsFromTheFirstFifteen();
    void turns();
    void wholeGameToTheEnd();
    void emptySelectionDealsNothing();
    void shuffleIsUniform();
};

void TstMemoryGame::dealsPairsFromTheFirstFifteen_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<QList<int>>("cardsPerRow"); // for rows 100, 101, ...
    QTest::newRow("five, used again") << 5 << QList<int>(5, 6);
    QTest::newRow("more than fifteen") << 40 << QList<int>(15, 2);
    QTest::newRow("one") << 1 << QList<int>{30};
}

void TstMemoryGame::dealsPairsFromTheFirstFifteen()
{
    QFETCH(int, entries);
    QFETCH(QList<int>, cardsPerRow);
    const MemoryGame g = dealt(entries);
    QList<int> counts(cardsPerRow.size(), 0);
    for (int k = 0; k < MemoryGame::Cards; ++k) {
        const int i = g.row(k) - 100;
        QVERIFY(i >= 0 && i < counts.size());
        ++counts[i];
    }
    QCOMPARE(counts, cardsPerRow);
    QVERIFY(g.gameOn());
}

void TstMemoryGame::turns()
{
    MemoryGame g = dealt(15);
    const auto pairs = pairsOf(g);
    const int a = pairs[0].first, b = pairs[1].first;
    QCOMPARE(g.turn(a), MemoryGame::Turn::Opened);
    // The same card again neither opens a turn of its own nor ends this one.
    QCOMPARE(g.turn(a), MemoryGame::Turn::AlreadyOpen);
    QCOMPARE(g.turn(b), MemoryGame::Turn::Mismatch);
    QVERIFY(g.open(a) && g.open(b));
    QCOMPARE(g.turn(pairs[2].first), MemoryGame::Turn::Ignored); // both are still shown
    g.closeMismatch();
    QVERIFY(!g.open(a) && !g.open(b));
    g.turn(a);
    QCOMPARE(g.turn(pairs[0].second), MemoryGame::Turn::Match);
    // Either card of a found pair turned again is only spoken: no new turn, no new pair.
    QCOMPARE(g.turn(pairs[0].second), MemoryGame::Turn::AlreadyOpen);
    QCOMPARE(g.turn(a), MemoryGame::Turn::AlreadyOpen);
    QCOMPARE(g.firstCard(), -1);
    QCOMPARE(g.pairsFound(), 1);
}

void TstMemoryGame::wholeGameToTheEnd()
{
    MemoryGame g = dealt(5); // any two cards of one word match
    QList<QList<int>> byRow(5);
    for (int k = 0; k < MemoryGame::Cards; ++k)
        byRow[g.row(k) - 100] << k;
    int played = 0;
    for (const QList<int>& cards : byRow) {
        for (int i = 0; i < cards.size(); i += 2) {
            g.turn(cards[i]);
            const auto turn = g.turn(cards[i + 1]);
            QCOMPARE(turn, ++played == 15 ? MemoryGame::Turn::Won : MemoryGame::Turn::Match);
            QCOMPARE(g.pairsFound(), played);
        }
    }
    QVERIFY(!g.gameOn());
    QCOMPARE(g.turn(0), MemoryGame::Turn::Ignored);

    // A new deal after some pairs counts from 0 again.
    std::mt19937 random(3);
    g.deal(
        4, [](int i) { return 100 + i; }, random);
    QVERIFY(g.gameOn());
    QCOMPARE(g.pairsFound(), 0);
    for (int k = 0; k < MemoryGame::Cards; ++k)
        QVERIFY(!g.open(k));
}

void TstMemoryGame::emptySelectionDealsNothing()
{
    MemoryGame g = dealt(0);
    QVERIFY(!g.hasBoard());
    QCOMPARE(g.turn(0), MemoryGame::Turn::Ignored);
    // An entry that names no row still pairs with its twin.
    std::mt19937 random(1);
    g.deal(
        0, [](int) { return -1; }, random);
    QCOMPARE(g.turn(0), MemoryGame::Turn::Opened);
    QCOMPARE(g.turn(1), MemoryGame::Turn::Match);
}

void TstMemoryGame::shuffleIsUniform()
{
    // Over many seeds, each word's cards land in each place about equally often.
    constexpr int Deals = 30000;
    std::array<std::array<int, MemoryGame::Cards>, MemoryGame::Cards> where{};
    std::mt19937 random(12345);
    for (int n = 0; n < Deals; ++n) {
        MemoryGame g;
        g.deal(
            29, [](int i) { return i; }, random); // fifteen rows, marked by their entry
        for (int k = 0; k < MemoryGame::Cards; ++k)
            ++where[g.row(k)][k];
    }
    const double expected = 2.0 * Deals / MemoryGame::Cards; // each row has two cards
    for (int r = 0; r < MemoryGame::Pairs; ++r)
        for (int k = 0; k < MemoryGame::Cards; ++k)
            QVERIFY2(std::abs(where[r][k] - expected) < 0.1 * expected,
                     qPrintable(QStringLiteral("row %1 at %2: %3").arg(r).arg(k).arg(where[r][k])));
}

QTEST_APPLESS_MAIN(TstMemoryGame)
#include "tst_memory_game.moc"
