#include "variants/Checker.h"

#include <QHash>
#include <QRegularExpression>

#include <utility>
#include <vector>

namespace variants {

namespace {

// ---------------------------------------------------------------------------
// The banks' forms

QString fmt(Frac f) { return f.isInt() ? QString::number(f.n) : u"%1/%2"_qs.arg(f.n).arg(f.d); }

// An area or a length as the explanations print it: a whole number, or a
// terminating decimal ("38.5"), which the answer box takes as it stands.
QString fmtMeasure(Frac f)
{
    long long d = f.d;
    while (d % 2 == 0)
        d /= 2;
    while (d % 5 == 0)
        d /= 5;
    if (f.isInt() || d != 1)
        return fmt(f);
    int places = 0;
    for (long long p = 1; f.d > p; p *= 10)
        ++places;
    return QString::number(double(f.n) / double(f.d), 'f', places);
}

QString fmtPoint(Frac x, Frac y) { return u"(%1,%2)"_qs.arg(fmt(x), fmt(y)); }
QString fmtPi(Frac k) { return (k == 1 ? QString() : fmt(k)) + u"π"_qs; }

// A line y = mx + b; an unknown slope or intercept stays the letter a or b.
struct Line {
    std::optional<Frac> m, b;
};

QString fmtLine(const Line &l)
{
    const bool flat = l.m && l.m->isZero(); // "y=3", no x term at all
    QString s = u"y="_qs;
    if (!l.m)
        s += u"ax"_qs;
    else if (*l.m == 1)
        s += u'x';
    else if (*l.m == -1)
        s += u"-x"_qs;
    else if (!flat)
        s += fmt(*l.m) + u'x';
    if (!l.b)
        s += u"+b"_qs;
    else if (flat)
        s += fmt(*l.b);
    else if (l.b->n > 0)
        s += u'+' + fmt(*l.b);
    else if (l.b->n < 0)
        s += fmt(*l.b);
    return s;
}

// "y=-2/3x+5", "y=x", "y=-x", "y=ax-4", "y=3x+b", or "y=6/x" (inverse).
struct Curve {
    bool inverse = false;
    Frac k;    // y = k/x
    Line line; // otherwise
};

std::optional<Curve> parseCurve(const QString &e)
{
    static const QRegularExpression inv(uR"(^y=(-?\d+)/x$)"_qs);
    static const QRegularExpression lin(uR"(^y=(-?)(a|\d+(?:/\d+)?)?x(?:([+-])(b|\d+(?:/\d+)?))?$)"_qs);
    const QString t = e.trimmed();
    if (const auto m = inv.match(t); m.hasMatch())
        return Curve{true, Frac(m.captured(1).toLongLong()), {}};
    const auto m = lin.match(t);
    if (!m.hasMatch())
        return std::nullopt;
    Curve c;
    const bool minus = m.captured(1) == u"-";
    if (minus && m.captured(2) == u"a")
        return std::nullopt; // "y=-ax" is no form of the banks
    if (m.captured(2) == u"a")
        c.line.m = std::nullopt;
    else {
        const Frac coef = m.captured(2).isEmpty() ? Frac(1) : *parseFrac(m.captured(2));
        c.line.m = minus ? Frac(0) - coef : coef;
    }
    if (m.captured(4) == u"b")
        c.line.b = std::nullopt;
    else if (m.captured(4).isEmpty())
        c.line.b = Frac(0);
    else
        c.line.b = *parseFrac(m.captured(3) + m.captured(4));
    return c;
}

QString fmtCurve(const Curve &c) { return c.inverse ? u"y=%1/x"_qs.arg(fmt(c.k)) : fmtLine(c.line); }

// A line in general form on both sides, "3x-5y-15=0", "-3y+2x+6=3", solved for y.
std::optional<Line> parseGeneralForm(const QString &text)
{
    const QStringList sides = text.trimmed().split(u'=');
    if (sides.size() != 2)
        return std::nullopt;
    static const QRegularExpression term(uR"(([+-]?)(\d*)([xy]?))"_qs);
    Frac a, b, c; // a x + b y + c = 0
    for (int side = 0; side < 2; ++side) {
        const QString s = sides[side];
        qsizetype at = 0;
        while (at < s.size()) {
            const auto m = term.match(s, at, QRegularExpression::NormalMatch,
                                      QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch() || m.capturedLength() == 0 || (m.captured(2).isEmpty() && m.captured(3).isEmpty()))
                return std::nullopt;
            Frac v(m.captured(2).isEmpty() ? 1 : m.captured(2).toLongLong());
            if (m.captured(1) == u"-")
                v = Frac(0) - v;
            if (side == 1)
                v = Frac(0) - v;
            Frac &slot = m.captured(3) == u"x" ? a : m.captured(3) == u"y" ? b : c;
            slot = slot + v;
            at += m.capturedLength();
        }
    }
    if (b.isZero())
        return std::nullopt;
    return Line{Frac(0) - a / b, Frac(0) - c / b};
}


Check computed(const QString &expected, QStringList faults = {})
{
    return {Outcome::Computed, expected, {}, std::move(faults)};
}

Check notComputed(const QString &why) { return {Outcome::NotComputed, {}, why, {}}; }

// The patterns are made once: the check runs on every question of every
// generated bank, thousands of times a second.
QRegularExpressionMatch find(const QString &text, const QString &pattern)
{
    static QHash<QString, QRegularExpression> compiled;
    auto it = compiled.find(pattern);
    if (it == compiled.end())
        it = compiled.insert(pattern, QRegularExpression(pattern));
    return it->match(text);
}

std::optional<Frac> fracAt(const QRegularExpressionMatch &m, int i)
{
    return m.hasMatch() && m.hasCaptured(i) ? parseFrac(m.captured(i)) : std::nullopt;
}

// Square application: a square stands on the x-axis at x0 under y = mx and
// reaches the line with its upper left corner A; C is its upper right corner,
// B and D its feet, O the origin.
Check squareApplication(const Question &q)
{
    QStringList faults;
    const auto slope = slopeOf(q.param(0));
    if (!slope || !q.numeric(1))
        return notComputed(u"square: unreadable figure values"_qs);
    const auto said = find(q.text, uR"(^(y=[^に]+)に図のようにx=(-?\d+)から正方形)"_qs);
    if (!said.hasMatch())
        faults << u"square: the text names no line and start"_qs;
    else if (said.captured(1) != q.param(0) || said.captured(2) != q.param(1))
        faults << u"the text says %1 from x=%2, the figure draws %3 from x=%4"_qs.arg(
            said.captured(1), said.captured(2), q.param(0), q.param(1));
    const Frac x0 = q.num(1), s = *slope * x0, right = x0 + s;
    if (q.has(u"点Aの座標"_qs))
        return computed(fmtPoint(x0, s), faults);
    if (q.has(u"点Cの座標"_qs))
        return computed(fmtPoint(right, s), faults);
    if (q.has(u"△AOB"_qs))
        return computed(fmtMeasure(x0 * s / 2), faults);
    if (q.has(u"△COD"_qs))
        return computed(fmtMeasure(right * s / 2), faults);
    if (q.has(u"台形AODC"_qs))
        return computed(fmtMeasure((s + right) * s / 2), faults);
    if (q.has(u"原点Oと点Cを通る直線の式"_qs))
        return computed(fmtLine({s / right, Frac(0)}), faults);
    return notComputed(u"square: no known measure asked"_qs);
}

// Two lines through the origin and a segment between them: AB on x = k, or
// BC on y = k.
Check twoLineApplication(const Question &q)
{
    QStringList faults;
    const auto m1 = slopeOf(q.param(0)), m2 = slopeOf(q.param(1));
    if (!m1 || !m2 || !q.numeric(2) || m1->isZero() || m2->isZero())
        return notComputed(u"two lines: unreadable figure values"_qs);
    const bool horizontal = q.has(u"上の直線BCがある。"_qs);
    const auto said = find(q.text, uR"(直線(y=[^と]+)と(y=[^に]+)に引かれた([xy])=(-?\d+)上の直線)"_qs);
    if (!said.hasMatch())
        faults << u"two lines: the text names no lines"_qs;
    else if (said.captured(1) != q.param(0) || said.captured(2) != q.param(1) || said.captured(4) != q.param(2)
             || said.captured(3) != (horizontal ? u"y" : u"x"))
        faults << u"the text says %1, %2 on %3=%4, the figure draws %5, %6 on %7=%8"_qs
                      .arg(said.captured(1), said.captured(2), said.captured(3), said.captured(4), q.param(0),
                           q.param(1), horizontal ? u"y"_qs : u"x"_qs, q.param(2));
    const Frac k = q.num(2);
    const Frac length = horizontal ? (k / *m1 - k / *m2).abs() : (*m1 * k - *m2 * k).abs();
    if (q.has(u"長さを求め"_qs))
        return computed(fmtMeasure(length), faults);
    return notComputed(u"two lines: no length asked"_qs);
}

// One line through the origin, A on it above x = k, C its foot on the
// x-axis, D a point on the x-axis; triangles OAC and OAD.
Check oneLineApplication(const Question &q)
{
    QStringList faults;
    const auto slope = slopeOf(q.param(0));
    if (!slope || !q.numeric(1))
        return notComputed(u"one line: unreadable figure values"_qs);
    const Frac x = q.num(1), y = *slope * x;

    const auto line = find(q.text, uR"(直線\s*(y=[^に\s]+|m)\s*に引かれたx=(-?\d+)上の直線ACがある)"_qs);
    if (!line.hasMatch())
        faults << u"one line: the text names no line"_qs;
    else if ((line.captured(1) != u"m" && line.captured(1) != q.param(0)) || line.captured(2) != q.param(1))
        faults << u"the text says %1 on x=%2, the figure draws %3 on x=%4"_qs.arg(line.captured(1), line.captured(2),
                                                                                 q.param(0), q.param(1));
    const auto dSaid = fracAt(find(q.text, uR"(点[DＤ]は\((-?\d+),0\))"_qs), 1);
    const auto areaSaid = fracAt(find(q.text, uR"(面積が(\d+)c㎡)"_qs), 1);
    if (dSaid && (!q.numeric(2) || !(*dSaid == q.num(2))))
        faults << u"the text puts D at x=%1, the figure at x=%2"_qs.arg(fmt(*dSaid), q.param(2));
    if (areaSaid && (!q.numeric(3) || !(*areaSaid == q.num(3))))
        faults << u"the text gives the area %1, the figure's values %2"_qs.arg(fmt(*areaSaid), q.param(3));

    if (q.has(u"三角形OACの面積を求め"_qs))
        return computed(fmtMeasure(x * y / 2), faults);
    if (q.has(u"三角形OADの面積を求め"_qs)) {
        if (!dSaid)
            return notComputed(u"one line: no D given"_qs);
        return computed(fmtMeasure(*dSaid * y / 2), faults);
    }
    if (q.has(u"Dの座標を求め"_qs) && areaSaid) {
        const Frac d = *areaSaid * 2 / y;
        if (q.numeric(2) && !(q.num(2) == d))
            faults << u"the figure draws D at x=%1, the area puts it at x=%2"_qs.arg(q.param(2), fmt(d));
        return computed(fmtPoint(d, 0), faults);
    }
    if (q.has(u"直線mの式を求め"_qs) && areaSaid && dSaid) {
        const Frac height = *areaSaid * 2 / *dSaid, m = height / x;
        if (!(m == *slope))
            faults << u"the figure draws %1 through A, the area asks for slope %2"_qs.arg(q.param(0), fmt(m));
        return computed(fmtLine({m, Frac(0)}), faults);
    }
    if (q.has(u"直線ACの長さ"_qs))
        return computed(fmtMeasure(y.abs()), faults);
    return notComputed(u"one line: no known measure asked"_qs);
}

// Circles, half circles and sectors. The radius is the one the text gives
// (directly or through a measure) or else the one the figure labels; where
// both exist they must agree. A sector's angle is the figure's, or follows
// from a measure the text gives.
Check circleQuestion(const Question &q)
{
    QStringList faults;
    const bool sector = q.has(u"おうぎ形"_qs), half = q.has(u"半円"_qs);
    const std::optional<Frac> figureRadius = q.numeric(2) ? std::optional(q.num(2)) : std::nullopt;

    std::optional<Frac> radius;
    if (const auto r = fracAt(find(q.text, uR"(半径が(\d+)cm)"_qs), 1))
        radius = r;
    else if (const auto d = fracAt(find(q.text, uR"(直径が(\d+)cm)"_qs), 1))
        radius = *d / 2;
    const auto givenCircumference = fracAt(find(q.text, uR"(円周が(\d+)π)"_qs), 1);
    const auto givenArea = fracAt(find(q.text, uR"(面積[がは](\d+)π)"_qs), 1);
    const auto givenArc = fracAt(find(q.text, uR"(弧の長さが(\d+)π)"_qs), 1);
    if (!radius && !sector) {
        if (givenCircumference)
            radius = *givenCircumference / 2;
        else if (givenArea)
            radius = squareRoot(half ? *givenArea * 2 : *givenArea);
    }
    if (!radius)
        radius = figureRadius;
    if (!radius)
        return notComputed(u"circle: no radius"_qs);
    const Frac r = *radius;
    if (figureRadius && !(*figureRadius == r))
        faults << u"the text means radius %1, the figure labels %2"_qs.arg(fmt(r), fmt(*figureRadius));
    if (!sector && givenCircumference && !(*givenCircumference == r * 2))
        faults << u"the text gives the circumference %1π for radius %2"_qs.arg(fmt(*givenCircumference), fmt(r));
    if (!sector && givenArea && !(*givenArea == (half ? r * r / 2 : r * r)))
        faults << u"the text gives the area %1π for radius %2"_qs.arg(fmt(*givenArea), fmt(r));

    std::optional<Frac> angle;
    if (sector) {
        if (q.numeric(3) && q.numeric(4) && !q.has(u"中心角を求め"_qs) && !givenArea && !givenArc)
            angle = q.num(4) - q.num(3);
        else if (givenArea)
            angle = *givenArea * 360 / (r * r);
        else if (givenArc)
            angle = *givenArc * 360 / (r * 2);
        if (!angle)
            return notComputed(u"sector: no angle"_qs);
    }
    // The part of a whole turn the figure covers.
    const Frac turn = angle ? *angle / 360 : half ? Frac(1, 2) : Frac(1);

    if (q.has(u"中心角を求め"_qs) && angle)
        return computed(fmt(*angle) + u"°"_qs, faults);
    if (q.has(u"半径を求め"_qs))
        return computed(fmt(r), faults);
    if (q.has(u"直径を求め"_qs))
        return computed(fmt(r * 2), faults);
    if (q.has(u"まわりの長さを求め"_qs))
        return computed(fmtPi(r * 2 * turn) + u'+' + fmt(r * 2), faults);
    if (q.has(u"弧を求め"_qs) || q.has(u"弧の長さを求め"_qs))
        return computed(fmtPi(r * 2 * turn), faults);
    if (q.has(u"円周を求め"_qs) || q.has(u"円周求め"_qs))
        return computed(fmtPi(r * 2), faults);
    if (q.has(u"面積を求め"_qs))
        return computed(fmtPi(r * r * turn), faults);
    return notComputed(u"circle: no known measure asked"_qs);
}

// A segment on the grid. A is the end with the larger x (the second end when
// both share x); C, the right-angle corner, lies under or over A at B's height.
Check segmentLength(const Question &q)
{
    const Frac x1 = q.num(0), y1 = q.num(1), x2 = q.num(2), y2 = q.num(3);
    const bool firstIsA = x1.n * x2.d > x2.n * x1.d;
    const Frac ax = firstIsA ? x1 : x2, ay = firstIsA ? y1 : y2, bx = firstIsA ? x2 : x1, by = firstIsA ? y2 : y1;
    if (q.has(u"直線ACの長さ"_qs))
        return computed(fmtMeasure((ay - by).abs()));
    if (q.has(u"直線BCの長さ"_qs))
        return computed(fmtMeasure((ax - bx).abs()));
    if (ax == bx)
        return computed(fmtMeasure((ay - by).abs()));
    if (ay == by)
        return computed(fmtMeasure((ax - bx).abs()));
    const auto length = squareRoot((ax - bx) * (ax - bx) + (ay - by) * (ay - by));
    return length ? computed(fmtMeasure(*length)) : notComputed(u"segment: length is no rational number"_qs);
}

// The corners in the order the figure joins them; the shoelace formula.
Check polygonArea(const Question &q, int corners)
{
    if (q.params.size() != corners * 2)
        return notComputed(u"polygon: %1 values for %2 corners"_qs.arg(q.params.size()).arg(corners));
    Frac twice;
    for (int i = 0; i < corners; ++i) {
        const int j = (i + 1) % corners;
        twice = twice + q.num(2 * i) * q.num(2 * j + 1) - q.num(2 * j) * q.num(2 * i + 1);
    }
    return computed(fmtMeasure(twice.abs() / 2));
}

// " y=-2/3x の上の点(□,4)のx座標を求めて。"
Check pointOnLine(const Question &q)
{
    const auto m = find(q.text, uR"(^\s*(y=\S+)\s+の上の点\((□|-?\d+(?:/\d+)?),(□|-?\d+(?:/\d+)?)\)の([xy])座標を求め)"_qs);
    if (!m.hasMatch())
        return notComputed(u"point on a line: unreadable text"_qs);
    const auto curve = parseCurve(m.captured(1));
    if (!curve || curve->inverse || !curve->line.m || !curve->line.b)
        return notComputed(u"point on a line: unreadable line"_qs);
    const Frac slope = *curve->line.m, b = *curve->line.b;
    if (m.captured(4) == u"x") {
        if (m.captured(2) != u"□" || slope.isZero())
            return notComputed(u"point on a line: x asked but not hidden"_qs);
        return computed(fmt((*parseFrac(m.captured(3)) - b) / slope));
    }
    if (m.captured(3) != u"□")
        return notComputed(u"point on a line: y asked but not hidden"_qs);
    return computed(fmt(slope * *parseFrac(m.captured(2)) + b));
}


// "(3,-2)の点を書き入れてください", symmetric points, midpoints and moves.
Check pointToPlot(const Question &q)
{
    static const QString p = uR"(\((-?\d+),(-?\d+)\))"_qs;
    std::optional<std::pair<Frac, Frac>> point;
    if (auto m = find(q.text, u"^点?"_qs + p + u"の点を書き"_qs); m.hasMatch())
        point = {*fracAt(m, 1), *fracAt(m, 2)};
    else if (auto m = find(q.text, u"点"_qs + p + u"点?の(x軸|y軸|原点)対称な点を書き"_qs); m.hasMatch()) {
        const Frac x = *fracAt(m, 1), y = *fracAt(m, 2);
        const QString axis = m.captured(3);
        point = {axis == u"x軸" ? x : Frac(0) - x, axis == u"y軸" ? y : Frac(0) - y};
    } else if (auto m = find(q.text, u"点"_qs + p + p + u"の中点を書き"_qs); m.hasMatch())
        point = {(*fracAt(m, 1) + *fracAt(m, 3)) / 2, (*fracAt(m, 2) + *fracAt(m, 4)) / 2};
    else if (auto m = find(q.text, u"点"_qs + p + u"を([xy])軸の(正|負)の方向に(\\d+)移動した点を書き"_qs);
             m.hasMatch()) {
        const Frac step = m.captured(4) == u"正" ? *fracAt(m, 5) : Frac(0) - *fracAt(m, 5);
        point = {*fracAt(m, 1) + (m.captured(3) == u"x" ? step : Frac(0)),
                 *fracAt(m, 2) + (m.captured(3) == u"y" ? step : Frac(0))};
    }
    if (!point)
        return notComputed(u"point to plot: unreadable text"_qs);
    QStringList faults;
    if (!onGrid(point->first, point->second))
        faults << u"the point %1 cannot be clicked on the grid"_qs.arg(fmtPoint(point->first, point->second));
    return computed(fmtPoint(point->first, point->second), faults);
}

// A line described in words: slope, intercept, a parallel line, a rate of
// increase, points on it. An unknown part stays a letter ("y=ax-4").
Check describedLine(const Question &q)
{
    const QString t = q.text;
    std::optional<Frac> slope = fracAt(find(t, uR"((?:傾きが|変化の割合が)(-?\d+(?:/\d+)?))"_qs), 1);
    if (!slope) {
        if (const auto par = find(t, uR"((y=[-+/0-9x]+)\s*に平行)"_qs); par.hasMatch())
            slope = slopeOf(par.captured(1));
    }
    if (!slope) {
        const auto inc = find(t, uR"(xが(\d+)増加すると、yは(\d+)(増加|減少))"_qs);
        if (inc.hasMatch())
            slope = *fracAt(inc, 2) / *fracAt(inc, 1) * Frac(inc.captured(3) == u"増加" ? 1 : -1);
    }
    std::optional<Frac> intercept = fracAt(find(t, uR"(切片が(-?\d+(?:/\d+)?))"_qs), 1);
    std::vector<std::pair<Frac, Frac>> points;
    static const QRegularExpression pointClues[] = {QRegularExpression(uR"(\((-?\d+),(-?\d+)\))"_qs),
                                                    QRegularExpression(uR"(x=(-?\d+)\s*のとき\s*y=(-?\d+))"_qs)};
    for (const QRegularExpression &re : pointClues) {
        auto it = re.globalMatch(t);
        while (it.hasNext()) {
            const auto m = it.next();
            points.emplace_back(*fracAt(m, 1), *fracAt(m, 2));
        }
    }
    if (!slope && points.size() >= 2 && !(points[0].first == points[1].first))
        slope = (points[1].second - points[0].second) / (points[1].first - points[0].first);
    if (!slope && intercept && points.size() == 1 && !points[0].first.isZero())
        slope = (points[0].second - *intercept) / points[0].first;
    if (slope && !intercept && !points.empty())
        intercept = points[0].second - *slope * points[0].first;
    if (!slope && !intercept && points.size() == 1 && points[0].first.isZero())
        intercept = points[0].second;
    if (!slope && !intercept)
        return notComputed(u"described line: nothing known"_qs);
    QStringList faults;
    if (slope && intercept)
        for (const auto &[x, y] : points)
            if (!(*slope * x + *intercept == y))
                faults << u"the point %1 is not on the line the text describes"_qs.arg(fmtPoint(x, y));
    return computed(fmtLine({slope, intercept}), faults);
}

// A graph to draw, named by its equation or described in words.
Check graphToDraw(const Question &q)
{
    const auto named = find(q.text, uR"(^\s*(y=[^の\s]+)\s*のグラフを書いて)"_qs);
    if (named.hasMatch()) {
        const auto c = parseCurve(named.captured(1));
        return c ? computed(fmtCurve(*c)) : notComputed(u"graph to draw: unreadable equation"_qs);
    }
    const auto general = find(q.text, uR"(^\s*([-+0-9xy=]+)\s*のグラフを書いて)"_qs);
    if (general.hasMatch()) {
        const auto l = parseGeneralForm(general.captured(1));
        return l ? computed(fmtLine(*l)) : notComputed(u"graph to draw: unreadable general form"_qs);
    }
    return describedLine(q);
}

// The lattice points of a graph inside the plane, where the learner reads it
// or clicks it.
std::vector<std::pair<Frac, Frac>> gridPoints(const Curve &c)
{
    std::vector<std::pair<Frac, Frac>> out;
    for (long long x = -8; x <= 8; ++x) {
        if (c.inverse && x == 0)
            continue;
        const Frac y = c.inverse ? c.k / Frac(x) : *c.line.m * Frac(x) + *c.line.b;
        if (onGrid(Frac(x), y))
            out.emplace_back(Frac(x), y);
    }
    return out;
}

// A reading question shows the graph of its own answer. The answer is read
// back from two lattice points of that graph, so it must be in the form the
// learner would write, and the graph must cross the grid at lattice points.
Check graphToRead(const QString &stored)
{
    const auto c = parseCurve(stored);
    if (!c || (!c->inverse && (!c->line.m || !c->line.b)))
        return {Outcome::FromOwnAnswer, {}, u"graph drawn from its own answer"_qs, {u"unreadable answer"_qs}};
    const auto points = gridPoints(*c);
    Check check{Outcome::FromOwnAnswer, {}, u"graph drawn from its own answer"_qs, {}};
    if (points.size() < 2) {
        check.faults << u"fewer than two lattice points of the graph on the grid"_qs;
        return check;
    }
    const auto &[x1, y1] = points.front();
    const auto &[x2, y2] = points.back();
    Curve read;
    read.inverse = c->inverse;
    if (c->inverse)
        read.k = x1 * y1;
    else {
        const Frac m = (y2 - y1) / (x2 - x1);
        read.line = {m, y1 - m * x1};
    }
    if (fmtCurve(read) != stored)
        check.faults << u"read from the graph: %1"_qs.arg(fmtCurve(read));
    return check;
}

// Works out one question as the presenter sorts it into its families.
} // namespace

std::optional<Frac> slopeOf(const QString &equation)
{
    const auto c = parseCurve(equation);
    return c && !c->inverse ? c->line.m : std::nullopt;
}

bool onGrid(Frac x, Frac y)
{
    const auto in = [](Frac v) { return v.isInt() && v.n >= -8 && v.n <= 8; };
    return in(x) && in(y);
}

Question split(const QString &q)
{
    Question out;
    const qsizetype hash = q.indexOf(u'#');
    out.text = hash < 0 ? q : q.left(hash);
    out.hasParams = hash >= 0;
    if (hash >= 0)
        out.params = q.mid(hash + 1).split(u',');
    return out;
}

// Works out one question as the presenter sorts it into its families.
Check recompute(const QString &question, const QString &stored)
{
    const Question q = split(question);
    if (q.has(u"上の直線ABがある。"_qs) || q.has(u"上の直線BCがある。"_qs))
        return twoLineApplication(q);
    if (q.has(u"上の直線ACがある。"_qs))
        return oneLineApplication(q);
    if (q.has(u"正方形"_qs))
        return squareApplication(q);
    const bool circleWord = q.has(u"円"_qs), sectorWord = q.has(u"おうぎ形"_qs);
    if (circleWord || sectorWord)
        return circleQuestion(q);
    if (q.hasParams && (q.has(u"直線ABの長さを求め"_qs) || q.has(u"直線ACの長さを求め"_qs) || q.has(u"直線BCの長さを求め"_qs)))
        return segmentLength(q);
    if (q.hasParams && q.has(u"四角形"_qs) && q.has(u"面積を求め"_qs))
        return polygonArea(q, 4);
    if (q.hasParams && q.has(u"三角形"_qs) && q.has(u"面積を求め"_qs))
        return polygonArea(q, 3);
    if (q.has(u")のx座標を求め"_qs) || q.has(u")のy座標を求め"_qs))
        return pointOnLine(q);
    if (q.has(u"グラフの式を求め"_qs))
        return graphToRead(stored);
    if (q.has(u"座標を求め"_qs)) {
        // The plane marks the point worked back from the stored answer; the
        // figure test below reads the mark and reflects it again.
        Check c{Outcome::FromOwnAnswer, {}, u"point marked from its own answer"_qs, {}};
        const auto m = find(stored, uR"(^\((-?\d+),(-?\d+)\)$)"_qs);
        if (!m.hasMatch())
            c.faults << u"a point question needs a point answer"_qs;
        else if (!onGrid(*fracAt(m, 1), *fracAt(m, 2)))
            c.faults << u"the marked point lies off the grid"_qs;
        return c;
    }
    if (q.has(u"点を書き"_qs))
        return pointToPlot(q);
    if (q.has(u"グラフを書いて"_qs)) {
        Check c = graphToDraw(q);
        if (c.outcome == Outcome::Computed)
            if (const auto curve = parseCurve(c.expected); curve && gridPoints(*curve).size() < 2)
                c.faults << u"fewer than two lattice points to click on the grid"_qs;
        return c;
    }
    if (q.has(u"直線の式を求め"_qs))
        return describedLine(q);
    return notComputed(u"no family of questions"_qs);
}

// Questions answered on the plane; every other one is typed.
bool drawnOnThePlane(const QString &question)
{
    return question.contains(u"グラフを書いて"_qs) || question.contains(u"点を書き"_qs);
}

// What the answer box can produce: the keys it takes, with "p" shown as "π".
bool typeable(const QString &answer)
{
    static const QString keys = u"0123456789+,-./xy;=ab()π"_qs;
    for (QChar c : answer)
        if (!keys.contains(c))
            return false;
    return true;
}

QStringList faultsOf(const QString &question, const QString &answer, bool asked)
{
    const Check c = recompute(question, answer);
    QStringList faults = c.faults;
    if (c.outcome == Outcome::NotComputed)
        faults << u"cannot be worked out again: "_qs + c.note;
    else if (c.outcome == Outcome::Computed && c.expected != answer)
        faults << u"the answer should be %1"_qs.arg(c.expected);
    if (asked && !drawnOnThePlane(question) && !typeable(answer))
        faults << u"the answer cannot be typed"_qs;
    return faults;
}

} // namespace variants
