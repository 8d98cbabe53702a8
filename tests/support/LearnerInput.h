#pragma once
// A stored answer turned into what a learner does to give it: the keys typed
// (a fraction denominator first, as the box wants it) or the presses on the
// plane. Shared by the long-run test and the answer-box fuzz target.
#include <QRegularExpression>
#include <QString>

#include <cstdlib>
#include <utility>
#include <vector>

namespace learner {

// "y=-2/3x+1" is typed y = - 3 / 2 x + 1; text without "/" as it stands.
inline QString asTyped(const QString &answer)
{
    const int slash = answer.indexOf(u'/');
    if (slash < 0)
        return answer;
    int from = slash;
    while (from > 0 && answer[from - 1].isDigit())
        --from;
    int to = slash + 1;
    while (to < answer.size() && answer[to].isDigit())
        ++to;
    return answer.left(from) + answer.mid(slash + 1, to - slash - 1) + u'/'
           + answer.mid(from, slash - from) + answer.mid(to);
}

// The point of "(3,-2)", or two lattice points of "y=p/qx+b" on the plane;
// empty for answers that are neither.
inline std::vector<std::pair<int, int>> asPresses(const QString &answer)
{
    static const QRegularExpression point(QStringLiteral("^\\((-?\\d+),(-?\\d+)\\)$"));
    static const QRegularExpression line(QStringLiteral("^y=(-?)(\\d*)(?:/(\\d+))?x([+-]\\d+)?$"));
    if (const auto m = point.match(answer); m.hasMatch())
        return {{m.captured(1).toInt(), m.captured(2).toInt()}};
    const auto m = line.match(answer);
    if (!m.hasMatch())
        return {};
    const int p = (m.captured(1).isEmpty() ? 1 : -1) * (m.captured(2).isEmpty() ? 1 : m.captured(2).toInt());
    const int q = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
    const int b = m.captured(4).toInt();
    const int x = std::abs(b + p) <= 9 ? q : -q;
    return {{0, b}, {x, b + (x > 0 ? p : -p)}};
}

} // namespace learner
