// The pinyin display window frm_pinyindisplay: tone digits or tone marks, the tone
// colours and whether the characters take them too, with a preview. Each choice applies
// at once, so every open window shows it while the user decides; Cancel puts back the
// setting the window opened with.
#pragma once

#include "sound/pinyin_display.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tavi {

class PinyinDisplayWindow : public QWidget {
    Q_OBJECT
public:
    explicit PinyinDisplayWindow(QWidget* parent = nullptr);

    // Asks for a tone's colour; an invalid colour means the user cancelled. A test puts
    // its own answer here.
    std::function<QColor(const QColor& initial, const QString& title)> chooseColour;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void captions();
    // The controls and the preview as the setting now stands.
    void showSetting();
    void apply(const PinyinDisplay& display);
    void bt_tone_Click(int tone);
    void bt_ok_Click();
    void bt_cancel_Click();

    PinyinDisplay m_opened; // what Cancel restores

    QGroupBox* Frame1 = nullptr;
    QRadioButton* op_digits = nullptr;
    QRadioButton* op_marks = nullptr;
    QLabel* lbl_colours = nullptr;
    QComboBox* cb_colours = nullptr;
    QLabel* lbl_custom = nullptr;
    std::array<QPushButton*, 5> bt_tone{}; // bt_tone_0 … bt_tone_4: tones 1 to 4, then neutral
    QCheckBox* ch_tonechars = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lbl_preview = nullptr;
    QPushButton* bt_ok = nullptr;
    QPushButton* bt_cancel = nullptr;
};

} // namespace tavi
