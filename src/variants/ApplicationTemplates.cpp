// The application sets: a square standing on the x-axis under a line y = ax
// (six questions on one square), a segment AC from a line down to the
// x-axis with the triangles OAC and OAD, and a segment between two lines.
// A new figure keeps the kind of each slope (whole or a fraction, and its
// sign), its corners at lattice points inside the figure's own plane, its
// answers whole numbers or halves as the bank's, and the letters and
// equations it prints apart from one another.
#include "variants/Families.h"
#include "variants/Labels.h"
#include "variants/Numbers.h"

#include <QRegularExpression>

#include <array>
#include <cmath>
#include <numeric>

namespace variants::families {

namespace {

using gen::Slope;
using labels::Box;
using labels::Plane;
using labels::textBox;

constexpr double kLetters = 18;  // the figures' letters, in points
constexpr double kEquations = 12; // the equations' labels: the largest size the plane has then

// Rounds halves to the even neighbour, as the figures do.
double roundEven(double v) { return std::nearbyint(v); }

// Where a figure prints a line's equation: where the plotted line first
// leaves the 14 by 14 corner, walking x from -2 in even steps (the figures'
// own walk, so the same position to the last digit).
std::optional<std::pair<double, double>> equationPlace(Slope m, double to, double step)
{
    const double p = double(m.p), q = double(m.q);
    for (double x = -2; x <= to; x += step) {
        const double y = x * p / q;
        if (std::abs(14 - x) < 0.02)
            return std::make_pair(12.0, roundEven(std::floor(y) + 1.5));
        if (std::abs(14 - y) < 0.02)
            return std::make_pair(std::floor(x) - 2, 14.0);
    }
    return std::nullopt;
}

std::optional<Slope> slopeNear(Rng &rng, Slope original)
{
    const long long p = std::llabs(original.p);
    return gen::slopeLike(rng, original, std::max<long long>(4, p), std::max<long long>(9, p),
                          std::max<long long>(9, original.q));
}

// A label counts when any of it shows; one wholly off the visible plane is
// clipped away (an equation on a plane centred low), so it cannot collide.
std::vector<Box> visible(const std::vector<Box> &boxes, const Plane &plane)
{
    std::vector<Box> out;
    for (const Box &b : boxes)
        if (b.right > plane.left && b.left < plane.right && b.bottom < plane.top && b.top > plane.bottom)
            out.push_back(b);
    return out;
}

QString fieldsAfterHash(const QString &q) { return q.mid(q.indexOf(u'#') + 1); }

// ---------------------------------------------------------------------------
// "y=2xに図のようにx=3から正方形を書きました。点Aの座標をもとめて。#y=2x,3"

class Square : public Template {
public:
    enum class Asked { A, AOB, C, COD, Trapezoid, LineOC };

    Square(const QString &q, const QRegularExpressionMatch &m, Slope slope, Asked asked)
        : slots_(q), slope_(slope), asked_(asked)
    {
        for (int g : {1, 2, 4, 5})
            slots_.add(m, g);
        shareKey = u"square#"_qs + fieldsAfterHash(q);
    }
    QString kind() const override
    {
        switch (asked_) {
        case Asked::A:
        case Asked::C:
            return u"正方形の頂点"_qs;
        case Asked::AOB:
        case Asked::COD:
            return u"正方形と三角形の面積"_qs;
        case Asked::Trapezoid:
            return u"正方形と台形の面積"_qs;
        case Asked::LineOC:
            return u"正方形と直線の式"_qs;
        }
        return {};
    }

    std::optional<Model> draw(Rng &rng) const override
    {
        const auto m = slopeNear(rng, slope_);
        if (!m)
            return std::nullopt;
        // x0 a multiple of the denominator, so that the square's height is whole.
        Model model{m->p, m->q, m->q * rng.between(1, std::max<long long>(1, 8 / m->q))};
        return fits(model) ? std::optional(std::move(model)) : std::nullopt;
    }

    bool fits(const Model &model) const override
    {
        if (model.size() != 3)
            return false;
        const Slope m{model[0], model[1]};
        const long long x0 = model[2];
        if (m.whole() != slope_.whole() || (m.p * x0) % m.q != 0)
            return false;
        const long long s = m.p * x0 / m.q, right = x0 + s;
        if (s < 3 || right > 12)
            return false;
        // A line that never leaves the corner has its equation at the origin.
        const auto place = equationPlace(m, 16, 0.02).value_or(std::make_pair(0.0, 0.0));
        const std::vector<Box> boxes = {
            textBox(place.first, place.second, gen::lineText(m, 0), kEquations),
            textBox(right, s, u" C"_qs, kLetters),
            textBox(right, -0.3, u" D"_qs, kLetters),
            textBox(x0 - 1, s + 0.5, u"A"_qs, kLetters),
            textBox(x0 - 1, -0.3, u" B ("_qs + labels::numberItem(x0) + u",0)"_qs, kLetters),
            textBox(-1.2, 1.5, u"O"_qs, kLetters),
        };
        // The names of B and D stand on the x-axis's numbers wherever the
        // square stands: the figure puts them there, under the axis. The
        // y-axis's numbers must stay clear of A.
        const Plane plane{-3, 15, 15, -3};
        return labels::apart(visible(boxes, plane), plane, labels::applicationPlaneNumbers(false, true));
    }

    Written write(const Model &model) const override
    {
        const Slope m{model[0], model[1]};
        const long long x0 = model[2], s = m.p * x0 / m.q, right = x0 + s;
        const QString line = gen::lineText(m, 0);
        QString answer;
        switch (asked_) {
        case Asked::A:
            answer = gen::pointText(x0, s);
            break;
        case Asked::AOB:
            answer = gen::measureText(Frac(x0 * s, 2));
            break;
        case Asked::C:
            answer = gen::pointText(right, s);
            break;
        case Asked::COD:
            answer = gen::measureText(Frac(right * s, 2));
            break;
        case Asked::Trapezoid:
            answer = gen::measureText(Frac((s + right) * s, 2));
            break;
        case Asked::LineOC: {
            const Frac oc(s, right);
            answer = gen::lineText(Slope{oc.n, oc.d}, 0);
            break;
        }
        }
        return {slots_.fill({line, QString::number(x0), line, QString::number(x0)}), answer};
    }

private:
    Slots slots_;
    Slope slope_;
    Asked asked_;
};

// ---------------------------------------------------------------------------
// "直線y=2xに引かれたx=4上の直線ACがある。点Dは(6,0)である。三角形OADの面積を求めなさい。#y=2x,4,6"

class OneLine : public Template {
public:
    enum class Asked { OAC, OAD, D, LineM, AC };

    static std::unique_ptr<OneLine> make(const QString &q)
    {
        static const QRegularExpression text(uR"(直線\s*(y=[^に\s]+|m)\s*に引かれたx=(\d+)上の直線ACがある。)"_qs);
        static const QRegularExpression dAt(uR"(点[DＤ]は\((\d+),0\))"_qs);
        static const QRegularExpression area(uR"(面積が(\d+)c㎡)"_qs);
        static const QRegularExpression params(uR"(#(y=[^,]+),(\d+)(?:,(\d+))?(?:,(\d+))?$)"_qs);
        const auto t = text.match(q), d = dAt.match(q), a = area.match(q), p = params.match(q);
        if (!t.hasMatch() || !p.hasMatch())
            return nullptr;
        const auto line = gen::readLine(p.captured(1));
        if (!line || line->b != 0 || line->m.p <= 0)
            return nullptr;
        auto o = std::unique_ptr<OneLine>(new OneLine(q, line->m));
        if (q.contains(u"三角形OACの面積を求め"_qs))
            o->asked_ = Asked::OAC;
        else if (q.contains(u"三角形OADの面積を求め"_qs) && d.hasMatch())
            o->asked_ = Asked::OAD;
        else if (q.contains(u"Dの座標を求め"_qs) && a.hasMatch())
            o->asked_ = Asked::D;
        else if (q.contains(u"直線mの式を求め"_qs) && a.hasMatch() && d.hasMatch())
            o->asked_ = Asked::LineM;
        else if (q.contains(u"直線ACの長さ"_qs))
            o->asked_ = Asked::AC;
        else
            return nullptr;
        // The places, each with what it shows.
        auto add = [&](const QRegularExpressionMatch &m, int g, char what) {
            if (m.hasMatch() && m.hasCaptured(g)) {
                o->slots_.add(m, g);
                o->shows_.push_back(what);
            }
        };
        if (t.captured(1) != u"m")
            add(t, 1, 'e');
        add(t, 2, 'k');
        add(d, 1, 'd');
        add(a, 1, 'a');
        add(p, 1, 'e');
        add(p, 2, 'k');
        add(p, 3, 'd');
        add(p, 4, 'a');
        o->hasD_ = p.hasCaptured(3) || d.hasMatch();
        o->shareKey = u"oneline#"_qs + fieldsAfterHash(q);
        return o;
    }

    QString kind() const override
    {
        switch (asked_) {
        case Asked::OAC:
        case Asked::OAD:
            return u"直線と三角形の面積"_qs;
        case Asked::D:
            return u"面積から点Dを求める"_qs;
        case Asked::LineM:
            return u"面積から直線の式を求める"_qs;
        case Asked::AC:
            return u"直線ACの長さ"_qs;
        }
        return {};
    }

    // Model: slope p, q, the x of A (k), the x of D.
    std::optional<Model> draw(Rng &rng) const override
    {
        const auto m = slopeNear(rng, slope_);
        if (!m)
            return std::nullopt;
        // The x of A a multiple of the denominator, so that A is a lattice point.
        const long long k = m->q * rng.between(m->q == 1 ? 2 : 1, std::max<long long>(1, 12 / m->q));
        Model model{m->p, m->q, k, hasD_ ? rng.between(2, 12) : 0};
        return fits(model) ? std::optional(std::move(model)) : std::nullopt;
    }

    bool fits(const Model &model) const override
    {
        if (model.size() != 4)
            return false;
        const Slope m{model[0], model[1]};
        const long long k = model[2], d = model[3];
        if (m.whole() != slope_.whole() || m.p <= 0 || k < 2 || (m.p * k) % m.q != 0 || (hasD_ && d < 2))
            return false;
        const long long y = m.p * k / m.q;
        if (y < 2 || y > 12 || (k * y) % 2 != 0 || (hasD_ && ((d * y) % 2 != 0 || std::llabs(d - k) < 2)))
            return false;
        std::vector<Box> boxes = {textBox(-0.9, 1.3, u"O"_qs, kLetters)};
        if (asked_ == Asked::OAC || asked_ == Asked::AC) {
            boxes.push_back(textBox(k, y, u"A"_qs, kLetters));
            boxes.push_back(textBox(k, 0, u"C"_qs, kLetters));
        } else {
            boxes.push_back(textBox(k - 1.2, y + 1.2, u"A"_qs, kLetters));
            boxes.push_back(textBox(k, 0, labels::numberItem(k), kLetters));
            boxes.push_back(textBox(k + 0.2, 1.4, u"C"_qs, kLetters));
            boxes.push_back(textBox(d + 0.2, 1.4, u"D"_qs, kLetters));
        }
        return labels::apart(boxes, Plane{-3, 15, 15, -3}, labels::applicationPlaneNumbers(true, true));
    }

    Written write(const Model &model) const override
    {
        const Slope m{model[0], model[1]};
        const long long k = model[2], d = model[3], y = m.p * k / m.q;
        const long long area = asked_ == Asked::OAC ? k * y / 2 : d * y / 2;
        QStringList values;
        for (char what : shows_)
            values << (what == 'e'   ? gen::lineText(m, 0)
                       : what == 'k' ? QString::number(k)
                       : what == 'd' ? QString::number(d)
                                     : QString::number(area));
        QString answer;
        switch (asked_) {
        case Asked::OAC:
        case Asked::OAD:
            answer = gen::measureText(Frac(area));
            break;
        case Asked::D:
            answer = gen::pointText(d, 0);
            break;
        case Asked::LineM:
            answer = gen::lineText(m, 0);
            break;
        case Asked::AC:
            answer = gen::measureText(Frac(y));
            break;
        }
        return {slots_.fill(values), answer};
    }

private:
    OneLine(const QString &q, Slope slope) : slots_(q), slope_(slope) {}
    Slots slots_;
    std::vector<char> shows_;
    Slope slope_;
    Asked asked_ = Asked::OAC;
    bool hasD_ = false;
};

// ---------------------------------------------------------------------------
// "直線y=2xとy=xに引かれたx=4上の直線ABがある。直線ABの長さを求めよ#y=2x,y=x,4"

class TwoLines : public Template {
public:
    TwoLines(const QString &q, const QRegularExpressionMatch &m, Slope first, Slope second)
        : slots_(q), first_(first), second_(second)
    {
        across_ = m.captured(3) == u"y";
        for (int g : {1, 2, 4, 6, 7, 8})
            slots_.add(m, g);
        shareKey = u"twolines#"_qs + fieldsAfterHash(q);
    }
    QString kind() const override { return across_ ? u"二直線の間の横の線分"_qs : u"二直線の間の縦の線分"_qs; }

    // Model: p1, q1, p2, q2, and the x (or y) of the segment.
    std::optional<Model> draw(Rng &rng) const override
    {
        const auto m1 = slopeNear(rng, first_), m2 = slopeNear(rng, second_);
        if (!m1 || !m2)
            return std::nullopt;
        // k a multiple of what makes both ends lattice points: the
        // denominators on x = k, the numerators on y = k.
        const long long step = across_ ? std::lcm(std::llabs(m1->p), std::llabs(m2->p)) : std::lcm(m1->q, m2->q);
        if (step > 12)
            return std::nullopt;
        Model model{m1->p, m1->q, m2->p, m2->q, step * rng.between(step == 1 ? 2 : 1, 12 / step)};
        return fits(model) ? std::optional(std::move(model)) : std::nullopt;
    }

    bool fits(const Model &model) const override
    {
        if (model.size() != 5)
            return false;
        const Slope m1{model[0], model[1]}, m2{model[2], model[3]};
        const long long k = model[4];
        if (m1.whole() != first_.whole() || m2.whole() != second_.whole() || gen::sign(m1.p) != gen::sign(first_.p)
            || gen::sign(m2.p) != gen::sign(second_.p) || !(m2.value() < m1.value()))
            return false;
        if (k < 2)
            return false; // a segment pressed against the origin
        const auto ends = endsOf(m1, m2, k);
        if (!ends)
            return false;
        const auto [x1, y1, x2, y2] = *ends;
        // The plane is centred low when the second line falls.
        const double c = m2.p < 0 ? 3 : 6;
        const Plane plane{c - 9, c + 9, c + 9, c - 9};
        for (double v : {x1, y1, x2, y2})
            if (v < c - 7 || v > c + 7)
                return false; // within the axes, clear of their ends
        if (std::abs(x1 - x2) + std::abs(y1 - y2) < 2)
            return false;
        std::vector<Box> boxes = {textBox(-1, 1.5, u"O"_qs, kLetters)};
        if (across_) {
            boxes.push_back(textBox(x1 - 0.7, y1 + 1.2, u"B"_qs, kLetters));
            boxes.push_back(textBox(x2, y2, u"C"_qs, kLetters));
        } else {
            boxes.push_back(textBox(x1, y1, u"A"_qs, kLetters));
            boxes.push_back(textBox(x2, y2, u"B"_qs, kLetters));
        }
        // Each equation where its line leaves the corner; a line that never
        // does keeps the label where the one before left it.
        const auto at1 = equationPlace(m1, c + 10, 0.01);
        const auto at2 = equationPlace(m2, c + 10, 0.01);
        const std::pair<double, double> p1 = at1.value_or(std::make_pair(0.0, 0.0)), p2 = at2.value_or(p1);
        boxes.push_back(textBox(p1.first, p1.second, gen::lineText(m1, 0), kEquations));
        boxes.push_back(textBox(p2.first, p2.second, gen::lineText(m2, 0), kEquations));
        return labels::apart(visible(boxes, plane), plane, labels::applicationPlaneNumbers(true, true));
    }

    Written write(const Model &model) const override
    {
        const Slope m1{model[0], model[1]}, m2{model[2], model[3]};
        const long long k = model[4];
        const auto [x1, y1, x2, y2] = *endsOf(m1, m2, k);
        const QString l1 = gen::lineText(m1, 0), l2 = gen::lineText(m2, 0), kt = QString::number(k);
        const double length = across_ ? std::abs(x1 - x2) : std::abs(y1 - y2);
        return {slots_.fill({l1, l2, kt, l1, l2, kt}), QString::number(std::llround(length))};
    }

private:
    // The segment's ends, both lattice points: A and B on x = k, or B and C
    // on y = k.
    std::optional<std::array<double, 4>> endsOf(Slope m1, Slope m2, long long k) const
    {
        if (across_) {
            const Frac x1 = Frac(k) / m1.value(), x2 = Frac(k) / m2.value();
            if (!x1.isInt() || !x2.isInt())
                return std::nullopt;
            return std::array<double, 4>{x1.value(), double(k), x2.value(), double(k)};
        }
        const Frac y1 = m1.value() * Frac(k), y2 = m2.value() * Frac(k);
        if (!y1.isInt() || !y2.isInt())
            return std::nullopt;
        return std::array<double, 4>{double(k), y1.value(), double(k), y2.value()};
    }

    Slots slots_;
    Slope first_, second_;
    bool across_ = false;
};

} // namespace

Made application(const QString &q, const QString &)
{
    static const QRegularExpression square(uR"(^(y=[^に]+)に図のようにx=(\d+)から正方形を書きました。(.*)#(y=[^,]+),(\d+)$)"_qs);
    static const QRegularExpression twoLines(
        uR"(直線(y=[^と]+)と(y=[^に]+)に引かれた([xy])=(\d+)上の直線(AB|BC)がある。.*#(y=[^,]+),(y=[^,]+),(\d+)$)"_qs);
    if (const auto m = square.match(q); m.hasMatch()) {
        const auto line = gen::readLine(m.captured(4));
        if (!line || line->b != 0 || line->m.p <= 0)
            return nullptr;
        const QString t = m.captured(3);
        const auto asked = t.contains(u"点Aの座標"_qs)   ? Square::Asked::A
                           : t.contains(u"点Cの座標"_qs) ? Square::Asked::C
                           : t.contains(u"△AOB"_qs)      ? Square::Asked::AOB
                           : t.contains(u"△COD"_qs)      ? Square::Asked::COD
                           : t.contains(u"台形AODC"_qs)  ? Square::Asked::Trapezoid
                           : t.contains(u"原点Oと点Cを通る直線の式"_qs) ? Square::Asked::LineOC
                                                                         : std::optional<Square::Asked>();
        if (!asked)
            return nullptr;
        return std::make_unique<Square>(q, m, line->m, *asked);
    }
    if (const auto m = twoLines.match(q); m.hasMatch()) {
        const auto l1 = gen::readLine(m.captured(6)), l2 = gen::readLine(m.captured(7));
        if (!l1 || !l2 || l1->b != 0 || l2->b != 0 || !q.contains(u"長さを求め"_qs)
            || (m.captured(3) == u"y") != (m.captured(5) == u"BC"))
            return nullptr;
        return std::make_unique<TwoLines>(q, m, l1->m, l2->m);
    }
    if (q.contains(u"上の直線ACがある。"_qs))
        return OneLine::make(q);
    return nullptr;
}

} // namespace variants::families
