// The selection window: choose the vocabulary file, load it, and build the study
// selection by chapters, level and selection marks.
#pragma once

#include "vocabulary/voc_file.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavi {

// readVocabulary with a busy cursor, and a progress bar when reading takes longer than
// a second; line (when given) gets every line of the file's text.
LoadResult readVocabularyShowingProgress(QWidget* parent, const QString& path,
                                         const std::function<void(QStringView)>& line = {});

class LoadVocWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoadVocWindow(QWidget* parent = nullptr);

    // The default vocabulary file for the interface language.
    static QString defaultVocFile();
    // Reads the file as if chosen with Browse and selects its words with the filters shown.
    void openFile(const QString& path);
    // The same for words just imported, whose chapters the stored filter rarely names:
    // when it selects none of them, every chapter is selected.
    void openImported(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFileFrame();
    void buildSelectionFrame();
    void load_settings(const QString& mode);
    void bt_browse_Click();
    void clearCounts();
    bool readFile(const QString& path);
    void voc_to_array_Click();
    void close1_Click();

    QString m_dialogTitle;

    QGroupBox* Frame1 = nullptr;
    QLabel* lbl_findings = nullptr;
    QLabel* lbl_vocfile = nullptr;
    QLineEdit* txt_vocfile = nullptr;
    QPushButton* bt_browse = nullptr;
    QPushButton* bt_import = nullptr;
    QLabel* label5 = nullptr;
    QLineEdit* txt_anz_allvoc = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lbl_studyfile = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txt_chap = nullptr;
    QLabel* level = nullptr;
    QLineEdit* txt_lev = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txt_more = nullptr;
    QCheckBox* ch_due = nullptr;
    QLabel* lbl_newlimit = nullptr;
    QLineEdit* txt_newlimit = nullptr;
    QCheckBox* ch_shuffle = nullptr;
    QPushButton* voc_to_array = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txt_anzvoc = nullptr;
    QLabel* txt_of = nullptr;
    QLineEdit* txt_anz_allvoc_2 = nullptr;
    QLabel* lbl_due = nullptr;
    QLineEdit* txt_due = nullptr;
    QLabel* lbl_new = nullptr;
    QLineEdit* txt_new = nullptr;
    QWidget* Line1 = nullptr;
    QPushButton* close1 = nullptr;
};

} // namespace tavi
