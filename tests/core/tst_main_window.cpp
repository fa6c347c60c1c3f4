// The main window: start-up, first start, language switching, the commands it
// enables, the windows it opens, help and exit.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/main_window.h"
#include "support/window_test.h"

#include <QAction>
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
                               "tools",        "install",     "mnu_progress",   "mnu_pinyindisplay",
                               "mnu_exit",     "mnu_english", "mnu_german",     "mnu_newlang"};
const QStringList kLanguages = {"mnu_english", "mnu_german", "mnu_newlang"};
const QByteArray kLaterStart = "[Tavi]\nmain_lang2=100\n";

// One program start in a fresh main window. The main window is made after the
// harness's stand-in hub, so that it is the hub the other windows talk to.
struct Started : WindowTest {
    MainWindow main;

    // settings: the settings file, none when null; startNow false: start() follows.
    explicit Started(const QByteArray& settings = kLaterStart, bool startNow = true)
    {
        window = &main;
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
    // Which of names are enabled, or with checked, checked (menu items only).
    QStringList which(const QStringList& names, bool checked = false) const
    {
        QStringList on;
        for (const QString& name : names) {
            auto* a = main.findChild<QAction*>(name);
            if (checked ? a->isChecked() : a ? a->isEnabled() : child(name)->isEnabled())
                on << name;
        }
        return on;
    }
};

} // namespace

class TstMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menusAndKeys();
    void starts_data();
    void starts();
    void languageSwitches();
    void trainingCommandsFollowSelection();
    void windowsOpenWithTheirStatus_data();
    void windowsOpenWithTheirStatus();
    void editButtonAsksForAnInputMethod();
    void unusableFilesAreLeftAlone();
    void exitAndCloseBoxEndTheProgramOnce();
};

// The menus' items in order ("-" a separator, "|" the next menu); every item can be
// reached by a letter, and the commands users try first have keys.
void TstMainWindow::menusAndKeys()
{
    Started s;
    QStringList items;
    for (QAction* menu : s.main.menuBar()->actions()) {
        items << "|";
        for (QAction* a : menu->menu()->actions()) {
            items << (a->isSeparator() ? QString("-") : a->objectName());
            QVERIFY2(a->isSeparator() || a->text().contains(u'&'), qPrintable(a->text()));
        }
    }
    QCOMPARE(
        items.join(u' '),
        QString("| mnu_loadvoc mnu_import mnu_export - mnu_exit | mnu_flash mnu_autostudy mnu_speakpinyin - "
                "mnu_brain | mnu_memory | mnu_english mnu_german mnu_newlang | mnu_help "
                "mnu_edit install tools mnu_pinyindisplay mnu_progress - mnu_about"));
    QCOMPARE(s.child<QAction>("mnu_flash")->text().remove(u'&'), s.text("go_flash")); // as its button
    QCOMPARE(s.child<QAction>("mnu_loadvoc")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(s.child<QAction>("mnu_exit")->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(s.child<QAction>("mnu_help")->shortcut(), QKeySequence("F1"));
}

// A start with these settings: the box it shows, the language it takes, stores and
// checks in the menu, the count of starts it stores, and the help page. Only the first
// start opens the help and names the sample file.
void TstMainWindow::starts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("settings"); // null: none, the first start
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("first") << "ENGLISH" << QByteArray() << "mnu_english" << 2138 << "help.htm"
                           << QStringList{english("main_welcome") + "|64|Ni hao !"};
    QTest::newRow("German, the count at its end")
        << "GERMAN" << QByteArray("[Tavi]\nmain_glang=GERMAN\nmain_lang2=32767\n") << "mnu_german" << 32767
        << "help_d.htm" << QStringList();
    QTest::newRow("unknown language")
        << "ENGLISH" << QByteArray("[Tavi]\nmain_glang=english\nmain_lang2=5\n") << "mnu_english" << 6
        << "help.htm" << QStringList{"No language  found: english.I use English instead.|0|Tavi"};
    QTest::newRow("new language")
        << "NEW" << QByteArray("[Tavi]\nmain_glang=NEW\nmain_lang2=5\n") << "mnu_newlang" << 6 << "help_n.htm"
        << QStringList{"Adapt Tavi to YOUR native language by translating the [NEW] section in the "
                       "language.ini file !|64|Note"};
}

void TstMainWindow::starts()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, settings);
    QFETCH(QString, item);
    QFETCH(int, count);
    QFETCH(QString, help);
    QFETCH(QStringList, boxes);
    Started s(settings);
    QCOMPARE(s.boxes.shown(), boxes);
    QVERIFY(s.main.isVisible());
    QCOMPARE(LanguageSection, language);
    QCOMPARE(s.stored("main_glang"), language);
    QCOMPARE(s.stored("main_lang2"), QString::number(count));
    QCOMPARE(s.text("go_flash"), shippedText(language, "main_bt_flash"));
    QCOMPARE(s.which(kLanguages, true), QStringList{item});

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

void TstMainWindow::languageSwitches()
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
    QCOMPARE(s.which(kTraining), QStringList());
    QCOMPARE(s.which(kLanguages, true), QStringList{"mnu_english"});

    // The new language's first lookups fill its section with their keys; the next
    // show them, ready to be translated.
    s.command("mnu_newlang");
    s.command("mnu_newlang");
    QCOMPARE(s.boxes.calls.size(), 2);
    QCOMPARE(s.text("go_flash"), QString("main_bt_flash"));
    QCOMPARE(s.main.windowTitle(), QString("main_txt_title"));
    QCOMPARE(s.which(kLanguages, true), QStringList{"mnu_newlang"});
}

// What the other windows tell the main window reaches it: it is the hub.
void TstMainWindow::trainingCommandsFollowSelection()
{
    Started s;
    QVERIFY(mainHub() == static_cast<MainHub*>(&s.main));
    QCOMPARE(s.which(kTraining + kAlwaysOn), kAlwaysOn);
    mainHub()->set_vocbuttons(true);
    QCOMPARE(s.which(kTraining + kAlwaysOn), kTraining + kAlwaysOn);

    // After an empty selection the editor stays open to fix the file, and the status
    // line shows the whole hint.
    mainHub()->set_vocbuttons(false);
    mainHub()->setEditEnabled(true);
    mainHub()->setStatus(english("main_txt_status_nowords"));
    QCOMPARE(s.which(kTraining), (QStringList{"bt_edit", "mnu_edit"}));
    QVERIFY(QTest::qWaitForWindowExposed(&s.main));
    auto* status = s.child<QLabel>("txt_status");
    QCOMPARE(status->text(), english("main_txt_status_nowords"));
    const QRect room = status->contentsRect();
    const QRect needed = status->fontMetrics().boundingRect(room, Qt::TextWordWrap, status->text());
    QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(), "the hint is cut");
}

// Every window opens from its button and from its menu item, with its status, with a
// size and without a box, also when the settings hold values out of range. (Binary
// settings and language files are the ini and language fuzzers'.)
void TstMainWindow::windowsOpenWithTheirStatus_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("menu");
    QTest::newRow("buttons") << kLaterStart << false;
    QTest::newRow("menu items, values out of range")
        << QByteArray(
               "[Tavi]\nmain_lang2=-40000\ngame1_opt=9\nbrainwash_hotkey_vkey=-3\nbrainwash_hotkey=ZZ\n"
               "brainwash_chin=7\nautofch_eng=-1\nflash_chin=1e400\nload_txt_chap=,,,\nload_txt_level=-99\n"
               "tools_logfile=/nonexistent/folder/log.csv\ntools_do_logging=True\nmain_glang=KLINGON\n")
        << true;
}

void TstMainWindow::windowsOpenWithTheirStatus()
{
    QFETCH(QByteArray, settings);
    QFETCH(bool, menu);
    Started s(settings);
    s.main.set_vocbuttons(true);
    struct Opening {
        const char* button; // the menu item where there is none
        const char* item;
        const char* window;
        const char* status; // nullptr: the status line stays
        bool staysAtSwitch; // when the language is switched
    };
    const Opening openings[] = {
        {"install", "install", "frm_install", nullptr, true},
        {"open_loadvoc", "mnu_loadvoc", "loadvoc", nullptr, false},
        {"tools", "tools", "frm_tools", nullptr, true},
        {"mnu_progress", "mnu_progress", "frm_progress", nullptr, false},
        {"mnu_pinyindisplay", "mnu_pinyindisplay", "frm_pinyindisplay", nullptr, false},
        {"go_flash", "mnu_flash", "flashcard", "main_txt_status_flash", false},
        {"autovoc", "mnu_autostudy", "autoflash", "main_txt_status_autovoc", false},
        {"bt_game1", "mnu_memory", "frm_game1", "main_txt_status_game1", true},
        {"bt_brain", "mnu_brain", "frm_brain", "main_txt_status_brain", false},
        {"bt_speakpinyin", "mnu_speakpinyin", "frm_speakpinyin", "main_txt_status_speakpinyin", false},
        {"mnu_edit", "mnu_edit", "frm_editvoc", "main_txt_status_edit", true},
        {"bt_about", "mnu_about", "frm_about", "main_txt_status_about", false},
    };
    const qsizetype boxesAtStart = s.boxes.calls.size();
    for (const Opening& o : openings) {
        const QString before = s.text("txt_status");
        s.command(menu ? o.item : o.button);
        QWidget* w = s.registry.find(o.window);
        QVERIFY2(w && w->isVisible() && w->width() > 0 && w->height() > 0, o.window);
        QCOMPARE(s.text("txt_status"), o.status ? english(o.status) : before);
    }
    QCOMPARE(s.boxes.calls.size(), boxesAtStart);

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
    QCOMPARE(s.boxes.shown(), QStringList{english("install_need_input") + "|64|Tavi"});
    QVERIFY(s.registry.find("frm_install") && s.registry.find("frm_install")->isVisible());
    QCOMPARE(s.registry.find("frm_editvoc"), nullptr);

    s.probe.connection = true;
    s.command("bt_edit");
    QCOMPARE(s.boxes.calls.size(), 1);
    QVERIFY(s.registry.find("frm_editvoc") && s.registry.find("frm_editvoc")->isVisible());
    QCOMPARE(s.text("txt_status"), status);
}

// A settings or language file too large to be one, or a folder in the settings file's
// place: a box says so before any other, the start goes on as a first start, and the
// file is left alone.
void TstMainWindow::unusableFilesAreLeftAlone()
{
    for (const auto& [name, aFolder] :
         {std::pair{"tavi.ini", false}, std::pair{"language.ini", false}, std::pair{"tavi.ini", true}}) {
        Started s({}, false);
        const QString path = s.folder.file(QLatin1String(name));
        QFile f(path);
        QVERIFY(aFolder ? QDir().mkdir(path)
                        : f.open(QIODevice::WriteOnly) && f.resize(ini::MaxFileSize + 1));
        f.close();
        s.start();
        QVERIFY(s.main.isVisible());
        QVERIFY2(s.boxes.calls[0].text.contains(aFolder ? "WritePrivateProfileString - ERROR" : path), name);
        QCOMPARE(s.boxes.shown().filter("|Ni hao !").size(), 1);
        QVERIFY(aFolder || QFileInfo(path).size() == ini::MaxFileSize + 1);
    }
}

// Exit says goodbye and waits with the windows responsive: a timer due within the
// wait fires before the program ends. The close box ends it as well, and never twice.
void TstMainWindow::exitAndCloseBoxEndTheProgramOnce()
{
    {
        Started s;
        QSignalSpy ended(&s.main, &MainWindow::terminating);
        QString meanwhile;
        QTimer::singleShot(900,
                           [&] { meanwhile = s.text("txt_status") + "|" + QString::number(ended.count()); });
        s.command("mnu_exit");
        QCOMPARE(meanwhile, english("main_txt_status_goodbye") + "|0");
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
