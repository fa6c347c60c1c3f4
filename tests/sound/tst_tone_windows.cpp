// Pinyin as the display setting says, in every trainer: the flashcards, the automatic
// flashcards, the brainwash's floating window and the memory game show the stored form,
// or tone marks and the tones' colours; a change of the setting shows open windows anew.
#include "brainwash/brain_window.h"
#include "brainwash/float_window.h"
#include "core/app_state.h"
#include "sound/pinyin_display.h"
#include "support/window_test.h"
#include "training/auto_flash_window.h"
#include "ui/unicode_text_box.h"

#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>

using namespace tavi;
using namespace tavi::test;

namespace {

const QByteArray kMarked = "display_pinyin_marks=1\ndisplay_tone_colours=3\ndisplay_tone_chars=1\n";

// Whether the widget paints in a green tint: the third tone of the MDBG scheme. Small
// glyphs are smoothed into the background, so the tint counts, not the exact colour; no
// other colour of these windows (black, grey, red, blue, cyan) has it.
bool paints(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() - std::max(c.red(), c.blue()) > 40)
                return true;
        }
    return false;
}

// "pinyin green|green": the pinyin shown, and whether it and the characters are green.
QString shown(const QString& pinyin, bool pinyinGreen, bool charactersGreen)
{
    return pinyin + (pinyinGreen ? " green" : "") + u'|' + (charactersGreen ? "green" : "");
}

} // namespace

class TstToneWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTrainer_data();
    void everyTrainer();
    void flashcardsToggleAndLiveChange();
    void screenshots();
};

void TstToneWindows::everyTrainer_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("expected");
    QTest::newRow("as stored") << QByteArray() << "ni3hao3|";
    QTest::newRow("marks and colours") << kMarked << "nǐhǎo green|green";
    QTest::newRow("colours, digits kept, characters plain")
        << QByteArray("display_tone_colours=3\n") << "ni3hao3 green|";
}

void TstToneWindows::everyTrainer()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, expected);
    const QString tag = QString(QTest::currentDataTag()).replace(' ', '_').remove(',');
    {
        WindowTest t;
        t.train("flashcard", kTrainingWords.first(1), settings);
        t.click("bt_start");
        QCOMPARE(shown(t.text("txt_pinyin"), paints(t.child("txt_pinyin")), paints(t.child("unitext1"))),
                 expected);
        t.screenshot("tone_flashcard_" + tag);
    }
    {
        WindowTest t;
        t.train("autoflash", kTrainingWords.first(1), settings);
        t.click("bt_start");
        t.child<QTimer>("Timer1")->stop();
        for (int i = 0; i < 20 && t.text("txt_pinyin").isEmpty(); ++i)
            qobject_cast<AutoFlashWindow*>(t.window)->Timer1_Timer();
        QCOMPARE(shown(t.text("txt_pinyin"), paints(t.child("txt_pinyin")), paints(t.child("txt_chin"))),
                 expected);
    }
    {
        WindowTest t;
        t.train("frm_brain", kTrainingWords.first(1), settings + "brainwash_sound=0\n");
        auto* brain = qobject_cast<BrainWindow*>(t.window);
        t.click("bt_start");
        FloatWindow* f = brain->floatWindow();
        brain->Timer1_Timer(); // the characters
        const bool charactersGreen = paints(f);
        for (int i = 0; i < 5 && f->box()->fontSize() != 10; ++i)
            brain->Timer1_Timer(); // on to the pinyin
        QVERIFY(f->grab().save(TAVI_SCREENSHOT_DIR "/tone_float_" + tag + ".png"));
        QCOMPARE(shown(f->box()->text(), paints(f), charactersGreen), expected);
    }
    {
        WindowTest t;
        t.train("frm_game1", kTrainingWords.first(1), settings);
        t.child<QRadioButton>("op_pinyin")->click();
        QCOMPARE(shown(t.text("tu1_0"), paints(t.child("tu1_0")), false).section(u'|', 0, 0),
                 expected.section(u'|', 0, 0)); // the faces show no characters here
    }
}

// The flashcards' quick toggle stores the setting for every window; any change of the
// setting shows the open card anew.
void TstToneWindows::flashcardsToggleAndLiveChange()
{
    WindowTest t;
    t.train("flashcard", kTrainingWords.first(1), "display_tone_colours=3\n");
    t.click("bt_start");
    QCOMPARE(t.text("txt_pinyin"), QString("ni3hao3"));
    QTest::mouseClick(t.box("ch_marks"), Qt::LeftButton, {}, QPoint(6, t.box("ch_marks")->height() / 2));
    QCOMPARE(t.text("txt_pinyin"), QString("nǐhǎo"));
    QVERIFY(paints(t.child("txt_pinyin")));
    QCOMPARE(t.stored("display_pinyin_marks"), QString("1"));

    PinyinDisplayNotifier::instance().set(
        {.marks = true, .scheme = PinyinDisplay::Off, .characters = false, .custom = {}});
    QCOMPARE(t.text("txt_pinyin"), QString("nǐhǎo"));
    QVERIFY(!paints(t.child("txt_pinyin")));
}

// The card, the floating words and the editor in each scheme, in both languages.
void TstToneWindows::screenshots()
{
    for (const char* language : {"ENGLISH", "GERMAN"})
        for (const int scheme : {PinyinDisplay::Pleco, PinyinDisplay::Hanping, PinyinDisplay::Mdbg}) {
            WindowTest t;
            LanguageSection = QString::fromLatin1(language);
            t.train("flashcard", {{"2", "zhong1guo2 xie4xie0", "中国谢谢", "China, thanks", "1", ""}},
                    "display_pinyin_marks=1\ndisplay_tone_chars=1\nbrainwash_sound=0\ndisplay_tone_colours=" +
                        QByteArray::number(scheme));
            const QString name = QString("_%1_%2").arg(scheme).arg(LanguageSection.toLower());
            t.click("bt_start");
            t.screenshot("tone_flashcard" + name);
            auto* brain = qobject_cast<BrainWindow*>(t.open("frm_brain"));
            t.click("bt_start");
            for (int i = 0; i < 4; ++i)
                brain->Timer1_Timer(); // on to the pinyin
            QVERIFY(brain->floatWindow()->grab().save(TAVI_SCREENSHOT_DIR "/tone_float" + name + ".png"));
            t.open("frm_editvoc");
            t.screenshot("tone_editor" + name);
            LanguageSection = QStringLiteral("ENGLISH");
        }
}

QTEST_MAIN(TstToneWindows)
#include "tst_tone_windows.moc"
