// The brainwash settings window frm_brain: the interval, what to show, the hotkey, and
// the start and stop of a run. OK only hides it; a run goes on until Stop, and the
// words keep coming in the floating window.
#pragma once

#include "brainwash/brain_scheduler.h"

#include <QWidget>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tavi {

class DesktopShortcut;
class FloatWindow;
class LineWidget;

class BrainWindow : public QWidget {
    Q_OBJECT
public:
    explicit BrainWindow(QWidget* parent = nullptr);
    ~BrainWindow() override;

    FloatWindow* floatWindow() const { return m_float.get(); }
    const BrainScheduler& scheduler() const { return m_scheduler; }

    // Moves the floating window into the caption bar of the window the user works in.
    void follow_foreground();
    // Binds the hotkey of cb_key and the chosen modifier, or removes it.
    void set_hotkey(bool enable);
    void enable_hotkey_controls(bool enabled);
    // What the hotkey does, asked for by the toggle command; false when no run goes on.
    bool toggleFromCommand();

    // How a key hides and shows the words here: a key grabbed on X11, a shortcut the
    // desktop binds (Wayland sessions), or only the toggle command.
    enum class HotkeyWay { X11, Desktop, Command };
    HotkeyWay hotkeyWay() const;

public Q_SLOTS:
    // One tick of the run; Timer1 calls it every 1000 ms while the run goes on.
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void brain_settings(const QString& mode);
    void brain_captions();
    void ch_hotkey_Click();
    void bt_start_Click();
    void bt_stop_Click();
    void bt_ok_Click();
    // A press of the hotkey: hides the floating window and sends the main window to the
    // task bar, or shows the floating window again.
    void toggle_float();
    void flip_float();
    // Start or Stop enabled, and the default button Enter presses: Start or OK.
    void show_running(bool running);
    void bind_desktop_shortcut(DesktopShortcut& shortcut, const QString& trigger);
    void show_hotkey_way();
    // Puts the floating window where the user chose, for when no X11 window is in front.
    void place_float();
    void float_dragged(const QPoint& where);

    BrainScheduler m_scheduler;
    std::unique_ptr<FloatWindow> m_float; // a window of its own, so hiding frm_brain keeps it
    bool m_hotkeyBound = false;
    // The desktop's shortcut: the trigger asked for (empty: none yet), the one bound, and
    // whether the desktop gave none, which is said once and leaves only the command.
    QString m_shortcutAsked;
    std::optional<QString> m_shortcutBound;
    bool m_shortcutFailed = false;
    std::optional<QPoint> m_dragged;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lbl_intervall = nullptr;
    QLineEdit* txt_periode = nullptr;
    QLabel* lbl_what = nullptr;
    QCheckBox* ch_chin = nullptr;
    QCheckBox* ch_pinyin = nullptr;
    QCheckBox* ch_eng = nullptr;
    QCheckBox* ch_sound = nullptr;
    QLabel* pic_sound = nullptr;
    QCheckBox* ch_hotkey = nullptr;
    QRadioButton* op_alt = nullptr;
    QRadioButton* op_ctrl = nullptr;
    QRadioButton* op_shift = nullptr;
    QRadioButton* op_win = nullptr;
    QComboBox* cb_key = nullptr;
    QLabel* lbl_hotkeyway = nullptr;
    QLabel* lbl_place = nullptr;
    QComboBox* cb_place = nullptr;
    QLabel* lbl_toggle = nullptr;
    LineWidget* Line1 = nullptr;
    LineWidget* Line2 = nullptr;
    LineWidget* Line3 = nullptr;
    LineWidget* Line4 = nullptr;
    QPushButton* bt_start = nullptr;
    QPushButton* bt_stop = nullptr;
    QPushButton* bt_ok = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace tavi
