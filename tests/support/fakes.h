// Recording stand-ins for the services a test must not let block: message boxes, the
// desktop opener, the sound output and the window system.
#pragma once

#include "core/msgbox.h"
#include "core/run_file.h"
#include "core/services.h"
#include "install/install_probe.h"

#include <QList>
#include <QSet>
#include <QString>
#include <functional>

namespace tavi::test {

struct BoxCall {
    QString text;
    int flags;
    QString title;
};

// Records every box and answers with the queued buttons, then with OK (Yes for a
// Yes/No box). Installs itself for its lifetime.
class FakeMessageBox final : public MessageBoxService {
public:
    FakeMessageBox();
    int show(const QString& text, int flags, const QString& title) override;
    // Each box so far as "text|flags|title".
    QStringList shown() const;

    QList<BoxCall> calls;
    QList<int> answers;
    std::function<void(const BoxCall&)> onShow; // runs while the box is "open"

private:
    ServiceScope m_scope;
};

struct OpenCall {
    QString target;
    QString directory;
};

// Records what would be opened. With a code set it answers at once; otherwise the
// answer waits until reply() is called, as a slow desktop handler would.
class FakeOpener final : public DesktopOpener {
public:
    FakeOpener();
    void open(const QString& target, const QString& directory, std::function<void(int)> done) override;
    void reply(int code);

    QList<OpenCall> calls;
    int immediateCode = ShellOk;
    bool deferred = false;

private:
    QList<std::function<void(int)>> m_pending;

    ServiceScope m_scope;
};

struct DialogCall {
    QString title;
    QString initialFile;
    QStringList filters;
    bool save = false;
};

// Answers the open-file dialog with the queued paths (an empty one is a cancel), then
// with a cancel. Installs itself for its lifetime.
class FakeOpenFileDialog final : public OpenFileDialogService {
public:
    FakeOpenFileDialog();
    QString getOpenFileName(const QString& title, const QString& initialFile,
                            const QStringList& filters) override;
    QString getSaveFileName(const QString& title, const QString& initialFile,
                            const QStringList& filters) override;

    QList<DialogCall> calls;
    QStringList answers;

private:
    ServiceScope m_scope;
};

// Records the file names (as found on disk) of the sounds played, in order; a name in
// failing is refused as a corrupt file would be. Installs itself for its lifetime.
class FakeAudioOutput final : public AudioOutput {
public:
    FakeAudioOutput();
    bool play(const QString& path) override;

    QStringList played;
    QStringList refused;
    QSet<QString> failing;
    std::function<void(const QString&)> onPlay; // runs while the sound "plays"

private:
    ServiceScope m_scope;
};

// A window system with a foreground window the test places and a hotkey it presses.
// grabs records "Alt+Q" for each grab and "-" for each ungrab. Installs itself for its
// lifetime.
class FakeWindowSystem final : public WindowSystem {
public:
    FakeWindowSystem();
    bool available() const override { return isAvailable; }
    std::optional<Foreground> foreground() override { return front; }
    GrabResult grabHotkey(Modifier modifier, QChar key) override;
    void ungrabHotkey() override;
    // A press of the grabbed key; false when no key was grabbed.
    bool press();

    bool isAvailable = true;
    std::optional<Foreground> front;
    GrabResult answer = GrabResult::Grabbed;
    QStringList grabs;
    bool grabbed = false;

private:
    ServiceScope m_scope;
};

// A desktop that binds the program's shortcut itself; it answers when the test says.
// Installs itself for its lifetime.
class FakeDesktopShortcut final : public DesktopShortcut {
public:
    FakeDesktopShortcut() : m_scope({.desktopShortcut = this}) {}
    void bind(const QString& preferredTrigger, std::function<void(const Answer&)> done) override
    {
        asked << preferredTrigger;
        m_pending = std::move(done);
    }
    // The desktop's answer to the bind under way; false when none is.
    bool answer(const Answer& answer);
    // A press of the bound shortcut; false when nobody hears it.
    bool press();

    QStringList asked;

private:
    std::function<void(const Answer&)> m_pending;
    ServiceScope m_scope;
};

// A desktop with or without an input method, as the test says. Installs itself for
// its lifetime.
class FakeInstallProbe final : public InstallProbe {
public:
    FakeInstallProbe() : m_scope({.installProbe = this}) {}
    bool inputConnection() const override { return connection; }
    bool chineseInputMethod() const override { return chinese; }

    bool connection = true;
    bool chinese = true;

private:
    ServiceScope m_scope;
};

} // namespace tavi::test
