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

struct Row {
    QString option; // "--all-sets"; "-h, --help" for an option with two spellings
    QString value;  // what follows it ("ITEM"), empty for a switch
    QString what;   // one line on what it does
    bool window;    // the window takes it (otherwise it is a command of its own)
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

// The window's command line (without the program's path). Qt's own options
// (-platform NAME, -display NAME, -style NAME, ...) are taken and left to
// Qt. Anything else is an error, reported in `error`.
struct WindowArgs {
    QStringList switches;                  // the switches given, as in the table
    std::map<QString, QString> values;     // option -> value, for options with one
    QString error;
    bool has(const QString &option) const { return switches.contains(option) || values.count(option); }
};
WindowArgs readWindowArgs(const QStringList &args);

// The value of one of Qt's options ("-platform"), given with one dash or
// two, before its value or joined to it by "="; empty when not given.
QString qtOption(const QStringList &args, const QString &name);

} // namespace options
