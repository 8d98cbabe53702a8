#pragma once
// Command-line listings for teachers, printed without opening a window:
//
//   --list-sets         one line per menu item that has a question bank:
//                       item<TAB>caption<TAB>count<TAB>results file
//   --print-bank ITEM   every pair the item's bank routine writes, in bank
//   --print-bank=ITEM   order: N<TAB>question<TAB>answer (no header)
//     --variant SEED    ... of the set's bank in new numbers of that seed
//   --variant-seed ITEM NAME YYYY/MM/DD
//                       the seed of the new numbers that learner meets in
//                       that set on that day (「新しい数で出題」)
//
// Works before any QCoreApplication exists; the bank data is read from the
// program's own resources.
#include <QStringList>
#include <QTextStream>

// Looks for one of the options above in args (the command line, with or
// without the program's own path in front). When none is there, sets handled
// to false and returns 0 without printing anything; the caller goes on to
// start the program. Otherwise sets handled to true, prints the listing on out
// (UTF-8) and any message on err, and returns the exit code:
//   0  listed
//   1  the built-in question data is faulty (the fault is on err)
//   2  unknown or missing item name (err lists the valid names), a seed or
//      date that cannot be read
int runTeacherListing(const QStringList &args, QTextStream &out, QTextStream &err, bool &handled);
