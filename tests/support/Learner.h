#pragma once
// A learner who knows every answer: reads what the window shows, and answers
// the current question by typing where the answer box is shown, or on the
// plane where the check button is. The keys are the ones a learner presses
// (a fraction denominator first, P for π); the presses are lattice points of
// the answer, with the pointer moving to each before it presses, as on a
// screen. Used by the whole-set tests, in process and through the driver.
#include "form/Form1.h"

#include <QString>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace learner {

// What the judge expects to see typed for a question and its stored answer:
// the whole answer, or one coordinate of a point answer.
inline QString typedAnswer(const QString &q, const QString &k)
{
    if (q.contains(u'□') || q.contains(u"三角形OAD"_qs) || !q.contains(u"座標を求め"_qs))
        return k;
    const int open = int(k.indexOf(u'(')), comma = int(k.indexOf(u',')), close = int(k.indexOf(u')'));
    QString expected;
    if (q.contains(u"x座標を求め"_qs))
        expected = k.mid(open + 1, comma - open - 1);
    if (q.contains(u"y座標を求め"_qs))
        expected = k.mid(comma + 1, close - comma - 1);
    if (q.contains(u"の座標を求め"_qs))
        expected = k;
    return expected;
}

// The keys that type an answer: a fraction goes in denominator first
// ("y=-2/3x+b" is y = - 3 / 2 x + b), π is P.
inline QString keysFor(const QString &answer)
{
    QString s = answer;
    const int slash = int(s.indexOf(u'/'));
    if (slash > 0) {
        // The upper part: the digits right before the slash.
        int upperStart = slash;
        while (upperStart > 0 && s[upperStart - 1].isDigit())
            --upperStart;
        // The lower part: the digits (or the x) right after it.
        int lowerEnd = slash + 1;
        if (lowerEnd < s.size() && s[lowerEnd] == u'x')
            ++lowerEnd;
        else
            while (lowerEnd < s.size() && s[lowerEnd].isDigit())
                ++lowerEnd;
        const QString upper = s.mid(upperStart, slash - upperStart);
        const QString lower = s.mid(slash + 1, lowerEnd - slash - 1);
        s = s.left(upperStart) + lower + u'/' + upper + s.mid(lowerEnd);
    }
    s.replace(u'π', u'P');
    return s;
}

struct Fraction {
    long num = 0, den = 1;
};

// Slope and intercept of a stored line "y=-2/3x+4".
inline bool parseLine(const QString &k, Fraction &slope, Fraction &intercept)
{
    const int e = int(k.indexOf(u'=')), x = int(k.indexOf(u'x'));
    if (e < 0 || x < e)
        return false;
    const QString coef = k.mid(e + 1, x - e - 1);
    if (coef.isEmpty())
        slope = {1, 1};
    else if (coef == u"-")
        slope = {-1, 1};
    else if (coef.contains(u'/'))
        slope = {coef.section(u'/', 0, 0).toLong(), coef.section(u'/', 1).toLong()};
    else
        slope = {coef.toLong(), 1};
    const QString rest = k.mid(x + 1);
    if (rest.contains(u'/'))
        intercept = {rest.section(u'/', 0, 0).toLong(), rest.section(u'/', 1).toLong()};
    else
        intercept = {rest.isEmpty() ? 0 : rest.toLong(), 1};
    return slope.den != 0 && intercept.den != 0;
}

// Lattice points of a line on the plane, from the left.
inline std::vector<std::pair<int, int>> latticePoints(const Fraction &m, const Fraction &b)
{
    std::vector<std::pair<int, int>> points;
    for (int x = -8; x <= 8; ++x) {
        const long n = m.num * x * b.den + b.num * m.den, d = m.den * b.den;
        if (n % d == 0 && std::abs(n / d) <= 8)
            points.emplace_back(x, int(n / d));
    }
    return points;
}

inline std::optional<std::pair<int, int>> pointOf(const QString &k)
{
    const int open = int(k.indexOf(u'(')), comma = int(k.indexOf(u',')), close = int(k.indexOf(u')'));
    if (open < 0 || comma < open || close < comma)
        return std::nullopt;
    return std::make_pair(k.mid(open + 1, comma - open - 1).toInt(), k.mid(comma + 1, close - comma - 1).toInt());
}

// The presses that draw the stored answer on the plane: a point, or two
// points of a line that differ in both coordinates (a line through the
// origin starts at the origin whatever the first press).
inline std::vector<std::pair<int, int>> pressesFor(const QString &k)
{
    if (auto p = pointOf(k); p && !k.contains(u'x'))
        return {*p};
    Fraction m, b;
    if (!parseLine(k, m, b))
        return {};
    const auto pts = latticePoints(m, b);
    if (b.num == 0) {
        for (const auto &p : pts)
            if (p.first != 0 && p.second != 0)
                return {p, p};
        return {};
    }
    for (size_t i = 0; i < pts.size(); ++i)
        for (size_t j = i + 1; j < pts.size(); ++j)
            if (pts[i].first != pts[j].first && pts[i].second != pts[j].second)
                return {pts[i], pts[j]};
    return {};
}

// Presses that are surely wrong: a point that is not the answer, or a line
// that misses the expected one.
inline std::vector<std::pair<int, int>> wrongPressesFor(const QString &k)
{
    if (auto p = pointOf(k); p && !k.contains(u'x'))
        return {{p->first == 7 ? 6 : 7, p->second == -7 ? -6 : -7}};
    Fraction m, b;
    if (!parseLine(k, m, b))
        return {};
    auto on = [&](int x, int y) { return y * m.den * b.den == m.num * x * b.den + b.num * m.den; };
    // The line starts at the first press (at the origin for a line through
    // it); a second press off the line makes it wrong.
    const std::pair<int, int> first = b.num == 0 ? std::make_pair(0, 0) : std::make_pair(-7, -6);
    for (int x = 7; x >= -7; --x)
        for (int y = 7; y >= -7; --y)
            if (x != first.first && y != first.second && !on(x, y))
                return {first, {x, y}};
    return {};
}

// The ways a learner reaches the program; in process, or through a window
// or the driver.
struct Hands {
    std::function<void(int)> key;
    std::function<void(const QString &)> click;
    std::function<void(double, double)> move;
    std::function<void(double, double)> press; // press, release and its click
};

// A learner's hands on the form itself, without a window.
inline Hands handsOn(Form1 &f)
{
    return {[&f](int k) { f.typeKey(k); }, [&f](const QString &b) { f.buttonClick(b); },
            [&f](double x, double y) { f.Picture6_MouseMove(0, 0, x, y); },
            [&f](double x, double y) {
                f.Picture6_MouseDown(1, 0, x, y);
                f.Picture6_Click();
            }};
}

// Answers the current question. Returns false (with a reason) when the
// window offers no way to answer it.
inline bool answer(Form1 &f, Hands &hands, bool right, QString *why = nullptr,
                   std::optional<std::pair<double, double>> *pointer = nullptr)
{
    const QString q = f.currentQuestion(), k = f.currentAnswer();
    if (f.Text2.Visible) {
        const QString keys = right ? keysFor(typedAnswer(q, k)) : QStringLiteral("9999");
        for (QChar c : keys)
            hands.key(c.unicode());
        hands.key(13);
        return true;
    }
    if (f.Command5.Visible && f.Picture6.Visible) {
        const auto presses = right ? pressesFor(k) : wrongPressesFor(k);
        if (presses.empty()) {
            if (why)
                *why = QStringLiteral("no lattice points for %1").arg(k);
            return false;
        }
        for (const auto &[x, y] : presses) {
            // The pointer arrives before it presses; it does not move when it
            // is already there.
            if (!pointer || !*pointer || (*pointer)->first != x || (*pointer)->second != y)
                hands.move(x, y);
            if (pointer)
                *pointer = std::make_pair(double(x), double(y));
            hands.press(x, y);
        }
        hands.click(QStringLiteral("Command5"));
        return true;
    }
    if (why)
        *why = QStringLiteral("neither the answer box nor the check button is shown");
    return false;
}

// Answers right, one question after another, until question n of the draw
// order is shown. False when the run ends or a question cannot be answered
// before that.
inline bool answerRightUntil(Form1 &f, int n)
{
    Hands hands = handsOn(f);
    std::optional<std::pair<double, double>> pointer;
    while (f.bank.mondaiNo < n) {
        if (f.run.categoryActive != 1 || !answer(f, hands, true, nullptr, &pointer))
            return false;
    }
    return f.bank.mondaiNo == n;
}

} // namespace learner
