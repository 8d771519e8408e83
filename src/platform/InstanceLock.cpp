#include "InstanceLock.h"

#include <QByteArray>
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pausewell::platform {
namespace {

// A folder we may trust: a real directory (not a link), ours, and closed to others.
bool isPrivateDir(const QByteArray &path) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

} // namespace

QString privateRuntimeDir() {
    const QByteArray xdg = qgetenv("XDG_RUNTIME_DIR");
    if (isPrivateDir(xdg))
        return QString::fromLocal8Bit(xdg);

    // No usable runtime folder: make (or reuse) /tmp/pausewell-<uid>, but only
    // once it is proven to be ours and private; never a shared path on trust.
    const QByteArray fallback = QByteArray("/tmp/pausewell-") + QByteArray::number(::getuid());
    if (::mkdir(fallback.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateDir(fallback) ? QString::fromLocal8Bit(fallback) : QString();
}

LockResult acquireInstanceLock(const QString &name) {
    const QString dir = privateRuntimeDir();
    if (dir.isEmpty())
        return LockResult::Unguarded;
    const QByteArray path =
        QFile::encodeName(dir + QLatin1Char('/') + name + QLatin1String(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return LockResult::Unguarded;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return LockResult::Acquired; // fd stays open for the life of the process
    const int err = errno;
    ::close(fd);
    return err == EWOULDBLOCK ? LockResult::HeldByOther : LockResult::Unguarded;
}

} // namespace pausewell::platform
