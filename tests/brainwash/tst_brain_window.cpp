// The brainwash settings window and its floating window, by control names; the timer's
// ticks are made by the test. What each tick shows and speaks is the scheduler's tests.
#include "brainwash/brain_window.h"
#include "brainwash/float_window.h"
#include "support/window_test.h"
#include "ui/unicode_text_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kTwo = {{"8", "ni3hao3", "你好", "hello", "1", ""},
                            {"1", "xie4xie0", "谢谢", "thank you", "1", ""}};

// The window opened over two words, with settings such as "chin=0 hotkey=Q": the
// brainwash keys without their brainwash_.
struct Brain : WindowTest {
    explicit Brain(const QString& settings = {}, bool hotkeys = true)
    {
        windowSystem.isAvailable = hotkeys;
        QByteArray file;
        for (const QString& s : settings.split(u' ', Qt::SkipEmptyParts))
            file += "brainwash_" + s.toUtf8() + "\n";
        train("frm_brain", kTwo, file);
    }
    BrainWindow* brain() const { return qobject_cast<BrainWindow*>(window); }
    FloatWindow* floating() const { return brain()->floatWindow(); }
    QTimer* timer() const { return child<QTimer>("Timer1"); }
    void tick() const { brain()->Timer1_Timer(); }
    // The brainwash settings stored, in the order they stand in the file.
    QStringList written() const
    {
        QStringList lines;
        for (const QByteArray& l : folder.read("tavi.ini").split('\n'))
            if (l.startsWith("brainwash_"))
                lines << QString::fromUtf8(l.mid(10));
        return lines;
    }
};

} // namespace

class TstBrainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aRunRidesInTheForegroundCaptionBar();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void hotkeyControlsFollowTheCheckBox();
    void hotkey_data();
    void hotkey();
    void keyboardAlone();
    void unloadingStopsTheRun();
};

void TstBrainWindow::aRunRidesInTheForegroundCaptionBar()
{
    Brain t("eng=0");
    QVERIFY(t.window->isVisible());
    auto* key = t.child<QComboBox>("cb_key");
    QCOMPARE(key->count(), 26);
    QCOMPARE(key->itemText(0) + key->itemText(25), QString("AZ"));
    QCOMPARE(t.text("txt_periode"), QString("3"));
    QCOMPARE(t.timer()->interval(), 1000);
    QVERIFY(!t.timer()->isActive());
    QVERIFY(t.button("bt_start")->isEnabled() && !t.button("bt_stop")->isEnabled());
    t.screenshot("brain_window");

    FloatWindow* f = t.floating();
    QCOMPARE(f->objectName(), QString("frm_float"));
    const Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    QCOMPARE(f->windowFlags() & flags, flags);
    QVERIFY(f->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(f->size(), QSize(131, 27));
    QCOMPARE(f->box()->geometry(), QRect(0, 0, 129, 25));
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0, 255, 255));

    t.type("txt_periode", "2");
    t.click("bt_start");
    QVERIFY(t.timer()->isActive());
    QVERIFY(f->isVisible());
    QVERIFY(!t.button("bt_start")->isEnabled() && t.button("bt_stop")->isEnabled());
    t.timer()->stop();
    // Frame right edge 900 px = 13500 twips; the main window's border 10 px keeps
    // 1650 + 150 twips clear: left 13500 - 1965 - 900 = 10635 twips = 709 px.
    t.hub.border = 10;
    t.windowSystem.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    t.tick();
    QCOMPARE(f->pos(), QPoint(709, 50));
    QCOMPARE(f->box()->text(), QString("你好"));
    QCOMPARE(f->box()->textColor(), QColor(255, 0, 0));
    QCOMPARE(f->box()->fontSize(), 12.0);
    t.windowSystem.front->frame.moveTo(300, 20);
    t.tick();
    QCOMPARE(f->pos(), QPoint(909, 20));
    QVERIFY(t.heard().isEmpty());
    t.windowSystem.front->window = f->winId(); // the user clicked into the floating window
    t.tick();                                  // the pinyin, spoken; it stays where it is
    QCOMPARE(f->pos(), QPoint(909, 20));
    QCOMPARE(f->box()->text(), QString("ni3hao3"));
    QCOMPARE(f->box()->fontName(), QString("Arial"));
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));

    t.click("bt_stop");
    QVERIFY(!f->isVisible());
    QVERIFY(!t.timer()->isActive());
    QCOMPARE(f->box()->text(), QString("ni3hao3")); // kept
}

void TstBrainWindow::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("state"); // chin eng pinyin sound hotkey, key, option
    QTest::addColumn<QString>("written");
    QTest::newRow("defaults") << ""
                              << "11110 0 op_alt"
                              << "chin=1 eng=1 pinyin=1 sound=1 hotkeyonoff=0 hotkey=0 hotkey_vkey=0";
    const QString stored = "hotkey_vkey=3 hotkey=Q hotkeyonoff=1 sound=0 pinyin=0 eng=1 chin=0";
    QTest::newRow("stored") << stored << "01001 Q op_win" << stored;
    QTest::newRow("an option out of range selects none, stored as 0")
        << "hotkey_vkey=7"
        << "11110 0 none"
        << "hotkey_vkey=0 chin=1 eng=1 pinyin=1 sound=1 hotkeyonoff=0 hotkey=0";
}

void TstBrainWindow::settingsRoundTrip()
{
    QFETCH(QString, settings);
    QFETCH(QString, state);
    QFETCH(QString, written);
    Brain t(settings);
    QString s;
    for (const char* name : {"ch_chin", "ch_eng", "ch_pinyin", "ch_sound", "ch_hotkey"})
        s += t.box(name)->isChecked() ? u'1' : u'0';
    s += u' ' + t.text("cb_key") + u' ';
    QString option = "none";
    for (const char* name : {"op_alt", "op_ctrl", "op_shift", "op_win"})
        if (t.child<QRadioButton>(name)->isChecked())
            option = name;
    QCOMPARE(s + option, state);
    t.click("bt_ok");
    QVERIFY(!t.window->isVisible());
    QCOMPARE(t.written().join(u' '), written);
}

void TstBrainWindow::hotkeyControlsFollowTheCheckBox()
{
    for (const bool available : {true, false}) {
        Brain t("hotkeyonoff=1", available);
        QCheckBox* hotkey = t.box("ch_hotkey");
        const auto controlsOn = [&t] {
            QString s;
            for (const char* name : {"op_alt", "op_ctrl", "op_shift", "op_win", "cb_key"})
                s += t.child(name)->isEnabled() ? u'1' : u'0';
            for (const char* name : {"Line1", "Line2", "Line3", "Line4"})
                s += t.child(name)->isVisibleTo(t.window) ? u'1' : u'0';
            return s;
        };
        QCOMPARE(hotkey->isEnabled(), available);
        QCOMPARE(controlsOn(), QString(available ? "111111111" : "000000000"));
        if (!available) {
            QCOMPARE(hotkey->toolTip(), english("brainwash_nohotkey"));
            t.click("bt_start");
            QVERIFY(t.windowSystem.grabs.isEmpty());
            QVERIFY(t.boxes.calls.isEmpty());
            continue;
        }
        for (const char* after : {"000000000", "111111111"}) {
            QTest::mouseClick(hotkey, Qt::LeftButton, {}, QPoint(8, hotkey->height() / 2));
            QCOMPARE(controlsOn(), QString(after));
        }
    }
}

void TstBrainWindow::hotkey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("option"); // brainwash_hotkey_vkey
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("grabs");
    QTest::addColumn<QString>("box"); // "text|title"
    const int grabbed = int(WindowSystem::GrabResult::Grabbed);
    QTest::newRow("ALT and Q") << "Q" << 0 << grabbed << QStringList{"Alt+Q"} << "";
    QTest::newRow("WIN is the Super key") << "Q" << 3 << grabbed << QStringList{"Win+Q"} << "";
    QTest::newRow("no option: SHIFT") << "k" << 9 << grabbed << QStringList{"Shift+k"} << "";
    QTest::newRow("empty key") << "" << 0 << grabbed << QStringList{} << "leer!|Tavi";
    QTest::newRow("taken") << "Q" << 0 << int(WindowSystem::GrabResult::Taken) << QStringList{"Alt+Q"}
                           << "You need another hotkey|Error";
}

void TstBrainWindow::hotkey()
{
    QFETCH(QString, key);
    QFETCH(int, option);
    QFETCH(int, answer);
    QFETCH(QStringList, grabs);
    QFETCH(QString, box);
    Brain t(QString("hotkeyonoff=1 hotkey_vkey=%1").arg(option));
    FakeWindowSystem& ws = t.windowSystem;
    ws.answer = WindowSystem::GrabResult(answer);
    t.child<QComboBox>("cb_key")->setCurrentText(key);
    t.click("bt_start");
    QCOMPARE(ws.grabs, grabs);
    QString shown;
    for (const BoxCall& c : t.boxes.calls)
        shown += c.text + u'|' + c.title;
    QCOMPARE(shown, box);
    // The run goes on, and starting never sends the main window away.
    QVERIFY(t.timer()->isActive());
    QVERIFY(t.floating()->isVisible());
    QCOMPARE(t.hub.minimised, 0);
    if (!box.isEmpty()) {
        QVERIFY(!ws.press());
        return;
    }

    t.timer()->stop();
    t.tick();
    QVERIFY(ws.press());
    QVERIFY(!t.floating()->isVisible());
    QCOMPARE(t.hub.minimised, 1);
    t.hub.border = 10;
    ws.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    const QPoint at = t.floating()->pos();
    t.tick();
    t.tick();
    t.tick(); // the pinyin step, hidden: in silence, not moved
    QCOMPARE(t.floating()->box()->text(), QString("ni3hao3"));
    QCOMPARE(t.floating()->pos(), at);
    QVERIFY(t.heard().isEmpty());
    QVERIFY(ws.press());
    QVERIFY(t.floating()->isVisible());
    QCOMPARE(t.floating()->pos(), QPoint(709, 50));
    QCOMPARE(t.hub.minimised, 1); // only the words come back
    QCOMPARE(t.hub.shown, 0);
    t.click("bt_stop");
    QCOMPARE(ws.grabs, grabs + QStringList{"-"});
    QVERIFY(!ws.press());
}

void TstBrainWindow::keyboardAlone()
{
    Brain t("hotkeyonoff=1 hotkey=Q");
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    auto* periode = t.child<QLineEdit>("txt_periode");
    periode->setFocus();
    QStringList order;
    for (QWidget* w = periode; order.size() < 10; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && w->isEnabled() && w->isVisibleTo(t.window) &&
            w->window() == t.window)
            if (!w->objectName().isEmpty() && !order.contains(w->objectName()))
                order << w->objectName();
    QCOMPARE(order, (QStringList{"txt_periode", "ch_chin", "ch_pinyin", "ch_eng", "ch_sound", "ch_hotkey",
                                 "op_alt", "op_ctrl", "op_shift", "op_win"}));

    QVERIFY(periode->toolTip().contains("16383"));
    periode->selectAll();
    QTest::keyClicks(periode, "x"); // the validator keeps out what is no interval
    QCOMPARE(periode->text(), QString("3"));
    periode->selectAll();
    QTest::keyClicks(periode, "16384");
    QCOMPARE(periode->text(), QString("16384")); // on its way to a number: the run keeps 1638
    QCOMPARE(t.brain()->scheduler().periode(), 1638);

    QCheckBox* chin = t.box("ch_chin");
    chin->setFocus();
    QTest::keyClick(chin, Qt::Key_Space);
    QVERIFY(!chin->isChecked());
    QTest::keyClick(t.child("cb_key"), Qt::Key_Return); // the default button: Start
    QVERIFY(t.timer()->isActive());
    t.button("bt_stop")->setFocus();
    QTest::keyClick(t.button("bt_stop"), Qt::Key_Space);
    QVERIFY(!t.timer()->isActive());
    periode->setFocus();
    QTest::keyClick(periode, Qt::Key_Return);
    QVERIFY(t.timer()->isActive());
    QTest::keyClick(periode, Qt::Key_Escape); // OK: hidden, the run goes on
    QVERIFY(!t.window->isVisible());
    QVERIFY(t.timer()->isActive());
    QVERIFY(t.floating()->isVisible());
    QVERIFY(t.written().contains("chin=0"));
    QWidget* running = t.window;
    t.open("frm_brain");
    QCOMPARE(t.window, running); // the same window, still running
    QVERIFY(t.button("bt_stop")->isEnabled());
    t.box("ch_sound")->setChecked(false);
    t.window->close(); // the close box is OK too
    QCOMPARE(t.registry.find("frm_brain"), running);
    QVERIFY(t.timer()->isActive());
    QVERIFY(t.written().contains("sound=0"));
}

// As a language switch does: the run ends with the window, and the hotkey is let go.
void TstBrainWindow::unloadingStopsTheRun()
{
    Brain t("hotkeyonoff=1 hotkey=Q");
    t.click("bt_start");
    QPointer<QWidget> floating = t.floating();
    QPointer<QTimer> timer = t.timer();
    t.registry.unload("frm_brain");
    QCOMPARE(t.registry.find("frm_brain"), nullptr);
    QTRY_VERIFY(!floating && !timer);
    QCOMPARE(t.windowSystem.grabs, (QStringList{"Alt+Q", "-"}));
    QVERIFY(!t.windowSystem.press());
}

QTEST_MAIN(TstBrainWindow)
#include "tst_brain_window.moc"
