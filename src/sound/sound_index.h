// Finds sound files without regard to letter case, as vocabulary files expect ("Ni3"
// must find ni3.wav), without listing the folder for every syllable.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

namespace tavi {

class SoundIndex {
public:
    // The full path of the file in folder whose name matches fileName without regard to
    // case, or an empty text. A name that is not a plain file name (a path separator,
    // "..") never matches, so a text cannot reach outside the folder.
    QString find(const QString& folder, const QString& fileName);

    // Whether fileName could name a file inside the folder.
    static bool isPlainName(const QString& fileName);

    // How often the folder has been listed (for tests and measurements).
    int builds() const { return m_builds; }

private:
    void rebuildIfStale(const QString& folder);

    QString m_folder;
    QDateTime m_folderModified;
    bool m_unsure = true; // the listing may have missed a change within the same timestamp
    QHash<QString, QStringList> m_byFoldedName;
    int m_builds = 0;
};

// The index of the sound folder shared by every speaking window.
SoundIndex& soundIndex();

// Whether a recording is there, for many names at a time: one listing of the sound
// folders (the program folder's and the installed program's) taken now.
std::function<bool(const QString& fileName)> recordingLookup();

// A recording: the program folder's sound/ first, then the installed program's, file by
// file; an empty text when neither has it.
QString findSound(const QString& fileName);

} // namespace tavi
