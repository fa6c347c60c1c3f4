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
#include <functional>

namespace tavi {

// Writes bytes as the new content of path (a symbolic link's target, when path is one),
// keeping the file's permissions. beforeReplace runs when the new content is on the disk
// and the old file is still in place. On failure the file is untouched, nothing is left
// beside it, and error (when given) says why.
bool replaceFile(const QString& path, QByteArrayView bytes, QString* error = nullptr,
                 const std::function<void()>& beforeReplace = {});

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
