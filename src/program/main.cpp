// soremuka: the drill program.
//   soremuka [--all-sets]      open the window (--all-sets also offers the
//                              sets that are disabled by design)
//   soremuka --list-sets       list the problem sets (no window)
//   soremuka --print-bank ITEM print every question of a set (no window)
//   soremuka --worksheet ITEM ... -o FILE.pdf|FILE.png
//                              a printable worksheet of a set (no window)
//   soremuka --report FOLDER... -o FILE.pdf|FILE.csv|FILE.png
//                              the class report of results folders (no window)
#include "form/Form1.h"
#include "app/Listing.h"
#include "controls/BasicRandom.h"
#include "ui/FirstPaintProbe.h"
#include "ui/Fonts.h"
#include "ui/MainWindow.h"
#include "ui/QtServices.h"
#include "ui/QtTextMetrics.h"
#include "worksheet/WorksheetCommand.h"
#include "report/ReportCommand.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QTextStream>

#include <cstdio>

static QString machineNameFile()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:/compname.txt");
#else
    return QStringLiteral("/etc/compname.txt");
#endif
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
    if (const int rc = report::runReportCommand(argc, argv); rc >= 0)
        return rc;

    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("soremuka"));
    app.setApplicationDisplayName(QStringLiteral("ソレムカゼミ"));
    fonts::install();

    SystemClock clock;
    BasicRandom random;
    QtDialogs dialogs;
    QtSoundChannel sound1, sound2;
    QtTextMetrics metrics;
    const QString programFolder = QCoreApplication::applicationDirPath();
    Paths paths{QDir::currentPath(), programFolder, machineNameFile(),
                QDir(programFolder).filePath(QStringLiteral("roster.ini"))};
    const bool allSets = app.arguments().contains(QStringLiteral("--all-sets"));
    Form1 form(FormServices{clock, random, dialogs, sound1, sound2, metrics, paths, allSets});
    MainWindow window(form);
    dialogs.setParent(&window);
    dialogs.setFont(fonts::widgetFont(QString(), 14, false, window.pixelsPerTwip()));
    window.events().load();
    if (form.closed)
        return 0;
    ExitAfterFirstPaint::installIfRequested(&window);
    // The sound module is loaded a moment after the window's first paint:
    // the window does not wait for it, and neither does the first answer's
    // sound (a set has to be chosen from the menu before anything is
    // answered).
    new AfterFirstPaint(&window, [&window] {
        QTimer::singleShot(200, &window, [] { SoundModule::besideProgram().load(); });
    });
    window.show();
    return app.exec();
}
