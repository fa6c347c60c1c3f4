// Enter and Escape for windows that are not dialogs. Qt gives a plain top-level
// widget neither a default button nor a cancel key, and window-wide shortcuts on
// Space or Enter would take those keys away from the focused button. So the keys are
// caught only after the focused control has declined them.
#pragma once

#include <QObject>
#include <functional>

class QPushButton;
class QWidget;

namespace tavi {

class DialogKeys : public QObject {
public:
    // Enter presses the focused push button, or else the window's enabled default
    // button; Escape runs onEscape (nothing when it is empty).
    static DialogKeys* install(QWidget* window, std::function<void()> onEscape);
    // Marks a control that acts on Enter itself: Enter there presses no button.
    static void keepEnter(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DialogKeys(QWidget* window, std::function<void()> onEscape);
    QPushButton* defaultButton() const;

    QWidget* m_window;
    std::function<void()> m_onEscape;
};

// Makes button the window's default (the one Enter presses) and gives it the focus,
// so that Space and Enter both do the step the user needs next.
void focusNext(QPushButton* button);

} // namespace tavi
