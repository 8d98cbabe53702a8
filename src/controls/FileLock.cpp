#include "controls/FileLock.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plainfile {

namespace {

QByteArray hostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return QByteArray();
    return QByteArray(name);
}

} // namespace

FileLock::FileLock(const QString &target, LockTimes times)
    : path_(target + QStringLiteral(".lock")), times_(times)
{
}

FileLock::~FileLock() { release(); }

QByteArray FileLock::ownerText() { return QByteArray::number(qint64(::getpid())) + ' ' + hostName() + '\n'; }

// Makes the lock file with its owner's text already in it and its advisory
// lock already held: the file is written unnamed and then linked under the
// lock's name, so no one ever sees a lock without an owner, even when its
// maker is killed half-way. Returns -1 with errno EOPNOTSUPP where the file
// system cannot do this.
static int linkWholeLock(const QByteArray &name, const QByteArray &folder)
{
#ifdef O_TMPFILE
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
    if (fd < 0) {
        errno = EOPNOTSUPP;
        return -1;
    }
    ::flock(fd, LOCK_EX | LOCK_NB);
    const QByteArray owner = FileLock::ownerText();
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::write(fd, owner.constData(), size_t(owner.size())) != owner.size()
        || ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error == EEXIST ? EEXIST : EOPNOTSUPP;
        return -1;
    }
    return fd;
#else
    (void)name;
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

Status FileLock::acquire()
{
    if (held())
        return {};
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(times_.waitMs);
    const QByteArray name = QFile::encodeName(path_);
    const QByteArray folder = QFile::encodeName(QFileInfo(path_).path());
    bool whole = true;
    for (;;) {
        int fd = whole ? linkWholeLock(name, folder) : -1;
        if (fd < 0 && (!whole || errno == EOPNOTSUPP)) {
            whole = false;
            fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd >= 0) {
                // A holder keeps an advisory lock on its lock file for as
                // long as it lives, so that nobody takes a live lock for a
                // stale one; one looking at it holds the lock a moment only.
                lockWithin(fd, 100, 1000);
                const QByteArray owner = ownerText();
                // A lock that could not say whose it is still works; it
                // goes stale by its age alone.
                [[maybe_unused]] const ssize_t written = ::write(fd, owner.constData(), size_t(owner.size()));
            }
        }
        if (fd >= 0) {
            struct stat st;
            ::fstat(fd, &st);
            fd_ = fd;
            dev_ = st.st_dev;
            ino_ = st.st_ino;
            return {};
        }
        const int error = errno;
        if (error != EEXIST)
            return failure(error);
        // What stands there is not a lock file, and waiting will not make
        // it one.
        switch (kindOf(path_)) {
        case Kind::Folder:
            return {Fault::LockFolder, EEXIST};
        case Kind::Link:
            return {Fault::LockLink, EEXIST};
        case Kind::Other:
            return {Fault::LockNotPlain, EEXIST};
        default:
            break;
        }
        switch (takeOverIfStale()) {
        case Stale::Gone:
            continue;
        case Stale::TakenInPlace:
            return {};
        case Stale::Stuck:
            return {Fault::LockStuck, EPERM};
        case Stale::No:
            break;
        }
        const auto now = Clock::now();
        if (now >= deadline)
            return {Fault::Busy, EEXIST};
        // Machines that wait for each other do not retry in step.
        const auto pause = std::chrono::microseconds(1000 + QRandomGenerator::system()->bounded(4000));
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now);
        ::usleep(useconds_t(std::min(pause, left).count()));
    }
}

FileLock::Stale FileLock::takeOverIfStale()
{
    const QByteArray name = QFile::encodeName(path_);
    // Opened for writing where allowed: a network file system grants the
    // exclusive advisory lock only to a file open for writing.
    int fd = ::open(name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return Stale::Gone; // gone meanwhile: try again at once
        // Another user's lock that this one may not even read: only its age
        // tells whether it is stale.
        struct stat st;
        if (errno != EACCES || ::lstat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return Stale::No;
        if (std::llabs(qint64(std::time(nullptr)) - qint64(st.st_mtime)) <= times_.staleSeconds)
            return Stale::No;
        return ::unlink(name.constData()) == 0 || errno == ENOENT ? Stale::Gone : Stale::Stuck;
    }
    struct stat st;
    // Anything but a plain file at the lock's name is not a lock of ours
    // and is never removed.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Stale::No;
    }
    bool lockable = true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK || errno == EINTR) {
            ::close(fd); // its holder is alive
            return Stale::No;
        }
        lockable = false; // a file system without advisory locks
    }
    char text[256] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    const QByteArray owner = QByteArray(text, n > 0 ? int(n) : 0).trimmed();
    const int space = owner.indexOf(' ');
    const qint64 pid = space > 0 ? owner.left(space).toLongLong() : 0;
    const QByteArray host = space > 0 ? owner.mid(space + 1).trimmed() : QByteArray();

    const qint64 age = std::llabs(qint64(std::time(nullptr)) - qint64(st.st_mtime));
    bool stale = age > times_.staleSeconds;
    // A lock without its owner's text was made the plain way by a program
    // killed before it could write it; a live maker writes it at once.
    if (pid <= 0 && host.isEmpty() && age > 1)
        stale = true;
    // On this machine a dead holder is known at once.
    if (pid > 0 && pid != ::getpid() && host == hostName() && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        stale = true;
    if (!stale) {
        ::close(fd);
        return Stale::No;
    }
    // Only the file looked at is removed, never one made since.
    struct stat now;
    if (::lstat(name.constData(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
        ::close(fd);
        return Stale::Gone;
    }
    if (::unlink(name.constData()) == 0) {
        ::close(fd);
        return Stale::Gone;
    }
    // Another user's stale lock in a shared folder may not be removable.
    // Its advisory lock, now held here, is the lock: every program that
    // comes to it finds it held until this one lets go, and then finds it
    // stale and takes it over the same way.
    if (lockable) {
        fd_ = fd;
        dev_ = st.st_dev;
        ino_ = st.st_ino;
        return Stale::TakenInPlace;
    }
    ::close(fd);
    return Stale::Stuck;
}

void FileLock::release()
{
    if (fd_ < 0)
        return;
    const QByteArray name = QFile::encodeName(path_);
    struct stat st;
    if (::lstat(name.constData(), &st) == 0 && st.st_dev == dev_ && st.st_ino == ino_)
        ::unlink(name.constData());
    ::close(fd_);
    fd_ = -1;
}

} // namespace plainfile
