// The export window: the table or the selection written in the chosen format and pinyin,
// the name it proposes, the counts in the interface language's way, the guards (no words,
// the vocabulary file itself under any spelling, a folder that cannot be written) and the
// choices kept for the next time.
#include "core/app_state.h"
#include "support/window_test.h"
#include "vocabulary/word_exchange.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

const QList<VocRow> kWords = {{"1", "ni3hao3", "你好", "hello", "1", ""},
                              {"2", "xie4xie0", "谢谢", "thank you", "2", "x"},
                              {"0", "zai4jian4", "再见", "goodbye", "1", ""}};

struct Export : WindowTest {
    Export() { folder.prepareTraining(kWords); }
    void choose(const QString& option) const { child<QRadioButton>(option)->click(); }
    bool chosen(const QString& option) const { return child<QRadioButton>(option)->isChecked(); }
};

} // namespace

class TstExportWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheChosenWords_data();
    void writesTheChosenWords();
    void countsInTheInterfaceLanguage_data();
    void countsInTheInterfaceLanguage();
    void guards();
    void choicesKept();
};

// Each row: the three choices clicked, and the rows of kWords expected in the file.
void TstExportWindow::writesTheChosenWords_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("table, Anki, marks")
        << QStringList{"op_table", "op_anki", "op_marks"} << QList<int>{0, 1, 2};
    QTest::newRow("table, Pleco, digits")
        << QStringList{"op_table", "op_pleco", "op_digits"} << QList<int>{0, 1, 2};
    QTest::newRow("selection, Anki, digits")
        << QStringList{"op_selection", "op_anki", "op_digits"} << QList<int>{2, 0};
    QTest::newRow("selection, Pleco, marks")
        << QStringList{"op_selection", "op_pleco", "op_marks"} << QList<int>{2, 0};
}

void TstExportWindow::writesTheChosenWords()
{
    QFETCH(QStringList, choices);
    QFETCH(QList<int>, rows);
    Export t;
    StudyList = {"2", "0", "99"}; // an entry that names no row is no word
    StudyCount = 2;
    t.open("frm_export");
    for (const QString& choice : choices)
        t.choose(choice);
    t.dialogs.answers << t.folder.file("out.txt");
    t.click("bt_export");

    const bool pleco = choices.contains("op_pleco");
    const bool marks = choices.contains("op_marks");
    QCOMPARE(t.dialogs.calls.size(), 1);
    QVERIFY(t.dialogs.calls[0].save);
    QCOMPARE(t.dialogs.calls[0].initialFile, t.folder.file(pleco ? "words_pleco.txt" : "words_anki.txt"));
    QCOMPARE(t.dialogs.calls[0].filters, QStringList({"Text files (*.txt)", "All Files (*.*)"}));
    std::vector<VocRow> expected;
    for (int r : rows)
        expected.push_back(kWords[r]);
    const QByteArray written = t.folder.read("out.txt");
    QCOMPARE(written, exportWords(expected, pleco ? ExportFormat::PlecoText : ExportFormat::AnkiText, marks));
    QCOMPARE(written.contains("zài"), marks);
    QCOMPARE(t.text("lbl_result"), english("export_done").arg(QString::number(rows.size()), "out.txt"));
    QVERIFY(t.boxes.calls.isEmpty());
    QVERIFY(t.window->isVisible());
}

void TstExportWindow::countsInTheInterfaceLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("count");
    QTest::newRow("English") << QString("ENGLISH") << QString("1,234");
    QTest::newRow("German") << QString("GERMAN") << QString("1.234");
}

// Also the screenshots of the window in both languages.
void TstExportWindow::countsInTheInterfaceLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, count);
    WindowTest t;
    QList<VocRow> many;
    for (int i = 0; i < 1234; ++i)
        many.append({"0", "ni3", "你", QString::number(i), "1", ""});
    t.folder.prepareTraining(many);
    StudyCount = 0;
    LanguageSection = language;
    t.open("frm_export");
    const auto text = [&](const char* key) { return shippedText(language, QLatin1String(key)); };
    QCOMPARE(t.text("op_table"), text("export_op_table").arg(count));
    QCOMPARE(t.text("op_selection"), text("export_op_selection").arg(1));
    t.dialogs.answers << t.folder.file("out.txt") << t.folder.file("one.txt");
    t.click("bt_export");
    QCOMPARE(t.text("lbl_result"), text("export_done").arg(count, "out.txt"));
    t.screenshot("export_" + language);
    t.child<QRadioButton>("op_selection")->click();
    t.click("bt_export");
    QCOMPARE(t.text("lbl_result"), text("export_done_one").arg("one.txt"));
}

void TstExportWindow::guards()
{
    // Nothing loaded: nothing to export, and the window says what to do.
    Export t;
    resetWordTable();
    t.open("frm_export");
    QVERIFY(!t.button("bt_export")->isEnabled());
    QVERIFY(!t.child<QRadioButton>("op_selection")->isEnabled());
    QCOMPARE(t.text("lbl_result"), english("export_nowords"));
    // Words loaded while the window was closed are there when it opens again.
    t.leave("Escape");
    QVERIFY(!t.window->isVisible());
    t.folder.prepareTraining(kWords);
    t.open("frm_export");
    QVERIFY(t.button("bt_export")->isEnabled());
    QCOMPARE(t.text("lbl_result"), QString());
    QCOMPARE(t.text("op_selection"), english("export_op_selection").arg(3));

    t.click("bt_export"); // cancelled: nothing written, nothing said
    QVERIFY(t.boxes.calls.isEmpty());

    // The vocabulary file is never written over, however the dialog spells it.
    const QByteArray words = t.folder.read("words.txt");
    QVERIFY(QFile::link(VocFilePath, t.folder.file("link.txt")));
    const QStringList spellings = {VocFilePath, t.folder.path() + "/./words.txt", t.folder.file("link.txt")};
    for (const QString& spelling : spellings) {
        t.boxes.calls.clear();
        t.dialogs.answers << spelling;
        t.click("bt_export");
        QCOMPARE(t.boxes.calls.size(), 1);
        QCOMPARE(t.boxes.calls[0].flags, 48);
        QCOMPARE(t.boxes.calls[0].text, english("export_own_file").arg(QDir::toNativeSeparators(spelling)));
        QCOMPARE(t.folder.read("words.txt"), words);
    }

    // A folder that cannot be made (a file stands in its place): a box, and no file.
    t.folder.write("plain.txt", "text");
    const QString nowhere = t.folder.file("plain.txt/out.txt");
    t.boxes.calls.clear();
    t.dialogs.answers << nowhere;
    t.click("bt_export");
    QCOMPARE(t.boxes.calls.size(), 1);
    QCOMPARE(t.boxes.calls[0].flags, 16);
    const QString said = english("export_failed").arg(QDir::toNativeSeparators(nowhere), "");
    QVERIFY(t.boxes.calls[0].text.startsWith(said));
    QVERIFY(t.boxes.calls[0].text.size() > said.size()); // with the reason
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(t.text("lbl_result"), QString());
}

void TstExportWindow::choicesKept()
{
    Export t;
    t.open("frm_export");
    QVERIFY(t.chosen("op_anki") && t.chosen("op_marks") && t.chosen("op_table")); // the first time
    t.choose("op_pleco");
    t.choose("op_digits");
    QCOMPARE(t.stored("export_format"), QString("pleco"));
    QCOMPARE(t.stored("export_marks"), QString("False"));
    t.leave("bt_close");
    QVERIFY(!t.window->isVisible());
    t.leave("unload");
    t.open("frm_export");
    QVERIFY(t.chosen("op_pleco") && t.chosen("op_digits"));
}

QTEST_MAIN(TstExportWindow)
#include "tst_export_window.moc"
