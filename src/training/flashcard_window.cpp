// The flashcard window. The rounds are FlashcardSession's; this window shows the card,
// speaks it, moves levels and saves them on Stop and OK.
#include "training/flashcard_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/main_hub.h"
#include "core/msgbox.h"
#include "core/settings.h"
#include "core/wait.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "sound/pinyin_display.h"
#include "sound/speak_on_screen.h"
#include "training/review_log.h"
#include "ui/check_box_settings.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "ui/read_only_field.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/study_selection.h"
#include "vocabulary/voc_file.h"
#include "vocabulary/word_table.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

namespace tavi {

namespace {

QFont courier(int points, bool bold = false)
{
    QFont f(QStringLiteral("Courier New"), points);
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(bold);
    return f;
}

QLabel* counter(QWidget* parent, const char* name)
{
    auto* l = newControl<QLabel>(parent, name, QStringLiteral("00"));
    l->setFont(courier(12, true));
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setMinimumWidth(36);
    return l;
}

} // namespace

FlashcardWindow::FlashcardWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("flashcard"));
    buildControls();

    // Load
    unitext1->setFontName(ChineseFont);
    exchange_settings(QStringLiteral("R"));
    setWindowTitle(LangText(QStringLiteral("flash_title")));
    m_speaking = LangText(QStringLiteral("flash_speaking"));
    m_feedback = LangText(QStringLiteral("flash_feedback"));
    m_nextround = LangText(QStringLiteral("flash_nextround"));
    m_welldone = LangText(QStringLiteral("flash_welldone"));
    Label1->setText(LangText(QStringLiteral("flash_chinese")));
    Label2->setText(LangText(QStringLiteral("flash_pinyin")));
    ch_marks->setText(LangText(QStringLiteral("flash_ch_marks")));
    ch_marks->setToolTip(LangText(QStringLiteral("flash_ch_marks_tip")));
    Label3->setText(LangText(QStringLiteral("flash_translation")));
    label5->setText(LangText(QStringLiteral("flash_known")));
    Label6->setText(LangText(QStringLiteral("flash_round")));
    Label7->setText(LangText(QStringLiteral("flash_voc_this_round")));
    bt_repeat->setText(LangText(QStringLiteral("flash_bt_repeat")));
    bt_Yes->setText(LangText(QStringLiteral("bt_yes")));
    bt_no->setText(LangText(QStringLiteral("bt_no")));
    bt_goon->setText(LangText(QStringLiteral("flash_bt_goon")));
    bt_start->setText(LangText(QStringLiteral("flash__btstart")));
    bt_stop->setText(LangText(QStringLiteral("flash_bt_stop")));
    bt_undo->setText(LangText(QStringLiteral("flash_bt_undo")));
    for (QPushButton* b : {bt_repeat, bt_goon, bt_Yes, bt_no, bt_undo})
        b->setEnabled(false);
    bt_start->setEnabled(true);
    bt_stop->setEnabled(true);
    focusNext(bt_start);
}

FlashcardWindow::~FlashcardWindow()
{
    if (m_unsaved)
        save_levels();
}

QGroupBox* FlashcardWindow::buildCard()
{
    auto* card = new QGroupBox(this);
    card->setObjectName(QStringLiteral("card"));
    ch_chin = newControl<QCheckBox>(card, "ch_chin");
    ch_chin->setToolTip(QStringLiteral("Display Chinese On / Off"));
    ch_pinyin = newControl<QCheckBox>(card, "ch_pinyin");
    ch_pinyin->setToolTip(QStringLiteral("Display Pinyin On / Off"));
    ch_eng = newControl<QCheckBox>(card, "ch_eng");
    ch_eng->setToolTip(QStringLiteral("Display Translation On / Off"));
    ch_sound = newControl<QCheckBox>(card, "ch_sound");
    ch_sound->setToolTip(QStringLiteral("Sound on / off"));
    Label1 = newControl<QLabel>(card, "Label1", QStringLiteral("Chinese"));
    Label2 = newControl<QLabel>(card, "Label2", QStringLiteral("pinyin"));
    Label3 = newControl<QLabel>(card, "Label3", QStringLiteral("english"));
    unitext1 = new UnicodeTextBox(card);
    unitext1->setObjectName(QStringLiteral("unitext1"));
    unitext1->setReadOnly(true);
    unitext1->setAlignment(Qt::AlignCenter);
    unitext1->setFontSize(34);
    unitext1->setFocusable(false);
    unitext1->setMinimumHeight(76);
    unitext1->setMaximumHeight(110);
    txt_pinyin = cardField(card, "txt_pinyin", 16);
    txt_eng = cardField(card, "txt_eng", 13);
    // The card takes no focus, so that the letter keys stay answers.
    txt_pinyin->setFocusPolicy(Qt::NoFocus);
    txt_eng->setFocusPolicy(Qt::NoFocus);
    // The quick way to the pinyin display setting: it holds for every window. Without the
    // focus, so that Space and the letters stay with the answer buttons.
    ch_marks = newControl<QCheckBox>(card, "ch_marks");
    ch_marks->setFocusPolicy(Qt::NoFocus);
    ch_marks->setChecked(pinyinDisplay().marks);
    connect(ch_marks, &QCheckBox::clicked, this, [](bool marks) {
        PinyinDisplay display = pinyinDisplay();
        display.marks = marks;
        PinyinDisplayNotifier::instance().set(display);
    });
    connect(&PinyinDisplayNotifier::instance(), &PinyinDisplayNotifier::changed, ch_marks,
            [this] { ch_marks->setChecked(pinyinDisplay().marks); });
    pic_sound = newControl<QLabel>(card, "pic_sound");
    pic_sound->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(20, 20));

    auto* g = new QGridLayout(card);
    g->setHorizontalSpacing(10);
    g->addWidget(ch_chin, 0, 0);
    g->addWidget(Label1, 0, 1);
    g->addWidget(unitext1, 0, 2);
    g->addWidget(ch_pinyin, 1, 0);
    g->addWidget(Label2, 1, 1);
    g->addWidget(txt_pinyin, 1, 2);
    g->addWidget(ch_eng, 2, 0);
    g->addWidget(Label3, 2, 1);
    g->addWidget(txt_eng, 2, 2);
    g->addWidget(ch_sound, 3, 0);
    g->addWidget(pic_sound, 3, 1);
    g->addWidget(ch_marks, 3, 2, Qt::AlignRight);
    g->setColumnStretch(2, 1);
    return card;
}

QGroupBox* FlashcardWindow::buildCounters()
{
    auto* counters = new QGroupBox(this);
    counters->setObjectName(QStringLiteral("counters"));
    label5 = newControl<QLabel>(counters, "label5", QStringLiteral("Correct / Not correct"));
    Label7 = newControl<QLabel>(counters, "Label7", QStringLiteral("Currently at"));
    Label6 = newControl<QLabel>(counters, "Label6", QStringLiteral("Round number"));
    txt_gewusst = counter(counters, "txt_gewusst");
    la_nichtgewusst = counter(counters, "la_nichtgewusst");
    txt_done_this_round = counter(counters, "txt_done_this_round");
    txt_voc_this_round = counter(counters, "txt_voc_this_round");
    txt_runde = counter(counters, "txt_runde");
    la_s = newControl<QLabel>(counters, "la_s", QStringLiteral("/"));
    Label10 = newControl<QLabel>(counters, "Label10", QStringLiteral("/"));
    auto* c = new QGridLayout(counters);
    c->addWidget(label5, 0, 0, 1, 3);
    c->addWidget(txt_gewusst, 1, 0);
    c->addWidget(la_s, 1, 1, Qt::AlignCenter);
    c->addWidget(la_nichtgewusst, 1, 2);
    c->addWidget(Label7, 2, 0, 1, 3);
    c->addWidget(txt_done_this_round, 3, 0);
    c->addWidget(Label10, 3, 1, Qt::AlignCenter);
    c->addWidget(txt_voc_this_round, 3, 2);
    c->addWidget(Label6, 4, 0, 1, 3);
    c->addWidget(txt_runde, 5, 0);
    c->setRowStretch(6, 1);
    return counters;
}

void FlashcardWindow::buildButtons()
{
    bt_start = newControl<QPushButton>(this, "bt_start", QStringLiteral("start"));
    bt_goon = newControl<QPushButton>(this, "bt_goon", QStringLiteral("Go on"));
    bt_Yes = newControl<QPushButton>(this, "bt_Yes", QStringLiteral("YES"));
    bt_no = newControl<QPushButton>(this, "bt_no", QStringLiteral("no"));
    bt_repeat = newControl<QPushButton>(this, "bt_repeat", QStringLiteral("Repeat"));
    bt_stop = newControl<QPushButton>(this, "bt_stop", QStringLiteral("stop"));
    bt_ok = newControl<QPushButton>(this, "bt_ok", QStringLiteral("OK"));
    bt_undo = newControl<QPushButton>(this, "bt_undo", QStringLiteral("Undo"));
    for (QPushButton* b : {bt_start, bt_goon, bt_Yes, bt_no, bt_repeat, bt_undo, bt_stop, bt_ok})
        b->setMinimumHeight(34);
    bt_Yes->setStyleSheet(
        QStringLiteral("QPushButton:enabled { color: rgb(0, 110, 0); font-weight: bold; }"));
    bt_no->setStyleSheet(QStringLiteral("QPushButton:enabled { color: rgb(170, 0, 0); font-weight: bold; }"));
    bt_start->setToolTip(QStringLiteral("Start a training (Space or Enter)"));
    bt_goon->setToolTip(QStringLiteral("Show the whole card (Space or Enter)"));
    bt_Yes->setToolTip(QStringLiteral("I knew it (Y or J, or Space or Enter)"));
    bt_no->setToolTip(QStringLiteral("I did not know it (N)"));
    bt_repeat->setToolTip(QStringLiteral("Speak the word again (R)"));
    bt_undo->setToolTip(QStringLiteral("Take back the last answer (Backspace)"));
    bt_stop->setToolTip(QStringLiteral("Save the levels"));
    bt_ok->setToolTip(QStringLiteral("Save the levels and close (Escape)"));
}

void FlashcardWindow::buildControls()
{
    // Made in the order of the tab chain.
    QGroupBox* card = buildCard();
    QGroupBox* counters = buildCounters();
    txt_feedback = newControl<QLineEdit>(this, "txt_feedback");
    txt_feedback->setReadOnly(true);
    txt_feedback->setFocusPolicy(Qt::NoFocus);
    txt_feedback->setFont(courier(11, true));
    txt_feedback->setStyleSheet(
        QStringLiteral("QLineEdit { background: rgb(255, 255, 160); color: black; }"));
    txt_feedback->setMinimumHeight(30);

    buildButtons();
    // Shown when a training ends; nothing to close.
    txt_summary = newControl<QLabel>(this, "txt_summary");
    txt_summary->setWordWrap(true);
    txt_summary->setAlignment(Qt::AlignCenter);
    txt_summary->setStyleSheet(QStringLiteral("QLabel { background: rgb(225, 240, 255); color: rgb(0, 40, "
                                              "90); border: 1px solid rgb(150, 180, 220);"
                                              " border-radius: 4px; padding: 6px; font-weight: bold; }"));
    txt_summary->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(card, 3);
    top->addWidget(counters, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {bt_start, bt_goon, bt_Yes, bt_no, bt_repeat, bt_undo})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(bt_stop);
    buttons->addWidget(bt_ok);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->setSpacing(10);
    column->addLayout(top, 1);
    column->addWidget(txt_feedback);
    column->addWidget(txt_summary);
    column->addLayout(buttons);
    resize(760, 400);

    connect(bt_start, &QPushButton::clicked, this, &FlashcardWindow::bt_start_Click);
    connect(bt_goon, &QPushButton::clicked, this, &FlashcardWindow::bt_goon_Click);
    connect(bt_Yes, &QPushButton::clicked, this, [this] { answer(true); });
    connect(bt_no, &QPushButton::clicked, this, [this] { answer(false); });
    connect(bt_repeat, &QPushButton::clicked, this, &FlashcardWindow::bt_repeat_Click);
    connect(bt_undo, &QPushButton::clicked, this, &FlashcardWindow::bt_undo_Click);
    connect(bt_stop, &QPushButton::clicked, this, &FlashcardWindow::bt_stop_Click);
    connect(bt_ok, &QPushButton::clicked, this, &FlashcardWindow::bt_ok_Click);
    // Space and Enter stay with the focused button, which the training moves to the
    // next step; only letters and Backspace are window-wide.
    addKey(bt_Yes, {Qt::Key_Y, Qt::Key_J});
    addKey(bt_no, {Qt::Key_N});
    addKey(bt_repeat, {Qt::Key_R});
    addKey(bt_undo, {Qt::Key_Backspace});
    DialogKeys::install(this, [this] { bt_ok_Click(); });
}

void FlashcardWindow::addKey(QPushButton* button, std::initializer_list<QKeySequence> keys)
{
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled())
                button->click();
        });
    }
}

void FlashcardWindow::exchange_settings(const QString& mode)
{
    exchangeCheckBoxes(mode, {
                                 {ch_chin, "flash_ch_chin", 1},
                                 {ch_eng, "flash_ch_eng", 0},
                                 {ch_pinyin, "flash_ch_pinyin", 1},
                                 {ch_sound, "flash_ch_sound", QStringLiteral("1")},
                             });
}

int FlashcardWindow::cardRow() const
{
    return studyRow(m_session.position());
}

void FlashcardWindow::speakCard(bool always)
{
    const int row = cardRow();
    if (row < 0 || !(always || ch_sound->isChecked()))
        return;
    CurrentCharacter = VocTable[row][CHAR];
    speakOnScreen(this, VocTable[row][PINYIN]);
}

void FlashcardWindow::bt_start_Click()
{
    txt_summary->hide();
    if (StudyCount < 0) {
        txt_feedback->setText(LangText(QStringLiteral("flash_nothing")));
        return;
    }
    bt_start->setEnabled(false);
    m_session.start(StudyCount, studyLevels());
    txt_runde->setText(QString::number(m_session.roundNumber()));
    next_card();
}

void FlashcardWindow::next_card()
{
    bt_Yes->setEnabled(false);
    bt_no->setEnabled(false);
    bt_goon->setEnabled(true);
    bt_repeat->setEnabled(true);
    const bool card = m_session.seekCard();
    showText(txt_eng, QString());
    unitext1->setText(QString());
    showText(txt_pinyin, QString());
    if (!card) {
        showCounters(); // the last answer counts before the pause
        end_round();
        return;
    }
    m_cardShown.start();
    if (const int row = cardRow(); row >= 0) {
        const VocRow& word = VocTable[row];
        txt_feedback->setText(m_speaking);
        if (ch_eng->isChecked())
            showText(txt_eng, word[TRANSLATION]);
        if (ch_chin->isChecked())
            unitext1->setCharacters(word[CHAR], word[PINYIN]);
        if (ch_pinyin->isChecked())
            showPinyinText(txt_pinyin, word[PINYIN]);
        showCounters();
        focusNext(bt_goon);
        speakCard(false);
        return;
    }
    showCounters();
}

void FlashcardWindow::showCounters()
{
    txt_gewusst->setText(QString::number(m_session.knownCount()));
    la_nichtgewusst->setText(QString::number(m_session.answeredCount() - m_session.knownCount()));
    txt_done_this_round->setText(QString::number(m_session.answeredCount()));
    txt_voc_this_round->setText(QString::number(m_session.roundSize()));
}

void FlashcardWindow::end_round()
{
    if (m_session.finished()) {
        bt_goon->setEnabled(false);
        bt_repeat->setEnabled(false);
        txt_feedback->setText(m_welldone);
        end_training();
        focusNext(bt_ok);
        return;
    }
    txt_feedback->setText(m_nextround);
    m_session.advanceRoundNumber();
    QPointer<FlashcardWindow> self(this);
    m_pausing = true;
    WaitSeconds(1.0f);
    if (!self)
        return; // closed during the pause between rounds
    m_pausing = false;
    txt_runde->setText(QString::number(m_session.roundNumber()));
    m_session.nextRound();
    next_card();
}

void FlashcardWindow::bt_goon_Click()
{
    const int row = cardRow();
    if (!m_session.hasCard() || row < 0)
        return; // the pause between rounds has no card
    const VocRow& word = VocTable[row];
    showText(txt_eng, word[TRANSLATION]);
    unitext1->setCharacters(word[CHAR], word[PINYIN]);
    showPinyinText(txt_pinyin, word[PINYIN]);
    CurrentCharacter = word[CHAR];
    if (ch_sound->isChecked())
        speakOnScreen(this, word[PINYIN]);
    txt_feedback->setText(m_feedback);
    m_session.keepAnswers();
    bt_undo->setEnabled(false);
    bt_no->setEnabled(true);
    bt_Yes->setEnabled(true);
    focusNext(bt_Yes);
    bt_goon->setEnabled(false);
    bt_repeat->setEnabled(false);
}

void FlashcardWindow::answer(bool known)
{
    if (!m_session.hasCard() || m_pausing)
        return;
    txt_feedback->clear();
    const int row = cardRow();
    const QString before = row >= 0 ? VocTable[row][CTR] : QString();
    change_level(known ? 1 : -1);
    m_unsaved = true;
    if (row >= 0)
        logAnswer(VocTable[row], known, before);
    bt_undo->setEnabled(false);
    QPointer<FlashcardWindow> self(this);
    next_card();
    if (self)
        bt_undo->setEnabled(m_session.canUndo());
}

void FlashcardWindow::bt_undo_Click()
{
    const std::optional<LevelChange> before = m_pausing ? std::nullopt : m_session.undo();
    if (!before)
        return;
    putLevel(*before);
    if (m_loggedAnswer)
        programReviewLog().log->remove(*std::exchange(m_loggedAnswer, std::nullopt));
    bt_undo->setEnabled(false);
    txt_summary->hide();
    txt_runde->setText(QString::number(m_session.roundNumber()));
    next_card(); // the same word, asked again
}

void FlashcardWindow::logAnswer(const VocRow& word, bool known, const QString& levelBefore)
{
    m_loggedAnswer = openedReviewLog()->append({QDateTime::currentDateTimeUtc(), word[CHAR], word[PINYIN],
                                                QFileInfo(VocFilePath).fileName(), known, levelBefore.toInt(),
                                                word[CTR].toInt(), m_cardShown.elapsed()});
}

void FlashcardWindow::change_level(int step)
{
    // The session answers the card and decides its level; the table only takes it.
    const int row = cardRow();
    putLevel(m_session.answer(step > 0, row, row >= 0 ? VocTable[row][CTR] : QString()));
}

void FlashcardWindow::putLevel(const LevelChange& change)
{
    if (change.row >= 0 && change.row < static_cast<int>(VocTable.size()))
        VocTable[change.row].set(CTR, change.level);
    ++VocTableVersion;
}

void FlashcardWindow::bt_repeat_Click()
{
    speakCard(true);
}

void FlashcardWindow::bt_stop_Click()
{
    bt_start->setEnabled(true);
    exchange_settings(QStringLiteral("W"));
    save_levels();
    if (m_session.started())
        end_training();
}

void FlashcardWindow::end_training()
{
    const TrainingSummary s = m_session.summary(studyLevels());
    txt_summary->setText(summaryText(LangText(QStringLiteral("flash_summary")), s));
    txt_summary->show();
    WriteSetting(QStringLiteral("flash_last_trained"), QString::number(s.trained));
    WriteSetting(QStringLiteral("flash_last_firsttry"), QString::number(s.firstTry));
    WriteSetting(QStringLiteral("flash_last_up"), QString::number(s.levelsUp));
    WriteSetting(QStringLiteral("flash_last_down"), QString::number(s.levelsDown));
    WriteSetting(QStringLiteral("flash_last_seconds"), QString::number(s.seconds));
}

void FlashcardWindow::save_levels()
{
    m_unsaved = false;
    if (tableReadFrom(VocFilePath)) {
        saveVocabulary(VocFilePath, BuildVocText());
    } else if (VocCount >= 0) {
        // The words came from elsewhere (another file, or none could be read): saving
        // them over this file would replace its words.
        MsgBox(QStringLiteral("The levels were not saved: the words in memory were not read from\n") +
                   VocFilePath,
               vbExclamation);
    }
}

void FlashcardWindow::bt_ok_Click()
{
    bt_stop_Click();
    exchange_settings(QStringLiteral("W"));
    hide();
    if (MainHub* main = mainHub(); main && VocCount >= 0)
        main->setStatus(dueTodayStatus()); // what this training left for today
    windows().unload(objectName());
}

void FlashcardWindow::closeEvent(QCloseEvent* event)
{
    // The close box is OK by another name: no answer given is lost.
    event->accept();
    bt_ok_Click();
}

} // namespace tavi
