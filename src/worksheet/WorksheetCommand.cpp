#include "worksheet/WorksheetCommand.h"

#include "ui/Fonts.h"
#include "ui/QtTextMetrics.h"
#include "variants/VariantBank.h"
#include "worksheet/WorksheetOutput.h"

#include <QGuiApplication>

#include <cstdio>

namespace worksheet {

namespace {

constexpr double kPngDpi = 150; // a page as a picture: A4 at 1240 x 1754

const char *kUsage =
    "usage: soremuka --worksheet ITEM [--answers] [--order bank|shuffled] [--columns 2|3] [--variant SEED] -o FILE.pdf\n"
    "       soremuka --worksheet ITEM [--answers] [--order bank|shuffled] [--columns 2|3] [--variant SEED] [--page N]"
    " -o FILE.png\n";

bool readNumber(const QString &text, int low, int high, int &out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = v;
    return true;
}

bool readOption(const QStringList &args, qsizetype &i, Request &r, QString &error)
{
    const QString &arg = args[i];
    const QString name = arg.section(u'=', 0, 0);
    QString v;
    if (arg == u"--answers")
        r.answers = true;
    else if (arg == u"--all-sets")
        ; // every set is offered to the worksheet anyway
    else if (name == u"--worksheet")
        return optionValue(args, i, name, r.item, error);
    else if (name == u"-o" || name == u"--output")
        return optionValue(args, i, name, r.output, error);
    else if (name == u"--order") {
        if (!optionValue(args, i, name, v, error))
            return false;
        if (v != u"bank" && v != u"shuffled") {
            error = u"--order takes bank or shuffled, not \""_qs + v + u'"';
            return false;
        }
        r.order = v == u"bank" ? Order::Bank : Order::Shuffled;
    } else if (name == u"--columns") {
        if (!optionValue(args, i, name, v, error))
            return false;
        if (!readNumber(v, 2, 3, r.columns)) {
            error = u"--columns takes 2 or 3, not \""_qs + v + u'"';
            return false;
        }
    } else if (name == u"--variant") {
        if (!optionValue(args, i, name, v, error))
            return false;
        r.variant = variants::readSeed(v);
        if (!r.variant) {
            error = u"--variant takes a seed, a whole number from 0 to 4294967295, not \""_qs + v + u'"';
            return false;
        }
    } else if (name == u"--page") {
        if (!optionValue(args, i, name, v, error))
            return false;
        if (!readNumber(v, 1, 9999, r.page)) {
            error = u"--page takes a page number from 1, not \""_qs + v + u'"';
            return false;
        }
    } else {
        error = u"unknown option \""_qs + arg + u'"';
        return false;
    }
    return true;
}

} // namespace

bool wantsWorksheet(const QStringList &args)
{
    for (const QString &a : args)
        if (a == u"--worksheet" || a.startsWith(u"--worksheet="))
            return true;
    return false;
}

bool parseRequest(const QStringList &args, Request &r, QString &error)
{
    // The program's own path, when given, is not an option.
    const qsizetype start = !args.isEmpty() && !args[0].startsWith(u'-') ? 1 : 0;
    for (qsizetype i = start; i < args.size(); ++i)
        if (!readOption(args, i, r, error))
            return false;
    if (r.item.isEmpty())
        error = u"--worksheet needs an item name"_qs;
    else if (r.output.isEmpty())
        error = u"no output file: give -o FILE.pdf or -o FILE.png"_qs;
    else if (!r.png() && !r.output.endsWith(u".pdf"_qs, Qt::CaseInsensitive))
        error = u"the output must be a .pdf or a .png file, not \""_qs + r.output + u'"';
    else if (r.page > 0 && !r.png())
        error = u"--page chooses the page of a .png; a .pdf holds every page"_qs;
    return error.isEmpty();
}

int runWorksheet(const Request &r, QTextStream &err)
{
    QtTextMetrics metrics;
    try {
        const Sheet sheet = collectSheet(r.item, r.order, metrics, r.variant);
        const SheetLayout layout(sheet, SheetOptions{r.columns, r.answers});
        QString error;
        bool written = false;
        if (r.png()) {
            const int page = r.page > 0 ? r.page : 1;
            if (page > layout.pageCount()) {
                err << "soremuka: --page " << page << ": the worksheet has " << layout.pageCount() << " pages\n";
                return 2;
            }
            written = writePng(layout, page - 1, kPngDpi, r.output, error);
        } else {
            written = writePdf(layout, u"ソレムカゼミ "_qs + sheet.title, r.output, error);
        }
        if (!written) {
            err << "soremuka: " << error << '\n';
            return 2;
        }
        return 0;
    } catch (const SheetError &e) {
        err << "soremuka: " << e.message << '\n';
        return e.exitCode;
    }
}

int runWorksheetCommand(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!wantsWorksheet(args))
        return -1;
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    Request request;
    QString error;
    if (!parseRequest(args, request, error)) {
        err << "soremuka: " << error << '\n' << kUsage;
        return 2;
    }
    return runHeadless(argv, [&] { return runWorksheet(request, err); });
}

namespace {

// Qt's notes about the headless platform are not the teacher's business;
// its warnings about real trouble still show.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &msg)
{
    if (type == QtDebugMsg || type == QtInfoMsg || msg.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
}

} // namespace

bool optionValue(const QStringList &args, qsizetype &i, const QString &name, QString &value, QString &error)
{
    const QString &arg = args[i];
    if (arg.startsWith(name + u'=')) {
        value = arg.mid(name.size() + 1);
        return true;
    }
    // "--worksheet -o x.pdf" lacks the item; "-o" is not one.
    if (i + 1 >= args.size() || args[i + 1].startsWith(u'-')) {
        error = name + u" needs a value"_qs;
        return false;
    }
    value = args[++i];
    return true;
}

int runHeadless(char **argv, const std::function<int()> &run)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    if (!fonts::install())
        return 1;
    return run();
}

} // namespace worksheet
