#include "core/file_replace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavi {

namespace {

bool writeAll(int fd, QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Makes the file at target (the content before a save) the backup at backup: a second
// name for it costs nothing; across file systems it is copied. The backup is made under
// a passing name and renamed over the old one. A backup that cannot be made does not
// stop the save.
void keepBackup(const QByteArray& target, const QByteArray& backup)
{
    const QByteArray fresh = backup + ".new";
    ::unlink(fresh.constData());
    if (::link(target.constData(), fresh.constData()) == 0 ||
        QFile::copy(QFile::decodeName(target), QFile::decodeName(fresh)))
        ::rename(fresh.constData(), backup.constData());
    // A rename between two names of one file (the backup of a save that was cut off
    // before its end) leaves both names.
    ::unlink(fresh.constData());
}

} // namespace

QString savedFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath(); // the end of the chain
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

bool sameFile(const QString& a, const QString& b)
{
    const auto written = [](const QString& path) {
        const QFileInfo file(savedFile(path));
        const QString canonical = file.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical;
    };
    return written(a) == written(b);
}

bool replaceFile(const QString& path, QByteArrayView bytes, QString* error, Backup backup)
{
    const QByteArray target = QFile::encodeName(savedFile(path));
    const QByteArray passing = target + ".saving";
    auto fail = [&](int fd) {
        const int cause = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(passing.constData());
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(cause));
        return false;
    };

    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    ::unlink(passing.constData()); // left by a save that a crash cut off
    // A new file is created with rw-rw-rw-, which the creation mask narrows.
    const int fd = ::open(passing.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0)
        return fail(-1);
    if (exists) {
        // The file stays whose it was; only its owner or the superuser can keep that,
        // and otherwise it becomes the saving user's, as any new file would.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)!::fchown(fd, uid_t(-1), old.st_gid); // the group at least, where the user is in it
        if (::fchmod(fd, old.st_mode & 07777) != 0 && errno != EPERM)
            return fail(fd);
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(fd);
    if (::close(fd) != 0)
        return fail(-1);
    if (exists && backup == Backup::Keep)
        keepBackup(target, QFile::encodeName(path) + ".bak");
    if (::rename(passing.constData(), target.constData()) != 0)
        return fail(-1);
    return true;
}

FileLock::FileLock(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < 500; ++attempt) {
        int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0)
            fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            struct stat locked {
            }, now{};
            if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &now) == 0 &&
                locked.st_ino == now.st_ino && locked.st_dev == now.st_dev) {
                m_fd = fd;
                return;
            }
            ::close(fd); // replaced meanwhile: the new file is the one to lock
            continue;
        }
        ::close(fd);
        ::usleep(10000);
    }
    m_failure = Failure::Busy;
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace tavi
