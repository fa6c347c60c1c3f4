// xdg-open runs in a session of its own and is never waited for; only its exit
// status is picked up when it comes, because "no method available" is known to it
// alone and must still reach the user.
#include "platform/xdg_opener.h"

#include <QProcess>
#include <unistd.h>

namespace tavi {

XdgOpener::XdgOpener(QString program, QObject* parent) : QObject(parent), m_program(std::move(program)) {}

void XdgOpener::open(const QString& target, const QString& directory, std::function<void(int)> done)
{
    auto* process = new QProcess(this);
    process->setProgram(m_program);
    process->setArguments({target});
    if (!directory.isEmpty())
        process->setWorkingDirectory(directory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    // The program it starts must outlive the trainer.
    process->setChildProcessModifier([] { ::setsid(); });

    auto reported = std::make_shared<bool>(false);
    auto finish = [process, done, reported](int code) {
        if (*reported)
            return;
        *reported = true;
        process->deleteLater();
        done(code);
    };
    connect(process, &QProcess::errorOccurred, this, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(ShellNoAssociation);
    });
    connect(process, &QProcess::finished, this, [finish](int exitCode, QProcess::ExitStatus status) {
        finish(shellCodeForXdgExit(exitCode, status == QProcess::CrashExit));
    });
    process->start();
}

} // namespace tavi
