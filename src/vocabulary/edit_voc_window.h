// The vocabulary editor: the whole word table as one Unicode text, refreshed through the
// parser into canonical form and saved to the current vocabulary file.
#pragma once

#include "ui/cls_form_resize.h"

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace tavi {

class UnicodeTextBox;

class EditVocWindow : public QWidget {
    Q_OBJECT
public:
    explicit EditVocWindow(QWidget* parent = nullptr);

    // Refresh: the text becomes the word table, and the table's canonical text is shown.
    void bt_syntax_Click();
    // Check: the vocabulary check over the text as it stands, listed below it.
    void bt_check_Click();

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
};

} // namespace tavi
