// Reading, parsing, building and writing vocabulary files, grouped by rule.
#include "core/app_state.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavi;
using namespace tavi::test;

namespace {

QByteArray utf16le(const QString& text, bool mark = true)
{
    QByteArray b = mark ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (QChar c : text) {
        b.append(static_cast<char>(c.unicode() & 0xFF));
        b.append(static_cast<char>(c.unicode() >> 8));
    }
    return b;
}

// The rows as "level|pinyin|char|translation|chapter|mark".
QStringList rows()
{
    QStringList out;
    for (int r = 0; r <= VocCount; ++r)
        out << VocTable[r].cells().join(u'|');
    return out;
}

QString header()
{
    return VocHeader + u'\r';
}

QByteArray vocFile(const QString& words)
{
    return utf16le(header() + words);
}

const QString NiWord = QStringLiteral("1 + ni3 + 你 + you + 1 + \r");
const QString HaoWord = QStringLiteral("2 + hao3 + 好 + good + 1 + \r");

} // namespace

class TstVocFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder.reset(new TestProgramFolder(TestProgramFolder::Contents::Empty)); }

    void readEncodings_data();
    void readEncodings();
    void loadResults_data();
    void loadResults();
    void lineBreaks_data();
    void lineBreaks();
    void headerPutBack_data();
    void headerPutBack();
    void builtText_data();
    void builtText();
    void sampleFilesAreCanonical();
    void savedFileKeepsModeOwnerAndLink_data();
    void savedFileKeepsModeOwnerAndLink();
    void failedSaveTouchesNothing_data()
    {
        rowsOf("how", {"no folder", "a folder in its place", "full disk", "read-only folder",
                       "changed by another program", "deleted by another program"});
    }
    void failedSaveTouchesNothing();
    void changedFileSavedUnderAnotherName();
    void loadingChangesNoFileAndRemembersItsSource();

private:
    std::unique_ptr<TestProgramFolder> m_folder;
};

void TstVocFile::readEncodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString t = QStringLiteral("CTR\r你好 + ä");
    QTest::newRow("UTF-16 LE with mark") << utf16le(t) << t;
    QByteArray be = utf16le(t); // the mark turns into FE FF as well
    for (qsizetype i = 0; i < be.size(); i += 2)
        std::swap(be[i], be[i + 1]);
    QTest::newRow("UTF-16 BE with mark") << be << t;
    QTest::newRow("UTF-8 with mark") << ("\xEF\xBB\xBF" + t.toUtf8()) << t;
    QTest::newRow("UTF-8 without mark") << t.toUtf8() << t;
    QTest::newRow("trailing odd byte ignored") << (utf16le(t) + 'x') << t;
    QTest::newRow("mark only") << QByteArray("\xFF\xFE", 2) << QString();
    QTest::newRow("lone byte") << QByteArray("\xFF", 1) << QString(u'ÿ');
    QTest::newRow("UTF-16 without mark loses its first unit") << utf16le("xyz", false) << "yz";
    QTest::newRow("Windows-1252") << QByteArray("CTR\rn\xE4he + \x80") << "CTR\rnähe + €";
    QTest::newRow("every line end a CR")
        << QByteArray("a\nb\r\nc\n\nd\r\r\ne\n\r") << "a\rb\rc\r\rd\r\re\r\r";
    // A CR LF, or a character, across the end of the reader's first stretch of a
    // megabyte: blanks put into the header (which nobody reads) move the last one there.
    const QString words = QString(NiWord + u'\r').repeated(40000); // a blank line before each word
    const auto addAcross = [&](const char* name, bool utf8, const QString& across) {
        const auto text = [&](qsizetype blanks) {
            return QString(VocHeader + QString(blanks, u' ') + u'\r' + words);
        };
        const auto bytesOf = [&](qsizetype blanks) {
            const QString crLf = text(blanks).replace(u'\r', QStringLiteral("\r\n"));
            return utf8 ? crLf.toUtf8() : utf16le(crLf);
        };
        const qsizetype end = 1 << 20;
        const QByteArray what = utf8 ? across.toUtf8() : utf16le(across, false);
        const qsizetype first = (what.size() + 1) / 2; // of its bytes, those before the end
        const qsizetype blanks =
            (end - first - bytesOf(0).lastIndexOf(what, end - what.size())) / (utf8 ? 1 : 2);
        const QByteArray bytes = bytesOf(blanks);
        QVERIFY(bytes.mid(end - first, what.size()) == what);
        QTest::newRow(name) << bytes << text(blanks);
    };
    addAcross("CR LF across stretches, UTF-16", false, "\r\n");
    addAcross("CR LF across stretches, UTF-8", true, "\r\n");
    addAcross("a character across stretches, UTF-8", true, "你");
}

void TstVocFile::readEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    m_folder->write("v.txt", bytes);
    QCOMPARE(ReadVocFile(m_folder->file("v.txt")), text);
    // Read as the table, in one pass, the file gives the words of that text.
    ParseVocText(text);
    const QStringList words = rows();
    readVocabulary(m_folder->file("v.txt"));
    QCOMPARE(rows(), words);
}

// What a file read as the table gives (odd files that only read back alike: fuzz_vocabulary).
void TstVocFile::loadResults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("result"); // a LoadResult
    QTest::addColumn<int>("words");
    QByteArray binary(64 * 1024, Qt::Uninitialized);
    QRandomGenerator(88172645u).fillRange(reinterpret_cast<quint32*>(binary.data()), binary.size() / 4);
    // Binary files once loaded as rows of nothing but levels: such a file holds no words.
    QTest::newRow("binary") << binary << int(LoadResult::Empty) << 0;
    QTest::newRow("only levels") << vocFile("1 +  +  + \r2\r") << int(LoadResult::Empty) << 0;
    QTest::newRow("a header alone") << vocFile(QString()) << int(LoadResult::Empty) << 0;
    QTest::newRow("Windows-1252") << header().toLatin1() + QByteArray("1 + nv3 + \xE4 + woman + 1 + \r")
                                  << int(LoadResult::Loaded) << 1;
}

void TstVocFile::loadResults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);
    QFETCH(int, words);
    ParseVocText(header() + NiWord); // a table that the file replaces
    m_folder->write("v.txt", bytes);
    QCOMPARE(int(readVocabulary(m_folder->file("v.txt"))), result);
    QCOMPARE(VocCount + 1, words);
    // A table without words is nothing to save over the file.
    QCOMPARE(tableReadFrom(m_folder->file("v.txt")), words > 0);
}

void TstVocFile::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QString h = header();
    const QString a = "1 + a1 + A + a + 1 + \r";
    const QString b = "2 + b2 + B + b + 1 + \r";
    const QString ra = "1|a1|A|a|1|";
    const QString rb = "2|b2|B|b|1|";
    QTest::newRow("header alone") << h << QStringList();
    QTest::newRow("five characters") << "ab\rcd" << QStringList();
    QTest::newRow("one word") << h + a << QStringList{ra};
    QTest::newRow("no final break") << h + a.chopped(1) << QStringList{ra};
    QTest::newRow("blank line joins next level field") << h + a + "\r" + b << QStringList{ra, rb};
    QTest::newRow("blank CR LF line")
        << QString(h + a + "\r" + b).replace("\r", "\r\n") << QStringList{ra, rb};
    QTest::newRow("short line joins the next: last digit rule") << h + "ab\r" + b << QStringList{rb};
    QTest::newRow("line of four characters dropped") << h + "abcd\r" + a << QStringList{ra};
    QTest::newRow("line without plus") << h + "just some words\r" << QStringList{"0|||||"};
    // Built again, that CR would stand five characters after the break and end the line.
    QTest::newRow("CR close to the break is a blank in a field")
        << h + a + "+ \r" + b << QStringList{ra, "0|2|b2|B|b|1"};
    QTest::newRow("header is the first kept piece") << "x\rCTR + PINYIN\r" + b << QStringList{rb};
    QTest::newRow("fields missing, blanks around them dropped, a tab kept")
        << h + "2 +  a\tb  + 字 \r" << QStringList{"2|a\tb|字|||"};
    QTest::newRow("extra fields ignored")
        << h + "1 + p1 + Q + q + 3 + m + extra + more\r" << QStringList{"1|p1|Q|q|3|m"};
    QTest::newRow("nothing but plus signs") << h + QString(1000, u'+') + "\r" << QStringList{"0|||||"};
    const QString mega(1 << 20, u'a'); // a megabyte's line is a word like any
    QTest::newRow("a megabyte's pinyin")
        << h + "1 + " + mega + " + b + c + 1 + \r" << QStringList{"1|" + mega + "|b|c|1|"};
    // The level that a level field stands for.
    const auto level = [&](const char* name, const QString& field, const QString& cell) {
        QTest::newRow(name) << h + field + " + pin1 + X + y + 1 + \r" << QStringList{cell + "|pin1|X|y|1|"};
    };
    level("3.5 to 4", "3.5", "4");
    level("2.5 to even 2", "2.5", "2");
    level("L7: last digit", "L7", "7");
    level("x", "x", "0");
    level("-2", "-2", "-2");
    level("007", "007", "7");
    level("1e400 is no number: last digit", "1e400", "0");
    level("1e300 held at 32 bits", "1e300", "2147483647");
}

void TstVocFile::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    ParseVocText(text);
    QCOMPARE(rows(), expected);
}

void TstVocFile::headerPutBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("putBack");
    QTest::newRow("the header") << header() + "1 + a1 + A + a + 1 + \r" << false;
    QTest::newRow("a header of other words") << "LEVEL + PINYIN + ZI\r1 + a1 + A + a + 1 + \r" << false;
    QTest::newRow("a word first") << "1 + a1 + A + a + 1 + \r2 + b2 + B + b + 1 + \r" << true;
    QTest::newRow("a word without level") << " + a1 + A + a + 1 + \r" << true;
    QTest::newRow("blank lines, then a word") << "\r\n\r\n\r\n  12 + a1 + A + a + 1 + \r" << true;
    QTest::newRow("nothing") << QString() << false;
}

void TstVocFile::headerPutBack()
{
    QFETCH(QString, text);
    QFETCH(bool, putBack);
    QCOMPARE(withHeader(text), putBack ? header() + text : text);
}

void TstVocFile::builtText_data()
{
    QTest::addColumn<QList<VocRow>>("words");
    QTest::addColumn<QString>("text"); // after the header
    QTest::newRow("no words") << QList<VocRow>() << QString();
    QTest::newRow("two words")
        << QList<VocRow>{{"1", "ni3hao3", "你好", "hello", "1", "x"},
                         {"0", "xie4xie0", "谢谢", "thank you", "1", ""}}
        << "1 + ni3hao3 + 你好 + hello + 1 + x\r0 + xie4xie0 + 谢谢 + thank you + 1 + \r";
    // A one-letter pinyin once ended the file; only rows without any content go.
    QTest::newRow("blank rows and a short pinyin")
        << QList<VocRow>{{"1", "a1", "A", "a", "1", ""},
                         {"0", "", "", "", "", ""},
                         {"2", "e", "呃", "er", "1", ""},
                         {"3", "  ", " ", "", "", ""},
                         {"4", "d4", "D", "d", "2", ""}}
        << "1 + a1 + A + a + 1 + \r2 + e + 呃 + er + 1 + \r4 + d4 + D + d + 2 + \r";
    // What UTF-8 cannot hold becomes "?", but not in the characters, which are written as
    // they are; a surrogate pair is a character like any.
    const QString lone = QStringLiteral("a") + QChar(0xD800) + u'b';
    QTest::newRow("a lone surrogate") << QList<VocRow>{{"1", lone, lone, "Grüße 😀", "1", ""}}
                                      << "1 + a?b + " + lone + " + Grüße 😀 + 1 + \r";
}

void TstVocFile::builtText()
{
    QFETCH(QList<VocRow>, words);
    QFETCH(QString, text);
    VocTable.assign(words.begin(), words.end());
    VocCount = static_cast<int>(words.size()) - 1;
    QCOMPARE(BuildVocText(), header() + text);
}

void TstVocFile::sampleFilesAreCanonical()
{
    for (const char* name : {"my_vocabulary/pcr1-10u.txt", "meine vokabeln/pcr1-10u_d.txt"}) {
        QFile f(shippedData(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        ParseVocText(ReadVocFile(f.fileName()));
        QVERIFY2(VocCount >= 149, name);
        QSet<QString> chapters;
        for (int r = 0; r <= VocCount; ++r) {
            const VocRow& row = VocTable[r];
            chapters << row[CHAPTER];
            const bool wellFormed = QStringList{"0", "1", "2", "3"}.contains(row[CTR]) &&
                                    !row[CHAR].isEmpty() && !row[TRANSLATION].isEmpty() &&
                                    !row[PINYIN].isEmpty() && row[PINYIN].back().isDigit();
            QVERIFY2(wellFormed, qPrintable(row.cells().join(u'|')));
        }
        QCOMPARE(chapters.size(), 10);
        // Written back unchanged, byte for byte.
        QVERIFY(WriteVocFile(m_folder->file("copy.txt"), BuildVocText()));
        QCOMPARE(m_folder->read("copy.txt"), f.readAll());
    }
}

// What a save leaves of the file's mode, owner and kind, and the backup of its old words.
void TstVocFile::savedFileKeepsModeOwnerAndLink_data()
{
    QTest::addColumn<int>("before"); // the file's mode; 0: there is no file yet
    QTest::addColumn<int>("owner");  // 0: ours
    QTest::addColumn<int>("links");  // that lead from the saved name to the file
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode"); // of the saved file
    QTest::newRow("new file, umask 022") << 0 << 0 << 0 << 022 << 0644;
    QTest::newRow("new file, umask 077") << 0 << 0 << 0 << 077 << 0600;
    QTest::newRow("existing file keeps its mode") << 0604 << 0 << 0 << 077 << 0604;
    QTest::newRow("another user's file keeps owner and group") << 0664 << 65534 << 0 << 022 << 0664;
    QTest::newRow("a link stays a link") << 0640 << 0 << 1 << 022 << 0640;
    QTest::newRow("a chain of links") << 0640 << 0 << 2 << 022 << 0640;
}

void TstVocFile::savedFileKeepsModeOwnerAndLink()
{
    QFETCH(int, before);
    QFETCH(int, owner);
    QFETCH(int, links);
    QFETCH(int, umask);
    QFETCH(int, mode);
    if (owner && ::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    const QString path = m_folder->file("v.txt");
    const QString real = m_folder->file(links ? "target.txt" : "v.txt");
    if (before) {
        m_folder->write(QFileInfo(real).fileName(), vocFile(NiWord));
        QVERIFY(::chmod(QFile::encodeName(real), mode_t(before)) == 0);
    }
    if (owner)
        QVERIFY(::chown(QFile::encodeName(real), uid_t(owner), gid_t(owner)) == 0);
    // v.txt -> target.txt, or v.txt -> middle.txt -> target.txt
    if (links == 2)
        QVERIFY(QFile::link("target.txt", m_folder->file("middle.txt")));
    if (links)
        QVERIFY(QFile::link(links == 1 ? "target.txt" : "middle.txt", path));
    const mode_t was = ::umask(mode_t(umask));
    const bool saved = WriteVocFile(path, header() + HaoWord);
    ::umask(was);
    QVERIFY(saved);
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(real), &st) == 0);
    QCOMPARE(int(st.st_mode & 07777), mode);
    QVERIFY(!owner || (int(st.st_uid) == owner && int(st.st_gid) == owner));
    QCOMPARE(m_folder->read("v.txt"), vocFile(HaoWord));
    QCOMPARE(QFileInfo(path).isSymLink(), links > 0);
    QCOMPARE(m_folder->read("v.txt.bak"), before ? vocFile(NiWord) : QByteArray());
    // Nothing else is left in the folder: the file, its links and its backup.
    QCOMPARE(int(QDir(m_folder->path()).entryList(QDir::Files).size()), links + 1 + (before ? 1 : 0));
}

// Every way a save can fail or be refused: a box that names the file, and the file,
// its backup and the folder exactly as they were.
void TstVocFile::failedSaveTouchesNothing()
{
    QFETCH(QString, how);
    FakeMessageBox boxes;
    boxes.answers = {vbNo};
    const QString folder = m_folder->file("words");
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + "/v.txt";
    m_folder->write("words/v.txt", vocFile(NiWord));
    m_folder->write("words/v.txt.bak", "older");
    QVERIFY(loadVocabularyFile(path));
    const QString target = how == "no folder"               ? m_folder->file("missing/v.txt")
                           : how == "a folder in its place" ? m_folder->file("taken.txt")
                                                            : path;
    if (how == "a folder in its place")
        QVERIFY(QDir().mkdir(target));
    if (how == "changed by another program")
        m_folder->write("words/v.txt", vocFile(HaoWord));
    if (how == "deleted by another program")
        QVERIFY(QFile::remove(path));
    const QByteArray onDisk = m_folder->read("words/v.txt");
    const QStringList files = QDir(folder).entryList(QDir::Files);
    bool saved = true;
    {
        const FileSizeLimit fullDisk(how == "full disk" ? 8 : -1);
        const ReadOnlyFolder locked(how == "read-only folder" ? folder : QString());
        saved = saveVocabulary(target, BuildVocText() + "3 + ma1 + 妈 + mother + 1 + \r");
    }
    QVERIFY(!saved);
    QCOMPARE(boxes.calls.size(), 1);
    const QString box = boxes.calls[0].text;
    QVERIFY2(box.contains(target) && (how != "a folder in its place" || box.contains("a folder")),
             qPrintable(box));
    QCOMPARE(boxes.calls[0].flags & vbExclamation, int(vbExclamation));
    QCOMPARE(QDir(folder).entryList(QDir::Files), files);
    QCOMPARE(m_folder->read("words/v.txt"), onDisk);
    QCOMPARE(m_folder->read("words/v.txt.bak"), QByteArray("older"));
    QVERIFY(target == path || !QFileInfo(target).isFile());
}

void TstVocFile::changedFileSavedUnderAnotherName()
{
    m_folder.reset(new TestProgramFolder(TestProgramFolder::Contents::ShippedData)); // the texts
    FakeMessageBox boxes;
    boxes.answers = {vbYes};
    FakeOpenFileDialog dialog;
    const QString path = m_folder->file("v.txt");
    m_folder->write("v.txt", vocFile(NiWord));
    QVERIFY(loadVocabularyFile(path));
    VocFilePath = path;
    m_folder->write("v.txt", vocFile(HaoWord));
    dialog.answers = {m_folder->file("mine.txt")};
    QVERIFY(saveVocabulary(path, BuildVocText()));
    QVERIFY(boxes.calls[0].text.startsWith(english("save_file_changed")));
    QCOMPARE(dialog.calls.size(), 1);
    QVERIFY(dialog.calls[0].save);
    QCOMPARE(dialog.calls[0].initialFile, m_folder->file("v (2).txt"));
    QCOMPARE(m_folder->read("v.txt"), vocFile(HaoWord));
    QCOMPARE(ReadVocFile(m_folder->file("mine.txt")), BuildVocText());
    QCOMPARE(VocFilePath, m_folder->file("mine.txt"));
    QVERIFY(tableReadFrom(VocFilePath));
    // Saving there again is a plain save: nobody changed that file.
    QVERIFY(saveVocabulary(VocFilePath, BuildVocText()));
    QCOMPARE(boxes.calls.size(), 1);
}

void TstVocFile::loadingChangesNoFileAndRemembersItsSource()
{
    QCOMPARE(ReadVocFile(m_folder->file("missing.txt")), QString());
    m_folder->write("v.txt", vocFile(NiWord));
    m_folder->write("empty.txt", "");
    const QDateTime before = QFileInfo(m_folder->file("v.txt")).lastModified();
    QVERIFY(!tableReadFrom(m_folder->file("v.txt")));
    QVERIFY(loadVocabularyFile(m_folder->file("v.txt")));
    QCOMPARE(m_folder->read("v.txt"), vocFile(NiWord));
    QCOMPARE(QFileInfo(m_folder->file("v.txt")).lastModified(), before);
    QVERIFY(!QFile::exists(m_folder->file("v.txt.bak")));
    QVERIFY(tableReadFrom(m_folder->file("v.txt")));
    QVERIFY(!tableReadFrom(m_folder->file("other.txt")));
    // A failed load keeps the table and where it came from.
    QCOMPARE(readVocabulary(m_folder->file("empty.txt")), LoadResult::Empty);
    QCOMPARE(readVocabulary(m_folder->file("missing.txt")), LoadResult::Missing);
    QFile huge(m_folder->file("huge.txt"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(MaxVocFileSize + 1)); // sparse: costs nothing
    QCOMPARE(readVocabulary(huge.fileName()), LoadResult::TooLarge);
    QCOMPARE(VocCount, 0);
    QVERIFY(tableReadFrom(m_folder->file("v.txt")));
}

QTEST_GUILESS_MAIN(TstVocFile)
#include "tst_voc_file.moc"
