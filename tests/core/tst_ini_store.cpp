// The INI store: what a read gives back, and that a write touches nothing but its
// own line.
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
    void readMissing();
    void readHostileFiles();
    void writeCreatesFileSectionAndKey();
    void writeReplacesInPlaceAndKeepsOtherLines();
    void writeAddsKeyAtEndOfItsSection();
    void writeEndsTheLastLineFirst_data();
    void writeEndsTheLastLineFirst();
    void writeKeepsValueOnOneLine();
    void writeConvertsWindows1252WhenNeeded();
    void refusedWritesLeaveFileAlone();
};

void TstIniStore::readValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("names ignore case") << QByteArray("[Tavi]\nMain_GLang=GERMAN\n") << "TAVI"
                                       << "main_glang"
                                       << "GERMAN";
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ Tavi ]  \n\t main_glang \t=  GERMAN \t\n") << "Tavi"
        << "main_glang"
        << "GERMAN";
    QTest::newRow("double quotes removed") << QByteArray("[s]\nk=\"a b \"\n") << "s"
                                           << "k"
                                           << "a b ";
    QTest::newRow("single quotes removed") << QByteArray("[s]\nk='x'\n") << "s"
                                           << "k"
                                           << "x";
    QTest::newRow("unmatched quotes kept") << QByteArray("[s]\nk=\"x'\n") << "s"
                                           << "k"
                                           << "\"x'";
    QTest::newRow("only one pair removed") << QByteArray("[s]\nk=\"\"x\"\"\n") << "s"
                                           << "k"
                                           << "\"x\"";
    QTest::newRow("value with equals sign") << QByteArray("[s]\nk=a=b\n") << "s"
                                            << "k"
                                            << "a=b";
    QTest::newRow("CR LF line ends") << QByteArray("[s]\r\nk=v\r\nj=w\r\n") << "s"
                                     << "j"
                                     << "w";
    QTest::newRow("CR line ends") << QByteArray("[s]\rk=v\rj=w\r") << "s"
                                  << "j"
                                  << "w";
    QTest::newRow("damaged header is a line of the section before")
        << QByteArray("[s]\na=1\n[t\nk=2\n") << "s"
        << "k"
        << "2";
    QTest::newRow("a key without equals sign is empty") << QByteArray("[s]\nk\nk=1\n") << "s"
                                                        << "k"
                                                        << "";
    QTest::newRow("keys before the first section unreachable") << QByteArray("k=1\n[s]\nj=2\n") << "s"
                                                               << "k"
                                                               << "";
    QTest::newRow("first section of a name counts") << QByteArray("[s]\na=1\n[t]\nk=2\n[s]\nk=3\n") << "s"
                                                    << "k"
                                                    << "";
    QTest::newRow("key of another section not found") << QByteArray("[t]\nk=2\n[s]\nj=1\n") << "s"
                                                      << "k"
                                                      << "";
    QTest::newRow("UTF-8") << QByteArray("[s]\nk=Zeit f\xc3\xbcr L\xc3\xb6sung\n") << "s"
                           << "k" << QStringLiteral("Zeit für Lösung");
    QTest::newRow("not UTF-8 reads as Windows-1252") << QByteArray("[s]\nk=Gr\xfc\xdf\x65 \x80\n") << "s"
                                                     << "k" << QStringLiteral("Grüße €");
    QTest::newRow("600 characters cut to 498") << (QByteArray("[s]\nk=") + QByteArray(600, 'x') + "\n") << "s"
                                               << "k" << QString(498, u'x');
}

void TstIniStore::readValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("a.ini", file);
    QCOMPARE(ini::read(folder.file("a.ini"), section, key), expected);
}

void TstIniStore::readMissing()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QCOMPARE(ini::read(folder.file("none.ini"), "s", "k"), QString());
    folder.write("a.ini", "[s]\nk=\n");
    QCOMPARE(ini::read(folder.file("a.ini"), "s", "k"), QString());
    QCOMPARE(ini::read(folder.file("a.ini"), "t", "k"), QString());
    QCOMPARE(ini::read(folder.path(), "s", "k"), QString()); // a folder, not a file
}

void TstIniStore::readHostileFiles()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QByteArray garbage;
    for (int i = 0; i < 70000; ++i)
        garbage.append(static_cast<char>((i * 7919) % 256));
    folder.write("g.ini", garbage);
    ini::read(folder.file("g.ini"), "s", "k"); // must simply not crash

    folder.write("long.ini", "[s]\nk=" + QByteArray(1 << 20, 'y') + "\nj=ok\n");
    QCOMPARE(ini::read(folder.file("long.ini"), "s", "k").size(), ini::MaxValueLength);
    QCOMPARE(ini::read(folder.file("long.ini"), "s", "j"), QString("ok"));

    QVERIFY(ini::write(folder.file("g.ini"), "s", "k", "v"));
    QCOMPARE(ini::read(folder.file("g.ini"), "s", "k"), QString("v"));
    QVERIFY(folder.read("g.ini").startsWith(garbage.left(1000)));
}

void TstIniStore::writeCreatesFileSectionAndKey()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QVERIFY(ini::write(folder.file("t.ini"), "Tavi", "main_glang", "ENGLISH"));
    QCOMPARE(folder.read("t.ini"), QByteArray("[Tavi]\nmain_glang=ENGLISH\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"t.ini"}); // no temporary left behind
}

void TstIniStore::writeReplacesInPlaceAndKeepsOtherLines()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    const QByteArray before =
        "; my notes\r\n[Other]\r\nMain_Glang = keep\r\n\r\n[TAVI]\r\n  Main_GLang = GERMAN  \r\n"
        "odd line without equals\r\nload_txt_chap=1, 2\r\n";
    folder.write("t.ini", before);
    QVERIFY(ini::write(folder.file("t.ini"), "Tavi", "main_glang", "ENGLISH"));
    QCOMPARE(folder.read("t.ini"), QByteArray("; my notes\r\n[Other]\r\nMain_Glang = keep\r\n\r\n[TAVI]\r\n"
                                              "Main_GLang=ENGLISH\r\nodd line without equals\r\n"
                                              "load_txt_chap=1, 2\r\n"));
}

void TstIniStore::writeAddsKeyAtEndOfItsSection()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("t.ini", "[A]\na=1\n\n[B]\nb=2");
    QVERIFY(ini::write(folder.file("t.ini"), "a", "new", "x"));
    QVERIFY(ini::write(folder.file("t.ini"), "b", "more", "y"));
    QCOMPARE(folder.read("t.ini"), QByteArray("[A]\na=1\nnew=x\n\n[B]\nb=2\nmore=y\n"));
}

void TstIniStore::writeEndsTheLastLineFirst_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("after");
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

void TstIniStore::writeEndsTheLastLineFirst()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, after);
    const QByteArray out = ini::replaced(before, section, "k", "v");
    QCOMPARE(out, after);
    QCOMPARE(ini::readFrom(out, "A", "a"), QString("1"));
}

void TstIniStore::writeKeepsValueOnOneLine()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QVERIFY(ini::write(folder.file("t.ini"), "s", "k", "two\nlines\r\n"));
    QVERIFY(ini::write(folder.file("t.ini"), "s", "j", "next"));
    QCOMPARE(ini::read(folder.file("t.ini"), "s", "k"), QString("two lines"));
    QCOMPARE(ini::read(folder.file("t.ini"), "s", "j"), QString("next"));
}

void TstIniStore::writeConvertsWindows1252WhenNeeded()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    folder.write("t.ini", "[s]\na=Gr\xfc\xdf\x65\n");
    QVERIFY(ini::write(folder.file("t.ini"), "s", "b", QStringLiteral("Äpfel")));
    QCOMPARE(folder.read("t.ini"), QByteArray("[s]\na=Gr\xfc\xdf\x65\nb=\xc4pfel\n")); // still Windows-1252
    QVERIFY(ini::write(folder.file("t.ini"), "s", "c", QStringLiteral("你好")));
    QCOMPARE(ini::read(folder.file("t.ini"), "s", "a"), QStringLiteral("Grüße"));
    QCOMPARE(ini::read(folder.file("t.ini"), "s", "b"), QStringLiteral("Äpfel"));
    QCOMPARE(ini::read(folder.file("t.ini"), "s", "c"), QStringLiteral("你好"));

    // Overwriting the one byte that made a file Windows-1252 must not make its other
    // bytes read as UTF-8: "Ã¤" stays "Ã¤", not "ä".
    const QByteArray out = ini::replaced("[s]\na=\xc3\xa4\nb=\xbd\n", "s", "b", "x");
    QCOMPARE(ini::readFrom(out, "s", "a"), QStringLiteral("Ã¤"));
    QCOMPARE(ini::readFrom(out, "s", "b"), QStringLiteral("x"));
}

void TstIniStore::refusedWritesLeaveFileAlone()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QVERIFY(!ini::write(folder.file("missing/t.ini"), "s", "k", "v"));
    QVERIFY(!QFile::exists(folder.file("missing/t.ini")));

    QDir(folder.path()).mkdir("dir.ini");
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
