// The vocabulary editor, by control names with the message-box fake: what it opens
// with, what Refresh and OK make of an edited text, and that leaving it without OK
// puts the word table back.
#include "app/all_windows.h"
#include "core/app_state.h"
#include "core/msgbox.h"
#include "core/window_registry.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
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

struct Editor {
    TestProgramFolder folder;
    FakeMessageBox boxes;
    WindowRegistry registry;
    QWidget* window = nullptr;

    Editor()
    {
        folder.prepareTraining(kThree, "main_lang2=100\n");
        registerAllWindows(registry);
    }
    void open()
    {
        registry.open("frm_editvoc");
        window = registry.find("frm_editvoc");
    }
    UnicodeTextBox* text() const { return window->findChild<UnicodeTextBox*>("TextBox1"); }
    void click(const char* name) const { window->findChild<QPushButton*>(QLatin1String(name))->click(); }
    void refreshWith(const QString& t) const
    {
        text()->setText(t);
        click("bt_syntax");
    }
    QString file() const { return ReadVocFile(VocFilePath); }
    bool open_() const { return registry.find("frm_editvoc") != nullptr; }
};

} // namespace

class TstEditVocWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void okWritesTheFileInCanonicalForm();
    void refreshKeepsEveryWord_data();
    void refreshKeepsEveryWord();
    void cancelRestoresTheStartTable();
    void closeBoxAsksOnlyAfterAChange();
    void failedWriteKeepsTheWindowAndText();
    void fontSizeTakesEffectAtRefresh_data();
    void fontSizeTakesEffectAtRefresh();
    void aMissingFileIsCreated();
    void hints();
    void checkLeadsToTheLine();
};

void TstEditVocWindow::okWritesTheFileInCanonicalForm()
{
    Editor e;
    // Hand-typed: a level with a leading zero, tight separators, CR LF line ends. Only the
    // file's name is known, as after a start: the editor reads the file itself.
    const QString typed =
        VocHeader + "\r\n01+ni3hao3+你好+hello+1+\r\n2 + xie4xie0 + 谢谢 + thank you + 1 + \r\n";
    e.folder.write("words.txt", utf16File(typed));
    VocTable.clear();
    VocCount = -1;
    VocTableSource.clear();
    e.open();
    QCOMPARE(e.window->windowTitle(), QString("Tavi Unicode Vocabulary File Editor"));
    QVERIFY(e.text()->findChild<QPlainTextEdit*>()->font().families().contains(ChineseFont));
    QCOMPARE(e.text()->text(), canonical(kThree.first(2)));
    e.click("bt_ok");
    QVERIFY(!e.open_());
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
    QTest::newRow("the header deleted") << line(kThree[0]) + line(kThree[1]) + line(kThree[2]) << kThree;
    QTest::newRow("the header deleted, no level")
        << " + ni3 + 你 + you + 1 + \r" + line(kThree[1])
        << QList<VocRow>{{"0", "ni3", "你", "you", "1", ""}, kThree[1]};
    QString crlf = canonical(kThree);
    crlf.replace("\r", "\r\n");
    QTest::newRow("CR LF") << crlf << kThree;
    QTest::newRow("empty lines between") << canonical(kThree).replace("\r2 +", "\r\r\r2 +") << kThree;
    QTest::newRow("a new word") << canonical(kThree) + "0 + ma1 + 妈 + mother + 3 + "
                                << kThree + QList<VocRow>{{"0", "ma1", "妈", "mother", "3", ""}};
}

void TstEditVocWindow::refreshKeepsEveryWord()
{
    QFETCH(QString, edited);
    QFETCH(QList<VocRow>, words);
    Editor e;
    e.open();
    e.refreshWith(edited);
    QCOMPARE(table(), words);
    QCOMPARE(e.text()->text(), canonical(words));
    auto* edit = e.text()->findChild<QPlainTextEdit*>();
    edit->undo(); // the refresh is an edit like any other
    QCOMPARE(e.text()->text(), QString(edited).replace("\r\n", "\r"));
    edit->redo();
    e.click("bt_ok");
    QCOMPARE(e.file(), canonical(words));
}

void TstEditVocWindow::cancelRestoresTheStartTable()
{
    Editor e;
    e.open();
    e.refreshWith(canonical(kThree.first(1)));
    e.refreshWith(canonical({kThree[2]}));
    QCOMPARE(table(), QList<VocRow>{kThree[2]});

    e.boxes.answers = {vbNo};
    e.click("bt_cancel");
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.boxes.calls.size(), 1);
    QCOMPARE(e.boxes.calls[0].text, english("edit_discard_changes"));
    QCOMPARE(e.boxes.calls[0].flags, vbYesNo | vbExclamation);
    QCOMPARE(e.boxes.calls[0].title, QString("Tavi Unicode Editor"));

    e.boxes.answers = {vbYes};
    e.click("bt_cancel");
    QVERIFY(!e.open_());
    QCOMPARE(table(), kThree);
    QCOMPARE(e.file(), canonical(kThree));
}

void TstEditVocWindow::closeBoxAsksOnlyAfterAChange()
{
    Editor e;
    e.open();
    e.click("bt_syntax"); // a refresh that changes nothing is no change
    e.window->close();
    QVERIFY(!e.open_());
    QVERIFY(e.boxes.calls.isEmpty());

    e.open();
    e.refreshWith(canonical(kThree.first(1)));
    e.text()->setText(canonical(kThree)); // the text as it was, the table not
    e.boxes.answers = {vbNo};
    QVERIFY(!e.window->close());
    QVERIFY(e.window->isVisible());
    QCOMPARE(e.boxes.calls.size(), 1);
    QVERIFY(e.window->close());
    QVERIFY(!e.open_());
    QCOMPARE(table(), kThree);
}

void TstEditVocWindow::failedWriteKeepsTheWindowAndText()
{
    Editor e;
    e.open();
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
    QCOMPARE(e.text()->text(), edited);
    QCOMPARE(e.file(), canonical(kThree));
    e.click("bt_ok");
    QVERIFY(!e.open_());
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
    e.open();
    auto* combo = e.window->findChild<QComboBox*>("Combo1");
    QCOMPARE(combo->count(), 14);
    QCOMPARE(combo->itemText(13), QString("30"));
    QCOMPARE(combo->currentText(), QString("12"));
    combo->setCurrentText(chosen);
    QCOMPARE(e.text()->fontSize(), 12.0);
    e.click("bt_syntax");
    QCOMPARE(e.text()->fontSize(), size);
}

void TstEditVocWindow::aMissingFileIsCreated()
{
    Editor e; // the table holds words.txt
    VocFilePath = e.folder.file("new words.txt");
    e.open();
    QCOMPARE(e.text()->text(), canonical({}));
    e.refreshWith(canonical({kThree[0]}));
    e.click("bt_ok");
    QCOMPARE(e.file(), canonical({kThree[0]}));
    QVERIFY(!QFile::exists(VocFilePath + ".bak"));
}

void TstEditVocWindow::hints()
{
    Editor e;
    e.open();
    auto* message = e.window->findChild<QLabel*>("txt_message");
    QCOMPARE(message->text(), QString("Welcome to the Tavi unicode vocabulary file editor"));
    QCOMPARE(e.window->findChild<QPushButton*>("bt_syntax")->text(), QString("Refresh "));
    QTest::keyClicks(e.text()->findChild<QPlainTextEdit*>(), "x");
    QCOMPARE(message->text(), QString("Paste the Chinese characters here ..."));
    e.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(e.window));
    e.window->findChild<UnicodeTextBox*>("WebBrowser1")->setFocus();
    QTRY_COMPARE(message->text(), QString("Press CTRL+SPACE to start the IME (if installed !)"));
}

void TstEditVocWindow::checkLeadsToTheLine()
{
    Editor e;
    e.open();
    e.text()->setText(canonical(kThree) + "1 + ma1ma + 妈妈 + mum + 3 + \r2 + ni3hao3 + 你好 + hi + 4 + \r");
    auto* list = e.window->findChild<QListWidget*>("lst_findings");
    QVERIFY(!list->isVisible());
    e.click("bt_check");
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 3); // ma without tone; no recording of ma1; 你好 twice
    QVERIFY(list->item(0)->text().startsWith(english("check_line").arg(5)));
    QVERIFY(list->item(2)->text().contains(english("check_duplicate").arg(2)));
    Q_EMIT list->itemActivated(list->item(2));
    QCOMPARE(e.text()->findChild<QPlainTextEdit*>()->textCursor().blockNumber(), 5);

    e.click("bt_syntax"); // Refresh checks again: the lines are canonical now
    QCOMPARE(list->count(), 3);
    QVERIFY(QFile::exists(TAVI_SCREENSHOT_DIR) || QDir().mkpath(TAVI_SCREENSHOT_DIR));
    QVERIFY(e.window->grab().save(TAVI_SCREENSHOT_DIR "/editor_findings.png"));
    e.window->findChild<QToolButton*>("bt_hide_findings")->click();
    QVERIFY(!list->isVisible());
}

QTEST_MAIN(TstEditVocWindow)
#include "tst_edit_voc_window.moc"
