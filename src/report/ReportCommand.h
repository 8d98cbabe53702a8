#pragma once
// The teacher's class report, made without opening a window:
//
//   soremuka --report FOLDER... -o FILE.pdf|FILE.csv|FILE.png
//            [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--set ITEM] [--page N]
//
// Each FOLDER is a results folder (a class's shared one, or one learner's),
// searched with the folders below it. A PDF holds the whole report, a PNG
// one page of it (the first unless --page), a CSV the learners' numbers per
// set, with the questions' numbers in FILE-questions.csv beside it.
// Anything that cannot be read is named on standard error and on the
// report's last page. Exit codes: 0 written; 2 a wrong command line, no run
// or answer in the folders and period, or an output that cannot be written
// (then no file is left); 1 no Japanese font.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace report {

struct Request {
    QStringList folders;
    QString output;
    QDate from, to;
    QString item; // --set
    int page = 0; // 1-based page of a PNG; 0 = not given
    bool png() const { return output.endsWith(u".png"_qs, Qt::CaseInsensitive); }
    bool csv() const { return output.endsWith(u".csv"_qs, Qt::CaseInsensitive); }
    bool pdf() const { return output.endsWith(u".pdf"_qs, Qt::CaseInsensitive); }
};

// True when the command line (with or without the program's path in front)
// asks for a report.
bool wantsReport(const QStringList &args);

// Reads the options; on a mistake returns false with the reason in error.
bool parseRequest(const QStringList &args, Request &request, QString &error);

// Reads the folders and writes the report, as of the day `today`. Needs a
// QGuiApplication with the program's fonts installed. Messages go to err;
// returns the exit code.
int runReport(const Request &request, const QDate &today, QTextStream &err);

// The whole command, for main(): -1 when argv asks for no report, otherwise
// the exit code. Starts its own application object on the offscreen
// platform, so it needs no display; call it before any other.
int runReportCommand(int argc, char **argv);

} // namespace report
