#include "record/Review.h"

#include <algorithm>
#include <map>

namespace record {

void Schedule::add(const Event &e)
{
    if (e.kind != Kind::Answer)
        return;
    const QDate day = e.when.date();
    const auto key = std::make_pair(e.set, e.number);
    if (!e.correct) {
        State &s = states_[key];
        s = State{};
        s.due = day.addDays(1);
        s.lastMiss = day;
        s.answer = e.answer;
        return;
    }
    const auto it = states_.find(key);
    if (e.mode != kReview || it == states_.end() || it->second.done)
        return;
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

Progress progressOf(const std::vector<Event> &events, const QDate &today)
{
    Schedule s;
    for (const Event &e : events)
        s.add(e);
    return s.progress(today);
}

Progress Schedule::progress(const QDate &today) const
{
    Progress p;
    for (const auto &[key, s] : states_) {
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
