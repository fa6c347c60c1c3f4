// The installation check: which parts of the trainer work on this desktop, each with a
// link to the help page's section on how to get what is missing.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavi {

class InstallWindow : public QWidget {
    Q_OBJECT
public:
    explicit InstallWindow(QWidget* parent = nullptr);

    // Whether Chinese can be typed into the editor's input pane; asks without loading
    // or showing the window.
    static bool test_auf_shdocvw();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void paint_status(QLabel* status, bool installed);
    void paint_link(QLabel* link, const QColor& colour);
    void open_section(const QString& anchor);

    QString m_installed;
    QString m_notInstalled;

    QLabel* ldl_header = nullptr;
    QLabel* lbl_inst_standard = nullptr;
    QLabel* lbl_inst_shell = nullptr;
    QLabel* lbl_inst_ime = nullptr;
    QLabel* lbl_inst_snd1 = nullptr;
    QLabel* lbl_inst_snd2 = nullptr;
    QLabel* lbl_inst_snd3 = nullptr;
    QLabel* lbl_standard = nullptr;
    QLabel* lbl_ie = nullptr;
    QLabel* lbl_ime = nullptr;
    QLabel* lbl_snd = nullptr;
    QLabel* lbl_link_ie5 = nullptr;
    QLabel* lbl_link_ime = nullptr;
    QLabel* lbl_link_snd1 = nullptr;
    QLabel* lbl_link_snd2 = nullptr;
    QLabel* lbl_link_snd3 = nullptr;
    QLabel* lbl_core = nullptr;
    QLabel* lbl_optional = nullptr;
    QLabel* lbl_connected = nullptr;
    QPushButton* bt_ok = nullptr;
};

} // namespace tavi
