// soremuka: the drill program. `soremuka --help` lists its options
// (src/program/Options.cpp holds them, one row each).
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
#include "program/Options.h"
#include "report/ReportCommand.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScreen>
#include <QLibrary>
#include <QPixmapCache>
#include <QTimer>
#include <QTextStream>

#include <cstdio>
#include <vector>
#include <unistd.h>

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


// The program's own folder, known before any application object exists.
static QString programFolderOf(const char *argv0)
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFileInfo(self.isEmpty() ? QString::fromLocal8Bit(argv0) : self).absolutePath();
}

// Why no window can open, found before Qt tries: on a platform that needs a
// display server and finds none, Qt ends the process with a core dump.
static QString missingDisplay(const QStringList &args)
{
#ifdef Q_OS_LINUX
    QString platforms = options::qtOption(args, QStringLiteral("-platform"));
    if (platforms.isEmpty())
        platforms = qEnvironmentVariable("QT_QPA_PLATFORM");
    bool needsServer = true;
    for (const QString &p : platforms.split(u';', Qt::SkipEmptyParts)) {
        const QString name = p.section(u':', 0, 0);
        needsServer = needsServer && (name == u"xcb" || name.startsWith(u"wayland"));
    }
    if (needsServer && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QStringLiteral("no display to open the window on (DISPLAY is not set); "
                              "--worksheet, --list-sets and --print-bank need none");
#else
    Q_UNUSED(args);
#endif
    return QString();
}

// While the application object is made, Qt's messages are held back: when
// it cannot open its platform (a display that does not answer) it ends the
// program, and the learner or teacher gets one line saying why instead of
// its page of advice and a core dump. Held messages are let through once
// the window system is open.
namespace startup {
struct Held {
    QtMsgType type;
    QString text;
};
static std::vector<Held> held;

static void handler(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type == QtFatalMsg) {
        const QString why = (held.empty() ? msg : held.front().text).section(u'\n', 0, 0);
        std::fprintf(stderr, "soremuka: cannot open the window: %s\n", why.toLocal8Bit().constData());
        std::fflush(stderr);
        ::_exit(2);
    }
    held.push_back({type, msg});
}

static void letThrough()
{
    qInstallMessageHandler(nullptr);
    for (const Held &h : held)
        if (h.type != QtDebugMsg && h.type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", h.text.toLocal8Bit().constData());
    held.clear();
}
} // namespace startup

// Qt cannot paint at a device pixel ratio below one: at a scale factor of
// 0.5 most of the window stayed unpainted and its text came out too large.
// The window fits itself to the screen whatever the scale, so a scale that
// takes the ratio below one is raised until it is one: the program starts
// again with it, before it has shown anything. Returns only when there is
// nothing to raise (or starting again failed).
static void restartIfScaledBelowOne(const std::vector<QByteArray> &originalArgs)
{
    qreal least = 1;
    for (const QScreen *screen : QGuiApplication::screens())
        least = std::min(least, screen->devicePixelRatio());
    if (least >= 1 || least <= 0 || qEnvironmentVariableIsSet("SOREMUKA_SCALE_RAISED"))
        return;
    bool ok = false;
    double global = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok || global <= 0)
        global = 1;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(global / least, 'g', 8));
    qputenv("SOREMUKA_SCALE_RAISED", "1");
    std::vector<char *> argv;
    for (const QByteArray &a : originalArgs)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    ::execv("/proc/self/exe", argv.data());
}

int main(int argc, char **argv)
{
    const std::vector<QByteArray> originalArgs(argv, argv + argc);
    QStringList args; // without the program's own path
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (options::wantsHelp(args)) {
        const QString text = options::usageText({programFolderOf(argv[0]), places::machineNameFile()});
        std::fputs(text.toUtf8().constData(), stdout);
        return 0;
    }
    if (options::wantsListing(args)) {
        // A listing takes its own options only: anything else is a mistake
        // worth saying, not something to pass over in silence.
        if (const options::WindowArgs listing = options::readArgs(args, options::Listing); !listing.error.isEmpty()) {
            std::fprintf(stderr, "soremuka: %s (soremuka --help lists the options)\n",
                         listing.error.toLocal8Bit().constData());
            return 2;
        }
    }
    {
        QTextStream out(stdout), err(stderr);
        bool handled = false;
        const int rc = runTeacherListing(QStringList{QString::fromLocal8Bit(argv[0])} + args, out, err, handled);
        if (handled)
            return rc;
    }
    if (const int rc = worksheet::runWorksheetCommand(argc, argv); rc >= 0)
        return rc;
    if (const int rc = report::runReportCommand(argc, argv); rc >= 0)
        return rc;
    const places::StartOptions start = places::parseStartOptions(QStringList{QString::fromLocal8Bit(argv[0])} + args);
    if (!start.error.isEmpty()) {
        std::fprintf(stderr, "soremuka: %s\n", qPrintable(start.error));
        return 2;
    }
    if (start.printPaths)
        return printPaths(argc, argv, start);

    const options::WindowArgs windowArgs = options::readWindowArgs(args);
    if (!windowArgs.error.isEmpty()) {
        std::fprintf(stderr, "soremuka: %s (soremuka --help lists the options)\n",
                     windowArgs.error.toLocal8Bit().constData());
        return 2;
    }
    if (const QString why = missingDisplay(args); !why.isEmpty()) {
        std::fprintf(stderr, "soremuka: %s\n", why.toLocal8Bit().constData());
        return 2;
    }

    qInstallMessageHandler(startup::handler);
    QApplication app(argc, argv);
    startup::letThrough();
    restartIfScaledBelowOne(originalArgs);
    app.setApplicationName(QStringLiteral("soremuka"));
    app.setApplicationDisplayName(QStringLiteral("ソレムカゼミ"));
    app.setDesktopFileName(QStringLiteral(SOREMUKA_APP_ID));
    fonts::install();
    // The style keeps a picture of every button and frame it has drawn, at
    // the size drawn: on a large screen a fifth of a megabyte each, some
    // thirty of them, more than the whole kept plane. They are drawn again
    // when they change, which is seldom and quick; only small pieces are
    // kept.
    QPixmapCache::setCacheLimit(64);

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
    const bool allSets = windowArgs.has(QStringLiteral("--all-sets"));
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
