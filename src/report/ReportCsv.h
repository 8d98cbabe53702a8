#pragma once
// The class report as spreadsheets: UTF-8 with a byte-order mark (so that
// spreadsheet programs on Japanese desktops read it as UTF-8), lines ended
// with CR LF, numbers as bare numbers, dates as YYYY-MM-DD.
//
// The learners' file has one line per learner and set:
//   名前,記録ファイル,項目,セット,回数,正解,ミス,最高点,最後の点,最後の日
// 正解 and ミス are empty for runs known only from a family file (which
// keeps the score alone); a learner without runs has one line with 回数 0.
//
// The questions' file (beside it, "-questions" before ".csv") has one line
// per question answered in the period, the most missed of each set first:
//   項目,セット,番号,問題,間違えた人数,ミス回数,解答回数
#include "report/ReportTables.h"

#include <QByteArray>

#include <functional>

namespace report {

// What a set's menu item is called, and a question's text.
using TitleOf = std::function<QString(const QString &item)>;
using TextOf = std::function<QString(const QuestionKey &key)>;

QByteArray learnersCsv(const ClassData &data, const TitleOf &title);
QByteArray questionsCsv(const ClassData &data, const TitleOf &title, const TextOf &text);

// "class.csv" → "class-questions.csv".
QString questionsCsvPath(const QString &path);

// One field as it goes into a line: quoted when it holds a comma, a quote
// or a line end; a text that a spreadsheet would take for a formula gets a
// leading apostrophe.
QString csvField(const QString &text);

// The lines of a CSV text split into fields (quotes undone), for reading
// back what was written.
std::vector<QStringList> parseCsv(const QByteArray &bytes);

} // namespace report
