// The import window by its controls: the preview of Pleco text and of CSV, the column
// roles, duplicates and unreadable lines, a new file or the loaded one as the target,
// and the files it refuses. The source file is never written.
#include "core/app_state.h"
#include "support/window_test.h"
#include "vocabulary/import_window.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

namespace {

const QByteArray Pleco = "//Lesson 1\n"
                         "你好\tnǐhǎo\thello\n"
                         "银行[銀行]\tyin2hang2\tbank\xee\xaa\xb1"
                         "building\n"
                         "//Lesson 2\n"
                         "绿\tlǜ\tgreen\n";

struct Import : WindowTest {
    QTableWidget* words() const { return child<QTableWidget>("grid_words"); }
    // A row of the words as read: characters, pinyin, translation, chapter, level, mark.
    QString row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < words()->columnCount(); ++c)
            cells << (words()->item(r, c) ? words()->item(r, c)->text() : QString());
        return cells.join(u'|');
    }
    ImportWindow* openWith(const QString& name, const QByteArray& bytes)
    {
        folder.write(name, bytes);
        auto* w = registry.get<ImportWindow>("frm_import");
        window = w;
        return w->openFile(folder.file(name)) ? w : nullptr;
    }
    // The file's words as the program reads them.
    QStringList fileWords(const QString& name) const
    {
        QStringList out;
        const QString text = ReadVocFile(folder.file(name));
        for (const QString& line : text.split(u'\r', Qt::SkipEmptyParts).mid(1))
            out << line;
        return out;
    }
    void loadTable(const QString& name, const QByteArray& bytes) const
    {
        folder.write(name, bytes);
        QVERIFY(loadVocabularyFile(folder.file(name)));
        VocFilePath = folder.file(name);
    }
};

} // namespace

class TstImportWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plecoIntoNewFile();
    void csvRolesDuplicatesAndAppend();
    void refusedFiles();
    void openedFromMenu();
};

void TstImportWindow::plecoIntoNewFile()
{
    Import t;
    QVERIFY(t.openWith("pleco.txt", Pleco));
    QCOMPARE(t.child<QComboBox>("cmb_format")->currentIndex(), 1);
    QVERIFY(!t.child<QComboBox>("cmb_role_1")->isEnabled()); // Pleco's columns are fixed
    QCOMPARE(t.words()->rowCount(), 3);
    QCOMPARE(t.row(0), QString("你好|ni3hao3|hello|Lesson 1|0|"));
    QCOMPARE(t.row(1), QString("银行|yin2hang2|bank building|Lesson 1|0|"));
    QCOMPARE(t.row(2), QString("绿|lü4|green|Lesson 2|0|"));
    t.box("ch_traditional")->click();
    QCOMPARE(t.row(1).section(u'|', 0, 0), QString("銀行"));
    QTRY_COMPARE(t.text("lbl_summary"), QString("3 words, 0 of them already in the file, 0 lines not read."));
    t.window->show();
    t.screenshot("import_pleco_ENGLISH");

    // Offered beside the vocabulary in use; saving over the source is refused; another
    // name gets the words, and the selection window opens with that file read, every
    // chapter selected as the stored chapters name none of it.
    const QByteArray source = t.folder.read("pleco.txt");
    VocFilePath = t.folder.file("my_vocabulary/pcr1-10u.txt");
    t.dialogs.answers << t.folder.file("pleco.txt") << t.folder.file("mine.txt");
    t.click("bt_import");
    QCOMPARE(t.dialogs.calls.last().initialFile, t.folder.file("my_vocabulary/pleco.txt"));
    QCOMPARE(t.boxes.calls.size(), 1);
    QVERIFY(t.boxes.calls[0].text.startsWith(english("import_same_file")));
    t.click("bt_import");
    QCOMPARE(t.folder.read("pleco.txt"), source);
    QCOMPARE(t.fileWords("mine.txt"), QStringList({"0 + ni3hao3 + 你好 + hello + Lesson 1 + ",
                                                   "0 + yin2hang2 + 銀行 + bank building + Lesson 1 + ",
                                                   "0 + lü4 + 绿 + green + Lesson 2 + "}));
    QCOMPARE(VocTableSource, t.folder.file("mine.txt"));
    QCOMPARE(VocCount, 2);
    QWidget* selection = t.registry.find("loadvoc");
    QVERIFY(selection && selection->isVisible());
    QCOMPARE(selection->findChild<QLineEdit*>("txt_vocfile")->text(), t.folder.file("mine.txt"));
    QCOMPARE(selection->findChild<QLineEdit*>("txt_chap")->text(), QString());
    QCOMPARE(StudyCount, 2);
    QCOMPARE(t.hub.status, QString("3 words imported into mine.txt"));
    QCOMPARE(t.registry.find("frm_import"), nullptr);
}

void TstImportWindow::csvRolesDuplicatesAndAppend()
{
    Import t;
    t.loadTable("words.txt", "CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION\r"
                             "3 + ni3hao3 + 你好 + hello + 1 + \r");
    ImportWindow* w = t.openWith("deck.csv", "Hanzi,Pinyin,Meaning,Lesson\n"
                                             "你好,nǐ hǎo,\"hi, hello\",7\n"
                                             ",,only a meaning,7\n"
                                             "谢谢,xièxie,\"thanks\nthank you\",8\n");
    QVERIFY(w);
    QVERIFY(t.box("ch_header")->isChecked());
    QCOMPARE(t.text("cmb_separator"), english("import_sep_comma"));
    QCOMPARE(t.text("cmb_role_1") + "|" + t.text("cmb_role_2") + "|" + t.text("cmb_role_3") + "|" +
                 t.text("cmb_role_4"),
             QString("Characters|Pinyin|Translation|Chapter"));
    QCOMPARE(t.row(1), QString("谢谢|xie4xie0|thanks thank you|8|0|"));

    // Column 4 as the level and back; Characters given to column 3 leaves column 1.
    t.child<QComboBox>("cmb_role_4")->setCurrentIndex(5);
    QCOMPARE(t.row(0), QString("你好|ni3 hao3|hi, hello||7|"));
    t.child<QComboBox>("cmb_role_4")->setCurrentIndex(4);
    t.child<QComboBox>("cmb_role_3")->setCurrentIndex(1);
    QCOMPARE(t.text("cmb_role_1"), english("import_role_ignore"));
    QCOMPARE(t.words()->rowCount(), 3); // the meaning-only row is a word now
    t.child<QComboBox>("cmb_role_3")->setCurrentIndex(3);
    t.child<QComboBox>("cmb_role_1")->setCurrentIndex(1);

    // Added to the loaded file: 你好 is there already, shaded, and left out.
    t.child<QRadioButton>("op_append")->click();
    QVERIFY(t.words()->item(0, 0)->background().color() != t.words()->item(1, 0)->background().color());
    QCOMPARE(w->whole().duplicates, 1);
    QTRY_COMPARE(t.text("lbl_summary"), QString("2 words, 1 of them already in the file, 1 lines not read."));
    QCOMPARE(t.child<QListWidget>("lst_skipped")->item(0)->text(),
             QString("Line 3: neither characters nor pinyin"));

    // The editor holds the loaded words: no import while it is open.
    t.registry.get("frm_editvoc");
    t.click("bt_import");
    QVERIFY(t.boxes.calls.last().text.startsWith(english("import_editor_open").left(30)));
    t.registry.unload("frm_editvoc");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Another program changed the file meanwhile: the save rule asks, No keeps everything.
    const QByteArray changed = t.folder.read("words.txt") + "1 + xie4xie0 + 谢谢 + thanks + 1 + \r";
    t.folder.write("words.txt", changed);
    t.boxes.answers << vbNo;
    t.click("bt_import");
    QCOMPARE(t.folder.read("words.txt"), changed);
    QCOMPARE(t.registry.find("frm_import"), t.window); // still there, with its choices

    // Read again in the selection window: back in the import window, 谢谢 is a duplicate
    // too, and the import goes through, the duplicates kept.
    t.loadTable("words.txt", changed);
    t.window->show();
    t.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.window));
    QTRY_COMPARE(w->whole().duplicates, 2);
    QTRY_VERIFY(t.box("ch_keepdup")->isEnabled()); // once the whole file is read
    QVERIFY(!t.button("bt_import")->isEnabled());  // nothing new to add
    t.box("ch_keepdup")->click();
    t.click("bt_import");
    QCOMPARE(t.fileWords("words.txt"),
             QStringList({"3 + ni3hao3 + 你好 + hello + 1 + ", "1 + xie4xie0 + 谢谢 + thanks + 1 + ",
                          "0 + ni3 hao3 + 你好 + hi, hello + 7 + ",
                          "0 + xie4xie0 + 谢谢 + thanks thank you + 8 + "}));
    QVERIFY(QFile::exists(t.folder.file("words.txt.bak")));
    QCOMPARE(VocCount, 3);
}

void TstImportWindow::refusedFiles()
{
    Import t;
    QFile huge(t.folder.file("huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(MaxVocFileSize + 1));
    huge.close();
    const QList<std::pair<QByteArray, QString>> cases = {
        {QByteArray(), "import_no_rows"},
        {"Characters,Pinyin,Meaning\n", "import_no_rows"},
        {QByteArray("PK\x03\x04\x14\0\0\0\x08\0", 10) + QByteArray(2000, '\x01'), "import_binary"},
    };
    for (const auto& [bytes, key] : cases) {
        QVERIFY(!t.openWith("bad.txt", bytes));
        QVERIFY(t.boxes.calls.last().text.startsWith(english(key)));
    }
    QVERIFY(!t.registry.get<ImportWindow>("frm_import")->openFile(t.folder.file("huge.txt")));
    QVERIFY(t.boxes.calls.last().text.startsWith(english("import_too_large")));
    QVERIFY(!t.registry.get<ImportWindow>("frm_import")->openFile(t.folder.file("missing.txt")));
    QVERIFY(t.boxes.calls.last().text.startsWith(english("import_unreadable")));
}

void TstImportWindow::openedFromMenu()
{
    // Opened by name, the window asks for its file; a cancel closes it again.
    Import t;
    QVERIFY(t.open("frm_import"));
    QTRY_COMPARE(t.dialogs.calls.size(), 1);
    QTRY_COMPARE(t.registry.find("frm_import"), nullptr);

    t.folder.write("pleco.txt", Pleco);
    t.dialogs.answers << t.folder.file("pleco.txt");
    QVERIFY(t.open("frm_import"));
    QTRY_COMPARE(t.dialogs.calls.size(), 2);
    QCOMPARE(t.dialogs.calls[1].initialFile, QDir::homePath());
    QTRY_COMPARE(t.text("txt_source"), t.folder.file("pleco.txt"));
    QCOMPARE(t.stored("import_lastfile"), t.folder.file("pleco.txt"));

    // In German.
    LanguageSection = QStringLiteral("GERMAN");
    t.registry.unload("frm_import");
    QVERIFY(t.openWith("pleco.txt", Pleco));
    t.window->show();
    QTRY_VERIFY(t.text("lbl_summary").startsWith("3 Wörter"));
    t.screenshot("import_pleco_GERMAN");

    // Anki's deck column is named in the interface's words, the others by number.
    QVERIFY(t.openWith("anki.txt", "#separator:tab\n#deck column:1\nHSK\t你\tni3\tyou\n"));
    const QTableWidget* columns = t.child<QTableWidget>("grid_columns");
    QCOMPARE(columns->horizontalHeaderItem(0)->text() + "|" + columns->horizontalHeaderItem(1)->text(),
             QString("Stapel|Spalte 2"));
}

QTEST_MAIN(TstImportWindow)
#include "tst_import_window.moc"
