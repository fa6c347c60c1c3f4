// The flashcard trainer: shows the chosen parts of each card, reveals the whole card,
// takes the answer, moves the word's level, and asks the words not known again.
#pragma once

#include "training/flashcard_session.h"

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavi {

class VocRow;

class UnicodeTextBox;

class FlashcardWindow : public QWidget {
    Q_OBJECT
public:
    explicit FlashcardWindow(QWidget* parent = nullptr);
    // Answers not saved yet are saved when the window goes, however it goes.
    ~FlashcardWindow() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls, a frame at a time: the card, the counters, the buttons.
    void buildControls();
    QGroupBox* buildCard();
    QGroupBox* buildCounters();
    void buildButtons();
    void exchange_settings(const QString& mode);
    void bt_start_Click();
    void next_card();
    void end_round();
    void bt_goon_Click();
    void answer(bool known);
    // Answers the card: Yes +1, No -1.
    void change_level(int step);
    // Appends the answer to the review log (saying once when the log cannot be had).
    void logAnswer(const VocRow& word, bool known, const QString& levelBefore);
    void putLevel(const LevelChange& change);
    void bt_repeat_Click();
    void bt_undo_Click();
    void bt_stop_Click();
    void bt_ok_Click();
    void save_levels();
    void end_training();
    void showCounters();
    void speakCard(bool always);
    int cardRow() const;
    // Runs a button's handler from the keyboard when the button is enabled.
    void addKey(QPushButton* button, std::initializer_list<QKeySequence> keys);

    FlashcardSession m_session;
    bool m_unsaved = false;               // answers given since the last save
    bool m_pausing = false;               // in the second between two rounds
    QElapsedTimer m_cardShown;            // from the card's question to the answer
    std::optional<qint64> m_loggedAnswer; // the review log's row of the last answer, for Undo
    QString m_speaking;
    QString m_feedback;
    QString m_nextround;
    QString m_welldone;

    QPushButton* bt_start = nullptr;
    QPushButton* bt_stop = nullptr;
    QPushButton* bt_goon = nullptr;
    QPushButton* bt_repeat = nullptr;
    QPushButton* bt_Yes = nullptr;
    QPushButton* bt_no = nullptr;
    QPushButton* bt_ok = nullptr;
    QPushButton* bt_undo = nullptr;
    QLabel* txt_summary = nullptr;
    UnicodeTextBox* unitext1 = nullptr;
    QLineEdit* txt_pinyin = nullptr;
    QLineEdit* txt_eng = nullptr;
    QLineEdit* txt_feedback = nullptr;
    QCheckBox* ch_chin = nullptr;
    QCheckBox* ch_pinyin = nullptr;
    QCheckBox* ch_eng = nullptr;
    QCheckBox* ch_sound = nullptr;
    QCheckBox* ch_marks = nullptr; // pinyin with tone marks, for every window
    QLabel* txt_gewusst = nullptr;
    QLabel* la_nichtgewusst = nullptr;
    QLabel* txt_done_this_round = nullptr;
    QLabel* txt_voc_this_round = nullptr;
    QLabel* txt_runde = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* la_s = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* pic_sound = nullptr;
};

} // namespace tavi
