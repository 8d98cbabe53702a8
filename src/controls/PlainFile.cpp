#include "controls/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plainfile {

namespace {

QByteArray native(const QString &path) { return QFile::encodeName(path); }

QString folderOf(const QString &path)
{
    const QString folder = QFileInfo(path).path();
    return folder.isEmpty() ? QStringLiteral(".") : folder;
}

// Writes all bytes, going on after a short write or an interruption.
bool writeAll(int fd, const char *data, qint64 size, int &error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool closeChecked(int fd, int &error)
{
    if (::close(fd) == 0 || errno == EINTR)
        return true;
    error = errno;
    return false;
}

// Opens without following a link and without blocking on a pipe, and makes
// sure a plain file was opened.
int openPlain(const QString &path, int flags, mode_t mode, Status &status)
{
    const int fd = ::open(native(path).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) {
        const int e = errno;
        // O_NOFOLLOW reports a link as ELOOP (or EMLINK on some systems).
        if (e == ELOOP || e == EMLINK)
            status = {Fault::Link, e};
        else if (e == EISDIR)
            status = {Fault::Folder, e};
        else if (e == ENXIO || e == ENODEV)
            status = {Fault::NotPlain, e}; // a pipe nobody reads, a device
        else
            status = failure(e);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        status = failure(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        status = {S_ISDIR(st.st_mode) ? Fault::Folder : Fault::NotPlain, 0};
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    status = {};
    return fd;
}

// Reads from fd into out until the end of the file or until out holds limit
// bytes. Returns the errno of a failed read, 0 otherwise.
int readInto(int fd, QByteArray &out, qint64 limit)
{
    char buffer[65536];
    while (out.size() < limit) {
        const qint64 want = std::min<qint64>(qint64(sizeof buffer), limit - out.size());
        const ssize_t n = ::read(fd, buffer, size_t(want));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        out.append(buffer, qsizetype(n));
    }
    return 0;
}

QString randomPart()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString s;
    for (int i = 0; i < 6; ++i)
        s += QChar(alphabet[QRandomGenerator::system()->bounded(36)]);
    return s;
}

} // namespace

Fault faultOf(int error)
{
    switch (error) {
    case 0:
        return Fault::None;
    case EACCES:
    case EPERM:
    case EROFS:
        return Fault::Denied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Fault::Full;
    case ENOENT:
    case ENOTDIR:
        return Fault::NoFolder;
    case ELOOP:
        return Fault::Link;
    case EISDIR:
        return Fault::Folder;
    default:
        return Fault::Io;
    }
}

Status failure(int error) { return {faultOf(error), error}; }

Kind kindOf(const QString &path, int *error)
{
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0) {
        const int e = errno;
        if (error)
            *error = e;
        if (e == ENOENT) {
            // Missing file, or missing folder: only the first is "missing".
            struct stat folder;
            if (::stat(native(folderOf(path)).constData(), &folder) == 0 && S_ISDIR(folder.st_mode))
                return Kind::Missing;
            if (error)
                *error = ENOENT;
        }
        return Kind::Unknown;
    }
    if (S_ISREG(st.st_mode))
        return Kind::Plain;
    if (S_ISLNK(st.st_mode))
        return Kind::Link;
    if (S_ISDIR(st.st_mode))
        return Kind::Folder;
    return Kind::Other;
}

Fault faultOfKind(Kind kind)
{
    switch (kind) {
    case Kind::Link:
        return Fault::Link;
    case Kind::Folder:
        return Fault::Folder;
    case Kind::Other:
        return Fault::NotPlain;
    default:
        return Fault::None;
    }
}

int openForReading(const QString &path, Status &status)
{
    return openPlain(path, O_RDONLY, 0, status);
}

Status read(const QString &path, QByteArray &bytes, qint64 maxBytes)
{
    bytes.clear();
    Status status;
    const int fd = openForReading(path, status);
    if (fd < 0)
        return status;
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > maxBytes) {
        ::close(fd);
        return {Fault::TooLarge, EFBIG};
    }
    // The size is only a hint: the file may have grown since, so one byte
    // more than allowed is asked for to tell.
    QByteArray out;
    out.reserve(qsizetype(st.st_size));
    const int error = readInto(fd, out, maxBytes + 1);
    ::close(fd);
    if (error)
        return failure(error);
    if (out.size() > maxBytes)
        return {Fault::TooLarge, EFBIG};
    bytes = std::move(out);
    return {};
}

Status readHead(const QString &path, QByteArray &bytes, qint64 maxBytes)
{
    bytes.clear();
    Status status;
    const int fd = openForReading(path, status);
    if (fd < 0)
        return status;
    const int error = readInto(fd, bytes, maxBytes);
    ::close(fd);
    return error ? failure(error) : Status{};
}

Status readTail(const QString &path, QByteArray &bytes, qint64 maxBytes, bool *cut)
{
    bytes.clear();
    if (cut)
        *cut = false;
    Status status;
    const int fd = openForReading(path, status);
    if (fd < 0)
        return status;
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > maxBytes) {
        if (::lseek(fd, st.st_size - maxBytes, SEEK_SET) < 0) {
            const int error = errno;
            ::close(fd);
            return failure(error);
        }
        if (cut)
            *cut = true;
    }
    const int error = readInto(fd, bytes, maxBytes);
    ::close(fd);
    return error ? failure(error) : Status{};
}

Status create(const QString &path, const QByteArray &bytes)
{
    Status status;
    const int fd = openPlain(path, O_WRONLY | O_CREAT | O_EXCL, 0666, status);
    if (fd < 0)
        return status;
    int error = 0;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), error);
    ok = ok && (::fsync(fd) == 0 || (error = errno, false));
    ok = closeChecked(fd, error) && ok;
    if (!ok) {
        ::unlink(native(path).constData());
        return failure(error);
    }
    syncFolder(folderOf(path));
    return {};
}

QString temporaryName(const QString &path)
{
    return path + QStringLiteral(".soremuka-") + randomPart() + QStringLiteral(".tmp");
}

Status replace(const QString &path, const QByteArray &bytes)
{
    const Kind kind = kindOf(path);
    if (faultOfKind(kind) != Fault::None)
        return {faultOfKind(kind), 0};
    mode_t mode = 0;
    bool keepMode = false;
    struct stat old;
    if (kind == Kind::Plain && ::lstat(native(path).constData(), &old) == 0) {
        mode = old.st_mode & 07777;
        keepMode = true;
    }

    QString temp;
    int fd = -1;
    Status status;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = temporaryName(path);
        fd = openPlain(temp, O_WRONLY | O_CREAT | O_EXCL, 0666, status);
        if (fd < 0 && status.error != EEXIST)
            return status;
    }
    if (fd < 0)
        return status;

    int error = 0;
    bool ok = writeAll(fd, bytes.constData(), bytes.size(), error);
    if (ok && keepMode)
        ::fchmod(fd, mode); // a learner's file keeps who may read it
    ok = ok && (::fsync(fd) == 0 || (error = errno, false));
    ok = closeChecked(fd, error) && ok;
    if (ok) {
        // A link planted while the copy was written is not replaced either.
        const Kind now = kindOf(path);
        if (faultOfKind(now) != Fault::None) {
            ::unlink(native(temp).constData());
            return {faultOfKind(now), 0};
        }
        ok = ::rename(native(temp).constData(), native(path).constData()) == 0 || (error = errno, false);
    }
    if (!ok) {
        ::unlink(native(temp).constData());
        return failure(error ? error : EIO);
    }
    syncFolder(folderOf(path));
    return {};
}

namespace {

// What must stand before a line added to a file of `size` bytes so that it
// starts a line of its own: nothing after a line end, the LF of a lone CR,
// or a whole CR LF.
QByteArray lineEndBefore(const QString &path, off_t size)
{
    char last = '\n';
    const int rd = ::open(native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (rd >= 0) {
        if (::pread(rd, &last, 1, size - 1) != 1)
            last = '\n';
        ::close(rd);
    }
    if (last == '\r')
        return "\n";
    return last == '\n' ? QByteArray() : QByteArray("\r\n");
}

// Writes the bytes at the end and syncs them. On a short write the part
// that was written is cut off again, unless someone has added to the file
// after it. Returns the error, 0 when all went well.
int writeAtEnd(int fd, const QByteArray &data)
{
    const ssize_t n = ::write(fd, data.constData(), size_t(data.size()));
    if (n == data.size())
        return ::fsync(fd) == 0 ? 0 : errno;
    const int error = n < 0 ? errno : ENOSPC;
    if (n > 0) {
        const off_t end = ::lseek(fd, 0, SEEK_CUR);
        struct stat now;
        if (end >= n && ::fstat(fd, &now) == 0 && now.st_size == end)
            ::ftruncate(fd, end - n);
    }
    return error;
}

} // namespace

Status appendLine(const QString &path, const QByteArray &head, const QByteArray &line, bool create)
{
    Status status;
    bool made = false;
    int fd = -1;
    if (create) {
        fd = openPlain(path, O_WRONLY | O_APPEND | O_CREAT | O_EXCL, 0666, status);
        made = fd >= 0;
        if (fd < 0 && status.error != EEXIST)
            return status;
    }
    if (fd < 0)
        fd = openPlain(path, O_WRONLY | O_APPEND, 0, status);
    if (fd < 0)
        return status;
    struct stat st;
    ::fstat(fd, &st);
    // A file with a second name elsewhere (a hard link planted in a shared
    // folder) is someone else's file too: nothing is added to it.
    if (st.st_nlink > 1) {
        ::close(fd);
        return {Fault::NotPlain, 0};
    }
    // An advisory lock for a moment, so that two programs adding lines in
    // place do not both end the same open last line. Appends stay whole
    // without it, so it is given up after a second.
    lockWithin(fd, 200, 5000);
    ::fstat(fd, &st);
    const QByteArray data = (st.st_size == 0 ? head : lineEndBefore(path, st.st_size)) + line;
    int error = writeAtEnd(fd, data);
    const bool ok = closeChecked(fd, error) && error == 0;
    if (!ok) {
        if (made)
            ::unlink(native(path).constData());
        return failure(error ? error : EIO);
    }
    if (made)
        syncFolder(folderOf(path));
    return {};
}

int removeStrayTemporaries(const QString &path)
{
    const QFileInfo info(path);
    const QRegularExpression ours(QStringLiteral("^") + QRegularExpression::escape(info.fileName())
                                  + QStringLiteral("\\.soremuka-[a-z0-9]{6}\\.tmp$"));
    const QDir folder(folderOf(path));
    int removed = 0;
    const QStringList names =
        folder.entryList({info.fileName() + QStringLiteral(".soremuka-*.tmp")},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (!ours.match(name).hasMatch())
            continue;
        const QString stray = folder.filePath(name);
        if (kindOf(stray) == Kind::Plain && ::unlink(native(stray).constData()) == 0)
            ++removed;
    }
    return removed;
}

void lockWithin(int fd, int tries, useconds_t pause)
{
    for (int i = 0; i < tries; ++i) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || (errno != EWOULDBLOCK && errno != EINTR))
            return;
        ::usleep(pause);
    }
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd); // some file systems cannot sync a folder; nothing more to do then
    ::close(fd);
}

} // namespace plainfile
