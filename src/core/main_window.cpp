// Start-up, language switching and command dispatch of the main window.
#include "core/main_window.h"

#include "core/app_state.h"
#include "core/artwork.h"
#include "core/chinese_font.h"
#include "core/ini_store.h"
#include "core/language.h"
#include "core/msgbox.h"
#include "core/qt_translation.h"
#include "core/run_file.h"
#include "core/settings.h"
#include "core/wait.h"
#include "core/window_registry.h"
#include "install/install_window.h"
#include "sound/missing_sound_log.h"
#include "ui/dialog_keys.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QVBoxLayout>

namespace tavi {

namespace {

QAction* addItem(QMenu* menu, const char* name, const QString& text = QString())
{
    auto* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

void addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title)
{
    auto* m = bar->addMenu(title);
    m->setObjectName(QLatin1String(name));
    return m;
}

QPushButton* makeButton(QWidget* parent, const char* name)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumHeight(38);
    b->setIconSize(QSize(24, 24));
    return b;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, std::initializer_list<QPushButton*> buttons)
{
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(QLatin1String(name));
    auto* box = new QVBoxLayout(frame);
    box->setSpacing(8);
    for (QPushButton* b : buttons) {
        b->setParent(frame);
        box->addWidget(b);
    }
    box->addStretch(1);
    return frame;
}

// Gives every item of the menu an access key of its own: the letters already marked
// stay, the others take the first free letter that starts a word, else any free one.
// Captions come from the language file, whose translators cannot know each other's
// letters.
void assignAccessKeys(QMenu* menu)
{
    QSet<QChar> used;
    const QList<QAction*> items = menu->actions();
    for (QAction* a : items) {
        const QString t = a->text();
        const qsizetype amp = t.indexOf(u'&');
        if (amp >= 0 && amp + 1 < t.size() && t[amp + 1] != u'&')
            used.insert(t[amp + 1].toLower());
    }
    for (QAction* a : items) {
        QString t = a->text();
        if (a->isSeparator() || t.isEmpty() || t.contains(u'&'))
            continue;
        qsizetype pick = -1;
        for (int pass = 0; pass < 2 && pick < 0; ++pass) {
            for (qsizetype i = 0; i < t.size(); ++i) {
                const bool wordStart = i == 0 || !t[i - 1].isLetterOrNumber();
                if (t[i].isLetterOrNumber() && (pass == 1 || wordStart) && !used.contains(t[i].toLower())) {
                    pick = i;
                    break;
                }
            }
        }
        if (pick < 0)
            continue;
        used.insert(t[pick].toLower());
        a->setText(t.insert(pick, u'&'));
    }
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("main"));
    m_previousHub = setMainHub(this);
    buildMenus();
    buildControls();
    connectCommands();
    DialogKeys::install(this, {}); // Enter presses the focused button, as Space does
}

MainWindow::~MainWindow()
{
    setMainHub(m_previousHub);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = addMenu(bar, "mnu_file", QStringLiteral("&File"));
    mnu_loadvoc = addItem(file, "mnu_loadvoc");
    mnu_import = addItem(file, "mnu_import");
    mnu_export = addItem(file, "mnu_export");
    addSeparator(file, "kk");
    mnu_exit = addItem(file, "mnu_exit");

    QMenu* study = addMenu(bar, "mnu_action", QStringLiteral("&Study"));
    mnu_flash = addItem(study, "mnu_flash");
    mnu_autostudy = addItem(study, "mnu_autostudy");
    mnu_speakpinyin = addItem(study, "mnu_speakpinyin");
    addSeparator(study, "aaa");
    mnu_brain = addItem(study, "mnu_brain");

    QMenu* games = addMenu(bar, "mnu_games", QStringLiteral("&Games"));
    mnu_memory = addItem(games, "mnu_memory");

    QMenu* language = addMenu(bar, "mnulanguage", QStringLiteral("&Language"));
    mnu_english = addItem(language, "mnu_english", QStringLiteral("&English"));
    mnu_german = addItem(language, "mnu_german", QStringLiteral("&German"));
    mnu_newlang = addItem(language, "mnu_newlang", QStringLiteral("&New language"));
    for (QAction* a : {mnu_english, mnu_german, mnu_newlang})
        a->setCheckable(true);

    QMenu* h = addMenu(bar, "mnu_h", QStringLiteral("&Tavi"));
    mnu_help = addItem(h, "mnu_help");
    mnu_edit = addItem(h, "mnu_edit");
    install = addItem(h, "install", QStringLiteral("&Test Installation"));
    tools = addItem(h, "tools", QStringLiteral("&Tools"));
    mnu_pinyindisplay = addItem(h, "mnu_pinyindisplay");
    mnu_progress = addItem(h, "mnu_progress");
    addSeparator(h, "strich");
    mnu_about = addItem(h, "mnu_about");

    mnu_loadvoc->setShortcut(QKeySequence::Open);
    mnu_exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnu_help->setShortcut(QKeySequence(Qt::Key_F1));
}

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("main_central"));
    setCentralWidget(central);

    txt_title = new QLabel(central);
    txt_title->setObjectName(QStringLiteral("txt_title"));
    txt_title->setAlignment(Qt::AlignCenter);
    txt_title->setWordWrap(true);
    QFont tf = txt_title->font();
    tf.setPointSizeF(tf.pointSizeF() * 1.6);
    tf.setBold(true);
    txt_title->setFont(tf);
    txt_title->setStyleSheet(QStringLiteral("color: rgb(139, 26, 26);"));

    Picture1 = new QLabel(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(seal(QStringLiteral("seal_xue")));
    Picture2 = new QLabel(central);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setPixmap(seal(QStringLiteral("seal_zhongwen")));

    open_loadvoc = makeButton(central, "open_loadvoc");
    open_loadvoc->setIcon(bookIcon());
    bt_edit = makeButton(central, "bt_edit");
    go_flash = makeButton(central, "go_flash");
    go_flash->setIcon(cardsIcon());
    autovoc = makeButton(central, "autovoc");
    bt_brain = makeButton(central, "bt_brain");
    bt_game1 = makeButton(central, "bt_game1");
    bt_speakpinyin = makeButton(central, "bt_speakpinyin");
    bt_about = makeButton(central, "bt_about");
    bt_help = makeButton(central, "bt_help");
    bt_help->setText(QStringLiteral("Help"));

    Frame1 = makeFrame(central, "Frame1", {open_loadvoc, bt_edit});
    Frame2 = makeFrame(central, "Frame2", {go_flash, autovoc, bt_brain, bt_game1});
    Frame3 = makeFrame(central, "Frame3", {bt_speakpinyin, bt_about, bt_help});

    txt_status = new QLabel(central);
    txt_status->setObjectName(QStringLiteral("txt_status"));
    txt_status->setFrameShape(QFrame::StyledPanel);
    txt_status->setFrameShadow(QFrame::Sunken);
    txt_status->setMinimumHeight(26);
    txt_status->setWordWrap(true); // a long hint wraps rather than being cut off
    txt_status->setContentsMargins(6, 2, 6, 2);

    auto* header = new QHBoxLayout;
    header->addWidget(Picture1);
    header->addWidget(txt_title, 1);
    header->addWidget(Picture2);

    auto* frames = new QHBoxLayout;
    frames->setSpacing(12);
    frames->addWidget(Frame1, 1);
    frames->addWidget(Frame2, 1);
    frames->addWidget(Frame3, 1);

    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(16, 12, 16, 12);
    column->setSpacing(14);
    column->addLayout(header);
    column->addLayout(frames, 1);
    column->addWidget(txt_status);
    setMinimumSize(640, 380);
}

void MainWindow::connectCommands()
{
    auto both = [this](QPushButton* b, QAction* a, auto handler) {
        if (b)
            connect(b, &QPushButton::clicked, this, handler);
        if (a)
            connect(a, &QAction::triggered, this, handler);
    };
    both(open_loadvoc, mnu_loadvoc, [this] { openWindow(QStringLiteral("loadvoc")); });
    both(nullptr, mnu_import, [this] { openWindow(QStringLiteral("frm_import")); });
    both(nullptr, mnu_export, [this] { openWindow(QStringLiteral("frm_export")); });
    both(go_flash, mnu_flash,
         [this] { openWindow(QStringLiteral("flashcard"), QStringLiteral("main_txt_status_flash")); });
    both(autovoc, mnu_autostudy,
         [this] { openWindow(QStringLiteral("autoflash"), QStringLiteral("main_txt_status_autovoc")); });
    both(bt_speakpinyin, mnu_speakpinyin, [this] {
        openWindow(QStringLiteral("frm_speakpinyin"), QStringLiteral("main_txt_status_speakpinyin"));
    });
    both(bt_brain, mnu_brain,
         [this] { openWindow(QStringLiteral("frm_brain"), QStringLiteral("main_txt_status_brain"), true); });
    both(bt_game1, mnu_memory,
         [this] { openWindow(QStringLiteral("frm_game1"), QStringLiteral("main_txt_status_game1")); });
    both(bt_about, mnu_about,
         [this] { openWindow(QStringLiteral("frm_about"), QStringLiteral("main_txt_status_about")); });
    both(bt_help, mnu_help, &MainWindow::mnu_help_Click);
    // The edit button checks first that Chinese can be typed in the editor; the menu
    // item opens it as it is.
    both(nullptr, mnu_edit,
         [this] { openWindow(QStringLiteral("frm_editvoc"), QStringLiteral("main_txt_status_edit"), true); });
    both(bt_edit, nullptr, [this] {
        if (InstallWindow::test_auf_shdocvw()) {
            openWindow(QStringLiteral("frm_editvoc"));
            return;
        }
        MsgBox(LangText(QStringLiteral("install_need_input")), vbInformation, QStringLiteral("Tavi"));
        openWindow(QStringLiteral("frm_install"));
    });
    both(nullptr, install, [this] { openWindow(QStringLiteral("frm_install")); });
    both(nullptr, tools, [this] { openWindow(QStringLiteral("frm_tools")); });
    both(nullptr, mnu_pinyindisplay, [this] { openWindow(QStringLiteral("frm_pinyindisplay")); });
    both(nullptr, mnu_progress, [this] { openWindow(QStringLiteral("frm_progress")); });
    both(nullptr, mnu_exit, &MainWindow::mnu_exit_Click);
    both(nullptr, mnu_english, &MainWindow::mnu_english_Click);
    both(nullptr, mnu_german, &MainWindow::mnu_german_Click);
    both(nullptr, mnu_newlang, &MainWindow::mnu_newlang_Click);
}

void MainWindow::Form_Load(const QString& programFolder, const QString& sharedFolder)
{
    initProgramPaths(programFolder, sharedFolder);
    for (const QString& file : {SettingsFile, LanguageFile})
        if (QFileInfo(file).size() > ini::MaxFileSize)
            MsgBox(
                QStringLiteral("This file is too large for a settings or language file (more than 16 MB), so "
                               "Tavi neither reads nor changes it:\n") +
                    file,
                vbExclamation);
    LanguageSection = gkeyValue<QString>(QStringLiteral("R"), QStringLiteral("main_glang"), QString(),
                                         QStringLiteral("ENGLISH"));
    // The main window shows no Chinese text: the font file is added once the window
    // is on screen (see ensureChineseFont).
    m_fontPending = true;
    ChineseFont = QStringLiteral("MS Song");

    if (LanguageSection == u"GERMAN") {
        mnu_german_Click();
    } else if (LanguageSection == u"ENGLISH") {
        mnu_english_Click();
    } else if (LanguageSection == u"NEW") {
        mnu_newlang_Click();
    } else {
        MsgBox(QStringLiteral("No language  found: ") + LanguageSection +
               QStringLiteral(".I use English instead."));
        LanguageSection = QStringLiteral("ENGLISH");
        mnu_english_Click();
    }
}

void MainWindow::applyLanguage(const QString& section, QAction* checked)
{
    LanguageSection = section;
    for (QAction* a : {mnu_german, mnu_english, mnu_newlang})
        a->setChecked(a == checked);
    HelpFile = helpPageFor(section);
    useQtTranslation(section);
    LanguageSection = gkeyValue<QString>(QStringLiteral("W"), QStringLiteral("main_glang"), LanguageSection,
                                         LanguageSection);
    init_main_window();
    unload_windows();
}

void MainWindow::mnu_english_Click()
{
    applyLanguage(QStringLiteral("ENGLISH"), mnu_english);
}

void MainWindow::mnu_german_Click()
{
    applyLanguage(QStringLiteral("GERMAN"), mnu_german);
}

void MainWindow::mnu_newlang_Click()
{
    LanguageSection = QStringLiteral("NEW");
    MsgBox(QStringLiteral("Adapt Tavi to YOUR native language by translating the [NEW] section in the "
                          "language.ini file !"),
           vbInformation, QStringLiteral("Note"));
    applyLanguage(QStringLiteral("NEW"), mnu_newlang);
}

void MainWindow::init_main_window()
{
    do_settings(QStringLiteral("R"));
    const QString welcome = LangText(QStringLiteral("main_welcome"));
    const qint16 counter =
        gkeyValue<qint16>(QStringLiteral("R"), QStringLiteral("main_lang2"), qint16(0), FirstStartCounter);
    if (counter == FirstStartCounter) {
        VocFilePath = joinPath(joinPath(ProgramFolder, QStringLiteral("my_vocabulary")),
                               QStringLiteral("pcr1-10u.txt"));
        MsgBox(welcome, vbInformation, QStringLiteral("Ni hao !"));
        mnu_help_Click();
    }
    gkeyValue<qint16>(QStringLiteral("W"), QStringLiteral("main_lang2"), nextStartCounter(counter),
                      FirstStartCounter);

    setCaption(go_flash, mnu_flash, QStringLiteral("main_bt_flash"));
    setCaption(autovoc, mnu_autostudy, QStringLiteral("main_bt_autovoc"));
    setCaption(nullptr, mnu_exit, QStringLiteral("main_end"));
    setCaption(open_loadvoc, mnu_loadvoc, QStringLiteral("main_loadvoc"));
    setCaption(nullptr, mnu_import, QStringLiteral("main_mnu_import"));
    setCaption(nullptr, mnu_export, QStringLiteral("main_mnu_export"));
    setCaption(bt_about, mnu_about, QStringLiteral("main_bt_about"));
    setCaption(bt_game1, mnu_memory, QStringLiteral("main_bt_game1"));
    setCaption(bt_edit, mnu_edit, QStringLiteral("main_bt_edit"));
    setCaption(nullptr, mnu_help, QStringLiteral("main_bt_help"));
    setCaption(bt_speakpinyin, mnu_speakpinyin, QStringLiteral("main_bt_speakpinyin"));
    setCaption(bt_brain, mnu_brain, QStringLiteral("main_bt_brain"));
    txt_status->setText(LangText(QStringLiteral("main_txt_status_load")));
    txt_title->setText(LangText(QStringLiteral("main_txt_title")));
    setWindowTitle(txt_title->text());
    setCaption(nullptr, mnu_progress, QStringLiteral("mnu_progress"));
    setCaption(nullptr, mnu_pinyindisplay, QStringLiteral("main_mnu_pinyindisplay"));
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        assignAccessKeys(menu);

    set_vocbuttons(false);
}

void MainWindow::setCaption(QPushButton* button, QAction* item, const QString& key)
{
    const QString text = LangText(key);
    if (button)
        button->setText(text);
    item->setText(button ? button->text() : text);
}

void MainWindow::unload_windows()
{
    for (const char* name : {"frm_brain", "loadvoc", "flashcard", "frm_speakpinyin", "autoflash", "frm_about",
                             "frm_progress", "frm_pinyindisplay", "frm_import", "frm_export"})
        windows().unload(QLatin1String(name));
    show();
}

void MainWindow::set_vocbuttons(bool enabled)
{
    for (QAction* a : {mnu_flash, mnu_autostudy, mnu_memory})
        a->setEnabled(enabled);
    bt_game1->setEnabled(enabled);
    go_flash->setEnabled(enabled);
    autovoc->setEnabled(enabled);
    mnu_brain->setEnabled(enabled);
    bt_brain->setEnabled(enabled);
    setEditEnabled(enabled);
}

void MainWindow::setEditEnabled(bool enabled)
{
    bt_edit->setEnabled(enabled);
    mnu_edit->setEnabled(enabled);
    mnu_export->setEnabled(enabled); // what the editor works on: the whole file
}

void MainWindow::setStatus(const QString& text)
{
    txt_status->setText(text);
}

void MainWindow::showMain()
{
    show();
}

void MainWindow::minimiseMain()
{
    showMinimized();
}

QRect MainWindow::mainFrame() const
{
    return isVisible() ? frameGeometry() : QRect();
}

int MainWindow::frameWidth() const
{
    return frameGeometry().width() - geometry().width();
}

void MainWindow::openWindow(const QString& name, const QString& statusKey, bool statusAfter)
{
    if (!windows().has(name))
        return; // that window is not part of this version yet
    if (!statusKey.isEmpty() && !statusAfter)
        txt_status->setText(LangText(statusKey));
    windows().open(name);
    if (!statusKey.isEmpty() && statusAfter)
        txt_status->setText(LangText(statusKey));
}

void MainWindow::mnu_help_Click()
{
    RunFile(HelpFile, QString(), 1);
}

void MainWindow::mnu_exit_Click()
{
    txt_status->setText(LangText(QStringLiteral("main_txt_status_goodbye")));
    WaitSeconds(1.0f);
    frm_main_terminate();
}

void MainWindow::frm_main_terminate()
{
    if (m_terminating)
        return;
    m_terminating = true;
    Q_EMIT terminating();
    QCoreApplication::exit(0);
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (m_fontPending) {
        m_fontPending = false;
        QTimer::singleShot(0, this, &ensureChineseFont);
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, as the exit command does; a hidden
    // window left loaded must not keep it running invisibly.
    event->accept();
    frm_main_terminate();
}

} // namespace tavi
