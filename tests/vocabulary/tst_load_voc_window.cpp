// The selection window: defaults, choosing a file, the filters, the counts, the
// warnings, and OK handing back to the main window.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/main_window.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Session {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeOpener opener;
    FakeOpenFileDialog dialog;
    WindowRegistry registry;
    MainWindow main;
    QWidget* window = nullptr;

    explicit Session(const QByteArray& settings = "[Tavi]\nmain_lang2=100\n")
    {
        folder.write("tavi.ini", settings);
        registerAllWindows(registry);
        main.Form_Load(folder.path());
        open();
    }
    void open()
    {
        main.findChild<QPushButton*>("open_loadvoc")->click();
        window = registry.find("loadvoc");
    }
    QLineEdit* field(const char* name) const { return window->findChild<QLineEdit*>(QLatin1String(name)); }
    QPushButton* button(const char* name) const
    {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    QString text(const char* name) const { return field(name)->text(); }
    QString sample() const { return QDir::toNativeSeparators(folder.file("my_vocabulary/pcr1-10u.txt")); }
    void choose(const QString& path)
    {
        dialog.answers << path;
        button("bt_browse")->click();
    }
    bool trainingEnabled() const { return main.findChild<QAction*>("mnu_flash")->isEnabled(); }
};

} // namespace

class TstLoadVocWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstOpeningShowsDefaults();
    void germanDefaultFile();
    void chooseLoadSelectAndOk();
    void cancelledDialogLeavesCleanState();
    void filesWithoutWordsAreReported();
    void countFollowsTheBoxes();
    void levelLimit_data();
    void levelLimit();
    void okWithoutSelectionWarns();
    void closingWithoutOkStoresNothing();
    void reopeningStartsAfresh();
    void findingsLeadToTheEditor();
};

void TstLoadVocWindow::firstOpeningShowsDefaults()
{
    Session s;
    QVERIFY(s.window && s.window->isVisible());
    QCOMPARE(s.window->windowTitle(), english("load_loadvoc"));
    QCOMPARE(s.text("txt_chap"), QString("1, 2, 3"));
    QCOMPARE(s.text("txt_lev"), QString("3"));
    QCOMPARE(s.text("txt_more"), QString());
    QCOMPARE(s.text("txt_vocfile"), s.sample());
    for (const char* count : {"txt_anz_allvoc", "txt_anzvoc", "txt_anz_allvoc_2"})
        QCOMPARE(s.text(count), QString("   --"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    QCOMPARE(s.button("bt_browse")->text(), english("load_bt_browse"));
    QCOMPARE(s.button("close1")->text(), english("bt_OK"));
    QCOMPARE(s.window->findChild<QLabel*>("txt_of")->text(), english("load_txt_of"));
    QVERIFY(s.window->findChild<QWidget*>("Line1"));
    QCOMPARE(VocCount, -1); // opening does not load the file it shows
}

void TstLoadVocWindow::germanDefaultFile()
{
    Session s("[Tavi]\nmain_lang2=100\nmain_glang=GERMAN\n");
    QCOMPARE(s.text("txt_vocfile"), QDir::toNativeSeparators(s.folder.file("meine vokabeln/pcr1-10u_d.txt")));
}

void TstLoadVocWindow::chooseLoadSelectAndOk()
{
    Session s;
    s.choose(s.sample());
    QCOMPARE(s.dialog.calls.size(), 1);
    QCOMPARE(s.dialog.calls[0].title, english("load_loaddialog"));
    QCOMPARE(s.dialog.calls[0].initialFile, s.sample());
    QCOMPARE(s.dialog.calls[0].filters, (QStringList{"All Files (*.*)", "Text files (*.txt)"}));
    const QString words = QString::number(VocCount + 1);
    QVERIFY(VocCount > 100);
    QCOMPARE(s.text("txt_anz_allvoc"), words);
    QCOMPARE(s.text("txt_anz_allvoc_2"), words);
    QCOMPARE(s.text("txt_anzvoc"), QString("--"));
    QVERIFY(s.button("voc_to_array")->isEnabled());

    // Everything, then chapter 1 only.
    for (const char* f : {"txt_chap", "txt_lev", "txt_more"})
        s.field(f)->clear();
    s.button("voc_to_array")->click();
    QCOMPARE(s.text("txt_anzvoc"), words);
    s.field("txt_chap")->setText("1");
    s.field("txt_lev")->setText("1");
    s.button("voc_to_array")->click();
    int expected = 0;
    for (int r = 0; r <= VocCount; ++r)
        expected += VocTable[r][CHAPTER] == u"1" && VocTable[r][CTR].toInt() <= 1;
    QVERIFY(expected > 0);
    QCOMPARE(s.text("txt_anzvoc"), QString::number(expected));
    QCOMPARE(StudyCount + 1, expected);

    QWidget* shot = s.window;
    QDir().mkpath(TAVI_SCREENSHOT_DIR);
    shot->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/loadvoc.png"));

    QVERIFY(!s.trainingEnabled());
    s.button("close1")->click();
    QVERIFY(s.boxes.calls.isEmpty());
    QVERIFY(s.trainingEnabled());
    QVERIFY(s.main.isVisible());
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(ini::read(SettingsFile, "Tavi", "load_txt_chap"), QString("1"));
    QCOMPARE(ini::read(SettingsFile, "Tavi", "load_txt_level"), QString("1"));
    QCOMPARE(ini::read(SettingsFile, "Tavi", "load_vocfilewpath"), s.sample());
}

void TstLoadVocWindow::cancelledDialogLeavesCleanState()
{
    Session s;
    s.choose(s.sample());
    s.button("voc_to_array")->click();
    QVERIFY(StudyCount >= 0);
    s.choose(QString()); // cancel
    QCOMPARE(StudyCount, -1);
    QCOMPARE(s.text("txt_anz_allvoc"), QString("--"));
    QCOMPARE(s.text("txt_anzvoc"), QString("--"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    QVERIFY(VocCount > 100); // the table stays loaded
    QVERIFY(s.boxes.calls.isEmpty());
}

void TstLoadVocWindow::filesWithoutWordsAreReported()
{
    Session s;
    s.choose(s.sample());
    const int words = VocCount;
    // No text at all: the table stays; only a header: the count says 0. Both are
    // reported as empty, naming the file, and only a missing file as missing.
    s.folder.write("empty.txt", QByteArray("\xFF\xFE", 2));
    s.folder.write("h.txt", QByteArray("\xFF\xFE", 2) + QByteArray("C\0T\0R\0 \0+\0 \0P\0\r\0", 16));
    s.choose(s.folder.file("empty.txt"));
    QCOMPARE(VocCount, words);
    QCOMPARE(s.text("txt_vocfile"), s.folder.file("empty.txt"));
    s.choose(s.folder.file("h.txt"));
    QCOMPARE(s.text("txt_anz_allvoc"), QString("0"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    s.choose(s.folder.file("missing.txt"));
    QCOMPARE(s.boxes.calls.size(), 3);
    for (int i : {0, 1}) {
        QCOMPARE(s.boxes.calls[i].flags, 48);
        QVERIFY(s.boxes.calls[i].text.startsWith(english("load_file_empty")));
    }
    QVERIFY(s.boxes.calls[1].text.endsWith(s.folder.file("h.txt")));
    QCOMPARE(s.boxes.calls[2].text, QString("Can not find this file"));
}

void TstLoadVocWindow::countFollowsTheBoxes()
{
    Session s;
    s.choose(s.sample());
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    QLineEdit* chap = s.field("txt_chap");
    chap->setText("1");
    s.button("voc_to_array")->click();
    const int one = StudyCount;
    chap->setText("1, 2");
    chap->setFocus();
    QTest::keyClick(chap, Qt::Key_Return); // selects, and leaves the window open
    QVERIFY(StudyCount > one);
    QCOMPARE(s.text("txt_anzvoc"), QString::number(StudyCount + 1));
    QVERIFY(s.window->isVisible());
    chap->setText("1"); // changed without selecting: OK still trains what the box says
    s.button("close1")->click();
    QCOMPARE(StudyCount, one);
    QCOMPARE(ini::read(SettingsFile, "Tavi", "load_txt_chap"), QString("1"));
}

// Typed into the box as a learner types: files hold levels such as 12 or -2.
void TstLoadVocWindow::levelLimit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("selected");
    QTest::newRow("12") << "12"
                        << "12" << 3;
    QTest::newRow("-2") << "-2"
                        << "-2" << 1;
    QTest::newRow("5") << "5"
                       << "5" << 2;
    QTest::newRow("not a number is left out") << "a1b"
                                              << "1" << 2;
}

void TstLoadVocWindow::levelLimit()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, selected);
    Session s;
    const QString words =
        VocHeader + "\r12 + a1 + A + a + 1 + \r-2 + b2 + B + b + 1 + \r1 + c3 + C + c + 1 + \r";
    s.folder.write("levels.txt",
                   QByteArray("\xFF\xFE") +
                       QByteArray(reinterpret_cast<const char*>(words.utf16()), words.size() * 2));
    s.choose(s.folder.file("levels.txt"));
    s.field("txt_lev")->clear();
    QTest::keyClicks(s.field("txt_lev"), typed);
    QCOMPARE(s.text("txt_lev"), shown);
    s.button("voc_to_array")->click();
    QCOMPARE(StudyCount + 1, selected);
}

void TstLoadVocWindow::okWithoutSelectionWarns()
{
    Session s;
    s.choose(s.sample());
    s.field("txt_chap")->setText("no such chapter");
    s.button("close1")->click();
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, QString("You did NOT select any vocabulary to study or play with !"));
    QCOMPARE(s.boxes.calls[0].flags, 48);
    QCOMPARE(s.boxes.calls[0].title, QString("Tavi"));
    QVERIFY(!s.window->isVisible()); // the window closes all the same
    QVERIFY(!s.trainingEnabled());
    // The editor works on the whole file: the learner can open it to fix it.
    QVERIFY(s.main.findChild<QAction*>("mnu_edit")->isEnabled());
    QVERIFY(s.main.findChild<QPushButton*>("bt_edit")->isEnabled());
    auto* status = s.main.findChild<QLabel*>("txt_status");
    QCOMPARE(status->text(), english("main_txt_status_nowords"));
    // ... and reads the whole hint.
    QVERIFY(QTest::qWaitForWindowExposed(&s.main));
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

void TstLoadVocWindow::closingWithoutOkStoresNothing()
{
    Session s;
    s.field("txt_chap")->setText("7");
    s.window->close();
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(ini::read(SettingsFile, "Tavi", "load_txt_chap"), QString());
    QVERIFY(!s.trainingEnabled());
}

void TstLoadVocWindow::reopeningStartsAfresh()
{
    Session s;
    s.choose(s.sample());
    s.field("txt_chap")->clear(); // an emptied chapter list reads as the default again
    s.field("txt_more")->setText("x");
    s.button("voc_to_array")->click();
    s.button("close1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.open();
    QCOMPARE(s.text("txt_vocfile"), s.sample());
    QCOMPARE(s.text("txt_chap"), QString("1, 2, 3"));
    QCOMPARE(s.text("txt_more"), QString("x"));
    QCOMPARE(s.text("txt_anz_allvoc"), QString("   --"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
}

void TstLoadVocWindow::findingsLeadToTheEditor()
{
    Session s;
    auto* line = s.window->findChild<QLabel*>("lbl_findings");
    const QString typos =
        "CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION\r1 + ni3hao + 你好 + hello + 1 + \r";
    s.folder.write("typos.txt",
                   QByteArray("\xFF\xFE") +
                       QByteArray(reinterpret_cast<const char*>(typos.utf16()), typos.size() * 2));
    s.choose(s.folder.file("typos.txt"));
    QVERIFY(!line->isHidden());
    QVERIFY(line->text().contains(english("check_summary").arg(2).toHtmlEscaped())); // no tone, no sound
    Q_EMIT line->linkActivated("check");
    QWidget* editor = s.registry.find("frm_editvoc");
    QVERIFY(editor && editor->isVisible());
    QVERIFY(editor->findChild<QListWidget*>("lst_findings")->isVisible());
    editor->close();

    s.choose(s.sample());
    s.button("close1")->click();
    s.registry.open("frm_progress");
    QWidget* progress = s.registry.find("frm_progress");
    QVERIFY(progress->grab().save(TAVI_SCREENSHOT_DIR "/progress.png"));
}

QTEST_MAIN(TstLoadVocWindow)
#include "tst_load_voc_window.moc"
