// The brainwash steps, stepped tick by tick: what the box shows after each tick and
// what is spoken, over whole passes through the selection.
#include "brainwash/brain_scheduler.h"
#include "core/app_state.h"
#include "sound/missing_sound_log.h"
#include "support/test_folder.h"
#include "vocabulary/word_table.h"

#include <QTest>

using namespace tavi;
using tavi::test::kTrainingWords;

namespace {

// A run over the first `words` words, started.
struct Started : BrainScheduler {
    Started(int words, int periode)
    {
        VocTable.assign(kTrainingWords.begin(), kTrainingWords.end());
        VocCount = int(kTrainingWords.size()) - 1;
        StudyList.clear();
        for (int i = 0; i < words; ++i)
            StudyList << QString::number(i);
        StudyCount = words - 1;
        setPeriode(QString::number(periode));
        start();
    }
};

// "cpes": which of characters, pinyin, translation and sound are on.
BrainScheduler::Options options(const QString& flags)
{
    return {flags.contains(u'c'), flags.contains(u'p'), flags.contains(u'e'), flags.contains(u's')};
}

// The box after each tick, with " ~pinyin" for what was spoken.
QStringList run(BrainScheduler& s, const BrainScheduler::Options& o, int ticks, bool shown = true)
{
    QStringList log;
    for (int i = 0; i < ticks; ++i) {
        const BrainScheduler::Step step = s.tick(o, StudyCount, shown);
        log << s.box().text + (step.speak.isEmpty() ? QString() : " ~" + step.speak);
    }
    return log;
}

} // namespace

class TstBrainScheduler : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        ChineseFont = QStringLiteral("MS Song");
        CurrentCharacter.clear();
    }
    void passes_data();
    void passes();
    void fontsFollowTheStep();
    void coloursCycleOncePerWord();
    void changedDuringARun();
    void intervalText_data();
    void intervalText();
    void fallbackPlaces_data();
    void fallbackPlaces();
};

void TstBrainScheduler::passes_data()
{
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("periode");
    QTest::addColumn<int>("words");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QStringList>("log");

    const auto word = [](const char* chin, const char* pinyin, const char* eng, int p) {
        return QStringList(p, chin) << QString(pinyin) + " ~" + pinyin << QStringList(p - 1, pinyin) << eng;
    };
    QTest::newRow("a pass and its empty tick")
        << "cpes" << 3 << 3 << true
        << (word("你好", "ni3hao3", "hello", 3) + word("谢谢", "xie4xie0", "thank you", 3) +
            word("再见", "zai4jian4", "goodbye", 3) + QStringList{"", "你好"});
    // Each word is spoken as its characters appear, except a pass's first: the empty
    // tick before it has nothing to say.
    QTest::newRow("only characters, with sound")
        << "cs" << 2 << 3 << true << QStringList{"你好", "你好", "谢谢 ~xie4xie0", "谢谢", "再见 ~zai4jian4",
                                                 "再见", "",     "你好",           "你好", "谢谢 ~xie4xie0"};
    QTest::newRow("pinyin cleared, spoken with the translation")
        << "ces" << 2 << 2 << true
        << QStringList{"你好", "你好", "hello ~ni3hao3", "谢谢", "谢谢", "thank you ~xie4xie0", ""};
    QTest::newRow("characters cleared: the pinyin keeps its time")
        << "pe" << 2 << 1 << true << QStringList{"ni3hao3", "ni3hao3", "hello", "", "ni3hao3"};
    QTest::newRow("nothing shown: one pass a tick, an empty box")
        << "s" << 3 << 2 << true << QStringList{" ~ni3hao3", " ~xie4xie0", "", " ~ni3hao3"};
    QTest::newRow("hidden by the hotkey: the steps go on in silence")
        << "cpes" << 1 << 1 << false << QStringList{"你好", "ni3hao3", "hello", "", "你好"};
    QTest::newRow("empty selection") << "cpes" << 1 << 0 << true << QStringList(5, "");
}

void TstBrainScheduler::passes()
{
    QFETCH(QString, flags);
    QFETCH(int, periode);
    QFETCH(int, words);
    QFETCH(bool, shown);
    QFETCH(QStringList, log);
    Started s(words, periode);
    QCOMPARE(run(s, options(flags), int(log.size()), shown), log);
}

void TstBrainScheduler::fontsFollowTheStep()
{
    Started s(1, 1);
    QStringList fonts;
    for (int i = 0; i < 3; ++i) {
        s.tick(options("cpes"), StudyCount, true);
        fonts << s.box().fontName + u' ' + QString::number(s.box().fontSize);
    }
    QCOMPARE(fonts, (QStringList{"MS Song 12", "Arial 10", "Arial 10"}));
    QCOMPARE(CurrentCharacter, QString("你好")); // set at the pinyin step, before the word is spoken
}

void TstBrainScheduler::coloursCycleOncePerWord()
{
    Started s(2, 1);
    QString colours; // Red, blacK, Blue at each characters step
    for (int i = 0; i < 15; ++i)
        if (s.tick(options("cpe"), StudyCount, true).shownTick == 0)
            colours += QStringLiteral("RKB")[int(s.box().colour)];
    // Words 1, 2, the empty tick, words 1, 2, the empty tick, ...
    QCOMPARE(colours, QString("RKBRKBR"));
}

// Changed during a run: a lower interval starts the next word, Start begins with the
// first word again, a shrunk selection ends the pass.
void TstBrainScheduler::changedDuringARun()
{
    const auto o = options("cpe");
    Started lowered(3, 10);
    run(lowered, o, 8); // still the characters of word 1
    QVERIFY(lowered.setPeriode(u"3"));
    QCOMPARE(run(lowered, o, 4), (QStringList{"谢谢", "谢谢", "谢谢", "xie4xie0"}));

    Started restarted(3, 2);
    run(restarted, o, 7); // into word 2
    restarted.start();
    QCOMPARE(run(restarted, o, 1), QStringList{"你好"});

    Started shrunk(3, 1);
    run(shrunk, o, 7); // word 3, its characters
    StudyCount = 0;    // the selection window chose one word meanwhile
    QCOMPARE(run(shrunk, o, 4), (QStringList{"zai4jian4", "goodbye", "", "你好"}));
}

void TstBrainScheduler::intervalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("periode");
    QTest::newRow("largest") << "16383" << 16383;
    QTest::newRow("blanks around") << " 12 " << 12;
    for (const char* kept : {"", "0", "-2", "16384", "2.5", "abc"})
        QTest::newRow(kept) << kept << 5;
}

void TstBrainScheduler::intervalText()
{
    QFETCH(QString, text);
    QFETCH(int, periode);
    BrainScheduler s;
    QVERIFY(s.setPeriode(u"5"));
    QCOMPARE(s.setPeriode(text), periode != 5);
    QCOMPARE(s.periode(), periode);
}

// A 131 x 27 window on a free area of 1280 x 770 whose top is below a 30-pixel panel.
void TstBrainScheduler::fallbackPlaces_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QPoint>("dragged"); // (-1, -1): never dragged
    QTest::addColumn<QPoint>("position");
    const QPoint never(-1, -1);
    QTest::newRow("top centre") << 0 << never << QPoint(574, 30);
    QTest::newRow("top left") << 1 << never << QPoint(0, 30);
    QTest::newRow("top right") << 2 << never << QPoint(1149, 30);
    QTest::newRow("bottom left") << 3 << never << QPoint(0, 773);
    QTest::newRow("bottom right") << 4 << never << QPoint(1149, 773);
    QTest::newRow("dragged") << 5 << QPoint(300, 400) << QPoint(300, 400);
    QTest::newRow("dragged off a screen that shrank") << 5 << QPoint(2000, -50) << QPoint(1149, 30);
    QTest::newRow("never dragged: top centre") << 5 << never << QPoint(574, 30);
}

void TstBrainScheduler::fallbackPlaces()
{
    QFETCH(int, place);
    QFETCH(QPoint, dragged);
    QFETCH(QPoint, position);
    const std::optional<QPoint> point = dragged == QPoint(-1, -1) ? std::nullopt : std::optional(dragged);
    QCOMPARE(fallbackPosition(FloatPlace(place), QRect(0, 30, 1280, 770), QSize(131, 27), point), position);
}

QTEST_GUILESS_MAIN(TstBrainScheduler)
#include "tst_brain_scheduler.moc"
