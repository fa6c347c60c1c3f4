// The Unicode text box: text unchanged, CR line ends, font, size, colour, and that
// the program's font name really draws Chinese characters.
#include "core/app_state.h"
#include "core/chinese_font.h"
#include "support/test_folder.h"
#include "ui/unicode_text_box.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

using namespace tavi;
using namespace tavi::test;

class TstUnicodeTextBox : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void textIsShownUnchanged_data() { rowsOf("text", {"你好，朋友！", "nǐ hǎo lǜ", "𠀀 😀"}); }
    void textIsShownUnchanged();
    void multiLineKeepsCrLineEnds();
    void fontSizeColourAndSignal();
    void chineseFontDrawsChinese();
};

void TstUnicodeTextBox::textIsShownUnchanged()
{
    QFETCH(QString, text);
    UnicodeTextBox single;
    single.setText(text);
    QCOMPARE(single.text(), text);
    QCOMPARE(single.findChild<QLineEdit*>()->text(), text);
    UnicodeTextBox multi(nullptr, UnicodeTextBox::Lines::Multi);
    multi.setText(text);
    QCOMPARE(multi.text(), text);
}

void TstUnicodeTextBox::multiLineKeepsCrLineEnds()
{
    UnicodeTextBox box(nullptr, UnicodeTextBox::Lines::Multi);
    box.setText(QStringLiteral("CTR + PINYIN\r1 + ni3 + 你\r"));
    QCOMPARE(box.text(), QStringLiteral("CTR + PINYIN\r1 + ni3 + 你\r"));
    QCOMPARE(box.findChild<QPlainTextEdit*>()->document()->blockCount(), 3);
    box.setText(QStringLiteral("a\r\nb\nc"));
    QCOMPARE(box.text(), QStringLiteral("a\rb\rc"));
}

void TstUnicodeTextBox::fontSizeColourAndSignal()
{
    UnicodeTextBox box;
    QSignalSpy changed(&box, &UnicodeTextBox::textChanged);
    box.setFontName(QStringLiteral("DejaVu Sans"));
    box.setFontSize(13);
    box.setTextColor(QColor(0, 0, 255));
    QCOMPARE(box.fontSize(), 13.0);
    QCOMPARE(box.findChild<QLineEdit*>()->palette().color(QPalette::Text), QColor(0, 0, 255));
    box.setFontSize(0); // ignored
    QCOMPARE(box.fontSize(), 13.0);
    box.setText(QStringLiteral("好"));
    QCOMPARE(changed.count(), 1);
    QTest::keyClicks(box.findChild<QLineEdit*>(), QStringLiteral("x"));
    QCOMPARE(changed.count(), 2);
}

void TstUnicodeTextBox::chineseFontDrawsChinese()
{
    TestProgramFolder folder(TestProgramFolder::Contents::Empty);
    QVERIFY(QFile::copy(QStringLiteral(TAVI_FONT_FILE), folder.file("chars.dat")));
    UnicodeTextBox box; // adds the folder's font on first use
    box.setFontName(ChineseFont);
    box.setFontSize(24);
    const QFont font = box.findChild<QLineEdit*>()->font();
    QVERIFY2(QFontInfo(font).family().startsWith(QLatin1String("AR PL UMing")),
             qPrintable(QFontInfo(font).family()));
    QVERIFY(QFontMetrics(font).inFont(QChar(0x4F60))); // 你
}

QTEST_MAIN(TstUnicodeTextBox)
#include "tst_unicode_text_box.moc"
