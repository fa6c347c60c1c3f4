// Splitting pinyin into words and syllables, including the quirks that decide which
// file names are tried.
#include "sound/pinyin_parser.h"

#include <QTest>

using namespace tavi;

namespace {

// Words as "text=syllable,syllable|text=..." so that a table row reads at a glance;
// an empty syllable shows as "()", a word without syllables as "text=".
QString describe(const QList<PinyinWord>& words)
{
    QStringList parts;
    for (const PinyinWord& w : words) {
        QStringList syllables;
        for (const QString& s : w.syllables)
            syllables.append(s.isEmpty() ? QStringLiteral("()") : s);
        parts.append(w.text + u'=' + syllables.join(u','));
    }
    return parts.join(u'|');
}

} // namespace

class TstPinyinParser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void words_data();
    void words();
    void noLimitOnWordsOrSyllables();
};

void TstPinyinParser::words_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words");
    // clang-format off
    QTest::newRow("sample text")                      << "Ni3hao3 wo3 de0 ge1ge0"
                                                      << "Ni3hao3=Ni3,hao3|wo3=wo3|de0=de0|ge1ge0=ge1,ge0";
    QTest::newRow("without tone digit")               << "ma"                     << "ma=ma";
    QTest::newRow("toneless tail dropped")            << "ni3hao"                 << "ni3=ni3";
    QTest::newRow("toneless tail before a separator") << "ni3hao wo3"             << "ni3=ni3|wo3=wo3";
    QTest::newRow("digits 5 to 9 are letters")        << "ma5 ni9 ma5ma1"
                                                      << "ma5=ma5|ni9=ni9|ma5ma1=ma5ma1";
    QTest::newRow("a tab is a letter")                << "ni3\thao3"              << "ni3\thao3=ni3,\thao3";
    QTest::newRow("ende is a word")                   << "ende wo3"               << "ende=ende|wo3=wo3";
    QTest::newRow("u with diaeresis")                 << "lü4 nv3"                << "lü4=lü4|nv3=nv3";
    QTest::newRow("all five tones")                   << "ma1ma2ma3ma4ma0"
                                                      << "ma1ma2ma3ma4ma0=ma1,ma2,ma3,ma4,ma0";
    QTest::newRow("hyphen")                           << "ni3-hao3"               << "ni3=ni3|hao3=hao3";
    QTest::newRow("underscore")                       << "ni3_hao3"               << "ni3=ni3|hao3=hao3";
    QTest::newRow("space")                            << "ni3 hao3"               << "ni3=ni3|hao3=hao3";
    QTest::newRow("separator after a toneless one")   << "ma-"                    << "ma-=ma-|=";
    QTest::newRow("leading space")                    << " ni3"                   << "=()|ni3=ni3";
    QTest::newRow("two spaces")                       << "ni3  hao3"              << "ni3=ni3|hao3=(),hao3";
    QTest::newRow("spaced hyphen")                    << "ni3 - hao3"
                                                      << "ni3=ni3|-hao3=-,(),hao3";
    QTest::newRow("trailing separator")               << "ni3 "                   << "ni3=ni3|=";
    QTest::newRow("empty text")                       << ""                       << "=";
    QTest::newRow("only a space")                     << " "                      << "=()|=";
    QTest::newRow("digit after a separator")          << "ni3 3 hao3"             << "ni3=ni3|3hao3=3,hao3";
    // clang-format on
}

void TstPinyinParser::words()
{
    QFETCH(QString, text);
    QFETCH(QString, words);
    QCOMPARE(describe(parsePinyin(text)), words);
}

void TstPinyinParser::noLimitOnWordsOrSyllables()
{
    QStringList words;
    for (int i = 0; i < 25; ++i)
        words.append(QStringLiteral("w%1a1").arg(QChar(u'a' + i)));
    const QString longWord = QStringLiteral("yi1er4san1si4wu3liu4qi1ba1jiu3shi2");
    const QList<PinyinWord> parsed = parsePinyin(words.join(u' ') + u' ' + longWord);
    QCOMPARE(parsed.size(), 26);
    QCOMPARE(parsed[24].text, QString("wya1"));
    QCOMPARE(parsed[25].syllables.size(), 10);
    QCOMPARE(parsed[25].syllables.last(), QString("shi2"));
}

QTEST_APPLESS_MAIN(TstPinyinParser)
#include "tst_pinyin_parser.moc"
