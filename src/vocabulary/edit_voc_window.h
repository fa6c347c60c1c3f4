// The vocabulary editor: the whole word table as one Unicode text, refreshed through the
// parser into canonical form and saved to the current vocabulary file.
#pragma once

#include "ui/cls_form_resize.h"
#include "vocabulary/dictionary.h"

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace tavi {

class UnicodeTextBox;

// A dictionary entry as a line of a vocabulary file: level 0, its pinyin, the simplified
// or traditional characters, its first senses as the translation (cut at a word boundary
// to a readable length, a "+" made a full-width one so that it cannot split the line),
// the chapter given, and no mark.
QString entryLine(const DictEntry& entry, bool traditional, const QString& chapter);
// The translation made of an entry's senses, as above.
QString entryTranslation(const DictEntry& entry);

class EditVocWindow : public QWidget {
    Q_OBJECT
public:
    explicit EditVocWindow(QWidget* parent = nullptr);

    // Refresh: the text becomes the word table, and the table's canonical text is shown.
    void bt_syntax_Click();
    // Check: the vocabulary check over the text as it stands, listed below it.
    void bt_check_Click();
    // Fill in: the empty pinyin or translation of the line under the cursor, from the
    // dictionary's entry for its characters; several readings are offered in a menu.
    void bt_fillin_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void bt_ok_Click();
    void bt_cancel_Click();
    // Cancel, asking first when ask is set: true when the window closed.
    bool discard(bool ask);
    void unload();
    bool changed() const;
    void showFindingsList(bool shown);
    void goToFinding(int line);
    void buildLookupPane();
    // The dictionary, opened at its first use; nullptr when it cannot be (said in the pane).
    const Dictionary* dictionary();
    void txt_lookup_Change();
    void insertEntry(int index);
    void fillLine(int block, const DictEntry& entry);

    QString m_start; // the canonical text of the table the window opened with
    QString m_table; // the canonical text of the table now
    bool m_closing = false;
    qreal m_fontSize = 12;
    clsFormResize m_resizer;

    QLabel* lbl_input = nullptr;
    QFrame* Picture1 = nullptr;
    UnicodeTextBox* WebBrowser1 = nullptr;
    QLabel* lbl_current_file = nullptr;
    UnicodeTextBox* TextBox1 = nullptr;
    QLabel* txt_message = nullptr;
    QLabel* lbl_fontsize = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* bt_check = nullptr;
    QListWidget* lst_findings = nullptr;
    QToolButton* bt_hide_findings = nullptr;
    QPushButton* bt_syntax = nullptr;
    QPushButton* bt_cancel = nullptr;
    QPushButton* bt_ok = nullptr;

    // The dictionary pane.
    QLabel* lbl_lookup = nullptr;
    QLineEdit* txt_lookup = nullptr;
    QRadioButton* op_simplified = nullptr;
    QRadioButton* op_traditional = nullptr;
    QListWidget* lst_lookup = nullptr;
    QLabel* lbl_lookupstate = nullptr;
    QPushButton* bt_fillin = nullptr;
    QList<DictEntry> m_found;
};

} // namespace tavi
