// The floating word window. The box is only read, never typed into: it takes no focus,
// and the window is a frameless tool window that the window manager neither decorates
// nor activates.
#include "brainwash/float_window.h"

#include "core/app_state.h"
#include "core/display_platform.h"
#include "ui/control.h"
#include "ui/unicode_text_box.h"

#include <QGuiApplication>
#include <QMouseEvent>

namespace tavi {

namespace {

QColor colourOf(BrainScheduler::Colour colour)
{
    switch (colour) {
    case BrainScheduler::Colour::Red:
        return {255, 0, 0};
    case BrainScheduler::Colour::Blue:
        return {0, 0, 255};
    case BrainScheduler::Colour::Black:
        break;
    }
    return {0, 0, 0};
}

} // namespace

FloatWindow::FloatWindow(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("frm_float"));
    // Through XWayland the compositor's window manager may keep a managed window where it
    // likes (weston does); a window it does not manage goes where the program puts it and
    // stays above the other windows. On X11 sessions the window manager keeps it on top.
    if (waylandSession(currentDisplayEnvironment()))
        setWindowFlag(Qt::X11BypassWindowManagerHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The window is never active; its tool tip holds a word too long for the box.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(WidthTwips / TwipsPerPixel, HeightTwips / TwipsPerPixel);
    setAutoFillBackground(true);
    QPalette cyan = palette();
    cyan.setColor(QPalette::Window, QColor(0, 255, 255));
    setPalette(cyan);

    lbl_lsg = newControl<UnicodeTextBox>(this, "lbl_lsg");
    lbl_lsg->setGeometry(0, 0, 1935 / TwipsPerPixel, 375 / TwipsPerPixel);
    lbl_lsg->setReadOnly(true);
    lbl_lsg->setFocusable(false);
    lbl_lsg->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Load
    lbl_lsg->setFontName(ChineseFont);
    m_shown.fontName = ChineseFont;
    m_shown.fontSize = int(lbl_lsg->fontSize());
}

bool FloatWindow::showBox(const BrainScheduler::Box& box)
{
    if (box == m_shown)
        return false;
    if (box.fontName != m_shown.fontName && !box.fontName.isEmpty())
        lbl_lsg->setFontName(box.fontName);
    if (box.fontSize != m_shown.fontSize && box.fontSize > 0)
        lbl_lsg->setFontSize(box.fontSize);
    if (box.colour != m_shown.colour)
        lbl_lsg->setTextColor(colourOf(box.colour));
    if (box.text != m_shown.text || box.shows != m_shown.shows || box.pinyin != m_shown.pinyin) {
        if (box.shows == BrainScheduler::Shows::Pinyin)
            lbl_lsg->setPinyin(box.text);
        else if (box.shows == BrainScheduler::Shows::Characters)
            lbl_lsg->setCharacters(box.text, box.pinyin);
        else
            lbl_lsg->setText(box.text);
        setToolTip(box.text); // the box lets the mouse through to the window
    }
    m_shown = box;
    return true;
}

void FloatWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_grip = event->position().toPoint();
    m_moved = false;
}

void FloatWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_grip)
        return;
    move(event->globalPosition().toPoint() - *m_grip);
    m_moved = true;
}

void FloatWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_grip || event->button() != Qt::LeftButton)
        return;
    m_grip.reset();
    if (m_moved) // a click alone chooses no place
        Q_EMIT dragged(pos());
}

void FloatWindow::SetTopmost()
{
    // The stays-on-top hint puts the window in the X11 window manager's top layer; raising
    // it keeps it above other windows of that layer. Neither moves nor activates it. Other
    // platforms keep a stays-on-top window on top by themselves.
    if (isVisible() && QGuiApplication::platformName() == u"xcb")
        raise();
}

} // namespace tavi
