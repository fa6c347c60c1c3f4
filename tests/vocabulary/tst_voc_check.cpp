// The vocabulary check over a small file that holds one case of each finding, and the
// syllable list it shares with the sound pack.
#include "core/app_state.h"
#include "sound/pinyin_display.h"
#include "support/test_folder.h"
#include "vocabulary/dictionary.h"
#include "vocabulary/voc_check.h"

#include <QDir>
#include <QTest>

using namespace tavi;
using namespace tavi::test;
using Kind = Finding::Kind;

class TstVocCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachKindOfTypo();
    void theSoundPackHasEverySyllable();
    void againstTheDictionary();
};

void TstVocCheck::eachKindOfTypo()
{
    const QString text = "CTR + PINYIN + CHAR + TRANSLATION + CHAPTER + SELECTION\r\n"
                         "1 + ni3hao3 + 你好 + hello + 1 + \r\n"     // 2 clean
                         "1 + nin2 + 您 + you + 1 + \r\n"            // 3 no recording
                         "1 + xie4xei0 + 谢谢 + thanks + 1 + \r\n"   // 4 not a syllable
                         "1 + zai jian4 + 再见 + goodbye + 1 + \r\n" // 5 no tone
                         "1 + lü4 + 绿色 + green + 1 + \r\n"         // 6 count
                         "\r\n"
                         "bu4 ke4qi0\r\n"                               // 8 no "+"
                         "1 +  + 好 + good + 1 + \r\n"                  // 9 no pinyin
                         "2 + Ni3hao3 + 你好 + hi + 2 + x\r\n"          // 10 the same as 2
                         "1 + yi1dian3r + 一点儿 + a little + 1 + \r\n" // 11 erhua, clean
                         "1 + yi1dianr3 + 一点儿 + a little + 3 + \r\n" // 12 fused erhua
                         "1 + ma1 + 妈， + mum + 1 + \r\n"              // 13 punctuation left out
                         "1 + ma5 + 吗 + question + 1 + \r\n";          // 14 a dictionary's neutral tone
    const QSet<QString> recordings = {"ni3.wav",   "hao3.wav",   "ni3hao3.wav", "zai4.wav",
                                      "jian4.wav", "lü4.wav",    "hao3.wav",    "yi1.wav",
                                      "dian3.wav", "dianr3.wav", "ma1.wav",     "xie4.wav"};
    const QList<Finding> found =
        checkVocText(text, [&](const QString& name) { return recordings.contains(name.toLower()); });
    const QList<Finding> expected = {
        {Kind::NoRecording, 3, "您", {"nin2"}},
        {Kind::UnknownSyllable, 4, "谢谢", {"xei0"}},
        {Kind::NoTone, 5, "再见", {"zai"}},
        {Kind::CountMismatch, 6, "绿色", {"1", "2"}},
        {Kind::NoPlus, 8, "", {}},
        {Kind::EmptyPinyin, 9, "好", {}},
        {Kind::Duplicate, 10, "你好", {"2"}},
        {Kind::NoTone, 14, "吗", {"ma5"}},
    };
    QCOMPARE(found, expected);
    // Messages in the program's languages; a deleted header leaves the first word a word.
    TestProgramFolder folder;
    LanguageSection = "GERMAN";
    QCOMPARE(findingText(found[3]), german("check_count").arg("1", "2"));
    // With tone marks on, a syllable is named as the file has it and as the learner reads it.
    PinyinDisplayNotifier::instance().set({.marks = true, .scheme = 0, .characters = false, .custom = {}});
    QCOMPARE(findingText(found[0]), german("check_no_recording").arg("nin2 (nín)"));
    PinyinDisplayNotifier::instance().set({});
    QCOMPARE(checkVocText("1 + xx1 + 好 + good + 1 + ").size(), 1);
}

void TstVocCheck::theSoundPackHasEverySyllable()
{
    const QDir pack(TAVI_SOUND_PACK_DIR);
    if (!pack.exists(".pack-stamp"))
        QSKIP("no sound pack in this build");
    QSet<QString> inPack;
    for (const QString& f : pack.entryList({"*1.wav"}, QDir::Files)) {
        const QString base = f.chopped(5);
        if (!base.contains(u'ü') && !(base.endsWith("ue") && (base[0] == u'l' || base[0] == u'n')))
            inPack.insert(base);
    }
    QCOMPARE(inPack, mandarinSyllables());
}

// With the dictionary: a wrong tone, a neutral tone against a written one (milder), a word
// it does not know, traditional characters, a word with two readings, case and blanks.
void TstVocCheck::againstTheDictionary()
{
    TestProgramFolder folder;
    buildSmallDictionary(folder.path());
    const Dictionary* dictionary = programDictionary();
    QVERIFY(dictionary);
    const QString text = "1 + ni3hao4 + 你好 + hello + 1 + \r"      // 1 a wrong tone
                         "1 + xie4xie4 + 谢谢 + thanks + 1 + \r"    // 2 a neutral tone written
                         "1 + xie4 xie0 + 謝謝 + thanks + 1 + \r"   // 3 traditional, clean
                         "1 + zai4jian0 + 再见 + bye + 1 + \r"      // 4 a written tone left neutral
                         "1 + Dong1xi0 + 东西 + thing + 1 + \r"     // 5 one of two readings, clean
                         "1 + dong3xi1 + 东西 + east-west + 1 + \r" // 6 neither reading
                         "1 + hao3 + 好 + good + 1 + \r"            // 7 unknown to this dictionary
                         "1 + xing3 + 行 + ok + 1 + \r";            // 8 wrong
    const QList<Finding> found = checkVocText(text, {}, dictionary);
    const QList<Finding> expected = {
        {Kind::DictionaryPinyin, 1, "你好", {"ni3hao3"}},
        {Kind::DictionaryNeutral, 2, "谢谢", {"xie4xie0"}},
        {Kind::DictionaryNeutral, 4, "再见", {"zai4jian4"}},
        {Kind::DictionaryPinyin, 6, "东西", {"dong1xi1 / dong1xi0"}},
        {Kind::DictionaryPinyin, 8, "行", {"hang2 / heng2 / xing2"}},
    };
    QCOMPARE(found, expected);
    QCOMPARE(findingText(found[0]), english("check_dictionary").arg("ni3hao3"));
}

QTEST_GUILESS_MAIN(TstVocCheck)
#include "tst_voc_check.moc"
