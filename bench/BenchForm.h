#pragma once
// A started form for benchmarks: the program's real text metrics, a clock and
// random source that move only when told, silent sounds and dialogs, and a
// fresh temporary folder for the results files.
#include "app/Form1.h"
#include "controls/BasicRandom.h"
#include "controls/FakeServices.h"
#include "ui/QtTextMetrics.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

struct BenchForm {
    FakeClock clock;
    ScriptedRandom random;
    FakeDialogs dialogs;
    QStringList sounds;
    FakeSound sound1{&sounds};
    FakeSound sound2{&sounds};
    QtTextMetrics metrics;
    QTemporaryDir dir;
    Paths paths;
    std::unique_ptr<Form1> form;

    BenchForm()
    {
        paths.currentFolder = dir.filePath(QStringLiteral("cwd"));
        paths.programFolder = dir.filePath(QStringLiteral("program"));
        paths.machineNameFile = dir.filePath(QStringLiteral("compname.txt"));
        paths.rosterFile = dir.filePath(QStringLiteral("program/roster.ini"));
        QDir().mkpath(paths.currentFolder);
        QDir().mkpath(paths.programFolder);
        form = std::make_unique<Form1>(
            FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, true});
        form->Form_Load();
    }
};
