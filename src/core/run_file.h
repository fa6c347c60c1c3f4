// Opening documents and addresses with the desktop's own programs.
#pragma once

#include <QString>
#include <QVariant>
#include <functional>

namespace tavi {

// Shell result codes: 32 and above is success; below are the classic failure codes.
inline constexpr int ShellOk = 42;
inline constexpr int ShellFileNotFound = 2;
inline constexpr int ShellPathNotFound = 3;
inline constexpr int ShellNoAssociation = 31;

// The message for a shell failure code (empty for unknown codes below 32).
QString RunFileMessage(int code);

// Whether the text is an address with a scheme ("mailto:", "https:") rather than a path.
bool isAddress(const QString& target);

// Opens file (a path or an address) with directory as working folder (empty: the
// default). show is the window show mode, which the desktop decides here. Never waits
// for the program; every failure, also one known only later, is shown in the critical
// OK/Cancel box titled "RunFile".
void RunFile(const QString& file, const QString& directory, const QVariant& show);

// The shell code for an exit status of xdg-open (0 ok, 2 missing file, 3 no method
// available for the file, 4 the handler failed); a crash counts as failure.
int shellCodeForXdgExit(int exitCode, bool crashed);

} // namespace tavi
