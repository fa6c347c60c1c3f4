// The main window: start-up, first start, language switching, the commands it
// enables, help and exit.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/main_window.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

const QStringList kTraining = {"mnu_flash", "mnu_autostudy", "mnu_memory", "bt_game1", "go_flash",
                               "autovoc",   "mnu_brain",     "bt_brain",   "bt_edit",  "mnu_edit"};
const QStringList kAlwaysOn = {"open_loadvoc", "mnu_loadvoc", "bt_speakpinyin", "mnu_speakpinyin",
                               "bt_help",      "mnu_help",    "bt_about",       "mnu_about",
                               "tools",        "install",     "mnu_progress",   "mnu_exit",
                               "mnu_english",  "mnu_german",  "mnu_newlang"};

bool isEnabled(QObject* window, const QString& name)
{
    if (auto* a = window->findChild<QAction*>(name))
        return a->isEnabled();
    auto* w = window->findChild<QWidget*>(name);
    return w && w->isEnabled();
}

// One program start in a fresh main window.
struct Started {
    FakeMessageBox boxes;
    FakeOpener opener;
    FakeInstallProbe probe;
    WindowRegistry registry;
    MainWindow window;
    bool visibleAtFirstBox = true;

    explicit Started(const TestProgramFolder& folder)
    {
        registerAllWindows(registry);
        boxes.onShow = [this](const BoxCall&) {
            if (boxes.calls.size() == 1)
                visibleAtFirstBox = window.isVisible();
        };
        window.Form_Load(folder.path());
    }
    QString setting(const QString& key) const { return ini::read(SettingsFile, "Tavi", key); }
    template <typename T> T* child(const QString& name) const { return window.findChild<T*>(name); }
};

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsAndMenusAreNamed();
    void firstStart();
    void laterStart();
    void startCounter_data();
    void startCounter();
    void unknownLanguageFallsBackToEnglish();
    void newLanguageFillsSectionInLookupOrder();
    void languageSwitchTwice();
    void trainingCommandsFollowSelection();
    void helpButtonAndMenuOpenSameHelp();
    void missingHelpPageIsReported();
    void aboutOpensOnceAndSwitchUnloadsIt();
    void windowsOpenWithTheirStatus();
    void editButtonAsksForAnInputMethod();
    void oddFilesStillStart_data();
    void oddFilesStillStart();
    void refusedSettingsWritesAreReported();
    void exitWaitsOneSecondAndStaysResponsive();
    void closeBoxEndsProgram();
};

void TstMainWindow::controlsAndMenusAreNamed()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=3000\n");
    Started s(folder);
    for (const char* name : {"txt_title", "txt_status", "Picture1", "Picture2"})
        QVERIFY2(s.child<QLabel>(QLatin1String(name)), name);
    for (const char* name : {"Frame1", "Frame2", "Frame3"})
        QVERIFY2(s.child<QWidget>(QLatin1String(name)), name);
    const QStringList frame1 = {"open_loadvoc", "bt_edit"};
    const QStringList frame2 = {"bt_brain", "bt_game1", "autovoc", "go_flash"};
    const QStringList frame3 = {"bt_help", "bt_about", "bt_speakpinyin"};
    for (const auto& [frame, buttons] : {std::pair{"Frame1", frame1}, {"Frame2", frame2}, {"Frame3", frame3}})
        for (const QString& b : buttons)
            QVERIFY2(s.child<QWidget>(frame)->findChild<QPushButton*>(b), qPrintable(b));
    QVERIFY(!s.child<QPushButton>("open_loadvoc")->icon().isNull());
    QVERIFY(!s.child<QPushButton>("go_flash")->icon().isNull());

    // Menu tree, with separators and fixed captions.
    auto items = [&](const char* menu) {
        QStringList names;
        for (QAction* a : s.child<QMenu>(QLatin1String(menu))->actions())
            names << a->objectName();
        return names;
    };
    QCOMPARE(items("mnu_file"), (QStringList{"mnu_loadvoc", "kk", "mnu_exit"}));
    QCOMPARE(items("mnu_action"),
             (QStringList{"mnu_flash", "mnu_autostudy", "mnu_speakpinyin", "aaa", "mnu_brain"}));
    QCOMPARE(items("mnu_games"), (QStringList{"mnu_memory"}));
    QCOMPARE(items("mnulanguage"), (QStringList{"mnu_english", "mnu_german", "mnu_newlang"}));
    QCOMPARE(items("mnu_h"), (QStringList{"mnu_help", "mnu_edit", "install", "tools", "mnu_progress",
                                          "strich", "mnu_about"}));
    QStringList titles;
    for (QAction* a : s.window.menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Study", "&Games", "&Language", "&Tavi"}));
    QCOMPARE(s.child<QAction>("install")->text(), QString("&Test Installation"));
    QCOMPARE(s.child<QAction>("tools")->text(), QString("&Tools"));
    QCOMPARE(s.child<QAction>("mnu_newlang")->text(), QString("&New language"));
    QVERIFY(s.child<QAction>("kk")->isSeparator());
}

void TstMainWindow::firstStart()
{
    TestProgramFolder folder;
    Started s(folder);
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].title, QString("Ni hao !"));
    QCOMPARE(s.boxes.calls[0].flags, 64);
    QCOMPARE(s.boxes.calls[0].text, english("main_welcome"));
    QVERIFY(!s.visibleAtFirstBox); // the welcome comes before the main window
    QCOMPARE(s.opener.calls.size(), 1);
    QCOMPARE(s.opener.calls[0].target, folder.file("help.htm"));
    QVERIFY(s.window.isVisible());
    QCOMPARE(VocFilePath, QDir::toNativeSeparators(folder.file("my_vocabulary/pcr1-10u.txt")));
    QCOMPARE(s.setting("main_glang"), QString("ENGLISH"));
    QCOMPARE(s.setting("main_lang2"), QString("2138"));
    QCOMPARE(s.window.windowTitle(), english("main_txt_title"));
    QCOMPARE(s.child<QLabel>("txt_title")->text(), english("main_txt_title"));
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_load"));
    QCOMPARE(s.child<QPushButton>("go_flash")->text(), english("main_bt_flash"));
    QCOMPARE(s.child<QAction>("mnu_flash")->text().remove(u'&'), english("main_bt_flash"));
    QCOMPARE(s.child<QAction>("mnu_exit")->text().remove(u'&'), english("main_end"));
    QCOMPARE(s.child<QAction>("mnu_help")->text().remove(u'&'), english("main_bt_help"));
    QVERIFY(s.child<QAction>("mnu_english")->isChecked());
    QVERIFY(!s.child<QAction>("mnu_german")->isChecked());
    QVERIFY(!s.child<QAction>("mnu_newlang")->isChecked());
    // Every item can be reached by its letter, and the commands users try first have keys.
    for (QMenu* menu : s.window.menuBar()->findChildren<QMenu*>()) {
        for (QAction* a : menu->actions())
            QVERIFY2(a->isSeparator() || a->text().contains(u'&'), qPrintable(a->text()));
    }
    QCOMPARE(s.child<QAction>("mnu_flash")->text(), QString("&Flashcards"));
    QCOMPARE(s.child<QAction>("mnu_loadvoc")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(s.child<QAction>("mnu_exit")->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(s.child<QAction>("mnu_help")->shortcut(), QKeySequence("F1"));
}

void TstMainWindow::laterStart()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_glang=  GERMAN\nmain_lang2=2138\n");
    Started s(folder);
    QVERIFY(s.boxes.calls.isEmpty());
    QVERIFY(s.opener.calls.isEmpty());
    QVERIFY(VocFilePath.isEmpty());
    QCOMPARE(s.setting("main_lang2"), QString("2139"));
    QCOMPARE(HelpFile, folder.file("help_d.htm"));
    QCOMPARE(s.child<QPushButton>("go_flash")->text(), german("main_bt_flash"));
    QCOMPARE(s.child<QPushButton>("bt_help")->text(), QString("Help"));
    QVERIFY(s.child<QAction>("mnu_german")->isChecked());
    QVERIFY(!s.child<QAction>("mnu_english")->isChecked());
}

void TstMainWindow::startCounter_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("welcome");
    QTest::addColumn<QString>("after");
    QTest::newRow("not a number") << QByteArray("abc") << true << "2138";
    QTest::newRow("-9999 means missing") << QByteArray("-9999") << true << "2138";
    QTest::newRow("stops at 32767") << QByteArray("32767") << false << "32767";
    QTest::newRow("beyond 16 bits reads as first start") << QByteArray("99999") << true << "2138";
}

void TstMainWindow::startCounter()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, welcome);
    QFETCH(QString, after);
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=" + stored + "\n");
    Started s(folder);
    QCOMPARE(!s.boxes.calls.isEmpty(), welcome);
    QCOMPARE(s.setting("main_lang2"), after);
}

void TstMainWindow::unknownLanguageFallsBackToEnglish()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_glang=english\nmain_lang2=5\n");
    Started s(folder);
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, QString("No language  found: english.I use English instead."));
    QCOMPARE(s.boxes.calls[0].flags, 0);
    QCOMPARE(s.boxes.calls[0].title, QString("Tavi"));
    QCOMPARE(s.setting("main_glang"), QString("ENGLISH"));
    QCOMPARE(LanguageSection, QString("ENGLISH"));
}

void TstMainWindow::newLanguageFillsSectionInLookupOrder()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_glang=NEW\nmain_lang2=5\n");
    Started s(folder);
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, QString("Adapt Tavi to YOUR native language by translating the [NEW] "
                                            "section in the language.ini file !"));
    QCOMPARE(s.boxes.calls[0].title, QString("Note"));
    QCOMPARE(s.boxes.calls[0].flags, 64);
    QCOMPARE(s.child<QPushButton>("go_flash")->text(), QString());
    QCOMPARE(HelpFile, folder.file("help_n.htm"));

    const QByteArray file = folder.read("language.ini");
    const QByteArray newSection = file.mid(file.lastIndexOf("\n[NEW]") + 1);
    QStringList keys;
    for (const QByteArray& line : newSection.split('\n').mid(1))
        if (!line.isEmpty())
            keys << QString::fromUtf8(line.left(line.indexOf('=')));
    QCOMPARE(keys, (QStringList{"main_welcome", "main_bt_flash", "main_bt_autovoc", "main_end",
                                "main_loadvoc", "main_bt_about", "main_bt_game1", "main_bt_edit",
                                "main_bt_help", "main_bt_speakpinyin", "main_bt_brain",
                                "main_txt_status_load", "main_txt_title", "mnu_progress"}));

    // The second time the captions show the key names, ready to be translated.
    s.child<QAction>("mnu_newlang")->trigger();
    QCOMPARE(s.boxes.calls.size(), 2);
    QCOMPARE(s.child<QPushButton>("go_flash")->text(), QString("main_bt_flash"));
    QCOMPARE(s.window.windowTitle(), QString("main_txt_title"));
    QVERIFY(s.child<QAction>("mnu_newlang")->isChecked());
}

void TstMainWindow::languageSwitchTwice()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    s.window.set_vocbuttons(true);
    QDialogButtonBox qtOwn(QDialogButtonBox::Cancel); // Qt's own texts follow the switches
    s.child<QAction>("mnu_german")->trigger();
    QCOMPARE(s.child<QPushButton>("autovoc")->text(), german("main_bt_autovoc"));
    QTRY_COMPARE(qtOwn.button(QDialogButtonBox::Cancel)->text(), QString("Abbrechen"));
    QCOMPARE(s.child<QLabel>("txt_status")->text(), german("main_txt_status_load"));
    QCOMPARE(s.setting("main_glang"), QString("GERMAN"));
    s.child<QAction>("mnu_english")->trigger();
    QCOMPARE(s.setting("main_lang2"), QString("103"));
    QCOMPARE(s.child<QPushButton>("autovoc")->text(), english("main_bt_autovoc"));
    QTRY_COMPARE(qtOwn.button(QDialogButtonBox::Cancel)->text(), QString("Cancel"));
    for (const QString& name : kTraining)
        QVERIFY2(!isEnabled(&s.window, name), qPrintable(name));
    int checked = 0;
    for (const char* name : {"mnu_english", "mnu_german", "mnu_newlang"})
        checked += s.child<QAction>(QLatin1String(name))->isChecked();
    QCOMPARE(checked, 1);
}

void TstMainWindow::trainingCommandsFollowSelection()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    for (const QString& name : kTraining)
        QVERIFY2(!isEnabled(&s.window, name), qPrintable(name));
    for (const QString& name : kAlwaysOn)
        QVERIFY2(isEnabled(&s.window, name), qPrintable(name));
    s.window.set_vocbuttons(true);
    for (const QString& name : kTraining + kAlwaysOn)
        QVERIFY2(isEnabled(&s.window, name), qPrintable(name));
}

void TstMainWindow::helpButtonAndMenuOpenSameHelp()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_glang=GERMAN\nmain_lang2=100\n");
    Started s(folder);
    QTest::mouseClick(s.child<QPushButton>("bt_help"), Qt::LeftButton);
    s.child<QAction>("mnu_help")->trigger();
    QCOMPARE(s.opener.calls.size(), 2);
    QCOMPARE(s.opener.calls[0].target, folder.file("help_d.htm"));
    QCOMPARE(s.opener.calls[1].target, folder.file("help_d.htm"));
}

void TstMainWindow::missingHelpPageIsReported()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    QFile::remove(folder.file("help.htm"));
    Started s(folder);
    s.child<QAction>("mnu_help")->trigger();
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, QString("File Not Found"));
    QCOMPARE(s.boxes.calls[0].title, QString("RunFile"));
}

void TstMainWindow::aboutOpensOnceAndSwitchUnloadsIt()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    QTest::mouseClick(s.child<QPushButton>("bt_about"), Qt::LeftButton);
    QWidget* about = s.registry.find("frm_about");
    QVERIFY(about && about->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_about"));
    s.child<QAction>("mnu_about")->trigger();
    QCOMPARE(s.registry.find("frm_about"), about);
    s.child<QAction>("mnu_german")->trigger();
    QCOMPARE(s.registry.find("frm_about"), nullptr);
}

void TstMainWindow::windowsOpenWithTheirStatus()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    s.window.set_vocbuttons(true);
    const QString status = s.child<QLabel>("txt_status")->text();
    s.child<QAction>("install")->trigger();
    QVERIFY(s.registry.find("frm_install") && s.registry.find("frm_install")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), status);
    QVERIFY(s.boxes.calls.isEmpty());
    s.child<QAction>("mnu_loadvoc")->trigger();
    QVERIFY(s.registry.find("loadvoc"));
    QCOMPARE(s.child<QLabel>("txt_status")->text(), status);
    QTest::mouseClick(s.child<QPushButton>("go_flash"), Qt::LeftButton);
    QVERIFY(s.registry.find("flashcard") && s.registry.find("flashcard")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_flash"));
    QTest::mouseClick(s.child<QPushButton>("autovoc"), Qt::LeftButton);
    QVERIFY(s.registry.find("autoflash") && s.registry.find("autoflash")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_autovoc"));
    QTest::mouseClick(s.child<QPushButton>("bt_game1"), Qt::LeftButton);
    QVERIFY(s.registry.find("frm_game1") && s.registry.find("frm_game1")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_game1"));
    QTest::mouseClick(s.child<QPushButton>("bt_brain"), Qt::LeftButton);
    QVERIFY(s.registry.find("frm_brain") && s.registry.find("frm_brain")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_brain"));
    s.child<QAction>("mnu_edit")->trigger();
    QVERIFY(s.registry.find("frm_editvoc") && s.registry.find("frm_editvoc")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_edit"));
    s.child<QAction>("mnu_english")->trigger(); // a language switch closes the trainers
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(s.registry.find("flashcard"), nullptr);
    QCOMPARE(s.registry.find("autoflash"), nullptr);
    QCOMPARE(s.registry.find("frm_brain"), nullptr);
    QVERIFY(s.registry.find("frm_game1")); // but the game, the editor and the check stay
    QVERIFY(s.registry.find("frm_editvoc"));
    QVERIFY(s.registry.find("frm_install"));
}

void TstMainWindow::editButtonAsksForAnInputMethod()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    s.window.set_vocbuttons(true);
    const QString status = s.child<QLabel>("txt_status")->text();
    s.probe.connection = false;
    QTest::mouseClick(s.child<QPushButton>("bt_edit"), Qt::LeftButton);
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, english("install_need_input"));
    QCOMPARE(s.boxes.calls[0].flags, int(vbInformation));
    QCOMPARE(s.boxes.calls[0].title, QString("Tavi"));
    QVERIFY(s.registry.find("frm_install") && s.registry.find("frm_install")->isVisible());
    QCOMPARE(s.registry.find("frm_editvoc"), nullptr);

    s.probe.connection = true;
    QTest::mouseClick(s.child<QPushButton>("bt_edit"), Qt::LeftButton);
    QCOMPARE(s.boxes.calls.size(), 1);
    QVERIFY(s.registry.find("frm_editvoc") && s.registry.find("frm_editvoc")->isVisible());
    QCOMPARE(s.child<QLabel>("txt_status")->text(), status);
}

// Settings and language files that are broken, too large or hold values out of range:
// the program starts, says so where the user must act, and every window opens.
void TstMainWindow::oddFilesStillStart_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("language"); // empty: the shipped file
    QTest::addColumn<QString>("tooLarge");    // the file a box must name
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage.append(static_cast<char>((i * 131) % 256));
    const QByteArray huge = "huge";
    QTest::newRow("binary") << garbage + "\n" + QByteArray(1 << 20, 'z') << garbage << QString();
    QTest::newRow("values out of range")
        << QByteArray(
               "[Tavi]\nmain_lang2=-40000\ngame1_opt=9\nbrainwash_hotkey_vkey=-3\nbrainwash_hotkey=ZZ\n"
               "brainwash_chin=7\nautofch_eng=-1\nflash_chin=1e400\nload_txt_chap=,,,\nload_txt_level=-99\n"
               "tools_logfile=/nonexistent/folder/log.csv\ntools_do_logging=True\nmain_glang=KLINGON\n")
        << QByteArray() << QString();
    QTest::newRow("settings too large") << huge << QByteArray() << "tavi.ini";
    QTest::newRow("language too large") << QByteArray("[Tavi]\nmain_lang2=100\n") << huge << "language.ini";
}

void TstMainWindow::oddFilesStillStart()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, language);
    QFETCH(QString, tooLarge);
    TestProgramFolder folder;
    for (const auto& [name, bytes] :
         {std::pair{QString("tavi.ini"), settings}, {QString("language.ini"), language}}) {
        if (bytes == "huge") {
            QFile f(folder.file(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(ini::MaxFileSize + 1));
        } else if (!bytes.isEmpty()) {
            folder.write(name, bytes);
        }
    }
    const QByteArray hugeBefore = tooLarge.isEmpty() ? QByteArray() : folder.read(tooLarge).left(64);
    Started s(folder);
    QVERIFY(s.window.isVisible());
    if (!tooLarge.isEmpty()) {
        QCOMPARE(s.boxes.calls[0].text.contains(folder.file(tooLarge)), true);
        QCOMPARE(QFileInfo(folder.file(tooLarge)).size(), ini::MaxFileSize + 1); // left alone
    }
    s.window.set_vocbuttons(true);
    const qsizetype boxesAtStart = s.boxes.calls.size();
    for (const char* command :
         {"mnu_loadvoc", "mnu_flash", "mnu_autostudy", "mnu_memory", "mnu_brain", "mnu_edit", "tools",
          "install", "mnu_progress", "mnu_speakpinyin", "mnu_about"})
        s.child<QAction>(command)->trigger();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &s.window && w->isVisible())
            QVERIFY2(w->width() > 0 && w->height() > 0, qPrintable(w->objectName()));
    QCOMPARE(s.registry.find("frm_brain")->isVisible(), true);
    QCOMPARE(s.boxes.calls.size(), boxesAtStart); // opening windows asks nothing
}

void TstMainWindow::refusedSettingsWritesAreReported()
{
    TestProgramFolder folder;
    QDir(folder.path()).mkdir("tavi.ini"); // a settings file that cannot be written
    Started s(folder);
    QVERIFY(s.window.isVisible());
    QStringList texts;
    for (const auto& call : s.boxes.calls)
        texts << call.text;
    // main_glang, the welcome (the counter reads as missing), main_lang2
    QCOMPARE(texts.count("WritePrivateProfileString - ERROR"), 2);
    QCOMPARE(s.boxes.calls[0].text, QString("WritePrivateProfileString - ERROR"));
    QCOMPARE(s.boxes.calls[1].title, QString("Ni hao !"));
}

void TstMainWindow::exitWaitsOneSecondAndStaysResponsive()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    QSignalSpy ended(&s.window, &MainWindow::terminating);
    // Events are handled while it waits, and it waits about a second: timers of 0.3
    // and 0.9 s both fire before the exit goes on.
    bool clickHandled = false;
    bool waitedLong = false;
    QTimer::singleShot(300, [&] { clickHandled = true; });
    QTimer::singleShot(900, [&] {
        waitedLong = true;
        QCOMPARE(ended.count(), 0);
    });
    s.child<QAction>("mnu_exit")->trigger();
    QVERIFY(waitedLong);
    QVERIFY(clickHandled);
    QCOMPARE(s.child<QLabel>("txt_status")->text(), english("main_txt_status_goodbye"));
    QCOMPARE(ended.count(), 1);
}

void TstMainWindow::closeBoxEndsProgram()
{
    TestProgramFolder folder;
    folder.write("tavi.ini", "[Tavi]\nmain_lang2=100\n");
    Started s(folder);
    QSignalSpy ended(&s.window, &MainWindow::terminating);
    s.window.close();
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"
