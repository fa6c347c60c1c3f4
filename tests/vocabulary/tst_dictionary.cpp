// The dictionary over an index built from a few real CC-CEDICT lines: reading the lines,
// the look-ups by characters, pinyin and English, and refusing damaged index files.
#include "core/app_state.h"
#include "vocabulary/dictionary.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace tavi;

namespace {

const char* const Data = "# CC-CEDICT\n"
                         "# License: Creative Commons Attribution-ShareAlike 4.0 International License\n"
                         "11區 11区 [Shi2 yi1 Qu1] /(ACG) Japan (Area 11)/\n"
                         "上水 上水 [shang4 shui3] /upper reaches (of a river)/to water (plants)/\n"
                         "AA制 AA制 [AA zhi4] /to split the bill; to go Dutch/\n"
                         "DNA鑒定 DNA鉴定 [D N A jian4 ding4] /DNA test; DNA testing/\n"
                         "你好 你好 [ni3 hao3] /hello; hi/\n"
                         "們 们 [men5] /plural marker for pronouns/\n"
                         "女 女 [nu:3] /female/woman/daughter/\n"
                         "女兒 女儿 [nu:3 er2] /daughter/\n"
                         "水 水 [shui3] /water/(after a name) ... River/\n"
                         "男人 男人 [nan2 ren2] /a man/a male/men/\n"
                         "行 行 [hang2] /(bound form) row; line/\n"
                         "行 行 [heng2] /used in 道行[dao4 heng2]/\n"
                         "行 行 [xing2] /(bound form) to walk; to go; to travel/capable; competent/\n"
                         "行人 行人 [xing2 ren2] /pedestrian/traveler on foot/\n"
                         "行李 行李 [xing2 li5] /luggage/\n"
                         "行李箱 行李箱 [xing2 li5 xiang1] /suitcase/\n"
                         "西瓜 西瓜 [xi1 gua1] /watermelon/\n"
                         "銀行 银行 [yin2 hang2] /bank/\n"
                         "電腦 电脑 [dian4 nao3] /computer/\n"
                         "行 行 [xing2] /to wa\n"       // cut
                         "\x01\xff\xfe garbage \x02\n"; // garbage

QString show(const QList<DictEntry>& entries)
{
    QStringList shown;
    for (const DictEntry& e : entries)
        shown << e.simplified + u':' + e.pinyin;
    return shown.join(u' ');
}

} // namespace

class TstDictionary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void readsLines_data();
    void readsLines();
    void looksUp_data();
    void looksUp();
    void findsEveryReadingOfCharacters();
    void refusesDamagedIndexes_data();
    void refusesDamagedIndexes();
    void opensTheProgramFoldersDictionary();

private:
    QTemporaryDir m_dir;
    QString m_index;
    Dictionary m_dictionary;
};

void TstDictionary::initTestCase()
{
    const QString data = m_dir.filePath(QStringLiteral("cedict_ts.u8"));
    QFile f(data);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(Data) > 0);
    f.close();
    m_index = m_dir.filePath(QStringLiteral("cedict.idx"));
    QString error;
    QVERIFY2(buildDictionaryIndex(data, m_index, &error), qPrintable(error));
    QVERIFY2(m_dictionary.open(m_index, &error), qPrintable(error));
    QCOMPARE(m_dictionary.size(), 19);
    QFile built(m_index);
    QVERIFY(built.open(QIODevice::ReadOnly));
    QVERIFY(built.readAll().contains("# License: Creative Commons Attribution-ShareAlike"));

    QVERIFY(!buildDictionaryIndex(m_dir.filePath(QStringLiteral("none.u8")), m_index + u'x', &error));
    QVERIFY(error.contains(QLatin1String("none.u8")));
}

void TstDictionary::readsLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("entry"); // traditional|simplified|pinyin|senses, or empty
    const auto row = [](const char* name, const char* line, const char* entry) {
        QTest::newRow(name) << QString::fromUtf8(line) << QString::fromUtf8(entry);
    };
    row("plain", "你好 你好 [ni3 hao3] /hello; hi/", "你好|你好|ni3hao3|hello; hi");
    row("differing forms", "電腦 电脑 [dian4 nao3] /computer/", "電腦|电脑|dian4nao3|computer");
    row("name capitals", "11區 11区 [Shi2 yi1 Qu1] /Japan/", "11區|11区|Shi2yi1Qu1|Japan");
    row("u:", "女兒 女儿 [nu:3 er2] /daughter/", "女兒|女儿|nü3er2|daughter");
    row("U: in capitals", "呂 吕 [LU:3] /surname Lü/", "呂|吕|LÜ3|surname Lü");
    row("neutral tone", "行李 行李 [xing2 li5] /luggage/", "行李|行李|xing2li0|luggage");
    row("unknown reading", "々 々 [xx5] /iteration mark/", "々|々|xx0|iteration mark");
    row("letters", "AA制 AA制 [AA zhi4] /to go Dutch/", "AA制|AA制|AA zhi4|to go Dutch");
    row("a letter", "3D打印 3D打印 [san1 D da3 yin4] /x/", "3D打印|3D打印|san1 D da3yin4|x");
    row("letters spelled", "DNA鑒定 DNA鉴定 [D N A jian4 ding4] /x/", "DNA鑒定|DNA鉴定|DNA jian4ding4|x");
    row("punctuation", "一不做，二不休 一不做，二不休 [yi1 bu4 zuo4 , er4 bu4 xiu1] /x/",
        "一不做，二不休|一不做，二不休|yi1bu4zuo4 er4bu4xiu1|x");
    row("erhua", "一點兒 一点儿 [yi1 dian3 r5] /a bit/", "一點兒|一点儿|yi1dian3r|a bit");
    row("several senses, CR LF", "行人 行人 [xing2 ren2] /pedestrian/ traveler on foot /\r\n",
        "行人|行人|xing2ren2|pedestrian/traveler on foot");
    row("comment", "# CC-CEDICT", "");
    row("cut in the senses", "行 行 [xing2] /to walk/capa", "");
    row("cut in the reading", "行 行 [xi", "");
    row("no reading", "行 行 /to walk/", "");
    row("no sense", "行 行 [xing2] //", "");
    row("control characters", "行\x01 行 [xing2] /to walk/", "");
}

void TstDictionary::readsLines()
{
    QFETCH(QString, line);
    QFETCH(QString, entry);
    const std::optional<DictEntry> e = parseCedictLine(line);
    QString shown;
    if (e)
        shown = e->traditional + u'|' + e->simplified + u'|' + e->pinyin + u'|' + e->senses.join(u'/');
    QCOMPARE(shown, entry);
}

void TstDictionary::looksUp_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("found"); // simplified:pinyin, best first
    const auto row = [](const char* query, const char* found, int limit = 200) {
        QTest::addRow("%s %d", query, limit) << QString::fromUtf8(query) << limit << QString::fromUtf8(found);
    };
    // Exact headword in file order, then longer headwords by length; never 银行.
    row("行", "行:hang2 行:heng2 行:xing2 行人:xing2ren2 行李:xing2li0 行李箱:xing2li0xiang1");
    row("電腦", "电脑:dian4nao3");
    row("AA制", "AA制:AA zhi4");
    row("nihao", "你好:ni3hao3");
    row("ni3hao3", "你好:ni3hao3");
    row("ni hao", "你好:ni3hao3");
    row("NI3 HAO3", "你好:ni3hao3");
    row("nǐhǎo", "你好:ni3hao3");
    row("nīhao", "");
    row("nv3", "女:nü3 女儿:nü3er2");
    row("nǚ", "女:nü3 女儿:nü3er2");
    row("shi2yi1qu1", "11区:Shi2yi1Qu1");
    row("xing", "行:xing2 行李:xing2li0 行人:xing2ren2 行李箱:xing2li0xiang1");
    row("xing2li5", "行李:xing2li0 行李箱:xing2li0xiang1");
    row("dna", "DNA鉴定:DNA jian4ding4");
    // Pinyin before English; English as whole words in any case, all words of several.
    row("men", "们:men0 男人:nan2ren2");
    row("Water", "水:shui3 上水:shang4shui3"); // a sense that is just the word first
    row("wat", "");
    row("go walk", "行:xing2");
    row("to go", "行:xing2 AA制:AA zhi4");
    row("walk far", "");
    row("行", "行:hang2 行:heng2 行:xing2 行人:xing2ren2", 4);
    row("xing", "行:xing2", 1);
    row("xing", "", 0);
}

void TstDictionary::looksUp()
{
    QFETCH(QString, query);
    QFETCH(int, limit);
    QFETCH(QString, found);
    QCOMPARE(show(m_dictionary.lookup(query, limit)), found);
}

void TstDictionary::findsEveryReadingOfCharacters()
{
    const QList<DictEntry> readings = m_dictionary.byCharacters(QStringLiteral("行"));
    QCOMPARE(show(readings), QStringLiteral("行:hang2 行:heng2 行:xing2"));
    QCOMPARE(readings[2].senses,
             QStringList({"(bound form) to walk; to go; to travel", "capable; competent"}));
    QCOMPARE(m_dictionary.byCharacters(QStringLiteral("電腦")),
             m_dictionary.byCharacters(QStringLiteral("电脑")));
    QVERIFY(m_dictionary.byCharacters(QStringLiteral("行人李")).isEmpty());
}

void TstDictionary::refusesDamagedIndexes_data()
{
    QFile f(m_index);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    QTest::addColumn<QByteArray>("bytes");
    for (const qsizetype at : {qsizetype(0), qsizetype(7), qsizetype(40), whole.size() / 2, whole.size() - 1})
        QTest::addRow("cut at %lld", qlonglong(at)) << whole.first(at);
    QTest::newRow("garbage") << QByteArray(4096, 'x');
    const auto patched = [&](int field, quint32 value) { // a 32-bit field of the header after the magic
        QByteArray bytes = whole;
        qToLittleEndian(value, bytes.data() + 8 + 4 * field);
        return bytes;
    };
    QTest::newRow("other version") << patched(0, 9);
    QTest::newRow("text outside") << patched(6, quint32(whole.size()));    // the text's offset
    QTest::newRow("postings outside") << patched(8 + 5 * 6 - 1, 1u << 30); // the last table's postings
}

void TstDictionary::refusesDamagedIndexes()
{
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(QStringLiteral("damaged.idx"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    f.close();
    Dictionary d;
    QString error;
    QVERIFY(!d.open(path, &error));
    QVERIFY2(error.contains(QLatin1String("damaged.idx")), qPrintable(error));
    QVERIFY(!d.isOpen());
    QVERIFY(d.lookup(QStringLiteral("行")).isEmpty());
}

void TstDictionary::opensTheProgramFoldersDictionary()
{
    QTemporaryDir empty;
    QTemporaryDir full;
    QVERIFY(QFile::copy(m_index, full.filePath(QStringLiteral("cedict.idx"))));
    initProgramPaths(empty.path());
    QString error;
    QVERIFY(!programDictionary(&error));
    QVERIFY(error.contains(QLatin1String("cedict.idx")));
    initProgramPaths(full.path());
    const Dictionary* d = programDictionary(&error);
    QVERIFY(d && d->size() == 19);
    QCOMPARE(programDictionary(), d);
    resetAppState();
}

QTEST_GUILESS_MAIN(TstDictionary)
#include "tst_dictionary.moc"
