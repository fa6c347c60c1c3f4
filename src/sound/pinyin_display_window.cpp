// The window keeps no copy of the setting it edits, only the one Cancel goes back to:
// every control writes through the notifier and is redrawn from it, so a change made
// elsewhere while the window is open (the flashcards' own toggle) shows here too.
#include "sound/pinyin_display_window.h"

#include "core/app_state.h"
#include "core/chinese_font.h"
#include "core/language.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>

namespace tavi {

namespace {

// Every tone once, the neutral one included, in words a beginner knows.
const QString kSampleCharacters = QStringLiteral("中国 你好 谢谢");
const QString kSamplePinyin = QStringLiteral("zhong1guo2 ni3hao3 xie4xie0");

// Each tone's vowel as its button shows it, beside the swatch: the colour is chosen for
// a tone, and the mark says which one without a word of any language.
const char16_t* const kToneLetters[] = {u"ā", u"á", u"ǎ", u"à", u"a"};

QIcon swatch(quint32 rgb)
{
    QPixmap p(14, 14);
    p.fill(QColor::fromRgb(rgb));
    QPainter painter(&p);
    painter.setPen(QColor(60, 60, 60));
    painter.drawRect(0, 0, 13, 13);
    return QIcon(p);
}

QString previewHtml(const PinyinDisplay& d)
{
    const ShownPinyin pinyin = showPinyin(kSamplePinyin, d.marks);
    const ToneColours colours = d.colours();
    const QString shownPinyin =
        d.coloured() ? toneHtml(pinyin.text, pinyin.runs, colours) : pinyin.text.toHtmlEscaped();
    const QString shownCharacters =
        d.coloured() && d.characters
            ? toneHtml(kSampleCharacters, characterRuns(kSampleCharacters, pinyin.runs), colours)
            : kSampleCharacters.toHtmlEscaped();
    return QStringLiteral("<div align=\"center\"><span style=\"font-family:'%1'; font-size:22pt\">%2</span>"
                          "<br><span style=\"font-size:14pt\">%3</span></div>")
        .arg(ChineseFont.toHtmlEscaped(), shownCharacters, shownPinyin);
}

} // namespace

PinyinDisplayWindow::PinyinDisplayWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_pinyindisplay"));
    ensureChineseFont(); // the preview shows characters
    chooseColour = [this](const QColor& initial, const QString& title) {
        return QColorDialog::getColor(initial, this, title);
    };
    buildControls();
    captions();
    m_opened = pinyinDisplay();
    showSetting();

    connect(op_marks, &QRadioButton::toggled, this, [this](bool on) {
        PinyinDisplay d = pinyinDisplay();
        d.marks = on;
        apply(d);
    });
    connect(cb_colours, &QComboBox::currentIndexChanged, this, [this](int index) {
        PinyinDisplay d = pinyinDisplay();
        d.scheme = index;
        apply(d);
    });
    connect(ch_tonechars, &QCheckBox::toggled, this, [this](bool on) {
        PinyinDisplay d = pinyinDisplay();
        d.characters = on;
        apply(d);
    });
    for (int tone = 0; tone < 5; ++tone)
        connect(bt_tone[tone], &QPushButton::clicked, this, [this, tone] { bt_tone_Click(tone); });
    connect(bt_ok, &QPushButton::clicked, this, &PinyinDisplayWindow::bt_ok_Click);
    connect(bt_cancel, &QPushButton::clicked, this, &PinyinDisplayWindow::bt_cancel_Click);
    connect(&PinyinDisplayNotifier::instance(), &PinyinDisplayNotifier::changed, this,
            &PinyinDisplayWindow::showSetting);
    bt_ok->setDefault(true);
    DialogKeys::install(this, [this] { bt_cancel_Click(); });
}

void PinyinDisplayWindow::buildControls()
{
    Frame1 = placedControl<QGroupBox>(this, "Frame1", {10, 8, 380, 86});
    op_digits = placedControl<QRadioButton>(Frame1, "op_digits", {12, 24, 356, 26});
    op_marks = placedControl<QRadioButton>(Frame1, "op_marks", {12, 52, 356, 26});

    lbl_colours = placedControl<QLabel>(this, "lbl_colours", {12, 104, 120, 28});
    cb_colours = placedControl<QComboBox>(this, "cb_colours", {136, 104, 254, 28});
    lbl_colours->setBuddy(cb_colours);
    lbl_custom = placedControl<QLabel>(this, "lbl_custom", {12, 140, 120, 30});
    for (int tone = 0; tone < 5; ++tone) {
        const QByteArray name = "bt_tone_" + QByteArray::number(tone);
        bt_tone[tone] = placedControl<QPushButton>(
            this, name.constData(), QString::fromUtf16(kToneLetters[tone]), {136 + tone * 52, 140, 46, 30});
        bt_tone[tone]->setIconSize(QSize(14, 14));
    }
    ch_tonechars = placedControl<QCheckBox>(this, "ch_tonechars", {12, 178, 378, 26});

    Frame2 = placedControl<QGroupBox>(this, "Frame2", {10, 210, 380, 100});
    lbl_preview = placedControl<QLabel>(Frame2, "lbl_preview", {10, 22, 360, 70});
    lbl_preview->setTextFormat(Qt::RichText);
    lbl_preview->setAlignment(Qt::AlignCenter);

    bt_ok = placedControl<QPushButton>(this, "bt_ok", {140, 320, 120, 34});
    bt_cancel = placedControl<QPushButton>(this, "bt_cancel", {270, 320, 120, 34});
    setFixedSize(400, 364);
}

void PinyinDisplayWindow::captions()
{
    setWindowTitle(LangText(QStringLiteral("pinyindisplay_title")));
    Frame1->setTitle(LangText(QStringLiteral("pinyindisplay_frame_pinyin")));
    op_digits->setText(LangText(QStringLiteral("pinyindisplay_op_digits")));
    op_marks->setText(LangText(QStringLiteral("pinyindisplay_op_marks")));
    lbl_colours->setText(LangText(QStringLiteral("pinyindisplay_lbl_colours")));
    // In the order of the scheme numbers stored in tavi.ini.
    cb_colours->addItem(LangText(QStringLiteral("pinyindisplay_scheme_off")));
    cb_colours->addItem(LangText(QStringLiteral("pinyindisplay_scheme_pleco")));
    cb_colours->addItem(LangText(QStringLiteral("pinyindisplay_scheme_hanping")));
    cb_colours->addItem(LangText(QStringLiteral("pinyindisplay_scheme_mdbg")));
    cb_colours->addItem(LangText(QStringLiteral("pinyindisplay_scheme_custom")));
    lbl_custom->setText(LangText(QStringLiteral("pinyindisplay_lbl_custom")));
    const QString toneTip = LangText(QStringLiteral("pinyindisplay_tone_tip"));
    for (int tone = 0; tone < 4; ++tone)
        bt_tone[tone]->setToolTip(toneTip.arg(tone + 1));
    bt_tone[4]->setToolTip(LangText(QStringLiteral("pinyindisplay_neutral_tip")));
    ch_tonechars->setText(LangText(QStringLiteral("pinyindisplay_ch_tonechars")));
    Frame2->setTitle(LangText(QStringLiteral("pinyindisplay_frame_preview")));
    bt_ok->setText(LangText(QStringLiteral("bt_OK")));
    bt_cancel->setText(LangText(QStringLiteral("pinyindisplay_bt_cancel")));
}

void PinyinDisplayWindow::showSetting()
{
    const PinyinDisplay d = pinyinDisplay();
    {
        // Shown, not chosen: no control may write back what it is only told.
        const QSignalBlocker a(op_digits), b(op_marks), c(cb_colours), e(ch_tonechars);
        (d.marks ? op_marks : op_digits)->setChecked(true);
        cb_colours->setCurrentIndex(d.scheme);
        ch_tonechars->setChecked(d.characters);
    }
    ch_tonechars->setEnabled(d.coloured());
    const bool custom = d.scheme == PinyinDisplay::Custom;
    lbl_custom->setEnabled(custom);
    // Greyed, the buttons still show the colours of the scheme, as a start for one's own.
    const ToneColours colours = d.colours();
    for (int tone = 0; tone < 5; ++tone) {
        bt_tone[tone]->setIcon(swatch(colours[tone]));
        bt_tone[tone]->setEnabled(custom);
    }
    lbl_preview->setText(previewHtml(d));
}

void PinyinDisplayWindow::apply(const PinyinDisplay& display)
{
    PinyinDisplayNotifier::instance().set(display);
    showSetting(); // also when nothing changed and the notifier stays silent
}

void PinyinDisplayWindow::bt_tone_Click(int tone)
{
    PinyinDisplay d = pinyinDisplay();
    const QColor chosen = chooseColour(QColor::fromRgb(d.custom[tone]), bt_tone[tone]->toolTip());
    if (!chosen.isValid())
        return;
    d.custom[tone] = chosen.rgb() & 0xffffff;
    apply(d);
}

void PinyinDisplayWindow::bt_ok_Click()
{
    // Stored already with each change; stored once more so that OK always leaves it in
    // the settings file, untouched or not.
    PinyinDisplayNotifier::instance().set(pinyinDisplay());
    hide();
}

void PinyinDisplayWindow::bt_cancel_Click()
{
    if (!(pinyinDisplay() == m_opened))
        PinyinDisplayNotifier::instance().set(m_opened);
    hide();
}

void PinyinDisplayWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window the desktop only restores is no new opening: Cancel still goes back to
    // what it opened with.
    if (event->spontaneous())
        return;
    m_opened = pinyinDisplay();
    showSetting();
    bt_ok->setFocus();
}

void PinyinDisplayWindow::closeEvent(QCloseEvent* event)
{
    // The close box of a window whose choices show at once: the user backs out.
    bt_cancel_Click();
    event->accept();
}

} // namespace tavi
