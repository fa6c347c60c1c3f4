// The selection window: defaults, choosing a file, the filters, the counts, the
// warnings, and OK handing back to the main window.
#include "core/app_state.h"
#include "support/window_test.h"
#include "training/review_log.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

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
    void opensWithDefaults();
    void chooseSelectOkAndReopen();
    void choosingAgain();
    void levelBoxTakesWholeNumbers();
    void closedOrNothingSelected();
    void findingsLeadToTheEditor();
    void onlyDueWords();
};

// Opened: the default boxes, and the sample file of the language, not loaded yet.
void TstLoadVocWindow::opensWithDefaults()
{
    for (const auto& [language, file] : {std::pair{"ENGLISH", "my_vocabulary/pcr1-10u.txt"},
                                         std::pair{"GERMAN", "meine vokabeln/pcr1-10u_d.txt"}}) {
        Selection s(false);
        LanguageSection = language;
        QVERIFY(s.open("loadvoc") && s.window->isVisible());
        QCOMPARE(s.text("txt_chap") + "|" + s.text("txt_lev") + "|" + s.text("txt_more"),
                 QString("1, 2, 3|3|"));
        QCOMPARE(s.text("txt_vocfile"), QDir::toNativeSeparators(s.folder.file(file)));
        QCOMPARE(s.counts(), QString("   --|   --|   --"));
        QVERIFY(!s.button("voc_to_array")->isEnabled());
        QCOMPARE(VocCount, -1);
    }
}

void TstLoadVocWindow::chooseSelectOkAndReopen()
{
    Selection s;
    s.choose(s.sample());
    QCOMPARE(s.dialogs.calls.size(), 1);
    QCOMPARE(s.dialogs.calls[0].title, english("load_loaddialog"));
    QCOMPARE(s.dialogs.calls[0].initialFile, s.sample());
    const QString words = QString::number(VocCount + 1);
    QCOMPARE(s.counts(), words + "|--|" + words);
    QVERIFY(s.button("voc_to_array")->isEnabled());

    // Everything, selected by Enter in a box, which leaves the window open.
    for (const char* f : {"txt_chap", "txt_lev", "txt_more"})
        s.type(f, "");
    QVERIFY(QTest::qWaitForWindowExposed(s.window));
    s.child("txt_chap")->setFocus();
    QTest::keyClick(s.child("txt_chap"), Qt::Key_Return);
    QVERIFY(s.window->isVisible());
    QCOMPARE(s.text("txt_anzvoc"), words);
    s.screenshot("loadvoc");

    // Chapter 1 up to level 1 marked x, not selected: OK trains what the boxes say.
    s.type("txt_chap", "1");
    s.type("txt_lev", "1");
    s.type("txt_more", "x");
    s.click("close1");
    int expected = 0;
    for (int r = 0; r <= VocCount; ++r)
        expected +=
            VocTable[r][CHAPTER] == u"1" && VocTable[r][CTR].toInt() <= 1 && VocTable[r][SELECTION] == u"x";
    QVERIFY(expected > 0);
    QCOMPARE(StudyCount + 1, expected);
    QVERIFY(s.boxes.calls.isEmpty());
    QVERIFY(s.hub.training && s.hub.editing);
    QCOMPARE(s.hub.shown, 1);
    QCOMPARE(s.hub.status, QString("0 of the %1 words in this file are due today.").arg(words));
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QCOMPARE(s.stored("load_txt_chap") + "|" + s.stored("load_txt_level") + "|" + s.stored("load_txt_more"),
             QString("1|1|x"));
    QCOMPARE(s.stored("load_vocfilewpath"), s.sample());

    // Opened again: the stored boxes and file, but nothing chosen yet.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.open("loadvoc");
    QCOMPARE(s.text("txt_chap") + "|" + s.text("txt_lev") + "|" + s.text("txt_more"), QString("1|1|x"));
    QCOMPARE(s.text("txt_vocfile"), s.sample());
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

    // No text at all: the table stays; only a header: the count says 0. Both are
    // reported as empty, naming the file, and only a missing file as missing.
    s.folder.write("empty.txt", QByteArray("\xFF\xFE", 2));
    s.folder.write("h.txt", "CTR + P\r");
    s.choose(s.folder.file("empty.txt"));
    QCOMPARE(VocCount, words);
    QCOMPARE(s.text("txt_vocfile"), s.folder.file("empty.txt"));
    s.choose(s.folder.file("h.txt"));
    QCOMPARE(s.text("txt_anz_allvoc"), QString("0"));
    QVERIFY(!s.button("voc_to_array")->isEnabled());
    s.choose(s.folder.file("missing.txt"));
    const QString empty = english("load_file_empty") + '\n';
    QCOMPARE(s.boxes.shown(),
             (QStringList{empty + s.folder.file("empty.txt") + "|48|Tavi",
                          empty + s.folder.file("h.txt") + "|48|Tavi", "Can not find this file|48|Tavi"}));
}

// The level box takes whole numbers as a learner types them: files hold levels such
// as 12 or -2.
void TstLoadVocWindow::levelBoxTakesWholeNumbers()
{
    Selection s;
    s.folder.write(
        "levels.txt",
        (VocHeader + "\r12 + a1 + A + a + 1 + \r-2 + b2 + B + b + 1 + \r1 + c3 + C + c + 1 + \r").toUtf8());
    s.choose(s.folder.file("levels.txt"));
    auto* level = s.child<QLineEdit>("txt_lev");
    for (const auto& [typed, shown, selected] :
         {std::tuple{"12", "12", 3}, {"-2", "-2", 1}, {"a1b", "1", 2}}) {
        level->clear();
        QTest::keyClicks(level, typed);
        QCOMPARE(level->text(), QString(shown));
        s.click("voc_to_array");
        QCOMPARE(StudyCount + 1, selected);
    }
}

// Closed without OK: nothing is stored or told. OK with nothing selected warns and
// closes all the same, with only the editor enabled, to fix the file.
void TstLoadVocWindow::closedOrNothingSelected()
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

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.open("loadvoc");
    s.choose(s.sample());
    s.type("txt_chap", "no such chapter");
    s.click("close1");
    QCOMPARE(s.boxes.shown(),
             QStringList{"You did NOT select any vocabulary to study or play with !|48|Tavi"});
    QCOMPARE(s.registry.find("loadvoc"), nullptr);
    QVERIFY(!s.hub.training && s.hub.editing);
    QCOMPARE(s.hub.status, english("main_txt_status_nowords"));
    QCOMPARE(s.hub.shown, 1);
}

void TstLoadVocWindow::findingsLeadToTheEditor()
{
    Selection s;
    auto* line = s.child<QLabel>("lbl_findings");
    s.folder.write("typos.txt", (VocHeader + "\r1 + ni3hao + 你好 + hello + 1 + \r").toUtf8());
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

// With "only words due": the words the review log makes due, most overdue first, then at
// most so many new ones; the counts and the status line say how many of each.
void TstLoadVocWindow::onlyDueWords()
{
    Selection s;
    s.choose(s.sample());
    for (const char* f : {"txt_chap", "txt_lev", "txt_more"})
        s.type(f, "");
    const auto logged = [](int row, int daysAgo, bool known) {
        const QDateTime at = QDateTime::currentDateTimeUtc().addDays(-daysAgo);
        QVERIFY(programReviewLog().log->append(
            {at, VocTable[row][CHAR], VocTable[row][PINYIN], "pcr1-10u.txt", known, 0, 1, 900}));
    };
    logged(5, 30, true);   // due since about four weeks
    logged(9, 60, true);   // due since about eight weeks
    logged(7, 0, true);    // answered today: not due
    logged(40, 100, true); // forgotten long ago, in chapter 2
    logged(40, 99, false);
    s.click("voc_to_array");
    const int all = VocCount + 1;
    QCOMPARE(s.text("txt_anzvoc") + "|" + s.text("txt_due") + "|" + s.text("txt_new"),
             QString("%1|3|%2").arg(all).arg(all - 4));
    QCOMPARE(StudyList.mid(0, 3), QStringList({"0", "1", "2"})); // unchecked: as before

    s.type("txt_newlimit", "2");
    s.box("ch_due")->setChecked(true); // selects anew at once
    QCOMPARE(StudyList, QStringList({"40", "9", "5", "0", "1"}));
    QCOMPARE(s.text("txt_anzvoc"), QString("5"));
    s.type("txt_chap", "1");
    s.type("txt_lev", "2");
    s.click("voc_to_array");
    QCOMPARE(VocTable[9][CTR] + VocTable[5][CTR] + VocTable[2][CTR], QString("313")); // 9 and 2 are above
    QCOMPARE(StudyList, QStringList({"5", "1", "3"}));
    int fresh = -2; // rows 5 and 7 were answered
    for (int r = 0; r <= VocCount; ++r)
        fresh += VocTable[r][CHAPTER] == u"1" && VocTable[r][CTR].toInt() <= 2;
    QCOMPARE(s.text("txt_due") + "|" + s.text("txt_new"), QString("1|%1").arg(fresh));
    s.type("txt_lev", "");

    s.type("txt_chap", "");
    s.type("txt_newlimit", ""); // empty: the default of 20
    s.box("ch_shuffle")->setChecked(true);
    QCOMPARE(s.text("txt_newlimit"), QString("20"));
    QCOMPARE(StudyCount + 1, 23);
    s.click("close1");
    QCOMPARE(s.hub.status, QString("3 of the %1 words in this file are due today.").arg(all));
    QCOMPARE(s.stored("load_ch_due") + s.stored("load_ch_shuffle") + s.stored("load_txt_newlimit"),
             QString("1120"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.open("loadvoc");
    QVERIFY(s.box("ch_due")->isChecked() && s.child("txt_newlimit")->isEnabled());
}
