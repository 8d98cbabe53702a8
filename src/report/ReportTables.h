#pragma once
// The tables of a class report, made from what the folders hold: the class
// at a glance (learners by families of sets), one line per learner and set,
// and the questions by how many learners missed them.
#include "report/ClassData.h"

#include <vector>

namespace report {

// The runs of one learner (or of the class) in one family or set.
struct Summary {
    int runs = 0;
    int best = 0, last = 0; // scores; meaningful when runs > 0
    QDate lastDate;
    int right = 0, misses = 0; // summed over the runs that count them
    bool counted = false;      // some run counted them (a record's runs do)
    int learners = 0;          // who ran it (totals of a column)
    std::vector<int> scores;   // oldest first
    void add(const Run &run);
};

// The families that have runs in the class, in menu order; reviews last.
QStringList familiesOf(const ClassData &data);

struct Overview {
    QStringList families;                     // the columns
    std::vector<std::vector<Summary>> cells;  // [learner][family]
    std::vector<Summary> learnerTotals;       // one per learner, over every family
    std::vector<Summary> familyTotals;        // one per family, over every learner
    Summary total;
};
Overview overviewOf(const ClassData &data);

// One line per learner and set, sets in menu order; a learner without runs
// has one line with no set.
struct SetRow {
    int learner = 0; // index into the learners
    QString family;
    QString item;    // empty for a set the program does not have, and for reviews
    QString setName; // the set's results file name as the family file has it
    Summary summary;
};
std::vector<SetRow> setRowsOf(const ClassData &data);

struct QuestionRow {
    QuestionKey key;
    int learners = 0; // who missed it at least once
    int misses = 0;
    int answers = 0;
    bool operator==(const QuestionRow &) const = default;
};
// Every question answered in the period, sets in menu order, and in a set
// the most missed first: by learners, then by misses.
std::vector<QuestionRow> questionRowsOf(const ClassData &data);
// The questions a learner missed, the most often first, at most count.
std::vector<QuestionRow> missedBy(const Learner &learner, int count);

// The position of a set's menu item in the menu (unknown items last).
int menuPosition(const QString &item);

} // namespace report
