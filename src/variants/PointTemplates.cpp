// Points on the coordinate sets: a point to plot as given, its mirror image
// in an axis or the origin, the midpoint of two points, a point moved along
// an axis; and a point marked on the plane whose coordinates are read off.
// Every new point keeps the signs of the bank's (a point in the second
// quadrant stays there, a point on an axis stays on it) and lies on the
// grid the learner clicks, within -7..7 so it never sits on the plane's rim.
#include "variants/Families.h"
#include "variants/Numbers.h"

#include <QRegularExpression>

#include <algorithm>

namespace variants::families {

namespace {

using gen::like;
using gen::sign;

constexpr long long kMost = 7; // a point to click or read: -7..7

bool onPlane(long long v) { return std::llabs(v) <= kMost; }

enum class Plot { Given, Mirror, Midpoint, Moved };

class PointPlot : public Template {
public:
    PointPlot(Plot how, const QString &question, const QRegularExpressionMatch &m, std::vector<int> groups)
        : how_(how), slots_(question)
    {
        for (int g : groups) {
            slots_.add(m, g);
            original_.push_back(m.captured(g).toLongLong());
        }
        if (how == Plot::Mirror)
            axis_ = m.captured(3);
        if (how == Plot::Moved) {
            axis_ = m.captured(3);
            step_ = m.captured(4) == u"正" ? 1 : -1;
        }
        // The figures in the text may lie off the plane (a midpoint of two
        // far points); new ones stay within the bank's own reach.
        for (long long v : original_)
            reach_ = std::max(reach_, std::llabs(v));
        const Model answer = answerOf(original_);
        answerSigns_ = {sign(answer[0]), sign(answer[1])};
    }

    QString kind() const override
    {
        switch (how_) {
        case Plot::Given:
            return u"点を書く"_qs;
        case Plot::Mirror:
            return u"対称な点を書く"_qs;
        case Plot::Midpoint:
            return u"中点を書く"_qs;
        case Plot::Moved:
            return u"移動した点を書く"_qs;
        }
        return {};
    }

    std::optional<Model> draw(Rng &rng) const override
    {
        Model m;
        switch (how_) {
        case Plot::Given:
        case Plot::Mirror:
            m = {like(rng, original_[0], kMost), like(rng, original_[1], kMost)};
            break;
        case Plot::Midpoint: {
            // The midpoint first, then the half-way step from it to each point.
            const long long mx = like(rng, answerSigns_[0], kMost), my = like(rng, answerSigns_[1], kMost);
            // A point on an axis stays on it: its step is the one that gets there.
            auto step = [&](long long mid, long long first, long long second) {
                return first == second ? 0 : first == 0 ? -mid : second == 0 ? mid : rng.between(-reach_, reach_);
            };
            const long long hx = step(mx, original_[0], original_[2]), hy = step(my, original_[1], original_[3]);
            m = {mx + hx, my + hy, mx - hx, my - hy};
            if (hx == 0 && hy == 0)
                return std::nullopt;
            break;
        }
        case Plot::Moved:
            m = {like(rng, original_[0], kMost), like(rng, original_[1], kMost), rng.between(1, 6)};
            break;
        }
        for (size_t i = 0; i < m.size(); ++i)
            if (sign(m[i]) != sign(original_[i]) || std::llabs(m[i]) > reach_)
                return std::nullopt;
        const Model a = answerOf(m);
        if (!onPlane(a[0]) || !onPlane(a[1]) || sign(a[0]) != answerSigns_[0] || sign(a[1]) != answerSigns_[1])
            return std::nullopt;
        return m;
    }

    Written write(const Model &m) const override
    {
        QStringList values;
        for (long long v : m)
            values << QString::number(v);
        const Model a = answerOf(m);
        return {slots_.fill(values), gen::pointText(a[0], a[1])};
    }

private:
    Model answerOf(const Model &m) const
    {
        switch (how_) {
        case Plot::Given:
            return {m[0], m[1]};
        case Plot::Mirror:
            return {axis_ == u"x軸" ? m[0] : -m[0], axis_ == u"y軸" ? m[1] : -m[1]};
        case Plot::Midpoint:
            return {(m[0] + m[2]) / 2, (m[1] + m[3]) / 2};
        case Plot::Moved:
            return {m[0] + (axis_ == u"x" ? step_ * m[2] : 0), m[1] + (axis_ == u"y" ? step_ * m[2] : 0)};
        }
        return {0, 0};
    }

    Plot how_;
    Slots slots_;
    Model original_;
    QString axis_;
    long long step_ = 1;
    long long reach_ = 8;
    std::vector<int> answerSigns_;
};

// The plane marks a point (or the point whose mirror image is asked); the
// question's text has no numbers, only its answer changes.
class PointRead : public Template {
public:
    PointRead(const QString &question, long long x, long long y) : question_(question), x_(x), y_(y) {}
    QString kind() const override
    {
        return question_.contains(u"対称"_qs) ? u"対称な点の座標を読む"_qs : u"点の座標を読む"_qs;
    }
    std::optional<Model> draw(Rng &rng) const override
    {
        return Model{like(rng, x_, kMost), like(rng, y_, kMost)};
    }
    Written write(const Model &m) const override { return {question_, gen::pointText(m[0], m[1])}; }

private:
    QString question_;
    long long x_, y_;
};

} // namespace

Made pointToPlot(const QString &q, const QString &)
{
    static const QString p = uR"(\((-?\d+),(-?\d+)\))"_qs;
    static const QRegularExpression mirror(u"点"_qs + p + u"点?の(x軸|y軸|原点)対称な点を書き"_qs);
    static const QRegularExpression midpoint(u"点"_qs + p + p + u"の中点を書き"_qs);
    static const QRegularExpression moved(u"点"_qs + p + u"を([xy])軸の(正|負)の方向に(\\d+)移動した点を書き"_qs);
    static const QRegularExpression given(u"^点?"_qs + p + u"の点を書き"_qs);
    if (auto m = mirror.match(q); m.hasMatch())
        return std::make_unique<PointPlot>(Plot::Mirror, q, m, std::vector<int>{1, 2});
    if (auto m = midpoint.match(q); m.hasMatch())
        return std::make_unique<PointPlot>(Plot::Midpoint, q, m, std::vector<int>{1, 2, 3, 4});
    if (auto m = moved.match(q); m.hasMatch())
        return std::make_unique<PointPlot>(Plot::Moved, q, m, std::vector<int>{1, 2, 5});
    if (auto m = given.match(q); m.hasMatch())
        return std::make_unique<PointPlot>(Plot::Given, q, m, std::vector<int>{1, 2});
    return nullptr;
}

Made pointToRead(const QString &q, const QString &a)
{
    static const QRegularExpression question(uR"(^(?:ここの|この)点の(?:(?:x軸|y軸|原点)対称な点の)?[xy]?座標を求め[^0-9#]*$)"_qs);
    static const QRegularExpression point(uR"(^\((-?\d+),(-?\d+)\)$)"_qs);
    const auto m = point.match(a);
    if (!question.match(q).hasMatch() || !m.hasMatch())
        return nullptr;
    return std::make_unique<PointRead>(q, m.captured(1).toLongLong(), m.captured(2).toLongLong());
}

} // namespace variants::families
