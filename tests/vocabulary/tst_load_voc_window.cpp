// The selection window: defaults, choosing a file, the filters, the counts, the
// warnings, and OK handing back to the main window.
#include "core/app_state.h"
#include "support/window_test.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

QByteArray utf16File(const QString& text)
{
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

struct Selection : WindowTest {
    explicit Selection(bool openNow = true)
    {
        if (openNow)
            open("loadvoc");
    }
    QString sample() const { return QDir::toNativeSeparators(folder.file("my_vocabulary/pcr1-10u.txt")); }
    void choose(const QString& path)
    {
        dialogs.answers << path;
        click("bt_browse");
    }
    // What the three counts show: all words, selected, of.
    QString counts() const
    {
        return text("txt_anz_allvoc") + "|" + text("txt_anzvoc") + "|" + text("txt_anz_allvoc_2");
    }
};

} // namespace

class TstLoadVocWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensWithDefaults_data();
    void opensWithDefaults();
    void chooseSelectOkAndReopen();
    void choosingAgain();
    void countFollowsTheBoxes();
    void levelLimit_data();
    void levelLimit();
    void okWithoutSelectionWarns();
    void closingWithoutOkStoresNothing();
    void findingsLeadToTheEditor();
};

void TstLoadVocWindow::opensWithDefaults_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << QString("ENGLISH") << "my_vocabulary/pcr1-10u.txt";
    QTest::newRow("German") << QString("GERMAN") << "meine vokabeln/pcr1-10u_d.txt";
}

void TstLoadVocWindow::opensWithDefaults()
{
    QFETCH(QString, language);
    QFETCH(QString, file);
    Selection s(false);
    LanguageSection = language;
    QVERIFY(s.open("loadvoc") && s.window->isVisible());
    QCOMPARE(s.text("txt_chap") + "|" + s.text("txt_lev") + "|" + s.text("txt_more"), QString("1, 2, 3|3|"));
    QCOMPARE(s.text("txt_vocfile"), QDir::toNativeSeparators(s.folder.file(file)));
    QCOMPARE(s.counts(), QString("   --|   --|   --"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    QCOMPARE(VocCount, -1); // opening does not load the file it shows
}

void TstLoadVocWindow::chooseSelectOkAndReopen()
{
    Selection s;
    s.choose(s.sample());
    QCOMPARE(s.dialogs.calls.size(), 1);
    QCOMPARE(s.dialogs.calls[0].title, english("load_loaddialog"));
    QCOMPARE(s.dialogs.calls[0].initialFile, s.sample());
    QCOMPARE(s.dialogs.calls[0].filters, (QStringList{"All Files (*.*)", "Text files (*.txt)"}));
    const QString words = QString::number(VocCount + 1);
    QVERIFY(VocCount > 100);
    QCOMPARE(s.counts(), words + "|--|" + words);
    QVERIFY(s.button("voc_to_array")->isEnabled());

    // Everything, then chapter 1 up to level 1 marked x.
    for (const char* f : {"txt_chap", "txt_lev", "txt_more"})
        s.type(f, "");
    s.click("voc_to_array");
    QCOMPARE(s.text("txt_anzvoc"), words);
    s.type("txt_chap", "1");
    s.type("txt_lev", "1");
    s.type("txt_more", "x");
    s.click("voc_to_array");
    int expected = 0;
    for (int r = 0; r <= VocCount; ++r)
        expected +=
            VocTable[r][CHAPTER] == u"1" && VocTable[r][CTR].toInt() <= 1 && VocTable[r][SELECTION] == u"x";
    QVERIFY(expected > 0);
    QCOMPARE(s.text("txt_anzvoc"), QString::number(expected));
    QCOMPARE(StudyCount + 1, expected);
    s.screenshot("loadvoc");

    s.click("close1");
    QVERIFY(s.boxes.calls.isEmpty());
    QVERIFY(s.hub.training && s.hub.editing);
    QCOMPARE(s.hub.shown, 1);
    QCOMPARE(s.hub.status, QString());
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(s.stored("load_txt_chap") + "|" + s.stored("load_txt_level") + "|" + s.stored("load_txt_more"),
             QString("1|1|x"));
    QCOMPARE(s.stored("load_vocfilewpath"), s.sample());

    // Opened again: the stored boxes and file, but nothing chosen yet.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.open("loadvoc");
    QCOMPARE(s.text("txt_chap") + "|" + s.text("txt_lev") + "|" + s.text("txt_more"), QString("1|1|x"));
    QCOMPARE(s.text("txt_vocfile"), s.sample());
    QCOMPARE(s.text("txt_anz_allvoc"), QString("   --"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
}

void TstLoadVocWindow::choosingAgain()
{
    Selection s;
    s.choose(s.sample());
    s.click("voc_to_array");
    const int words = VocCount;
    QVERIFY(StudyCount >= 0 && words > 100);
    s.choose(QString()); // cancelled: nothing chosen or selected, the table stays
    QCOMPARE(StudyCount, -1);
    QCOMPARE(s.text("txt_anz_allvoc") + "|" + s.text("txt_anzvoc"), QString("--|--"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    QCOMPARE(VocCount, words);
    QVERIFY(s.boxes.calls.isEmpty());

    // No text at all: the table stays; only a header: the count says 0. Both are
    // reported as empty, naming the file, and only a missing file as missing.
    s.folder.write("empty.txt", QByteArray("\xFF\xFE", 2));
    s.folder.write("h.txt", utf16File("CTR + P\r"));
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
    Selection s;
    s.choose(s.sample());
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    auto* chap = s.child<QLineEdit>("txt_chap");
    chap->setText("1");
    s.click("voc_to_array");
    const int one = StudyCount;
    chap->setText("1, 2");
    chap->setFocus();
    QTest::keyClick(chap, Qt::Key_Return); // selects, and leaves the window open
    QVERIFY(StudyCount > one);
    QCOMPARE(s.text("txt_anzvoc"), QString::number(StudyCount + 1));
    QVERIFY(s.window->isVisible());
    chap->setText("1"); // changed without selecting: OK still trains what the box says
    s.click("close1");
    QCOMPARE(StudyCount, one);
    QCOMPARE(s.stored("load_txt_chap"), QString("1"));
}

// Typed into the box as a learner types: files hold levels such as 12 or -2.
void TstLoadVocWindow::levelLimit_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("shown");
    QTest::newRow("12") << "12" << 3 << "12";
    QTest::newRow("-2") << "-2" << 1 << "-2";
    QTest::newRow("5") << "5" << 2 << "5";
    QTest::newRow("not a number is left out") << "a1b" << 2 << "1";
}

void TstLoadVocWindow::levelLimit()
{
    QFETCH(QString, typed);
    QFETCH(int, selected);
    QFETCH(QString, shown);
    Selection s;
    s.folder.write("levels.txt", utf16File(VocHeader + "\r12 + a1 + A + a + 1 + \r-2 + b2 + B + b + 1 + \r"
                                                       "1 + c3 + C + c + 1 + \r"));
    s.choose(s.folder.file("levels.txt"));
    auto* level = s.child<QLineEdit>("txt_lev");
    level->clear();
    QTest::keyClicks(level, typed);
    QCOMPARE(level->text(), shown);
    s.click("voc_to_array");
    QCOMPARE(StudyCount + 1, selected);
}

void TstLoadVocWindow::okWithoutSelectionWarns()
{
    Selection s;
    s.choose(s.sample());
    s.type("txt_chap", "no such chapter");
    s.click("close1");
    QCOMPARE(s.boxes.calls.size(), 1);
    QCOMPARE(s.boxes.calls[0].text, QString("You did NOT select any vocabulary to study or play with !"));
    QCOMPARE(s.boxes.calls[0].flags, 48);
    QCOMPARE(s.boxes.calls[0].title, QString("Tavi"));
    QCOMPARE(s.registry.find("loadvoc"), nullptr); // the window closes all the same
    QVERIFY(!s.hub.training);
    // The editor works on the whole file: the learner can open it to fix it.
    QVERIFY(s.hub.editing);
    QCOMPARE(s.hub.status, english("main_txt_status_nowords"));
    QCOMPARE(s.hub.shown, 1);
}

void TstLoadVocWindow::closingWithoutOkStoresNothing()
{
    Selection s;
    s.choose(s.sample());
    s.type("txt_chap", "7");
    s.window->close();
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(s.stored("load_txt_chap"), QString());
    QCOMPARE(s.stored("load_vocfilewpath"), QString());
    QVERIFY(!s.hub.training && !s.hub.editing);
    QCOMPARE(s.hub.shown, 0);
}

void TstLoadVocWindow::findingsLeadToTheEditor()
{
    Selection s;
    auto* line = s.child<QLabel>("lbl_findings");
    s.folder.write("typos.txt", utf16File(VocHeader + "\r1 + ni3hao + 你好 + hello + 1 + \r"));
    s.choose(s.folder.file("typos.txt"));
    QVERIFY(!line->isHidden());
    QVERIFY(line->text().contains(english("check_summary").arg(2).toHtmlEscaped())); // no tone, no sound
    Q_EMIT line->linkActivated("check");
    QWidget* editor = s.registry.find("frm_editvoc");
    QVERIFY(editor && editor->isVisible());
    QVERIFY(editor->findChild<QListWidget*>("lst_findings")->isVisible());
}

QTEST_MAIN(TstLoadVocWindow)
#include "tst_load_voc_window.moc"
