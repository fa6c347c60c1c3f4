// The services that tests replace, in one place: message boxes, the desktop opener,
// the file dialog, the sound output, the window system (the window in front, the
// hotkey) and the installation probe. main.cpp installs the real ones, a test its fakes,
// each through a ServiceScope. A service that is not installed is absent, and every
// caller takes that alike, as the service's "nothing": no box is shown (it is written
// to standard error and answered with its first button), nothing is opened (the shell's
// "no association"), no file is chosen, nothing is heard, no window is followed and no
// hotkey had, nothing is found installed, the desktop binds no shortcut.
#pragma once

#include <QChar>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tavi {

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // The button pressed (MsgBoxResult); flags as MsgBoxStyle.
    virtual int show(const QString& text, int flags, const QString& title) = 0;
};

// Starts the desktop's handler for a document or address and returns at once. done
// gets a shell result code, possibly before open returns, possibly much later.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual void open(const QString& target, const QString& directory, std::function<void(int)> done) = 0;
};

class OpenFileDialogService {
public:
    virtual ~OpenFileDialogService() = default;
    // The chosen file's full path, or an empty text when the user cancelled.
    virtual QString getOpenFileName(const QString& title, const QString& initialFile,
                                    const QStringList& filters) = 0;
    // The path to save to, or an empty text when the user cancelled.
    virtual QString getSaveFileName(const QString& title, const QString& initialFile,
                                    const QStringList& filters) = 0;
};

// Synchronous playback of one sound file.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Plays the file to its end; false when it could not be played (unreadable or
    // corrupt file, no sound output).
    virtual bool play(const QString& path) = 0;
};

// What the brainwash needs of the window system: the window the user works in, with its
// frame, and a system-wide hotkey.
class WindowSystem {
public:
    enum class Modifier { Alt, Ctrl, Shift, Win };
    enum class GrabResult {
        Grabbed,
        Taken,       // another program holds that key
        Unavailable, // no window system that offers hotkeys
    };
    struct Foreground {
        quintptr window = 0; // the same kind of id as QWidget::winId()
        QRect frame;         // with the window manager's frame, in root pixels
    };

    virtual ~WindowSystem() = default;
    // False without X11 (the offscreen platform, Wayland without XWayland): nothing is
    // followed and no hotkey can be had.
    virtual bool available() const = 0;
    virtual std::optional<Foreground> foreground() = 0;
    // One hotkey at a time: a grab replaces the previous one. key is a letter A to Z.
    virtual GrabResult grabHotkey(Modifier modifier, QChar key) = 0;
    virtual void ungrabHotkey() = 0;

    // Called on the GUI thread at each press of the grabbed key.
    std::function<void()> onHotkey;
};

// The desktop's own global shortcut, on desktops where the program cannot grab a key
// itself (Wayland sessions, through the desktop's shortcuts portal). The desktop binds
// the key, perhaps after asking the user or choosing another one, so the answer comes
// later.
class DesktopShortcut {
public:
    struct Answer {
        bool bound = false;
        QString trigger; // the key as the desktop describes it; may be empty
        QString error;   // why there is none
    };

    virtual ~DesktopShortcut() = default;
    // Asks for the program's one shortcut, preferring a trigger such as "ALT+q"; done is
    // called once, on the GUI thread, with what the desktop said.
    virtual void bind(const QString& preferredTrigger, std::function<void(const Answer&)> done) = 0;

    // A trigger in the desktops' shared notation: "CTRL+q", "LOGO+q".
    static QString preferredTrigger(WindowSystem::Modifier modifier, QChar key);

    // Called on the GUI thread at each press of the shortcut.
    std::function<void()> onActivated;
};

// What the installation check asks of the desktop: whether Chinese can be typed into the
// program (an input-method framework with its Qt connection) and whether a Chinese input
// method is there for it.
class InstallProbe {
public:
    virtual ~InstallProbe() = default;
    virtual bool inputConnection() const = 0;
    virtual bool chineseInputMethod() const = 0;
};

struct Services {
    MessageBoxService* boxes = nullptr;
    DesktopOpener* opener = nullptr;
    OpenFileDialogService* fileDialog = nullptr;
    AudioOutput* audio = nullptr;
    WindowSystem* windowSystem = nullptr;
    InstallProbe* installProbe = nullptr;
    DesktopShortcut* desktopShortcut = nullptr; // only on desktops that bind keys themselves
};

// The services of this run (not owned).
const Services& services();

// Installs the services given (those not null; with Only, exactly those, so that the
// others are absent) for its lifetime, then puts back what stood there before. Scopes
// end in the reverse order of their start.
class ServiceScope {
public:
    enum Fill { Given, Only };
    explicit ServiceScope(const Services& mine, Fill fill = Given);
    ~ServiceScope();
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;

private:
    Services m_mine;
    Services m_before;
    Fill m_fill;
};

} // namespace tavi
