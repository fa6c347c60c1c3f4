// Pinyin as shown: tone marks by the standard rules, runs of one tone each for the
// colours, characters coloured only when they match the syllables, and the way back
// from marks to digits.
#include "sound/pinyin_display.h"
#include "vocabulary/voc_check.h"

#include <QTest>
#include <algorithm>
#include <cmath>

using namespace tavi;

class TstPinyinDisplay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void marks_data();
    void marks();
    void everySyllableInEveryToneComesBack();
    void characters_data();
    void characters();
    void colours();
};

void TstPinyinDisplay::marks_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("tones"); // one digit per run, 5 neutral; empty: not pinyin
    QTest::addColumn<QString>("back");  // the shown text with digits again; "=": as stored
    // clang-format off
    QTest::newRow("a before all")        << "hao3"          << "hǎo"        << "3"    << "=";
    QTest::newRow("e")                   << "xue2mei4"      << "xuémèi"     << "24"   << "=";
    QTest::newRow("o of ou")             << "dou1"          << "dōu"        << "1"    << "=";
    QTest::newRow("last vowel: iu, ui")  << "liu2shui3"     << "liúshuǐ"    << "23"   << "=";
    QTest::newRow("ü as ü, v, u:")       << "lü4 lv4 nu:3"  << "lǜ lǜ nǚ"   << "443"  << "lv4 lv4 nv3";
    QTest::newRow("capital ü")           << "Lv3"           << "Lǚ"         << "3"    << "=";
    QTest::newRow("neutral 0 and 5")     << "xie4xie0 ma5"  << "xièxie ma"  << "455"  << "xie4xie0 ma0";
    QTest::newRow("erhua")               << "yi1dian3r"     << "yīdiǎnr"    << "13"   << "=";
    QTest::newRow("capitals kept")       << "Bei3jing1"     << "Běijīng"    << "31"   << "=";
    QTest::newRow("capital marked")      << "Ai4"           << "Ài"         << "4"    << "=";
    QTest::newRow("separators kept")     << "ni3 hao3, yi1-ge4" << "nǐ hǎo, yī-gè" << "3314" << "=";
    QTest::newRow("apostrophe inserted") << "xi1an1"        << "xī'ān"      << "11"   << "xi1'an1";
    QTest::newRow("before e and o too")  << "Tian1an1men2 hai3ou1 ke3e4" << "Tiān'ānmén hǎi'ōu kě'è" << "1123134"
                                         << "Tian1'an1men2 hai3'ou1 ke3'e4";
    QTest::newRow("apostrophe kept")     << "ping2'an1"     << "píng'ān"    << "21"   << "=";
    QTest::newRow("the longest syllable first") << "xian4zai4 Zhong1guo2" << "xiànzài Zhōngguó" << "4412" << "=";
    QTest::newRow("a translation")       << "to go"         << "to go"      << ""     << "=";
    QTest::newRow("a syllable without digit") << "ni3hao" << "ni3hao"       << ""     << "";
    QTest::newRow("no tone 6")           << "ni6"           << "ni6"        << ""     << "";
    QTest::newRow("digits alone")        << "3"             << "3"          << ""     << "=";
    QTest::newRow("characters")          << "你好"          << "你好"       << ""     << "=";
    QTest::newRow("empty")               << ""              << ""           << ""     << "=";
    // clang-format on
}

void TstPinyinDisplay::marks()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, tones);
    QFETCH(QString, back);
    for (const bool marked : {true, false}) {
        const ShownPinyin p = showPinyin(stored, marked);
        QCOMPARE(p.text, marked ? shown : stored);
        QString runTones;
        for (const ToneRun& r : p.runs) {
            runTones += QString::number(r.tone);
            // Each run is one syllable of the text shown, with its digit when digits show.
            const QString piece = p.text.mid(r.start, r.length);
            QVERIFY2(!piece.isEmpty() && piece[0].isLetter(), qPrintable(piece));
            QCOMPARE(std::any_of(piece.begin(), piece.end(), [](QChar c) { return c.isDigit(); }), !marked);
        }
        QCOMPARE(runTones, tones);
    }
    if (!back.isEmpty())
        QCOMPARE(pinyinWithDigits(shown), back == "=" ? stored : back);
}

void TstPinyinDisplay::everySyllableInEveryToneComesBack()
{
    QVERIFY(mandarinSyllables().size() > 400);
    for (const QString& syllable : mandarinSyllables())
        for (const char* tone : {"1", "2", "3", "4", "0"}) {
            const QString stored = syllable + tone;
            const QString marked = pinyinWithMarks(stored);
            QVERIFY2(marked != stored, qPrintable(stored));
            QCOMPARE(pinyinWithDigits(marked), stored);
        }
}

void TstPinyinDisplay::characters_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<QString>("runs"); // start:length:tone
    // clang-format off
    QTest::newRow("one each")                << "你好"   << "0:1:3 1:1:3";
    QTest::newRow("punctuation has no tone") << "你, 好" << "0:1:3 3:1:3";
    QTest::newRow("outside the BMP")         << "𠀀好"   << "0:2:3 2:1:3";
    QTest::newRow("more characters")         << "你好吗" << "";
    QTest::newRow("fewer characters")        << "你"     << "";
    // clang-format on
}

void TstPinyinDisplay::characters()
{
    QFETCH(QString, characters);
    QFETCH(QString, runs);
    QStringList got;
    for (const ToneRun& r : characterRuns(characters, showPinyin("ni3hao3", true).runs))
        got << QString("%1:%2:%3").arg(r.start).arg(r.length).arg(r.tone);
    QCOMPARE(got.join(u' '), runs);
}

// Every scheme is readable on the light backgrounds of the windows (WCAG contrast of 3:1
// for large text), and the colours survive their stored form.
void TstPinyinDisplay::colours()
{
    const auto luminance = [](quint32 rgb) {
        double l = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double c = ((rgb >> (16 - 8 * i)) & 0xff) / 255.0;
            l += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return l;
    };
    for (const int scheme : {PinyinDisplay::Pleco, PinyinDisplay::Hanping, PinyinDisplay::Mdbg})
        for (const quint32 colour : PinyinDisplay::schemeColours(scheme))
            for (const quint32 background : {0xffffffu, 0xefefefu})
                QVERIFY2((luminance(background) + 0.05) / (luminance(colour) + 0.05) >= 3.0,
                         qPrintable(QString("scheme %1: %2").arg(scheme).arg(colour, 6, 16)));

    const ToneColours mdbg = PinyinDisplay::schemeColours(PinyinDisplay::Mdbg);
    QCOMPARE(toneColoursText(mdbg), QString("#ff0000,#ba7c00,#009e00,#0000ff,#000000"));
    QCOMPARE(toneColoursFromText(toneColoursText(mdbg)), mdbg);
    for (const char* bad : {"", "#ff0000", "#ff0000,#ba7c00,#009e00,#0000ff,red", "1,2,3,4,5"})
        QCOMPARE(toneColoursFromText(bad), PinyinDisplay::schemeColours(PinyinDisplay::Pleco));

    QCOMPARE(toneHtml("a<b", {{0, 1, 1}}, mdbg), QString("<span style=\"color:#ff0000\">a</span>&lt;b"));
}

QTEST_APPLESS_MAIN(TstPinyinDisplay)
#include "tst_pinyin_display.moc"
