#include "program/Options.h"

#include <QSet>

namespace options {

namespace {

// Qt's own options, as its application object reads them: the platform and
// its window system, styles, a window's place and title.
const QSet<QString> &qtOptionsWithValue()
{
    static const QSet<QString> names = {
        u"-platform"_qs, u"-platformpluginpath"_qs, u"-platformtheme"_qs, u"-plugin"_qs,
        u"-qwindowgeometry"_qs, u"-qwindowicon"_qs, u"-qwindowtitle"_qs, u"-session"_qs,
        u"-display"_qs, u"-geometry"_qs, u"-style"_qs, u"-stylesheet"_qs, u"-title"_qs,
        u"-name"_qs, u"-visual"_qs, u"-ncols"_qs, u"-qmljsdebugger"_qs};
    return names;
}

const QSet<QString> &qtSwitches()
{
    static const QSet<QString> names = {u"-reverse"_qs, u"-widgetcount"_qs, u"-dograb"_qs, u"-nograb"_qs,
                                        u"-sync"_qs, u"-cmap"_qs};
    return names;
}

// Qt takes its options with one dash or two.
QString qtName(const QString &arg)
{
    QString name = arg.section(u'=', 0, 0);
    if (name.startsWith(u"--"))
        name.remove(0, 1);
    return name;
}

// The option's form, then what it does in a column of its own (on the next
// line when the form is too long for the column).
QString padded(const QString &text, int width)
{
    if (text.size() + 2 > width)
        return text + u'\n' + QString(width, u' ');
    return text + QString(width - text.size(), u' ');
}

} // namespace

const std::vector<Row> &rows()
{
    static const std::vector<Row> table = {
        {u"--all-sets"_qs, {}, u"also offer the sets that are disabled by design (the second-year sets)"_qs,
         Window | Listing | Worksheet, false},
        {u"--folder"_qs, u"DIR"_qs, u"keep the results in DIR (made when missing) instead of the current folder"_qs,
         Window, false},
        {u"--learner-folder"_qs, {}, u"keep them in the learner's own folder, Documents/ソレムカゼミ, unless the "
                                     u"roster's [general] folder= names a shared one (the menu entry's choice)"_qs,
         Window, false},
        {u"--paths"_qs, {}, u"print where the program finds its files and keeps the results (no window)"_qs, Window,
         false},
        {u"--list-sets"_qs, {}, u"list the problem sets: item, caption, count, results file (no window)"_qs, Listing, false},
        {u"--print-bank"_qs, u"ITEM"_qs, u"print every question of a set with its answer (no window)"_qs, Listing, false},
        {u"--worksheet"_qs, u"ITEM -o FILE.pdf|FILE.png"_qs,
         u"write a printable worksheet of a set, or one page of it as a picture (no window)"_qs, Worksheet, false},
        {u"--answers"_qs, {}, u"add the answer key"_qs, Worksheet, true},
        {u"--order"_qs, u"bank|shuffled"_qs, u"the bank's order (the default) or the program's draw order"_qs, Worksheet, true},
        {u"--columns"_qs, u"2|3"_qs, u"questions in a row (default 3)"_qs, Worksheet, true},
        {u"--page"_qs, u"N"_qs, u"the page a .png shows (default 1)"_qs, Worksheet, true},
        {u"--variant"_qs, u"SEED"_qs, u"the set in new numbers from SEED (its key and footer name the seed)"_qs,
         Listing | Worksheet, true},
        {u"--variant-seed"_qs, u"ITEM NAME YYYY/MM/DD"_qs,
         u"print the seed of the new numbers a learner is asked that day (no window)"_qs, 0, false},
        {u"--report"_qs, u"FOLDER... -o FILE.pdf|FILE.csv|FILE.png"_qs,
         u"the class overview of results folders: each learner's runs and the questions missed most "
         u"(no window)"_qs,
         Report, false},
        {u"--from"_qs, u"YYYY-MM-DD"_qs, u"only what was done from that day on"_qs, Report, true},
        {u"--to"_qs, u"YYYY-MM-DD"_qs, u"only what was done up to that day"_qs, Report, true},
        {u"--set"_qs, u"ITEM"_qs, u"only that set"_qs, Report, true},
        {u"-h, --help"_qs, {}, u"print this text and exit"_qs, Window | Listing | Worksheet, false},
    };
    return table;
}

QString usageText(const Places &places)
{
    QString t;
    t += u"usage: soremuka [--all-sets] [--folder DIR | --learner-folder]   open the window\n"_qs
         u"       soremuka --list-sets | --print-bank ITEM | --worksheet ITEM ... -o FILE\n"_qs
         u"       soremuka --report FOLDER... -o FILE.pdf|FILE.csv|FILE.png\n"_qs
         u"\n"_qs
         u"ソレムカゼミ (Soremuka): a drill program for junior-high-school mathematics.\n"_qs
         u"\n"_qs
         u"Options:\n"_qs;
    for (const Row &r : rows()) {
        const QString form = (r.sub ? u"    "_qs : u"  "_qs) + r.option + (r.value.isEmpty() ? QString() : u' ' + r.value);
        t += padded(form, 26) + r.what + u'\n';
    }
    t += u"  Qt's own options are taken too: -platform NAME, -display NAME, -geometry WxH+X+Y,\n"_qs
         u"  -style NAME, -reverse and the others of Qt's documentation.\n"_qs
         u"\n"_qs
         u"Files:\n"_qs
         u"  The results folder (--folder, the roster's [general] folder=, or the folder the\n"_qs
         u"  program is started in) keeps one file per family of sets (座標問題.txt,\n"_qs
         u"  長さ面積.txt, ...), one streak file per learner (<name>renzoku.txt), each\n"_qs
         u"  learner's own record of answers and runs (<name>きろく.txt), <file>.lock while\n"_qs
         u"  a file is saved, and <file>.<machine>.<yyyymmdd>.txt for a record the results\n"_qs
         u"  file could not take.\n"_qs;
    t += u"  Beside the program ("_qs + places.programFolder + u"), or in share/soremuka of an\n"_qs
         u"  installed program: roster.ini (which learner uses which machine when; a site's\n"_qs
         u"  own in /etc/soremuka), Maru.wav and SD05.wav.\n"_qs;
    t += u"  The machine's name: the first line of "_qs + places.machineNameFile + u".\n"_qs
         u"\n"_qs
         u"From the source (Debian bookworm, as root or with sudo):\n"_qs
         u"  make run     installs what is missing, builds, starts the program in ./run\n"_qs
         u"  make test    installs what is missing, builds, runs every test\n"_qs
         u"\n"_qs
         u"Exit status: 0 done; 1 faulty built-in question data, or no Japanese font for a\n"_qs
         u"worksheet; 2 a wrong command line, an output that cannot be written, or no\n"_qs
         u"display to open the window on.\n"_qs;
    return t;
}

bool wantsHelp(const QStringList &args)
{
    for (const QString &a : args)
        if (a == u"-h" || a == u"--help")
            return true;
    return false;
}

bool wantsListing(const QStringList &args)
{
    for (const QString &a : args)
        if (a == u"--list-sets" || a == u"--print-bank" || a.startsWith(u"--print-bank="))
            return true;
    return false;
}

WindowArgs readArgs(const QStringList &args, Command command)
{
    WindowArgs out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const QString name = arg.section(u'=', 0, 0);
        bool known = false;
        for (const Row &r : rows()) {
            if (!(r.commands & command) || r.option != name)
                continue;
            known = true;
            if (r.value.isEmpty()) {
                if (name != arg)
                    out.error = u"the option "_qs + name + u" takes no value"_qs;
                else
                    out.switches << name;
            } else if (name != arg) {
                out.values[name] = arg.mid(name.size() + 1);
            } else if (i + 1 < args.size()) {
                out.values[name] = args[++i];
            } else if (command != Listing) {
                // (A listing says itself what it needs, with the names it
                // takes.)
                out.error = u"the option "_qs + name + u" needs "_qs + r.value;
            }
            break;
        }
        if (known) {
            if (!out.error.isEmpty())
                return out;
            continue;
        }
        const QString qt = qtName(arg);
        if (command == Window && qtSwitches().contains(qt))
            continue;
        if (command == Window && qtOptionsWithValue().contains(qt)) {
            if (!arg.contains(u'=') && ++i >= args.size()) {
                out.error = u"the option "_qs + arg + u" needs a value"_qs;
                return out;
            }
            continue;
        }
        out.error = arg.startsWith(u'-') ? u"unknown option "_qs + arg : u"unexpected argument "_qs + arg;
        return out;
    }
    return out;
}

QString qtOption(const QStringList &args, const QString &name)
{
    QString value;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (qtName(args[i]) != name)
            continue;
        if (args[i].contains(u'='))
            value = args[i].section(u'=', 1);
        else if (i + 1 < args.size())
            value = args[++i];
    }
    return value;
}

} // namespace options
