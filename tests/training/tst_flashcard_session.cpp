// Flashcard rounds, driven answer by answer as the window drives them.
#include "training/flashcard_session.h"

#include <QTest>

using namespace tavi;

namespace {

// Plays a training: each string is one round's answers ('y' known, 'n' not). Returns
// per round "size:positions asked known/answered" and whether the training finished.
QStringList play(int words, const QStringList& rounds, bool* finished)
{
    FlashcardSession s;
    s.start(words - 1);
    QStringList log;
    for (const QString& answers : rounds) {
        QStringList asked;
        const int size = s.roundSize();
        for (QChar a : answers) {
            if (!s.seekCard())
                break;
            asked << QString::number(s.position());
            s.answer(a == u'y');
        }
        log << QString::asprintf("%d:%s %d/%d", size, qPrintable(asked.join(u',')), s.knownCount(),
                                 s.answeredCount());
        if (s.seekCard())
            break; // the round is not over yet
        if (s.finished()) {
            *finished = true;
            return log;
        }
        s.advanceRoundNumber();
        s.nextRound();
    }
    *finished = false;
    return log;
}

} // namespace

class TstFlashcardSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rounds_data();
    void rounds();
    void largeSelection();
    void answerWithoutCardIsIgnored();
    void undoGivesTheLevelBack();
    void summaryCountsWhatChanged();
    void levels_data();
    void levels();
};

void TstFlashcardSession::rounds_data()
{
    QTest::addColumn<int>("words");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("finished");
    QTest::newRow("yes yes no, then yes")
        << 3 << QStringList{"yyn", "y"} << QStringList{"3:0,1,2 2/3", "1:2 1/1"} << true;
    QTest::newRow("all yes finishes at once")
        << 3 << QStringList{"yyy"} << QStringList{"3:0,1,2 3/3"} << true;
    QTest::newRow("no yes no asks first and third again")
        << 3 << QStringList{"nyn", "yn", "y"} << QStringList{"3:0,1,2 1/3", "2:0,2 1/2", "1:2 1/1"} << true;
    QTest::newRow("a word not known stays")
        << 2 << QStringList{"nn", "nn", "ny"} << QStringList{"2:0,1 0/2", "2:0,1 0/2", "2:0,1 1/2"} << false;
    QTest::newRow("empty selection finishes at once")
        << 0 << QStringList{""} << QStringList{"0: 0/0"} << true;
}

void TstFlashcardSession::rounds()
{
    QFETCH(int, words);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, log);
    QFETCH(bool, finished);
    bool done = false;
    QCOMPARE(play(words, answers, &done), log);
    QCOMPARE(done, finished);
}

void TstFlashcardSession::largeSelection()
{
    FlashcardSession s;
    s.start(499);
    for (int i = 0; i < 500; ++i) {
        QVERIFY(s.seekCard());
        s.answer(i % 100 != 99); // 5 not known
    }
    s.nextRound();
    QCOMPARE(s.roundSize(), 5);
    QVERIFY(s.seekCard());
    QCOMPARE(s.position(), 99);
}

void TstFlashcardSession::answerWithoutCardIsIgnored()
{
    FlashcardSession s;
    s.start(0);
    QVERIFY(s.seekCard());
    s.answer(false);
    s.answer(true); // between rounds there is no card to answer
    QCOMPARE(s.answeredCount(), 1);
    QCOMPARE(s.knownCount(), 0);
}

// An answer moves the level; its undo gives back the level before, once, also when that
// answer ended the training.
void TstFlashcardSession::undoGivesTheLevelBack()
{
    FlashcardSession s;
    s.start(1);
    QVERIFY(s.seekCard());
    const LevelChange up = s.answer(true, 7, "9");
    QCOMPARE(up.row, 7);
    QCOMPARE(up.level, QString("9")); // held at 9
    QVERIFY(s.seekCard());
    QCOMPARE(s.answer(false, 3, "0").level, QString("0")); // held at 0; the round ends
    auto back = s.undo();
    QVERIFY(back && back->row == 3 && back->level == "0");
    QCOMPARE(s.knownCount(), 1);
    QVERIFY(s.hasCard()); // the same card again
    s.answer(true);       // an answer without a level gives none back
    back = s.undo();
    QVERIFY(back && back->row == -1);
    s.answer(true, 3, "4");
    QCOMPARE(s.undo()->level, QString("4"));
    QVERIFY(!s.undo()); // one answer back, no more
}

// Known at the first try means in round 1; a level up or down means a level other than
// at Start.
void TstFlashcardSession::summaryCountsWhatChanged()
{
    FlashcardSession s;
    s.start(2, {1, 5, 9});
    for (bool known : {true, false, true}) {
        QVERIFY(s.seekCard());
        s.answer(known);
    }
    s.advanceRoundNumber(); // as the window does during the pause between rounds
    s.nextRound();
    QVERIFY(s.seekCard());
    s.answer(true);
    QVERIFY(s.finished());
    const TrainingSummary summary = s.summary({2, 5, 8});
    QCOMPARE(summary.trained, 3);
    QCOMPARE(summary.firstTry, 2);
    QCOMPARE(summary.levelsUp, 1);
    QCOMPARE(summary.levelsDown, 1);
}

void TstFlashcardSession::levels_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("result");
    QTest::newRow("8 up") << "8" << 1 << "9";
    QTest::newRow("1 down") << "1" << -1 << "0";
    QTest::newRow("beyond 9 comes back") << "99999" << -1 << "9";
    QTest::newRow("negative comes up") << "-3" << 1 << "0";
    QTest::newRow("not a number counts as 0") << "x" << 1 << "1";
}

void TstFlashcardSession::levels()
{
    QFETCH(QString, level);
    QFETCH(int, step);
    QFETCH(QString, result);
    QCOMPARE(changedLevel(level, step), result);
}

QTEST_GUILESS_MAIN(TstFlashcardSession)
#include "tst_flashcard_session.moc"
