// The tools window and the speak-pinyin window, driven by their control names.
#include "sound/missing_sound_log.h"
#include "support/window_test.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

const QString kSample = QStringLiteral("Ni3hao3 wo3 de0 ge1ge0");

struct Sounds : WindowTest {
    Sounds()
    {
        QDir(folder.path()).mkdir(QStringLiteral("sound"));
        LogFilePath = folder.file(QStringLiteral("log.csv"));
    }
    // Opened, and on screen.
    bool show(const QString& name) { return open(name) && QTest::qWaitForWindowExposed(window); }
};

// Counts the paint events a window receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TstSoundWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }
    void toolsCheckBoxActsAtOnceOnlyOkStores_data() { rowsOf("how", {"bt_ok", "close box", "Escape"}); }
    void toolsCheckBoxActsAtOnceOnlyOkStores();
    void speakWindowShowsSampleOnEveryOpening();
    void speakWindowSpeaksWhatIsOnScreen();
};

void TstSoundWindows::toolsCheckBoxActsAtOnceOnlyOkStores()
{
    QFETCH(QString, how);
    Sounds t;
    QVERIFY(t.show("frm_tools"));
    auto logging = [&] { return t.box("chk_do_log")->isChecked() && t.child("txt_logfile")->isEnabled(); };
    QVERIFY(!logging());
    QCOMPARE(t.text("txt_logfile"), defaultLogFilePath());
    QTest::mouseClick(t.box("chk_do_log"), Qt::LeftButton);
    QVERIFY(LogEnabled);
    QVERIFY(logging());
    QVERIFY(t.stored("tools_do_logging").isEmpty());

    const QString logPath = t.folder.file("mine.csv");
    t.type("txt_logfile", logPath);
    t.leave(how);
    QVERIFY(!t.registry.find("frm_tools"));
    QVERIFY(LogEnabled); // the check box stays in force, stored or not
    const bool ok = how == "bt_ok";
    QCOMPARE(LogFilePath, ok ? logPath : defaultLogFilePath());
    QCOMPARE(t.stored("tools_do_logging"), QString(ok ? "True" : ""));
    QCOMPARE(t.stored("tools_logfile"), ok ? logPath : QString());
    if (!ok)
        return;

    // Opened again, as at the next start: a new window with the stored state.
    LogEnabled = false;
    QVERIFY(t.show("frm_tools"));
    QVERIFY(logging());
    QVERIFY(LogEnabled);
    QCOMPARE(t.text("txt_logfile"), logPath);
    t.screenshot("frm_tools");
    // Switched off, it logs no more, and OK stores it so.
    QTest::mouseClick(t.box("chk_do_log"), Qt::LeftButton);
    QVERIFY(!LogEnabled);
    QVERIFY(!t.child("txt_logfile")->isEnabled());
    t.click("bt_ok");
    QCOMPARE(t.stored("tools_do_logging"), QString("False"));
}

void TstSoundWindows::speakWindowShowsSampleOnEveryOpening()
{
    Sounds t;
    QVERIFY(t.show("frm_speakpinyin"));
    QCOMPARE(t.text("txt_pinyin"), kSample);
    t.screenshot("frm_speakpinyin");
    for (const char* how : {"bt_ok", "close box"}) {
        t.type("txt_pinyin", "xie4xie0");
        t.leave(how);
        QVERIFY(!t.registry.find("frm_speakpinyin"));
        QVERIFY(t.show("frm_speakpinyin"));
        QCOMPARE(t.text("txt_pinyin"), kSample);
    }
    QVERIFY(t.heard().isEmpty());
}

void TstSoundWindows::speakWindowSpeaksWhatIsOnScreen()
{
    Sounds t;
    for (const char* name : {"ni3", "hao3", "wo3", "wait"})
        t.folder.write(QStringLiteral("sound/%1.wav").arg(name), QByteArray()); // the fake reads no file
    LogEnabled = true;
    CurrentCharacter = QStringLiteral("学");
    QVERIFY(t.show("frm_speakpinyin"));
    t.type("txt_pinyin", "Ni3hao3 wo3");
    QTest::mouseClick(t.button("bt_speak"), Qt::LeftButton);
    QCOMPARE(t.heard(), QStringList({"ni3", "hao3", "wait", "wo3", "wait"}));
    QCOMPARE(CurrentCharacter, QString("none"));
    QVERIFY(t.folder.read("log.csv").contains("\"Word\",\"Ni3hao3\",\"none\"\r\n"));

    // Return speaks too. No button is pressed then, whose own repaint would paint the
    // window anyway: the text typed must still be on screen at the first sound.
    auto* text = t.child<QLineEdit>("txt_pinyin");
    PaintCounter counter;
    text->installEventFilter(&counter);
    int paintsAtFirstSound = -1;
    t.audio.onPlay = [&](const QString&) {
        if (paintsAtFirstSound < 0)
            paintsAtFirstSound = counter.paints;
    };
    t.type("txt_pinyin", "wo3");
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(t.heard(), QStringList({"wo3", "wait"}));
    QVERIFY(paintsAtFirstSound > 0);
}

QTEST_MAIN(TstSoundWindows)
#include "tst_sound_windows.moc"
