// The main window: the program's hub. It runs the start-up sequence, switches the
// interface language and opens every other window; it holds no vocabulary logic.
#pragma once

#include "core/main_hub.h"

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tavi {

class MainWindow : public QMainWindow, public MainHub {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; it ends by showing the window in the chosen language.
    void Form_Load(const QString& programFolder, const QString& sharedFolder = QString());
    // Captions, status and start counter; runs after every choice of language.
    void init_main_window();
    // Closes the language-dependent windows and shows the main window.
    void unload_windows();
    // The hub that the other windows see.
    void set_vocbuttons(bool enabled) override;
    void setEditEnabled(bool enabled) override;
    void setStatus(const QString& text) override;
    void showMain() override;
    void minimiseMain() override;
    QRect mainFrame() const override;
    int frameWidth() const override;
    // Ends the program at once.
    void frm_main_terminate();

    void mnu_english_Click();
    void mnu_german_Click();
    void mnu_newlang_Click();
    void mnu_help_Click();
    void mnu_exit_Click();

Q_SIGNALS:
    // Emitted by frm_main_terminate just before the application is told to quit.
    void terminating();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void connectCommands();
    void applyLanguage(const QString& section, QAction* checked);
    // Shows a window with the status line set before (or after) it, when the
    // window exists in this version of the program.
    void openWindow(const QString& name, const QString& statusKey = QString(), bool statusAfter = false);
    void setCaption(QPushButton* button, QAction* item, const QString& key);

    bool m_terminating = false;
    bool m_fontPending = false;

    // Controls
    QLabel* txt_title = nullptr;
    QLabel* txt_status = nullptr;
    MainHub* m_previousHub = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* open_loadvoc = nullptr;
    QPushButton* go_flash = nullptr;
    QPushButton* autovoc = nullptr;
    QPushButton* bt_speakpinyin = nullptr;
    QPushButton* bt_brain = nullptr;
    QPushButton* bt_game1 = nullptr;
    QPushButton* bt_edit = nullptr;
    QPushButton* bt_about = nullptr;
    QPushButton* bt_help = nullptr;
    QLabel* Picture1 = nullptr;
    QLabel* Picture2 = nullptr;

    // Menu items
    QAction* mnu_loadvoc = nullptr;
    QAction* mnu_import = nullptr;
    QAction* mnu_export = nullptr;
    QAction* mnu_exit = nullptr;
    QAction* mnu_flash = nullptr;
    QAction* mnu_autostudy = nullptr;
    QAction* mnu_speakpinyin = nullptr;
    QAction* mnu_brain = nullptr;
    QAction* mnu_memory = nullptr;
    QAction* mnu_english = nullptr;
    QAction* mnu_german = nullptr;
    QAction* mnu_newlang = nullptr;
    QAction* mnu_help = nullptr;
    QAction* mnu_edit = nullptr;
    QAction* install = nullptr;
    QAction* tools = nullptr;
    QAction* mnu_pinyindisplay = nullptr;
    QAction* mnu_progress = nullptr;
    QAction* mnu_about = nullptr;
};

} // namespace tavi
