// Reading, parsing, building and writing vocabulary files, grouped by rule.
#include "core/app_state.h"
#include "support/fakes.h"
#include "support/test_folder.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

} // namespace

class TstVocFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder.reset(new TestProgramFolder(TestProgramFolder::Contents::Empty)); }

    void readEncodings_data();
    void readEncodings();
    void oddFilesKeepTheirWords_data();
    void oddFilesKeepTheirWords();
    void lineBreaks_data();
    void lineBreaks();
    void lineEndsReadAlike_data();
    void lineEndsReadAlike();
    void levels_data();
    void levels();
    void fields();
    void headerPutBack_data();
    void headerPutBack();
    void nextFieldPositions();
    void builtText_data();
    void builtText();
    void narrowing();
    void sampleFilesAreCanonical_data();
    void sampleFilesAreCanonical();
    void writeEmptyAndBackup();
    void savedFileKeepsModeOwnerAndLink_data();
    void savedFileKeepsModeOwnerAndLink();
    void failedSaveTouchesNothing_data();
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
    QByteArray be("\xFE\xFF", 2);
    for (QChar c : t)
        be.append(static_cast<char>(c.unicode() >> 8)).append(static_cast<char>(c.unicode() & 0xFF));
    QTest::newRow("UTF-16 BE with mark") << be << t;
    QTest::newRow("UTF-8 with mark") << ("\xEF\xBB\xBF" + t.toUtf8()) << t;
    QTest::newRow("UTF-8 without mark") << t.toUtf8() << t;
    QTest::newRow("trailing odd byte ignored") << (utf16le(t) + 'x') << t;
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("mark only") << QByteArray("\xFF\xFE", 2) << QString();
    QTest::newRow("lone byte") << QByteArray("\xFF", 1) << QString(u'ÿ');
    QTest::newRow("UTF-16 without mark loses its first unit") << utf16le("xyz", false) << "yz";
    QTest::newRow("Windows-1252") << QByteArray("CTR\rn\xE4he + \x80") << "CTR\rnähe + €";
    QTest::newRow("every line end a CR")
        << QByteArray("a\nb\r\nc\n\nd\r\r\ne\n\r") << "a\rb\rc\r\rd\r\re\r\r";
}

void TstVocFile::readEncodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    m_folder->write("v.txt", bytes);
    QCOMPARE(ReadVocFile(m_folder->file("v.txt")), text);
}

// Odd files as learners and other programs write them: what loads, and that a save of
// what loaded keeps every word as it was read and the file as it was in the backup.
// (Other odd files, which only have to read back alike, are seeds of fuzz_vocabulary.)
void TstVocFile::oddFilesKeepTheirWords_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("result"); // a LoadResult
    QTest::addColumn<int>("words");
    QByteArray binary(64 * 1024, Qt::Uninitialized);
    quint32 x = 88172645u;
    for (char& c : binary) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    // Binary files once loaded as rows of nothing but levels: such a file holds no words.
    QTest::newRow("binary") << binary << int(LoadResult::Empty) << 0;
    QTest::newRow("binary with a mark") << QByteArray("\xFF\xFE", 2) + binary << int(LoadResult::Empty) << 0;
    QTest::newRow("only levels") << utf16le(header() + "1 +  +  + \r2\r") << int(LoadResult::Empty) << 0;
    QTest::newRow("Windows-1252") << header().toLatin1() + QByteArray("1 + nv3 + \xE4 + woman + 1 + \r")
                                  << int(LoadResult::Loaded) << 1;
}

void TstVocFile::oddFilesKeepTheirWords()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, result);
    QFETCH(int, words);
    FakeMessageBox boxes;
    m_folder->write("v.txt", bytes);
    const QString path = m_folder->file("v.txt");
    const LoadResult read = readVocabulary(path);
    QCOMPARE(int(read), result);
    QCOMPARE(VocCount + 1, words);
    if (read != LoadResult::Loaded)
        return;
    const QStringList first = rows();
    QVERIFY(saveVocabulary(path, BuildVocText()));
    QCOMPARE(m_folder->read("v.txt.bak"), bytes);
    QCOMPARE(readVocabulary(path), LoadResult::Loaded);
    QCOMPARE(rows(), first);
    QVERIFY(boxes.calls.isEmpty());
}

void TstVocFile::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    const QString h = header();
    QTest::newRow("empty text") << QString() << QStringList();
    QTest::newRow("header alone") << h << QStringList();
    QTest::newRow("five characters") << "ab\rcd" << QStringList();
    QTest::newRow("one word") << h + "1 + ni3 + 你 + you + 2 + x\r" << QStringList{"1|ni3|你|you|2|x"};
    QTest::newRow("no final break") << h + "1 + ni3 + 你 + you + 2 + x" << QStringList{"1|ni3|你|you|2|x"};
    QTest::newRow("CR LF") << QString(VocHeader + "\r\n1 + ni3 + 你 + you + 2 + x\r\n")
                           << QStringList{"1|ni3|你|you|2|x"};
    QTest::newRow("blank line joins next level field")
        << h + "1 + a1 + A + a + 1 + \r\r2 + b2 + B + b + 1 + \r"
        << QStringList{"1|a1|A|a|1|", "2|b2|B|b|1|"};
    QTest::newRow("blank CR LF line")
        << QString(VocHeader + "\r\n1 + a1 + A + a + 1 + \r\n\r\n2 + b2 + B + b + 1 + \r\n")
        << QStringList{"1|a1|A|a|1|", "2|b2|B|b|1|"};
    QTest::newRow("short line joins the next: last digit rule")
        << h + "ab\r3 + c3 + C + c + 1 + \r" << QStringList{"3|c3|C|c|1|"};
    QTest::newRow("line of four characters dropped")
        << h + "abcd\r1 + c3 + C + c + 1 + \r" << QStringList{"1|c3|C|c|1|"};
    QTest::newRow("line without plus") << h + "just some words\r" << QStringList{"0|||||"};
    // Built again, that CR would stand five characters after the break and end the line.
    QTest::newRow("CR close to the break is a blank in a field")
        << h + "1 + a1 + A + a + 1 + \r+ \r2 + b2 + B + b + 1 + \r"
        << QStringList{"1|a1|A|a|1|", "0|2|b2|B|b|1"};
    QTest::newRow("header is the first kept piece")
        << "x\rCTR + PINYIN\r5 + d4 + D + d + 2 + \r" << QStringList{"5|d4|D|d|2|"};
}

void TstVocFile::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    ParseVocText(text);
    QCOMPARE(rows(), expected);
    QCOMPARE(VocCount, expected.size() - 1);
}

// Blank and short lines between words, in every style of line ends, also where a line
// end or a character falls between two stretches that the reader takes at a time: the
// words are those of the same file with CR line ends.
void TstVocFile::lineEndsReadAlike_data()
{
    QTest::addColumn<QString>("ends");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("across"); // what stands across the first stretch's end
    QTest::newRow("LF") << "\n" << false << QString();
    QTest::newRow("CR LF") << "\r\n" << false << QString();
    QTest::newRow("mixed") << "mixed" << true << QString();
    QTest::newRow("CR LF across two stretches") << "\r\n" << false << "\r\n";
    QTest::newRow("CR LF across two stretches, UTF-8") << "\r\n" << true << "\r\n";
    QTest::newRow("a character across two stretches, UTF-8") << "\n" << true << "你";
}

void TstVocFile::lineEndsReadAlike()
{
    QFETCH(QString, ends);
    QFETCH(bool, utf8);
    QFETCH(QString, across);
    // A short line before a blank one, blank lines before a word and a run of them at the end.
    const QStringList lines = {"1 + a1 + A + a + 1 + ",
                               "abc",
                               "",
                               "12 + ni3 + 你 + you + 1 + x",
                               "",
                               "",
                               "ab",
                               "2 + b2 + B + b + 2 + " + QString(200, u'好'),
                               "xy",
                               "",
                               "3 + c3 + C + c + 1 + "};
    const int blankAtEnd = 10;
    const QStringList words = {"1|a1|A|a|1|", "12|ni3|你|you|1|x", "2|b2|B|b|2|" + QString(200, u'好'),
                               "3|c3|C|c|1|"};
    const int copies = across.isEmpty() ? 1 : 9000; // past the first stretch of a megabyte
    QStringList all;
    for (int i = 0; i < copies; ++i)
        all << lines;
    all << QStringList(blankAtEnd);
    auto text = [&](const QString& header, bool crOnly) {
        // A CR before the LF of an empty line would make one CR LF of them.
        static const QString mixed[] = {"\r", "\n", "\r\n"};
        QString t = header + (crOnly ? "\r" : "\n");
        for (qsizetype i = 0; i < all.size(); ++i) {
            const bool beforeEmpty = i + 1 < all.size() && all[i + 1].isEmpty();
            t += all[i] + (crOnly                    ? "\r"
                           : ends != "mixed"         ? ends
                           : beforeEmpty && !(i % 3) ? mixed[1]
                                                     : mixed[i % 3]);
        }
        return t;
    };
    auto bytesOf = [&](const QString& t) { return utf8 ? t.toUtf8() : utf16le(t); };
    QStringList expected;
    for (int i = 0; i < copies; ++i)
        expected << words;

    QByteArray bytes = bytesOf(text(VocHeader, false));
    if (!across.isEmpty()) {
        // Blanks put into the header (which nobody reads) move the last `across`
        // before the stretch's end to stand across it.
        const qsizetype end = 1 << 20;
        const QByteArray what = utf8 ? across.toUtf8() : utf16le(across, false);
        const qsizetype at = bytes.lastIndexOf(what, end - what.size());
        QVERIFY(at > 0);
        const qsizetype pad = end - (what.size() / 2 + what.size() % 2) - at;
        QVERIFY(pad >= 0 && pad % (utf8 ? 1 : 2) == 0);
        bytes = bytesOf(text(VocHeader + QString(pad / (utf8 ? 1 : 2), u' '), false));
        QCOMPARE(bytes.mid(end - what.size() / 2 - what.size() % 2, what.size()), what);
    }
    m_folder->write("v.txt", bytes);
    QCOMPARE(readVocabulary(m_folder->file("v.txt")), LoadResult::Loaded);
    QCOMPARE(rows(), expected);
    ParseVocText(ReadVocFile(m_folder->file("v.txt")));
    QCOMPARE(rows(), expected);
    ParseVocText(text(VocHeader, true));
    QCOMPARE(rows(), expected);
}

void TstVocFile::levels_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("level");
    QTest::newRow("3") << QString("3") << "3";
    QTest::newRow("space then 12") << QString(" 12") << "12";
    QTest::newRow("3.5 to 4") << QString("3.5") << "4";
    QTest::newRow("2.5 to even 2") << QString("2.5") << "2";
    QTest::newRow("L7 last digit") << QString("L7") << "7";
    QTest::newRow("x") << QString("x") << "0";
    QTest::newRow("-2") << QString("-2") << "-2";
    QTest::newRow("007") << QString("007") << "7";
    QTest::newRow("+3") << QString("+3") << "3";
    QTest::newRow("-0") << QString("-0") << "0";
    QTest::newRow("line feed around") << QString("\n4\t") << "4";
    QTest::newRow("beyond 16 bits") << QString("99999") << "99999";
    QTest::newRow("1e400 is no number: last digit") << QString("1e400") << "0";
    QTest::newRow("1e300 held at 32 bits") << QString("1e300") << "2147483647";
    QTest::newRow("comma decimal: last digit") << QString("3,7") << "7";
}

void TstVocFile::levels()
{
    QFETCH(QString, field);
    QFETCH(QString, level);
    QCOMPARE(levelOf(field), level);
    if (field.contains(u'+'))
        return; // in a file, a "+" ends the field
    ParseVocText(header() + field + " + pin1 + X + y + 1 + \r");
    QCOMPARE(VocCount, 0);
    QCOMPARE(VocTable[0][CTR], level);
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

void TstVocFile::fields()
{
    const QString longPinyin(1 << 20, u'a'); // a megabyte's line is a word like any
    ParseVocText(header() + "2 +  a\tb  + 字 \r" + "1 + p1 + Q + q + 3 + m + extra + more\r" +
                 QString(1000, u'+') + "\r1 + " + longPinyin + " + b + c + 1 + \r2 + p2 + P + p + 1 + \r");
    QCOMPARE(VocCount, 4);
    QVERIFY(VocTable[3][PINYIN] == longPinyin);
    QStringList others = rows();
    others.removeAt(3);
    QCOMPARE(others, (QStringList{"2|a\tb|字|||", "1|p1|Q|q|3|m", "0|||||", "2|p2|P|p|1|"}));
}

void TstVocFile::nextFieldPositions()
{
    const QString line = QStringLiteral("\r1 + ab + c");
    QStringList fields; // each with the position after it
    for (int pos = 1, i = 0; i < 4; ++i) {
        const QString field = NextField(pos, line);
        fields << field + "@" + QString::number(pos);
    }
    QCOMPARE(fields, (QStringList{"1@4", "ab@9", "c@0", "@0"}));
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
}

void TstVocFile::builtText()
{
    QFETCH(QList<VocRow>, words);
    QFETCH(QString, text);
    VocTable.assign(words.begin(), words.end());
    VocCount = static_cast<int>(words.size()) - 1;
    QCOMPARE(BuildVocText(), header() + text);
}

void TstVocFile::narrowing()
{
    QCOMPARE(NarrowToAnsi(QStringLiteral("Grüße 你好 😀")), QStringLiteral("Grüße 你好 😀"));
    QString lone = QStringLiteral("a");
    lone.append(QChar(0xD800));
    lone.append(u'b');
    QCOMPARE(NarrowToAnsi(lone), QString("a?b"));
}

void TstVocFile::sampleFilesAreCanonical_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << "my_vocabulary/pcr1-10u.txt";
    QTest::newRow("German") << "meine vokabeln/pcr1-10u_d.txt";
}

void TstVocFile::sampleFilesAreCanonical()
{
    QFETCH(QString, file);
    QFile f(shippedData(file));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xFF\xFE"));
    ParseVocText(ReadVocFile(shippedData(file)));
    QVERIFY2(VocCount >= 149, qPrintable(QString::number(VocCount + 1)));
    QSet<QString> chapters;
    int marked = 0;
    for (int r = 0; r <= VocCount; ++r) {
        const VocRow& row = VocTable[r];
        const int level = row[CTR].toInt();
        QVERIFY(level >= 0 && level <= 3);
        QVERIFY(!row[PINYIN].isEmpty() && !row[CHAR].isEmpty() && !row[TRANSLATION].isEmpty());
        QVERIFY2(row[PINYIN].back().isDigit(), qPrintable(row[PINYIN]));
        chapters << row[CHAPTER];
        marked += !row[SELECTION].isEmpty();
    }
    QCOMPARE(chapters.size(), 10);
    QVERIFY(marked > 0);
    // Written back unchanged, byte for byte.
    QVERIFY(WriteVocFile(m_folder->file("copy.txt"), BuildVocText()));
    QCOMPARE(m_folder->read("copy.txt"), bytes);
}

void TstVocFile::writeEmptyAndBackup()
{
    QVERIFY(WriteVocFile(m_folder->file("v.txt"), QString()));
    QCOMPARE(m_folder->read("v.txt"), QByteArray("\xFF\xFE", 2));
    QVERIFY(!QFile::exists(m_folder->file("v.txt.bak")));
    QVERIFY(WriteVocFile(m_folder->file("v.txt"), "ab"));
    QCOMPARE(m_folder->read("v.txt"), QByteArray("\xFF\xFE"
                                                 "a\0b\0",
                                                 6));
    QCOMPARE(m_folder->read("v.txt.bak"), QByteArray("\xFF\xFE", 2));
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), (QStringList{"v.txt", "v.txt.bak"}));
}

// What a save leaves of the file's mode, owner and kind, and its backup's content.
void TstVocFile::savedFileKeepsModeOwnerAndLink_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("mode"); // of the saved file
    QTest::newRow("new file, umask 022") << "new" << 022 << 0644;
    QTest::newRow("new file, umask 077") << "new" << 077 << 0600;
    QTest::newRow("existing file keeps its mode") << "existing 0604" << 077 << 0604;
    QTest::newRow("another user's file keeps owner and group") << "owned" << 022 << 0664;
    QTest::newRow("a link stays a link, its backup holds the old words") << "link" << 022 << 0640;
    QTest::newRow("a chain of links") << "chain" << 022 << 0640;
}

void TstVocFile::savedFileKeepsModeOwnerAndLink()
{
    QFETCH(QString, how);
    QFETCH(int, umask);
    QFETCH(int, mode);
    if (how == "owned" && ::geteuid() != 0)
        QSKIP("only the superuser can give a file to another user");
    const QByteArray old = utf16le(header() + "1 + ni3 + 你 + you + 1 + \r");
    const QString path = m_folder->file("v.txt");
    QString real = path;
    if (how != "new") {
        real = m_folder->file(how == "link" || how == "chain" ? "target.txt" : "v.txt");
        m_folder->write(QFileInfo(real).fileName(), old);
        QVERIFY(::chmod(QFile::encodeName(real), how == "existing 0604" ? 0604
                                                 : how == "owned"       ? 0664
                                                                        : 0640) == 0);
    }
    if (how == "owned")
        QVERIFY(::chown(QFile::encodeName(real), 65534, 65534) == 0);
    if (how == "link")
        QVERIFY(QFile::link("target.txt", path));
    if (how == "chain") {
        QVERIFY(QFile::link("target.txt", m_folder->file("middle.txt")));
        QVERIFY(QFile::link("middle.txt", path));
    }
    const mode_t before = ::umask(mode_t(umask));
    const bool saved = WriteVocFile(path, header() + "2 + hao3 + 好 + good + 1 + \r");
    ::umask(before);
    QVERIFY(saved);
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(real), &st) == 0);
    QCOMPARE(int(st.st_mode & 07777), mode);
    QVERIFY(ReadVocFile(path).contains("hao3"));
    if (how == "owned") {
        QCOMPARE(int(st.st_uid), 65534);
        QCOMPARE(int(st.st_gid), 65534);
    }
    if (how == "link" || how == "chain") {
        QVERIFY(QFileInfo(path).isSymLink());
        QVERIFY(QFileInfo(m_folder->file("target.txt")).isFile());
        QVERIFY(!QFileInfo(path + ".bak").isSymLink());
        QCOMPARE(m_folder->read("v.txt.bak"), old);
    }
    if (how == "new")
        QVERIFY(!QFile::exists(path + ".bak"));
}

// Every way a save can fail or be refused: a box that names the file, and the file,
// its backup and the folder exactly as they were.
void TstVocFile::failedSaveTouchesNothing_data()
{
    QTest::addColumn<QString>("how");
    for (const char* how : {"no folder", "a folder in its place", "full disk", "read-only folder",
                            "changed by another program", "deleted by another program"})
        QTest::newRow(how) << QString(how);
}

void TstVocFile::failedSaveTouchesNothing()
{
    QFETCH(QString, how);
    FakeMessageBox boxes;
    boxes.answers = {vbNo};
    const QString folder = m_folder->file("words");
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + "/v.txt";
    const QByteArray before = utf16le(header() + "1 + ni3 + 你 + you + 1 + \r");
    m_folder->write("words/v.txt", before);
    m_folder->write("words/v.txt.bak", "older");
    QVERIFY(loadVocabularyFile(path));
    const QByteArray other = utf16le(header() + "2 + hao3 + 好 + good + 1 + \r");
    QString target = path;
    bool readOnly = false;
    if (how == "no folder") {
        target = m_folder->file("missing/v.txt");
    } else if (how == "a folder in its place") {
        target = m_folder->file("taken.txt");
        QVERIFY(QDir().mkdir(target));
    } else if (how == "read-only folder") {
        readOnly = true;
    } else if (how == "changed by another program") {
        m_folder->write("words/v.txt", other);
    } else if (how == "deleted by another program") {
        QVERIFY(QFile::remove(path));
    }
    const QByteArray onDisk = QFileInfo::exists(path) ? m_folder->read("words/v.txt") : QByteArray();
    const QStringList files = QDir(folder).entryList(QDir::Files);
    bool saved = true;
    {
        const FileSizeLimit fullDisk(how == "full disk" ? 8 : -1);
        const ReadOnlyFolder locked(readOnly ? folder : QString());
        saved = saveVocabulary(target, BuildVocText() + "3 + ma1 + 妈 + mother + 1 + \r");
    }
    QVERIFY(!saved);
    QCOMPARE(boxes.calls.size(), 1);
    QVERIFY2(boxes.calls[0].text.contains(target), qPrintable(boxes.calls[0].text));
    if (how == "a folder in its place")
        QVERIFY2(boxes.calls[0].text.contains("a folder"), qPrintable(boxes.calls[0].text));
    QCOMPARE(boxes.calls[0].flags & vbExclamation, int(vbExclamation));
    QCOMPARE(QDir(folder).entryList(QDir::Files), files);
    if (QFileInfo::exists(path))
        QCOMPARE(m_folder->read("words/v.txt"), onDisk);
    QCOMPARE(m_folder->read("words/v.txt.bak"), QByteArray("older"));
    if (target != path)
        QVERIFY(!QFileInfo(target).isFile());
}

void TstVocFile::changedFileSavedUnderAnotherName()
{
    m_folder.reset(new TestProgramFolder(TestProgramFolder::Contents::ShippedData)); // the texts
    FakeMessageBox boxes;
    boxes.answers = {vbYes};
    FakeOpenFileDialog dialog;
    const QString path = m_folder->file("v.txt");
    m_folder->write("v.txt", utf16le(header() + "1 + ni3 + 你 + you + 1 + \r"));
    QVERIFY(loadVocabularyFile(path));
    VocFilePath = path;
    const QByteArray other = utf16le(header() + "2 + hao3 + 好 + good + 1 + \r");
    m_folder->write("v.txt", other);
    dialog.answers = {m_folder->file("mine.txt")};
    QVERIFY(saveVocabulary(path, BuildVocText()));
    QVERIFY(boxes.calls[0].text.startsWith(english("save_file_changed")));
    QCOMPARE(dialog.calls.size(), 1);
    QVERIFY(dialog.calls[0].save);
    QCOMPARE(dialog.calls[0].initialFile, m_folder->file("v (2).txt"));
    QCOMPARE(m_folder->read("v.txt"), other);
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
    const QByteArray bytes = utf16le(header() + "1 + ni3 + 你 + you + 1 + \r");
    m_folder->write("v.txt", bytes);
    m_folder->write("empty.txt", "");
    const QDateTime before = QFileInfo(m_folder->file("v.txt")).lastModified();
    QVERIFY(!tableReadFrom(m_folder->file("v.txt")));
    QVERIFY(loadVocabularyFile(m_folder->file("v.txt")));
    QCOMPARE(m_folder->read("v.txt"), bytes);
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
    // A header alone is read, but a table without words is nothing to save.
    m_folder->write("h.txt", utf16le(header()));
    QCOMPARE(readVocabulary(m_folder->file("h.txt")), LoadResult::Empty);
    QCOMPARE(VocCount, -1);
    QVERIFY(!tableReadFrom(m_folder->file("h.txt")));
}

QTEST_GUILESS_MAIN(TstVocFile)
#include "tst_voc_file.moc"
