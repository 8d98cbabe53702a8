#pragma once
// The outside world of a form, faked in one piece: the clock, the random
// source, the message box and the two sound channels, with the form built on
// them. The tests, the benchmarks, the history child and the driver each
// add only what differs between them: the text metrics (fixed-width or the
// real fonts) and where the files go.
#include "FakeServices.h"
#include "form/Form1.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

struct FakeWorld {
    FakeClock clock;
    // Seeded from the clock, as start-up reseeds it, so that a form used
    // before start-up draws the same numbers everywhere.
    ScriptedRandom random{clock.seconds};
    FakeDialogs dialogs;
    QStringList sounds; // every playback started on either channel, by file name
    FakeSound sound1{&sounds};
    FakeSound sound2{&sounds};

    FakeWorld() = default;
    // The channels log into `sounds`: a copy would log into the original.
    FakeWorld(const FakeWorld &) = delete;
    FakeWorld &operator=(const FakeWorld &) = delete;

    FormServices services(const TextMetrics &metrics, const Paths &paths, bool allSets = false)
    {
        return FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, allSets};
    }

    std::unique_ptr<Form1> makeForm(const TextMetrics &metrics, const Paths &paths, bool allSets = false)
    {
        return std::make_unique<Form1>(services(metrics, paths, allSets));
    }
};

// A fresh temporary folder laid out by scratchPaths, removed with it.
struct ScratchFolder {
    QTemporaryDir dir;
    Paths paths = scratchPaths(dir.path());
};
