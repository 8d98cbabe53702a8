#pragma once
// A lock around the read-modify-write of a shared file: a lock file beside it
// ("<file>.lock") that only one program can create. Machines that share a
// folder take turns; a crashed one never blocks the class, because a lock
// whose holder has died is taken over: removed, or, where it is another
// user's that this one may not remove (a shared folder with the sticky
// bit), held in place through its advisory lock, which every holder keeps
// for as long as it lives.
#include "controls/PlainFile.h"

#include <QString>

#include <sys/types.h>

namespace plainfile {

struct LockTimes {
    // How long to wait for another program's lock before giving up.
    int waitMs = 3000;
    // A lock older than this whose holder no longer holds it open is stale:
    // the program that made it has crashed (on another machine, too).
    int staleSeconds = 10;
};

class FileLock {
public:
    explicit FileLock(const QString &target, LockTimes times = {});
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits at most times.waitMs. Busy when another program kept the lock
    // all that time; Denied, Full or NoFolder when no lock file can be made
    // in the folder at all. At once, without waiting: LockFolder, LockLink
    // or LockNotPlain when something other than a lock file stands at the
    // lock's name, LockStuck when a stale lock can be neither removed nor
    // taken over.
    Status acquire();
    bool held() const { return fd_ >= 0; }
    // Removes the lock file, if it is still this lock's own.
    void release();

    const QString &path() const { return path_; }
    // The text a lock file holds: "<pid> <host>".
    static QByteArray ownerText();

private:
    enum class Stale { No, Gone, TakenInPlace, Stuck };
    // Looks at the lock there is: a lock of a live holder is left alone, a
    // stale one removed or taken over.
    Stale takeOverIfStale();

    QString path_;
    LockTimes times_;
    int fd_ = -1;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
};

} // namespace plainfile
