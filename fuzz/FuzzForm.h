#pragma once
// What every fuzz target shares: a form built with the fake services in a
// scratch folder that is emptied before each input (so one input never sees
// the files of another, and a crash reproduces from its input alone), the
// checks that stop the fuzzer with a message, and the counts each target
// prints when it ends.
#include "form/Form1.h"
#include "controls/BasicRandom.h"
#include "FakeServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {

// A broken invariant: print what and where, then abort so that libFuzzer
// keeps the input as a crash.
[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::fuzz::fail(#cond, __FILE__, __LINE__);                                               \
    } while (0)

// Counts printed once at exit, so the replay in CI and `make fuzz` both say
// how much was tried and checked.
struct Counts {
    const char *target;
    long long inputs = 0;
    long long checked = 0; // what the target checks: events, records, names …
    long long lost = 0;    // records lost (results only)
    const char *checkedWhat;
    bool reportsLost = false;

    Counts(const char *t, const char *what, bool lostToo = false)
        : target(t), checkedWhat(what), reportsLost(lostToo)
    {
    }
    ~Counts()
    {
        std::fprintf(stderr, "%s: %lld inputs tried, %lld %s", target, inputs, checked, checkedWhat);
        if (reportsLost)
            std::fprintf(stderr, ", lost records: %lld", lost);
        std::fprintf(stderr, "\n");
    }
};

struct FuzzForm {
    FakeClock clock;
    ScriptedRandom random;
    FakeDialogs dialogs;
    QStringList sounds;
    FakeSound sound1{&sounds};
    FakeSound sound2{&sounds};
    FixedMetrics metrics;
    QTemporaryDir dir;
    Paths paths;
    std::unique_ptr<Form1> form;

    FuzzForm() { paths = scratchPaths(dir.path()); }

    // A fresh form over an empty current folder, with no machine-name file
    // and no roster unless the target writes them afterwards.
    Form1 &fresh(bool allSets = true)
    {
        form.reset();
        QDir cwd(paths.currentFolder);
        cwd.removeRecursively();
        QDir().mkpath(paths.currentFolder);
        QFile::remove(paths.machineNameFile);
        QFile::remove(paths.rosterFile);
        clock = FakeClock();
        random = ScriptedRandom();
        dialogs.shown.clear();
        sounds.clear();
        form = std::make_unique<Form1>(
            FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, allSets});
        return *form;
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            fail("cannot write a scratch file", __FILE__, __LINE__);
    }

    QString cwdFile(const QString &name) const { return QDir(paths.currentFolder).filePath(name); }

    // The form is dropped after each input, so nothing it holds is carried
    // into the next one.
    void done() { form.reset(); }
};

// One instance per process: creating and removing a temporary folder for
// every input would cost more than the input itself.
inline FuzzForm &shared()
{
    static FuzzForm f;
    return f;
}

} // namespace fuzz
