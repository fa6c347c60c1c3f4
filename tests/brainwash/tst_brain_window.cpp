// The brainwash settings window and its floating window, by control names, with fakes
// for the boxes, the sound and the window system; the timer's ticks are made by the test.
#include "app/all_windows.h"
#include "brainwash/brain_window.h"
#include "brainwash/float_window.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/main_window.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "ui/unicode_text_box.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kTwo = {{"8", "ni3hao3", "你好", "hello", "1", ""},
                            {"1", "xie4xie0", "谢谢", "thank you", "1", ""}};

const char* const kKeys[] = {"brainwash_chin",       "brainwash_eng",         "brainwash_pinyin",
                             "brainwash_sound",      "brainwash_hotkeyonoff", "brainwash_hotkey",
                             "brainwash_hotkey_vkey"};

struct BrainRun {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeAudioOutput audio;
    FakeWindowSystem x11;
    WindowRegistry registry;
    std::unique_ptr<MainWindow> main;
    BrainWindow* window = nullptr;

    explicit BrainRun(const QByteArray& settings = {}, bool available = true)
    {
        x11.isAvailable = available;
        folder.prepareTraining(kTwo, "main_lang2=100\n" + settings);
        registerAllWindows(registry);
        main = std::make_unique<MainWindow>();
        main->Form_Load(folder.path());
        main->set_vocbuttons(true);
        QTest::mouseClick(child<QPushButton>(main.get(), "bt_brain"), Qt::LeftButton);
        window = registry.get<BrainWindow>("frm_brain");
    }
    template <typename W> static W* child(QWidget* w, const char* name)
    {
        return w->findChild<W*>(QLatin1String(name));
    }
    template <typename W> W* child(const char* name) const { return child<W>(window, name); }
    void click(const char* name) const { child<QPushButton>(name)->click(); }
    QTimer* timer() const { return child<QTimer>("Timer1"); }
    // Where the floating window goes over a window whose frame ends at `right`: right edge
    // - 1965 twips - half of a 1650-twip client with the main window's frame.
    int leftOver(int right) const
    {
        const int frame = main->frameGeometry().width() - main->geometry().width();
        return qRound((right * 15 - 1965 - (1650 + frame * 15) / 2) / 15.0);
    }
    FloatWindow* floating() const { return window->floatWindow(); }
    // The stored brainwash keys in the order they stand in the file.
    QStringList stored() const
    {
        QStringList lines;
        for (const QByteArray& l : folder.read("tavi.ini").split('\n'))
            if (l.startsWith("brainwash_"))
                lines << QString::fromUtf8(l);
        return lines;
    }
};

} // namespace

class TstBrainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsWithItsControls();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void hotkeyControlsFollowTheCheckBox();
    void aRunRidesInTheForegroundCaptionBar();
    void hotkey_data();
    void hotkey();
    void okHidesWhileTheRunGoesOn();
    void keyboardAlone();
    void languageSwitchStopsTheRun();
};

void TstBrainWindow::loadsWithItsControls()
{
    BrainRun r;
    QVERIFY(r.window->isVisible());
    auto* key = r.child<QComboBox>("cb_key");
    QCOMPARE(key->count(), 26);
    QCOMPARE(key->itemText(0) + key->itemText(25), QString("AZ"));
    QCOMPARE(key->toolTip(), QString("Select the hotkey !"));
    QCOMPARE(r.child<QLineEdit>("txt_periode")->text(), QString("3"));
    QVERIFY(r.child<QLineEdit>("txt_periode")->toolTip().contains("16383"));
    QCOMPARE(r.timer()->interval(), 1000);
    QVERIFY(!r.timer()->isActive());
    QVERIFY(r.child<QPushButton>("bt_start")->isEnabled());
    QVERIFY(!r.child<QPushButton>("bt_stop")->isEnabled());
    QCOMPARE(r.main->findChild<QLabel*>("txt_status")->text(), english("main_txt_status_brain"));
    QDir().mkpath(TAVI_SCREENSHOT_DIR);
    QVERIFY(r.window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/brain_window.png")));
}

void TstBrainWindow::settingsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("state"); // chin eng pinyin sound hotkey, key, option
    QTest::addColumn<QStringList>("written");
    QTest::newRow("defaults") << QByteArray() << "11110 0 op_alt"
                              << QStringList{"brainwash_chin=1",        "brainwash_eng=1",
                                             "brainwash_pinyin=1",      "brainwash_sound=1",
                                             "brainwash_hotkeyonoff=0", "brainwash_hotkey=0",
                                             "brainwash_hotkey_vkey=0"};
    const QByteArray stored = "brainwash_hotkey_vkey=3\nbrainwash_hotkey=Q\nbrainwash_hotkeyonoff=1\n"
                              "brainwash_sound=0\nbrainwash_pinyin=0\nbrainwash_eng=1\nbrainwash_chin=0\n";
    QTest::newRow("stored") << stored << "01001 Q op_win" << QString(stored).split(u'\n', Qt::SkipEmptyParts);
    QTest::newRow("an option out of range selects none, stored as 0")
        << QByteArray("brainwash_hotkey_vkey=7\n") << "11110 0 none"
        << QStringList{"brainwash_hotkey_vkey=0", "brainwash_chin=1",  "brainwash_eng=1",
                       "brainwash_pinyin=1",      "brainwash_sound=1", "brainwash_hotkeyonoff=0",
                       "brainwash_hotkey=0"};
}

void TstBrainWindow::settingsRoundTrip()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, state);
    QFETCH(QStringList, written);
    BrainRun r(settings);
    QString s;
    for (const char* name : {"ch_chin", "ch_eng", "ch_pinyin", "ch_sound", "ch_hotkey"})
        s += r.child<QCheckBox>(name)->isChecked() ? u'1' : u'0';
    s += u' ' + r.child<QComboBox>("cb_key")->currentText() + u' ';
    QString option = "none";
    for (const char* name : {"op_alt", "op_ctrl", "op_shift", "op_win"})
        if (r.child<QRadioButton>(name)->isChecked())
            option = name;
    QCOMPARE(s + option, state);
    r.click("bt_ok");
    QCOMPARE(r.stored(), written);
}

void TstBrainWindow::hotkeyControlsFollowTheCheckBox()
{
    for (const bool available : {true, false}) {
        BrainRun r("brainwash_hotkeyonoff=1\n", available);
        auto* hotkey = r.child<QCheckBox>("ch_hotkey");
        const auto controlsOn = [&r] {
            QString s;
            for (const char* name : {"op_alt", "op_ctrl", "op_shift", "op_win", "cb_key"})
                s += r.child<QWidget>(name)->isEnabled() ? u'1' : u'0';
            for (const char* name : {"Line1", "Line2", "Line3", "Line4"})
                s += r.child<QWidget>(name)->isVisibleTo(r.window) ? u'1' : u'0';
            return s;
        };
        QCOMPARE(hotkey->isEnabled(), available);
        QCOMPARE(controlsOn(), QString(available ? "111111111" : "000000000"));
        if (!available) {
            QCOMPARE(hotkey->toolTip(), english("brainwash_nohotkey"));
            r.click("bt_start");
            QVERIFY(r.x11.grabs.isEmpty());
            QVERIFY(r.boxes.calls.isEmpty());
            continue;
        }
        QTest::mouseClick(hotkey, Qt::LeftButton, {}, QPoint(8, hotkey->height() / 2));
        QCOMPARE(controlsOn(), QString("000000000"));
        QTest::mouseClick(hotkey, Qt::LeftButton, {}, QPoint(8, hotkey->height() / 2));
        QCOMPARE(controlsOn(), QString("111111111"));
    }
}

void TstBrainWindow::aRunRidesInTheForegroundCaptionBar()
{
    BrainRun r("brainwash_eng=0\n");
    FloatWindow* f = r.floating();
    QCOMPARE(f->objectName(), QString("frm_float"));
    const Qt::WindowFlags flags =
        Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    QCOMPARE(f->windowFlags() & flags, flags);
    QVERIFY(f->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(f->size(), QSize(131, 27));
    QCOMPARE(f->box()->geometry(), QRect(0, 0, 129, 25));
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0, 255, 255));

    r.child<QLineEdit>("txt_periode")->setText("2");
    r.click("bt_start");
    QVERIFY(r.timer()->isActive());
    QVERIFY(f->isVisible());
    r.timer()->stop();
    r.x11.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    r.window->Timer1_Timer();
    QCOMPARE(f->pos(), QPoint(r.leftOver(900), 50));
    QCOMPARE(f->box()->text(), QString("你好"));
    QCOMPARE(f->box()->textColor(), QColor(255, 0, 0));
    QCOMPARE(f->box()->fontSize(), 12.0);
    r.x11.front->frame.moveTo(300, 20);
    r.window->Timer1_Timer();
    QCOMPARE(f->pos(), QPoint(r.leftOver(1100), 20));
    QVERIFY(r.audio.played.isEmpty());
    r.x11.front->window = f->winId(); // the user clicked into the floating window
    r.window->Timer1_Timer();         // pinyin, translation hidden: the next word follows it
    QCOMPARE(f->pos(), QPoint(r.leftOver(1100), 20));
    QCOMPARE(f->box()->text(), QString("ni3hao3"));
    QCOMPARE(f->box()->fontName(), QString("Arial"));
    QCOMPARE(r.audio.played, (QStringList{"ni3hao3.wav", "wait.wav"}));

    r.click("bt_stop");
    QVERIFY(!f->isVisible());
    QVERIFY(!r.timer()->isActive());
    QCOMPARE(f->box()->text(), QString("ni3hao3")); // kept
}

void TstBrainWindow::hotkey_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("grabs");
    QTest::addColumn<QString>("box"); // "text|title"
    QTest::newRow("ALT and Q") << QByteArray() << "Q" << int(WindowSystem::GrabResult::Grabbed)
                               << QStringList{"Alt+Q"} << "";
    QTest::newRow("WIN is the Super key")
        << QByteArray("brainwash_hotkey_vkey=3\n") << "Q" << int(WindowSystem::GrabResult::Grabbed)
        << QStringList{"Win+Q"} << "";
    QTest::newRow("no option: SHIFT")
        << QByteArray("brainwash_hotkey_vkey=9\n") << "k" << int(WindowSystem::GrabResult::Grabbed)
        << QStringList{"Shift+k"} << "";
    QTest::newRow("empty key") << QByteArray() << "" << int(WindowSystem::GrabResult::Grabbed)
                               << QStringList{} << "leer!|Tavi";
    QTest::newRow("taken") << QByteArray() << "Q" << int(WindowSystem::GrabResult::Taken)
                           << QStringList{"Alt+Q"} << "You need another hotkey|Error";
}

void TstBrainWindow::hotkey()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, key);
    QFETCH(int, answer);
    QFETCH(QStringList, grabs);
    QFETCH(QString, box);
    BrainRun r("brainwash_hotkeyonoff=1\n" + settings);
    r.x11.answer = WindowSystem::GrabResult(answer);
    r.child<QComboBox>("cb_key")->setCurrentText(key);
    r.click("bt_start");
    QCOMPARE(r.x11.grabs, grabs);
    QString shown;
    for (const BoxCall& c : r.boxes.calls)
        shown += c.text + u'|' + c.title;
    QCOMPARE(shown, box);
    // The run goes on, and starting never sends the main window away.
    QVERIFY(r.timer()->isActive());
    QVERIFY(r.floating()->isVisible());
    QVERIFY(!r.main->isMinimized());
    if (!box.isEmpty()) {
        QVERIFY(!r.x11.press());
        return;
    }

    r.timer()->stop();
    r.window->Timer1_Timer();
    QVERIFY(r.x11.press());
    QVERIFY(!r.floating()->isVisible());
    QVERIFY(r.main->isMinimized());
    r.x11.front = WindowSystem::Foreground{4711, QRect(100, 50, 800, 400)};
    const QPoint at = r.floating()->pos();
    r.window->Timer1_Timer();
    r.window->Timer1_Timer();
    r.window->Timer1_Timer(); // the pinyin step, hidden: in silence, not moved
    QCOMPARE(r.floating()->box()->text(), QString("ni3hao3"));
    QCOMPARE(r.floating()->pos(), at);
    QVERIFY(r.audio.played.isEmpty());
    QVERIFY(r.x11.press());
    QVERIFY(r.floating()->isVisible());
    QCOMPARE(r.floating()->pos(), QPoint(r.leftOver(900), 50));
    QVERIFY(r.main->isMinimized()); // only the words come back
    r.click("bt_stop");
    QCOMPARE(r.x11.grabs, grabs + QStringList{"-"});
    QVERIFY(!r.x11.press());
}

void TstBrainWindow::okHidesWhileTheRunGoesOn()
{
    BrainRun r;
    r.click("bt_start");
    r.child<QCheckBox>("ch_sound")->setChecked(false);
    r.click("bt_ok");
    QVERIFY(!r.window->isVisible());
    QVERIFY(r.timer()->isActive());
    QVERIFY(r.floating()->isVisible());
    QVERIFY(r.stored().contains("brainwash_sound=0"));
    QTest::mouseClick(r.main->findChild<QPushButton*>("bt_brain"), Qt::LeftButton);
    QCOMPARE(r.registry.find("frm_brain"), r.window); // the same window, still running
    QVERIFY(r.window->isVisible());
    QVERIFY(r.child<QPushButton>("bt_stop")->isEnabled());
}

void TstBrainWindow::keyboardAlone()
{
    BrainRun r("brainwash_hotkeyonoff=1\nbrainwash_hotkey=Q\n");
    r.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(r.window));
    auto* periode = r.child<QLineEdit>("txt_periode");
    periode->setFocus();
    QStringList order;
    for (QWidget* w = periode; order.size() < 10; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && w->isEnabled() && w->isVisibleTo(r.window) &&
            w->window() == r.window)
            if (!w->objectName().isEmpty() && !order.contains(w->objectName()))
                order << w->objectName();
    QCOMPARE(order, (QStringList{"txt_periode", "ch_chin", "ch_pinyin", "ch_eng", "ch_sound", "ch_hotkey",
                                 "op_alt", "op_ctrl", "op_shift", "op_win"}));

    periode->selectAll();
    QTest::keyClicks(periode, "x"); // the validator keeps out what is no interval
    QCOMPARE(periode->text(), QString("3"));
    periode->selectAll();
    QTest::keyClicks(periode, "16384");
    QCOMPARE(periode->text(), QString("16384")); // on its way to a number: the run keeps 1638
    QCOMPARE(r.window->scheduler().periode(), 1638);

    auto* chin = r.child<QCheckBox>("ch_chin");
    chin->setFocus();
    QTest::keyClick(chin, Qt::Key_Space);
    QVERIFY(!chin->isChecked());
    QTest::keyClick(r.child<QComboBox>("cb_key"), Qt::Key_Return); // the default button: Start
    QVERIFY(r.timer()->isActive());
    auto* stop = r.child<QPushButton>("bt_stop");
    stop->setFocus();
    QTest::keyClick(stop, Qt::Key_Space);
    QVERIFY(!r.timer()->isActive());
    periode->setFocus();
    QTest::keyClick(periode, Qt::Key_Return);
    QVERIFY(r.timer()->isActive());
    QTest::keyClick(periode, Qt::Key_Escape); // OK
    QVERIFY(!r.window->isVisible());
    QVERIFY(r.timer()->isActive());
    QVERIFY(r.stored().contains("brainwash_chin=0"));
}

void TstBrainWindow::languageSwitchStopsTheRun()
{
    BrainRun r("brainwash_hotkeyonoff=1\nbrainwash_hotkey=Q\n");
    r.click("bt_start");
    QPointer<QWidget> floating = r.floating();
    QPointer<QTimer> timer = r.timer();
    r.main->findChild<QAction*>("mnu_german")->trigger();
    QCOMPARE(r.registry.find("frm_brain"), nullptr);
    QTRY_VERIFY(!floating && !timer);
    QCOMPARE(r.x11.grabs, (QStringList{"Alt+Q", "-"}));
    QVERIFY(!r.x11.press());
    QTest::mouseClick(r.main->findChild<QPushButton*>("bt_brain"), Qt::LeftButton);
    r.window = r.registry.get<BrainWindow>("frm_brain");
    QCOMPARE(r.window->windowTitle(), german("brainwash_title"));
    QCOMPARE(r.child<QCheckBox>("ch_hotkey")->text(), german("brainwash_usehotkey"));
    QVERIFY(r.child<QPushButton>("bt_start")->isEnabled());
    QVERIFY(r.window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/brain_window_german.png")));
}

QTEST_MAIN(TstBrainWindow)
#include "tst_brain_window.moc"
