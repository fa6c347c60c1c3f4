// Words in and out: Pleco's flashcard text, delimited text with Anki's header lines, the
// pinyin rules, odd files, duplicates, and the round trips through both exports.
#include "sound/pinyin_display.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_exchange.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace tavi;

Q_DECLARE_METATYPE(tavi::ExportFormat)
Q_DECLARE_METATYPE(tavi::ImportRefusal)

namespace {

// Each word as "line:level|pinyin|characters|translation|chapter|mark", then each
// skipped line as "!line:key".
QString shown(const ImportResult& r)
{
    QStringList out;
    for (const ImportedWord& w : r.words)
        out << QString::number(w.line) + u':' + w.row.cells().join(u'|');
    for (const SkippedLine& s : r.skipped)
        out << QStringLiteral("!%1:%2").arg(s.line).arg(lineProblemKey(s.problem));
    return out.join(u'\n');
}

ImportResult importDetected(const QByteArray& bytes)
{
    const ImportDetection d = detectImport(bytes);
    ImportResult r = d.refusal == ImportRefusal::None ? convertImport(bytes, d.choices) : ImportResult();
    r.refusal = d.refusal == ImportRefusal::None ? r.refusal : d.refusal;
    return r;
}

QByteArray utf16(const QString& text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding).encode(text);
}

// clang-format off
const std::vector<VocRow> Table = {
    {"1", "di4yi1", "#1 第一", "first", "", ""}, // a "#" that must not read as a header line
    {"3", "ni3hao3", "你好", "hello", "Lesson 1", "x"}, {"0", "xie4xie0", "谢谢", "thank you, \"thanks\"", "Lesson 1", ""},
    {"12", "nü3shi4", "女士", "lady; Ms. | madam", "Lesson 2", ""}, {"1", "ma0", "吗", "question particle", "", ""},
    {"2", "Bei3jing1", "北京", "Beijing", "Lesson 2", "x1"},
    {"0", "xi1an1 yi1dian3r", "西安一点儿", "Xi'an, a little ＋ more", "Places and names", "mark"}};
// clang-format on

} // namespace

class TstWordExchange : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void exportedText();
    void import_data();
    void import();
    void everySyllableInEveryTone();
    void oddInput_data();
    void oddInput();
    void duplicates();
    void previewAndFiles();
};

void TstWordExchange::roundTrip_data()
{
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<bool>("marks");
    QTest::newRow("Anki, digits") << ExportFormat::AnkiText << false;
    QTest::newRow("Anki, marks") << ExportFormat::AnkiText << true;
    QTest::newRow("Pleco, digits") << ExportFormat::PlecoText << false;
    QTest::newRow("Pleco, marks") << ExportFormat::PlecoText << true;
}

void TstWordExchange::roundTrip()
{
    QFETCH(ExportFormat, format);
    QFETCH(bool, marks);
    const ImportResult back = importDetected(exportWords(Table, format, marks));
    QCOMPARE(back.refusal, ImportRefusal::None);
    QVERIFY(back.skipped.isEmpty());
    // Pleco's text holds no level or mark, and its export groups the words by chapter.
    const bool pleco = format == ExportFormat::PlecoText;
    const auto fields = [pleco](const std::vector<VocRow>& rows) {
        QStringList out;
        for (const VocRow& r : rows)
            out << (pleco ? QStringList{r[CHAR], r[PINYIN], r[TRANSLATION], r[CHAPTER]} : r.cells())
                       .join(u'|');
        if (pleco)
            out.sort();
        return out;
    };
    QCOMPARE(fields(back.rows()), fields(Table));
}

void TstWordExchange::exportedText()
{
    // clang-format off
    const std::vector<VocRow> rows = {{"2", "ni3hao3", "你好", "say \"hi\"\tthere", "Lesson 1", "x"}, {"0", "ma0", "吗", "", "", ""},
        {"1", "hao3", "好", "good", "B", ""}, {"1", "", "", "", "", ""} /* blank: left out */, {"4", "shi4", "是", "to be", "Lesson 1", ""}};
    // clang-format on
    QCOMPARE(QString::fromUtf8(exportWords(rows, ExportFormat::AnkiText, true)),
             "#separator:tab\n#html:false\n#columns:Characters\tPinyin\tTranslation\tLevel\tMark\tTags\n"
             "#tags column:6\n你好\tnǐhǎo\t\"say \"\"hi\"\"\tthere\"\t2\tx\tLesson_1\n吗\tma0\t\t0\t\t\n"
             "好\thǎo\tgood\t1\t\tB\n是\tshì\tto be\t4\t\tLesson_1\n");
    QCOMPARE(
        QString::fromUtf8(exportWords(rows, ExportFormat::PlecoText, false)),
        "吗\tma0\t\n//Lesson 1\n你好\tni3hao3\tsay \"hi\" there\n是\tshi4\tto be\n//B\n好\thao3\tgood\n");
}

void TstWordExchange::import_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("traditional");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("categories") << "//Lesson 1\n你好\tni3hao3\thello\n//Food/Fruit\n苹果\tping2guo3\tapple" << false
        << "2:0|ni3hao3|你好|hello|Lesson 1|\n4:0|ping2guo3|苹果|apple|Food/Fruit|";
    QTest::newRow("simplified kept") << "汉字[漢字]\than4zi4\tcharacter" << false << "1:0|han4zi4|汉字|character||";
    QTest::newRow("traditional kept") << "汉字[漢字]\than4zi4\tcharacter" << true << "1:0|han4zi4|漢字|character||";
    QTest::newRow("marks and digits") << "//A\n你好\tnǐhǎo\thi\n谢谢\txièxie\tthanks\n女\tnǚ\tw\n号\thao4\tnr" << false
        << "2:0|ni3hao3|你好|hi|A|\n3:0|xie4xie0|谢谢|thanks|A|\n4:0|nü3|女|w|A|\n5:0|hao4|号|nr|A|";
    QTest::newRow("private use")
        << QString::fromUtf16(u"//A\n好\thao3\t\uEAB2good\uEAB3\uEAB1\uEAC1\u800F\u8F00very\uEAC2 \uEAB4fine\uEAB5")
        << false << "2:0|hao3|好|good very fine|A|";
    QTest::newRow("unreadable lines") << "//A\n你好 ni3hao3\n\t\tonly a translation\n好\thao3" << false
        << "4:0|hao3|好||A|\n!2:import_line_no_tab\n!3:import_line_no_word";
    QTest::newRow("CSV quoted")
        << "Hanzi,Pinyin,English\n你好,ni3hao3,\"hello, \"\"hi\"\"\"\n谢谢,xie4xie0,\"thanks\r\nvery much\"\n好,hao3,good" << false
        << "2:0|ni3hao3|你好|hello, \"hi\"||\n3:0|xie4xie0|谢谢|thanks very much||\n5:0|hao3|好|good||";
    QTest::newRow("Anki's header lines")
        << "#separator:Pipe\n#html:true\n#notetype column:1\n#columns:Type|Chinese|Pinyin|Meaning|Tags|Deck\n"
           "#deck column:6\n#tags column:5\n#something else\n"
           "Basic|<b>你好</b>|nǐ hǎo|hello<br>hi &amp; bye&#33;|HSK_1 greetings|Deck1" << false
        << "8:0|ni3 hao3|你好|hello hi & bye!|HSK 1|";
    QTest::newRow("semicolons, roles by content") << "你好;ni3hao3;hello;3\n谢谢;xie4xie0;thanks;1" << false
        << "1:3|ni3hao3|你好|hello||\n2:1|xie4xie0|谢谢|thanks||";
    QTest::newRow("plus, changing column count") << "你好\tni3hao3\thello + hi\n谢谢\txie4xie0\n好\thao3\tgood\tx\ty"
        << false << "1:0|ni3hao3|你好|hello ＋ hi||\n2:0|xie4xie0|谢谢|||\n3:0|hao3|好|good||";
    QTest::newRow("HTML by its look") << "你好,nǐhǎo,hello&nbsp;world<br/>again" << false
        << "1:0|ni3hao3|你好|hello world again||";
    QTest::newRow("no characters, no pinyin") << "Characters\tPinyin\tTranslation\n\t\tonly a translation\n你\tni3\tyou"
        << false << "3:0|ni3|你|you||\n!2:import_line_no_word";
    QTest::newRow("ü written v and u:") << "女\tnv3\twoman\n绿\tlu:4\tgreen\n略\tlve4\tbrief" << false
        << "1:0|nü3|女|woman||\n2:0|lü4|绿|green||\n3:0|lüe4|略|brief||";
    QTest::newRow("level and mark by name") << "Mark,Simplified,Level,Pinyin\nx,你,,ni3\n,好,7,hao3" << false
        << "2:0|ni3|你|||x\n3:7|hao3|好|||";
    // clang-format on
}

void TstWordExchange::import()
{
    QFETCH(QString, text);
    QFETCH(bool, traditional);
    QFETCH(QString, expected);
    ImportDetection d = detectImport(text.toUtf8());
    d.choices.traditional = traditional;
    QCOMPARE(shown(convertImport(text.toUtf8(), d.choices)), expected);
}

void TstWordExchange::everySyllableInEveryTone()
{
    QFile file(QStringLiteral(TAVI_DATA_DIR "/syllables.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    int count = 0; // syllables times tones
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(u'#'))
            continue;
        for (const QString& syllable : line.split(u' ', Qt::SkipEmptyParts))
            for (const char* tone : {"1", "2", "3", "4", "0"}) {
                // After a marked syllable, so that a syllable without a mark is the neutral tone.
                const QString stored = QStringLiteral("hao3 ") + syllable + QLatin1String(tone);
                QCOMPARE(importedPinyin(pinyinWithMarks(stored)), QString(stored).replace(u'v', u'ü'));
                ++count;
            }
    }
    QVERIFY(count > 2000);
}

void TstWordExchange::oddInput_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ImportRefusal>("refusal");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("first");
    // clang-format off
    const QByteArray elf("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0", 20);
    const QByteArray longLine = "长\tchang2\t" + QByteArray(10 << 20, 'a') + "\n好\thao3\tgood\n";
    QTest::newRow("empty") << QByteArray() << ImportRefusal::NoRows << "" << "";
    QTest::newRow("header lines only") << QByteArray("#separator:tab\n#columns:Hanzi\tPinyin\n") << ImportRefusal::NoRows << "" << "";
    QTest::newRow("header row only") << QByteArray("Hanzi,Pinyin,Meaning\r\n") << ImportRefusal::NoRows << "" << "";
    QTest::newRow("binary") << elf.repeated(50) << ImportRefusal::Binary << "" << "";
    QTest::newRow("control bytes") << QByteArray("\x01\x02\x03word\x04\x05\t").repeated(40) << ImportRefusal::Binary << "" << "";
    QTest::newRow("a 10 MB line") << longLine << ImportRefusal::None << "1,2" << "长|chang2";
    QTest::newRow("mixed line ends") << QByteArray("你\tni3\tyou\r\n好\thao3\tgood\r谢\txie4\tthank\n\n吗\tma0\tq\n")
        << ImportRefusal::None << "1,2,3,5" << "你|ni3";
    QTest::newRow("UTF-16 LE without mark") << utf16("你好\tni3hao3\thello\r\n谢谢\txie4xie0\tthanks\r\n", QStringConverter::Utf16LE)
        << ImportRefusal::None << "1,2" << "你好|ni3hao3";
    QTest::newRow("UTF-16 BE with mark") << "\xFE\xFF" + utf16("你好\tnǐhǎo\thello\n", QStringConverter::Utf16BE)
        << ImportRefusal::None << "1" << "你好|ni3hao3";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBF你好\tni3hao3\thello\n") << ImportRefusal::None << "1" << "你好|ni3hao3";
    QTest::newRow("Windows-1252") << QByteArray("Characters\tPinyin\tMeaning\nx\tka1fei1\tcaf\xe9 cr\xe8me\n")
        << ImportRefusal::None << "2" << "x|ka1fei1|café crème";
    // clang-format on
}

void TstWordExchange::oddInput()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ImportRefusal, refusal);
    QFETCH(QString, lines);
    QFETCH(QString, first);
    const ImportResult r = importDetected(bytes);
    QCOMPARE(r.refusal, refusal);
    QStringList found;
    for (const ImportedWord& w : r.words)
        found << QString::number(w.line);
    QCOMPARE(found.join(u','), lines);
    if (!r.words.empty()) {
        const VocRow& row = r.words[0].row;
        QCOMPARE((row[CHAR] + u'|' + row[PINYIN] + u'|' + row[TRANSLATION]).left(first.size()), first);
        QVERIFY(bytes.size() < (10 << 20) || row.view(TRANSLATION).size() == 10 << 20);
    }
}

void TstWordExchange::duplicates()
{
    const std::vector<VocRow> target = {{"1", "ni3hao3", "你好", "hi", "", ""},
                                        {"1", "lv4", "绿", "", "", ""}};
    const QByteArray bytes("你 好\tNi3 Hao3\thi\n谢谢\txie4xie0\tthanks\n绿\tlü4\tgreen\n");
    const ImportDetection d = detectImport(bytes);
    const ImportResult r = convertImport(bytes, d.choices, target);
    QCOMPARE(r.duplicates, 2);
    QCOMPARE(r.words.size(), size_t(3));
    QVERIFY(r.words[0].duplicate && !r.words[1].duplicate && r.words[2].duplicate);
    QCOMPARE(r.rows().size(), size_t(1));
    QCOMPARE(r.rows(true).size(), size_t(3));
}

void TstWordExchange::previewAndFiles()
{
    QByteArray many;
    for (int i = 0; i < 1000; ++i)
        many += "字\tzi4\tword " + QByteArray::number(i) + "\n";
    const ImportDetection d = detectImport(many);
    const ImportResult preview = convertImport(many, d.choices, {}, 10);
    QCOMPARE(preview.words.size(), size_t(10));
    QVERIFY(!preview.complete);
    QCOMPARE(importRecords(many, d.choices, 3).at(2).fields, QStringList({"字", "zi4", "word 2"}));
    QVERIFY(convertImport(many, d.choices).complete);

    QTemporaryDir dir;
    QByteArray bytes;
    QCOMPARE(readImportFile(dir.filePath("missing.txt"), bytes), ImportRefusal::Unreadable);
    QFile large(dir.filePath("large.txt"));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(MaxVocFileSize + 1)); // sparse
    large.close();
    QCOMPARE(readImportFile(large.fileName(), bytes), ImportRefusal::TooLarge);
    QVERIFY(bytes.isEmpty());

    // Anki's lines that name a column's use name it in the preview.
    const ImportDetection anki = detectImport("#separator:tab\n#notetype column:1\n#deck column:2\n"
                                              "#tags column:5\nBasic\tHSK\t你\tni3\tlesson_1\n");
    QCOMPARE(anki.columnNames, QStringList({"Note type", "Deck", "", "", "Tags"}));
    QCOMPARE(anki.choices.roles,
             QList<ColumnRole>({ColumnRole::Ignore, ColumnRole::Ignore, ColumnRole::Characters,
                                ColumnRole::Pinyin, ColumnRole::Chapter}));

    // The program's own files are read, not imported: with the header (UTF-16, as saved)
    // or without it; text whose fields hold a "+" here and there is no such file.
    const QString own = VocHeader + "\r1 + ni3 + 你 + you + 1 + \r";
    QVERIFY(isVocabularyText(QByteArray("\xff\xfe", 2) +
                             QByteArray(reinterpret_cast<const char*>(own.utf16()), own.size() * 2)));
    QVERIFY(isVocabularyText("1 + ni3 + 你 + you + 1 + \n2 + hao3 + 好 + good + 1 + x\n"));
    QVERIFY(!isVocabularyText("你好\tni3hao3\thello + hi\n"));
    QVERIFY(!isVocabularyText("C++,si1,a + b + c + d + e\nsum,he2,all\n"));
    QVERIFY(!isVocabularyText(""));
}

QTEST_GUILESS_MAIN(TstWordExchange)
#include "tst_word_exchange.moc"
