// FSRS-5 against the values its reference implementation publishes in its own tests
// (open-spaced-repetition/fsrs-rs, src/inference.rs at commit 0053f99: test_memo_state,
// next_states, current_retrievability, test_next_interval; 19 parameters), and the
// learner's calendar days for elapsed time and due dates.
#include "training/fsrs.h"

#include <QTest>

using namespace tavi::fsrs;

namespace {

// The parameters of the reference's memory-state tests.
constexpr Parameters kReference = {0.6845422,  1.6790825, 4.7349424,    10.042885,  7.4410233,
                                   0.64219797, 1.071918,  0.0025195254, 1.432437,   0.1544,
                                   0.8692766,  2.0696752, 0.0953,       0.2975,     2.4691248,
                                   0.19542035, 3.201072,  0.18046261,   0.121442534};

// The reference computes in single precision: six significant digits agree.
bool near(double got, double want)
{
    return std::abs(got - want) <= 2e-5 * std::max(1.0, std::abs(want));
}

// A Berlin wall-clock time, as UTC.
QDateTime berlin(const char* text)
{
    const QDateTime local = QDateTime::fromString(text, Qt::ISODate);
    return QDateTime(local.date(), local.time(), QTimeZone("Europe/Berlin")).toUTC();
}

} // namespace

class TstFsrs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void referenceHistory_data();
    void referenceHistory();
    void curveAndIntervals();
    void calendarDays();
};

// Again, then Good after 1, 3 and 8 days; then each grade after 21 days.
void TstFsrs::referenceHistory_data()
{
    QTest::addColumn<int>("grade");
    QTest::addColumn<double>("stability");
    QTest::addColumn<double>("difficulty");
    QTest::newRow("Again") << 1 << 2.969144 << 9.520562;
    QTest::newRow("Hard") << 2 << 17.091442 << 8.4513445;
    QTest::newRow("Good") << 3 << 31.722975 << 7.382128;
    QTest::newRow("Easy") << 4 << 71.75015 << 6.3129106;
}

void TstFsrs::referenceHistory()
{
    QFETCH(int, grade);
    QFETCH(double, stability);
    QFETCH(double, difficulty);
    const Model model(kReference);
    MemoryState s = model.first(Grade::Again);
    for (const int days : {1, 3, 8})
        s = model.next(s, days, Grade::Good);
    s = model.next(s, 21, Grade(grade));
    QVERIFY2(near(s.stability, stability) && near(s.difficulty, difficulty),
             qPrintable(QString("%1 %2").arg(s.stability, 0, 'g', 9).arg(s.difficulty, 0, 'g', 9)));
}

void TstFsrs::curveAndIntervals()
{
    const double recall[] = {1.0, 0.9, 0.82502866, 0.76613088};
    for (int t = 0; t < 4; ++t)
        QVERIFY(near(Model::retrievability(1, t), recall[t]));
    QList<int> days;
    for (int r = 1; r <= 10; ++r)
        days << intervalDays(1, r / 10.0);
    QCOMPARE(days, (QList<int>{422, 102, 43, 22, 13, 8, 4, 2, 1, 1}));
}

// Elapsed days and due dates are the learner's calendar days, across a local midnight
// and the spring change to summer time (Berlin, 29 March 2026).
void TstFsrs::calendarDays()
{
    const QTimeZone zone("Europe/Berlin");
    QVERIFY2(zone.isValid(), "no time zone data (Debian package tzdata)");
    QCOMPARE(elapsedDays(berlin("2026-03-28T23:50:00"), berlin("2026-03-29T00:10:00"), zone), 1);
    QCOMPARE(elapsedDays(berlin("2026-03-29T00:10:00"), berlin("2026-03-29T23:50:00"), zone), 0);

    // 00:30 on the 29th is still the 28th in UTC: the due day counts from the 29th.
    const auto first = schedule({{berlin("2026-03-29T00:30:00"), true}}, 0.9, zone);
    QVERIFY(first);
    QCOMPARE(first->due, QDate(2026, 3, 29).addDays(3)); // a first Good: 3.173 days
    const auto twice =
        schedule({{berlin("2026-03-27T20:00:00"), true}, {berlin("2026-03-30T08:00:00"), true}}, 0.9, zone);
    const MemoryState expected = Model().next(Model().first(Grade::Good), 3, Grade::Good);
    QCOMPARE(twice->memory.stability, expected.stability);
    QCOMPARE(twice->due, QDate(2026, 3, 30).addDays(intervalDays(expected.stability, 0.9)));
    QVERIFY(!schedule({}, 0.9, zone)); // no answers: a new word
}

QTEST_APPLESS_MAIN(TstFsrs)
#include "tst_fsrs.moc"
