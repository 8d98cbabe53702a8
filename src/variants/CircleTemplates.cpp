// Circles, half circles and sectors. The figure is drawn to no scale (its
// labels give the radius or the angle), so a new question needs only a new
// radius and, for a sector, a new angle: a right angle's multiple stays one
// (90, 180, 270), any other angle becomes another that divides the turn
// nicely. Every measure the question gives or asks is a whole multiple of π
// (or a whole number of degrees), as the bank's are.
#include "variants/Families.h"
#include "variants/Numbers.h"

#include <QRegularExpression>

#include <algorithm>

namespace variants::families {

namespace {

enum class Measure { Radius, Diameter, Circumference, Area, Arc, Angle, Perimeter };

// A circle (a whole turn), a half circle or a sector of r and angle degrees.
struct Circle {
    long long r = 1, angle = 360;
    // Each measure as a multiple of π (radius, diameter and angle plain).
    Frac measure(Measure m) const
    {
        switch (m) {
        case Measure::Radius:
            return Frac(r);
        case Measure::Diameter:
            return Frac(2 * r);
        case Measure::Circumference:
            return Frac(2 * r);
        case Measure::Area:
            return Frac(r * r * angle, 360);
        case Measure::Arc:
            return Frac(r * angle, 180);
        case Measure::Angle:
            return Frac(angle);
        case Measure::Perimeter:
            return Frac(r * angle, 180); // the arc; the two radii are added in writing
        }
        return {};
    }
};

const std::vector<long long> kRightAngles = {90, 180, 270};
// No angle below the bank's 45 degrees: a narrower sector has no room for its
// angle's label between its radii.
const std::vector<long long> kOtherAngles = {45, 60, 72, 120, 135, 144, 150, 210, 216, 225, 240, 300, 315};

struct Place {
    Measure measure;
    bool withPi = false;
};

class CircleTemplate : public Template {
public:
    QString kind() const override
    {
        switch (asked_) {
        case Measure::Radius:
        case Measure::Diameter:
            return u"円の半径・直径"_qs;
        case Measure::Circumference:
            return u"円周"_qs;
        case Measure::Area:
            return sector_ ? u"おうぎ形の面積"_qs : u"円の面積"_qs;
        case Measure::Arc:
            return u"おうぎ形の弧"_qs;
        case Measure::Angle:
            return u"おうぎ形の中心角"_qs;
        case Measure::Perimeter:
            return u"半円のまわり"_qs;
        }
        return {};
    }

    std::optional<Model> draw(Rng &rng) const override
    {
        const long long r = rng.between(2, std::max<long long>(12, original_.r));
        const long long angle = !sector_ ? original_.angle : rng.pick(rightAngle_ ? kRightAngles : kOtherAngles);
        Model m{r, angle};
        return fits(m) ? std::optional(std::move(m)) : std::nullopt;
    }

    bool fits(const Model &m) const override
    {
        if (m.size() != 2 || m[0] < 2)
            return false;
        const Circle c{m[0], m[1]};
        const auto &angles = rightAngle_ ? kRightAngles : kOtherAngles;
        if (sector_ ? std::find(angles.begin(), angles.end(), c.angle) == angles.end() : c.angle != original_.angle)
            return false;
        for (const Place &p : places_)
            if (!fine(c, p))
                return false;
        return fine(c, {asked_, asked_ != Measure::Radius && asked_ != Measure::Diameter && asked_ != Measure::Angle});
    }

    Written write(const Model &m) const override
    {
        const Circle c{m[0], m[1]};
        QStringList values;
        for (const Place &p : places_)
            values << gen::number(c.measure(p.measure));
        QString answer;
        const Frac v = c.measure(asked_);
        switch (asked_) {
        case Measure::Radius:
        case Measure::Diameter:
            answer = gen::number(v);
            break;
        case Measure::Angle:
            answer = gen::number(v) + u"°"_qs;
            break;
        case Measure::Perimeter:
            answer = gen::piText(v.n) + u'+' + QString::number(2 * c.r);
            break;
        default:
            answer = gen::piText(v.n);
        }
        return {slots_.fill(values), answer};
    }

    static Made make(const QString &q);

private:
    // A measure the question shows or asks: whole, and a multiple of π at
    // least 2 (so that it is never written as a bare "π").
    static bool fine(const Circle &c, const Place &p)
    {
        const Frac v = c.measure(p.measure);
        return v.isInt() && v.n >= (p.withPi ? 2 : 1);
    }

    Slots slots_;
    std::vector<Place> places_; // what each slot shows, in the order added
    Circle original_;
    Measure asked_ = Measure::Area;
    bool sector_ = false, rightAngle_ = false;
};

Made CircleTemplate::make(const QString &q)
{
    const qsizetype hash = q.indexOf(u'#');
    const QString text = q.left(hash);
    auto t = std::make_unique<CircleTemplate>();
    t->slots_ = Slots(q);
    t->sector_ = text.contains(u"おうぎ形"_qs);
    const bool half = text.contains(u"半円"_qs);

    // What is asked, in the order that tells the phrases apart.
    if (text.contains(u"中心角を求め"_qs))
        t->asked_ = Measure::Angle;
    else if (text.contains(u"半径を求め"_qs))
        t->asked_ = Measure::Radius;
    else if (text.contains(u"直径を求め"_qs))
        t->asked_ = Measure::Diameter;
    else if (text.contains(u"まわりの長さを求め"_qs))
        t->asked_ = Measure::Perimeter;
    else if (text.contains(u"弧を求め"_qs) || text.contains(u"弧の長さを求め"_qs))
        t->asked_ = Measure::Arc;
    else if (text.contains(u"円周を求め"_qs) || text.contains(u"円周求め"_qs))
        t->asked_ = Measure::Circumference;
    else if (text.contains(u"面積を求め"_qs))
        t->asked_ = Measure::Area;
    else
        return nullptr;

    const auto fields = paramFields(q);
    if (fields.size() < 4)
        return nullptr;
    auto field = [&](size_t i) { return i < fields.size() ? q.mid(fields[i].first, fields[i].second) : QString(); };
    bool ok = false;
    t->original_.r = field(2).toLongLong(&ok);
    if (!ok || t->original_.r < 1)
        return nullptr;

    // The measures the text gives, each a number after its phrase.
    static const QRegularExpression given(uR"((半径が|直径が|円周が|面積[がは]|弧の長さが)(\d+))"_qs);
    std::vector<std::pair<Measure, Frac>> said;
    for (auto it = given.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString phrase = m.captured(1);
        const Measure kind = phrase == u"半径が"   ? Measure::Radius
                             : phrase == u"直径が" ? Measure::Diameter
                             : phrase == u"円周が" ? Measure::Circumference
                             : phrase == u"弧の長さが" ? Measure::Arc
                                                       : Measure::Area;
        t->slots_.add(m, 2);
        t->places_.push_back({kind, kind != Measure::Radius && kind != Measure::Diameter});
        said.emplace_back(kind, Frac(m.captured(2).toLongLong()));
    }

    // The angle: drawn from its two fields, or following from a measure given.
    static const QRegularExpression whole(uR"(^\d+$)"_qs);
    const bool angleFields = t->sector_ && whole.match(field(3)).hasMatch() && whole.match(field(4)).hasMatch();
    if (!t->sector_) {
        t->original_.angle = half ? 180 : 360;
    } else if (angleFields) {
        if (field(3) != u"0")
            return nullptr;
        t->original_.angle = field(4).toLongLong();
    } else {
        const long long r = t->original_.r;
        std::optional<Frac> angle;
        for (const auto &[kind, v] : said) {
            if (kind == Measure::Area)
                angle = v * Frac(360) / Frac(r * r);
            else if (kind == Measure::Arc)
                angle = v * Frac(180) / Frac(r);
        }
        if (!angle || !angle->isInt())
            return nullptr;
        t->original_.angle = angle->n;
    }
    t->rightAngle_ = t->original_.angle % 90 == 0;

    // The figure's radius, its angle, and a measure it carries as "20π",
    // which is one of the measures of the original figure.
    t->slots_.add(fields[2].first, fields[2].second);
    t->places_.push_back({Measure::Radius, false});
    if (angleFields) {
        t->slots_.add(fields[4].first, fields[4].second);
        t->places_.push_back({Measure::Angle, false});
    }
    for (size_t i = 3; i < fields.size(); ++i) {
        const QString f = field(i);
        if (!f.endsWith(u"π"_qs))
            continue;
        const Frac v(f.chopped(1).toLongLong());
        std::vector<Measure> candidates;
        for (const auto &[kind, _] : said)
            if (kind != Measure::Radius && kind != Measure::Diameter)
                candidates.push_back(kind); // a measure in π
        candidates.insert(candidates.end(), {Measure::Circumference, Measure::Area, Measure::Arc});
        const auto match = std::find_if(candidates.begin(), candidates.end(), [&](Measure m) {
            return (m != Measure::Circumference || !t->sector_) && t->original_.measure(m) == v;
        });
        if (match == candidates.end())
            return nullptr;
        t->slots_.add(fields[i].first, fields[i].second - 1);
        t->places_.push_back({*match, true});
    }
    t->shareKey = u"circle#"_qs + q.mid(hash + 1);
    return t;
}

} // namespace

Made circle(const QString &q, const QString &)
{
    if (!q.contains(u'#') || (!q.contains(u"円"_qs) && !q.contains(u"おうぎ形"_qs)) || q.contains(u"正方形"_qs))
        return nullptr;
    return CircleTemplate::make(q);
}

} // namespace variants::families
