// The brainwash settings window and its floating window, by control names; the timer's
// ticks are made by the test. What each tick shows and speaks is the scheduler's tests.
#include "brainwash/brain_window.h"
#include "brainwash/float_window.h"
#include "support/window_test.h"
#include "ui/unicode_text_box.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

// The window opened over two words, with settings such as "chin=0 hotkey=Q": the
// brainwash keys without their brainwash_.
struct Brain : WindowTest {
    explicit Brain(const QString& settings = {}, bool hotkeys = true)
    {
        windowSystem.isAvailable = hotkeys;
        QByteArray file;
        for (const QString& s : settings.split(u' ', Qt::SkipEmptyParts))
            file += "brainwash_" + s.toUtf8() + "\n";
        train("frm_brain", kTrainingWords.first(2), file);
    }
    BrainWindow* brain() const { return qobject_cast<BrainWindow*>(window); }
    FloatWindow* floating() const { return brain()->floatWindow(); }
    QTimer* timer() const { return child<QTimer>("Timer1"); }
    void tick() const { brain()->Timer1_Timer(); }
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
    void keyboardAloneThenUnloading();
    void withNoWindowInFrontTheWordsGoToTheChosenPlace();
    void desktopShortcut();
};

// The floating window rides in the caption bar of the foreground window; the hotkey
// hides it, sending the main window away, and brings back only the words.
void TstBrainWindow::aRunRidesInTheForegroundCaptionBar()
{
    Brain t("eng=0 hotkeyonoff=1 hotkey=Q");
    QCOMPARE(t.timer()->interval(), 1000);
    t.screenshot("brain_window");

    FloatWindow* f = t.floating();
    FakeWindowSystem& ws = t.windowSystem;
    t.type("txt_periode", "1");
    t.click("bt_start");
    QVERIFY(t.timer()->isActive() && f->isVisible());
    QVERIFY(!t.button("bt_start")->isEnabled() && t.button("bt_stop")->isEnabled());
    t.timer()->stop();
    // Frame right edge 900 px = 13500 twips; the main window's border 10 px keeps
    // 1650 + 150 twips clear: left 13500 - 1965 - 900 = 10635 twips = 709 px.
    t.hub.border = 10;
    ws.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    t.tick();
    QCOMPARE(f->pos(), QPoint(709, 50));
    QCOMPARE(f->box()->text(), QString("你好"));
    QCOMPARE(f->box()->textColor(), QColor(255, 0, 0));
    QCOMPARE(f->box()->fontSize(), 12.0);

    QVERIFY(ws.press());
    QVERIFY(!f->isVisible());
    QCOMPARE(t.hub.minimised, 1);
    ws.front->frame.moveTo(300, 20);
    t.tick(); // the pinyin step, hidden: in silence, not moved
    QCOMPARE(f->box()->text(), QString("ni3hao3"));
    QCOMPARE(f->box()->fontName(), QString("Arial"));
    QCOMPARE(f->pos(), QPoint(709, 50));
    QVERIFY(t.heard().isEmpty());
    QVERIFY(ws.press());
    QVERIFY(f->isVisible());
    QCOMPARE(f->pos(), QPoint(909, 20));
    QCOMPARE(t.hub.shown, 0);
    QVERIFY(t.brain()->toggleFromCommand() && !f->isVisible()); // the toggle command does the same
    QVERIFY(t.brain()->toggleFromCommand() && f->isVisible());

    ws.front = WindowSystem::Foreground{f->winId(), {}}; // the user clicked into the floating window
    t.tick();
    t.tick(); // the next word's pinyin, spoken; the window stays where it is
    QCOMPARE(f->pos(), QPoint(909, 20));
    QCOMPARE(t.heard(), (QStringList{"xie4xie0", "wait"}));

    t.click("bt_stop");
    QVERIFY(!f->isVisible() && !t.timer()->isActive());
    QCOMPARE(ws.grabs, (QStringList{"Alt+Q", "-"}));
    QVERIFY(!t.brain()->toggleFromCommand());
}

void TstBrainWindow::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("stored");
    const QString defaults = "chin=1 eng=1 pinyin=1 sound=1 hotkeyonoff=0 hotkey=0 hotkey_vkey=0 place=0";
    const QString stored = "chin=0 eng=1 pinyin=0 sound=0 hotkeyonoff=1 hotkey=Q hotkey_vkey=3 place=4";
    QTest::newRow("defaults") << "" << defaults;
    QTest::newRow("stored") << stored << stored;
    QTest::newRow("an option out of range is stored as 0") << "hotkey_vkey=7 place=6" << defaults;
}

void TstBrainWindow::settingsRoundTrip()
{
    QFETCH(QString, settings);
    QFETCH(QString, stored);
    Brain t(settings);
    t.click("bt_ok");
    QStringList now;
    for (const char* key :
         {"chin", "eng", "pinyin", "sound", "hotkeyonoff", "hotkey", "hotkey_vkey", "place"})
        now << QString(key) + u'=' + t.stored(QString("brainwash_") + key);
    QCOMPARE(now.join(u' '), stored);
}

void TstBrainWindow::hotkeyControlsFollowTheCheckBox()
{
    for (const bool available : {true, false}) {
        Brain t("hotkeyonoff=1", available);
        QCheckBox* hotkey = t.box("ch_hotkey");
        const auto controlsOn = [&t] {
            QString s;
            for (const char* name :
                 {"op_alt", "op_ctrl", "op_shift", "op_win", "cb_key", "Line1", "Line2", "Line3", "Line4"})
                s += t.child(name)->isEnabled() && t.child(name)->isVisibleTo(t.window) ? u'1' : u'0';
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
    QTest::addColumn<QString>("grabs"); // from Start to Stop
    QTest::addColumn<QString>("box");   // "text|flags|title"
    const int grabbed = int(WindowSystem::GrabResult::Grabbed);
    const int taken = int(WindowSystem::GrabResult::Taken);
    // clang-format off
    QTest::newRow("WIN is the Super key") << "Q" << 3 << grabbed << "Win+Q -"   << "";
    QTest::newRow("no option: SHIFT")     << "k" << 9 << grabbed << "Shift+k -" << "";
    QTest::newRow("empty key")            << ""  << 0 << grabbed << ""          << "leer!|0|Tavi";
    QTest::newRow("taken")                << "Q" << 0 << taken   << "Alt+Q"     << "You need another hotkey|0|Error";
    // clang-format on
}

void TstBrainWindow::hotkey()
{
    QFETCH(QString, key);
    QFETCH(int, option);
    QFETCH(int, answer);
    QFETCH(QString, grabs);
    QFETCH(QString, box);
    Brain t(QString("hotkeyonoff=1 hotkey_vkey=%1").arg(option));
    t.windowSystem.answer = WindowSystem::GrabResult(answer);
    t.child<QComboBox>("cb_key")->setCurrentText(key);
    t.click("bt_start");
    QCOMPARE(t.boxes.shown().join(u' '), box);
    // The run goes on, and starting never sends the main window away.
    QVERIFY(t.timer()->isActive() && t.floating()->isVisible());
    QCOMPARE(t.hub.minimised, 0);
    t.click("bt_stop");
    QCOMPARE(t.windowSystem.grabs.join(u' '), grabs);
}

void TstBrainWindow::keyboardAloneThenUnloading()
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

    periode->selectAll();
    QTest::keyClicks(periode, "x16384");         // the validator keeps out the x
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
    QVERIFY(t.timer()->isActive() && t.floating()->isVisible());
    QCOMPARE(t.stored("brainwash_chin"), QString("0"));
    QWidget* running = t.window;
    t.open("frm_brain");
    QCOMPARE(t.window, running); // the same window, still running
    QVERIFY(t.button("bt_stop")->isEnabled());
    t.box("ch_sound")->setChecked(false);
    t.window->close(); // the close box is OK too
    QCOMPARE(t.registry.find("frm_brain"), running);
    QVERIFY(t.timer()->isActive());
    QCOMPARE(t.stored("brainwash_sound"), QString("0"));

    // As a language switch does: the run ends with the window, and the hotkey is let go.
    QPointer<QWidget> floating = t.floating();
    QPointer<QTimer> timer = t.timer();
    t.registry.unload("frm_brain");
    QCOMPARE(t.registry.find("frm_brain"), nullptr);
    QTRY_VERIFY(!floating && !timer);
    QCOMPARE(t.windowSystem.grabs, (QStringList{"Alt+Q", "-", "Alt+Q", "-"}));
    QVERIFY(!t.windowSystem.press());
}

// A native Wayland program in front, or none: the words go where the user chose, and
// dragging them there chooses the place where they were dropped.
void TstBrainWindow::withNoWindowInFrontTheWordsGoToTheChosenPlace()
{
    Brain t("place=2");
    FloatWindow* f = t.floating();
    t.click("bt_start");
    const QRect screen = f->screen()->availableGeometry();
    QCOMPARE(f->pos(), fallbackPosition(FloatPlace::TopRight, screen, f->size(), {}));

    const QPoint from = f->pos();
    QTest::mousePress(f, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(f, QPoint(-95, 105));
    t.tick(); // a tick while the user drags moves nothing
    QTest::mouseRelease(f, Qt::LeftButton, {}, QPoint(-95, 105));
    const QPoint dropped = from + QPoint(-100, 100);
    QCOMPARE(f->pos(), dropped);
    QCOMPARE(t.stored("brainwash_place") + ' ' + t.stored("brainwash_place_x") + ' ' +
                 t.stored("brainwash_place_y"),
             QString("5 %1 %2").arg(dropped.x()).arg(dropped.y()));
    t.tick(); // in the place chosen
    QCOMPARE(f->pos(), dropped);

    // With an X11 window in front, the words ride in its caption bar as before.
    t.windowSystem.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    t.tick();
    QCOMPARE(f->pos().y(), 50);
    t.registry.unload("frm_brain");
    t.open("frm_brain"); // the dropped place is remembered
    t.click("bt_start");
    QCOMPARE(t.floating()->pos(), dropped);
}

// On a Wayland session the desktop binds the key: the preferred trigger is asked for
// once, what the desktop reports is shown, and its presses hide and show the words. A
// desktop that gives none is said once; the command is then the only way.
void TstBrainWindow::desktopShortcut()
{
    FakeDesktopShortcut shortcut; // there before the window, which asks for it
    Brain t("hotkeyonoff=1 hotkey=Q");
    const auto restart = [&t] {
        t.click("bt_stop");
        t.click("bt_start");
    };
    FloatWindow* f = t.floating();
    QCOMPARE(t.text("lbl_hotkeyway"), english("brainwash_way_desktop"));
    t.click("bt_start");
    QCOMPARE(shortcut.asked, QStringList{"ALT+q"});
    QVERIFY(t.windowSystem.grabs.isEmpty());     // no X11 grab beside it
    QVERIFY(shortcut.press() && f->isVisible()); // not bound yet
    QVERIFY(shortcut.answer({.bound = true, .trigger = "Ctrl+Alt+B", .error = {}}));
    QCOMPARE(t.text("lbl_hotkeyway"), english("brainwash_way_desktop") + ": Ctrl+Alt+B");
    QVERIFY(shortcut.press() && !f->isVisible());
    QVERIFY(shortcut.press() && f->isVisible());
    restart(); // the desktop keeps the binding: nothing asked again
    QCOMPARE(shortcut.asked.size(), 1);
    QVERIFY(shortcut.press() && !f->isVisible());

    t.child<QComboBox>("cb_key")->setCurrentText("W");
    restart();
    QCOMPARE(shortcut.asked, (QStringList{"ALT+q", "ALT+w"}));
    QVERIFY(shortcut.answer({.bound = false, .trigger = {}, .error = "refused by the desktop"}));
    QCOMPARE(t.boxes.shown(),
             QStringList{english("brainwash_shortcut_failed").arg("refused by the desktop") + "|48|Tavi"});
    QCOMPARE(t.text("lbl_hotkeyway"), english("brainwash_way_command"));
    QVERIFY(!t.child("cb_key")->isEnabled());
    restart();
    QVERIFY(shortcut.press() && f->isVisible());
    QCOMPARE(shortcut.asked.size(), 2);
    QCOMPARE(t.boxes.calls.size(), 1);
}

QTEST_MAIN(TstBrainWindow)
#include "tst_brain_window.moc"
