// The import window: words of another program's file (Pleco's flashcard text, Anki's
// notes, CSV, TSV) shown as they will be read, every guess changeable, then written to a
// new vocabulary file or added to the loaded one.
#pragma once

#include "vocabulary/word_exchange.h"

#include <QTimer>
#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace tavi {

class ImportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget* parent = nullptr);

    // Asks for a file with the file dialog, then opens it; false when none was chosen or
    // it cannot be imported (a box said why).
    bool chooseFile();
    // Reads the file and shows its preview; false, after a box saying why, when the file
    // cannot be imported.
    bool openFile(const QString& path);
    // Reads the whole file with the choices shown, when that has not been done yet (the
    // window does it soon after every change by itself).
    const ImportResult& whole();

protected:
    // Opened without a file (from a menu), the window first asks for one.
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void applyTexts();
    // The choices into the controls, without reacting to it.
    void showChoices();
    void readControls();
    // The loaded table as the target to add to: its name, or none.
    void followTable();
    void setRole(int column, ColumnRole role);
    void refresh();
    void showColumns();
    void showWords();
    void showWhole();
    std::span<const VocRow> target() const;
    bool appending() const;
    void bt_import_Click();
    bool importToNewFile(const std::vector<VocRow>& rows);
    bool appendToLoaded(const std::vector<VocRow>& rows);

    QString m_path;
    QByteArray m_bytes;
    ImportDetection m_detected;
    ImportChoices m_choices;
    std::optional<ImportResult> m_whole;
    QTimer m_wholeTimer;
    bool m_showing = false;
    int m_tableVersion = -1; // of the table the target and duplicates were shown for

    QLabel* lbl_source = nullptr;
    QLineEdit* txt_source = nullptr;
    QPushButton* bt_choose = nullptr;
    QGroupBox* Frame_read = nullptr;
    QLabel* lbl_format = nullptr;
    QComboBox* cmb_format = nullptr;
    QLabel* lbl_encoding = nullptr;
    QComboBox* cmb_encoding = nullptr;
    QLabel* lbl_separator = nullptr;
    QComboBox* cmb_separator = nullptr;
    QCheckBox* ch_header = nullptr;
    QCheckBox* ch_html = nullptr;
    QCheckBox* ch_traditional = nullptr;
    QLabel* lbl_columns = nullptr;
    QTableWidget* grid_columns = nullptr;
    QLabel* lbl_words = nullptr;
    QTableWidget* grid_words = nullptr;
    QLabel* lbl_summary = nullptr;
    QListWidget* lst_skipped = nullptr;
    QGroupBox* Frame_target = nullptr;
    QRadioButton* op_newfile = nullptr;
    QRadioButton* op_append = nullptr;
    QCheckBox* ch_keepdup = nullptr;
    QPushButton* bt_import = nullptr;
    QPushButton* bt_cancel = nullptr;
};

} // namespace tavi
