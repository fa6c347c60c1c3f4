// The folder is listed again only when its modification time changes. File systems
// stamp folders coarsely (a second or two on some), so a listing taken within that
// window after a change is repeated at the next lookup rather than trusted.
#include "sound/sound_index.h"

#include "core/app_state.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace tavi {

namespace {

constexpr qint64 TimestampSlackMs = 2000;

QString fold(const QString& name)
{
    return name.toCaseFolded();
}

} // namespace

bool SoundIndex::isPlainName(const QString& fileName)
{
    return !fileName.contains(u'/') && !fileName.contains(u'\\') && !fileName.contains(QLatin1String("..")) &&
           !fileName.contains(QChar(0));
}

QString SoundIndex::find(const QString& folder, const QString& fileName)
{
    if (!isPlainName(fileName))
        return QString();
    rebuildIfStale(folder);
    const auto it = m_byFoldedName.constFind(fold(fileName));
    if (it == m_byFoldedName.constEnd())
        return QString();
    // Names that differ only in case: the exact spelling wins, else the first in order.
    const QString& name = it->contains(fileName) ? fileName : it->first();
    return QDir(folder).filePath(name);
}

void SoundIndex::rebuildIfStale(const QString& folder)
{
    const QFileInfo info(folder);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (folder == m_folder && modified == m_folderModified && !m_unsure)
        return;

    const QDateTime listedAt = QDateTime::currentDateTimeUtc();
    m_byFoldedName.clear();
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        m_byFoldedName[fold(name)].append(name);
    m_folder = folder;
    m_folderModified = modified;
    m_unsure = modified.isValid() && modified.msecsTo(listedAt) < TimestampSlackMs;
    ++m_builds;
}

SoundIndex& soundIndex()
{
    static SoundIndex index;
    return index;
}

QString findSound(const QString& fileName)
{
    const QString own = soundIndex().find(SoundFolder, fileName);
    if (!own.isEmpty() || SharedFolder == ProgramFolder)
        return own;
    static SoundIndex shared;
    return shared.find(joinPath(SharedFolder, QStringLiteral("sound")) + QDir::separator(), fileName);
}

} // namespace tavi

namespace tavi {

std::function<bool(const QString& fileName)> recordingLookup()
{
    QSet<QString> names;
    QStringList folders{SoundFolder};
    if (SharedFolder != ProgramFolder)
        folders << joinPath(SharedFolder, QStringLiteral("sound"));
    for (const QString& folder : folders)
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            names.insert(fold(name));
    return [names = std::move(names)](const QString& fileName) {
        return SoundIndex::isPlainName(fileName) && names.contains(fold(fileName));
    };
}

} // namespace tavi
