// The main window: start-up, first start, language switching, the commands it
// enables, the windows it opens, help and exit.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/main_window.h"
#include "support/window_test.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
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
const QByteArray kLaterStart = "[Tavi]\nmain_lang2=100\n";

// One program start in a fresh main window. The main window is made after the
// harness's stand-in hub, so that it is the hub the other windows talk to.
struct Started : WindowTest {
    MainWindow main;
    bool visibleAtFirstBox = true;

    // settings: the settings file, none when null; startNow false: start() follows.
    explicit Started(const QByteArray& settings = kLaterStart, bool startNow = true)
    {
        window = &main;
        boxes.onShow = [this](const BoxCall&) {
            if (boxes.calls.size() == 1)
                visibleAtFirstBox = main.isVisible();
        };
        if (!settings.isNull())
            folder.write("tavi.ini", settings);
        if (startNow)
            start();
    }
    void start() { main.Form_Load(folder.path()); }
    // A menu item or a button, as the user picks it.
    void command(const QString& name) const
    {
        if (auto* a = main.findChild<QAction*>(name))
            a->trigger();
        else
            QTest::mouseClick(button(name), Qt::LeftButton);
    }
    // Which of names are enabled.
    QStringList enabled(const QStringList& names) const
    {
        QStringList on;
        for (const QString& name : names) {
            auto* a = main.findChild<QAction*>(name);
            if (a ? a->isEnabled() : child(name)->isEnabled())
                on << name;
        }
        return on;
    }
    bool checked(const char* name) const
    {
        return main.findChild<QAction*>(QLatin1String(name))->isChecked();
    }
};

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsMenusAndKeys();
    void starts_data();
    void starts();
    void newLanguageFillsSectionInLookupOrder();
    void languageSwitchTwice();
    void trainingCommandsFollowSelection();
    void windowsOpenWithTheirStatus();
    void editButtonAsksForAnInputMethod();
    void oddFilesStillStart_data();
    void oddFilesStillStart();
    void refusedSettingsWritesAreReported();
    void exitAndCloseBoxEndTheProgramOnce();
};

void TstMainWindow::controlsMenusAndKeys()
{
    Started s;
    for (const char* name : {"txt_title", "txt_status", "Picture1", "Picture2"})
        s.child<QLabel>(QLatin1String(name));
    // Frames hold their buttons and menus their items, in this order.
    const QList<std::pair<const char*, QStringList>> parents = {
        {"Frame1", {"open_loadvoc", "bt_edit"}},
        {"Frame2", {"go_flash", "autovoc", "bt_brain", "bt_game1"}},
        {"Frame3", {"bt_speakpinyin", "bt_about", "bt_help"}},
        {"mnu_file", {"mnu_loadvoc", "kk", "mnu_exit"}},
        {"mnu_action", {"mnu_flash", "mnu_autostudy", "mnu_speakpinyin", "aaa", "mnu_brain"}},
        {"mnu_games", {"mnu_memory"}},
        {"mnulanguage", {"mnu_english", "mnu_german", "mnu_newlang"}},
        {"mnu_h", {"mnu_help", "mnu_edit", "install", "tools", "mnu_progress", "strich", "mnu_about"}},
    };
    for (const auto& [parent, names] : parents) {
        QStringList found;
        if (auto* menu = s.main.findChild<QMenu*>(QLatin1String(parent))) {
            for (QAction* a : menu->actions())
                found << a->objectName();
        } else {
            for (QPushButton* b : s.child(QLatin1String(parent))->findChildren<QPushButton*>())
                found << b->objectName();
        }
        QCOMPARE(found, names);
    }
    for (const char* separator : {"kk", "aaa", "strich"})
        QVERIFY(s.child<QAction>(QLatin1String(separator))->isSeparator());
    QVERIFY(!s.button("open_loadvoc")->icon().isNull());
    QVERIFY(!s.button("go_flash")->icon().isNull());
    QCOMPARE(s.child<QAction>("mnu_flash")->text().remove(u'&'), s.text("go_flash"));
    // Every item can be reached by a letter, and the commands users try first have keys.
    for (QMenu* menu : s.main.menuBar()->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            QVERIFY2(a->isSeparator() || a->text().contains(u'&'), qPrintable(a->text()));
    QCOMPARE(s.child<QAction>("mnu_loadvoc")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(s.child<QAction>("mnu_exit")->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(s.child<QAction>("mnu_help")->shortcut(), QKeySequence("F1"));
}

// A start with these settings: the box it shows before the main window, the language
// it takes, stores and checks in the menu, the count of starts it stores, and the help
// page. Only the first start opens the help and names the sample file.
void TstMainWindow::starts_data()
{
    QTest::addColumn<QByteArray>("settings"); // null: none, the first start
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("box"); // title|flags|text
    QTest::addColumn<QString>("help");
    QTest::newRow("first") << QByteArray() << "ENGLISH" << 2138 << "Ni hao !|64|" + english("main_welcome")
                           << "help.htm";
    QTest::newRow("German, the count at its end")
        << QByteArray("[Tavi]\nmain_glang=GERMAN\nmain_lang2=32767\n") << "GERMAN" << 32767 << QString()
        << "help_d.htm";
    QTest::newRow("unknown language")
        << QByteArray("[Tavi]\nmain_glang=english\nmain_lang2=5\n") << "ENGLISH" << 6
        << QString("Tavi|0|No language  found: english.I use English instead.") << "help.htm";
    QTest::newRow("new language") << QByteArray("[Tavi]\nmain_glang=NEW\nmain_lang2=5\n") << "NEW" << 6
                                  << QString("Note|64|Adapt Tavi to YOUR native language by translating the "
                                             "[NEW] section in the language.ini file !")
                                  << "help_n.htm";
}

void TstMainWindow::starts()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, language);
    QFETCH(int, count);
    QFETCH(QString, box);
    QFETCH(QString, help);
    Started s(settings);
    QStringList shown;
    for (const BoxCall& c : s.boxes.calls)
        shown << c.title + "|" + QString::number(c.flags) + "|" + c.text;
    QCOMPARE(shown, box.isEmpty() ? QStringList() : QStringList{box});
    QCOMPARE(s.visibleAtFirstBox, box.isEmpty());
    QVERIFY(s.main.isVisible());
    QCOMPARE(LanguageSection, language);
    QCOMPARE(s.stored("main_glang"), language);
    QCOMPARE(s.stored("main_lang2"), QString::number(count));
    QCOMPARE(s.text("go_flash"), shippedText(language, "main_bt_flash"));
    const QString item = language == "GERMAN" ? "mnu_german"
                         : language == "NEW"  ? "mnu_newlang"
                                              : "mnu_english";
    QStringList checked;
    for (const char* name : {"mnu_english", "mnu_german", "mnu_newlang"})
        if (s.checked(name))
            checked << name;
    QCOMPARE(checked, QStringList{item});

    const bool first = settings.isNull();
    QCOMPARE(VocFilePath,
             first ? QDir::toNativeSeparators(s.folder.file("my_vocabulary/pcr1-10u.txt")) : QString());
    s.command("bt_help"); // the button and the menu item open the same page
    s.command("mnu_help");
    QStringList opened;
    for (const OpenCall& c : s.opener.calls)
        opened << c.target;
    QCOMPARE(opened, QStringList(first ? 3 : 2, s.folder.file(help)));
}

void TstMainWindow::newLanguageFillsSectionInLookupOrder()
{
    Started s("[Tavi]\nmain_glang=NEW\nmain_lang2=5\n");
    const QByteArray file = s.folder.read("language.ini");
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
    s.command("mnu_newlang");
    QCOMPARE(s.boxes.calls.size(), 2);
    QCOMPARE(s.text("go_flash"), QString("main_bt_flash"));
    QCOMPARE(s.main.windowTitle(), QString("main_txt_title"));
    QVERIFY(s.checked("mnu_newlang"));
}

void TstMainWindow::languageSwitchTwice()
{
    Started s;
    s.main.set_vocbuttons(true);
    QDialogButtonBox qtOwn(QDialogButtonBox::Cancel); // Qt's own texts follow the switches
    s.command("mnu_german");
    QCOMPARE(s.text("autovoc"), german("main_bt_autovoc"));
    QTRY_COMPARE(qtOwn.button(QDialogButtonBox::Cancel)->text(), QString("Abbrechen"));
    QCOMPARE(s.text("txt_status"), german("main_txt_status_load"));
    QCOMPARE(s.stored("main_glang"), QString("GERMAN"));
    s.command("mnu_english");
    QCOMPARE(s.stored("main_lang2"), QString("103"));
    QCOMPARE(s.text("autovoc"), english("main_bt_autovoc"));
    QTRY_COMPARE(qtOwn.button(QDialogButtonBox::Cancel)->text(), QString("Cancel"));
    QCOMPARE(s.enabled(kTraining), QStringList());
    QVERIFY(s.checked("mnu_english") && !s.checked("mnu_german") && !s.checked("mnu_newlang"));
}

// What the other windows tell the main window reaches it: it is the hub.
void TstMainWindow::trainingCommandsFollowSelection()
{
    Started s;
    QVERIFY(mainHub() == static_cast<MainHub*>(&s.main));
    QCOMPARE(s.enabled(kTraining + kAlwaysOn), kAlwaysOn);
    mainHub()->set_vocbuttons(true);
    QCOMPARE(s.enabled(kTraining + kAlwaysOn), kTraining + kAlwaysOn);

    // After an empty selection the editor stays open to fix the file, and the status
    // line shows the whole hint.
    mainHub()->set_vocbuttons(false);
    mainHub()->setEditEnabled(true);
    mainHub()->setStatus(english("main_txt_status_nowords"));
    QCOMPARE(s.enabled(kTraining), (QStringList{"bt_edit", "mnu_edit"}));
    QVERIFY(QTest::qWaitForWindowExposed(&s.main));
    auto* status = s.child<QLabel>("txt_status");
    QCOMPARE(status->text(), english("main_txt_status_nowords"));
    const QRect room = status->contentsRect();
    const QRect needed = status->fontMetrics().boundingRect(
        room, status->wordWrap() ? int(Qt::TextWordWrap) : 0, status->text());
    QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
             qPrintable(QString("%1x%2 in %3x%4")
                            .arg(needed.width())
                            .arg(needed.height())
                            .arg(room.width())
                            .arg(room.height())));
}

void TstMainWindow::windowsOpenWithTheirStatus()
{
    Started s;
    s.main.set_vocbuttons(true);
    struct Opening {
        const char* command;
        const char* window;
        const char* status; // nullptr: the status line stays
        bool staysAtSwitch; // when the language is switched
    };
    const Opening openings[] = {
        {"install", "frm_install", nullptr, true},
        {"mnu_loadvoc", "loadvoc", nullptr, false},
        {"tools", "frm_tools", nullptr, true},
        {"mnu_progress", "frm_progress", nullptr, false},
        {"go_flash", "flashcard", "main_txt_status_flash", false},
        {"autovoc", "autoflash", "main_txt_status_autovoc", false},
        {"bt_game1", "frm_game1", "main_txt_status_game1", true},
        {"bt_brain", "frm_brain", "main_txt_status_brain", false},
        {"mnu_speakpinyin", "frm_speakpinyin", "main_txt_status_speakpinyin", false},
        {"mnu_edit", "frm_editvoc", "main_txt_status_edit", true},
        {"bt_about", "frm_about", "main_txt_status_about", false},
    };
    for (const Opening& o : openings) {
        const QString before = s.text("txt_status");
        s.command(o.command);
        QWidget* w = s.registry.find(o.window);
        QVERIFY2(w && w->isVisible(), o.window);
        QCOMPARE(s.text("txt_status"), o.status ? english(o.status) : before);
    }
    QVERIFY(s.boxes.calls.isEmpty());
    QWidget* about = s.registry.find("frm_about");
    s.command("mnu_about"); // once
    QCOMPARE(s.registry.find("frm_about"), about);

    s.command("mnu_english"); // a language switch closes the trainers
    for (const Opening& o : openings)
        QVERIFY2((s.registry.find(o.window) != nullptr) == o.staysAtSwitch, o.window);
}

void TstMainWindow::editButtonAsksForAnInputMethod()
{
    Started s;
    s.main.set_vocbuttons(true);
    const QString status = s.text("txt_status");
    s.probe.connection = false;
    s.command("bt_edit");
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, english("install_need_input"));
    QCOMPARE(s.boxes.calls[0].flags, int(vbInformation));
    QCOMPARE(s.boxes.calls[0].title, QString("Tavi"));
    QVERIFY(s.registry.find("frm_install") && s.registry.find("frm_install")->isVisible());
    QCOMPARE(s.registry.find("frm_editvoc"), nullptr);

    s.probe.connection = true;
    s.command("bt_edit");
    QCOMPARE(s.boxes.calls.size(), 1);
    QVERIFY(s.registry.find("frm_editvoc") && s.registry.find("frm_editvoc")->isVisible());
    QCOMPARE(s.text("txt_status"), status);
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
    QTest::newRow("language too large") << kLaterStart << huge << "language.ini";
}

void TstMainWindow::oddFilesStillStart()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, language);
    QFETCH(QString, tooLarge);
    Started s({}, false);
    for (const auto& [name, bytes] :
         {std::pair{QString("tavi.ini"), settings}, {QString("language.ini"), language}}) {
        if (bytes == "huge") {
            QFile f(s.folder.file(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.resize(ini::MaxFileSize + 1));
        } else if (!bytes.isEmpty()) {
            s.folder.write(name, bytes);
        }
    }
    s.start();
    QVERIFY(s.main.isVisible());
    if (!tooLarge.isEmpty()) {
        QVERIFY(s.boxes.calls[0].text.contains(s.folder.file(tooLarge)));
        QCOMPARE(QFileInfo(s.folder.file(tooLarge)).size(), ini::MaxFileSize + 1); // left alone
    }
    s.main.set_vocbuttons(true);
    const qsizetype boxesAtStart = s.boxes.calls.size();
    for (const char* command :
         {"mnu_loadvoc", "mnu_flash", "mnu_autostudy", "mnu_memory", "mnu_brain", "mnu_edit", "tools",
          "install", "mnu_progress", "mnu_speakpinyin", "mnu_about"})
        s.command(command);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &s.main && w->isVisible())
            QVERIFY2(w->width() > 0 && w->height() > 0, qPrintable(w->objectName()));
    QVERIFY(s.registry.find("frm_brain")->isVisible());
    QCOMPARE(s.boxes.calls.size(), boxesAtStart); // opening windows asks nothing
}

void TstMainWindow::refusedSettingsWritesAreReported()
{
    Started s({}, false);
    QDir(s.folder.path()).mkdir("tavi.ini"); // a settings file that cannot be written
    s.start();
    QVERIFY(s.main.isVisible());
    QStringList texts;
    for (const auto& call : s.boxes.calls)
        texts << call.text;
    // main_glang, the welcome (the counter reads as missing), main_lang2
    QCOMPARE(texts.count("WritePrivateProfileString - ERROR"), 2);
    QCOMPARE(s.boxes.calls[0].text, QString("WritePrivateProfileString - ERROR"));
    QCOMPARE(s.boxes.calls[1].title, QString("Ni hao !"));
}

// Exit says goodbye and waits with the windows responsive: a timer due within the
// wait fires before the program ends. The close box ends it as well, and never twice.
void TstMainWindow::exitAndCloseBoxEndTheProgramOnce()
{
    {
        Started s;
        QSignalSpy ended(&s.main, &MainWindow::terminating);
        QString statusMeanwhile;
        int endedMeanwhile = -1;
        QTimer::singleShot(900, [&] {
            statusMeanwhile = s.text("txt_status");
            endedMeanwhile = ended.count();
        });
        s.command("mnu_exit");
        QCOMPARE(statusMeanwhile, english("main_txt_status_goodbye"));
        QCOMPARE(endedMeanwhile, 0);
        QCOMPARE(ended.count(), 1);
        s.main.close();
        QCOMPARE(ended.count(), 1);
    }

    Started closed;
    QSignalSpy closedEnded(&closed.main, &MainWindow::terminating);
    closed.main.close();
    QCOMPARE(closedEnded.count(), 1);
}

QTEST_MAIN(TstMainWindow)
#include "tst_main_window.moc"
