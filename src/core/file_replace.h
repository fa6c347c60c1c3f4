// Replacing a file's content so that a crash at any moment leaves either the old file or
// the new one at its name, whole.
//
// The new content goes into <name>.saving beside the file, reaches the disk, and is then
// renamed over the file. A save cut off by a crash leaves at most that one passing file,
// which the next save of the same file clears away; readers never look at it. (Qt's
// QSaveFile leaves a file with a random name behind when killed at the wrong moment,
// and nothing ever removes those.)
#pragma once
#include <QByteArrayView>
#include <QString>

namespace tavi {

// The file that a save of path writes: path itself, or the file that its chain of
// symbolic links ends at (replacing a link by a file would fork the user's file).
QString savedFile(const QString& path);

// Whether two paths name the same file, through their links and however spelled; a file
// that does not exist yet is named by its absolute path.
bool sameFile(const QString& a, const QString& b);

enum class Backup { None, Keep };

// Writes bytes as the new content of savedFile(path). An existing file keeps its mode,
// owner and group (as far as the system lets this user keep them); a new file gets the
// mode the creation mask leaves of rw-rw-rw-. With Backup::Keep the previous content
// becomes <path>.bak once the new content is on the disk, by a rename, so that a backup
// is there, whole, at every moment. On failure the file is untouched, nothing is left
// beside it, and error (when given) says why.
bool replaceFile(const QString& path, QByteArrayView bytes, QString* error = nullptr,
                 Backup backup = Backup::None);

// An exclusive lock on a file that replaceFile replaces, for a read-change-write that
// several processes do: taken on the file itself (no lock file is left anywhere), taken
// again when the file was replaced while waiting, and released by the system when the
// process dies, so that a crashed copy never blocks the others. Waits up to five
// seconds. A file that can neither be opened nor created is not locked (held() is
// false with reason None): a write to it fails anyway.
class FileLock {
public:
    explicit FileLock(const QString& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    enum class Failure { None, Busy };
    bool held() const { return m_fd >= 0; }
    Failure failure() const { return m_failure; }

private:
    int m_fd = -1;
    Failure m_failure = Failure::None;
};

} // namespace tavi
