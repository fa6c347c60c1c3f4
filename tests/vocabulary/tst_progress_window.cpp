// The progress view's Reviews page: the calendar's days under the mouse and their tips
// in both languages, the weekly share of Yes answers, the log read when the page shows
// and after an answer, the retention moving the forecast, and the export.
#include "core/app_state.h"
#include "support/window_test.h"
#include "training/review_log.h"
#include "vocabulary/review_charts.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QHelpEvent>
#include <QImage>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <algorithm>

using namespace tavi;
using namespace tavi::test;

namespace {

const QDate kToday(2026, 12, 8); // a Tuesday

struct Reviews : WindowTest {
    Reviews() { folder.prepareTraining(kTrainingWords); }
    // count answers to a word ago days back, the first known of them Yes.
    void answer(int word, int ago, int count, int known)
    {
        const QDateTime time = QDateTime::currentDateTime().addDays(-ago);
        for (int i = 0; i < count; ++i)
            QVERIFY(programReviewLog().log->append({time.toUTC(), kTrainingWords[word][CHAR],
                                                    kTrainingWords[word][PINYIN], "words.txt", i < known, 0,
                                                    1, 900}));
    }
    ReviewCharts* showReviews()
    {
        open("frm_progress");
        child<QTabWidget>("tabs")->setCurrentIndex(1);
        return child<ReviewCharts>("pic_reviews");
    }
};

} // namespace

class TstProgressWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void calendarDaysAndTips_data();
    void calendarDaysAndTips();
    void weeklySharesByCalendarWeek();
    void pageReadsTheLogWhenShownAndAfterAnAnswer();
    void retentionAndExport();
};

void TstProgressWindow::calendarDaysAndTips_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("tips");
    QTest::newRow("English") << "ENGLISH"
                             << QStringList{"Tuesday, 8 December 2026: 35 reviews, 80 % Yes",
                                            "Monday, 7 December 2026: 1 review, 100 % Yes",
                                            "Sunday, 6 December 2026: no reviews",
                                            "Saturday, 5 December 2026: 1,234 reviews, 50 % Yes"};
    QTest::newRow("German") << "GERMAN"
                            << QStringList{"Dienstag, 8. Dezember 2026: 35 Wiederholungen, 80 % Ja",
                                           "Montag, 7. Dezember 2026: 1 Wiederholung, 100 % Ja",
                                           "Sonntag, 6. Dezember 2026: keine Wiederholungen",
                                           "Samstag, 5. Dezember 2026: 1.234 Wiederholungen, 50 % Ja"};
}

void TstProgressWindow::calendarDaysAndTips()
{
    QFETCH(QString, language);
    QFETCH(QStringList, tips);
    WindowTest t;
    LanguageSection = language;
    ReviewCharts charts;
    charts.resize(900, 600);
    charts.setData({{kToday, {35, 28}}, {kToday.addDays(-1), {1, 1}}, {kToday.addDays(-3), {1234, 617}}}, {},
                   kToday);
    const QRect today = charts.cellRect(kToday);
    const int pitch = today.top() - charts.cellRect(kToday.addDays(-1)).top(); // Monday above
    for (const QPoint& p : {today.topLeft(), today.center(), today.bottomRight()})
        QCOMPARE(charts.dayAt(p), kToday);
    QCOMPARE(charts.dayAt(today.center() - QPoint(pitch, 0)), kToday.addDays(-7));
    QCOMPARE(charts.cellRect(kToday.addDays(-2)).topLeft(),
             today.topLeft() + QPoint(-pitch, 5 * pitch));               // Sunday
    QCOMPARE(charts.dayAt(today.center() + QPoint(0, pitch)), QDate());  // tomorrow
    QCOMPARE(charts.dayAt(today.bottomRight() + QPoint(1, 1)), QDate()); // between the cells

    // Twelve months: from the day after the same day a year ago, in the first column.
    const QRect first = charts.cellRect(kToday.addYears(-1).addDays(1));
    QCOMPARE(first.left(), today.left() - 52 * pitch);
    QCOMPARE(charts.dayAt(first.center() - QPoint(0, pitch)), QDate());
    QVERIFY(charts.cellRect(kToday.addYears(-1)).isNull());

    // Each day's tip: the date, the reviews and the share of Yes in the language's own way.
    QStringList shown;
    for (int ago = 0; ago < 4; ++ago)
        shown << charts.toolTipFor(kToday.addDays(-ago));
    QCOMPARE(shown, tips);

    // The mouse resting on today's cell asks for the same tip.
    charts.show();
    const QPoint at = charts.cellRect(kToday).center();
    QHelpEvent help(QEvent::ToolTip, at, charts.mapToGlobal(at));
    QCoreApplication::sendEvent(&charts, &help);
    QCOMPARE(QToolTip::text(), tips[0]);

    // The page as a learner sees it after a year of work, to look at.
    ReviewDays year;
    QList<int> forecast;
    for (int ago = 0; ago < 365; ++ago)
        if ((ago * 7) % 11 > 1)
            year[kToday.addDays(-ago)] = {(ago * 37) % 90 + 5, ((ago * 37) % 90 + 5) * (60 + ago % 35) / 100};
    for (int in = 0; in < 30; ++in)
        forecast << (in == 0 ? 48 : (in * 13) % 40 + 2);
    t.open("frm_progress");
    t.child<QTabWidget>("tabs")->setCurrentIndex(1);
    t.child<ReviewCharts>("pic_reviews")->setData(year, forecast, kToday);
    t.screenshot("progress_reviews_" + language);
}

void TstProgressWindow::weeklySharesByCalendarWeek()
{
    const ReviewDays days{
        {kToday.addDays(1), {7, 7}},      // tomorrow (a clock set back): not counted
        {kToday, {4, 3}},                 // this week, with its Monday: 4 of 10
        {kToday.addDays(-1), {6, 1}},     //
        {kToday.addDays(-2), {10, 10}},   // Sunday: the week before, all Yes
        {kToday.addDays(-28), {5, 0}},    // all No, two weeks without answers after it
        {kToday.addYears(-1), {100, 50}}, // a Monday before the twelve months, in the first column
    };
    const QList<std::optional<double>> shares = weeklyYesShare(days, kToday);
    QCOMPARE(shares.size(), 53);
    QCOMPARE(shares[52].value_or(-1), 0.4);
    QCOMPARE(shares[51].value_or(-1), 1.0);
    QVERIFY(!shares[50] && !shares[49]);
    QCOMPARE(shares[48].value_or(-1), 0.0);
    QVERIFY(!shares[0]);
}

// The log is read only once the page shows, then after every answer; days with answers
// are drawn in another shade than days without, the busiest in another still.
void TstProgressWindow::pageReadsTheLogWhenShownAndAfterAnAnswer()
{
    Reviews t;
    const QDate today = QDate::currentDate();
    t.answer(0, 3, 1, 1);
    t.answer(1, 1, 20, 15);
    auto* charts = t.open("frm_progress")->findChild<ReviewCharts*>("pic_reviews");
    QVERIFY(charts->toolTipFor(today.addDays(-1)).endsWith(": no reviews"));
    t.showReviews();
    QVERIFY(charts->toolTipFor(today.addDays(-1)).endsWith(": 20 reviews, 75 % Yes"));
    const QImage page = charts->grab().toImage();
    const auto shade = [&](int ago) { return page.pixel(charts->cellRect(today.addDays(-ago)).center()); };
    QCOMPARE(shade(2), shade(4));
    QVERIFY(shade(3) != shade(2));
    QVERIFY(shade(1) != shade(3) && shade(1) != shade(2));

    t.answer(2, 0, 1, 0);
    ++VocTableVersion; // as the answer's new level does
    QTRY_VERIFY(charts->toolTipFor(today).endsWith(": 1 review, 0 % Yes"));
}

// The retention is stored and moves the forecast; the export writes the log where the
// save dialog says, and a file that cannot be written is named in a box.
void TstProgressWindow::retentionAndExport()
{
    Reviews t;
    for (int word = 0; word < 3; ++word)
        t.answer(word, 0, 1, 1);
    ReviewCharts* charts = t.showReviews();
    auto* retention = t.child<QSpinBox>("txt_retention");
    QCOMPARE(retention->value(), 90);
    const auto firstDue = [&] {
        const QList<int>& days = charts->forecast();
        return std::find_if(days.begin(), days.end(), [](int n) { return n > 0; }) - days.begin();
    };
    retention->setValue(MaxRetention);
    QCOMPARE(t.stored("progress_retention"), QString("97"));
    const auto early = firstDue();
    retention->setValue(MinRetention);
    QCOMPARE(t.stored("progress_retention"), QString("70"));
    QVERIFY2(firstDue() > early, "a lower retention lets the words wait longer");

    const QString nowhere = t.folder.file("no such folder/out.csv");
    t.dialogs.answers << t.folder.file("out.csv") << nowhere;
    t.click("bt_export");
    QCOMPARE(t.dialogs.calls.size(), 1);
    QVERIFY(t.dialogs.calls[0].save);
    QCOMPARE(t.dialogs.calls[0].initialFile, joinPath(t.folder.path(), "reviews.csv")); // beside words.txt
    const QList<QByteArray> lines = t.folder.read("out.csv").trimmed().split('\n');
    QCOMPARE(lines.size(), 4); // the header and the three answers
    QVERIFY(lines[1].contains("你好") && lines[3].contains("zai4jian4"));
    t.click("bt_export");
    QCOMPARE(t.boxes.calls.size(), 1);
    QVERIFY(t.boxes.calls[0].text.startsWith(
        english("progress_export_failed").arg(QDir::toNativeSeparators(nowhere), "")));
    QCOMPARE(t.boxes.calls[0].flags, 16);
}

QTEST_MAIN(TstProgressWindow)
#include "tst_progress_window.moc"
