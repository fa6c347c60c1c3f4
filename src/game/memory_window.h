// The memory game's window: thirty cards on a board of five columns and six rows,
// played with the mouse or with the arrow keys and Space.
#pragma once

#include "game/memory_game.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPixmap;
class QPushButton;
class QRadioButton;

namespace tavi {

class UnicodeTextBox;

class MemoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit MemoryWindow(QWidget* parent = nullptr);

    // Turns card k, as a click on its back does.
    void pic_1_Click(int k);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void game_settings(const QString& mode);
    void setShowMode(int mode);
    void bt_start_Click();
    void bt_ok_Click();
    void showFound(int k);
    void moveCursor(int k);
    QPixmap cardBack() const;

    MemoryGame m_game;
    int show_mode = 1;
    bool m_busy = false;
    int m_cursor = 0;
    QString m_done;
    QString m_press;
    QString m_go;

    QWidget* m_board = nullptr;
    QFrame* m_ring = nullptr;
    QFrame* m_slot[MemoryGame::Cards] = {};
    QLabel* pic_1[MemoryGame::Cards] = {};
    UnicodeTextBox* tu1[MemoryGame::Cards] = {};
    QLineEdit* txt_offen = nullptr;
    QRadioButton* op_char = nullptr;
    QRadioButton* op_pinyin = nullptr;
    QRadioButton* op_sound = nullptr;
    QPushButton* bt_start = nullptr;
    QPushButton* bt_ok = nullptr;
};

} // namespace tavi
