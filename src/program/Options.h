#pragma once
// The program's command line: the text `soremuka --help` prints and the
// reading of the window's own options. Every option is one row of one
// table, so an option added there is listed by --help and, when the window
// takes it, accepted with it.
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace options {

// The ways the program runs: the window, the teacher's listings
// (--list-sets, --print-bank), the worksheet and the class report.
enum Command { Window = 1, Listing = 2, Worksheet = 4, Report = 8 };

struct Row {
    QString option; // "--all-sets"; "-h, --help" for an option with two spellings
    QString value;  // what follows it ("ITEM"), empty for a switch
    QString what;   // one line on what it does
    int commands;   // the Commands that take it
    bool sub;       // belongs to the command of the row before it
};

// Every option, in the order --help lists them.
const std::vector<Row> &rows();

// Where the program keeps and finds its files, for the usage text.
struct Places {
    QString programFolder;   // sounds and roster beside the program
    QString machineNameFile; // first line: the machine's name
};

// The whole text of --help: every option, Qt's own, where files go, the two
// commands that build and test the program from its source, the exit codes.
QString usageText(const Places &places);

// True when the command line asks for the usage (-h or --help anywhere).
bool wantsHelp(const QStringList &args);

// The command line (without the program's path) of one command: the
// options the table gives it, and for the window also Qt's own
// (-platform NAME, -display NAME, -style NAME, ...), which are left to Qt.
// Anything else is an error, reported in `error`.
struct WindowArgs {
    QStringList switches;                  // the switches given, as in the table
    std::map<QString, QString> values;     // option -> value, for options with one
    QString error;
    bool has(const QString &option) const { return switches.contains(option) || values.count(option); }
};
WindowArgs readArgs(const QStringList &args, Command command);
inline WindowArgs readWindowArgs(const QStringList &args) { return readArgs(args, Window); }

// True when the command line asks for a listing.
bool wantsListing(const QStringList &args);

// The value of one of Qt's options ("-platform"), given with one dash or
// two, before its value or joined to it by "="; empty when not given.
QString qtOption(const QStringList &args, const QString &name);

} // namespace options
