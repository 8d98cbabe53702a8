// soremuka: the drill program.
//   soremuka [--all-sets] [--folder DIR | --learner-folder]
//                              open the window (--all-sets also offers the
//                              sets that are disabled by design; the results
//                              go to DIR, or the learner's documents folder)
//   soremuka --paths           where the program finds its files (no window)
//   soremuka --list-sets       list the problem sets (no window)
//   soremuka --print-bank ITEM print every question of a set (no window)
//   soremuka --worksheet ITEM ... -o FILE.pdf|FILE.png
//                              a printable worksheet of a set (no window)
#include "form/Form1.h"
#include "app/Listing.h"
#include "controls/BasicRandom.h"
#include "places/Places.h"
#include "ui/FirstPaintProbe.h"
#include "ui/Fonts.h"
#include "ui/MainWindow.h"
#include "ui/QtServices.h"
#include "ui/QtTextMetrics.h"
#include "worksheet/WorksheetCommand.h"

#include <QApplication>
#include <QDir>
#include <QLibrary>
#include <QTimer>
#include <QTextStream>

#include <cstdio>

// --paths: where the program finds its sounds, module, roster and machine
// name, and which folder the window would keep results in. Status 1 when
// the sounds or the module are missing.
static int printPaths(int argc, char **argv, const places::StartOptions &start)
{
    QCoreApplication core(argc, argv);
    const places::ProgramFiles files = places::ofRunningProgram();
    // The module is loaded as the window would load it, so that a library
    // it needs and the machine lacks shows here.
    QString moduleError;
    if (!files.soundModule.isEmpty()) {
        QLibrary module(files.soundModule);
        if (!module.load() || !module.resolve(SOREMUKA_SOUND_ENTRY))
            moduleError = module.errorString();
    }
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << places::report(files, moduleError, places::machineNameFile(),
                          places::candidates(start, places::surroundings(start, files.roster)), places::stateOf,
                          QCoreApplication::applicationDirPath());
    return files.soundsFound && !files.soundModule.isEmpty() && moduleError.isEmpty() ? 0 : 1;
}

int main(int argc, char **argv)
{
    {
        QStringList args;
        for (int i = 0; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        QTextStream out(stdout), err(stderr);
        bool handled = false;
        const int rc = runTeacherListing(args, out, err, handled);
        if (handled)
            return rc;
    }
    if (const int rc = worksheet::runWorksheetCommand(argc, argv); rc >= 0)
        return rc;
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const places::StartOptions start = places::parseStartOptions(args);
    if (!start.error.isEmpty()) {
        std::fprintf(stderr, "soremuka: %s\n", qPrintable(start.error));
        return 2;
    }
    if (start.printPaths)
        return printPaths(argc, argv, start);

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("soremuka"));
    app.setApplicationDisplayName(QStringLiteral("ソレムカゼミ"));
    app.setDesktopFileName(QStringLiteral(SOREMUKA_APP_ID));
    fonts::install();

    SystemClock clock;
    BasicRandom random;
    QtDialogs dialogs;
    QtSoundChannel sound1, sound2;
    QtTextMetrics metrics;
    const places::ProgramFiles files = places::ofRunningProgram();
    const places::ResultsFolder results = places::resultsFolder(start, files.roster);
    if (!results.error.isEmpty()) {
        std::fprintf(stderr, "soremuka: %s\n", qPrintable(results.error));
        return 2;
    }
    QDir::setCurrent(results.folder);
    Paths paths{results.folder, files.dataFolder, places::machineNameFile(), files.roster};
    const bool allSets = app.arguments().contains(QStringLiteral("--all-sets"));
    Form1 form(FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, allSets});
    MainWindow window(form);
    dialogs.setParent(&window);
    dialogs.setFont(fonts::widgetFont(QString(), 14, false, window.pixelsPerTwip()));
    window.events().load();
    if (form.closed)
        return 0;
    ExitAfterFirstPaint::installIfRequested(&window);
    if (!results.notice.isEmpty()) {
        // Told over the window it is about, once that has been painted.
        std::fprintf(stderr, "soremuka: %s\n", qPrintable(results.notice));
        new AfterFirstPaint(&window, [&dialogs, notice = results.notice] {
            dialogs.message(notice, QStringLiteral("ソレムカゼミ"));
            dialogs.showPending();
        });
    }
    // The sound module is loaded a moment after the window's first paint:
    // the window does not wait for it, and neither does the first answer's
    // sound (a set has to be chosen from the menu before anything is
    // answered).
    new AfterFirstPaint(&window, [&window] {
        QTimer::singleShot(200, &window, [] { SoundModule::ofProgram().load(); });
    });
    window.show();
    return app.exec();
}
