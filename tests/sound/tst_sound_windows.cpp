// The tools window and the speak-pinyin window, driven by their control names.
#include "app/all_windows.h"
#include "core/ini_store.h"
#include "core/window_registry.h"
#include "sound_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Windows : SoundFixture {
    WindowRegistry registry;

    Windows()
    {
        QFile::copy(shippedData("language.ini"), folder.file("language.ini"));
        registerAllWindows(registry);
    }
    QWidget* open(const char* name)
    {
        if (!registry.open(QLatin1String(name)))
            return nullptr;
        QWidget* w = registry.find(QLatin1String(name));
        if (!QTest::qWaitForWindowExposed(w))
            return nullptr;
        return w;
    }
    template <typename T> T* child(const char* window, const char* name) const
    {
        QWidget* w = registry.find(QLatin1String(window));
        return w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
    }
    QString setting(const QString& key) const { return ini::read(SettingsFile, "Tavi", key); }
};

// Saved for a look at what the user sees.
void screenshot(QWidget* window, const QString& name)
{
    QDir().mkpath(QStringLiteral(TAVI_SCREENSHOT_DIR));
    QVERIFY(window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/") + name + QStringLiteral(".png")));
}

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
    void toolsWindowShowsStoredSettings_data();
    void toolsWindowShowsStoredSettings();
    void toolsCheckBoxActsAtOnceAndOkStores();
    void toolsClosedWithoutOkStoresNothing();
    void speakWindowShowsSampleOnEveryOpening();
    void speakWindowSpeaksWhatIsOnScreen();
};

void TstSoundWindows::toolsWindowShowsStoredSettings_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("on");
    QTest::newRow("on") << "True" << true;
    QTest::newRow("off") << "False" << false;
}

void TstSoundWindows::toolsWindowShowsStoredSettings()
{
    QFETCH(QString, stored);
    QFETCH(bool, on);
    Windows w;
    QVERIFY(ini::write(SettingsFile, "Tavi", "tools_do_logging", stored));
    QVERIFY(ini::write(SettingsFile, "Tavi", "tools_logfile", "/data/words.csv"));
    QWidget* tools = w.open("frm_tools");
    QVERIFY(tools);
    auto* check = w.child<QCheckBox>("frm_tools", "chk_do_log");
    auto* path = w.child<QLineEdit>("frm_tools", "txt_logfile");
    QVERIFY(check && path && w.child<QPushButton>("frm_tools", "bt_ok"));
    QCOMPARE(check->isChecked(), on);
    QCOMPARE(path->isEnabled(), on);
    QCOMPARE(path->text(), QString("/data/words.csv"));
    QCOMPARE(LogEnabled, on);
    if (on)
        screenshot(tools, "frm_tools");
}

void TstSoundWindows::toolsCheckBoxActsAtOnceAndOkStores()
{
    Windows w;
    QVERIFY(w.open("frm_tools"));
    auto* check = w.child<QCheckBox>("frm_tools", "chk_do_log");
    auto* path = w.child<QLineEdit>("frm_tools", "txt_logfile");
    QCOMPARE(path->text(), defaultLogFilePath());
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(LogEnabled);
    QVERIFY(path->isEnabled());
    QVERIFY(w.setting("tools_do_logging").isEmpty());

    const QString logPath = w.folder.file("mine.csv");
    path->setText(logPath);
    QTest::mouseClick(w.child<QPushButton>("frm_tools", "bt_ok"), Qt::LeftButton);
    QCOMPARE(w.setting("tools_do_logging"), QString("True"));
    QCOMPARE(w.setting("tools_logfile"), logPath);
    QCOMPARE(LogFilePath, logPath);
    QVERIFY(!w.registry.find("frm_tools"));

    // Opened again: a new window with the stored state; switched off, it logs no more.
    QVERIFY(w.open("frm_tools"));
    QVERIFY(w.child<QCheckBox>("frm_tools", "chk_do_log")->isChecked());
    QTest::mouseClick(w.child<QCheckBox>("frm_tools", "chk_do_log"), Qt::LeftButton);
    QVERIFY(!LogEnabled);
    QVERIFY(!w.child<QLineEdit>("frm_tools", "txt_logfile")->isEnabled());
}

void TstSoundWindows::toolsClosedWithoutOkStoresNothing()
{
    Windows w;
    QWidget* tools = w.open("frm_tools");
    QTest::mouseClick(w.child<QCheckBox>("frm_tools", "chk_do_log"), Qt::LeftButton);
    w.child<QLineEdit>("frm_tools", "txt_logfile")->setText("/elsewhere.csv");
    tools->close();
    QVERIFY(!w.registry.find("frm_tools"));
    QVERIFY(LogEnabled);
    QCOMPARE(LogFilePath, defaultLogFilePath());
    QVERIFY(w.setting("tools_do_logging").isEmpty());
    QVERIFY(w.setting("tools_logfile").isEmpty());
}

void TstSoundWindows::speakWindowShowsSampleOnEveryOpening()
{
    Windows w;
    QWidget* speak = w.open("frm_speakpinyin");
    QVERIFY(speak);
    auto text = [&] { return w.child<QLineEdit>("frm_speakpinyin", "txt_pinyin"); };
    QCOMPARE(text()->text(), QString("Ni3hao3 wo3 de0 ge1ge0"));
    screenshot(speak, "frm_speakpinyin");

    text()->setText("xie4xie0");
    QTest::mouseClick(w.child<QPushButton>("frm_speakpinyin", "bt_ok"), Qt::LeftButton);
    QVERIFY(!w.registry.find("frm_speakpinyin"));
    QVERIFY(w.open("frm_speakpinyin"));
    QCOMPARE(text()->text(), QString("Ni3hao3 wo3 de0 ge1ge0"));

    text()->setText("xie4xie0");
    w.registry.find("frm_speakpinyin")->close();
    QVERIFY(w.open("frm_speakpinyin"));
    QCOMPARE(text()->text(), QString("Ni3hao3 wo3 de0 ge1ge0"));
    QVERIFY(w.audio.played.isEmpty());
}

void TstSoundWindows::speakWindowSpeaksWhatIsOnScreen()
{
    Windows w;
    w.addSounds({"ni3.wav", "hao3.wav", "wo3.wav", "wait.wav"});
    LogEnabled = true;
    CurrentCharacter = QStringLiteral("学");
    QVERIFY(w.open("frm_speakpinyin"));
    auto* text = w.child<QLineEdit>("frm_speakpinyin", "txt_pinyin");
    text->setText("Ni3hao3 wo3");
    QTest::mouseClick(w.child<QPushButton>("frm_speakpinyin", "bt_speak"), Qt::LeftButton);
    QCOMPARE(w.audio.played, QStringList({"ni3.wav", "hao3.wav", "wait.wav", "wo3.wav", "wait.wav"}));
    QCOMPARE(CurrentCharacter, QString("none"));
    QVERIFY(w.log().contains("\"Word\",\"Ni3hao3\",\"none\"\r\n"));

    // Return speaks too. No button is pressed then, whose own repaint would paint the
    // window anyway: the text typed must still be on screen at the first sound.
    PaintCounter counter;
    text->installEventFilter(&counter);
    int paintsAtFirstSound = -1;
    w.audio.onPlay = [&](const QString&) {
        if (paintsAtFirstSound < 0)
            paintsAtFirstSound = counter.paints;
    };
    w.audio.played.clear();
    text->setText("wo3");
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(w.audio.played, QStringList({"wo3.wav", "wait.wav"}));
    QVERIFY(paintsAtFirstSound > 0);
}

QTEST_MAIN(TstSoundWindows)
#include "tst_sound_windows.moc"
