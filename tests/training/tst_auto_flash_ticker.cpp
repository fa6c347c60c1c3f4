// The automatic flashcards' tick rule, stepped tick by tick as the window's timer does.
#include "training/auto_flash_ticker.h"

#include <QTest>

using namespace tavi;

namespace {

// One character per tick: 'A', 'B', ... the question of word 0, 1, ...; 'a', 'b', ...
// its whole card; '|' the end of a pass; '-' nothing.
QChar code(const AutoFlashTicker& t, AutoFlashTicker::Step step)
{
    switch (step.action) {
    case AutoFlashTicker::Action::Question:
        return QChar(u'A' + t.position());
    case AutoFlashTicker::Action::Solution:
        return QChar(u'a' + t.position());
    case AutoFlashTicker::Action::EndOfPass:
        return u'|';
    case AutoFlashTicker::Action::None:
        break;
    }
    return u'-';
}

QString run(AutoFlashTicker& t, int studyCount, int ticks)
{
    QString s;
    for (int i = 0; i < ticks; ++i)
        s += code(t, t.tick(studyCount));
    return s;
}

AutoFlashTicker started(const QString& until, const QString& forSolution)
{
    AutoFlashTicker t;
    t.start();
    t.readTimes(until, forSolution);
    return t;
}

} // namespace

class TstAutoFlashTicker : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cycles_data();
    void cycles();
    void startBeginsANewPassWithoutResettingTheTick();
    void timesChangedDuringARun();
    void readTimes_data();
    void readTimes();
    void shrunkenSelectionEndsThePass();
};

void TstAutoFlashTicker::cycles_data()
{
    QTest::addColumn<int>("until");
    QTest::addColumn<int>("forSolution");
    QTest::addColumn<int>("words");
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<int>("round");
    QTest::newRow("design values over A, B, C") << 2 << 3 << 3 << "A-a---B-b---C-c---|-----A-a---" << 2;
    QTest::newRow("no time until the solution") << 0 << 3 << 3 << "A---B---C---|---A---" << 2;
    QTest::newRow("no time for the solution") << 2 << 0 << 2 << "A-a-B-b-|---A-a-" << 2;
    QTest::newRow("one word") << 1 << 1 << 1 << "Aa-|--Aa-" << 2;
    QTest::newRow("empty selection: a round per cycle") << 2 << 3 << 0 << "|-----|-----|" << 4;
}

void TstAutoFlashTicker::cycles()
{
    QFETCH(int, until);
    QFETCH(int, forSolution);
    QFETCH(int, words);
    QFETCH(QString, ticks);
    QFETCH(int, round);
    AutoFlashTicker t = started(QString::number(until), QString::number(forSolution));
    QCOMPARE(run(t, words - 1, int(ticks.size())), ticks);
    QCOMPARE(t.roundNumber(), round);
}

void TstAutoFlashTicker::startBeginsANewPassWithoutResettingTheTick()
{
    AutoFlashTicker t = started("2", "3");
    QCOMPARE(run(t, 2, 9), QString("A-a---B-b"));
    t.start(); // stopped and started again in the middle of B's cycle
    QCOMPARE(t.roundNumber(), 1);
    QCOMPARE(t.tickCount(), 3);
    QCOMPARE(run(t, 2, 9), QString("---A-a---"));
}

void TstAutoFlashTicker::timesChangedDuringARun()
{
    AutoFlashTicker t = started("2", "3");
    QCOMPARE(run(t, 2, 5), QString("A-a--"));
    // Shortened below the tick reached: the cycle ends at once.
    QVERIFY(t.readTimes(u"1", u"1"));
    QCOMPARE(run(t, 2, 7), QString("-Bb-Cc-"));
    // Lengthened: the next cycles run to the new end.
    QVERIFY(t.readTimes(u"4", u"2"));
    QCOMPARE(run(t, 2, 15), QString("|------A---a--B"));
}

void TstAutoFlashTicker::readTimes_data()
{
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("forSolution");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("secsUntil");
    QTest::addColumn<int>("secsFor");
    // clang-format off
    QTest::newRow("blanks around")            << " 5 "         << "\t7" << true  << 5     << 7;
    QTest::newRow("halves to even")           << "2.5"         << "3.5" << true  << 2     << 4;
    QTest::newRow("largest sum")              << "32000"       << "767" << true  << 32000 << 767;
    QTest::newRow("empty while typing")       << ""            << "7"   << false << 4     << 7;
    QTest::newRow("letters")                  << "5"           << "abc" << false << 5     << 6;
    QTest::newRow("negative")                 << "-1"          << "7"   << false << 4     << 7;
    QTest::newRow("beyond 16 bits")           << "32768"       << "0"   << false << 4     << 0;
    QTest::newRow("beyond 32 bits")           << "99999999999" << "1"   << false << 4     << 1;
    QTest::newRow("sum overflows: both kept") << "32767"       << "1"   << false << 4     << 6;
    QTest::newRow("valid one and overflow")   << "32767"       << "x"   << false << 4     << 6;
    // clang-format on
}

void TstAutoFlashTicker::readTimes()
{
    QFETCH(QString, until);
    QFETCH(QString, forSolution);
    QFETCH(bool, taken);
    QFETCH(int, secsUntil);
    QFETCH(int, secsFor);
    AutoFlashTicker t = started("4", "6");
    QCOMPARE(t.readTimes(until, forSolution), taken);
    QCOMPARE(t.secsUntilSolution(), secsUntil);
    QCOMPARE(t.secsForSolution(), secsFor);
}

void TstAutoFlashTicker::shrunkenSelectionEndsThePass()
{
    AutoFlashTicker t = started("2", "3");
    QCOMPARE(run(t, 2, 8), QString("A-a---B-"));
    // Down to one word: B's whole card is not shown and the next cycle ends the pass.
    QCOMPARE(run(t, 0, 13), QString("----|-----A-a"));
    QCOMPARE(t.roundNumber(), 2);
}

QTEST_APPLESS_MAIN(TstAutoFlashTicker)
#include "tst_auto_flash_ticker.moc"
