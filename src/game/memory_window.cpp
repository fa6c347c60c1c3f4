// The memory game window. The rules are MemoryGame's; this window deals, shows the
// faces and backs, speaks each card turned, and lets the arrow keys walk the board.
#include "game/memory_window.h"

#include "core/app_state.h"
#include "core/language.h"
#include "core/settings.h"
#include "core/wait.h"
#include "core/window_registry.h"
#include "sound/missing_sound_log.h"
#include "sound/speak_on_screen.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "ui/unicode_text_box.h"
#include "vocabulary/word_table.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace tavi {

namespace {

// The board's measures, in pixels (15 twips each).
constexpr int kColumnLeft[] = {16, 128, 240, 352, 464};
constexpr int kRowTop[] = {64, 120, 176, 232, 296, 352};
constexpr QSize kCard(97, 49);
constexpr QSize kFace(81, 25);
constexpr int kBoardTop = 56; // the board widget's top edge in the window

QRect cardRect(int k) // in board coordinates
{
    return {QPoint(kColumnLeft[k / 6], kRowTop[k % 6] - kBoardTop), kCard};
}

const QString kOpenSlot = QStringLiteral(
    "QFrame { background: rgb(255, 252, 238); border: 1px solid rgb(200, 170, 110); border-radius: 5px; }");
const QString kFoundSlot = QStringLiteral(
    "QFrame { background: rgb(214, 240, 208); border: 2px solid rgb(70, 150, 70); border-radius: 5px; }");

} // namespace

MemoryWindow::MemoryWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frm_game1"));
    setWindowTitle(QStringLiteral("Memory Game"));
    buildControls();

    // Load
    bt_start->setText(LangText(QStringLiteral("game1_start")));
    bt_ok->setText(LangText(QStringLiteral("bt_OK")));
    op_char->setText(LangText(QStringLiteral("game1_char")));
    op_pinyin->setText(LangText(QStringLiteral("game1_pinyin")));
    op_sound->setText(LangText(QStringLiteral("game1_sound")));
    m_press = LangText(QStringLiteral("game1_press"));
    m_go = LangText(QStringLiteral("game1_go"));
    m_done = LangText(QStringLiteral("game1_done"));
    txt_offen->setText(m_press);
    game_settings(QStringLiteral("R"));
    bt_start_Click();
    m_board->setFocus();
}

void MemoryWindow::buildControls()
{
    txt_offen = newControl<QLineEdit>(this, "txt_offen", QStringLiteral("press start"));
    txt_offen->setReadOnly(true);
    txt_offen->setFocusPolicy(Qt::NoFocus);
    txt_offen->setGeometry(140, 414, 297, 30);
    txt_offen->setAlignment(Qt::AlignCenter);
    // A long text (the end, or another language) gets a smaller font rather than a cut.
    connect(txt_offen, &QLineEdit::textChanged, this, [this](const QString& text) {
        QFont f = font();
        f.setBold(true);
        while (f.pointSizeF() > 7 && QFontMetrics(f).horizontalAdvance(text) > txt_offen->width() - 12)
            f.setPointSizeF(f.pointSizeF() - 0.5);
        txt_offen->setFont(f);
        txt_offen->setCursorPosition(0);
        txt_offen->setToolTip(text);
    });
    op_char = newControl<QRadioButton>(this, "op_char", QStringLiteral("characters"));
    op_pinyin = newControl<QRadioButton>(this, "op_pinyin", QStringLiteral("pinyin"));
    op_sound = newControl<QRadioButton>(this, "op_sound", QStringLiteral("sound"));
    int x = 16;
    for (QRadioButton* op : {op_char, op_pinyin, op_sound}) {
        op->setGeometry(x, 18, 150, 26);
        x += 160;
    }

    m_board = newControl<QWidget>(this, "board");
    m_board->setGeometry(0, kBoardTop, 577, 350);
    m_board->setFocusPolicy(Qt::StrongFocus);
    m_board->setToolTip(QStringLiteral("Arrow keys choose a card, Space or Enter turns it"));
    m_board->installEventFilter(this);
    for (int k = 0; k < MemoryGame::Cards; ++k) {
        const QRect r = cardRect(k);
        m_slot[k] = new QFrame(m_board);
        m_slot[k]->setObjectName(QStringLiteral("slot_%1").arg(k));
        m_slot[k]->setGeometry(r);
        m_slot[k]->setStyleSheet(kOpenSlot);
        tu1[k] = new UnicodeTextBox(m_board);
        tu1[k]->setObjectName(QStringLiteral("tu1_%1").arg(k));
        tu1[k]->setGeometry(QRect(
            r.topLeft() + QPoint((kCard.width() - kFace.width()) / 2, (kCard.height() - kFace.height()) / 2),
            kFace));
        tu1[k]->setReadOnly(true);
        tu1[k]->setFocusable(false);
        tu1[k]->setAlignment(Qt::AlignCenter);
        tu1[k]->setAttribute(Qt::WA_TransparentForMouseEvents);
        tu1[k]->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; }"));
        pic_1[k] = new QLabel(m_board);
        pic_1[k]->setObjectName(QStringLiteral("pic_1_%1").arg(k));
        pic_1[k]->setGeometry(r);
        pic_1[k]->setScaledContents(true);
        pic_1[k]->setCursor(Qt::PointingHandCursor);
        pic_1[k]->installEventFilter(this);
    }
    m_ring = newControl<QFrame>(m_board, "focus_ring");
    m_ring->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_ring->setStyleSheet(QStringLiteral(
        "QFrame { background: transparent; border: 3px solid rgb(255, 150, 0); border-radius: 6px; }"));
    m_ring->hide();

    bt_start = newControl<QPushButton>(this, "bt_start", QStringLiteral("start"));
    bt_start->setGeometry(16, 412, 116, 34);
    bt_start->setToolTip(QStringLiteral("Deal a new game"));
    bt_ok = newControl<QPushButton>(this, "bt_ok", QStringLiteral("OK"));
    bt_ok->setGeometry(445, 412, 116, 34);
    bt_ok->setToolTip(QStringLiteral("Close (Escape)"));
    setFixedSize(577, 458);
    setTabOrder(m_board, op_char);
    setTabOrder(op_char, op_pinyin);
    setTabOrder(op_pinyin, op_sound);
    setTabOrder(op_sound, bt_start);
    setTabOrder(bt_start, bt_ok);

    connect(op_char, &QRadioButton::clicked, this, [this] { setShowMode(1); });
    connect(op_pinyin, &QRadioButton::clicked, this, [this] { setShowMode(2); });
    connect(op_sound, &QRadioButton::clicked, this, [this] { setShowMode(3); });
    connect(bt_start, &QPushButton::clicked, this, &MemoryWindow::bt_start_Click);
    connect(bt_ok, &QPushButton::clicked, this, &MemoryWindow::bt_ok_Click);
    DialogKeys::install(this, [this] { bt_ok_Click(); });
}

void MemoryWindow::game_settings(const QString& mode)
{
    const qint16 current = op_pinyin->isChecked() ? 2 : op_sound->isChecked() ? 3 : 1;
    show_mode = gkeyValue<qint16>(mode, QStringLiteral("game1_opt"), current, 1);
    if (mode == u"R") {
        op_char->setChecked(show_mode == 1);
        op_pinyin->setChecked(show_mode == 2);
        op_sound->setChecked(show_mode == 3);
    }
}

void MemoryWindow::setShowMode(int mode)
{
    show_mode = mode;
    bt_start_Click();
}

QPixmap MemoryWindow::cardBack() const
{
    QPixmap back(programFile(QStringLiteral("cards.jpg")));
    if (!back.isNull())
        return back;
    // Without the picture the backs are painted, so the game stays playable.
    back = QPixmap(kCard);
    back.fill(QColor(140, 24, 30));
    QPainter p(&back);
    p.setBrush(QBrush(QColor(217, 164, 65), Qt::DiagCrossPattern));
    p.setPen(QPen(QColor(217, 164, 65), 2));
    p.drawRoundedRect(QRect(QPoint(3, 3), kCard - QSize(7, 7)), 5, 5);
    return back;
}

void MemoryWindow::bt_start_Click()
{
    txt_offen->setText(m_go);
    for (UnicodeTextBox* face : tu1) {
        face->setFontName(ChineseFont);
        if (show_mode == 1)
            face->setFontSize(13);
        else if (show_mode == 2)
            face->setFontSize(10);
    }
    m_game.deal(StudyCount, studyRow, gameRandom());
    if (!m_game.hasBoard())
        txt_offen->setText(LangText(QStringLiteral("game1_nowords")));
    const QPixmap back = cardBack();
    for (int k = 0; k < MemoryGame::Cards; ++k) {
        pic_1[k]->setPixmap(back);
        pic_1[k]->show();
        m_slot[k]->setStyleSheet(kOpenSlot);
        const int row = m_game.row(k);
        if (row >= 0 && show_mode == 1)
            tu1[k]->setCharacters(VocTable[row][CHAR], VocTable[row][PINYIN]);
        else if (row >= 0 && show_mode == 2)
            tu1[k]->setPinyin(VocTable[row][PINYIN]);
        else
            tu1[k]->setText(QString());
    }
    moveCursor(m_cursor);
}

void MemoryWindow::pic_1_Click(int k)
{
    if (m_busy)
        return;
    const MemoryGame::Turn turn = m_game.turn(k);
    if (turn == MemoryGame::Turn::Ignored)
        return;
    m_busy = true;
    pic_1[k]->hide();
    if (const int row = m_game.row(k); row >= 0) {
        CurrentCharacter = VocTable[row][CHAR];
        speakOnScreen(this, VocTable[row][PINYIN]);
    }
    switch (turn) {
    case MemoryGame::Turn::Mismatch: {
        QPointer<MemoryWindow> self(this);
        WaitSeconds(1.0f); // both faces stay in sight for a second
        if (!self)
            return;
        const int first = m_game.firstCard();
        const int second = m_game.secondCard();
        m_game.closeMismatch();
        if (first >= 0)
            pic_1[first]->show();
        if (second >= 0)
            pic_1[second]->show();
        break;
    }
    case MemoryGame::Turn::Match:
    case MemoryGame::Turn::Won:
        showFound(k);
        txt_offen->setText(turn == MemoryGame::Turn::Won ? m_done : QString::number(m_game.pairsFound()));
        break;
    default:
        break;
    }
    m_busy = false;
}

void MemoryWindow::showFound(int k)
{
    for (int i = 0; i < MemoryGame::Cards; ++i) {
        if (!m_game.found(i) || m_game.row(i) != m_game.row(k))
            continue;
        m_slot[i]->setStyleSheet(kFoundSlot);
        if (show_mode == 3 && m_game.row(i) >= 0)
            tu1[i]->setPinyin(VocTable[m_game.row(i)][PINYIN]);
    }
}

void MemoryWindow::moveCursor(int k)
{
    m_cursor = std::clamp(k, 0, MemoryGame::Cards - 1);
    m_ring->setGeometry(cardRect(m_cursor).adjusted(-3, -3, 3, 3));
    m_ring->raise();
    m_ring->setVisible(m_board->hasFocus());
}

bool MemoryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_board) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_ring->setVisible(event->type() == QEvent::FocusIn);
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            const int column = m_cursor / 6, row = m_cursor % 6;
            switch (key) {
            case Qt::Key_Left:
                moveCursor(column > 0 ? m_cursor - 6 : m_cursor);
                return true;
            case Qt::Key_Right:
                moveCursor(column < 4 ? m_cursor + 6 : m_cursor);
                return true;
            case Qt::Key_Up:
                moveCursor(row > 0 ? m_cursor - 1 : m_cursor);
                return true;
            case Qt::Key_Down:
                moveCursor(row < 5 ? m_cursor + 1 : m_cursor);
                return true;
            case Qt::Key_Space:
            case Qt::Key_Return:
            case Qt::Key_Enter:
                pic_1_Click(m_cursor);
                return true;
            default:
                break;
            }
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int k = 0; k < MemoryGame::Cards; ++k) {
            if (watched == pic_1[k]) {
                m_board->setFocus(Qt::MouseFocusReason);
                moveCursor(k);
                pic_1_Click(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MemoryWindow::bt_ok_Click()
{
    game_settings(QStringLiteral("W"));
    hide();
    windows().unload(objectName());
}

void MemoryWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    bt_ok_Click(); // the close box keeps the option too
}

} // namespace tavi
