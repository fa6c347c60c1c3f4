// Enter and Escape, after the focused control had its say.
#include "ui/dialog_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace tavi {

DialogKeys* DialogKeys::install(QWidget* window, std::function<void()> onEscape)
{
    return new DialogKeys(window, std::move(onEscape));
}

DialogKeys::DialogKeys(QWidget* window, std::function<void()> onEscape)
    : QObject(window), m_window(window), m_onEscape(std::move(onEscape))
{
    window->installEventFilter(this);
}

namespace {

// Lets the control handle Enter, then ends the key's way there, so that it never
// reaches the window and its default button.
class EnterStop : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || m_inside)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        m_inside = true;
        watched->event(event);
        m_inside = false;
        event->accept();
        return true;
    }

private:
    bool m_inside = false;
};

} // namespace

void DialogKeys::keepEnter(QWidget* control)
{
    control->installEventFilter(new EnterStop(control));
}

QPushButton* DialogKeys::defaultButton() const
{
    const auto buttons = m_window->findChildren<QPushButton*>();
    for (QPushButton* b : buttons)
        if (b->isDefault() && b->isEnabled() && b->isVisibleTo(m_window))
            return b;
    return nullptr;
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event)
{
    // A key reaches the window itself only when no control on the way took it.
    if (watched != m_window || event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        if (!focused || !m_window->isAncestorOf(focused) || !focused->isEnabled())
            focused = defaultButton();
        if (focused)
            focused->click();
        return true;
    }
    case Qt::Key_Escape:
        if (m_onEscape)
            m_onEscape();
        return true;
    default:
        return false;
    }
}

void focusNext(QPushButton* button)
{
    if (!button || !button->isEnabled())
        return;
    if (QWidget* w = button->window()) {
        const auto buttons = w->findChildren<QPushButton*>();
        for (QPushButton* b : buttons)
            if (b != button)
                b->setDefault(false);
    }
    button->setDefault(true);
    button->setFocus(Qt::OtherFocusReason);
}

} // namespace tavi
