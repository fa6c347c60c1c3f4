// The running copy's commands, heard on a local socket of the user's own:
// `tavi --toggle-brainwash`, a command that users bind to a key of their desktop for
// desktops where the program cannot grab a hotkey, does what the hotkey does; `tavi FILE`
// hands the file to the running copy instead of starting a second one.
//
// A command is one request line, answered with one line:
//   toggle-brainwash          → toggled | no-brainwash
//   open PATH                 → opened   (PATH an absolute path, UTF-8, percent-encoded,
//                                         so that it may hold line breaks)
//   anything else             → unknown
#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

namespace tavi {

// The socket of this user: in $XDG_RUNTIME_DIR, or else in the temporary folder with
// the user's id in its name.
QString commandSocketPath();

// The running copy's side. toggle does the toggle and says whether there was a brainwash
// to toggle; open gets the path of a file to open, after the command has had its answer
// (opening it may show boxes). Without open, no file is taken.
class CommandServer : public QObject {
public:
    CommandServer(const QString& path, std::function<bool()> toggle,
                  std::function<void(const QString&)> open = {});
    ~CommandServer() override;
    // False when another copy already answers at the path, or the socket could not be made.
    bool listening() const;

private:
    QByteArray answer(const QByteArray& request);

    QLocalServer* m_server;
    std::function<bool()> m_toggle;
    std::function<void(const QString&)> m_open;
};

enum class ToggleResult { Toggled, NoCopy, NoBrainwash };

// The commands' side: asks the copy at path, waiting at most timeoutMs.
ToggleResult sendToggle(const QString& path, int timeoutMs = 2000);
// True when the copy at path took the file (an absolute path).
bool sendOpenFile(const QString& path, const QString& file, int timeoutMs = 3000);

} // namespace tavi
