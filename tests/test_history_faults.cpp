// The learner's history under the faults of a real classroom: a program
// killed mid-save, machines ending their runs together, a full disk, folders
// and files that the learner may not write, and a machine without a
// Japanese font. Each test prints what it tried and counted.
#include "DriveRunner.h"
#include "TestForm.h"

#include "controls/TextFiles.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>

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
        {"shared sticky folder, another user's stale lock", 01777, 0666, InSide,
         u"ほかのパソコンが記録ファイルを使っています", true},
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
