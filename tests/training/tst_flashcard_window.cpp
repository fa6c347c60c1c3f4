// The flashcard window, clicked through by control names: what a card shows and speaks,
// what the keys do, and what is stored. The round rules are the session's tests.
#include "core/app_state.h"
#include "core/ini_store.h"
#include "sound/missing_sound_log.h"
#include "support/window_test.h"
#include "training/review_log.h"
#include "vocabulary/progress_window.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Training : WindowTest {
    explicit Training(const QByteArray& settings = {}, const QList<VocRow>& words = kTrainingWords)
    {
        train("flashcard", words, settings);
    }
    // Which of the five training buttons are enabled, e.g. "goon repeat".
    QString enabled() const
    {
        QStringList on;
        for (const char* b : {"bt_start", "bt_goon", "bt_repeat", "bt_Yes", "bt_no"})
            if (button(b)->isEnabled())
                on << QString::fromLatin1(b).mid(3);
        return on.join(u' ');
    }
    QString counters() const
    {
        return text("txt_gewusst") + "/" + text("la_nichtgewusst") + " " + text("txt_done_this_round") + "/" +
               text("txt_voc_this_round");
    }
    void answer(const QString& answers)
    {
        for (QChar a : answers) {
            click("bt_goon");
            click(a == u'y' ? "bt_Yes" : "bt_no");
        }
    }
    QString levelsOnDisk() const
    {
        VocTable.clear();
        if (!loadVocabularyFile(VocFilePath))
            return "unreadable";
        return VocTable[0][CTR] + VocTable[1][CTR] + VocTable[2][CTR];
    }
};

} // namespace

class TstFlashcardWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walkThroughATraining();
    void checkBoxesChooseWhatACardShows();
    void keyboardThroughATraining();
    void summaryAtTheEnd();
    void answersSurviveTheWindowGoing_data() { rowsOf("how", {"bt_stop", "close box", "Escape", "unload"}); }
    void answersSurviveTheWindowGoing();
    void stopNeverWritesOverOtherWords();
    void pauseBetweenRoundsSurvivesClicks();
    void progressViewFollowsAnAnswer();
    void answersAreLogged();
    void logThatCannotBeWritten();
};

void TstFlashcardWindow::walkThroughATraining()
{
    Training t;
    QVERIFY(t.box("ch_chin")->isChecked() && t.box("ch_pinyin")->isChecked() &&
            t.box("ch_sound")->isChecked());
    QVERIFY(!t.box("ch_eng")->isChecked());
    QCOMPARE(t.enabled(), QString("start"));
    QCOMPARE(t.text("txt_runde"), QString("00"));
    const int selected = StudyCount;
    StudyCount = -1; // nothing selected: nothing to train
    t.click("bt_start");
    QCOMPARE(t.text("txt_feedback"), english("flash_nothing"));
    QCOMPARE(t.enabled(), QString("start"));
    QVERIFY(t.heard().isEmpty());

    StudyCount = selected;
    t.click("bt_start");
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QCOMPARE(t.text("txt_runde"), QString("1"));
    QCOMPARE(t.text("unitext1") + t.text("txt_pinyin") + "|" + t.text("txt_eng"), QString("你好ni3hao3|"));
    QCOMPARE(t.text("txt_feedback"), english("flash_speaking"));
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    QCOMPARE(CurrentCharacter, QString("你好"));

    t.click("bt_goon");
    QCOMPARE(t.enabled(), QString("Yes no"));
    QCOMPARE(t.text("txt_eng"), QString("hello"));
    QCOMPARE(t.text("txt_feedback"), english("flash_feedback"));
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    t.click("bt_Yes");
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    t.answer("y");
    t.click("bt_goon");
    QString duringPause;
    QTimer::singleShot(300, [&] { duringPause = t.counters(); });
    t.click("bt_no");                          // the round ends here, with a pause of a second
    QCOMPARE(duringPause, QString("2/1 3/3")); // the last answer counts at once
    QCOMPARE(t.text("txt_runde") + " " + t.counters() + " " + t.text("unitext1"), QString("2 0/0 0/1 再见"));
    t.answer("y");
    QCOMPARE(t.text("txt_feedback"), english("flash_welldone"));
    QCOMPARE(t.enabled(), QString());
    QCOMPARE(VocTable[0][CTR] + VocTable[1][CTR] + VocTable[2][CTR], QString("921"));
    QVERIFY(!QFileInfo::exists(VocFilePath + ".bak")); // only Stop and OK save
}

void TstFlashcardWindow::checkBoxesChooseWhatACardShows()
{
    Training t("flash_ch_chin=0\nflash_ch_pinyin=0\nflash_ch_eng=0\nflash_ch_sound=0\n");
    QVERIFY(!t.box("ch_chin")->isChecked());
    t.click("bt_start");
    QCOMPARE(t.text("unitext1") + t.text("txt_pinyin") + t.text("txt_eng"), QString());
    QVERIFY(t.heard().isEmpty());
    t.click("bt_repeat"); // Repeat speaks even with the sound off
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    t.click("bt_goon"); // the whole card, whatever the boxes say; still silent
    QCOMPARE(t.text("unitext1"), QString("你好"));
    auto* eng = t.child<QLineEdit>("txt_eng");
    QCOMPARE(eng->text(), QString("hello"));
    QCOMPARE(eng->cursorPosition(), 0); // one longer than the field shows its beginning
    QCOMPARE(eng->toolTip(), QString("hello"));
    QVERIFY(t.heard().isEmpty());
    t.box("ch_eng")->setChecked(true);
    t.click("bt_no");
    QCOMPARE(t.text("txt_eng"), QString("thank you"));
    QCOMPARE(t.text("unitext1"), QString());
}

// Keys go where a real keyboard sends them: to the focused control.
void TstFlashcardWindow::keyboardThroughATraining()
{
    Training t;
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    QCOMPARE(QApplication::focusWidget(), t.button("bt_start"));
    press(Qt::Key_Space);
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QCOMPARE(QApplication::focusWidget(), t.button("bt_goon"));
    t.heard();
    press(Qt::Key_Y); // Yes is not enabled before Go on
    QCOMPARE(t.text("txt_done_this_round"), QString("0"));
    press(Qt::Key_R);
    QCOMPARE(t.heard(), (QStringList{"ni3hao3", "wait"}));
    press(Qt::Key_Space);
    QCOMPARE(t.enabled(), QString("Yes no"));
    QCOMPARE(QApplication::focusWidget(), t.button("bt_Yes"));
    press(Qt::Key_Return); // the focused Yes
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    QVERIFY(t.button("bt_undo")->isEnabled());
    press(Qt::Key_Enter);
    QVERIFY(!t.button("bt_undo")->isEnabled()); // after Go on the answer before stays
    press(Qt::Key_N);
    QCOMPARE(t.counters(), QString("1/1 2/3"));
    QCOMPARE(VocTable[1][CTR], QString("0"));

    press(Qt::Key_Backspace); // undo: the same word again, at its old level
    QCOMPARE(t.counters(), QString("1/0 1/3"));
    QCOMPARE(VocTable[1][CTR], QString("1"));
    QCOMPARE(t.text("unitext1"), QString("谢谢"));
    QCOMPARE(t.enabled(), QString("goon repeat"));
    QVERIFY(!t.button("bt_undo")->isEnabled()); // one answer back, no more

    // Space belongs to whatever has the focus: a check box ticks, Stop stops.
    QCheckBox* eng = t.box("ch_eng");
    eng->setFocus();
    press(Qt::Key_Space);
    QVERIFY(eng->isChecked());
    QCOMPARE(t.text("txt_eng"), QString()); // no card was revealed meanwhile
    t.button("bt_stop")->setFocus();
    press(Qt::Key_Space);
    QVERIFY(t.button("bt_start")->isEnabled() && t.button("bt_goon")->isEnabled()); // not revealed
    QVERIFY(QFile::exists(VocFilePath + ".bak"));
    QVERIFY(t.button("bt_goon")->toolTip().contains("Space"));
    QVERIFY(t.button("bt_undo")->toolTip().contains("Backspace"));
}

void TstFlashcardWindow::summaryAtTheEnd()
{
    Training t;
    t.click("bt_start");
    auto* summary = t.child<QLabel>("txt_summary");
    QVERIFY(!summary->isVisible());
    t.answer("nyyny"); // 你好 8: no, no, yes = 7; 谢谢 1: yes = 2; 再见 0: yes = 1
    QVERIFY(summary->isVisible());
    const QString shown = summary->text();
    QTest::qWait(1100); // the summary is read, then Stop pressed: the training's time is over
    t.click("bt_stop");
    QCOMPARE(summary->text(), shown);
    const int seconds = t.stored("flash_last_seconds").toInt();
    QVERIFY(seconds >= 2 && seconds < 3600); // two pauses between rounds; a span, not a clock
    QCOMPARE(shown, english("flash_summary").arg(3).arg(2).arg(2).arg(1).arg(QString("0:0%1").arg(seconds)));
    QCOMPARE(t.stored("flash_last_trained") + t.stored("flash_last_firsttry") + t.stored("flash_last_up") +
                 t.stored("flash_last_down"),
             QString("3221"));
    t.click("bt_start");
    QVERIFY(!summary->isVisible());
}

void TstFlashcardWindow::answersSurviveTheWindowGoing()
{
    QFETCH(QString, how);
    Training t;
    t.click("bt_start");
    t.answer("n");
    t.box("ch_eng")->setChecked(true);
    t.leave(how);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(t.registry.find("flashcard") == nullptr, how != "bt_stop");
    QCOMPARE(t.levelsOnDisk(), QString("710"));
    if (how != "unload")
        QCOMPARE(t.stored("flash_ch_eng"), QString("1"));
    QVERIFY(t.boxes.calls.isEmpty());
}

void TstFlashcardWindow::stopNeverWritesOverOtherWords()
{
    Training t;
    const QString own = VocFilePath;
    const QString other = t.folder.file("other.txt");
    t.folder.write("other.txt", "keep me");
    VocFilePath = other; // say a later file could not be read
    t.click("bt_stop");
    QCOMPARE(t.folder.read("other.txt"), QByteArray("keep me"));
    QCOMPARE(t.boxes.shown(),
             QStringList{"The levels were not saved: the words in memory were not read from\n" + other +
                         "|48|Tavi"});

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

void TstFlashcardWindow::pauseBetweenRoundsSurvivesClicks()
{
    Training t("flash_ch_eng=0\nflash_ch_chin=1\n");
    t.window->resize(760, 400);
    QVERIFY(QTest::qWaitForWindowExposed(t.window));
    t.click("bt_start");
    t.screenshot("flashcard_card");
    t.click("bt_goon");
    t.screenshot("flashcard_whole_card");
    t.click("bt_no");
    t.answer("nn");
    // Now in round 2; end it with a word not known and click about during the pause.
    QCOMPARE(t.text("txt_runde"), QString("2"));
    t.heard();
    bool clicked = false;
    QTimer::singleShot(300, [&] {
        t.click("bt_repeat");
        t.click("bt_goon");
        clicked = true;
    });
    t.answer("nnn");
    QVERIFY(clicked);
    QCOMPARE(t.text("txt_runde"), QString("3"));
    // Round 2's three cards at Go on, its last two when shown, round 3's first when
    // shown: nothing from the clicks in the pause.
    QCOMPARE(t.heard().count("wait"), 6);

    // OK in the middle of a pause closes the window safely.
    t.answer("nn");
    QTimer::singleShot(300, [&] { t.click("bt_ok"); });
    t.answer("n");
    QCOMPARE(t.registry.find("flashcard"), nullptr);
    QCOMPARE(t.levelsOnDisk(), QString("500"));
}

void TstFlashcardWindow::progressViewFollowsAnAnswer()
{
    Training t({}, kTrainingWords + QList<VocRow>{{"3", "ma1", "妈", "mum", "2", ""},
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
    t.answer("y");
    QTRY_VERIFY(view->shown().allByLevel != before);
    int moved = 0;
    for (int l = 0; l < ProgressLevels; ++l)
        moved += std::abs(view->shown().allByLevel[l] - before[l]);
    QCOMPARE(moved, 2); // one word left its level for the next
    QCOMPARE(view->shown().words, 5);
}

// Each answer is a row of the program folder's review log; Undo takes its row back; a
// damaged log is set aside with a box that names both files.
void TstFlashcardWindow::answersAreLogged()
{
    Training t;
    t.folder.write("reviews.sqlite", QByteArray(4096, 'x'));
    t.click("bt_start");
    t.answer("yn");
    QCOMPARE(t.boxes.calls.size(), 1);
    QVERIFY(t.boxes.calls[0].text.contains(".broken-") && t.boxes.calls[0].text.contains("reviews.sqlite"));
    t.click("bt_undo");
    ReviewLog* log = programReviewLog().log;
    QCOMPARE(log->count(), 1);
    const auto answers = log->answersByWord().value(ReviewLog::wordKey("你好", "ni3hao3"));
    QVERIFY(answers.size() == 1 && answers[0].known);
    QVERIFY(qAbs(answers[0].time.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    t.answer("n"); // the same word asked again
    QCOMPARE(log->count(), 2);
    QCOMPARE(t.boxes.calls.size(), 1); // said once
}

// A log where none can be written: said once, and the training goes on as without it.
void TstFlashcardWindow::logThatCannotBeWritten()
{
    Training t;
    QVERIFY(QDir(t.folder.path()).mkdir("reviews.sqlite"));
    t.click("bt_start");
    t.answer("yy");
    QCOMPARE(t.boxes.calls.size(), 1);
    QVERIFY(t.boxes.calls[0].text.startsWith(english("review_log_failed").section(' ', 0, 2)));
    QCOMPARE(t.counters(), QString("2/0 2/3"));
    t.click("bt_undo");
    QCOMPARE(t.boxes.calls.size(), 1);
}

QTEST_MAIN(TstFlashcardWindow)
#include "tst_flashcard_window.moc"
