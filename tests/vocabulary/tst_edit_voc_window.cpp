// The vocabulary editor, by control names with the message-box fake: what it opens
// with, what Refresh and OK make of an edited text, that leaving it without OK puts
// the word table back, and the pinyin in tone colours.
#include "core/app_state.h"
#include "core/msgbox.h"
#include "sound/pinyin_display.h"
#include "support/window_test.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kThree = {
    {"1", "ni3hao3", "你好", "hello", "1", ""},
    {"2", "xie4xie0", "谢谢", "thank you", "1", ""},
    {"3", "zai4jian4", "再见", "goodbye", "2", "x"},
};

// What the editor shows and writes for these words.
QString canonical(const QList<VocRow>& rows)
{
    QString t = VocHeader + "\r";
    for (const VocRow& r : rows)
        t += r.cells().join(" + ") + "\r";
    return t;
}

QList<VocRow> table()
{
    return QList<VocRow>(VocTable.begin(), VocTable.begin() + (VocCount + 1));
}

// The editor on words.txt, which holds kThree, also loaded as the table.
struct Editor : WindowTest {
    explicit Editor(bool openNow = true)
    {
        folder.prepareTraining(kThree);
        if (openNow)
            open();
    }
    void open() { WindowTest::open("frm_editvoc"); }
    bool isOpen() const { return registry.find("frm_editvoc") != nullptr; }
    QPlainTextEdit* edit() const { return child<UnicodeTextBox>("TextBox1")->findChild<QPlainTextEdit*>(); }
    void refreshWith(const QString& t) const
    {
        type("TextBox1", t);
        click("bt_syntax");
    }
    QString file() const { return ReadVocFile(VocFilePath); }
};

} // namespace

class TstEditVocWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okWritesTheFileInCanonicalForm();
    void refreshCanBeUndoneAndAFailedWriteKeepsTheText();
    void leavingWithoutOkPutsTheTableBack_data() { rowsOf("how", {"bt_cancel", "close box", "Escape"}); }
    void leavingWithoutOkPutsTheTableBack();
    void fontSizeTakesEffectAtRefresh();
    void hintsAndFindings();
    void pinyinInToneColours();
    void dictionaryPane();
};

void TstEditVocWindow::okWritesTheFileInCanonicalForm()
{
    Editor e(false);
    // Hand-typed in UTF-8: a level with a leading zero, tight separators, CR LF line ends.
    // The table is from no file: the editor reads the file itself.
    const QByteArray typed =
        (VocHeader + "\r\n01+ni3hao3+你好+hello+1+\r\n2 + xie4xie0 + 谢谢 + thank you + 1 + \r\n").toUtf8();
    e.folder.write("words.txt", typed);
    VocTableSource.clear();
    e.open();
    QVERIFY(e.edit()->font().families().contains(ChineseFont));
    QCOMPARE(e.text("TextBox1"), canonical(kThree.first(2)));
    e.click("bt_ok");
    QVERIFY(!e.isOpen());
    QVERIFY(e.boxes.calls.isEmpty());
    QCOMPARE(e.file(), canonical(kThree.first(2)));
    QCOMPARE(e.folder.read("words.txt.bak"), typed);
    QVERIFY(tableReadFrom(VocFilePath));

    // A file that is not there yet is made.
    VocFilePath = e.folder.file("new words.txt");
    e.open();
    QCOMPARE(e.text("TextBox1"), canonical({}));
    e.refreshWith(canonical({kThree[0]}));
    e.click("bt_ok");
    QCOMPARE(e.file(), canonical({kThree[0]}));
}

// Refresh shows the table made of the text, as an edit that undo takes back. OK on a
// full disk names the file and keeps the window, its text and the file as they were.
void TstEditVocWindow::refreshCanBeUndoneAndAFailedWriteKeepsTheText()
{
    Editor e;
    // The header deleted, with a word without level first; CR LF line ends; a new word.
    const QString typed = " + ni3 + 你 + you + 1 + \r2 + xie4xie0 + 谢谢 + thank you + 1 + \r"
                          "0 + ma1 + 妈 + mother + 3 + ";
    const QList<VocRow> words = {
        {"0", "ni3", "你", "you", "1", ""}, kThree[1], {"0", "ma1", "妈", "mother", "3", ""}};
    e.refreshWith(QString(typed).replace("\r", "\r\n"));
    QCOMPARE(table(), words);
    QCOMPARE(e.text("TextBox1"), canonical(words));
    e.edit()->undo(); // what was typed, with the line ends the text box keeps
    QCOMPARE(e.text("TextBox1"), typed);
    e.edit()->redo();
    {
        const FileSizeLimit fullDisk(64);
        e.click("bt_ok");
    }
    QCOMPARE(e.boxes.calls.size(), 1);
    QVERIFY(e.boxes.calls[0].text.contains(VocFilePath));
    QCOMPARE(e.boxes.calls[0].flags & vbExclamation, int(vbExclamation));
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.text("TextBox1"), canonical(words));
    QCOMPARE(e.file(), canonical(kThree));
    e.click("bt_ok");
    QVERIFY(!e.isOpen());
    QCOMPARE(e.file(), canonical(words));
}

void TstEditVocWindow::leavingWithoutOkPutsTheTableBack()
{
    QFETCH(QString, how);
    Editor e;
    auto leave = [&] { e.leave(how); };
    if (how != "bt_cancel") { // the close box and Escape ask only after a change
        e.click("bt_syntax"); // a refresh that changes nothing is no change
        leave();
        QVERIFY(!e.isOpen());
        QVERIFY(e.boxes.calls.isEmpty());
        e.open();
    }
    e.refreshWith(canonical(kThree.first(1)));
    e.refreshWith(canonical({kThree[2]}));
    e.type("TextBox1", canonical(kThree)); // the text as it was, the table not
    QCOMPARE(table(), QList<VocRow>{kThree[2]});

    e.boxes.answers = {vbNo};
    leave();
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.boxes.shown(), QStringList{english("edit_discard_changes") +
                                          QString("|%1|Tavi Unicode Editor").arg(vbYesNo | vbExclamation)});

    leave(); // and Yes
    QVERIFY(!e.isOpen());
    QCOMPARE(table(), kThree);
    QCOMPARE(e.file(), canonical(kThree));
}

// The font size typed or chosen takes effect at Refresh; a size that is no number or
// out of 4 to 200 leaves the one before.
void TstEditVocWindow::fontSizeTakesEffectAtRefresh()
{
    Editor e;
    auto* combo = e.child<QComboBox>("Combo1");
    auto* text = e.child<UnicodeTextBox>("TextBox1");
    combo->setCurrentText(" 48 ");
    QCOMPARE(text->fontSize(), 12.0);
    for (const auto& [chosen, size] :
         {std::pair{" 48 ", 48.0}, {"big", 48.0}, {"3", 48.0}, {"201", 48.0}, {"200", 200.0}, {"4", 4.0}}) {
        combo->setCurrentText(QLatin1String(chosen));
        e.click("bt_syntax");
        QVERIFY2(text->fontSize() == size, chosen);
    }
}

// The hints, and the check's findings leading to their lines.
void TstEditVocWindow::hintsAndFindings()
{
    Editor e;
    QCOMPARE(e.text("txt_message"), QString("Welcome to the Tavi unicode vocabulary file editor"));
    e.type("TextBox1", canonical(kThree) + "1 + ma1ma + 妈妈 + mum + 3 + \r2 + ni3hao3 + 你好 + hi + 4 + \r");
    QCOMPARE(e.text("txt_message"), QString("Paste the Chinese characters here ..."));
    auto* list = e.child<QListWidget>("lst_findings");
    e.click("bt_check");
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 3); // ma without tone; no recording of ma1; 你好 twice
    QVERIFY(list->item(0)->text().startsWith(english("check_line").arg(5)));
    QVERIFY(list->item(2)->text().contains(english("check_duplicate").arg(2)));
    Q_EMIT list->itemActivated(list->item(2));
    QCOMPARE(e.edit()->textCursor().blockNumber(), 5);

    e.click("bt_syntax"); // Refresh checks again: the lines are canonical now
    QCOMPARE(list->count(), 3);
    e.screenshot("editor_findings");
    e.child<QToolButton>("bt_hide_findings")->click();
    QVERIFY(!list->isVisible());
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window));
    e.child("WebBrowser1")->setFocus();
    QTRY_COMPARE(e.text("txt_message"), QString("Press CTRL+SPACE to start the IME (if installed !)"));
}

// The pinyin column in tone colours from the moment the setting says so, the characters
// only when asked and when they match the syllables; nothing else is coloured.
void TstEditVocWindow::pinyinInToneColours()
{
    Editor e(false);
    e.folder.write("tavi.ini", "[Tavi]\ndisplay_tone_colours=2\n"); // Hanping's
    e.open();
    // Each coloured stretch of line n as "text=tone", by the colours of the scheme in
    // use (6: a colour of no tone).
    auto line = [&](int n) {
        const QTextBlock block = e.edit()->document()->findBlockByNumber(n);
        const ToneColours colours = pinyinDisplay().colours();
        QStringList runs;
        for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
            const QRgb rgb = r.format.foreground().color().rgb() & 0xffffff;
            const auto tone = std::find(colours.begin(), colours.end(), rgb) - colours.begin() + 1;
            runs << block.text().mid(r.start, r.length) + "=" + QString::number(tone);
        }
        return runs.join(' ');
    };
    QCOMPARE(line(0), QString()); // the header
    QCOMPARE(line(1), QString("ni3hao3=3"));

    // Switched while the editor is open, which takes it at once and as no edit.
    auto& notifier = PinyinDisplayNotifier::instance();
    notifier.set({.marks = false, .scheme = PinyinDisplay::Mdbg, .characters = true, .custom = {}});
    QCOMPARE(line(1), QString("ni3hao3=3 你好=3"));
    QCOMPARE(e.text("txt_message"), QString("Welcome to the Tavi unicode vocabulary file editor"));

    const QList<std::pair<QString, QString>> lines = {
        {"2 + xie4xie0 + 谢谢 + thank you + 1 + ", "xie4=4 xie0=5 谢=4 谢=5"},
        {"5+ma1 ma5+妈妈+mum+3+", "ma1=1 ma5=5 妈=1 妈=5"},
        {"3 + thank you + 谢谢 + xie4xie0 + 1 + ", ""},
        {"4 + yi1dian3r + 一点儿 + a little + 2 + ", "yi1=1 dian3r=3"}, // 3 characters, 2 syllables
        {"ni3hao3", ""},
    };
    QString typed = VocHeader;
    for (const auto& l : lines)
        typed += "\r" + l.first;
    e.type("TextBox1", typed);
    for (int n = 0; n < lines.size(); ++n)
        QVERIFY2(line(n + 1) == lines[n].second, qPrintable(lines[n].first + " -> " + line(n + 1)));
    e.screenshot("tone_editor");

    notifier.set({});
    for (int n = 0; n <= lines.size(); ++n)
        QCOMPARE(line(n), QString());
}

// The dictionary pane: a look-up by pinyin, the entry inserted with the keyboard in the
// chapter of the line above and read back from the file; fill-in with one reading and with
// several (offered in a menu); the traditional choice kept.
void TstEditVocWindow::dictionaryPane()
{
    for (const char* language : {"ENGLISH", "GERMAN"}) {
        Editor e(false);
        LanguageSection = language;
        buildSmallDictionary(e.folder.path());
        e.open();
        QTextCursor cursor(e.edit()->document()->findBlockByNumber(2)); // 谢谢, chapter 1
        e.edit()->setTextCursor(cursor);
        e.type("txt_lookup", "ni hao");
        auto* list = e.child<QListWidget>("lst_lookup");
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().startsWith("你好   ni3hao3\nhello; hi"));
        e.type("txt_lookup", "行");
        QCOMPARE(list->count(), 3); // its three readings
        e.type("txt_lookup", "yinhang");
        QCOMPARE(list->count(), 1);
        QVERIFY(
            list->item(0)->text().startsWith("银行 [銀行]   yin2hang2\nbank")); // with its traditional form
        e.screenshot(QString("editor_dictionary_") + language);
        if (QString(language) == "GERMAN")
            continue;
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(e.edit()->document()->findBlockByNumber(3).text(),
                 QString("0 + yin2hang2 + 银行 + bank + 1 + "));

        // Fill in: one reading, then 行 with three, of which the menu's second is taken.
        e.edit()->textCursor().insertText("\n0 + + 谢谢 + + 2 +\n5 + + 行 + + 2 + x");
        e.edit()->setTextCursor(QTextCursor(e.edit()->document()->findBlockByNumber(4)));
        e.click("bt_fillin");
        QCOMPARE(e.edit()->document()->findBlockByNumber(4).text(),
                 QString("0 + xie4xie0 + 谢谢 + to thank; thanks; thank you + 2 + "));
        e.edit()->setTextCursor(QTextCursor(e.edit()->document()->findBlockByNumber(5)));
        QStringList offered;
        QTimer menuShown; // the readings' menu, answered as a learner does: Down, Enter
        QObject::connect(&menuShown, &QTimer::timeout, [&] {
            auto* menu = e.window->findChild<QMenu*>("mnu_readings");
            if (!menu || !menu->isVisible())
                return;
            menuShown.stop();
            for (QAction* a : menu->actions())
                offered << a->text();
            menu->setActiveAction(menu->actions()[1]);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        menuShown.start(10);
        e.click("bt_fillin");
        QCOMPARE(offered.size(), 3);
        QVERIFY(offered[0].startsWith("hang2"));
        QCOMPARE(e.edit()->document()->findBlockByNumber(5).text(),
                 QString("5 + heng2 + 行 + used in 道行[dao4 heng2] + 2 + x"));

        // Traditional characters for what is inserted, remembered.
        e.child<QRadioButton>("op_traditional")->setChecked(true);
        QCOMPARE(e.stored("edit_lookup_traditional"), QString("True"));
        QVERIFY(list->item(0)->text().startsWith("銀行 [银行]"));
        e.click("bt_ok");
        QCOMPARE(VocTable[2][CHAR] + VocTable[2][PINYIN] + VocTable[2][TRANSLATION] + VocTable[2][CHAPTER],
                 QString("银行yin2hang2bank1"));
        QCOMPARE(VocTable[3][PINYIN] + VocTable[4][PINYIN], QString("xie4xie0heng2"));
    }
}

QTEST_MAIN(TstEditVocWindow)
#include "tst_edit_voc_window.moc"
