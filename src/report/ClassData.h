#pragma once
// What a class's results folders say about its learners: every finished run
// and every answer judged, per learner, within a period. Only read, never
// written: the folders may be in use by the class at the same time.
//
// A folder is read as the program leaves it. The learners' record files
// (<name>きろく.txt) name the learners of a folder that a class shares; a
// folder without any record file is one learner's, named by the folder. The
// family results files (座標問題.txt …, Shift-JIS ones of earlier
// installations too) add the runs that no record holds: runs of the time
// before records were kept, and runs of learners who have none.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <tuple>
#include <map>
#include <vector>

namespace report {

// What to take from the folders. Invalid dates leave the period open; an
// empty item takes every set.
struct Filter {
    QDate from, to;
    QString item; // a set's menu item ("nagasa")
    bool contains(const QDate &day) const
    {
        return (!from.isValid() || day >= from) && (!to.isValid() || day <= to);
    }
};

// The column a review run is counted in: reviews mix the sets.
inline const QString kReviews = QStringLiteral("復習");

struct Run {
    QDate date;
    QTime time;     // invalid for a run known only from a family file
    QString family; // its family file without ".txt" ("座標問題"), or kReviews
    QString item;   // its set's menu item; empty when the file names no set the program has
    QString setName; // the set as a family file names it ("座標問題1.txt"); empty for a review
    int score = 0;
    int right = -1, misses = -1; // -1: not known (a run known only from a family file)
    bool operator==(const Run &) const = default;
};

struct QuestionKey {
    QString item;
    int number = 0; // in its set's bank, from 1
    bool operator==(const QuestionKey &) const = default;
    bool operator<(const QuestionKey &o) const { return std::tie(item, number) < std::tie(o.item, o.number); }
};

struct Tally {
    int answers = 0, misses = 0;
    bool operator==(const Tally &) const = default;
};

struct Learner {
    QString name;
    // False for the runs of a shared folder that no learner's record holds
    // (its family files from before records were kept): nobody's in particular.
    bool named = true;
    bool hasRecord = false;
    std::vector<Run> runs;                   // in the period, oldest first
    std::map<QuestionKey, Tally> questions;  // answers in the period
    int due = 0, waiting = 0, done = 0;      // review progress on the report's day
};

// Something the report could not read, or read only in part.
struct Note {
    enum Kind {
        Unreadable, // a folder or file that could not be opened or read
        Link,       // a symbolic link: never followed
        NotFolder,  // a given path that is no folder
        TooDeep,    // folders below the search depth
        Foreign,    // named like a results file, but holds none
        Damaged,    // lines skipped (count in lines)
        Cut,        // only the newest part of a huge file was read
        UnknownSet, // record lines naming a set the program does not have
        Shared,     // runs of a shared folder no learner's record holds
    };
    Kind kind = Unreadable;
    QString path;
    int lines = 0;
    int error = 0;  // why it could not be read (an errno); 0: no plain file
};

struct ClassData {
    std::vector<Learner> learners; // by name, the nameless last
    std::vector<Note> notes;
    Filter filter;
    QDate day;                 // progress is reckoned on this day
    QDate firstDay, lastDay;   // of the runs and answers found in the period
    int folders = 0, files = 0; // read
    bool empty() const { return learners.empty(); }
};

// How deep below a given folder the search goes: a school's folder of
// classes of learners' folders, and one more.
constexpr int kSearchDepth = 4;
// At most this many folders are looked into, whatever the tree.
constexpr int kMaxFolders = 20000;
// A record or family file is read from its end up to this many bytes.
constexpr qint64 kReadBytes = 256 * 1024 * 1024;

// Names the local time zone's file in TZ where nothing names it: the C
// library then no longer looks at the file again for every date and time
// read, which made reading a year's records ten times slower. Nothing else
// changes: an unset TZ means that same file.
void settleLocalTime();

// Reads every results folder given (and the folders below them); a path
// that is a results file stands for itself in its folder. The report's day
// is `today`, or the end of the period when that is earlier.
ClassData readClass(const QStringList &paths, const Filter &filter, const QDate &today);

// One line of a family file as a run, without period or set filter: false
// for a line that is no record (the damaged). The date is yymmdd.
bool parseFamilyLine(const QString &line, const QString &family, const QDate &today, Run &run);

// The family of a set's results file: "座標問題2.txt" → "座標問題".
QString familyOf(const QString &resultsFileName);

// The families of the program's sets, in menu order.
const QStringList &knownFamilies();

// The date of a yymmdd text: the year is this century's, or the last's when
// it would lie in the future.
QDate dateOfYymmdd(const QString &digits, const QDate &today);

// Text for a note, in the teacher's words, for the report's last page; and
// the same for standard error, in the words of the program's other messages.
QString describe(const Note &note);
QString explain(const Note &note);

} // namespace report
