// RunFile: finds missing files and folders itself, hands the rest to the opener and
// reports whatever failure the opener calls back with.
#include "core/run_file.h"

#include "core/services.h"

#include "core/msgbox.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tavi {

namespace {
void report(int code)
{
    MsgBox(RunFileMessage(code), vbCritical | vbOKCancel, QStringLiteral("RunFile"));
}
} // namespace

QString RunFileMessage(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral(
            "The file could not be run due to insufficient system memory or a corrupt program file");
    case 2:
        return QStringLiteral("File Not Found");
    case 3:
        return QStringLiteral("Invalid Path");
    case 5:
        return QStringLiteral("Sharing or protection error");
    case 6:
        return QStringLiteral("Separate data segments are required for each task ");
    case 8:
        return QStringLiteral("Insufficient memory to run the program");
    case 10:
        return QStringLiteral("Incorrect Windows version");
    case 11:
        return QStringLiteral("Invalid Program File");
    case 12:
        return QStringLiteral("Program file requires a different operating System ");
    case 13:
        return QStringLiteral("Program requires MS-DOS 4.0");
    case 14:
        return QStringLiteral("Unknown program file type");
    case 15:
        return QStringLiteral("Windows prgram does not support protected memory mode");
    case 16:
        return QStringLiteral("Invalid use of data segments when loading a second instance of a program");
    case 19:
        return QStringLiteral("Attempt to run a compressed program file");
    case 20:
        return QStringLiteral("Invalid dynamic link library");
    case 21:
        return QStringLiteral("Program requires Windows 32-bit extensions");
    case 31:
        return QStringLiteral("No application found for this file");
    default:
        return QString();
    }
}

bool isAddress(const QString& target)
{
    // Two letters at least before the colon, so that "C:" stays a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

void RunFile(const QString& file, const QString& directory, const QVariant& show)
{
    Q_UNUSED(show);
    if (!isAddress(file)) {
        const QFileInfo info(file);
        if (!info.exists()) {
            report(info.absoluteDir().exists() ? ShellFileNotFound : ShellPathNotFound);
            return;
        }
    }
    if (!directory.isEmpty() && !QFileInfo(directory).isDir()) {
        report(ShellPathNotFound);
        return;
    }
    DesktopOpener* opener = services().opener;
    if (!opener) {
        report(ShellNoAssociation);
        return;
    }
    opener->open(file, directory, [](int code) {
        if (code < 32)
            report(code);
    });
}

int shellCodeForXdgExit(int exitCode, bool crashed)
{
    if (crashed)
        return 0;
    switch (exitCode) {
    case 0:
        return ShellOk;
    case 2:
        return ShellFileNotFound;
    case 3:
    case 4:
        return ShellNoAssociation;
    default:
        return 0;
    }
}

} // namespace tavi
