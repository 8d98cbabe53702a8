#include "record/Review.h"

#include <algorithm>
#include <map>

namespace record {

namespace {

struct State {
    QDate due, lastMiss, lastReviewRight;
    QString answer;
    int reviewDays = 0;
    bool done = false;
};

} // namespace

Progress progressOf(const std::vector<Event> &events, const QDate &today)
{
    std::map<std::pair<QString, int>, State> states;
    for (const Event &e : events) {
        if (e.kind != Kind::Answer)
            continue;
        const QDate day = e.when.date();
        const auto key = std::make_pair(e.set, e.number);
        if (!e.correct) {
            State &s = states[key];
            s = State{};
            s.due = day.addDays(1);
            s.lastMiss = day;
            s.answer = e.answer;
            continue;
        }
        const auto it = states.find(key);
        if (e.mode != kReview || it == states.end() || it->second.done)
            continue;
        State &s = it->second;
        if (s.lastReviewRight != day) {
            s.lastReviewRight = day;
            ++s.reviewDays;
        }
        if (s.reviewDays >= 2)
            s.done = true;
        else
            s.due = day.addDays(3);
    }
    Progress p;
    for (const auto &[key, s] : states) {
        if (s.done) {
            ++p.done;
            continue;
        }
        Due d{{key.first, key.second}, s.due, s.lastMiss, s.answer};
        (s.due <= today ? p.due : p.waiting).push_back(std::move(d));
    }
    const auto byDue = [](const Due &a, const Due &b) {
        return std::tie(a.due, a.question.set, a.question.number) < std::tie(b.due, b.question.set, b.question.number);
    };
    std::sort(p.due.begin(), p.due.end(), byDue);
    std::sort(p.waiting.begin(), p.waiting.end(), byDue);
    return p;
}

std::vector<Question> reviewOrder(const std::vector<Due> &due, int count)
{
    std::vector<Due> left = due;
    std::vector<Question> out;
    while (int(out.size()) < count && !left.empty()) {
        auto next = left.begin();
        if (!out.empty()) {
            const auto other = std::find_if(left.begin(), left.end(),
                                            [&](const Due &d) { return d.question.set != out.back().set; });
            if (other != left.end())
                next = other;
        }
        out.push_back(next->question);
        left.erase(next);
    }
    return out;
}

} // namespace record
