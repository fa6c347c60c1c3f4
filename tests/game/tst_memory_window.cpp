// The memory game window, played by control names: what the cards show and speak, the
// keys, and the option stored. The rules of a game are the game's own tests.
#include "sound/missing_sound_log.h"
#include "support/window_test.h"

#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kFive = {{"1", "ni3hao3", "你好", "hello", "1", ""},
                             {"1", "xie4xie0", "谢谢", "thank you", "1", ""},
                             {"1", "zai4jian4", "再见", "goodbye", "1", ""},
                             {"1", "peng2you3", "朋友", "friend", "1", ""},
                             {"1", "lao3shi1", "老师", "teacher", "1", ""}};

struct Game : WindowTest {
    explicit Game(const QByteArray& settings = {}, const QList<VocRow>& words = kFive)
    {
        train("frm_game1", words, settings);
    }
    QLabel* back(int k) const { return child<QLabel>(QStringLiteral("pic_1_%1").arg(k)); }
    QString face(int k) const { return text(QStringLiteral("tu1_%1").arg(k)); }
    bool shown(int k) const { return back(k)->isHidden(); }
    QString status() const { return text("txt_offen"); }
    void turn(int k) const { QTest::mouseClick(back(k), Qt::LeftButton); }
    // The row a card shows: faces show the characters in the default mode.
    int rowOf(int k) const
    {
        for (int r = 0; r <= VocCount; ++r)
            if (VocTable[r][CHAR] == face(k))
                return r;
        return -1;
    }
    // The cards of each word, by its pinyin.
    QMap<QString, QList<int>> cardsByWord() const
    {
        QMap<QString, QList<int>> words;
        for (int k = 0; k < 30; ++k)
            words[VocTable[rowOf(k)][PINYIN]] << k;
        return words;
    }
};

} // namespace

class TstMemoryWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void walkThroughAGame();
    void optionsAndKeys();
};

void TstMemoryWindow::walkThroughAGame()
{
    Game g;
    QVERIFY(QTest::qWaitForWindowExposed(g.window));
    QCOMPARE(g.status(), english("game1_go"));
    for (int k = 0; k < 30; ++k) // backs up, each over the characters of a word
        QVERIFY(!g.shown(k) && !g.back(k)->pixmap().isNull() && g.rowOf(k) >= 0);
    const auto words = g.cardsByWord();

    // Two cards that differ stay in sight for a second; a click meanwhile is lost.
    const int a = words.first().first(), b = words.last().first(), c = words.first().last();
    g.turn(a);
    QCOMPARE(g.heard(), (QStringList{words.firstKey(), "wait"}));
    bool inPause = false;
    QTimer::singleShot(300, [&] {
        inPause = g.shown(a) && g.shown(b);
        g.turn(c);
    });
    g.turn(b);
    QVERIFY(inPause);
    QVERIFY(!g.shown(a) && !g.shown(b) && !g.shown(c));
    QCOMPARE(g.status(), english("game1_go"));
    QCOMPARE(g.heard(), (QStringList{words.lastKey(), "wait"}));
    QCOMPARE(CurrentCharacter, VocTable[g.rowOf(b)][CHAR]);

    // Every pair found: the count, then the end.
    int pairs = 0;
    for (const QList<int>& cards : words) {
        for (int i = 0; i < cards.size(); i += 2) {
            g.turn(cards[i]);
            g.turn(cards[i + 1]);
            QVERIFY(g.shown(cards[i]) && g.shown(cards[i + 1]));
            QCOMPARE(g.status(), ++pairs == 15 ? english("game1_done") : QString::number(pairs));
        }
    }
    g.screenshot("memory_end");

    // Start without words or the picture of the backs: painted backs that do nothing.
    QFile::remove(g.folder.file("cards.jpg"));
    StudyCount = -1;
    g.click("bt_start");
    QCOMPARE(g.status(), english("game1_nowords"));
    QVERIFY(!g.back(0)->pixmap().isNull());
    g.heard();
    g.turn(0);
    QVERIFY(!g.shown(0));
    QVERIFY(g.heard().isEmpty());
    g.screenshot("memory_no_picture");
}

// The option read from the settings, sound: a card shows nothing, and a pair found
// shows its pinyin. The option chosen deals anew and is kept; the keys play as well.
void TstMemoryWindow::optionsAndKeys()
{
    Game g("game1_opt=3\n", {kFive[0]}); // one word: any two cards are a pair
    QVERIFY(g.child<QRadioButton>("op_sound")->isChecked());
    g.turn(4);
    QCOMPARE(g.face(4), QString()); // open, but nothing to see: find it by ear
    QCOMPARE(g.heard(), (QStringList{"ni3hao3", "wait"}));
    g.turn(9);
    QCOMPARE(g.status(), QString("1"));
    QCOMPARE(g.face(4) + g.face(9) + "|" + g.face(5), QString("ni3hao3ni3hao3|"));
    QCOMPARE(g.heard(), (QStringList{"ni3hao3", "wait"})); // every card turned speaks

    g.child<QRadioButton>("op_pinyin")->click();
    QVERIFY(!g.shown(4)); // a new board
    for (int k = 0; k < 30; ++k)
        QCOMPARE(g.face(k), QString("ni3hao3"));
    g.turn(29);
    g.screenshot("memory_pinyin");
    g.click("bt_ok");
    QCOMPARE(g.stored("game1_opt"), QString("2"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(g.registry.find("frm_game1"), nullptr);
    g.open("frm_game1");
    QVERIFY(g.child<QRadioButton>("op_pinyin")->isChecked());

    // The keys: arrows walk the board, stopping at its edge; Space and Enter turn a card.
    QWidget* board = g.child("board");
    QCOMPARE(g.window->focusWidget(), board);
    QTest::keyClick(board, Qt::Key_Right);
    QTest::keyClick(board, Qt::Key_Down);
    QTest::keyClick(board, Qt::Key_Space); // card 7: column 1, row 1
    QVERIFY(g.shown(7));
    QTest::keyClick(board, Qt::Key_Up);
    QTest::keyClick(board, Qt::Key_Up); // stops at the top row
    g.heard();
    QTest::keyClick(board, Qt::Key_Return); // card 6, the second of the turn
    QVERIFY(g.shown(6) && !g.shown(5));
    QCOMPARE(g.heard(), (QStringList{"ni3hao3", "wait"}));
    QTest::keyClick(g.window, Qt::Key_Escape);
    QVERIFY(!g.window->isVisible());
}

QTEST_MAIN(TstMemoryWindow)
#include "tst_memory_window.moc"
