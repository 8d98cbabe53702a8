#pragma once
// The teacher's worksheet, written without opening a window:
//
//   soremuka --worksheet ITEM [--answers] [--order bank|shuffled]
//            [--columns 2|3] [--variant SEED] -o FILE.pdf
//   soremuka --worksheet ITEM [...] [--page N] -o FILE.png
//
// A PDF holds every question of the set (and with --answers the key after
// them); a PNG is one page of it as a picture (the first unless --page).
// --variant asks the set in the new numbers of that seed, as
// 「新しい数で出題」 does; every page's foot names the seed.
// Exit codes: 0 written; 2 a wrong command line, an unknown item, a set
// without questions or an output that cannot be written (then no file is
// left); 1 faulty built-in question data or no Japanese font.
#include "worksheet/WorksheetSource.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <functional>
#include <optional>

namespace worksheet {

struct Request {
    QString item;
    QString output;
    bool answers = false;
    Order order = Order::Bank;
    int columns = 3;
    int page = 0; // 1-based page of a PNG; 0 = not given
    std::optional<uint32_t> variant; // the seed of new numbers, when given
    bool png() const { return output.endsWith(u".png"_qs, Qt::CaseInsensitive); }
};

// True when the command line (with or without the program's path in front)
// asks for a worksheet.
bool wantsWorksheet(const QStringList &args);

// Reads the options; on a mistake returns false with the reason in error.
bool parseRequest(const QStringList &args, Request &request, QString &error);

// Makes the sheet and writes it. Needs a QGuiApplication with the program's
// fonts installed. Messages go to err; returns the exit code.
int runWorksheet(const Request &request, QTextStream &err);

// What the commands without a window share (the worksheet, the class
// report): the value of an option given as "--name VALUE" or
// "--name=VALUE", false with the reason when it has none; and running the
// command under an application object on the offscreen platform, so that
// text is measured and painted the same on a server, with Qt's notes
// about that platform kept quiet and the Japanese font installed (1 when
// there is none, else what run returns).
bool optionValue(const QStringList &args, qsizetype &i, const QString &name, QString &value, QString &error);
int runHeadless(char **argv, const std::function<int()> &run);

// The whole command, for main(): returns -1 when argv asks for no worksheet,
// otherwise the exit code. Starts its own application object on the
// offscreen platform, so it needs no display; call it before any other.
int runWorksheetCommand(int argc, char **argv);

} // namespace worksheet
