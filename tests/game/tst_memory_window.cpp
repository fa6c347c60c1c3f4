// The memory game window, played by control names with a recording audio fake.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/ini_store.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
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

struct Game {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    FakeAudioOutput audio;
    WindowRegistry registry;
    QWidget* window = nullptr;

    explicit Game(const QByteArray& settings = {}, const QList<VocRow>& words = kFive)
    {
        folder.prepareTraining(words, settings);
        registerAllWindows(registry);
        registry.open("frm_game1");
        window = registry.find("frm_game1");
    }
    QLabel* back(int k) const { return window->findChild<QLabel*>(QStringLiteral("pic_1_%1").arg(k)); }
    QString face(int k) const
    {
        return window->findChild<UnicodeTextBox*>(QStringLiteral("tu1_%1").arg(k))->text();
    }
    bool shown(int k) const { return back(k)->isHidden(); }
    QString status() const { return window->findChild<QLineEdit*>("txt_offen")->text(); }
    void click(int k) { QTest::mouseClick(back(k), Qt::LeftButton); }
    // The cards of each word, found by the pinyin each one speaks.
    QMap<QString, QList<int>> cardsByWord()
    {
        QMap<QString, QList<int>> words;
        for (int k = 0; k < 30; ++k)
            words[VocTable[rowOf(k)][PINYIN]] << k;
        return words;
    }
    int rowOf(int k)
    {
        // Faces show the characters in the default mode; the row is the one that has them.
        for (int r = 0; r <= VocCount; ++r)
            if (VocTable[r][CHAR] == face(k))
                return r;
        return -1;
    }
};

} // namespace

class TstMemoryWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsWithABoardDealt();
    void mismatchShowsBothForASecondAndIgnoresClicks();
    void wholeGameToTheEnd();
    void soundModeShowsPinyinOnceFound();
    void optionIsKeptAndDealsAnew();
    void keyboardWalksTheBoard();
    void emptySelectionAndMissingPicture();
};

void TstMemoryWindow::loadsWithABoardDealt()
{
    Game g;
    QVERIFY(g.window->findChild<QRadioButton*>("op_char")->isChecked());
    QCOMPARE(g.status(), english("game1_go"));
    // Card 13: column 2, row 1, at 3600 x 1800 twips.
    QCOMPARE(g.back(13)->mapTo(g.window, QPoint(0, 0)), QPoint(240, 120));
    QCOMPARE(g.back(13)->size(), QSize(97, 49));
    for (int k = 0; k < 30; ++k) {
        QVERIFY(!g.shown(k));
        QVERIFY(!g.back(k)->pixmap().isNull());
        QVERIFY(g.rowOf(k) >= 0);
    }
    QCOMPARE(g.cardsByWord().size(), 5);
}

void TstMemoryWindow::mismatchShowsBothForASecondAndIgnoresClicks()
{
    Game g;
    QVERIFY(QTest::qWaitForWindowExposed(g.window));
    const auto words = g.cardsByWord();
    const int a = words.first().first(), b = words.last().first(), c = words.first().last();
    g.click(a);
    QCOMPARE(g.audio.played.size(), 2); // the word, then the pause
    bool inPause = false;
    QTimer::singleShot(300, [&] {
        inPause = g.shown(a) && g.shown(b);
        g.click(c); // turned away while the two are shown
    });
    g.click(b);
    QVERIFY(inPause);
    QVERIFY(!g.shown(a) && !g.shown(b) && !g.shown(c));
    QCOMPARE(g.status(), english("game1_go"));
    QCOMPARE(g.audio.played.size(), 4);
    QCOMPARE(CurrentCharacter, VocTable[g.rowOf(b)][CHAR]);
}

void TstMemoryWindow::wholeGameToTheEnd()
{
    Game g;
    int pairs = 0;
    for (const QList<int>& cards : g.cardsByWord()) {
        for (int i = 0; i < cards.size(); i += 2) {
            g.click(cards[i]);
            g.click(cards[i + 1]);
            ++pairs;
            QCOMPARE(g.status(), pairs == 15 ? english("game1_done") : QString::number(pairs));
            if (pairs == 3) {
                QDir().mkpath(TAVI_SCREENSHOT_DIR);
                QVERIFY(g.window->grab().save(TAVI_SCREENSHOT_DIR "/memory_pairs_found.png"));
            }
        }
    }
    QVERIFY(g.window->grab().save(TAVI_SCREENSHOT_DIR "/memory_end.png"));
    g.audio.played.clear();
    g.click(0);
    QVERIFY(g.audio.played.isEmpty()); // the game is over
    QCOMPARE(g.status(), english("game1_done"));
    g.window->findChild<QPushButton*>("bt_start")->click();
    QCOMPARE(g.status(), english("game1_go"));
    QVERIFY(!g.shown(0));
}

void TstMemoryWindow::soundModeShowsPinyinOnceFound()
{
    Game g("game1_opt=3\n", {kFive[0]}); // one word: any two cards are a pair
    QVERIFY(g.window->findChild<QRadioButton*>("op_sound")->isChecked());
    g.click(4);
    QCOMPARE(g.face(4), QString()); // open, but nothing to see: find it by ear
    QCOMPARE(QFileInfo(g.audio.played.value(0)).completeBaseName(), QString("ni3hao3"));
    g.click(9);
    QCOMPARE(g.status(), QString("1"));
    QCOMPARE(g.face(4), QString("ni3hao3"));
    QCOMPARE(g.face(9), QString("ni3hao3"));
    QCOMPARE(g.face(5), QString());
    QCOMPARE(g.audio.played.filter("ni3hao3").size(), 2); // every card turned speaks
}

void TstMemoryWindow::optionIsKeptAndDealsAnew()
{
    Game g;
    auto* pinyin = g.window->findChild<QRadioButton*>("op_pinyin");
    g.click(0);
    pinyin->click();
    QVERIFY(!g.shown(0)); // a new board
    for (int k = 0; k < 30; ++k)
        QVERIFY(g.face(k).contains(QRegularExpression("[0-4]$")));
    for (int k = 1; k < 30; ++k) {
        if (g.face(k) == g.face(0)) {
            g.click(0);
            g.click(k);
            break;
        }
    }
    QCOMPARE(g.status(), QString("1"));
    g.click(29); // one open card of the next turn
    QDir().mkpath(TAVI_SCREENSHOT_DIR);
    QVERIFY(g.window->grab().save(TAVI_SCREENSHOT_DIR "/memory_pinyin.png"));
    g.window->findChild<QPushButton*>("bt_ok")->click();
    QCOMPARE(ini::read(SettingsFile, "Tavi", "game1_opt"), QString("2"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(g.registry.find("frm_game1"), nullptr);
    g.registry.open("frm_game1");
    QVERIFY(g.registry.find("frm_game1")->findChild<QRadioButton*>("op_pinyin")->isChecked());
}

void TstMemoryWindow::keyboardWalksTheBoard()
{
    Game g;
    QWidget* board = g.window->findChild<QWidget*>("board");
    QCOMPARE(g.window->focusWidget(), board);
    QTest::keyClick(board, Qt::Key_Right);
    QTest::keyClick(board, Qt::Key_Down);
    QTest::keyClick(board, Qt::Key_Space); // card 7: column 1, row 1
    QVERIFY(g.shown(7));
    QTest::keyClick(board, Qt::Key_Up);
    QTest::keyClick(board, Qt::Key_Up); // stops at the top row
    g.audio.played.clear();
    QTest::keyClick(board, Qt::Key_Return); // card 6, the second of the turn
    QCOMPARE(g.audio.played.size(), 2);
    QCOMPARE(CurrentCharacter, VocTable[g.rowOf(6)][CHAR]);
    QTest::keyClick(g.window, Qt::Key_Escape);
    QVERIFY(!g.window->isVisible());
}

void TstMemoryWindow::emptySelectionAndMissingPicture()
{
    Game g;
    QFile::remove(g.folder.file("cards.jpg"));
    StudyCount = -1;
    g.window->findChild<QPushButton*>("bt_start")->click();
    QCOMPARE(g.status(), english("game1_nowords"));
    QVERIFY(!g.back(0)->pixmap().isNull()); // painted instead
    g.click(0);
    QVERIFY(!g.shown(0));
    QVERIFY(g.audio.played.isEmpty());
    QVERIFY(g.window->grab().save(TAVI_SCREENSHOT_DIR "/memory_no_picture.png"));
}

QTEST_MAIN(TstMemoryWindow)
#include "tst_memory_window.moc"
