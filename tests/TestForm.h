#pragma once
// A form with fake services, for tests: a clock that moves only when told, a
// scripted random source, fixed-width text metrics, recorded sounds and
// messages, and a fresh temporary folder for results and streak files.
#include "app/Form1.h"
#include "controls/BasicRandom.h"
#include "controls/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

struct TestForm {
    FakeClock clock;
    ScriptedRandom random;
    FakeDialogs dialogs;
    QStringList sounds;
    FakeSound sound1{&sounds};
    FakeSound sound2{&sounds};
    FixedMetrics metrics;
    QTemporaryDir dir;
    Paths paths;
    bool allSets = false;
    std::unique_ptr<Form1> form;

    TestForm()
    {
        paths.currentFolder = dir.filePath(QStringLiteral("cwd"));
        paths.programFolder = dir.filePath(QStringLiteral("program"));
        paths.machineNameFile = dir.filePath(QStringLiteral("compname.txt"));
        paths.rosterFile = dir.filePath(QStringLiteral("program/roster.ini"));
        QDir().mkpath(paths.currentFolder);
        QDir().mkpath(paths.programFolder);
    }

    Form1 &make()
    {
        form = std::make_unique<Form1>(
            FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, allSets});
        return *form;
    }

    Form1 &start()
    {
        make().Form_Load();
        return *form;
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    QString cwdFile(const QString &name) const { return QDir(paths.currentFolder).filePath(name); }
};
