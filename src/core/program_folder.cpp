// The program folder of a build folder or of an installed program.
#include "core/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tavi {

namespace {

const char* const kUserFiles[] = {
    "language.ini",
    "help.htm",
    "help_d.htm",
    "help_n.htm",
    "my_vocabulary/pcr1-10u.txt",
    "meine vokabeln/pcr1-10u_d.txt",
};

bool holdsLanguageFile(const QString& folder)
{
    return QFileInfo(QDir(folder).filePath(QStringLiteral("language.ini"))).isFile();
}

} // namespace

ProgramLayout programLayout(const QString& executableFolder, const QString& dataHome)
{
    const QString shared = QDir::cleanPath(executableFolder + QStringLiteral("/../share/tavi"));
    if (holdsLanguageFile(executableFolder) || !holdsLanguageFile(shared) || dataHome.isEmpty())
        return {executableFolder, executableFolder, false};
    return {QDir::cleanPath(dataHome + QStringLiteral("/tavi")), shared, true};
}

QString prepareUserFolder(const ProgramLayout& layout)
{
    if (!layout.perUser)
        return {};
    const QDir user(layout.program);
    if (!user.mkpath(QStringLiteral(".")))
        return QStringLiteral("Can not create the folder ") + QDir::toNativeSeparators(layout.program);
    const QDir shared(layout.shared);
    for (const char* name : kUserFiles) {
        const QString target = user.filePath(QLatin1String(name));
        if (QFileInfo::exists(target))
            continue;
        const QString source = shared.filePath(QLatin1String(name));
        if (!QFileInfo::exists(source))
            continue;
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return QStringLiteral("Can not copy ") + QDir::toNativeSeparators(source) +
                   QStringLiteral(" to ") + QDir::toNativeSeparators(target);
        // An installed file is read-only; the user's copy is theirs to change.
        QFile::setPermissions(target,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return {};
}

} // namespace tavi
