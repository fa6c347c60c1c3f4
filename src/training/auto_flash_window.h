// The automatic flashcards: every second a tick of Timer1; for each word of the study
// selection the question, a few seconds later the whole card, then the next word, and
// again from the first word when the selection is used up, counting rounds.
#pragma once

#include "training/auto_flash_ticker.h"
#include "ui/cls_form_resize.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tavi {

class LineWidget;
class UnicodeTextBox;

class AutoFlashWindow : public QWidget {
    Q_OBJECT
public:
    explicit AutoFlashWindow(QWidget* parent = nullptr);

public Q_SLOTS:
    // One tick of the run; Timer1 calls it every 1000 ms while the run goes on.
    void Timer1_Timer();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void exchange_settings(const QString& mode);
    void set_captions();
    void read_times();
    void show_next_word(AutoFlashTicker::Action action);
    void show_solution();
    void bt_start_Click();
    void bt_stop_Click();
    void bt_ok_Click();
    void speakWord(int row);

    AutoFlashTicker m_ticker;
    clsFormResize m_resizer;

    QPushButton* bt_start = nullptr;
    QPushButton* bt_stop = nullptr;
    QPushButton* bt_ok = nullptr;
    UnicodeTextBox* txt_chin = nullptr;
    QLineEdit* txt_pinyin = nullptr;
    QLineEdit* txt_eng = nullptr;
    QCheckBox* ch_chin = nullptr;
    QCheckBox* ch_pinyin = nullptr;
    QCheckBox* ch_eng = nullptr;
    QCheckBox* ch_sound = nullptr;
    QLineEdit* txt_zeitbislsg = nullptr;
    QLineEdit* txt_zeitfuerlsg = nullptr;
    QLineEdit* txt_sec = nullptr;
    QLabel* txt_time = nullptr;
    QLabel* la_runde = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* pic_sound = nullptr;
    LineWidget* Line1 = nullptr;
    LineWidget* Line2 = nullptr;
    QTimer* Timer1 = nullptr;
};

} // namespace tavi
