// The flashcard window, clicked through by control names with a recording audio fake.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/progress_window.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Training {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeAudioOutput audio;
    WindowRegistry registry;
    QWidget* window = nullptr;

    explicit Training(const QList<VocRow>& words, const QByteArray& settings = {})
    {
        folder.prepareTraining(words, settings);
        registerAllWindows(registry);
        registry.open("flashcard");
        window = registry.find("flashcard");
    }
    QPushButton* button(const char* name) const
    {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    QCheckBox* box(const char* name) const { return window->findChild<QCheckBox*>(QLatin1String(name)); }
    QString field(const char* name) const
    {
        return window->findChild<QLineEdit*>(QLatin1String(name))->text();
    }
    QString label(const char* name) const { return window->findChild<QLabel*>(QLatin1String(name))->text(); }
    QString chinese() const { return window->findChild<UnicodeTextBox*>("unitext1")->text(); }
    void click(const char* name) { button(name)->click(); }
    // Which of the five training buttons are enabled, e.g. "goon repeat".
    QString enabled() const
    {
        QStringList on;
        for (const char* b : {"bt_start", "bt_goon", "bt_repeat", "bt_Yes", "bt_no"})
            if (button(b)->isEnabled())
                on << QString::fromLatin1(b).mid(3);
        return on.join(u' ');
    }
    QStringList heard()
    {
        QStringList names;
        for (const QString& p : std::exchange(audio.played, {}))
            names << QFileInfo(p).completeBaseName();
        return names;
    }
    QString counters() const
    {
        return label("txt_gewusst") + "/" + label("la_nichtgewusst") + " " + label("txt_done_this_round") +
               "/" + label("txt_voc_this_round");
    }
};

const QList<VocRow> kThree = {{"8", "ni3hao3", "你好", "hello", "1", ""},
                              {"1", "xie4xie0", "谢谢", "thank you", "1", ""},
                              {"0", "zai4jian4", "再见", "goodbye", "1", ""}};

} // namespace

class TstFlashcardWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void progressViewFollowsAnAnswer();
    void loadsWithCaptionsAndDefaults();
    void yesYesNoThenYes();
    void checkBoxesChooseWhatACardShows();
    void repeatSpeaksEvenWithSoundOff();
    void stopWritesTheLevels();
    void stopNeverWritesOverOtherWords();
    void keyboardThroughATraining();
    void undoReachesBackOverTheRoundsEnd();
    void summaryAtTheEnd();
    void answersSurviveTheWindowGoing_data();
    void answersSurviveTheWindowGoing();
    void emptySelectionHasNothingToTrain();
    void pauseBetweenRoundsSurvivesClicks();
    void screenshotsOfACard();
};

void TstFlashcardWindow::loadsWithCaptionsAndDefaults()
{
    Training t(kThree);
    QVERIFY(t.box("ch_chin")->isChecked());
    QVERIFY(!t.box("ch_eng")->isChecked());
    QVERIFY(t.box("ch_pinyin")->isChecked());
    QVERIFY(t.box("ch_sound")->isChecked());
    QCOMPARE(t.enabled(), QString("start"));
    QVERIFY(t.button("bt_stop")->isEnabled());
    QCOMPARE(t.label("txt_runde"), QString("00"));
    QVERIFY(t.button("bt_goon")->toolTip().contains("Space"));
}

void TstFlashcardWindow::yesYesNoThenYes()
{
    Training t(kThree);
    t.click("bt_start");
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QCOMPARE(t.label("txt_runde"), QString("1"));
    QCOMPARE(t.chinese(), QString("你好"));
    QCOMPARE(t.field("txt_pinyin"), QString("ni3hao3"));
    QCOMPARE(t.field("txt_eng"), QString());
    QCOMPARE(t.field("txt_feedback"), english("flash_speaking"));
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    QCOMPARE(CurrentCharacter, QString("你好"));

    t.click("bt_goon");
    QCOMPARE(t.enabled(), QString("Yes no"));
    QCOMPARE(t.field("txt_eng"), QString("hello"));
    QCOMPARE(t.field("txt_feedback"), english("flash_feedback"));
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    t.click("bt_Yes");
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    t.click("bt_goon");
    t.click("bt_Yes");
    t.click("bt_goon");
    QString duringPause;
    QTimer::singleShot(300, [&] { duringPause = t.counters(); });
    t.click("bt_no");                          // the round ends here, with a pause of a second
    QCOMPARE(duringPause, QString("2/1 3/3")); // the last answer counts at once
    QCOMPARE(t.label("txt_runde"), QString("2"));
    QCOMPARE(t.counters(), QString("0/0 0/1"));
    QCOMPARE(t.chinese(), QString("再见"));
    t.click("bt_goon");
    t.click("bt_Yes");
    QCOMPARE(t.field("txt_feedback"), english("flash_welldone"));
    QCOMPARE(t.enabled(), QString());
    QCOMPARE(t.counters(), QString("1/0 1/1"));
    QCOMPARE(VocTable[0][CTR], QString("9"));
    QCOMPARE(VocTable[1][CTR], QString("2"));
    QCOMPARE(VocTable[2][CTR], QString("1")); // 0, no: 0, yes: 1
}

void TstFlashcardWindow::checkBoxesChooseWhatACardShows()
{
    Training t(kThree, "flash_ch_chin=0\nflash_ch_pinyin=0\nflash_ch_eng=0\nflash_ch_sound=0\n");
    QVERIFY(!t.box("ch_chin")->isChecked());
    t.click("bt_start");
    QCOMPARE(t.chinese(), QString());
    QCOMPARE(t.field("txt_pinyin"), QString());
    QCOMPARE(t.field("txt_eng"), QString());
    QVERIFY(t.heard().isEmpty());
    t.click("bt_goon"); // the whole card, whatever the boxes say; still silent
    QCOMPARE(t.chinese(), QString("你好"));
    QCOMPARE(t.field("txt_eng"), QString("hello"));
    auto* eng = t.window->findChild<QLineEdit*>("txt_eng");
    QCOMPARE(eng->cursorPosition(), 0); // one longer than the field shows its beginning
    QCOMPARE(eng->toolTip(), QString("hello"));
    QVERIFY(t.heard().isEmpty());
    t.box("ch_eng")->setChecked(true);
    t.click("bt_no");
    QCOMPARE(t.field("txt_eng"), QString("thank you"));
    QCOMPARE(t.chinese(), QString());
}

void TstFlashcardWindow::repeatSpeaksEvenWithSoundOff()
{
    Training t(kThree, "flash_ch_sound=0\n");
    t.click("bt_start");
    QVERIFY(t.heard().isEmpty());
    t.click("bt_repeat");
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
}

void TstFlashcardWindow::stopWritesTheLevels()
{
    Training t(kThree);
    t.click("bt_stop"); // no answer yet: the file is written all the same
    QVERIFY(QFile::exists(VocFilePath + ".bak"));
    t.click("bt_start");
    t.click("bt_goon");
    t.click("bt_no");
    t.box("ch_eng")->setChecked(true);
    t.click("bt_stop");
    QCOMPARE(t.enabled(), QString("start goon repeat"));
    VocTable.clear();
    QVERIFY(loadVocabularyFile(VocFilePath));
    QCOMPARE(VocTable[0][CTR], QString("7"));
    QCOMPARE(ini::read(SettingsFile, "Tavi", "flash_ch_eng"), QString("1"));
    QVERIFY(t.boxes.calls.isEmpty());
}

void TstFlashcardWindow::stopNeverWritesOverOtherWords()
{
    Training t(kThree);
    const QString own = VocFilePath;
    const QString other = t.folder.file("other.txt");
    t.folder.write("other.txt", "keep me");
    VocFilePath = other; // say a later file could not be read
    t.click("bt_stop");
    QCOMPARE(t.folder.read("other.txt"), QByteArray("keep me"));
    QCOMPARE(t.boxes.calls.size(), 1);
    QCOMPARE(t.boxes.calls[0].flags, 48);
    QVERIFY(t.boxes.calls[0].text.contains(other));

    // Another copy of the program saved the file meanwhile: asked, not written over.
    VocFilePath = own;
    t.folder.write(QFileInfo(own).fileName(), "saved by the other copy");
    t.boxes.answers = {vbNo};
    t.click("bt_stop");
    QCOMPARE(t.folder.read(QFileInfo(own).fileName()), QByteArray("saved by the other copy"));
    QCOMPARE(t.boxes.calls.size(), 2);
    QVERIFY(t.boxes.calls[1].text.startsWith(english("save_file_changed")));
    QVERIFY(t.boxes.calls[1].text.contains(own));
}

// Keys go where a real keyboard sends them: to the focused control.
void TstFlashcardWindow::keyboardThroughATraining()
{
    Training t(kThree);
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    QCOMPARE(QApplication::focusWidget(), t.button("bt_start"));
    press(Qt::Key_Space);
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QCOMPARE(QApplication::focusWidget(), t.button("bt_goon"));
    t.heard();
    press(Qt::Key_Y); // Yes is not enabled before Go on
    QCOMPARE(t.label("txt_done_this_round"), QString("0"));
    press(Qt::Key_R);
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    press(Qt::Key_Space);
    QCOMPARE(t.enabled(), QString("Yes no"));
    QCOMPARE(QApplication::focusWidget(), t.button("bt_Yes"));
    press(Qt::Key_Return); // the focused Yes
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    press(Qt::Key_Enter);
    press(Qt::Key_N);
    QCOMPARE(t.counters(), QString("1/1 2/3"));
    QCOMPARE(VocTable[1][CTR], QString("0"));

    press(Qt::Key_Backspace); // undo: the same word again, at its old level
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    QCOMPARE(VocTable[1][CTR], QString("1"));
    QCOMPARE(t.chinese(), QString("谢谢"));
    QCOMPARE(t.enabled(), QString("goon repeat"));

    // Space belongs to whatever has the focus: a check box ticks, Stop stops.
    QCheckBox* eng = t.box("ch_eng");
    eng->setFocus();
    press(Qt::Key_Space);
    QVERIFY(eng->isChecked());
    QCOMPARE(t.field("txt_eng"), QString()); // no card was revealed meanwhile
    t.button("bt_stop")->setFocus();
    press(Qt::Key_Space);
    QVERIFY(t.button("bt_start")->isEnabled());
    QCOMPARE(t.field("txt_pinyin"), QString("xie4xie0"));
    QVERIFY(t.button("bt_goon")->isEnabled()); // not revealed
    QVERIFY(QFile::exists(VocFilePath + ".bak"));
    QVERIFY(t.button("bt_undo")->toolTip().contains("Backspace"));
}

void TstFlashcardWindow::undoReachesBackOverTheRoundsEnd()
{
    Training t(kThree);
    t.click("bt_start");
    for (const char* b : {"bt_Yes", "bt_Yes", "bt_no"}) {
        t.click("bt_goon");
        QVERIFY(!t.button("bt_undo")->isEnabled()); // the answer before stays now
        t.click(b);
        QVERIFY(t.button("bt_undo")->isEnabled());
    }
    QCOMPARE(t.label("txt_runde"), QString("2"));
    t.click("bt_undo");
    QCOMPARE(t.label("txt_runde"), QString("1"));
    QCOMPARE(t.counters(), QString("2/0 2/3"));
    QCOMPARE(VocTable[2][CTR], QString("0"));
    QVERIFY(!t.button("bt_undo")->isEnabled()); // one answer back, no more
    t.click("bt_goon");
    t.click("bt_Yes"); // now every word is known at the first try
    QCOMPARE(t.field("txt_feedback"), english("flash_welldone"));
    QVERIFY(t.button("bt_undo")->isEnabled());
    t.click("bt_undo");
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QCOMPARE(t.chinese(), QString("再见"));
}

void TstFlashcardWindow::summaryAtTheEnd()
{
    Training t(kThree);
    t.click("bt_start");
    QVERIFY(!t.window->findChild<QLabel*>("txt_summary")->isVisible());
    // 你好 8: no, no, yes = 7; 谢谢 1: yes = 2; 再见 0: yes = 1.
    for (const char* b : {"bt_no", "bt_Yes", "bt_Yes", "bt_no", "bt_Yes"}) {
        t.click("bt_goon");
        t.click(b);
    }
    QCOMPARE(t.field("txt_feedback"), english("flash_welldone"));
    auto* summary = t.window->findChild<QLabel*>("txt_summary");
    QVERIFY(summary->isVisible());
    QCOMPARE(QFileInfo::exists(VocFilePath + ".bak"), false); // only Stop and OK save
    const QString shown = summary->text();
    QTest::qWait(1100); // the summary is read, then Stop pressed: the training's time is over
    t.click("bt_stop");
    QCOMPARE(summary->text(), shown);
    const auto stored = [&](const char* key) { return ini::read(SettingsFile, "Tavi", key); };
    const int seconds = stored("flash_last_seconds").toInt();
    QVERIFY(seconds >= 2 && seconds < 10); // two pauses between rounds
    QCOMPARE(shown, english("flash_summary").arg(3).arg(2).arg(2).arg(1).arg(QString("0:0%1").arg(seconds)));
    QCOMPARE(stored("flash_last_trained") + stored("flash_last_firsttry") + stored("flash_last_up") +
                 stored("flash_last_down"),
             QString("3221"));
    t.click("bt_start");
    QVERIFY(!summary->isVisible());
}

void TstFlashcardWindow::answersSurviveTheWindowGoing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("unloaded") << "unload"; // a language switch, or the program ending
}

void TstFlashcardWindow::answersSurviveTheWindowGoing()
{
    QFETCH(QString, how);
    Training t(kThree);
    t.click("bt_start");
    t.click("bt_goon");
    t.click("bt_no");
    t.box("ch_eng")->setChecked(true);
    if (how == "close")
        t.window->close();
    else if (how == "escape")
        QTest::keyClick(t.window, Qt::Key_Escape);
    else
        t.registry.unload("flashcard");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(t.registry.find("flashcard"), nullptr);
    VocTable.clear();
    QVERIFY(loadVocabularyFile(VocFilePath));
    QCOMPARE(VocTable[0][CTR], QString("7"));
    if (how != "unload")
        QCOMPARE(ini::read(SettingsFile, "Tavi", "flash_ch_eng"), QString("1"));
}

void TstFlashcardWindow::emptySelectionHasNothingToTrain()
{
    Training t(kThree);
    StudyCount = -1;
    t.click("bt_start");
    QCOMPARE(t.field("txt_feedback"), english("flash_nothing"));
    QCOMPARE(t.enabled(), QString("start"));
    QVERIFY(t.heard().isEmpty());
}

void TstFlashcardWindow::pauseBetweenRoundsSurvivesClicks()
{
    Training t(kThree);
    t.click("bt_start");
    for (int i = 0; i < 3; ++i) {
        t.click("bt_goon");
        t.click("bt_no");
    }
    // Now in round 2; end it with a word not known and click about during the pause.
    QCOMPARE(t.label("txt_runde"), QString("2"));
    t.heard();
    bool clicked = false;
    QTimer::singleShot(300, [&] {
        t.click("bt_repeat");
        t.click("bt_goon");
        clicked = true;
    });
    t.click("bt_goon");
    t.click("bt_no");
    t.click("bt_goon");
    t.click("bt_no");
    t.click("bt_goon");
    t.click("bt_no");
    QVERIFY(clicked);
    QCOMPARE(t.label("txt_runde"), QString("3"));
    // Round 2's three cards at Go on, its last two when shown, round 3's first when
    // shown: nothing from the clicks in the pause.
    QCOMPARE(t.heard().count("wait"), 6);

    // OK in the middle of a pause closes the window safely.
    t.click("bt_goon");
    t.click("bt_no");
    t.click("bt_goon");
    t.click("bt_no");
    QTimer::singleShot(300, [&] { t.click("bt_ok"); });
    t.click("bt_goon");
    t.click("bt_no");
    QCOMPARE(t.registry.find("flashcard"), nullptr);
}

void TstFlashcardWindow::screenshotsOfACard()
{
    Training t(kThree, "flash_ch_eng=0\nflash_ch_chin=1\n");
    t.window->resize(760, 400);
    QVERIFY(QTest::qWaitForWindowExposed(t.window));
    t.click("bt_start");
    QDir().mkpath(TAVI_SCREENSHOT_DIR);
    QVERIFY(t.window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/flashcard_card.png")));
    t.click("bt_goon");
    QVERIFY(t.window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/flashcard_whole_card.png")));
    for (int i = 0; i < 3; ++i) {
        t.click("bt_Yes");
        if (t.button("bt_goon")->isEnabled())
            t.click("bt_goon");
    }
    QVERIFY(t.window->grab().save(QStringLiteral(TAVI_SCREENSHOT_DIR "/flashcard_summary.png")));
}

void TstFlashcardWindow::progressViewFollowsAnAnswer()
{
    Training t({kThree[0],
                kThree[1],
                kThree[2],
                {"3", "ma1", "妈", "mum", "2", ""},
                {"12", "ta1", "他", "he", "10", ""}});
    t.registry.open("frm_progress");
    auto* view = qobject_cast<ProgressWindow*>(t.registry.find("frm_progress"));
    QVERIFY(view);
    const LevelCounts before = view->shown().allByLevel;
    QCOMPARE(before, (LevelCounts{1, 1, 0, 1, 0, 0, 0, 0, 1, 1})); // level 12 counted as 9
    QCOMPARE(view->shown().selectedByChapter.size(), 3);
    QCOMPARE(view->shown().selectedByChapter[0].chapter, QString("1")); // 1, 2, 10: by number
    QCOMPARE(view->shown().selectedByChapter[2].chapter, QString("10"));
    QCOMPARE(view->shown().selectedByChapter[0].total(), 3);

    t.click("bt_start");
    t.click("bt_goon");
    t.click("bt_Yes");
    QTRY_VERIFY(view->shown().allByLevel != before);
    int moved = 0;
    for (int l = 0; l < ProgressLevels; ++l)
        moved += std::abs(view->shown().allByLevel[l] - before[l]);
    QCOMPARE(moved, 2); // one word left its level for the next
    QCOMPARE(view->shown().words, 5);
}

QTEST_MAIN(TstFlashcardWindow)
#include "tst_flashcard_window.moc"
