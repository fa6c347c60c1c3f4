// The INI store: what a read gives back, and that a write touches nothing but its
// own line. (That a written key reads back and every other key stays as it was, in any
// file, is fuzz_ini's to check.)
#include "core/ini_store.h"
#include "support/test_folder.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <unistd.h>

using namespace tavi;
using tavi::test::TestProgramFolder;

class TstIniStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readValue_data();
    void readValue();
    void writeInPlace_data();
    void writeInPlace();
    void writeCreatesFileSectionAndKey();
    void writeIntoGarbage();
    void writeConvertsWindows1252WhenNeeded();
    void missingFilesAndRefusedWrites();
};

// The value of key k in section s.
void TstIniStore::readValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("names ignore case") << QByteArray("[S]\nK=v\n") << "v";
    QTest::newRow("blanks around names and value") << QByteArray("  [ s ]  \n\t k \t=  v \t\n") << "v";
    QTest::newRow("double quotes removed") << QByteArray("[s]\nk=\"a b \"\n") << "a b ";
    QTest::newRow("single quotes removed") << QByteArray("[s]\nk='x'\n") << "x";
    QTest::newRow("unmatched quotes kept") << QByteArray("[s]\nk=\"x'\n") << "\"x'";
    QTest::newRow("only one pair removed") << QByteArray("[s]\nk=\"\"x\"\"\n") << "\"x\"";
    QTest::newRow("value with equals sign") << QByteArray("[s]\nk=a=b\n") << "a=b";
    QTest::newRow("CR LF line ends") << QByteArray("[s]\r\nj=w\r\nk=v\r\n") << "v";
    QTest::newRow("CR line ends") << QByteArray("[s]\rj=w\rk=v\r") << "v";
    QTest::newRow("damaged header is a line of the section before")
        << QByteArray("[s]\na=1\n[t\nk=2\n") << "2";
    QTest::newRow("an empty value") << QByteArray("[s]\nk=\nk=1\n") << "";
    QTest::newRow("a key without equals sign is empty") << QByteArray("[s]\nk\nk=1\n") << "";
    QTest::newRow("keys before the first section unreachable") << QByteArray("k=1\n[s]\nj=2\n") << "";
    QTest::newRow("first section of a name counts") << QByteArray("[s]\na=1\n[t]\nk=2\n[s]\nk=3\n") << "";
    QTest::newRow("key of another section not found") << QByteArray("[t]\nk=2\n[s]\nj=1\n") << "";
    QTest::newRow("UTF-8") << QByteArray("[s]\nk=Zeit f\xc3\xbcr L\xc3\xb6sung\n")
                           << QStringLiteral("Zeit für Lösung");
    QTest::newRow("not UTF-8 reads as Windows-1252")
        << QByteArray("[s]\nk=Gr\xfc\xdf\x65 \x80\n") << QStringLiteral("Grüße €");
    QTest::newRow("600 characters cut to 498") << "[s]\nk=" + QByteArray(600, 'x') + "\n"
                                               << QString(498, u'x');
}

void TstIniStore::readValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("a.ini", file);
    QCOMPARE(ini::read(folder.file("a.ini"), "s", "k"), expected);
}

// k=value written into a file: every other byte stays as it was, a new line takes the
// file's own line end, and a last line without one is ended first.
void TstIniStore::writeInPlace_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaced in place, the key's spelling kept")
        << QByteArray("; notes\r\n[B]\r\nk = keep\r\n\r\n[A]\r\n  K = old  \r\nodd line\r\na=1\r\n") << "a"
        << QByteArray("; notes\r\n[B]\r\nk = keep\r\n\r\n[A]\r\nK=v\r\nodd line\r\na=1\r\n");
    QTest::newRow("new key after the last line of its section")
        << QByteArray("[A]\na=1\n\n[B]\nb=2\n") << "a" << QByteArray("[A]\na=1\nk=v\n\n[B]\nb=2\n");
    QTest::newRow("new key, no line end")
        << QByteArray("[B]\nb=2\n[A]\na=1") << "A" << QByteArray("[B]\nb=2\n[A]\na=1\nk=v\n");
    QTest::newRow("new section, no line end")
        << QByteArray("[A]\r\na=1") << "NEW" << QByteArray("[A]\r\na=1\r\n[NEW]\r\nk=v\r\n");
    // A file cut between the CR and the LF of its last line end.
    QTest::newRow("new section, a lone CR")
        << QByteArray("[A]\r\na=1\r") << "NEW" << QByteArray("[A]\r\na=1\r\n[NEW]\r\nk=v\r\n");
    QTest::newRow("new key, a lone CR")
        << QByteArray("[A]\r\na=1\r") << "A" << QByteArray("[A]\r\na=1\r\nk=v\r\n");
    QTest::newRow("new key in a file of CR lines")
        << QByteArray("[A]\ra=1\r") << "A" << QByteArray("[A]\ra=1\rk=v\r");
    QTest::newRow("new section in a file of CR lines")
        << QByteArray("[A]\ra=1") << "NEW" << QByteArray("[A]\ra=1\r[NEW]\rk=v\r");
    QTest::newRow("a key without equals sign written in place")
        << QByteArray("[A]\na=1\nk\nb=2\n") << "A" << QByteArray("[A]\na=1\nk=v\nb=2\n");
    QTest::newRow("new key, a lone CR in an LF file")
        << QByteArray("[A]\na=1\r") << "A" << QByteArray("[A]\na=1\r\nk=v\n");
}

void TstIniStore::writeInPlace()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);
    const QByteArray out = ini::replaced(before, section, "k", "v");
    QCOMPARE(out, after);
    QCOMPARE(ini::readFrom(out, "A", "a"), QString("1"));
}

void TstIniStore::writeCreatesFileSectionAndKey()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QVERIFY(ini::write(folder.file("t.ini"), "Tavi", "main_glang", "two\nlines\r\n"));
    QCOMPARE(folder.read("t.ini"), QByteArray("[Tavi]\nmain_glang=two lines  \n")); // the value on its line
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"t.ini"}); // no temporary left behind
}

// Bytes that are no text at all, NUL bytes among them: the key reads back, the bytes stay.
void TstIniStore::writeIntoGarbage()
{
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    const QByteArray out = ini::replaced(garbage, "s", "k", "v");
    QCOMPARE(ini::readFrom(out, "s", "k"), QString("v"));
    QVERIFY(out.startsWith(garbage.left(1000)));
}

void TstIniStore::writeConvertsWindows1252WhenNeeded()
{
    const QByteArray cp1252 = ini::replaced("[s]\na=Gr\xfc\xdf\x65\n", "s", "b", QStringLiteral("Äpfel"));
    QCOMPARE(cp1252, QByteArray("[s]\na=Gr\xfc\xdf\x65\nb=\xc4pfel\n")); // still Windows-1252
    const QByteArray utf8 = ini::replaced(cp1252, "s", "c", QStringLiteral("你好"));
    QCOMPARE(ini::readFrom(utf8, "s", "a"), QStringLiteral("Grüße"));
    QCOMPARE(ini::readFrom(utf8, "s", "b"), QStringLiteral("Äpfel"));
    QCOMPARE(ini::readFrom(utf8, "s", "c"), QStringLiteral("你好"));

    // Overwriting the one byte that made a file Windows-1252 must not make its other
    // bytes read as UTF-8: "Ã¤" stays "Ã¤", not "ä".
    const QByteArray out = ini::replaced("[s]\na=\xc3\xa4\nb=\xbd\n", "s", "b", "x");
    QCOMPARE(ini::readFrom(out, "s", "a"), QStringLiteral("Ã¤"));
    QCOMPARE(ini::readFrom(out, "s", "b"), QStringLiteral("x"));
}

// A missing file or a folder reads as empty; a write that cannot be made leaves
// everything as it was.
void TstIniStore::missingFilesAndRefusedWrites()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QCOMPARE(ini::read(folder.file("none.ini"), "s", "k"), QString());
    QVERIFY(!ini::write(folder.file("missing/t.ini"), "s", "k", "v"));
    QVERIFY(!QFile::exists(folder.file("missing/t.ini")));

    QDir(folder.path()).mkdir("dir.ini");
    QCOMPARE(ini::read(folder.file("dir.ini"), "s", "k"), QString());
    QVERIFY(!ini::write(folder.file("dir.ini"), "s", "k", "v"));

    if (::geteuid() == 0)
        QSKIP("file permissions do not bind the superuser");
    folder.write("ro.ini", "[s]\nk=old\n");
    QFile::setPermissions(folder.file("ro.ini"), QFile::ReadOwner);
    QVERIFY(!ini::write(folder.file("ro.ini"), "s", "k", "new"));
    QCOMPARE(folder.read("ro.ini"), QByteArray("[s]\nk=old\n"));
}

QTEST_GUILESS_MAIN(TstIniStore)
#include "tst_ini_store.moc"
