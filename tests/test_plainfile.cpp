// Plain files in a shared folder: what the writer, the reader and the lock do
// when the folder holds something other than what it should.
#include "controls/FileLock.h"
#include "controls/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using plainfile::Fault;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void link(const QString &target, const QString &at) { ASSERT_TRUE(QFile::link(target, at)); }

struct Folder {
    QTemporaryDir dir;
    QString operator()(const QString &name) const { return dir.filePath(name); }
    QStringList names() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Name);
    }
};

void age(const QString &path, int seconds)
{
    struct utimbuf times;
    times.actime = times.modtime = time(nullptr) - seconds;
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

// A process id that no live process has.
pid_t deadPid()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        _exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

} // namespace

TEST(PlainFile, ReplaceLeavesTheOldFileAsItWasWhenItCannotFinish)
{
    Folder f;
    put(f(u"victim"_qs), "someone else's file\n");
    link(f(u"victim"_qs), f(u"link.txt"_qs));
    link(f(u"nowhere"_qs), f(u"dangling.txt"_qs));
    QDir().mkpath(f(u"folder.txt"_qs));
    ::mkfifo(QFile::encodeName(f(u"pipe.txt"_qs)).constData(), 0644);

    const struct {
        const char16_t *name;
        Fault fault;
    } cases[] = {
        {u"link.txt", Fault::Link},
        {u"dangling.txt", Fault::Link},
        {u"folder.txt", Fault::Folder},
        {u"pipe.txt", Fault::NotPlain},
        {u"missing/x.txt", Fault::NoFolder},
    };
    for (const auto &c : cases) {
        const QString name = QString::fromUtf16(c.name);
        EXPECT_EQ(plainfile::replace(f(name), "new\r\n").fault, c.fault) << name.toStdString();
        EXPECT_EQ(plainfile::appendLine(f(name), "head\r\n", "new\r\n", true).fault, c.fault) << name.toStdString();
    }
    // Nothing was followed, made or replaced, and no temporary is left.
    EXPECT_EQ(contents(f(u"victim"_qs)), "someone else's file\n");
    EXPECT_FALSE(QFileInfo::exists(f(u"nowhere"_qs)));
    EXPECT_TRUE(QFileInfo(f(u"link.txt"_qs)).isSymLink());
    EXPECT_EQ(f.names(), (QStringList{u"dangling.txt"_qs, u"folder.txt"_qs, u"link.txt"_qs, u"pipe.txt"_qs,
                                      u"victim"_qs}));

    // A successful replace keeps who may read the file.
    put(f(u"h.txt"_qs), "old\r\n");
    const QByteArray h = QFile::encodeName(f(u"h.txt"_qs));
    ::chmod(h.constData(), 0640);
    ASSERT_TRUE(plainfile::replace(f(u"h.txt"_qs), "new\r\n").ok());
    EXPECT_EQ(contents(f(u"h.txt"_qs)), "new\r\n");
    struct stat st;
    ASSERT_EQ(::stat(h.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(PlainFile, ReadTakesOnlyPlainFilesAndNoMoreThanAsked)
{
    Folder f;
    put(f(u"plain"_qs), QByteArray(5000, 'x'));
    link(f(u"plain"_qs), f(u"link"_qs));
    ::mkfifo(QFile::encodeName(f(u"pipe"_qs)).constData(), 0644); // would block a reader forever
    QByteArray bytes;
    EXPECT_EQ(plainfile::read(f(u"link"_qs), bytes, 1 << 20).fault, Fault::Link);
    EXPECT_EQ(plainfile::read(f(u"pipe"_qs), bytes, 1 << 20).fault, Fault::NotPlain);
    EXPECT_EQ(plainfile::readHead(f(u"pipe"_qs), bytes, 10).fault, Fault::NotPlain);
    EXPECT_EQ(plainfile::read(f(u"plain"_qs), bytes, 4999).fault, Fault::TooLarge);
    EXPECT_TRUE(bytes.isEmpty());
    ASSERT_TRUE(plainfile::read(f(u"plain"_qs), bytes, 5000).ok());
    EXPECT_EQ(bytes.size(), 5000);
    ASSERT_TRUE(plainfile::readHead(f(u"plain"_qs), bytes, 100).ok());
    EXPECT_EQ(bytes, QByteArray(100, 'x'));
}

TEST(PlainFile, AppendEndsAnOpenLastLineAndStartsANewFileWithItsHead)
{
    const struct {
        const char *before;
        const char *after;
    } cases[] = {
        {"", "date\r\n1,261208\r\n"},
        {"date\r\n", "date\r\n1,261208\r\n"},
        {"date\r\n7,261201", "date\r\n7,261201\r\n1,261208\r\n"},
        {"date\r\n7,261201\r", "date\r\n7,261201\r\n1,261208\r\n"},
        {"date\n7,261201\n", "date\n7,261201\n1,261208\r\n"},
    };
    for (const auto &c : cases) {
        Folder f;
        put(f(u"h.txt"_qs), c.before);
        ASSERT_TRUE(plainfile::appendLine(f(u"h.txt"_qs), "date\r\n", "1,261208\r\n", false).ok()) << c.before;
        EXPECT_EQ(contents(f(u"h.txt"_qs)), c.after) << c.before;
    }
    Folder f;
    // A file with a second name is not added to.
    put(f(u"mine"_qs), "date\r\n");
    ASSERT_EQ(::link(QFile::encodeName(f(u"mine"_qs)).constData(), QFile::encodeName(f(u"hard.txt"_qs)).constData()), 0);
    EXPECT_EQ(plainfile::appendLine(f(u"hard.txt"_qs), "date\r\n", "1\r\n", false).fault, Fault::NotPlain);
    EXPECT_EQ(contents(f(u"mine"_qs)), "date\r\n");
    EXPECT_EQ(plainfile::appendLine(f(u"new.txt"_qs), "date\r\n", "1\r\n", false).fault, Fault::NoFolder);
    EXPECT_FALSE(QFileInfo::exists(f(u"new.txt"_qs)));
    ASSERT_TRUE(plainfile::appendLine(f(u"new.txt"_qs), "date\r\n", "1\r\n", true).ok());
    ASSERT_TRUE(plainfile::appendLine(f(u"new.txt"_qs), "date\r\n", "2\r\n", true).ok());
    EXPECT_EQ(contents(f(u"new.txt"_qs)), "date\r\n1\r\n2\r\n");
}

TEST(PlainFile, OnlyTheTemporariesOfThisFilesSavesAreSwept)
{
    Folder f;
    const QString family = f(u"座標問題.txt"_qs);
    put(family, "history\r\n");
    const QStringList ours = {u"座標問題.txt.soremuka-abc123.tmp"_qs, u"座標問題.txt.soremuka-0z9y8x.tmp"_qs};
    const QStringList notOurs = {
        u"座標問題.txt.soremuka-ABC123.tmp"_qs,  u"座標問題.txt.soremuka-abc12.tmp"_qs,
        u"座標問題.txt.soremuka-abc123.tmp.bak"_qs, u"長さ面積.txt.soremuka-abc123.tmp"_qs,
        u"x座標問題.txt.soremuka-abc123.tmp"_qs, u"座標問題.txt.lock"_qs,
    };
    for (const QString &name : ours + notOurs)
        put(f(name), "x");
    put(f(u"target"_qs), "kept");
    link(f(u"target"_qs), f(u"座標問題.txt.soremuka-link00.tmp"_qs));
    QDir().mkpath(f(u"座標問題.txt.soremuka-dir000.tmp"_qs));

    EXPECT_EQ(plainfile::removeStrayTemporaries(family), 2);
    for (const QString &name : ours)
        EXPECT_FALSE(QFileInfo::exists(f(name))) << name.toStdString();
    for (const QString &name : notOurs)
        EXPECT_TRUE(QFileInfo::exists(f(name))) << name.toStdString();
    EXPECT_TRUE(QFileInfo(f(u"座標問題.txt.soremuka-link00.tmp"_qs)).isSymLink());
    EXPECT_TRUE(QFileInfo(f(u"座標問題.txt.soremuka-dir000.tmp"_qs)).isDir());
    EXPECT_EQ(contents(f(u"target"_qs)), "kept");
    // The name a save uses is one the sweep knows.
    const QString temp = plainfile::temporaryName(family);
    put(temp, "x");
    EXPECT_EQ(plainfile::removeStrayTemporaries(family), 1);
}

TEST(FileLock, OneHolderAtATimeAndABoundedWait)
{
    Folder f;
    const QString family = f(u"座標問題.txt"_qs);
    plainfile::FileLock a(family, {50, 10});
    ASSERT_TRUE(a.acquire().ok());
    EXPECT_EQ(a.path(), family + u".lock"_qs);
    EXPECT_EQ(contents(a.path()), plainfile::FileLock::ownerText());

    plainfile::FileLock b(family, {50, 10});
    EXPECT_EQ(b.acquire().fault, Fault::Busy); // a live holder, even of an old lock
    age(a.path(), 3600);
    EXPECT_EQ(b.acquire().fault, Fault::Busy);
    a.release();
    EXPECT_FALSE(QFileInfo::exists(a.path()));
    ASSERT_TRUE(b.acquire().ok());

    // A holder whose lock was removed behind its back does not remove the
    // lock that was made since.
    QFile::remove(b.path());
    plainfile::FileLock c(family, {50, 10});
    ASSERT_TRUE(c.acquire().ok());
    b.release();
    EXPECT_TRUE(QFileInfo::exists(c.path()));
    c.release();

    plainfile::FileLock nowhere(f(u"gone/座標問題.txt"_qs), {50, 10});
    EXPECT_EQ(nowhere.acquire().fault, Fault::NoFolder);
}

TEST(FileLock, TheLockOfACrashedProgramIsTakenOver)
{
    Folder f;
    const QString family = f(u"座標問題.txt"_qs);
    const QString lockPath = family + u".lock"_qs;
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const struct {
        QByteArray owner;
        int ageSeconds;
        bool takenOver;
    } cases[] = {
        {QByteArray::number(deadPid()) + ' ' + host + '\n', 0, true}, // died on this machine
        {QByteArray::number(::getpid()) + ' ' + host + '\n', 0, false},
        {"4242 another-machine\n", 0, false},
        {"4242 another-machine\n", 60, true}, // a crashed machine does not block the class
        {"4242 another-machine\n", -60, true}, // nor does one whose clock is far off
        {"", 0, false},  // its maker may be writing it this very moment
        {"", 5, true},   // its maker was killed before it could
    };
    for (const auto &c : cases) {
        put(lockPath, c.owner);
        if (c.ageSeconds)
            age(lockPath, c.ageSeconds);
        plainfile::FileLock lock(family, {30, 10});
        EXPECT_EQ(lock.acquire().ok(), c.takenOver) << c.owner.toStdString() << " aged " << c.ageSeconds;
        lock.release();
        QFile::remove(lockPath);
    }

    // Anything but a plain file at the lock's name is not ours: it is never
    // removed, and said for what it is at once. Waiting would not make it a
    // lock (the wait given here would outlast the test's time limit).
    link(f(u"elsewhere"_qs), lockPath);
    plainfile::FileLock lock(family, {600000, 0});
    EXPECT_EQ(lock.acquire().fault, Fault::LockLink);
    EXPECT_TRUE(QFileInfo(lockPath).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(f(u"elsewhere"_qs)));
    QFile::remove(lockPath);
    QDir().mkpath(lockPath);
    EXPECT_EQ(lock.acquire().fault, Fault::LockFolder);
    EXPECT_TRUE(QFileInfo(lockPath).isDir());
    QDir().rmdir(lockPath);
    ::mkfifo(QFile::encodeName(lockPath).constData(), 0644);
    EXPECT_EQ(lock.acquire().fault, Fault::LockNotPlain);
    EXPECT_FALSE(lock.held());
}

TEST(PlainFile, AFileIsStillInPlaceOnlyWhileNothingReplacedIt)
{
    Folder f;
    const QString path = f(u"h.txt"_qs);
    auto opened = [&] {
        put(path, "date\r\n");
        return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    };
    const struct {
        const char *what;
        std::function<void()> meanwhile;
        bool inPlace;
    } cases[] = {
        {"nothing happened", [] {}, true},
        {"renamed over", [&] {
             put(f(u"new"_qs), "x");
             ::rename(QFile::encodeName(f(u"new"_qs)).constData(), QFile::encodeName(path).constData());
         }, false},
        {"removed", [&] { QFile::remove(path); }, false},
        {"given a second name", [&] { ::link(QFile::encodeName(path).constData(), QFile::encodeName(f(u"hard"_qs)).constData()); }, false},
        {"moved away", [&] { QFile::rename(path, f(u"moved"_qs)); }, false},
    };
    for (const auto &c : cases) {
        for (const QString &name : f.names())
            QFile::remove(f(name));
        const int fd = opened();
        ASSERT_GE(fd, 0);
        c.meanwhile();
        EXPECT_EQ(plainfile::stillAt(fd, path), c.inPlace) << c.what;
        ::close(fd);
    }
}

TEST(PlainFile, ALineWaitsForAReplacingSaveAndGoesIntoItsNewFile)
{
    // A save that replaces the history holds the history's own lock from its
    // read to its rename. A line added meanwhile (by a learner who may write
    // the file but not make files in the folder) waits, and goes into the
    // file that replaced it, not into the copy that is gone.
    for (int attempt = 0; attempt < 3; ++attempt) {
        Folder f;
        const QString path = f(u"座標問題.txt"_qs);
        put(path, "date\r\n1,261201\r\n");
        plainfile::Status status;
        const int held = plainfile::openLocked(path, O_RDONLY, 1000, status);
        ASSERT_GE(held, 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(held); // the lock is the parent's alone
            _exit(plainfile::appendLine(path, "date\r\n", "3,261208\r\n", false, 30000).ok() ? 0 : 1);
        }
        ::usleep(200000); // the child has the old file open, waiting
        put(f(u"copy"_qs), "date\r\n1,261201\r\n2,261208\r\n");
        ASSERT_EQ(::rename(QFile::encodeName(f(u"copy"_qs)).constData(), QFile::encodeName(path).constData()), 0);
        ::close(held);
        int code = -1;
        ::waitpid(child, &code, 0);
        EXPECT_TRUE(WIFEXITED(code) && WEXITSTATUS(code) == 0);
        EXPECT_EQ(contents(path), "date\r\n1,261201\r\n2,261208\r\n3,261208\r\n") << "attempt " << attempt;
    }
}

TEST(PlainFile, ALineIsNotAddedWhileASaveHoldsTheFileTooLong)
{
    // Past the wait the save may rename a copy without the line at any
    // moment: the line is not added (the caller puts it elsewhere).
    Folder f;
    const QString path = f(u"座標問題.txt"_qs);
    put(path, "date\r\n1,261201\r\n");
    plainfile::Status status;
    const int held = plainfile::openLocked(path, O_RDONLY, 1000, status);
    ASSERT_GE(held, 0);
    EXPECT_EQ(plainfile::appendLine(path, "date\r\n", "3,261208\r\n", false, 50).fault, Fault::Busy);
    EXPECT_EQ(plainfile::openLocked(path, O_RDWR, 50, status), -1);
    EXPECT_EQ(status.fault, Fault::Busy);
    ::close(held);
    EXPECT_EQ(contents(path), "date\r\n1,261201\r\n");
    EXPECT_TRUE(plainfile::appendLine(path, "date\r\n", "3,261208\r\n", false, 50).ok());
}

TEST(PlainFile, AUtf16FileGetsItsLineInUtf16)
{
    // Saved as "Unicode" by a Windows editor: a line added in UTF-8 would
    // make a file that no editor opens.
    for (const bool little : {true, false}) {
        Folder f;
        const QString path = f(u"h.txt"_qs);
        auto utf16 = [little](const QString &text) {
            QByteArray out;
            for (QChar c : text) {
                const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
                out.append(little ? lo : hi).append(little ? hi : lo);
            }
            return out;
        };
        const QByteArray bom = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        put(path, bom + utf16(u"2026/12/01\r\n12,261201#座標問題1.txt"_qs));
        ASSERT_TRUE(plainfile::appendLine(path, "date\r\n", u"5,261208#座標問題2.txt\r\n"_qs.toUtf8(), false).ok());
        EXPECT_EQ(contents(path), bom + utf16(u"2026/12/01\r\n12,261201#座標問題1.txt\r\n5,261208#座標問題2.txt\r\n"_qs))
            << (little ? "little-endian" : "big-endian");
    }
    // Half a character at its end: the file is damaged, nothing is added.
    Folder f;
    put(f(u"odd.txt"_qs), QByteArray("\xFF\xFE" "1\x00,", 5));
    EXPECT_FALSE(plainfile::appendLine(f(u"odd.txt"_qs), "date\r\n", "5\r\n", false).ok());
    EXPECT_EQ(contents(f(u"odd.txt"_qs)), QByteArray("\xFF\xFE" "1\x00,", 5));
}

TEST(PlainFile, MachineFilesMayBeLinksButNeverPipes)
{
    Folder f;
    put(f(u"hostname"_qs), "soremuka3\n");
    link(f(u"hostname"_qs), f(u"compname.txt"_qs));
    ::mkfifo(QFile::encodeName(f(u"pipe.txt"_qs)).constData(), 0644);
    QByteArray bytes;
    EXPECT_EQ(plainfile::readHead(f(u"compname.txt"_qs), bytes, 4096).fault, Fault::Link);
    ASSERT_TRUE(plainfile::readHead(f(u"compname.txt"_qs), bytes, 4096, plainfile::Links::Follow).ok());
    EXPECT_EQ(bytes, "soremuka3\n");
    EXPECT_EQ(plainfile::readHead(f(u"pipe.txt"_qs), bytes, 4096, plainfile::Links::Follow).fault, Fault::NotPlain);
    EXPECT_EQ(plainfile::faultOf(ENAMETOOLONG), Fault::TooLong);
}
