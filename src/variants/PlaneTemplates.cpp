// Figures on the coordinate plane: a segment with its length (and, when it
// is slanting, the right triangle under it with the legs AC and BC), and the
// quadrilaterals and triangles whose areas are asked. New corners keep the
// order of the bank's corners along each axis (the leftmost stays leftmost,
// a side along an axis stays along it), a parallelogram stays one, every
// corner is a lattice point within -7..7, and the labels the figure prints
// stay apart and on the plane.
#include "variants/Families.h"
#include "variants/Labels.h"
#include "variants/Numbers.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>

namespace variants::families {

namespace {

using labels::Box;
using labels::pointLabel;
using labels::textBox;

constexpr long long kMost = 7;

// The numeric fields after "#" as places to fill; nothing when one of them
// is not a plain whole number or there are not as many as wanted.
bool numericParams(const QString &q, int wanted, Slots &places, Model &values)
{
    static const QRegularExpression whole(uR"(^-?\d+$)"_qs);
    const auto fields = paramFields(q);
    if (int(fields.size()) != wanted)
        return false;
    for (const auto &[at, length] : fields) {
        const QString f = q.mid(at, length);
        if (!whole.match(f).hasMatch())
            return false;
        places.add(at, length);
        values.push_back(f.toLongLong());
    }
    return true;
}

QStringList texts(const Model &m)
{
    QStringList out;
    for (long long v : m)
        out << QString::number(v);
    return out;
}

// New values for the distinct values of one axis, in the same order:
// value i of the bank's sorted list becomes value i of a sorted draw.
std::map<long long, long long> orderedDraw(Rng &rng, const std::vector<long long> &values)
{
    std::vector<long long> distinct = values;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<long long> drawn;
    while (drawn.size() < distinct.size()) {
        const long long v = rng.between(-kMost, kMost);
        if (std::find(drawn.begin(), drawn.end(), v) == drawn.end())
            drawn.push_back(v);
    }
    std::sort(drawn.begin(), drawn.end());
    std::map<long long, long long> to;
    for (size_t i = 0; i < distinct.size(); ++i)
        to[distinct[i]] = drawn[i];
    return to;
}

// Corners as (x, y) pairs in a flat list, each axis drawn afresh in order.
Model orderedCorners(Rng &rng, const Model &original)
{
    std::vector<long long> xs, ys;
    for (size_t i = 0; i < original.size(); i += 2) {
        xs.push_back(original[i]);
        ys.push_back(original[i + 1]);
    }
    const auto toX = orderedDraw(rng, xs), toY = orderedDraw(rng, ys);
    Model m;
    for (size_t i = 0; i < original.size(); i += 2) {
        m.push_back(toX.at(original[i]));
        m.push_back(toY.at(original[i + 1]));
    }
    return m;
}

// ---------------------------------------------------------------------------

class Segment : public Template {
public:
    Segment(const QString &q, Slots places, Model original) : slots_(std::move(places)), original_(std::move(original))
    {
        asked_ = q.contains(u"直線ACの長さ"_qs) ? u"AC"_qs : q.contains(u"直線BCの長さ"_qs) ? u"BC"_qs : u"AB"_qs;
        shareKey = u"segment#"_qs + q.mid(q.indexOf(u'#') + 1);
    }
    QString kind() const override
    {
        return asked_ == u"AB" ? u"線分の長さ"_qs : u"直角三角形の辺の長さ"_qs;
    }

    std::optional<Model> draw(Rng &rng) const override
    {
        Model m = orderedCorners(rng, original_);
        return fits(m) ? std::optional(std::move(m)) : std::nullopt;
    }

    bool fits(const Model &m) const override
    {
        if (m.size() != 4)
            return false;
        const long long x1 = m[0], y1 = m[1], x2 = m[2], y2 = m[3];
        // A is the end further right (the second end of an upright segment).
        const bool firstIsA = x1 > x2;
        const long long ax = firstIsA ? x1 : x2, ay = firstIsA ? y1 : y2, bx = firstIsA ? x2 : x1, by = firstIsA ? y2 : y1;
        const bool slanting = ax != bx && ay != by;
        if (slanting != (original_[0] != original_[2] && original_[1] != original_[3]))
            return false;
        if (slanting && asked_ == u"AB" && !length(m))
            return false; // only upright or level segments, or whole hypotenuses
        if (std::llabs(ax - bx) == 1 || std::llabs(ay - by) == 1)
            return false; // too short to read its ends apart
        std::vector<Box> boxes = {textBox(ax + 0.2, ay + 0.2, pointLabel(u"A"_qs, ax, ay), 10),
                                  textBox(bx - 3, by + 0.2, pointLabel(u"B"_qs, bx, by), 10)};
        if (slanting)
            boxes.push_back(textBox(ax + 0.4, by + 0.2, u"C"_qs, 10));
        return labels::apart(boxes, labels::kCoordinatePlane, labels::coordinatePlaneMarks());
    }

    Written write(const Model &m) const override
    {
        return {slots_.fill(texts(m)), gen::measureText(*length(m))};
    }

private:
    std::optional<Frac> length(const Model &m) const
    {
        const long long x1 = m[0], y1 = m[1], x2 = m[2], y2 = m[3];
        const bool firstIsA = x1 > x2;
        const long long ax = firstIsA ? x1 : x2, ay = firstIsA ? y1 : y2, bx = firstIsA ? x2 : x1, by = firstIsA ? y2 : y1;
        if (asked_ == u"AC")
            return Frac(std::llabs(ay - by));
        if (asked_ == u"BC")
            return Frac(std::llabs(ax - bx));
        const long long squared = (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
        return squareRoot(Frac(squared));
    }

    Slots slots_;
    Model original_;
    QString asked_;
};

// ---------------------------------------------------------------------------

class Polygon : public Template {
public:
    Polygon(const QString &q, Slots places, Model original) : slots_(std::move(places)), original_(std::move(original))
    {
        corners_ = int(original_.size()) / 2;
        parallelogram_ = corners_ == 4 && original_[0] + original_[4] == original_[2] + original_[6]
                         && original_[1] + original_[5] == original_[3] + original_[7];
        shareKey = u"polygon#"_qs + q.mid(q.indexOf(u'#') + 1);
    }
    QString kind() const override { return corners_ == 4 ? u"四角形の面積"_qs : u"三角形の面積"_qs; }

    std::optional<Model> draw(Rng &rng) const override
    {
        Model m = orderedCorners(rng, original_);
        return fits(m) ? std::optional(std::move(m)) : std::nullopt;
    }

    bool fits(const Model &m) const override
    {
        if (m.size() != original_.size())
            return false;
        if (parallelogram_ && (m[0] + m[4] != m[2] + m[6] || m[1] + m[5] != m[3] + m[7]))
            return false;
        const long long twice = twiceArea(m);
        if (twice == 0 || twice % 2 != 0)
            return false; // a flat figure, or an area of a half
        // No splinter: every side 2 long at least, and a triangle at least
        // 2 high over its longest side.
        double longest = 0;
        for (int i = 0; i < corners_; ++i) {
            const int j = (i + 1) % corners_;
            const double dx = double(m[size_t(2 * j)] - m[size_t(2 * i)]), dy = double(m[size_t(2 * j + 1)] - m[size_t(2 * i + 1)]);
            const double side = std::sqrt(dx * dx + dy * dy);
            if (side < 2)
                return false;
            longest = std::max(longest, side);
        }
        if (corners_ == 3 && double(twice) / longest < 2)
            return false;
        return labels::apart(labelBoxes(m), labels::kCoordinatePlane, labels::coordinatePlaneMarks());
    }

    Written write(const Model &m) const override
    {
        return {slots_.fill(texts(m)), gen::measureText(Frac(twiceArea(m), 2))};
    }

private:
    // The shoelace formula over the corners in the order they are joined.
    long long twiceArea(const Model &m) const
    {
        long long sum = 0;
        for (int i = 0; i < corners_; ++i) {
            const int j = (i + 1) % corners_;
            sum += m[size_t(2 * i)] * m[size_t(2 * j + 1)] - m[size_t(2 * j)] * m[size_t(2 * i + 1)];
        }
        return std::llabs(sum);
    }

    // Where the figure prints each corner's name and coordinates.
    std::vector<Box> labelBoxes(const Model &m) const
    {
        const long long xA = m[0], yA = m[1], xB = m[2], yB = m[3], xC = m[4], yC = m[5];
        if (corners_ == 4) {
            const long long xD = m[6], yD = m[7];
            return {textBox(xA - 3, yA, pointLabel(u"A"_qs, xA, yA), 10),
                    textBox(xC + 0.6, yC + 0.2, pointLabel(u"C"_qs, xC, yC), 10),
                    textBox(xB - 3.1, yB + 0.8, pointLabel(u"B"_qs, xB, yB), 10),
                    textBox(xD + 0.2, yD + 0.8, pointLabel(u"D"_qs, xD, yD), 10)};
        }
        return {textBox(xC + 0.6, yC + 0.2, pointLabel(u"C"_qs, xC, yC), 10),
                textBox(xB + 0.4, yB - 0.1, pointLabel(u"B"_qs, xB, yB), 10),
                yA == 0 ? textBox(xA + 0.4, yA - 0.1, pointLabel(u"A"_qs, xA, yA), 10)
                        : textBox(xA - 0.8, yA + 0.2, pointLabel(u"A"_qs, xA, yA), 10)};
    }

    Slots slots_;
    Model original_;
    int corners_ = 3;
    bool parallelogram_ = false;
};

} // namespace

Made segment(const QString &q, const QString &)
{
    static const QRegularExpression asked(uR"(直線(?:AB|AC|BC)の長さを求め)"_qs);
    if (!q.contains(u'#') || !asked.match(q).hasMatch() || q.contains(u"上の直線"_qs))
        return nullptr;
    Slots places(q);
    Model values;
    if (!numericParams(q, 4, places, values))
        return nullptr;
    return std::make_unique<Segment>(q, std::move(places), std::move(values));
}

Made polygon(const QString &q, const QString &)
{
    if (!q.contains(u'#') || !q.contains(u"面積を求め"_qs))
        return nullptr;
    const int corners = q.contains(u"四角形"_qs) ? 4 : q.contains(u"三角形"_qs) ? 3 : 0;
    if (corners == 0)
        return nullptr;
    Slots places(q);
    Model values;
    if (!numericParams(q, 2 * corners, places, values))
        return nullptr;
    return std::make_unique<Polygon>(q, std::move(places), std::move(values));
}

} // namespace variants::families
