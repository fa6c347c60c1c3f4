// The export window: the loaded words, or the study selection, written for another
// program (Anki's text import, Pleco's flashcard text). The window only gathers the rows
// and the choices; exportWords makes the text, replaceFile writes it.
#pragma once

#include "vocabulary/word_table.h"

#include <QWidget>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tavi {

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);

    // The rows the export would write now: the table's or the selection's, blank rows
    // left out.
    std::vector<VocRow> chosenRows() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void captions();
    // The counts and what can be chosen, as the table and the selection now stand.
    void follow_table();
    void settings(const QString& mode);
    QString suggestedFile() const;
    void bt_export_Click();

    QGroupBox* Frame1 = nullptr;
    QRadioButton* op_anki = nullptr;
    QRadioButton* op_pleco = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* op_marks = nullptr;
    QRadioButton* op_digits = nullptr;
    QGroupBox* Frame3 = nullptr;
    QRadioButton* op_table = nullptr;
    QRadioButton* op_selection = nullptr;
    QLabel* lbl_result = nullptr;
    QPushButton* bt_export = nullptr;
    QPushButton* bt_close = nullptr;
};

} // namespace tavi
