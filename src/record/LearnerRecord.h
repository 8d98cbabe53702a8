#pragma once
// The learner's own record: one file per learner in the results folder,
// plain UTF-8 text with a header line and one tab-separated line per event,
// which a teacher can open in a spreadsheet. Two kinds of event: a finished
// run, and an answer judged. Questions are named by their set's menu item
// and their number in its bank, never copied.
//
//   種類  日時                 セット  モード  点数  正解数  ミス数  秒数  問題番号  判定  答え
//   回    2026-12-08 09:15:30  nagasa  5分     12    12      3       300
//   答    2026-12-08 09:12:01  nagasa  5分                            7         誤    25/4
#include "controls/FileLock.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

namespace record {

enum class Kind { Run, Answer };

// The modes a run can have, as the record writes them.
inline const QString kFiveMinutes = QStringLiteral("5分");
inline const QString kTenMinutes = QStringLiteral("10分");
inline const QString kTenInARow = QStringLiteral("連続10題");
inline const QString kReview = QStringLiteral("復習");

struct Event {
    Kind kind = Kind::Answer;
    QDateTime when; // the wall clock as written, held in UTC (no zone)
    QString set;  // the menu item ("nagasa")
    QString mode; // one of the modes above
    // A run.
    int score = 0, right = 0, misses = 0, seconds = 0;
    // An answer.
    int number = 0; // in its set's bank, from 1
    bool correct = false;
    QString answer; // what was typed, or the point or line drawn
    bool operator==(const Event &) const = default;
};

// The record file of a learner whose name is already safe for a file name.
QString fileNameFor(const QString &safeName);
inline const QString kSuffix = QStringLiteral("きろく.txt");

// The header line, and one event as its line (without the line end). Tabs
// and line ends inside a typed answer become blanks; an answer is cut at
// kAnswerChars characters.
QString headerLine();
QString formatEvent(const Event &event);
constexpr int kAnswerChars = 64;

// The event a line holds; false for the header, an empty line and a damaged
// line (too few fields, an unknown kind, a date that is no date ...).
bool parseEvent(QByteArrayView line, Event &event);

// Adds events at the end of a record file (made with its header, and a
// byte-order mark so that spreadsheets on Japanese desktops read it right,
// when missing), under the same lock and with the same checked, undoable
// append as the results files; never through a link.
plainfile::Status append(const QString &path, const std::vector<Event> &events, plainfile::LockTimes times = {});

// The newest events of a record file, at most `held`, read from its end in
// bounded memory whatever the file's size. Damaged lines are skipped and
// counted.
struct Recent {
    plainfile::Status status; // Missing files read as empty
    std::vector<Event> events; // oldest first
    int damaged = 0;
};
constexpr int kHeldEvents = 100000;
constexpr qint64 kScanBytes = 16 * 1024 * 1024;
Recent readRecent(const QString &path, int held = kHeldEvents);

// The same events handed one at a time, oldest first, none of them kept:
// what a reader needs that sums them up (a few more than `held` where the
// file has damaged lines among them). Returns what readRecent does but its
// events.
Recent forEachRecent(const QString &path, const std::function<void(const Event &)> &take, int held = kHeldEvents);

} // namespace record
