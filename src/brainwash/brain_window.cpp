// The brainwash settings window. The steps are BrainScheduler's; this window owns the
// timer, the floating window and the hotkey, and shows and speaks what a tick decides.
// It is driven from the keyboard as well as the mouse: Tab walks the controls in the
// order they stand, Space works the focused control, Enter presses the default button
// (Start while no run goes on, else OK) and Escape is OK.
#include "brainwash/brain_window.h"

#include "brainwash/float_window.h"
#include "core/language.h"
#include "core/main_hub.h"
#include "core/msgbox.h"
#include "core/services.h"
#include "core/settings.h"
#include "sound/speak_on_screen.h"
#include "ui/check_box_settings.h"
#include "ui/control.h"
#include "ui/dialog_keys.h"
#include "ui/line_widget.h"
#include "vocabulary/word_table.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace tavi {

namespace {

// The window kept clear for a caption bar's buttons: a 1650-twip client with the window
// manager's normal frame, here the frame around the main window.
int buttonsWidthTwips()
{
    const MainHub* main = mainHub();
    return 1650 + (main ? main->frameWidth() : 0) * TwipsPerPixel;
}

LineWidget* line(QWidget* parent, const char* name, int x1, int y1, int x2, int y2)
{
    auto* l = newControl<LineWidget>(parent, name);
    l->setLine(x1, y1, x2, y2);
    return l;
}

} // namespace

BrainWindow::BrainWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_float(new FloatWindow)
{
    setObjectName(QStringLiteral("frm_brain"));
    buildControls();

    // Load
    m_scheduler.setPeriode(txt_periode->text());
    show_running(false);
    cb_key->clear();
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        cb_key->addItem(QString(QChar(c)));
    if (hotkeyWay() == HotkeyWay::Command) {
        ch_hotkey->setEnabled(false);
        ch_hotkey->setToolTip(LangText(QStringLiteral("brainwash_nohotkey")));
    }
    brain_settings(QStringLiteral("R"));
    brain_captions();
    Timer1->setInterval(1000);

    if (WindowSystem* ws = services().windowSystem)
        ws->onHotkey = [this] { toggle_float(); };
    if (DesktopShortcut* shortcut = services().desktopShortcut)
        shortcut->onActivated = [this] { toggle_float(); };
    connect(m_float.get(), &FloatWindow::dragged, this, &BrainWindow::float_dragged);
}

BrainWindow::~BrainWindow()
{
    Timer1->stop();
    if (WindowSystem* ws = services().windowSystem) {
        if (m_hotkeyBound)
            ws->ungrabHotkey();
        ws->onHotkey = nullptr;
    }
    if (DesktopShortcut* shortcut = services().desktopShortcut)
        shortcut->onActivated = nullptr;
}

void BrainWindow::buildControls()
{
    Frame1 = placedControl<QGroupBox>(this, "Frame1", {10, 8, 420, 128});
    lbl_intervall = placedControl<QLabel>(Frame1, "lbl_intervall", {12, 18, 230, 26});
    txt_periode = placedControl<QLineEdit>(Frame1, "txt_periode", QStringLiteral("3"), {250, 18, 60, 26});
    txt_periode->setAlignment(Qt::AlignCenter);
    txt_periode->setValidator(new QIntValidator(1, BrainScheduler::MaxPeriode, txt_periode));
    lbl_intervall->setBuddy(txt_periode);
    lbl_what = placedControl<QLabel>(Frame1, "lbl_what", {12, 54, 396, 22});
    ch_chin = placedControl<QCheckBox>(Frame1, "ch_chin", QStringLiteral("Chinese"), {12, 84, 96, 28});
    ch_pinyin = placedControl<QCheckBox>(Frame1, "ch_pinyin", QStringLiteral("Pinyin"), {114, 84, 90, 28});
    ch_eng = placedControl<QCheckBox>(Frame1, "ch_eng", QStringLiteral("Enlish"), {210, 84, 90, 28});
    ch_sound = placedControl<QCheckBox>(Frame1, "ch_sound", {310, 84, 24, 28});
    ch_sound->setToolTip(QStringLiteral("Sound on / off"));
    pic_sound = placedControl<QLabel>(Frame1, "pic_sound", {336, 84, 28, 28});
    pic_sound->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(24, 24));

    Frame2 = placedControl<QGroupBox>(this, "Frame2", {10, 144, 420, 130});
    ch_hotkey = placedControl<QCheckBox>(Frame2, "ch_hotkey", {12, 12, 396, 28});
    op_alt = placedControl<QRadioButton>(Frame2, "op_alt", QStringLiteral("ALT"), {22, 56, 64, 28});
    op_ctrl = placedControl<QRadioButton>(Frame2, "op_ctrl", QStringLiteral("CTRL"), {90, 56, 68, 28});
    op_shift = placedControl<QRadioButton>(Frame2, "op_shift", QStringLiteral("SHIFT"), {162, 56, 74, 28});
    op_win = placedControl<QRadioButton>(Frame2, "op_win", QStringLiteral("WIN"), {240, 56, 64, 28});
    op_alt->setChecked(true);
    cb_key = placedControl<QComboBox>(Frame2, "cb_key", {318, 56, 80, 28});
    cb_key->setEditable(true);
    cb_key->setInsertPolicy(QComboBox::NoInsert);
    cb_key->setToolTip(QStringLiteral("Select the hotkey !"));
    Line1 = line(Frame2, "Line1", 12, 48, 408, 48);
    Line2 = line(Frame2, "Line2", 12, 92, 408, 92);
    Line3 = line(Frame2, "Line3", 12, 48, 12, 92);
    Line4 = line(Frame2, "Line4", 408, 48, 408, 92);
    lbl_hotkeyway = placedControl<QLabel>(Frame2, "lbl_hotkeyway", {12, 98, 396, 24});

    lbl_place = placedControl<QLabel>(this, "lbl_place", {12, 282, 222, 26});
    cb_place = placedControl<QComboBox>(this, "cb_place", {236, 282, 194, 26});
    for (int i = 0; i < FloatPlaceCount; ++i)
        cb_place->addItem({});
    lbl_place->setBuddy(cb_place);

    // The command for desktops where no hotkey can be grabbed, to be copied from here.
    lbl_toggle = placedControl<QLabel>(this, "lbl_toggle", {12, 314, 416, 56});
    lbl_toggle->setWordWrap(true);
    lbl_toggle->setTextInteractionFlags(Qt::TextSelectableByMouse);

    bt_start = placedControl<QPushButton>(this, "bt_start", {10, 378, 120, 34});
    bt_stop = placedControl<QPushButton>(this, "bt_stop", {140, 378, 120, 34});
    bt_ok = placedControl<QPushButton>(this, "bt_ok", QStringLiteral("OK"), {310, 378, 120, 34});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    setFixedSize(440, 422);

    DialogKeys::install(this, [this] { bt_ok_Click(); });
    connect(txt_periode, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_scheduler.setPeriode(text); });
    connect(ch_hotkey, &QCheckBox::clicked, this, &BrainWindow::ch_hotkey_Click);
    connect(cb_place, &QComboBox::activated, this, [this] { follow_foreground(); });
    connect(bt_start, &QPushButton::clicked, this, &BrainWindow::bt_start_Click);
    connect(bt_stop, &QPushButton::clicked, this, &BrainWindow::bt_stop_Click);
    connect(bt_ok, &QPushButton::clicked, this, &BrainWindow::bt_ok_Click);
    connect(Timer1, &QTimer::timeout, this, &BrainWindow::Timer1_Timer);
}

void BrainWindow::brain_settings(const QString& mode)
{
    exchangeCheckBoxes(mode, {
                                 {ch_chin, "brainwash_chin", 1},
                                 {ch_eng, "brainwash_eng", 1},
                                 {ch_pinyin, "brainwash_pinyin", 1},
                                 {ch_sound, "brainwash_sound", 1},
                                 {ch_hotkey, "brainwash_hotkeyonoff", 0},
                             });
    cb_key->setCurrentText(gkeyValue<QString>(mode, QStringLiteral("brainwash_hotkey"), cb_key->currentText(),
                                              QStringLiteral("0")));

    QRadioButton* const options[] = {op_alt, op_ctrl, op_shift, op_win};
    qint16 selected = 0;
    for (qint16 i = 0; i < 4; ++i)
        if (options[i]->isChecked())
            selected = i;
    selected = gkeyValue<qint16>(mode, QStringLiteral("brainwash_hotkey_vkey"), selected, 0);
    for (qint16 i = 0; i < 4; ++i) {
        // Without auto-exclusion for a moment, so that a value out of range selects none.
        options[i]->setAutoExclusive(false);
        options[i]->setChecked(i == selected);
        options[i]->setAutoExclusive(true);
    }
    qint16 place =
        gkeyValue<qint16>(mode, QStringLiteral("brainwash_place"), qint16(cb_place->currentIndex()), 0);
    cb_place->setCurrentIndex(place >= 0 && place < FloatPlaceCount ? place : 0);
    // Where the words were dragged is stored when they are dropped.
    const qint32 x = ReadSettingNumber(QStringLiteral("brainwash_place_x"));
    const qint32 y = ReadSettingNumber(QStringLiteral("brainwash_place_y"));
    if (mode == u"R" && x != NotANumber && y != NotANumber)
        m_dragged = QPoint(x, y);
    ch_hotkey_Click();
}

void BrainWindow::brain_captions()
{
    setWindowTitle(LangText(QStringLiteral("brainwash_title")));
    lbl_intervall->setText(LangText(QStringLiteral("brainwash_intervall")));
    lbl_what->setText(LangText(QStringLiteral("brainwash_whattodisplay")));
    ch_hotkey->setText(LangText(QStringLiteral("brainwash_usehotkey")));
    lbl_toggle->setText(LangText(QStringLiteral("brainwash_toggle")));
    lbl_place->setText(LangText(QStringLiteral("brainwash_place")));
    static const char* const places[FloatPlaceCount] = {"brainwash_place_0", "brainwash_place_1",
                                                        "brainwash_place_2", "brainwash_place_3",
                                                        "brainwash_place_4", "brainwash_place_5"};
    for (int i = 0; i < FloatPlaceCount; ++i)
        cb_place->setItemText(i, LangText(QLatin1String(places[i])));
    show_hotkey_way();
    bt_start->setText(LangText(QStringLiteral("autof_bt_start")));
    bt_stop->setText(LangText(QStringLiteral("autof_bt_stop")));
    txt_periode->setToolTip(LangText(QStringLiteral("brainwash_periode_tip")));
}

BrainWindow::HotkeyWay BrainWindow::hotkeyWay() const
{
    // Where the desktop binds keys itself, a key grabbed on X11 would work only while an
    // X11 window is in front: the desktop's shortcut or nothing.
    if (services().desktopShortcut)
        return m_shortcutFailed ? HotkeyWay::Command : HotkeyWay::Desktop;
    const WindowSystem* ws = services().windowSystem;
    return ws && ws->available() ? HotkeyWay::X11 : HotkeyWay::Command;
}

void BrainWindow::show_hotkey_way()
{
    static const char* const keys[] = {"brainwash_way_x11", "brainwash_way_desktop", "brainwash_way_command"};
    QString text = LangText(QLatin1String(keys[int(hotkeyWay())]));
    if (hotkeyWay() == HotkeyWay::Desktop && m_shortcutBound && !m_shortcutBound->isEmpty())
        text += QStringLiteral(": ") + *m_shortcutBound;
    lbl_hotkeyway->setText(text);
}

void BrainWindow::ch_hotkey_Click()
{
    enable_hotkey_controls(ch_hotkey->isChecked() && hotkeyWay() != HotkeyWay::Command);
}

void BrainWindow::enable_hotkey_controls(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{op_alt, op_shift, op_win, op_ctrl, cb_key})
        w->setEnabled(enabled);
    for (LineWidget* l : {Line1, Line2, Line3, Line4})
        l->setVisible(enabled);
}

void BrainWindow::bt_start_Click()
{
    show_running(true);
    m_scheduler.start();
    Timer1->start();
    place_float(); // before it is shown: some compositors leave a trace where a window first was
    m_float->show();
    if (ch_hotkey->isChecked() && hotkeyWay() != HotkeyWay::Command)
        set_hotkey(true);
}

void BrainWindow::bt_stop_Click()
{
    show_running(false);
    Timer1->stop();
    m_float->hide();
    set_hotkey(false);
}

void BrainWindow::bt_ok_Click()
{
    brain_settings(QStringLiteral("W"));
    hide();
}

void BrainWindow::set_hotkey(bool enable)
{
    WindowSystem* ws = services().windowSystem;
    DesktopShortcut* shortcut = services().desktopShortcut;
    if (!ws && !shortcut)
        return;
    if (!enable) {
        if (m_hotkeyBound && hotkeyWay() == HotkeyWay::X11)
            ws->ungrabHotkey();
        m_hotkeyBound = false;
        return;
    }
    const QString key = cb_key->currentText();
    if (key.isEmpty()) {
        MsgBox(QStringLiteral("leer!"));
        return;
    }
    WindowSystem::Modifier modifier = WindowSystem::Modifier::Shift;
    if (op_alt->isChecked())
        modifier = WindowSystem::Modifier::Alt;
    else if (op_shift->isChecked())
        modifier = WindowSystem::Modifier::Shift;
    else if (op_ctrl->isChecked())
        modifier = WindowSystem::Modifier::Ctrl;
    else if (op_win->isChecked())
        modifier = WindowSystem::Modifier::Win;
    if (hotkeyWay() == HotkeyWay::Desktop) {
        bind_desktop_shortcut(*shortcut, DesktopShortcut::preferredTrigger(modifier, key.front()));
        return;
    }
    if (hotkeyWay() != HotkeyWay::X11)
        return;
    m_hotkeyBound = ws->grabHotkey(modifier, key.front()) == WindowSystem::GrabResult::Grabbed;
    if (!m_hotkeyBound)
        MsgBox(QStringLiteral("You need another hotkey"), vbOKOnly, QStringLiteral("Error"));
}

void BrainWindow::bind_desktop_shortcut(DesktopShortcut& shortcut, const QString& trigger)
{
    if (trigger == m_shortcutAsked) {
        // Bound already (or being bound) in this session: the desktop keeps it.
        m_hotkeyBound = m_shortcutBound.has_value();
        return;
    }
    m_shortcutAsked = trigger;
    m_shortcutBound.reset();
    // The desktop may answer much later (it may ask the user), perhaps after this window
    // is gone.
    shortcut.bind(trigger, [self = QPointer<BrainWindow>(this)](const DesktopShortcut::Answer& answer) {
        if (!self)
            return;
        if (answer.bound) {
            self->m_shortcutBound = answer.trigger;
            self->m_hotkeyBound = self->bt_stop->isEnabled();
            self->show_hotkey_way();
            return;
        }
        self->m_shortcutFailed = true;
        self->m_hotkeyBound = false;
        self->show_hotkey_way();
        self->ch_hotkey_Click();
        MsgBox(LangText(QStringLiteral("brainwash_shortcut_failed")).arg(answer.error), vbExclamation);
    });
}

void BrainWindow::toggle_float()
{
    if (m_hotkeyBound)
        flip_float();
}

bool BrainWindow::toggleFromCommand()
{
    if (!bt_stop->isEnabled()) // no run goes on
        return false;
    flip_float();
    return true;
}

void BrainWindow::flip_float()
{
    if (m_float->isVisible()) {
        m_float->hide();
        if (MainHub* main = mainHub())
            main->minimiseMain();
    } else {
        m_float->show();
        follow_foreground();
    }
}

void BrainWindow::follow_foreground()
{
    if (!m_float->isVisible() || m_float->dragging())
        return;
    WindowSystem* ws = services().windowSystem;
    const auto foreground = ws && ws->available() ? ws->foreground() : std::nullopt;
    if (!foreground) { // a native Wayland program in front, or none
        place_float();
        return;
    }
    if (foreground->window == m_float->winId())
        return;
    m_float->move(floatPosition(foreground->frame, m_float->width() * TwipsPerPixel, buttonsWidthTwips()));
    m_float->SetTopmost();
}

void BrainWindow::place_float()
{
    if (m_float->dragging())
        return;
    const QScreen* screen = m_float->screen();
    if (!screen)
        return;
    m_float->move(fallbackPosition(FloatPlace(cb_place->currentIndex()), screen->availableGeometry(),
                                   m_float->size(), m_dragged));
    m_float->SetTopmost();
}

void BrainWindow::float_dragged(const QPoint& where)
{
    // Dragging the words is choosing their place.
    m_dragged = where;
    cb_place->setCurrentIndex(int(FloatPlace::Dragged));
    WriteSetting(QStringLiteral("brainwash_place"), QString::number(int(FloatPlace::Dragged)));
    WriteSetting(QStringLiteral("brainwash_place_x"), QString::number(where.x()));
    WriteSetting(QStringLiteral("brainwash_place_y"), QString::number(where.y()));
}

void BrainWindow::Timer1_Timer()
{
    follow_foreground();
    const BrainScheduler::Options options{ch_chin->isChecked(), ch_pinyin->isChecked(), ch_eng->isChecked(),
                                          ch_sound->isChecked()};
    const BrainScheduler::Step step = m_scheduler.tick(options, StudyCount, m_float->isVisible());
    m_float->showBox(m_scheduler.box());
    if (!step.speak.isEmpty())
        speakOnScreen(m_float.get(), step.speak);
}

void BrainWindow::show_running(bool running)
{
    bt_start->setEnabled(!running);
    bt_stop->setEnabled(running);
    bt_start->setDefault(!running);
    bt_ok->setDefault(running);
}

void BrainWindow::closeEvent(QCloseEvent* event)
{
    // The close box is OK: the settings are kept and a run goes on.
    brain_settings(QStringLiteral("W"));
    event->accept();
}

} // namespace tavi
