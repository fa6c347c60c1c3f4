// The automatic flashcard window, driven tick by tick through Timer1_Timer and read by
// control names: what each tick shows and speaks, which boxes it reads, what is stored.
// The cycle rules are the ticker's tests.
#include "core/app_state.h"
#include "sound/missing_sound_log.h"
#include "support/window_test.h"
#include "training/auto_flash_window.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/word_table.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

struct AutoRun : WindowTest {
    explicit AutoRun(const QByteArray& settings = {}) { train("autoflash", kTrainingWords, settings); }
    QTimer* timer() const { return child<QTimer>("Timer1"); }
    // Start, with the real timer stopped at once: the test makes every tick itself.
    void start()
    {
        click("bt_start");
        QVERIFY(timer()->isActive());
        timer()->stop();
    }
    // The card after one tick: "tick:chinese/pinyin/translation", the round when it
    // changed, and what was heard.
    QString tick()
    {
        const QString round = text("la_runde");
        qobject_cast<AutoFlashWindow*>(window)->Timer1_Timer();
        QString s =
            text("txt_sec") + u':' + text("txt_chin") + u'/' + text("txt_pinyin") + u'/' + text("txt_eng");
        if (text("la_runde") != round)
            s += " round " + text("la_runde");
        for (const QString& name : heard())
            s += " ~" + name;
        return s;
    }
    QStringList ticks(int n)
    {
        QStringList log;
        for (int i = 0; i < n; ++i)
            log << tick();
        return log;
    }
};

// The tick each entry of a log began with, e.g. "120".
QString ticksShown(const QStringList& log)
{
    QString s;
    for (const QString& entry : log)
        s += entry.section(u':', 0, 0);
    return s;
}

} // namespace

class TstAutoFlashWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsWithSettings_data();
    void loadsWithSettings();
    void aRunOverThreeWords();
    void checkBoxesChooseTheQuestion_data();
    void checkBoxesChooseTheQuestion();
    void timeBoxesFeedTheRun();
    void leavingStoresTheBoxes_data() { rowsOf("how", {"bt_ok", "close box", "Escape"}); }
    void leavingStoresTheBoxes();
    void selectionChangedDuringARun();
    void scalesWithTheWindow();
};

void TstAutoFlashWindow::loadsWithSettings_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("checked"); // chin pinyin eng sound, 1 or 0
    QTest::newRow("defaults") << QByteArray() << "1101";
    QTest::newRow("stored") << QByteArray(
                                   "autofch_chin=0\nautofch_eng=1\nautofch_pinyin=0\nautofch_sound=0\n")
                            << "0010";
    QTest::newRow("not numbers read as defaults")
        << QByteArray("autofch_chin=yes\nautofch_eng=\nautofch_sound=x\n") << "1101";
}

void TstAutoFlashWindow::loadsWithSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, checked);
    AutoRun r(settings);
    QString boxes;
    for (const char* name : {"ch_chin", "ch_pinyin", "ch_eng", "ch_sound"})
        boxes += r.box(name)->isChecked() ? u'1' : u'0';
    QCOMPARE(boxes, checked);
    QCOMPARE(r.text("txt_zeitbislsg") + r.text("txt_zeitfuerlsg") + r.text("la_runde"), QString("231"));
    QVERIFY(r.button("bt_start")->isEnabled() && !r.button("bt_stop")->isEnabled());
    QCOMPARE(r.timer()->interval(), 1000);
    QVERIFY(!r.timer()->isActive());
    QCOMPARE(r.child<UnicodeTextBox>("txt_chin")->fontName(), ChineseFont);
    QVERIFY(r.child<QLabel>("pic_sound")->pixmap().width() > 0);
}

void TstAutoFlashWindow::aRunOverThreeWords()
{
    AutoRun r;
    r.start();
    QVERIFY(!r.button("bt_start")->isEnabled() && r.button("bt_stop")->isEnabled());
    const QStringList log = r.ticks(26);
    QCOMPARE(log.mid(0, 7), (QStringList{
                                "0:你好/ni3hao3/ ~ni3hao3 ~wait",
                                "1:你好/ni3hao3/",
                                "2:你好/ni3hao3/hello ~ni3hao3 ~wait",
                                "3:你好/ni3hao3/hello",
                                "4:你好/ni3hao3/hello",
                                "5:你好/ni3hao3/hello",
                                "0:谢谢/xie4xie0/ ~xie4xie0 ~wait",
                            }));
    QCOMPARE(log[8], QString("2:谢谢/xie4xie0/thank you ~xie4xie0 ~wait"));
    QCOMPARE(log[12], QString("0:再见/zai4jian4/ ~zai4jian4 ~wait"));
    QCOMPARE(log.mid(17, 3), (QStringList{"5:再见/zai4jian4/goodbye", "0:// round 2", "1://"}));
    QCOMPARE(log[20], QString("2://")); // no whole card in the empty cycle
    QCOMPARE(log[24], QString("0:你好/ni3hao3/ ~ni3hao3 ~wait"));
    QCOMPARE(CurrentCharacter, QString("你好"));
}

void TstAutoFlashWindow::checkBoxesChooseTheQuestion_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("solution");
    QTest::newRow("translation only, silent")
        << QByteArray("autofch_chin=0\nautofch_pinyin=0\nautofch_eng=1\nautofch_sound=0\n") << "0://hello"
        << "2:你好/ni3hao3/hello";
    QTest::newRow("nothing shown, spoken at both steps")
        << QByteArray("autofch_chin=0\nautofch_pinyin=0\nautofch_eng=0\nautofch_sound=1\n")
        << "0:// ~ni3hao3 ~wait"
        << "2:你好/ni3hao3/hello ~ni3hao3 ~wait";
}

void TstAutoFlashWindow::checkBoxesChooseTheQuestion()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, question);
    QFETCH(QString, solution);
    AutoRun r(settings);
    CurrentCharacter.clear();
    r.start();
    QCOMPARE(r.tick(), question);
    QCOMPARE(CurrentCharacter, QString("你好")); // set for the log, spoken or not
    r.tick();
    QCOMPARE(r.tick(), solution);
}

// The boxes are read when the first box changes and at Start; what they hold while the
// user types keeps the run on the last times; keys other than digits are refused.
void TstAutoFlashWindow::timeBoxesFeedTheRun()
{
    AutoRun r("autofch_sound=0\n");
    auto* until = r.child<QLineEdit>("txt_zeitbislsg");
    auto* forSolution = r.child<QLineEdit>("txt_zeitfuerlsg");
    QVERIFY(until->toolTip().contains("0 to 9999"));
    r.start();
    r.ticks(6);
    forSolution->setText("0"); // alone it waits for the next reading
    QCOMPARE(r.ticks(6).last(), QString("5:谢谢/xie4xie0/thank you"));
    until->setText("1"); // now 1 and 0: whole card one tick after the question
    QCOMPARE(r.ticks(4), (QStringList{"0:再见/zai4jian4/", "1:再见/zai4jian4/goodbye",
                                      "2:再见/zai4jian4/goodbye", "0:// round 2"}));
    // What the user leaves in the boxes while typing keeps the run on the last times.
    for (const char* typing : {"", "-", "x", "99999"}) {
        until->setText(typing);
        QCOMPARE(ticksShown(r.ticks(3)), QString("120"));
    }
    forSolution->setText("abc"); // kept at 0, while 0 until the solution is taken
    until->setText("0");
    QCOMPARE(r.ticks(3), (QStringList{"1://", "0:你好/ni3hao3/", "1:你好/ni3hao3/"}));
    forSolution->setText("2");
    r.click("bt_stop"); // the card stays; the tick counter carries on at the next Start
    QVERIFY(!r.timer()->isActive());
    QVERIFY(r.button("bt_start")->isEnabled() && !r.button("bt_stop")->isEnabled());
    QCOMPARE(r.text("txt_sec") + r.text("txt_pinyin"), QString("1ni3hao3"));
    r.start(); // Start reads both boxes afresh
    QCOMPARE(r.ticks(4),
             (QStringList{"0:你好/ni3hao3/", "1:你好/ni3hao3/", "2:你好/ni3hao3/", "0:谢谢/xie4xie0/"}));

    until->setText("2");
    until->end(false);
    QTest::keyClicks(until, "abc");
    QCOMPARE(until->text(), QString("2"));
    QTest::keyClicks(until, "5999");
    QCOMPARE(until->text(), QString("2599"));
}

void TstAutoFlashWindow::leavingStoresTheBoxes()
{
    QFETCH(QString, how);
    AutoRun r;
    r.start();
    r.timer()->start(); // as in a real run
    r.box("ch_eng")->setChecked(true);
    r.box("ch_sound")->setChecked(false);
    QPointer<QTimer> timer = r.timer();
    r.leave(how);
    QVERIFY(!timer->isActive());
    QVERIFY(!r.window->isVisible());
    QCOMPARE(r.registry.find("autoflash"), nullptr);
    QCOMPARE(r.stored("autofch_eng") + r.stored("autofch_sound") + r.stored("autofch_chin"), QString("101"));
    QTRY_VERIFY(!timer); // discarded with its window
}

void TstAutoFlashWindow::selectionChangedDuringARun()
{
    AutoRun r("autofch_sound=0\n");
    r.start();
    r.ticks(7);
    StudyCount = 0; // the selection window chose one word meanwhile
    StudyList = QStringList{"2"};
    const QStringList log = r.ticks(13);
    QCOMPARE(log.mid(4, 2), (QStringList{"5:谢谢/xie4xie0/", "0:// round 2"}));
    QCOMPARE(log[11], QString("0:再见/zai4jian4/"));
    StudyList = QStringList{"no row"};
    QCOMPARE(r.ticks(12)[10], QString("0://")); // an entry naming no word shows nothing
}

void TstAutoFlashWindow::scalesWithTheWindow()
{
    AutoRun r("autofch_sound=0\nautofch_eng=0\n");
    QVERIFY(QTest::qWaitForWindowExposed(r.window));
    const QSize design = r.window->size();
    r.start();
    r.ticks(3);
    r.screenshot("autoflash_design");

    const QStringList names = {"txt_chin", "txt_eng", "bt_start",      "bt_ok",
                               "ch_chin",  "Label8",  "txt_zeitbislsg"};
    QList<QRect> before;
    for (const QString& n : names)
        before << r.child(n)->geometry();
    r.window->resize(design.width() * 2, design.height());
    QTRY_COMPARE(r.window->size(), QSize(design.width() * 2, design.height()));
    for (int i = 0; i < names.size(); ++i) {
        const QRect now = r.child(names[i])->geometry();
        QCOMPARE(now.left(), before[i].left() * 2);
        QCOMPARE(now.top(), before[i].top());
        const bool follows = i < 4; // fields and buttons; boxes and captions keep their size
        QCOMPARE(now.width(), follows ? before[i].width() * 2 : before[i].width());
        QCOMPARE(now.height(), before[i].height());
    }
    r.screenshot("autoflash_wide");
    r.window->resize(design.width(), design.height() * 3 / 2);
    QTRY_COMPARE(r.window->size(), QSize(design.width(), design.height() * 3 / 2));
    auto* chin = r.child<UnicodeTextBox>("txt_chin");
    QTRY_COMPARE(chin->findChild<QLineEdit*>()->height(), chin->height()); // the editor fills the box
    r.screenshot("autoflash_tall");
}

QTEST_MAIN(TstAutoFlashWindow)
#include "tst_auto_flash_window.moc"
