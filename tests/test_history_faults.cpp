// The learner's history under the faults of a real classroom: a program
// killed mid-save, machines ending their runs together, a full disk, folders
// and files that the learner may not write, and a machine without a
// Japanese font. Each test prints what it tried and counted.
#include "Sanitized.h"
#include "DriveRunner.h"
#include "TestForm.h"

#include "controls/TextFiles.h"

#include "app/Results.h"
#include "controls/FileLock.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
};

Outcome run(const QString &program, const QStringList &args, int timeoutMs = 180000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    Outcome o;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return o;
}

Outcome runChild(const QStringList &args) { return run(QStringLiteral(SOREMUKA_HISTORY_CHILD), args); }

// "<n>,261208#座標問題1.txt" lines under a date line.
QByteArray history(int records, const QByteArray &dateLine = "2026/12/01")
{
    QByteArray bytes = dateLine + "\r\n";
    for (int i = 1; i <= records; ++i)
        bytes += QString(u"%1,26%2#座標問題%3.txt\r\n"_qs).arg(i % 40 + 1).arg(1000 + i % 1000).arg(i % 3 + 1).toUtf8();
    return bytes;
}

// The record lines of a history, without its date line.
QList<QByteArray> records(const QByteArray &bytes)
{
    QList<QByteArray> lines = textfiles::splitLines(bytes);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}

// The messages that a child run printed, beyond the closing one.
QStringList notices(const QString &out)
{
    QStringList found;
    for (const QString &line : out.split(u'\n'))
        if (line.startsWith(u"message\t記録\t"_qs))
            found << line.section(u'\t', 2);
    return found;
}

const QString kFamily = QStringLiteral("座標問題.txt");
const QByteArray kNewRecord = "5,261208#座標問題1.txt";


bool canRunAsAnotherUser() { return ::getuid() == 0 && QFileInfo(u"/usr/bin/setpriv"_qs).isExecutable(); }

// The history child copied where user 65534 may run it.
QString childForAnotherUser(const QTemporaryDir &base)
{
    ::chmod(QFile::encodeName(base.path()).constData(), 0755);
    const QString child = base.filePath(u"history-child"_qs);
    if (!QFileInfo::exists(child))
        QFile::copy(QStringLiteral(SOREMUKA_HISTORY_CHILD), child);
    ::chmod(QFile::encodeName(child).constData(), 0755);
    return child;
}

QStringList asAnotherUser(const QString &child, const QStringList &args)
{
    return QStringList{u"--reuid=65534"_qs, u"--regid=65534"_qs, u"--clear-groups"_qs, child} + args;
}

// True once the process has the file open for writing.
bool hasOpenForWriting(qint64 pid, const QString &path)
{
    const QString fds = u"/proc/"_qs + QString::number(pid) + u"/fd"_qs;
    for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds + u'/' + fd) != path)
            continue;
        QFile info(u"/proc/"_qs + QString::number(pid) + u"/fdinfo/"_qs + fd);
        if (!info.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : info.readAll().split('\n'))
            if (line.startsWith("flags:") && (line.mid(6).trimmed().toInt(nullptr, 8) & 3) != 0)
                return true;
    }
    return false;
}

} // namespace

TEST(HistoryUnderFaults, AProgramKilledMidSaveNeverDamagesTheHistory)
{
    // A child ends runs one after another and is killed at a random moment,
    // a thousand times; after each kill the history must hold every record
    // saved before it, each line whole. The tool counts and checks.
    QTemporaryDir dir;
    const Outcome o = runChild({QStringLiteral("crash"), dir.path(), QStringLiteral("1000"), QStringLiteral("20261208")});
    std::printf("%s", o.out.toUtf8().constData());
    EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains(u"kills 1000,"_qs));
    EXPECT_TRUE(o.out.contains(u"lost 0, torn 0"_qs));
}

TEST(HistoryUnderFaults, MachinesEndingRunsTogetherLoseNoRecord)
{
    // Two machines, three hundred times at the same moment; then eight
    // machines, five times over, as a class does.
    for (const auto &[procs, rounds] : {std::pair{2, 300}, std::pair{8, 5}}) {
        QTemporaryDir dir;
        const Outcome o = runChild({QStringLiteral("race"), dir.path(), QString::number(procs), QString::number(rounds)});
        std::printf("%s", o.out.toUtf8().constData());
        EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
        EXPECT_TRUE(o.out.contains(u"lost 0, duplicated 0"_qs));
    }
}

TEST(HistoryUnderFaults, AFullDiskLosesNoRecord)
{
    int tried = 0, lost = 0;
    // A file-size limit: neither a new copy of the history nor the record at
    // its end fits, so the record goes to a side file.
    for (int n : {3, 500, 700}) {
        QTemporaryDir dir;
        const QByteArray before = history(n);
        TestForm::write(dir.filePath(kFamily), before);
        const Outcome o = runChild({QStringLiteral("run"), dir.path(), QStringLiteral("thahyo1"), QStringLiteral("5"),
                                    QString::number(before.size() + 5)});
        ++tried;
        const QByteArray after = TestForm::read(dir.filePath(kFamily));
        lost += records(before).size() - records(after).size();
        EXPECT_TRUE(after == before) << n << " records: the history changed";
        const QStringList side = QDir(dir.path()).entryList({kFamily + u".*.txt"_qs}, QDir::Files);
        ASSERT_EQ(side.size(), 1) << o.out.toStdString();
        EXPECT_EQ(records(TestForm::read(dir.filePath(side[0]))), QList<QByteArray>{kNewRecord});
        ASSERT_EQ(notices(o.out).size(), 1);
        EXPECT_TRUE(notices(o.out)[0].contains(u"ディスクがいっぱいです"_qs));
        EXPECT_EQ(TestForm::filesBesideRecords(dir.path()).size(), 2) << "a temporary or lock left";
        std::printf("file-size limit, %d records: kept %lld, new record in a side file\n", n,
                    qint64(records(after).size()));
    }

    // A small file system filled to the brim: with room left in the last
    // block of the history the record goes there; without, the learner is
    // told, and the history stays as it was.
    QTemporaryDir mountPoint;
    const QString fs = mountPoint.path();
    if (run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                      QStringLiteral("size=64k"), QStringLiteral("tmpfs"), fs})
            .exitCode != 0) {
        std::printf("full disk: cannot mount a small file system here; the file-size limit stood in for it\n");
        EXPECT_EQ(lost, 0);
        return;
    }
    struct Unmount {
        QString at;
        ~Unmount() { run(QStringLiteral("umount"), {at}); }
    } unmount{fs};
    for (int n : {3, 500, 700}) {
        for (bool blockFull : {false, true}) {
            for (const QString &name : QDir(fs).entryList(QDir::Files | QDir::Hidden))
                QFile::remove(QDir(fs).filePath(name));
            // The date line is padded so that the history ends exactly at a
            // block's end when blockFull.
            QByteArray before = history(n);
            if (blockFull) {
                const qsizetype pad = (4096 - before.size() % 4096) % 4096;
                before = history(n, "2026/12/01" + QByteArray(pad, ' '));
            }
            TestForm t;
            t.paths.currentFolder = fs;
            TestForm::write(t.cwdFile(kFamily), before);
            {
                // Fill the rest, to the last byte.
                const int fd = ::open(QFile::encodeName(t.cwdFile(u"filler"_qs)).constData(), O_WRONLY | O_CREAT, 0644);
                const QByteArray block(4096, 'f');
                while (::write(fd, block.constData(), block.size()) == block.size()) {
                }
                while (::write(fd, "f", 1) == 1) {
                }
                ::close(fd);
            }
            Form1 &f = t.start();
            f.menuClick(u"thahyo1"_qs);
            f.scoreState.score = 5;
            t.runOutClock();
            ++tried;
            const QByteArray after = TestForm::read(t.cwdFile(kFamily));
            const bool told = std::any_of(t.dialogs.shown.begin(), t.dialogs.shown.end(), [](const auto &m) {
                return m.text.contains(u"記録を保存できませんでした（ディスクがいっぱいです）"_qs);
            });
            lost += records(before).size() - std::min(records(before).size(), records(after).size());
            const bool kept = records(after) == records(before) + QList<QByteArray>{kNewRecord};
            EXPECT_TRUE(kept || (told && after == before)) << n << (blockFull ? " records, block full" : " records");
            EXPECT_TRUE(f.Picture1.Visible);
            QStringList left = TestForm::filesBesideRecords(fs);
            left.sort();
            EXPECT_EQ(left, (QStringList{u"filler"_qs, kFamily})) << "a temporary, lock or empty side file left";
            std::printf("full disk, %d records%s: kept %lld, new record %s\n", n, blockFull ? " ending a block" : "",
                        qint64(records(after).size()),
                        kept ? "added at the end" : told ? "not kept, the learner told" : "LOST SILENTLY");
        }
    }
    std::printf("full disk: %d histories tried, records lost: %d\n", tried, lost);
    EXPECT_EQ(lost, 0);
}

TEST(HistoryUnderFaults, FoldersTheLearnerMayNotWriteKeepEveryRecord)
{
    if (::getuid() != 0)
        GTEST_SKIP() << "sets up files of another user: needs to start as root";
    if (!QFileInfo(u"/usr/bin/setpriv"_qs).isExecutable())
        GTEST_SKIP() << "no setpriv to run as an unprivileged user";

    // The learner is user 65534; folders and files belong to root.
    QTemporaryDir base;
    ::chmod(QFile::encodeName(base.path()).constData(), 0755);
    const QString child = base.filePath(u"history-child"_qs);
    ASSERT_TRUE(QFile::copy(QStringLiteral(SOREMUKA_HISTORY_CHILD), child));
    ::chmod(QFile::encodeName(child).constData(), 0755);

    enum Expect { InFamily, InSide, Lost };
    const struct Case {
        const char *what;
        mode_t folderMode;
        int fileMode; // -1: no history yet
        Expect expect;
        const char16_t *reason;
        bool staleLock = false; // another user's lock, left by a crashed machine
    } cases[] = {
        {"read-only folder", 0555, 0644, Lost, u"フォルダに書き込めません"},
        {"read-only folder, no history yet", 0555, -1, Lost, u"フォルダに書き込めません"},
        {"read-only folder, writable history", 0555, 0666, InFamily, u""},
        {"shared sticky folder, another user's writable history", 01777, 0666, InFamily, u""},
        {"shared sticky folder, another user's read-only history", 01777, 0644, InSide, u"フォルダに書き込めません"},
        {"history the learner may not read", 0777, 0000, InSide, u"記録ファイルを読めません"},
        // Not removable by this learner: taken over in place, not waited
        // for at every save and then sent to a side file.
        {"shared sticky folder, another user's stale lock", 01777, 0666, InFamily, u"", true},
    };
    int n = 0, lost = 0;
    for (const Case &c : cases) {
        const QString folder = base.filePath(QString::number(++n));
        QDir().mkpath(folder);
        const QByteArray before = history(40);
        if (c.fileMode >= 0) {
            TestForm::write(QDir(folder).filePath(kFamily), before);
            ::chmod(QFile::encodeName(QDir(folder).filePath(kFamily)).constData(), mode_t(c.fileMode));
        }
        if (c.staleLock) {
            const QString lock = QDir(folder).filePath(kFamily + u".lock"_qs);
            TestForm::write(lock, "4242 a-machine-that-crashed\n");
            struct utimbuf old;
            old.actime = old.modtime = time(nullptr) - 3600;
            ::utime(QFile::encodeName(lock).constData(), &old);
        }
        ::chmod(QFile::encodeName(folder).constData(), c.folderMode);

        const Outcome o = run(u"/usr/bin/setpriv"_qs, {u"--reuid=65534"_qs, u"--regid=65534"_qs, u"--clear-groups"_qs,
                                                       child, u"run"_qs, folder, u"thahyo1"_qs, u"5"_qs});
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        ASSERT_EQ(o.exitCode, 0) << c.what;
        ASSERT_TRUE(o.out.contains(u"message\t終わる？\t"_qs)) << c.what << ": the run did not end";
        const QByteArray after = TestForm::read(QDir(folder).filePath(kFamily));
        const QStringList side = QDir(folder).entryList({kFamily + u".*.txt"_qs}, QDir::Files);
        const QStringList told = notices(o.out);

        const QList<QByteArray> old = records(before.left(c.fileMode >= 0 ? before.size() : 0));
        switch (c.expect) {
        case InFamily:
            EXPECT_EQ(records(after), old + QList<QByteArray>{kNewRecord}) << c.what;
            EXPECT_TRUE(told.isEmpty()) << c.what;
            break;
        case InSide:
        case Lost:
            EXPECT_TRUE(after == before.left(after.size()) && records(after) == old) << c.what;
            ASSERT_EQ(told.size(), 1) << c.what;
            EXPECT_TRUE(told[0].contains(u"記録を保存できませんでした（"_qs + QString::fromUtf16(c.reason)))
                << c.what << ": " << told[0].toStdString();
            EXPECT_EQ(side.size(), c.expect == InSide ? 1 : 0) << c.what;
            if (c.expect == InSide) {
                EXPECT_EQ(records(TestForm::read(QDir(folder).filePath(side.value(0)))), QList<QByteArray>{kNewRecord});
            }
            break;
        }
        // Nothing but the history and a side file is left behind.
        EXPECT_EQ(TestForm::filesBesideRecords(folder).size(),
                  qsizetype(c.fileMode >= 0) + side.size() + qsizetype(c.staleLock)) << c.what;
        lost += old.size() - std::min(old.size(), records(after).size());
        std::printf("as another user, %s: records before %lld, after %lld%s; %s\n", c.what, qint64(old.size()),
                    qint64(records(after).size()), side.isEmpty() ? "" : " and 1 in a side file",
                    told.isEmpty() ? "nothing to tell" : told[0].toUtf8().constData());
    }
    std::printf("permissions: %d cases, earlier records lost: %d\n", n, lost);
    EXPECT_EQ(lost, 0);
}

TEST(HistoryUnderFaults, ALearnerWhoMayNotMakeFilesLosesNoRecordToAReplacingSave)
{
    if (!canRunAsAnotherUser())
        GTEST_SKIP() << "sets up files of another user: needs to start as root and setpriv";
    // The learner (user 65534) may write the history but not make files in
    // the folder, so it adds its record in place. Another machine ends its
    // run in the same second and is first: the learner waits for its lock;
    // then, between the learner's open and its write, the other machine
    // renames its new copy over the history. The record once went into the
    // copy that was gone, and the learner was told nothing.
    QTemporaryDir base;
    const QString child = childForAnotherUser(base);
    long lost = 0;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        const QString folder = base.filePath(QString::number(attempt));
        QDir().mkpath(folder);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
        const QString family = QDir(folder).filePath(kFamily);
        const QByteArray before = history(40);
        TestForm::write(family, before);
        ::chmod(QFile::encodeName(family).constData(), 0666);

        plainfile::FileLock lock(family);
        ASSERT_TRUE(lock.acquire().ok());
        plainfile::Status status;
        const int held = plainfile::openLocked(family, O_RDONLY, 1000, status);
        ASSERT_GE(held, 0);
        QProcess learner;
        learner.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        learner.start(u"/usr/bin/setpriv"_qs, asAnotherUser(child, {u"run"_qs, folder, u"thahyo1"_qs, u"5"_qs}));
        ASSERT_TRUE(learner.waitForStarted());
        QThread::msleep(300); // the learner waits for the lock
        lock.release();
        QElapsedTimer waited;
        waited.start();
        while (!hasOpenForWriting(learner.processId(), family) && learner.state() == QProcess::Running
               && waited.elapsed() < 20000)
            QThread::msleep(2);
        const bool between = hasOpenForWriting(learner.processId(), family);

        QByteArray onDisk;
        ASSERT_TRUE(plainfile::readAll(held, onDisk, 1 << 20).ok());
        ASSERT_TRUE(plainfile::replace(family, results::withRecord(onDisk, u"2026/12/08"_qs, u"7,261208#座標問題3.txt"_qs)).ok());
        ::close(held);
        ASSERT_TRUE(learner.waitForFinished(60000));
        const QString out = QString::fromUtf8(learner.readAllStandardOutput());
        ASSERT_TRUE(out.contains(u"message\t終わる？\t"_qs)) << "the run did not end";

        // Every record once: the old ones first, then the two of this second
        // in the order the machines got to the file.
        const QList<QByteArray> after = records(TestForm::read(family));
        const QList<QByteArray> old = records(before);
        const QList<QByteArray> added{"7,261208#座標問題3.txt", kNewRecord};
        for (const QByteArray &r : old + added)
            lost += after.contains(r) ? 0 : 1;
        EXPECT_EQ(after.size(), old.size() + 2) << "try " << attempt;
        EXPECT_TRUE(after.mid(0, old.size()) == old) << "try " << attempt;
        const QList<QByteArray> swapped{added[1], added[0]};
        EXPECT_TRUE(after.mid(old.size()) == added || after.mid(old.size()) == swapped)
            << "try " << attempt << ": " << after.mid(old.size()).join(' ').toStdString();
        EXPECT_TRUE(between) << "try " << attempt << ": the learner was not seen with the history open";
        EXPECT_TRUE(notices(out).isEmpty()) << notices(out).join(u' ').toStdString();
        std::printf("race, a learner who may not make files against a replacing save, try %d%s: "
                    "records before %lld, after %lld (2 added)\n",
                    attempt, between ? " (replaced between its open and its write)" : "",
                    qint64(records(before).size()), qint64(after.size()));
    }
    std::printf("race: learners who may not make files, 3 tries, records lost %ld\n", lost);
    EXPECT_EQ(lost, 0);
}

TEST(HistoryUnderFaults, AStaleLockNoLearnerMayRemoveIsTakenOverInTurn)
{
    if (!canRunAsAnotherUser())
        GTEST_SKIP() << "sets up files of another user: needs to start as root and setpriv";
    // A sticky shared folder with another user's lock, left by a crashed
    // machine: four learners' machines end their runs together, ten times,
    // each taking the lock over in place in its turn.
    QTemporaryDir base;
    const QString child = childForAnotherUser(base);
    const QString folder = base.filePath(u"shared"_qs);
    QDir().mkpath(folder);
    const QString lock = QDir(folder).filePath(kFamily + u".lock"_qs);
    TestForm::write(lock, "4242 a-machine-that-crashed\n");
    struct utimbuf old;
    old.actime = old.modtime = time(nullptr) - 3600;
    ::utime(QFile::encodeName(lock).constData(), &old);
    ::chmod(QFile::encodeName(folder).constData(), 01777);
    const Outcome o = run(u"/usr/bin/setpriv"_qs, asAnotherUser(child, {u"race"_qs, folder, u"4"_qs, u"10"_qs}));
    std::printf("%s", o.out.toUtf8().constData());
    EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains(u"lost 0, duplicated 0, notices 0"_qs));
    EXPECT_TRUE(QFileInfo(lock).isFile()); // still there: no learner may remove it
}

TEST(HistoryUnderFaults, ASaveUnderAMemoryLimitKeepsTheRecord)
{
    // A history of many years (25 MB) and less memory than a new copy of it
    // needs: the save once died of std::bad_alloc, leaving its lock behind.
    if (kSanitized)
        GTEST_SKIP() << "an address-space limit leaves AddressSanitizer no room";
    QTemporaryDir dir;
    QByteArray before = "2026/12/01\r\n";
    const QByteArray line = u"12,261201#座標問題1.txt\r\n"_qs.toUtf8();
    while (before.size() < 25 * 1024 * 1024)
        before += line;
    TestForm::write(dir.filePath(kFamily), before);
    const Outcome o = runChild({u"run"_qs, dir.path(), u"thahyo1"_qs, u"5"_qs, u"-"_qs, QString::number(16 << 20)});
    EXPECT_EQ(o.exitCode, 0) << "the save crashed";
    const QByteArray after = TestForm::read(dir.filePath(kFamily));
    const qsizetype beforeCount = before.count('\n') - 1, afterCount = after.count('\n') - 1;
    EXPECT_TRUE(after == before + kNewRecord + "\r\n") << "records before " << beforeCount << ", after " << afterCount;
    EXPECT_TRUE(notices(o.out).isEmpty()) << notices(o.out).join(u' ').toStdString();
    EXPECT_EQ(TestForm::filesBesideRecords(dir.path()), QStringList{kFamily}) << "a lock or temporary left";
    std::printf("memory limit, a history of %lld records: after the save %lld, the new one at its end%s\n",
                qint64(beforeCount), qint64(afterCount), o.exitCode == 0 ? "" : "; THE SAVE CRASHED");
}

// The driver with no fonts at all: the run still ends with its chart and its
// closing message. (The real sound channel without an audio device is tried
// with the window's own tests.)
TEST(HistoryUnderFaults, ARunEndsWithoutAJapaneseFont)
{
    DriveRun d;
    TestForm::write(d.path(u"fonts.conf"_qs),
                    "<?xml version=\"1.0\"?><fontconfig><cachedir>" + d.path(u"cache"_qs).toUtf8()
                        + "</cachedir></fontconfig>");
    qputenv("FONTCONFIG_FILE", d.path(u"fonts.conf"_qs).toUtf8());
    const int rc = d.run(u"folder @/cwd\nmenu nagasa\ntype 1\nkey Enter\nadvance 400\nshot window @/w.png\ndump @/d.json\n"_qs);
    qunsetenv("FONTCONFIG_FILE");
    ASSERT_EQ(rc, 0) << d.stdErr.toStdString();
    const QJsonObject dump = d.json(u"d.json"_qs);
    EXPECT_TRUE(dump[u"canvases"_qs][u"Picture1"_qs][u"visible"_qs].toBool());
    const QJsonArray messages = dump[u"messages"_qs].toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0][u"title"_qs].toString(), u"終わる？"_qs);
    EXPECT_EQ(records(TestForm::read(d.path(u"cwd/長さ面積.txt"_qs))).size(), 1);
}
