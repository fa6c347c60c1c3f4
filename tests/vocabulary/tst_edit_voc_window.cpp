// The vocabulary editor, by control names with the message-box fake: what it opens
// with, what Refresh and OK make of an edited text, and that leaving it without OK
// puts the word table back.
#include "core/app_state.h"
#include "core/msgbox.h"
#include "support/window_test.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kThree = {
    {"1", "ni3hao3", "你好", "hello", "1", ""},
    {"2", "xie4xie0", "谢谢", "thank you", "1", ""},
    {"3", "zai4jian4", "再见", "goodbye", "2", "x"},
};

QString line(const VocRow& r)
{
    return r[CTR] + " + " + r[PINYIN] + " + " + r[CHAR] + " + " + r[TRANSLATION] + " + " + r[CHAPTER] +
           " + " + r[SELECTION] + "\r";
}

QString canonical(const QList<VocRow>& rows)
{
    QString t = VocHeader + "\r";
    for (const VocRow& r : rows)
        t += line(r);
    return t;
}

QList<VocRow> table()
{
    return QList<VocRow>(VocTable.begin(), VocTable.begin() + (VocCount + 1));
}

QByteArray utf16File(const QString& text)
{
    return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
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
    void refreshKeepsEveryWord_data();
    void refreshKeepsEveryWord();
    void leavingWithoutOkPutsTheTableBack_data();
    void leavingWithoutOkPutsTheTableBack();
    void failedWriteKeepsTheWindowAndText();
    void fontSizeTakesEffectAtRefresh_data();
    void fontSizeTakesEffectAtRefresh();
    void aMissingFileIsCreated();
    void hints();
    void checkLeadsToTheLine();
};

void TstEditVocWindow::okWritesTheFileInCanonicalForm()
{
    Editor e(false);
    // Hand-typed: a level with a leading zero, tight separators, CR LF line ends. Only the
    // file's name is known, as after a start: the editor reads the file itself.
    const QString typed =
        VocHeader + "\r\n01+ni3hao3+你好+hello+1+\r\n2 + xie4xie0 + 谢谢 + thank you + 1 + \r\n";
    e.folder.write("words.txt", utf16File(typed));
    VocTable.clear();
    VocCount = -1;
    VocTableSource.clear();
    e.open();
    QVERIFY(e.edit()->font().families().contains(ChineseFont));
    QCOMPARE(e.text("TextBox1"), canonical(kThree.first(2)));
    e.click("bt_ok");
    QVERIFY(!e.isOpen());
    QVERIFY(e.boxes.calls.isEmpty());
    QCOMPARE(e.folder.read("words.txt"), utf16File(canonical(kThree.first(2))));
    QCOMPARE(e.folder.read("words.txt.bak"), utf16File(typed));
    QVERIFY(tableReadFrom(VocFilePath));
}

void TstEditVocWindow::refreshKeepsEveryWord_data()
{
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QList<VocRow>>("words");
    QList<VocRow> noPinyin = kThree;
    noPinyin[1].set(PINYIN, u"");
    QTest::newRow("a pinyin removed") << canonical(noPinyin) << noPinyin;
    QTest::newRow("the header deleted, no level")
        << " + ni3 + 你 + you + 1 + \r" + line(kThree[1])
        << QList<VocRow>{{"0", "ni3", "你", "you", "1", ""}, kThree[1]};
    QTest::newRow("CR LF") << canonical(kThree).replace("\r", "\r\n") << kThree;
    QTest::newRow("a new word") << canonical(kThree) + "0 + ma1 + 妈 + mother + 3 + "
                                << kThree + QList<VocRow>{{"0", "ma1", "妈", "mother", "3", ""}};
}

void TstEditVocWindow::refreshKeepsEveryWord()
{
    QFETCH(QString, edited);
    QFETCH(QList<VocRow>, words);
    Editor e;
    e.refreshWith(edited);
    QCOMPARE(table(), words);
    QCOMPARE(e.text("TextBox1"), canonical(words));
    e.edit()->undo(); // the refresh is an edit like any other
    QCOMPARE(e.text("TextBox1"), QString(edited).replace("\r\n", "\r"));
    e.edit()->redo();
    e.click("bt_ok");
    QCOMPARE(e.file(), canonical(words));
}

void TstEditVocWindow::leavingWithoutOkPutsTheTableBack_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"Cancel", "close box", "Escape"})
        QTest::newRow(how) << QString(how);
}

void TstEditVocWindow::leavingWithoutOkPutsTheTableBack()
{
    QFETCH(QString, how);
    Editor e;
    auto leave = [&] {
        if (how == "Cancel")
            e.click("bt_cancel");
        else if (how == "close box")
            e.window->close();
        else
            QTest::keyClick(e.window, Qt::Key_Escape);
    };
    if (how != "Cancel") {    // the close box and Escape ask only after a change
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
    QCOMPARE(e.boxes.calls.size(), 1);
    QCOMPARE(e.boxes.calls[0].text, english("edit_discard_changes"));
    QCOMPARE(e.boxes.calls[0].flags, vbYesNo | vbExclamation);
    QCOMPARE(e.boxes.calls[0].title, QString("Tavi Unicode Editor"));

    leave(); // and Yes
    QVERIFY(!e.isOpen());
    QCOMPARE(table(), kThree);
    QCOMPARE(e.file(), canonical(kThree));
}

void TstEditVocWindow::failedWriteKeepsTheWindowAndText()
{
    Editor e;
    const QString edited = canonical(kThree) + "0 + ma1 + 妈 + mother + 3 + \r";
    e.refreshWith(edited);
    {
        const FileSizeLimit fullDisk(64);
        e.click("bt_ok");
    }
    QCOMPARE(e.boxes.calls.size(), 1);
    QVERIFY(e.boxes.calls[0].text.contains(VocFilePath));
    QCOMPARE(e.boxes.calls[0].flags & vbExclamation, int(vbExclamation));
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.text("TextBox1"), edited);
    QCOMPARE(e.file(), canonical(kThree));
    e.click("bt_ok");
    QVERIFY(!e.isOpen());
    QCOMPARE(e.file(), edited);
}

void TstEditVocWindow::fontSizeTakesEffectAtRefresh_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<qreal>("size");
    QTest::newRow("from the list") << "20" << 20.0;
    QTest::newRow("typed, large") << " 48 " << 48.0;
    QTest::newRow("not a number") << "big" << 12.0;
    QTest::newRow("too small") << "2" << 12.0;
    QTest::newRow("too large") << "400" << 12.0;
}

void TstEditVocWindow::fontSizeTakesEffectAtRefresh()
{
    QFETCH(QString, chosen);
    QFETCH(qreal, size);
    Editor e;
    auto* combo = e.child<QComboBox>("Combo1");
    auto* text = e.child<UnicodeTextBox>("TextBox1");
    QCOMPARE(combo->count(), 14); // 4 to 30
    QCOMPARE(combo->currentText(), QString("12"));
    combo->setCurrentText(chosen);
    QCOMPARE(text->fontSize(), 12.0);
    e.click("bt_syntax");
    QCOMPARE(text->fontSize(), size);
}

void TstEditVocWindow::aMissingFileIsCreated()
{
    Editor e(false); // the table holds words.txt
    VocFilePath = e.folder.file("new words.txt");
    e.open();
    QCOMPARE(e.text("TextBox1"), canonical({}));
    e.refreshWith(canonical({kThree[0]}));
    e.click("bt_ok");
    QCOMPARE(e.file(), canonical({kThree[0]}));
    QVERIFY(!QFile::exists(VocFilePath + ".bak"));
}

void TstEditVocWindow::hints()
{
    Editor e;
    QCOMPARE(e.text("txt_message"), QString("Welcome to the Tavi unicode vocabulary file editor"));
    QTest::keyClicks(e.edit(), "x");
    QCOMPARE(e.text("txt_message"), QString("Paste the Chinese characters here ..."));
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window));
    e.child("WebBrowser1")->setFocus();
    QTRY_COMPARE(e.text("txt_message"), QString("Press CTRL+SPACE to start the IME (if installed !)"));
}

void TstEditVocWindow::checkLeadsToTheLine()
{
    Editor e;
    e.type("TextBox1", canonical(kThree) + "1 + ma1ma + 妈妈 + mum + 3 + \r2 + ni3hao3 + 你好 + hi + 4 + \r");
    auto* list = e.child<QListWidget>("lst_findings");
    QVERIFY(!list->isVisible());
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
}

QTEST_MAIN(TstEditVocWindow)
#include "tst_edit_voc_window.moc"
