// soremuka-drive [--all-sets] [--zoom Z] SCRIPT
// The headless driver: runs a script of events against the program on the
// offscreen platform and writes pictures and JSON dumps. "goto N" is the
// driver's own command (not a learner's action): it shows any question.
#include "Driver.h"

#include "ui/Fonts.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

// Qt's notes about the headless platform are not the driver's business.
static void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    // The headless platform cannot raise a menu or give it the keyboard;
    // the menu works all the same.
    if (msg.contains(QLatin1String("propagateSizeHints")) || msg.contains(QLatin1String("XDG_RUNTIME_DIR"))
        || msg.contains(QLatin1String("does not support raise")) || msg.contains(QLatin1String("grabbing the keyboard")))
        return;
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

static void usage()
{
    std::fputs(
        "usage: soremuka-drive [--all-sets] [--zoom Z] SCRIPT\n"
        "Script commands, one a line (# starts a comment):\n"
        "  clock SECONDS | date YYYY/MM/DD | random V1 V2 ... | folder PATH | machine NAME\n"
        "  roster PATH | start | menu ITEM | click CONTROL | key K ... | type TEXT\n"
        "    (key names: Enter Backspace Space Escape Left Right Up Down F10 Alt; F10\n"
        "     and Alt open the menu bar, and while a menu is open every key goes to\n"
        "     it; the arrows, Space and Enter reach the plane's cursor where the plane\n"
        "     takes the answer, Space and Escape go on after a miss)\n"
        "  down X Y | move X Y | up X Y | tap X Y | tick | advance SECONDS\n"
        "  goto N   (driver only, not a learner's action: show question N of the draw order)\n"
        "  shot window|PictureN FILE.png | dump FILE.json\n"
        "  answer yes|no   (how the next question the program asks is answered; yes when\n"
        "    none is given: 「やめる」 asks 「この回をやめますか？」)\n"
        "  wallclock SECONDS   (the wall clock stepped, as by a time server: the run's\n"
        "    own clock does not move; clock SECONDS earlier than now is such a step too,\n"
        "    later is time passing, and advance crosses midnight into the next date)\n",
        stderr);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    bool allSets = false;
    double zoom = 1.5;
    QString script;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--all-sets") {
            allSets = true;
        } else if (args[i] == u"--zoom" && i + 1 < args.size()) {
            zoom = args[++i].toDouble();
            if (zoom <= 0 || zoom > 8) {
                usage();
                return 2;
            }
        } else if (args[i] == u"--help" || args[i] == u"-h") {
            usage();
            return 0;
        } else if (script.isEmpty()) {
            script = args[i];
        } else {
            usage();
            return 2;
        }
    }
    if (script.isEmpty()) {
        usage();
        return 2;
    }
    fonts::install();
    Driver driver(allSets, zoom);
    return driver.runScript(script);
}
