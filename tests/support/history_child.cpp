// soremuka-history-child: the program's end of a run, in processes of their
// own, for the tests that kill them, race them and run them as another user.
//
//   run FOLDER ITEM SCORE [FSIZE [MEMORY]]
//       One run of the set behind menu item ITEM in FOLDER, scoring SCORE,
//       with a file-size limit of FSIZE bytes if given ("-" for none), and
//       with no more than MEMORY bytes of address space beyond what the
//       program holds when its window would have opened, if given. Prints
//       every message shown as "message<TAB>title<TAB>text".
//   crash FOLDER KILLS SEED
//       Kills a process that ends runs one after another at a random moment,
//       KILLS times; after each kill checks that the family file holds every
//       record saved before it, each line whole.
//   race FOLDER PROCS ROUNDS
//       PROCS processes end a run at the same moment, ROUNDS times; counts
//       the records of the family file afterwards. Files that were in the
//       folder before (a lock nobody may remove) may stay.
//
// Exits 0 when nothing was lost, 1 when something was, 2 on bad arguments.
#include "form/Form1.h"
#include "banks/Catalogue.h"
#include "FakeWorld.h"
#include "controls/TextFiles.h"
#include "controls/TextMetrics.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The program with the outside world faked, its current folder given.
struct Program : FakeWorld {
    FixedMetrics metrics;
    std::unique_ptr<Form1> form;

    explicit Program(const QString &folder)
    {
        const QString none = folder + QStringLiteral("/none");
        const Paths paths{folder, folder, none, none};
        banks::Catalogue::builtIn(); // read once, before any fork
        form = makeForm(metrics, paths);
        form->Form_Load();
    }

    // One run from the menu click to its end; true when nothing but the
    // closing message was shown (the record is in the family file).
    bool run(const QString &item, int score)
    {
        dialogs.shown.clear();
        form->menuClick(item);
        form->scoreState.score = int16_t(score);
        form->endRun();
        return dialogs.shown.size() == 1;
    }
};

const QString kItem = QStringLiteral("thahyo1");
const QString kFamily = QStringLiteral("座標問題.txt");

// What a folder holds after the runs, but for the learner's own record
// (which every run adds to beside the family file).
QStringList filesBesideTheRecord(const QString &folder)
{
    QStringList rest = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    rest.removeAll(QStringLiteral("とくめいきろく.txt"));
    return rest;
}

// The record ids of a family file that only this tool has written: line 1
// the date, every other line "<id>,261208#座標問題1.txt". False when any
// line is anything else (half-written, say).
bool readIds(const QString &path, std::vector<int> &ids, QString &bad)
{
    ids.clear();
    QFile f(path);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly)) {
        bad = QStringLiteral("cannot read");
        return false;
    }
    const QByteArray bytes = f.readAll();
    if (!bytes.isEmpty() && !bytes.endsWith("\r\n")) {
        bad = QStringLiteral("no line end at the end of the file");
        return false;
    }
    static const QRegularExpression record(QStringLiteral("^(\\d+),\\d{6}#座標問題\\d\\.txt$"));
    const QList<QByteArray> lines = textfiles::splitLines(bytes);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const auto m = record.match(QString::fromUtf8(lines[i]));
        if (!m.hasMatch()) {
            bad = QStringLiteral("line %1: %2").arg(i + 1).arg(QString::fromUtf8(lines[i].left(80)));
            return false;
        }
        ids.push_back(m.captured(1).toInt());
    }
    return true;
}

bool writeByte(int fd, char c) { return ::write(fd, &c, 1) == 1; }

char readByte(int fd)
{
    char c = 0;
    return ::read(fd, &c, 1) == 1 ? c : 0;
}

int runOnce(const QStringList &args)
{
    if (args.size() < 3)
        return 2;
    if (args.size() > 3 && args[3] != u"-") {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
        const rlim_t limit = rlim_t(args[3].toLongLong());
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
    }
    Program p(args[0]);
    if (args.size() > 4) {
        // What the program holds now, and this much more.
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            return 2;
        const qint64 pages = statm.readAll().split(' ').value(0).toLongLong();
        const rlim_t limit = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + args[4].toLongLong());
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_AS, &rl);
    }
    p.run(args[1], args[2].toInt());
    for (const auto &shown : p.dialogs.shown)
        std::printf("message\t%s\t%s\n", shown.title.toUtf8().constData(), shown.text.toUtf8().constData());
    std::fflush(stdout);
    return 0;
}

int crash(const QStringList &args)
{
    if (args.size() < 3)
        return 2;
    const QString folder = args[0];
    const int kills = args[1].toInt();
    std::mt19937 rng(args[2].toUInt());
    const QString family = QDir(folder).filePath(kFamily);
    Program program(folder); // each child starts from a copy of it

    // The kills fall anywhere in the first few saves of a child, however
    // fast this machine saves.
    qint64 saveUs = 0;
    {
        QTemporaryDir scratch;
        Program timed(scratch.path());
        timed.run(kItem, 0); // the first run of a set does more than the others
        QElapsedTimer clock;
        clock.start();
        for (int i = 1; i <= 5; ++i)
            timed.run(kItem, i);
        saveUs = clock.nsecsElapsed() / 5000;
    }
    std::uniform_int_distribution<int> delayUs(0, int(std::clamp<qint64>(3 * saveUs, 500, 8000)));

    std::set<int> kept;   // ids the history must hold
    int nextId = 1;
    long checked = 0, lost = 0, torn = 0, inFlightKept = 0, temporaries = 0, locks = 0, saves = 0;
    for (int k = 0; k < kills && nextId < 30000; ++k) {
        int report[2];
        if (::pipe(report) != 0)
            return 2;
        const int start = nextId;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(report[0]);
            for (int id = start; id < 32000; ++id) {
                if (!program.run(kItem, id))
                    _exit(3); // a record the family file did not take
                if (::write(report[1], &id, sizeof id) != sizeof id)
                    _exit(4);
            }
            _exit(0);
        }
        ::close(report[1]);
        ::usleep(useconds_t(delayUs(rng)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
            std::printf("crash: a child could not save (exit %d)\n", WEXITSTATUS(status));
            return 1;
        }
        int id = 0, last = start - 1;
        while (::read(report[0], &id, sizeof id) == sizeof id) {
            kept.insert(id);
            last = id;
            ++saves;
        }
        ::close(report[0]);
        const int inFlight = last + 1; // may or may not have reached the file

        std::vector<int> ids;
        QString bad;
        if (!readIds(family, ids, bad)) {
            ++torn;
            std::printf("crash: kill %d left a damaged history: %s\n", k + 1, bad.toUtf8().constData());
            break;
        }
        std::set<int> inFile(ids.begin(), ids.end());
        checked += long(ids.size());
        for (int want : kept)
            if (!inFile.count(want))
                ++lost;
        if (inFile.count(inFlight)) {
            kept.insert(inFlight);
            ++inFlightKept;
        }
        if (inFile.size() != ids.size() || inFile != kept) {
            std::printf("crash: kill %d: the history holds %zu records, expected %zu\n", k + 1, ids.size(),
                        kept.size());
            ++lost;
            break;
        }
        const QStringList rest = filesBesideTheRecord(folder);
        temporaries += rest.filter(QStringLiteral(".tmp")).isEmpty() ? 0 : 1;
        locks += rest.contains(kFamily + QStringLiteral(".lock")) ? 1 : 0;
        nextId = inFlight + 1;
        if (lost)
            break;
    }
    // A save after all the kills clears what the killed saves left behind.
    const bool lastSaved = program.run(kItem, nextId);
    const QStringList rest = filesBesideTheRecord(folder);
    std::printf("crash: a save takes %lld us; kills %d, saves reported %ld, records checked %ld, lost %ld, torn %ld, "
                "in-flight records kept %ld, kills between writing and renaming %ld, kills holding the lock %ld, "
                "files after the next save %lld\n",
                saveUs, kills, saves, checked, lost, torn, inFlightKept, temporaries, locks, qint64(rest.size()));
    return lost == 0 && torn == 0 && lastSaved && rest == QStringList{kFamily} ? 0 : 1;
}

int race(const QStringList &args)
{
    if (args.size() < 3)
        return 2;
    const QString folder = args[0];
    const int procs = args[1].toInt(), rounds = args[2].toInt();
    if (procs < 1 || rounds < 1 || procs * rounds > 32000)
        return 2;
    QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    Program program(folder);
    std::vector<int> toChild(procs), fromChild(procs);
    std::vector<pid_t> pids(procs);
    for (int c = 0; c < procs; ++c) {
        int down[2], up[2];
        if (::pipe(down) != 0 || ::pipe(up) != 0)
            return 2;
        pids[c] = ::fork();
        if (pids[c] == 0) {
            ::close(down[1]);
            ::close(up[0]);
            for (int r = 0; r < rounds; ++r) {
                // Activation reads the history; then every process waits
                // for the others, and all end their runs at once.
                program.form->menuClick(kItem);
                writeByte(up[1], 'r');
                if (readByte(down[0]) != 'g')
                    _exit(4);
                program.dialogs.shown.clear();
                program.form->scoreState.score = int16_t(r * procs + c + 1);
                program.form->endRun();
                writeByte(up[1], program.dialogs.shown.size() == 1 ? 's' : 'n');
            }
            _exit(0);
        }
        ::close(down[0]);
        ::close(up[1]);
        toChild[c] = down[1];
        fromChild[c] = up[0];
    }
    long notices = 0;
    for (int r = 0; r < rounds; ++r) {
        for (int c = 0; c < procs; ++c)
            readByte(fromChild[c]);
        for (int c = 0; c < procs; ++c)
            writeByte(toChild[c], 'g');
        for (int c = 0; c < procs; ++c)
            notices += readByte(fromChild[c]) != 's';
    }
    for (int c = 0; c < procs; ++c)
        ::waitpid(pids[c], nullptr, 0);

    std::vector<int> ids;
    QString bad;
    const bool whole = readIds(QDir(folder).filePath(kFamily), ids, bad);
    const std::set<int> found(ids.begin(), ids.end());
    long lost = 0;
    for (int id = 1; id <= procs * rounds; ++id)
        lost += found.count(id) ? 0 : 1;
    const long duplicated = long(ids.size()) - long(found.size());
    QStringList rest = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    rest.removeAll(QStringLiteral("とくめいきろく.txt"));
    before.removeAll(kFamily);
    for (const QString &old : before)
        rest.removeAll(old);
    std::printf("race: processes %d, rounds %d, records expected %d, found %zu, lost %ld, duplicated %ld, "
                "notices %ld, other files %lld%s%s\n",
                procs, rounds, procs * rounds, ids.size(), lost, duplicated, notices, qint64(rest.size() - 1),
                whole ? "" : ", damaged: ", bad.toUtf8().constData());
    return whole && lost == 0 && duplicated == 0 && notices == 0 && rest == QStringList{kFamily} ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    int rc = 2;
    if (mode == u"run")
        rc = runOnce(args);
    else if (mode == u"crash")
        rc = crash(args);
    else if (mode == u"race")
        rc = race(args);
    if (rc == 2)
        std::fputs("usage: soremuka-history-child run FOLDER ITEM SCORE [FSIZE [MEMORY]] | crash FOLDER KILLS SEED | "
                   "race FOLDER PROCS ROUNDS\n",
                   stderr);
    std::fflush(stdout);
    return rc;
}
