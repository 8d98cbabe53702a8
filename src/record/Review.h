#pragma once
// Which missed questions are due for review, from a learner's record:
// a question missed is due from the next day; answered right in a review it
// is due again three days later; answered right in reviews on two different
// days it is done. A new miss starts it again.
#include "record/LearnerRecord.h"

#include <QDate>

#include <vector>

namespace record {

struct Question {
    QString set;
    int number = 0;
    bool operator==(const Question &) const = default;
};

struct Due {
    Question question;
    QDate due;       // due from this day on
    QDate lastMiss;  // the day of its latest miss
    QString answer;  // what was answered at that miss
};

// Where each question missed stands on a day.
struct Progress {
    std::vector<Due> due;     // due now, the longest due first
    std::vector<Due> waiting; // missed, not done, due later
    int done = 0;             // reviewed right on two days since their last miss
};
Progress progressOf(const std::vector<Event> &events, const QDate &today);

// The questions of one review: at most `count`, the longest due first, mixed
// across sets so that no two from one set follow each other while another
// set has a question due.
constexpr int kReviewLength = 10;
std::vector<Question> reviewOrder(const std::vector<Due> &due, int count = kReviewLength);

} // namespace record
