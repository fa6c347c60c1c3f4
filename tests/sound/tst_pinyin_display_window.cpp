// The pinyin display window: each choice is in force at once, OK keeps it, every way of
// backing out restores the setting the window opened with; custom colours come from the
// colour chooser.
#include "sound/pinyin_display_window.h"
#include "support/window_test.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocumentFragment>

using namespace tavi;
using namespace tavi::test;

namespace {

struct Choice : WindowTest {
    explicit Choice(const QByteArray& settings = {})
    {
        folder.write("tavi.ini", "[Tavi]\n" + settings);
        QVERIFY(open("frm_pinyindisplay"));
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    QComboBox* colours() const { return child<QComboBox>("cb_colours"); }
    bool marksChosen() const { return child<QRadioButton>("op_marks")->isChecked(); }
    void choose(bool marks, int scheme, bool characters) const
    {
        child<QRadioButton>(marks ? "op_marks" : "op_digits")->click();
        colours()->setCurrentIndex(scheme);
        if (box("ch_tonechars")->isChecked() != characters)
            box("ch_tonechars")->click();
    }
    QString preview() const { return QTextDocumentFragment::fromHtml(text("lbl_preview")).toPlainText(); }
    // marks|scheme|characters in force, then as stored.
    QString setting() const
    {
        const PinyinDisplay& d = pinyinDisplay();
        return QString("%1|%2|%3 ").arg(int(d.marks)).arg(d.scheme).arg(int(d.characters)) +
               stored("display_pinyin_marks") + "|" + stored("display_tone_colours") + "|" +
               stored("display_tone_chars");
    }
};

const QByteArray kPlecoDigits = "display_pinyin_marks=0\ndisplay_tone_colours=1\ndisplay_tone_chars=0\n";

} // namespace

class TstPinyinDisplayWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void liveChoiceKeptOrRestored_data() { rowsOf("how", {"bt_ok", "bt_cancel", "close box"}); }
    void liveChoiceKeptOrRestored();
    void customColoursFromTheChooser();
};

void TstPinyinDisplayWindow::liveChoiceKeptOrRestored()
{
    QFETCH(QString, how);
    const bool kept = how == "bt_ok";
    Choice t(kPlecoDigits);
    QVERIFY(!t.marksChosen());
    QCOMPARE(t.colours()->currentIndex(), int(PinyinDisplay::Pleco));
    QVERIFY(t.box("ch_tonechars")->isEnabled() && !t.box("ch_tonechars")->isChecked());
    QVERIFY(t.preview().contains("ni3hao3"));

    QSignalSpy changed(&PinyinDisplayNotifier::instance(), &PinyinDisplayNotifier::changed);
    t.choose(true, PinyinDisplay::Mdbg, true);
    // In force and stored before the window is left, one notice per change.
    QCOMPARE(changed.count(), 3);
    QCOMPARE(t.setting(), QString("1|3|1 1|3|1"));
    QVERIFY(t.preview().contains("nǐhǎo"));
    // The characters in their syllables' tones: 你 takes MDBG's third tone.
    QVERIFY2(t.text("lbl_preview").contains("color:#009e00\">你<"), qPrintable(t.text("lbl_preview")));

    t.leave(how);
    QVERIFY(!t.window->isVisible());
    const QString expected = kept ? "1|3|1 1|3|1" : "0|1|0 0|1|0";
    QCOMPARE(t.setting(), expected);
    QCOMPARE(changed.count(), kept ? 3 : 4);

    // Opened again, it shows what is in force, and Cancel now goes back to that.
    QVERIFY(t.open("frm_pinyindisplay"));
    QCOMPARE(t.marksChosen(), kept);
    t.choose(!kept, PinyinDisplay::Off, false);
    t.click("bt_cancel");
    QCOMPARE(t.setting(), expected);
}

void TstPinyinDisplayWindow::customColoursFromTheChooser()
{
    Choice t;
    QVERIFY(!t.box("ch_tonechars")->isEnabled()); // nothing to colour while the colours are off
    QList<QColor> asked;
    QList<QColor> answers = {QColor(QRgb(0x123456)), QColor(),
                             QColor(QRgb(0xabcdef))}; // the second cancelled
    qobject_cast<PinyinDisplayWindow*>(t.window)->chooseColour = [&](const QColor& initial, const QString&) {
        asked << initial;
        return answers.takeFirst();
    };
    t.colours()->setCurrentIndex(PinyinDisplay::Custom);
    for (const char* tone : {"bt_tone_0", "bt_tone_1", "bt_tone_4"})
        QTest::mouseClick(t.button(tone), Qt::LeftButton);

    ToneColours expected = PinyinDisplay::schemeColours(PinyinDisplay::Pleco); // before any choice
    QCOMPARE(asked, (QList<QColor>{QColor(expected[0]), QColor(expected[1]), QColor(expected[4])}));
    QVERIFY(t.text("lbl_preview").contains("color:#123456\">zhong1<"));

    // Another scheme greys the buttons but keeps one's own colours for later.
    t.colours()->setCurrentIndex(PinyinDisplay::Hanping);
    QVERIFY(!t.button("bt_tone_0")->isEnabled());
    t.click("bt_ok");
    expected[0] = 0x123456;
    expected[4] = 0xabcdef;
    QCOMPARE(t.stored("display_tone_custom"), toneColoursText(expected));
}

QTEST_MAIN(TstPinyinDisplayWindow)
#include "tst_pinyin_display_window.moc"
