// Paths beside the program and the start counter.
#include "core/app_state.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

namespace tavi {

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + QDir::separator() + name;
}

void resetAppState()
{
    for (QString* value : {&ProgramFolder, &LanguageFile, &SettingsFile, &SettingsSection, &SoundFolder,
                           &SharedFolder, &HelpFile, &VocFilePath})
        value->clear();
    LanguageSection = QStringLiteral("ENGLISH");
    ChineseFont = QStringLiteral("MS Song");
}

void initProgramPaths(const QString& programFolder, const QString& sharedFolder)
{
    ProgramFolder = QDir::toNativeSeparators(programFolder);
    while (ProgramFolder.size() > 1 && ProgramFolder.endsWith(QDir::separator()))
        ProgramFolder.chop(1);
    LanguageFile = joinPath(ProgramFolder, QStringLiteral("language.ini"));
    SettingsFile = joinPath(ProgramFolder, QStringLiteral("tavi.ini"));
    SettingsSection = QStringLiteral("Tavi");
    SoundFolder = joinPath(ProgramFolder, QStringLiteral("sound")) + QDir::separator();
    SharedFolder = sharedFolder.isEmpty() ? ProgramFolder : QDir::toNativeSeparators(sharedFolder);
}

QString programFile(const QString& name)
{
    const QString own = joinPath(ProgramFolder, name);
    if (SharedFolder == ProgramFolder || QFileInfo::exists(own))
        return own;
    return joinPath(SharedFolder, name);
}

qint16 nextStartCounter(qint16 counter)
{
    if (counter == std::numeric_limits<qint16>::max())
        return counter;
    return static_cast<qint16>(counter + 1);
}

} // namespace tavi
