// `tavi --toggle-brainwash`: a command that users bind to a key of their desktop, for
// desktops where the program cannot grab a hotkey. It asks the running copy, through a
// local socket of the user's own, to do what the hotkey does.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace tavi {

// The socket of this user: in $XDG_RUNTIME_DIR, or else in the temporary folder with
// the user's id in its name.
QString toggleSocketPath();

// The running copy's side. The handler does the toggle and says whether there was a
// brainwash to toggle.
class ToggleServer : public QObject {
public:
    ToggleServer(const QString& path, std::function<bool()> handler);
    ~ToggleServer() override;
    // False when another copy already answers at the path, or the socket could not be made.
    bool listening() const;

private:
    QLocalServer* m_server;
    std::function<bool()> m_handler;
};

enum class ToggleResult { Toggled, NoCopy, NoBrainwash };

// The command's side: asks the copy at path, waiting at most timeoutMs.
ToggleResult sendToggle(const QString& path, int timeoutMs = 2000);

} // namespace tavi
