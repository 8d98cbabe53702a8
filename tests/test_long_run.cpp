// A classroom day in one process: run after run of different sets, answered
// right and wrong, by typing and on the plane, each ended by the clock. The
// program's memory after the last thousand events must be what it was after
// the first thousand: nothing it keeps may grow with the number of runs,
// questions or keys.
#include "Sanitized.h"
#include "LearnerInput.h"
#include "TestForm.h"

#include "controls/TextFiles.h"

#include <QFile>

#include <malloc.h>

#include <cstdio>
#include <random>

namespace {


struct Memory {
    long long heap = 0; // bytes the allocator has handed out and not taken back
    long long rss = 0;  // resident bytes of the process
};

Memory memoryNow()
{
    Memory m;
    const struct mallinfo2 info = mallinfo2();
    m.heap = (long long)(info.uordblks + info.hblkhd);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        if (fields.size() > 1)
            m.rss = fields[1].toLongLong() * 4096;
    }
    return m;
}

// Sets answered by typing and on the plane, visited in turn. The function
// family's file grows past the hundred records a run holds in memory, so the
// older records are carried through every write as well.
const char16_t *const kSets[] = {u"nagasa",   u"thahyou2", u"grawrite1", u"graread1",  u"menseki1",
                                 u"senza1",   u"gra2read2", u"sanmen",   u"grerewri", u"thahyo1"};

struct Day {
    QTemporaryDir shm{QStringLiteral("/dev/shm/soremuka-long-run-XXXXXX")};
    TestForm t;
    Form1 &f;
    std::mt19937 rng{2026};
    long long events = 0;
    int runs = 0;

    // Hundreds of runs each write a results file, and each write is synced;
    // in memory, where there is a place for it, that costs nothing.
    Day() : t(), f((usePlaceInMemory(), t.allSets = true, t.start())) {}

    void usePlaceInMemory()
    {
        if (shm.isValid())
            t.paths = scratchPaths(shm.path());
    }

    int pick(int n) { return int(rng() % unsigned(n)); }

    void key(int code)
    {
        if (f.Text2.Visible)
            f.typeKey(code);
        ++events;
    }

    void press(double x, double y)
    {
        tap(f, x, y);
        ++events;
    }

    // One thing a learner does: mostly answers, right or wrong, some stray
    // keys, the acknowledge button after a miss, a tick of the clock.
    void step()
    {
        if (f.Command3.Visible) {
            f.buttonClick(u"Command3"_qs);
            ++events;
            return;
        }
        const QString answer = f.currentAnswer();
        switch (pick(8)) {
        case 0:
        case 1:
        case 2: // the right answer
            if (f.Text2.Visible) {
                for (QChar c : learner::asTyped(answer))
                    key(c.unicode());
                key(13);
            } else {
                for (const auto &[x, y] : learner::asPresses(answer))
                    press(x, y);
                f.buttonClick(u"Command5"_qs);
                ++events;
            }
            break;
        case 3: // a wrong one
            if (f.Text2.Visible) {
                key('0' + pick(10));
                key(pick(2) ? '/' : 'x');
                key('1' + pick(9));
                key(13);
            } else {
                press(pick(19) - 9, pick(19) - 9);
                press(pick(19) - 9, pick(19) - 9);
                f.buttonClick(u"Command5"_qs);
                ++events;
            }
            break;
        case 4: { // stray keys and corrections
            static const QString keys = u"xy=/-+p()0123456789\bX"_qs;
            key(keys[pick(int(keys.size()))].unicode());
            key(8);
            break;
        }
        default:
            t.clock.seconds += 0.3;
            f.Timer1_Timer();
            ++events;
            break;
        }
    }

    // Events until `count` in all: a set is chosen whenever no run is on,
    // and a run that has had `runLength` events is ended by the clock.
    void until(long long count, long long runLength)
    {
        while (events < count) {
            if (f.run.categoryActive == 0) {
                endOfRun();
                f.menuClick(QString::fromUtf16(kSets[runs % std::size(kSets)]));
                ++events;
                ++runs;
                runStart = events;
            } else if (events - runStart >= runLength) {
                t.runOutClock();
                ++events;
            } else {
                step();
            }
        }
    }

    // What the fake services record for tests grows with every sound and
    // message; it is the test's, not the program's.
    void endOfRun()
    {
        rightAnswers += t.sounds.count(u"Maru.wav"_qs);
        t.sounds.clear();
        t.sound1.commands.clear();
        t.sound2.commands.clear();
        t.dialogs.shown.clear();
    }

    long long runStart = 0;
    long long rightAnswers = 0; // over every run: each run counts its own from 0
};

} // namespace

TEST(LongRun, MemoryDoesNotGrowOverManyRunsAndAHundredThousandEvents)
{
    // Under the address sanitizer freed memory is held back on purpose, so
    // memory says nothing there; a shorter day still runs every path for
    // the sanitizers and the leak check at exit.
    const long long total = kSanitized ? 10000 : 100000;
    const long long runLength = 1000;
    Day day;
    Form1 &f = day.f;

    day.until(1000, runLength);
    const Memory first = memoryNow();
    day.until(total - 1000, runLength);
    const Memory beforeLast = memoryNow();
    day.until(total, runLength);
    const Memory last = memoryNow();

    // Every run ended wrote its record: none lost to another run's write.
    if (f.run.categoryActive == 1)
        day.t.runOutClock();
    day.endOfRun();
    long long records = 0;
    const QDir folder(day.t.paths.currentFolder);
    for (const QString &name : folder.entryList({u"*.txt"_qs}, QDir::Files)) {
        if (name.endsWith(u"きろく.txt"_qs))
            continue; // the learner's own record, of answers as well as runs
        QStringList lines;
        ASSERT_TRUE(textfiles::readLines(folder.filePath(name), lines)) << name.toStdString();
        records += std::max<qsizetype>(0, lines.size() - 1);
    }
    std::printf("long run: %d runs, %lld events, %lld right answers; %lld records checked, lost records: %lld\n",
                day.runs, day.events, day.rightAnswers, records, day.runs - records);
    EXPECT_EQ(records, day.runs);
    if (kSanitized)
        std::printf("long run: memory is not compared in a sanitized build\n");
    else
        std::printf("long run: heap in use after the first thousand events %lld KiB, after the last "
                    "thousand %lld KiB (%+lld; %+lld over the last thousand); resident %lld -> %lld KiB\n",
                    first.heap / 1024, last.heap / 1024, (last.heap - first.heap) / 1024,
                    (last.heap - beforeLast.heap) / 1024, first.rss / 1024, last.rss / 1024);
    EXPECT_GE(day.events, total);
    EXPECT_GT(day.rightAnswers, 100);
    EXPECT_FALSE(f.closed);
    if (kSanitized)
        return;
    // What may grow is bounded: the chart draws at most forty past runs. A
    // leak of a few dozen bytes an event would come to megabytes here.
    EXPECT_LT(last.heap - first.heap, 1024 * 1024);
    EXPECT_LT(last.rss - first.rss, 8 * 1024 * 1024);
}
