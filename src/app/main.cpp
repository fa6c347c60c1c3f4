// Installs the real services and starts the main window.
#include "core/main_window.h"
#include "core/qt_message_box.h"
#include "core/window_registry.h"
#include "platform/sdl_audio_output.h"
#include "platform/x11_window_system.h"
#include "platform/xdg_opener.h"
#include "vocabulary/qt_open_file_dialog.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr,
                     "tavi: no display found; on a machine without a desktop start it with: "
                     "xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavi"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The welcome box is shown before the main window; closing it must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    tavi::QtMessageBox boxes;
    tavi::setMessageBoxService(&boxes);
    tavi::XdgOpener opener;
    tavi::setDesktopOpener(&opener);
    tavi::QtOpenFileDialog fileDialog;
    tavi::setOpenFileDialogService(&fileDialog);
    tavi::SdlAudioOutput audio;
    tavi::setAudioOutput(&audio);
    tavi::X11WindowSystem windowSystem;
    tavi::setWindowSystem(&windowSystem);
    tavi::WindowRegistry registry;
    tavi::registerAllWindows(registry);

    int rc = 0;
    {
        tavi::MainWindow mainWindow;
        mainWindow.Form_Load(QCoreApplication::applicationDirPath());
        rc = QApplication::exec();
        registry.unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    tavi::setWindowSystem(nullptr);
    tavi::setOpenFileDialogService(nullptr);
    tavi::setAudioOutput(nullptr);
    tavi::setDesktopOpener(nullptr);
    tavi::setMessageBoxService(nullptr);
    return rc;
}
