#include "core/file_replace.h"

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

} // namespace

bool replaceFile(const QString& path, QByteArrayView bytes, QString* error, const std::function<void()>& beforeReplace)
{
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
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
    const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : 0666;
    ::unlink(passing.constData()); // left by a save that a crash cut off
    const int fd = ::open(passing.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return fail(-1);
    if (::fchmod(fd, mode) != 0 && errno != EPERM) // the creation mask took bits away
        return fail(fd);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(fd);
    if (::close(fd) != 0)
        return fail(-1);
    if (beforeReplace)
        beforeReplace();
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
            struct stat locked {}, now {};
            if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &now) == 0 && locked.st_ino == now.st_ino &&
                locked.st_dev == now.st_dev) {
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
