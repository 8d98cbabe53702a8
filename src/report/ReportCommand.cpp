#include "report/ReportCommand.h"

#include "app/SetTable.h"
#include "report/ReportCsv.h"
#include "report/ReportPages.h"
#include "ui/Fonts.h"
#include "ui/QtTextMetrics.h"
#include "worksheet/WorksheetCommand.h"
#include "worksheet/WorksheetOutput.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>

#include <cstdio>

namespace report {

namespace {

constexpr double kPngDpi = 150; // as the worksheets: A4 at 1240 x 1754

const char *kUsage =
    "usage: soremuka --report FOLDER... -o FILE.pdf|FILE.csv|FILE.png\n"
    "                [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--set ITEM] [--page N]\n";

using worksheet::optionValue;

bool readDate(const QString &name, const QString &text, QDate &out, QString &error)
{
    // Exactly YYYY-MM-DD: "2026-9-1" or a day that does not exist is refused
    // rather than guessed.
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    out = form.match(text).hasMatch() ? QDate::fromString(text, Qt::ISODate) : QDate();
    if (!out.isValid())
        error = name + u" takes a date as YYYY-MM-DD, not \""_qs + text + u'"';
    return out.isValid();
}

QString validItems()
{
    QStringList names;
    for (const SetInfo &s : setTable())
        names << s.item;
    return names.join(u", "_qs);
}

bool readOption(const QStringList &args, qsizetype &i, Request &r, QString &error)
{
    const QString &arg = args[i];
    const QString name = arg.section(u'=', 0, 0);
    QString v;
    if (!arg.startsWith(u'-')) {
        r.folders << arg; // the folders follow --report
    } else if (arg == u"--all-sets") {
        // every set is read anyway
    } else if (name == u"--report") {
        if (arg.contains(u'=')) {
            r.folders << arg.mid(name.size() + 1);
        }
    } else if (name == u"-o" || name == u"--output") {
        return optionValue(args, i, name, r.output, error);
    } else if (name == u"--from" || name == u"--to") {
        if (!optionValue(args, i, name, v, error))
            return false;
        return readDate(name, v, name == u"--from" ? r.from : r.to, error);
    } else if (name == u"--set") {
        if (!optionValue(args, i, name, r.item, error))
            return false;
        if (!findSet(r.item)) {
            error = u"unknown set \""_qs + r.item + u"\"\nvalid items: "_qs + validItems();
            return false;
        }
    } else if (name == u"--page") {
        if (!optionValue(args, i, name, v, error))
            return false;
        bool ok = false;
        r.page = v.toInt(&ok);
        if (!ok || r.page < 1 || r.page > 99999) {
            error = u"--page takes a page number from 1, not \""_qs + v + u'"';
            return false;
        }
    } else {
        error = u"unknown option \""_qs + arg + u'"';
        return false;
    }
    return true;
}

// Text of a question for the spreadsheet: its words, without figure data.
QString questionText(QuestionBook &book, const QuestionKey &key)
{
    const worksheet::Entry *e = book.entry(key);
    return e ? e->question : QString();
}

int write(const Request &r, const ClassData &data, const QDate &today, QTextStream &err)
{
    QtTextMetrics metrics;
    QuestionBook book(metrics);
    QString error;
    if (r.csv()) {
        const TitleOf title = [&book](const QString &item) { return book.title(item); };
        const QByteArray learners = learnersCsv(data, title);
        const QByteArray questions =
            questionsCsv(data, title, [&book](const QuestionKey &k) { return questionText(book, k); });
        // The questions first: a learners' file is never left without the
        // questions' file it was made with.
        if (!worksheet::writeFile(questionsCsvPath(r.output), questions, error)
            || !worksheet::writeFile(r.output, learners, error)) {
            err << "soremuka: " << error << '\n';
            return 2;
        }
        return 0;
    }
    QStringList folders;
    for (const QString &f : r.folders)
        folders << QFileInfo(f).absoluteFilePath();
    const ReportLayout layout(data, book, today, folders);
    if (r.png()) {
        const int page = r.page > 0 ? r.page : 1;
        if (page > layout.pageCount()) {
            err << "soremuka: --page " << page << ": the report has " << layout.pageCount() << " pages\n";
            return 2;
        }
        if (!worksheet::writePng(layout.pages(), page - 1, kPngDpi, r.output, error)) {
            err << "soremuka: " << error << '\n';
            return 2;
        }
        return 0;
    }
    if (!worksheet::writePdf(layout.pages(), u"ソレムカゼミ クラスの記録"_qs, r.output, error)) {
        err << "soremuka: " << error << '\n';
        return 2;
    }
    return 0;
}

} // namespace

bool wantsReport(const QStringList &args)
{
    for (const QString &a : args)
        if (a == u"--report" || a.startsWith(u"--report="))
            return true;
    return false;
}

bool parseRequest(const QStringList &args, Request &r, QString &error)
{
    const qsizetype start = !args.isEmpty() && !args[0].startsWith(u'-') ? 1 : 0;
    for (qsizetype i = start; i < args.size(); ++i)
        if (!readOption(args, i, r, error))
            return false;
    if (r.folders.isEmpty())
        error = u"--report needs at least one results folder"_qs;
    else if (r.output.isEmpty())
        error = u"no output file: give -o FILE.pdf, -o FILE.csv or -o FILE.png"_qs;
    else if (!r.png() && !r.csv() && !r.pdf())
        error = u"the output must be a .pdf, .csv or .png file, not \""_qs + r.output + u'"';
    else if (r.page > 0 && !r.png())
        error = u"--page chooses the page of a .png; a .pdf holds every page"_qs;
    else if (r.from.isValid() && r.to.isValid() && r.from > r.to)
        error = u"--from "_qs + r.from.toString(Qt::ISODate) + u" is after --to "_qs + r.to.toString(Qt::ISODate);
    return error.isEmpty();
}

int runReport(const Request &r, const QDate &today, QTextStream &err)
{
    const ClassData data = readClass(r.folders, Filter{r.from, r.to, r.item}, today);
    for (const Note &n : data.notes)
        err << "soremuka: " << explain(n) << '\n';
    bool any = false;
    for (const Learner &l : data.learners)
        any = any || !l.runs.empty() || !l.questions.empty();
    if (!any) {
        err << "soremuka: nothing to report: ";
        if (data.learners.empty())
            err << "no learner's record (<name>きろく.txt) and no results file (座標問題.txt ...) in "
                << r.folders.join(u", "_qs);
        else
            err << data.learners.size() << " learners found, but no run or answer"
                << (r.from.isValid() || r.to.isValid() ? " in the period" : "")
                << (r.item.isEmpty() ? "" : " of the set");
        err << "\nno file was written\n";
        return 2;
    }
    err.flush();
    return write(r, data, today, err);
}

int runReportCommand(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (!wantsReport(args))
        return -1;
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    Request request;
    QString error;
    if (!parseRequest(args, request, error)) {
        err << "soremuka: " << error << '\n' << kUsage;
        return 2;
    }
    settleLocalTime();
    return worksheet::runHeadless(argv, [&] { return runReport(request, QDate::currentDate(), err); });
}

} // namespace report
