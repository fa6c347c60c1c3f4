// The automatic flashcard window. The tick rule is AutoFlashTicker's; this window owns
// the timer, shows and speaks what a tick decides, and scales its controls with the
// window. Controls are placed by position and size, because clsFormResize owns their
// geometry: fields and buttons follow the window, while check boxes, captions and the
// small number fields keep their size and only move.
#include "training/auto_flash_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "sound/speak_on_screen.h"
#include "ui/check_box_settings.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "ui/line_widget.h"
#include "ui/read_only_field.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/word_table.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace tavi {

namespace {

QLabel* caption(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = placedControl<QLabel>(parent, name, geometry, MoveOnly);
    l->setText(text);
    l->setWordWrap(true);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QPoint& at, const char* tip)
{
    auto* c = placedControl<QCheckBox>(parent, name, QRect(at, QSize(20, 20)), MoveOnly);
    c->setToolTip(QLatin1String(tip));
    return c;
}

// The longest time a box takes: two of them still fit the run's 16-bit tick.
constexpr int MaxSeconds = 9999;

QLineEdit* numberField(QWidget* parent, const char* name, const QRect& geometry, const QString& text)
{
    auto* f = placedControl<QLineEdit>(parent, name, geometry, MoveOnly);
    f->setAlignment(Qt::AlignCenter);
    f->setText(text);
    return f;
}

} // namespace

AutoFlashWindow::AutoFlashWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("autoflash"));
    buildControls();

    // Load
    txt_chin->setFontName(ChineseFont);
    m_resizer.SourceForm(this);
    la_runde->setText(QString::number(m_ticker.roundNumber()));
    bt_start->setEnabled(true);
    bt_stop->setEnabled(false);
    exchange_settings(QStringLiteral("R"));
    set_captions();
    Timer1->setInterval(1000);
}

void AutoFlashWindow::buildControls()
{
    ch_chin = checkBox(this, "ch_chin", {20, 52}, "Display Chinese On / Off");
    Label1 = caption(this, "Label1", QStringLiteral("Chinese"), {46, 50, 84, 24});
    txt_chin = placedControl<UnicodeTextBox>(this, "txt_chin", {136, 20, 326, 84});
    txt_chin->setReadOnly(true);
    txt_chin->setAlignment(Qt::AlignCenter);
    txt_chin->setFontSize(34);

    ch_pinyin = checkBox(this, "ch_pinyin", {20, 136}, "Display Pinyin On / Off");
    Label2 = caption(this, "Label2", QStringLiteral("pinyin"), {46, 134, 84, 24});
    txt_pinyin = cardField(this, "txt_pinyin", 16);
    txt_pinyin->setGeometry(136, 122, 326, 48);

    ch_eng = checkBox(this, "ch_eng", {20, 202}, "Display Translation On / Off");
    Label3 = caption(this, "Label3", QStringLiteral("english"), {46, 200, 84, 24});
    txt_eng = cardField(this, "txt_eng", 13);
    txt_eng->setGeometry(136, 188, 326, 48);

    ch_sound = checkBox(this, "ch_sound", {20, 266}, "Sound on / off");
    pic_sound = placedControl<QLabel>(this, "pic_sound", {46, 262, 28, 28}, MoveOnly);
    pic_sound->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(24, 24));

    Label6 = caption(this, "Label6", QStringLiteral("Runde"), {490, 20, 130, 20});
    la_runde = placedControl<QLabel>(this, "la_runde", {490, 40, 130, 44}, MoveOnly);
    QFont arial(QStringLiteral("Arial"), 24, QFont::Bold);
    arial.setStyleHint(QFont::SansSerif);
    la_runde->setFont(arial);

    txt_time = caption(this, "txt_time", QStringLiteral("Time"), {490, 104, 60, 24});
    txt_sec = numberField(this, "txt_sec", {560, 103, 60, 26}, QStringLiteral("5"));
    txt_sec->setReadOnly(true);
    txt_sec->setFocusPolicy(Qt::NoFocus);
    QPalette grey = txt_sec->palette();
    grey.setColor(QPalette::Base, QColor(212, 208, 200));
    txt_sec->setPalette(grey);

    Label8 = caption(this, "Label8", QStringLiteral("Sec bis Lösung"), {490, 144, 130, 36});
    txt_zeitbislsg = numberField(this, "txt_zeitbislsg", {490, 182, 60, 26}, QStringLiteral("2"));
    Label7 = caption(this, "Label7", QStringLiteral("Zeit für lösung"), {490, 222, 130, 36});
    txt_zeitfuerlsg = numberField(this, "txt_zeitfuerlsg", {490, 260, 60, 26}, QStringLiteral("3"));
    // The times are whole seconds; the box takes nothing else.
    for (QLineEdit* box : {txt_zeitbislsg, txt_zeitfuerlsg}) {
        box->setValidator(new QIntValidator(0, MaxSeconds, box));
        box->setToolTip(QStringLiteral("Whole seconds, 0 to %1").arg(MaxSeconds));
    }

    Line1 = new LineWidget(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setLine(20, 312, 620, 312);
    Line2 = new LineWidget(this);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setLine(476, 20, 476, 290);

    bt_start = placedControl<QPushButton>(this, "bt_start", {20, 332, 116, 38});
    bt_start->setText(QStringLiteral("start"));
    bt_stop = placedControl<QPushButton>(this, "bt_stop", {146, 332, 116, 38});
    bt_stop->setText(QStringLiteral("stop"));
    bt_ok = placedControl<QPushButton>(this, "bt_ok", {504, 332, 116, 38});
    bt_ok->setText(QStringLiteral("OK"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    setMinimumSize(520, 340);
    resize(640, 390);

    connect(bt_start, &QPushButton::clicked, this, &AutoFlashWindow::bt_start_Click);
    connect(bt_stop, &QPushButton::clicked, this, &AutoFlashWindow::bt_stop_Click);
    connect(bt_ok, &QPushButton::clicked, this, &AutoFlashWindow::bt_ok_Click);
    connect(txt_zeitbislsg, &QLineEdit::textChanged, this, &AutoFlashWindow::read_times);
    connect(Timer1, &QTimer::timeout, this, &AutoFlashWindow::Timer1_Timer);
    bt_start->setToolTip(QStringLiteral("Start the cards (Space or Enter)"));
    bt_stop->setToolTip(QStringLiteral("Stop the cards (Space or Enter)"));
    bt_ok->setToolTip(QStringLiteral("Close (Escape)"));
    DialogKeys::install(this, [this] { bt_ok_Click(); });
}

void AutoFlashWindow::exchange_settings(const QString& mode)
{
    exchangeCheckBoxes(mode, {
                                 {ch_chin, "autofch_chin", 1},
                                 {ch_eng, "autofch_eng", 0},
                                 {ch_pinyin, "autofch_pinyin", 1},
                                 {ch_sound, "autofch_sound", QStringLiteral("1")},
                             });
}

void AutoFlashWindow::set_captions()
{
    setWindowTitle(LangText(QStringLiteral("autof_title")));
    Label1->setText(LangText(QStringLiteral("flash_chinese")));
    Label2->setText(LangText(QStringLiteral("flash_pinyin")));
    Label3->setText(LangText(QStringLiteral("flash_translation")));
    Label6->setText(LangText(QStringLiteral("flash_round")));
    Label7->setText(LangText(QStringLiteral("autof_timebetween")));
    Label8->setText(LangText(QStringLiteral("autof_timeuntil")));
    bt_start->setText(LangText(QStringLiteral("autof_bt_start")));
    bt_stop->setText(LangText(QStringLiteral("autof_bt_stop")));
}

void AutoFlashWindow::read_times()
{
    m_ticker.readTimes(txt_zeitbislsg->text(), txt_zeitfuerlsg->text());
}

void AutoFlashWindow::Timer1_Timer()
{
    const AutoFlashTicker::Step step = m_ticker.tick(StudyCount);
    txt_sec->setText(QString::number(step.shownTick));
    switch (step.action) {
    case AutoFlashTicker::Action::Question:
    case AutoFlashTicker::Action::EndOfPass:
        show_next_word(step.action);
        break;
    case AutoFlashTicker::Action::Solution:
        show_solution();
        break;
    case AutoFlashTicker::Action::None:
        break;
    }
}

void AutoFlashWindow::show_next_word(AutoFlashTicker::Action action)
{
    showText(txt_eng, QString());
    txt_chin->setText(QString());
    showText(txt_pinyin, QString());
    if (action == AutoFlashTicker::Action::EndOfPass) {
        la_runde->setText(QString::number(m_ticker.roundNumber()));
        return;
    }
    const int row = studyRow(m_ticker.position());
    if (row < 0)
        return; // an entry that names no word shows an empty card
    const VocRow& word = VocTable[row];
    if (ch_eng->isChecked())
        showText(txt_eng, word[TRANSLATION]);
    if (ch_chin->isChecked())
        txt_chin->setCharacters(word[CHAR], word[PINYIN]);
    if (ch_pinyin->isChecked())
        showPinyinText(txt_pinyin, word[PINYIN]);
    speakWord(row);
}

void AutoFlashWindow::show_solution()
{
    const int row = studyRow(m_ticker.position());
    if (row < 0)
        return;
    const VocRow& word = VocTable[row];
    showText(txt_eng, word[TRANSLATION]);
    txt_chin->setCharacters(word[CHAR], word[PINYIN]);
    showPinyinText(txt_pinyin, word[PINYIN]);
    speakWord(row);
}

void AutoFlashWindow::speakWord(int row)
{
    CurrentCharacter = VocTable[row][CHAR];
    if (ch_sound->isChecked())
        speakOnScreen(this, VocTable[row][PINYIN]);
}

void AutoFlashWindow::bt_start_Click()
{
    m_ticker.start();
    bt_start->setEnabled(false);
    bt_stop->setEnabled(true);
    read_times();
    Timer1->start();
    focusNext(bt_stop);
}

void AutoFlashWindow::bt_stop_Click()
{
    bt_start->setEnabled(true);
    focusNext(bt_start);
    bt_stop->setEnabled(false);
    Timer1->stop();
}

void AutoFlashWindow::bt_ok_Click()
{
    bt_stop_Click();
    hide();
    exchange_settings(QStringLiteral("W"));
    windows().unload(objectName());
}

void AutoFlashWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_resizer.ScaleControls();
}

void AutoFlashWindow::closeEvent(QCloseEvent* event)
{
    // The close box is OK by another name.
    event->accept();
    bt_ok_Click();
}

} // namespace tavi
