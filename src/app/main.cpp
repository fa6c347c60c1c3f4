// Installs the real services and starts the main window.
#include "app/all_windows.h"
#include "app/open_file.h"
#include "brainwash/brain_window.h"
#include "core/display_platform.h"
#include "core/main_window.h"
#include "core/msgbox.h"
#include "core/program_folder.h"
#include "core/qt_message_box.h"
#include "core/services.h"
#include "core/window_registry.h"
#include "install/install_probe.h"
#include "platform/portal_shortcuts.h"
#include "platform/sdl_audio_output.h"
#include "platform/toggle_channel.h"
#include "platform/x11_window_system.h"
#include "platform/xdg_opener.h"
#include "sound/pinyin_display.h"
#include "vocabulary/qt_open_file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

namespace {

// The command: asks the running copy and says what became of it.
int toggleBrainwash(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString path = tavi::commandSocketPath();
    switch (tavi::sendToggle(path)) {
    case tavi::ToggleResult::Toggled:
        return 0;
    case tavi::ToggleResult::NoBrainwash:
        std::fprintf(stderr, "tavi: the brainwash is not running; start it in Tavi's brainwash window\n");
        return 2;
    case tavi::ToggleResult::NoCopy:
        break;
    }
    std::fprintf(stderr, "tavi: no running Tavi answers at %s\n", qPrintable(path));
    return 1;
}

// The file to open: the first argument that is no option (`--` ends the options), made
// absolute against the current folder. Qt's own options are gone from argv by now.
QString givenFile(int argc, char* argv[])
{
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (options && arg == "--")
            options = false;
        else if (!arg.empty() && !(options && arg.starts_with('-')))
            return QDir::cleanPath(QDir::current().absoluteFilePath(QFile::decodeName(argv[i])));
    }
    return {};
}

// Runs once the window is on screen (its first paint), by when the window manager has
// placed it and a window opened over it lands right; after a second at the latest, for a
// window that does not show.
class WhenOnScreen : public QObject {
public:
    WhenOnScreen(QWidget* w, std::function<void()> run) : QObject(w), m_run(std::move(run))
    {
        if (w->windowHandle() && w->windowHandle()->isExposed())
            QTimer::singleShot(0, this, &WhenOnScreen::fire);
        w->installEventFilter(this);
        QTimer::singleShot(1000, this, &WhenOnScreen::fire);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            QTimer::singleShot(0, this, &WhenOnScreen::fire); // with the paint done
        return false;
    }

private:
    void fire()
    {
        if (!m_run)
            return;
        const std::function<void()> run = std::exchange(m_run, {});
        parent()->removeEventFilter(this);
        deleteLater();
        run();
    }
    std::function<void()> m_run;
};

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--version") {
            std::printf("tavi %s\n", TAVI_VERSION);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::printf(
                "Usage: tavi [--version] [--help] [--toggle-brainwash] [[--] FILE]\n"
                "A trainer for Chinese vocabulary: flashcards, brainwash, memory game and pinyin "
                "sounds.\nIts files: beside the program, or when installed in $XDG_DATA_HOME/tavi.\n"
                "  FILE                a vocabulary file to select words from, or a file of another\n"
                "                      program to import words from (Pleco's flashcards, CSV, TSV);\n"
                "                      a running Tavi opens it, or else a new one starts with it\n"
                "  --toggle-brainwash  hides or shows the brainwash words of the running Tavi, as its\n"
                "                      hotkey does; bind it to a key in your desktop's keyboard settings\n");
            return 0;
        }
        if (arg == "--toggle-brainwash")
            return toggleBrainwash(argc, argv);
    }
    const tavi::DisplayChoice display = tavi::chooseDisplayPlatform(tavi::currentDisplayEnvironment());
    if (!display.display) {
        std::fprintf(stderr,
                     "tavi: no display found; on a machine without a desktop start it with: "
                     "xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    if (!display.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", display.platform.toLatin1());
    if (!display.note.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(display.note));
    // The launcher's start-up feedback: Qt takes the id from the environment when it starts.
    const QByteArray startupId = qgetenv("DESKTOP_STARTUP_ID");
    QApplication app(argc, argv);
    // A running copy takes the file and shows it; this one has nothing more to do than end
    // the launcher's busy cursor, which its own window would have ended.
    const QString given = givenFile(argc, argv);
    if (!given.isEmpty() && tavi::sendOpenFile(tavi::commandSocketPath(), given)) {
        tavi::endStartupNotification(startupId);
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Tavi"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setDesktopFileName(QStringLiteral("org.tavitrainer.Tavi"));
    QIcon icon(QStringLiteral(":/icon/org.tavitrainer.Tavi-256.png"));
    icon.addFile(QStringLiteral(":/icon/org.tavitrainer.Tavi-48.png"));
    QApplication::setWindowIcon(icon);
    // The welcome box is shown before the main window; closing it must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    // The real services, for as long as the program runs.
    tavi::QtMessageBox boxes;
    tavi::XdgOpener opener;
    tavi::QtOpenFileDialog fileDialog;
    tavi::SdlAudioOutput audio;
    tavi::X11WindowSystem windowSystem;
    tavi::DesktopInstallProbe installProbe;
    // On a Wayland session a key is the desktop's to bind: its shortcuts portal.
    std::optional<tavi::PortalShortcuts> portal;
    if (display.waylandSession)
        portal.emplace(QDBusConnection::sessionBus());
    const tavi::ServiceScope services(
        {&boxes, &opener, &fileDialog, &audio, &windowSystem, &installProbe, portal ? &*portal : nullptr});
    tavi::WindowRegistry registry;
    tavi::registerAllWindows(registry);
    // Files to open once the main window is up: the one given, and those that later
    // `tavi FILE` commands hand over meanwhile (while a first-start box waits, say).
    QStringList pending;
    if (!given.isEmpty())
        pending << given;
    bool mainWindowUp = false;
    // What the hotkey does, for `tavi --toggle-brainwash`; the files of `tavi FILE`.
    const tavi::CommandServer commands(
        tavi::commandSocketPath(),
        [&registry] {
            auto* brain = qobject_cast<tavi::BrainWindow*>(registry.find(QStringLiteral("frm_brain")));
            return brain && brain->toggleFromCommand();
        },
        [&](const QString& file) {
            if (mainWindowUp)
                tavi::openGivenFile(file);
            else
                pending << file;
        });

    const tavi::ProgramLayout layout =
        tavi::programLayout(QCoreApplication::applicationDirPath(),
                            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (const QString problem = tavi::prepareUserFolder(layout); !problem.isEmpty()) {
        tavi::MsgBox(problem, tavi::vbCritical);
        return 1;
    }

    int rc = 0;
    {
        tavi::MainWindow mainWindow;
        mainWindow.Form_Load(layout.program, layout.shared);
        tavi::PinyinDisplayNotifier::instance().reload(); // the setting of this program folder
        // Once the main window shows, with the boxes of the start closed.
        new WhenOnScreen(&mainWindow, [&] {
            mainWindowUp = true;
            for (const QString& file : std::exchange(pending, {}))
                tavi::openGivenFile(file);
        });
        rc = QApplication::exec();
        registry.unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return rc;
}
