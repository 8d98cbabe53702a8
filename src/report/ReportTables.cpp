#include "report/ReportTables.h"

#include "app/SetTable.h"

#include <algorithm>
#include <map>

namespace report {

namespace {

int familyPosition(const QString &family)
{
    if (family == kReviews)
        return 10000;
    const qsizetype at = knownFamilies().indexOf(family);
    return at < 0 ? 1000 : int(at);
}

} // namespace

void Summary::add(const Run &run)
{
    best = runs == 0 ? run.score : std::max(best, run.score);
    ++runs;
    last = run.score;
    lastDate = run.date;
    scores.push_back(run.score);
    if (run.right >= 0) {
        counted = true;
        right += run.right;
        misses += run.misses;
    }
}

int menuPosition(const QString &item)
{
    const std::vector<SetInfo> &table = setTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].item == item)
            return int(i);
    return int(table.size());
}

QStringList familiesOf(const ClassData &data)
{
    QStringList out;
    for (const Learner &l : data.learners)
        for (const Run &r : l.runs)
            if (!out.contains(r.family))
                out << r.family;
    std::stable_sort(out.begin(), out.end(), [](const QString &a, const QString &b) {
        const int pa = familyPosition(a), pb = familyPosition(b);
        return pa != pb ? pa < pb : a < b;
    });
    return out;
}

Overview overviewOf(const ClassData &data)
{
    Overview o;
    o.families = familiesOf(data);
    const size_t columns = size_t(o.families.size());
    o.familyTotals.resize(columns);
    for (const Learner &l : data.learners) {
        std::vector<Summary> row(columns);
        Summary total;
        for (const Run &r : l.runs) {
            const size_t c = size_t(o.families.indexOf(r.family));
            row[c].add(r);
            total.add(r);
        }
        for (size_t c = 0; c < columns; ++c) {
            if (row[c].runs == 0)
                continue;
            Summary &t = o.familyTotals[c];
            ++t.learners;
            t.best = t.runs == 0 ? row[c].best : std::max(t.best, row[c].best);
            t.runs += row[c].runs;
            t.right += row[c].right;
            t.misses += row[c].misses;
            t.counted = t.counted || row[c].counted;
        }
        if (total.runs > 0) {
            o.total.learners += 1;
            o.total.runs += total.runs;
            o.total.right += total.right;
            o.total.misses += total.misses;
            o.total.counted = o.total.counted || total.counted;
        }
        total.learners = total.runs > 0 ? 1 : 0;
        o.cells.push_back(std::move(row));
        o.learnerTotals.push_back(std::move(total));
    }
    return o;
}

std::vector<SetRow> setRowsOf(const ClassData &data)
{
    std::vector<SetRow> out;
    for (size_t i = 0; i < data.learners.size(); ++i) {
        const Learner &l = data.learners[i];
        // Keyed by family, set position and name: the menu's order, sets the
        // program does not know after the known ones of their family.
        std::map<std::tuple<int, int, QString>, SetRow> rows;
        for (const Run &r : l.runs) {
            const int position = r.item.isEmpty() ? 1000 : menuPosition(r.item);
            SetRow &row = rows[{familyPosition(r.family), position, r.family + u'\t' + r.setName}];
            row.learner = int(i);
            row.family = r.family;
            row.item = r.item;
            row.setName = r.setName;
            row.summary.add(r);
        }
        if (rows.empty()) {
            SetRow none;
            none.learner = int(i);
            out.push_back(std::move(none));
        }
        for (auto &[key, row] : rows)
            out.push_back(std::move(row));
    }
    return out;
}

std::vector<QuestionRow> questionRowsOf(const ClassData &data)
{
    std::map<QuestionKey, QuestionRow> rows;
    for (const Learner &l : data.learners)
        for (const auto &[key, tally] : l.questions) {
            QuestionRow &row = rows[key];
            row.key = key;
            row.answers += tally.answers;
            row.misses += tally.misses;
            row.learners += tally.misses > 0 ? 1 : 0;
        }
    std::vector<QuestionRow> out;
    for (auto &[key, row] : rows)
        out.push_back(row);
    std::stable_sort(out.begin(), out.end(), [](const QuestionRow &a, const QuestionRow &b) {
        const int pa = menuPosition(a.key.item), pb = menuPosition(b.key.item);
        if (pa != pb || a.key.item != b.key.item)
            return pa != pb ? pa < pb : a.key.item < b.key.item;
        if (a.learners != b.learners)
            return a.learners > b.learners;
        if (a.misses != b.misses)
            return a.misses > b.misses;
        return a.key.number < b.key.number;
    });
    return out;
}

std::vector<QuestionRow> missedBy(const Learner &learner, int count)
{
    std::vector<QuestionRow> out;
    for (const auto &[key, tally] : learner.questions)
        if (tally.misses > 0)
            out.push_back({key, 1, tally.misses, tally.answers});
    std::stable_sort(out.begin(), out.end(), [](const QuestionRow &a, const QuestionRow &b) {
        if (a.misses != b.misses)
            return a.misses > b.misses;
        const int pa = menuPosition(a.key.item), pb = menuPosition(b.key.item);
        return pa != pb ? pa < pb : a.key < b.key;
    });
    if (int(out.size()) > count)
        out.resize(size_t(count));
    return out;
}

} // namespace report
