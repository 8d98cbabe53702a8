// Lines and inverse proportions: a graph to read off the plane, a graph to
// draw (named by its equation, in general form, or described in words), a
// line whose equation is asked from words, and a point of a line with one
// coordinate hidden. A new line keeps the kind of the bank's: the sign of
// its slope, a whole slope stays whole and a fraction a fraction, an
// intercept keeps its sign (none stays none); an unknown part stays the
// letter a or b. A graph to read or draw crosses the grid at two lattice
// points at least, where the learner reads or clicks it.
#include "variants/Families.h"
#include "variants/Numbers.h"

#include <QRegularExpression>

#include <algorithm>

namespace variants::families {

namespace {

using gen::like;
using gen::LineText;
using gen::Slope;
using gen::sign;

std::optional<Slope> slopeNear(Rng &rng, Slope original)
{
    const long long p = std::llabs(original.p);
    return gen::slopeLike(rng, original, std::max<long long>(6, p), std::max<long long>(5, p),
                          std::max<long long>(5, original.q));
}

std::optional<long long> inverseConstant(const QString &equation)
{
    static const QRegularExpression re(uR"(^y=(-?\d+)/x$)"_qs);
    const auto m = re.match(equation);
    if (!m.hasMatch() || m.captured(1).toLongLong() == 0)
        return std::nullopt;
    return m.captured(1).toLongLong();
}

// A graph of the same kind as the bank's, as the numbers of a model:
// {k} for y = k/x, {p, q, b} for a line.
class Curves {
public:
    explicit Curves(const QString &equation)
    {
        if (const auto k = inverseConstant(equation)) {
            inverse_ = true;
            k_ = *k;
            valid_ = true;
        } else if (const auto l = gen::readLine(equation)) {
            line_ = *l;
            valid_ = true;
        }
    }
    bool valid() const { return valid_; }
    bool inverse() const { return inverse_; }

    std::optional<Model> draw(Rng &rng) const
    {
        if (inverse_) {
            const long long k = like(rng, k_, std::max<long long>(24, std::llabs(k_)));
            if (std::llabs(k) < 2 || gen::latticePointsInverse(k) < 2)
                return std::nullopt;
            return Model{k};
        }
        const auto m = slopeNear(rng, line_.m);
        if (!m)
            return std::nullopt;
        const long long b = like(rng, line_.b, std::max<long long>(8, std::llabs(line_.b)));
        if (gen::latticePoints(*m, b) < 2)
            return std::nullopt;
        return Model{m->p, m->q, b};
    }

    // Level 1: the slope's sign is free. Level 2: a whole slope becomes a
    // fraction, and fractions may reach 8 above and below the bar (a bank of
    // fifty lines y = ax needs fifty slopes, and there are sixteen whole ones). Only lines through the
    // origin have so few forms; a line with an intercept has plenty.
    int looserLevels() const { return !inverse_ && line_.b == 0 ? 2 : 0; }
    std::optional<Model> drawLoosely(Rng &rng, int level) const
    {
        Slope original = line_.m;
        if (rng.coin())
            original.p = -original.p;
        if (level >= 2 && original.whole())
            original = Slope{original.p, 2};
        const auto m = level >= 2 ? gen::slopeLike(rng, original, 8, 8, 8) : slopeNear(rng, original);
        if (!m || gen::latticePoints(*m, 0) < 2)
            return std::nullopt;
        return Model{m->p, m->q, 0};
    }

    static QString text(const Model &m)
    {
        return m.size() == 1 ? gen::inverseText(m[0]) : gen::lineText(Slope{m[0], m[1]}, m[2]);
    }

private:
    bool valid_ = false, inverse_ = false;
    long long k_ = 0;
    LineText line_;
};

// "このグラフの式を求めてください。": the plane shows the graph of the answer.
class GraphRead : public Template {
public:
    GraphRead(const QString &q, const QString &a) : question_(q), curves_(a) {}
    bool valid() const { return curves_.valid(); }
    QString kind() const override { return curves_.inverse() ? u"反比例のグラフを読む"_qs : u"直線のグラフを読む"_qs; }
    std::optional<Model> draw(Rng &rng) const override { return curves_.draw(rng); }
    int looserLevels() const override { return curves_.looserLevels(); }
    std::optional<Model> drawLoosely(Rng &rng, int level) const override { return curves_.drawLoosely(rng, level); }
    Written write(const Model &m) const override { return {question_, Curves::text(m)}; }

private:
    QString question_;
    Curves curves_;
};

// " y=2x のグラフを書いてください。": the equation in the text is the answer.
class GraphDraw : public Template {
public:
    GraphDraw(const QString &q, const QRegularExpressionMatch &m) : slots_(q), curves_(m.captured(2))
    {
        slots_.add(m, 2);
    }
    bool valid() const { return curves_.valid(); }
    QString kind() const override { return u"式のグラフを書く"_qs; }
    std::optional<Model> draw(Rng &rng) const override { return curves_.draw(rng); }
    int looserLevels() const override { return curves_.looserLevels(); }
    std::optional<Model> drawLoosely(Rng &rng, int level) const override { return curves_.drawLoosely(rng, level); }
    Written write(const Model &m) const override
    {
        const QString e = Curves::text(m);
        return {slots_.fill({e}), e};
    }

private:
    Slots slots_;
    Curves curves_;
};

// "3x-5y-15=0 のグラフを書いて。": each term keeps its sign and its place,
// a coefficient of 1 (written as a bare x or y) stays 1.
class GeneralForm : public Template {
public:
    struct Term {
        int sign = 1, side = 0; // side 1: right of "="
        QChar letter;           // 'x', 'y' or none
        long long size = 0;
    };

    GeneralForm(const QString &q, const QRegularExpressionMatch &m, const LineText &answer) : slots_(q), answer_(answer)
    {
        static const QRegularExpression term(uR"(([+-]?)(\d*)([xy]?))"_qs);
        const QString e = m.captured(2);
        const qsizetype base = m.capturedStart(2);
        int side = 0;
        for (qsizetype at = 0; at < e.size();) {
            if (e[at] == u'=') {
                if (side == 1)
                    return;
                side = 1;
                ++at;
                continue;
            }
            const auto t = term.match(e, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (!t.hasMatch() || t.capturedLength() == 0 || (t.captured(2).isEmpty() && t.captured(3).isEmpty()))
                return;
            Term k;
            k.sign = t.captured(1) == u"-" ? -1 : 1;
            k.side = side;
            k.letter = t.captured(3).isEmpty() ? QChar() : t.captured(3)[0];
            k.size = t.captured(2).isEmpty() ? 1 : t.captured(2).toLongLong();
            slots_.add(base + t.capturedStart(2), t.capturedLength(2));
            terms_.push_back(k);
            at += t.capturedLength();
        }
        valid_ = side == 1 && !terms_.empty();
    }
    bool valid() const { return valid_; }
    QString kind() const override { return u"一般形のグラフを書く"_qs; }

    std::optional<Model> draw(Rng &rng) const override
    {
        Model m;
        for (const Term &t : terms_) {
            if (t.size == 0 || (t.size == 1 && !t.letter.isNull()))
                m.push_back(t.size); // "=0" stays, a bare x or y stays bare
            else
                m.push_back(rng.between(t.letter.isNull() ? 1 : 2, std::max<long long>(9, t.size)));
        }
        const auto l = lineOf(m);
        if (!l || l->m.whole() != answer_.m.whole() || sign(l->m.p) != sign(answer_.m.p) || sign(l->b) != sign(answer_.b)
            || std::llabs(l->b) > std::max<long long>(8, std::llabs(answer_.b)) || gen::latticePoints(l->m, l->b) < 2)
            return std::nullopt;
        return m;
    }

    Written write(const Model &m) const override
    {
        QStringList values;
        for (size_t i = 0; i < terms_.size(); ++i)
            values << (m[i] == 1 && !terms_[i].letter.isNull() ? QString() : QString::number(m[i]));
        const auto l = lineOf(m);
        return {slots_.fill(values), gen::lineText(l->m, l->b)};
    }

private:
    // a x + b y + c = 0, solved for y; nothing when it is no such line with
    // a whole intercept.
    std::optional<LineText> lineOf(const Model &m) const
    {
        long long a = 0, b = 0, c = 0;
        for (size_t i = 0; i < terms_.size(); ++i) {
            const long long v = terms_[i].sign * m[i] * (terms_[i].side == 1 ? -1 : 1);
            (terms_[i].letter == u'x' ? a : terms_[i].letter == u'y' ? b : c) += v;
        }
        if (b == 0 || a == 0)
            return std::nullopt;
        const Frac slope(-a, b), intercept(-c, b);
        if (!intercept.isInt())
            return std::nullopt;
        return LineText{Slope{slope.n, slope.d}, intercept.n};
    }

    Slots slots_;
    std::vector<Term> terms_;
    LineText answer_;
    bool valid_ = false;
};

// " y=-2/3x の上の点(□,4)のx座標を求めて。"
class PointOnLine : public Template {
public:
    PointOnLine(const QString &q, const QRegularExpressionMatch &m, const LineText &line, Frac answer)
        : slots_(q), line_(line), answer_(answer)
    {
        hideX_ = m.captured(7) == u"x";
        slots_.add(m, 2);
        slots_.add(m, hideX_ ? 5 : 4);
        given_ = m.captured(hideX_ ? 5 : 4).toLongLong();
    }
    QString kind() const override { return u"直線上の点の座標"_qs; }

    std::optional<Model> draw(Rng &rng) const override
    {
        const auto m = slopeNear(rng, line_.m);
        if (!m)
            return std::nullopt;
        const long long b = like(rng, line_.b, std::max<long long>(8, std::llabs(line_.b)));
        const long long v = like(rng, given_, std::max<long long>(8, std::llabs(given_)));
        const Model model{m->p, m->q, b, v};
        const Frac a = answerOf(model);
        if (a.isInt() != answer_.isInt() || a.d > 9 || sign(a.n) != sign(answer_.n)
            || std::max(a.abs().value(), 1.0) > std::max(8.0, answer_.abs().value()))
            return std::nullopt;
        return model;
    }

    Written write(const Model &m) const override
    {
        return {slots_.fill({gen::lineText(Slope{m[0], m[1]}, m[2]), QString::number(m[3])}), gen::number(answerOf(m))};
    }

private:
    Frac answerOf(const Model &m) const
    {
        const Frac slope(m[0], m[1]), b(m[2]), v(m[3]);
        return hideX_ ? (v - b) / slope : slope * v + b;
    }

    Slots slots_;
    LineText line_;
    Frac answer_;
    long long given_ = 0;
    bool hideX_ = false;
};

// A line given in words: its slope (as a number, a rate of change, a line it
// is parallel to, or how far y goes when x goes on), its intercept, points
// on it. The line's new numbers are drawn first; every clue is then written
// from them, so the clues always agree with one another.
class DescribedLine : public Template {
public:
    enum class Clue { Slope, Increase, Intercept, Parallel, Point };

    static std::unique_ptr<DescribedLine> make(const QString &q, const QString &a)
    {
        static const QRegularExpression answer(uR"(^y=(-?)(a|\d*(?:/\d+)?)x(?:([+-])(b|\d+))?$)"_qs);
        const auto am = answer.match(a);
        if (!am.hasMatch() || am.captured(2).startsWith(u'/') || q.contains(u"減少"_qs))
            return nullptr;
        auto t = std::unique_ptr<DescribedLine>(new DescribedLine(q));
        if (am.captured(2) != u"a") {
            const auto l = gen::readLine(u"y="_qs + am.captured(1) + am.captured(2) + u'x');
            if (!l)
                return nullptr;
            t->slope_ = l->m;
        } else if (!am.captured(1).isEmpty()) {
            return nullptr;
        }
        if (am.captured(4) != u"b")
            t->intercept_ = am.captured(4).isEmpty() ? 0 : (am.captured(3) == u"-" ? -1 : 1) * am.captured(4).toLongLong();

        struct Found {
            qsizetype at;
            Clue clue;
            QRegularExpressionMatch m;
        };
        std::vector<Found> found;
        static const struct {
            Clue clue;
            QRegularExpression re;
        } patterns[] = {
            {Clue::Slope, QRegularExpression(uR"((?:傾きが|変化の割合が)(-?\d+(?:/\d+)?))"_qs)},
            {Clue::Increase, QRegularExpression(uR"(xが(\d+)増加すると、yは(\d+)増加)"_qs)},
            {Clue::Intercept, QRegularExpression(uR"(切片が(-?\d+))"_qs)},
            {Clue::Parallel, QRegularExpression(uR"((y=[-+/0-9x]+)\s*に平行)"_qs)},
            {Clue::Point, QRegularExpression(uR"(\((-?\d+),(-?\d+)\))"_qs)},
            {Clue::Point, QRegularExpression(uR"(x=(-?\d+)\s*のとき\s*y=(-?\d+))"_qs)},
        };
        for (const auto &p : patterns)
            for (auto it = p.re.globalMatch(q); it.hasNext();) {
                const auto m = it.next();
                found.push_back({m.capturedStart(), p.clue, m});
            }
        std::sort(found.begin(), found.end(), [](const Found &x, const Found &y) { return x.at < y.at; });
        if (found.empty())
            return nullptr;
        for (const Found &f : found) {
            t->clues_.push_back(f.clue);
            switch (f.clue) {
            case Clue::Slope:
            case Clue::Intercept:
                t->slots_.add(f.m, 1);
                break;
            case Clue::Increase:
            case Clue::Point:
                t->slots_.add(f.m, 1);
                t->slots_.add(f.m, 2);
                t->points_.push_back({f.m.captured(1).toLongLong(), f.m.captured(2).toLongLong()});
                break;
            case Clue::Parallel: {
                t->slots_.add(f.m, 1);
                const auto l = gen::readLine(f.m.captured(1));
                if (!l)
                    return nullptr;
                t->parallel_ = l->b;
                t->hasParallel_ = true;
                break;
            }
            }
            // A clue the line's own numbers cannot write.
            if (!t->slope_ && (f.clue == Clue::Slope || f.clue == Clue::Increase || f.clue == Clue::Parallel))
                return nullptr;
            if (!t->intercept_ && (f.clue == Clue::Intercept || f.clue == Clue::Point))
                return nullptr;
        }
        for (size_t i = 0; i < t->clues_.size(); ++i)
            if (t->clues_[i] == Clue::Point && !t->slope_ && t->pointAt(i).first != 0)
                return nullptr;
        return t;
    }

    QString kind() const override
    {
        return drawing_ ? u"言葉で決まるグラフを書く"_qs : u"直線の式を求める"_qs;
    }

    // Model: slope p, q, intercept b, the parallel line's intercept, then
    // the x of each point.
    std::optional<Model> draw(Rng &rng) const override
    {
        Slope m{1, 1};
        if (slope_) {
            const auto s = slopeNear(rng, *slope_);
            if (!s)
                return std::nullopt;
            m = *s;
        }
        const long long b = intercept_ ? like(rng, *intercept_, std::max<long long>(8, std::llabs(*intercept_))) : 0;
        const long long parallel = like(rng, parallel_, std::max<long long>(8, std::llabs(parallel_)));
        if (hasParallel_ && intercept_ && parallel == b)
            return std::nullopt; // a line is not parallel to itself
        Model model{m.p, m.q, b, parallel};
        for (size_t i = 0; i < clues_.size(); ++i) {
            if (clues_[i] != Clue::Point)
                continue;
            const auto [x, y] = pointAt(i);
            const long long nx = like(rng, x, std::max<long long>(8, std::llabs(x)));
            const Frac ny = Frac(m.p, m.q) * Frac(nx) + Frac(b);
            if (!ny.isInt() || std::llabs(ny.n) > std::max<long long>(9, std::llabs(y)))
                return std::nullopt;
            for (size_t k = 4; k < model.size(); ++k)
                if (model[k] == nx)
                    return std::nullopt; // two points with one x name no line
            model.push_back(nx);
        }
        if (drawing_ && (!slope_ || !intercept_ || gen::latticePoints(m, b) < 2))
            return std::nullopt;
        return model;
    }

    Written write(const Model &model) const override
    {
        const Slope m{model[0], model[1]};
        const long long b = model[2];
        QStringList values;
        size_t point = 4;
        for (Clue c : clues_) {
            switch (c) {
            case Clue::Slope:
                values << gen::slopeText(m);
                break;
            case Clue::Increase:
                values << QString::number(m.q) << QString::number(std::llabs(m.p));
                break;
            case Clue::Intercept:
                values << QString::number(b);
                break;
            case Clue::Parallel:
                values << gen::lineText(m, model[3]);
                break;
            case Clue::Point: {
                const long long x = model[point++];
                values << QString::number(x) << gen::number(Frac(m.p, m.q) * Frac(x) + Frac(b));
                break;
            }
            }
        }
        const QString answer = gen::lineWithLetters(slope_ ? std::optional(m) : std::nullopt,
                                                    intercept_ ? std::optional(b) : std::nullopt);
        return {slots_.fill(values), answer};
    }

private:
    explicit DescribedLine(const QString &q) : slots_(q) { drawing_ = q.contains(u"グラフを書いて"_qs); }

    // The bank's point of clue i (a point or an increase, counted in order).
    std::pair<long long, long long> pointAt(size_t clue) const
    {
        size_t n = 0;
        for (size_t i = 0; i < clue; ++i)
            n += clues_[i] == Clue::Point || clues_[i] == Clue::Increase;
        return points_[n];
    }

    Slots slots_;
    std::vector<Clue> clues_;
    std::vector<std::pair<long long, long long>> points_; // of the points and increases, in order
    std::optional<Slope> slope_;
    std::optional<long long> intercept_;
    long long parallel_ = 0;
    bool hasParallel_ = false, drawing_ = false;
};

bool hasDigit(const QString &s)
{
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

Made graphToRead(const QString &q, const QString &a)
{
    if (!q.contains(u"グラフの式を求め"_qs) || hasDigit(q) || q.contains(u'#'))
        return nullptr;
    auto t = std::make_unique<GraphRead>(q, a);
    return t->valid() ? std::move(t) : nullptr;
}

Made graphToDraw(const QString &q, const QString &a)
{
    static const QRegularExpression named(uR"(^(\s*)(y=[^の\s]+)(\s*のグラフを書いて))"_qs);
    static const QRegularExpression general(uR"(^(\s*)([-+0-9xy=]+)(\s*のグラフを書いて))"_qs);
    if (const auto m = named.match(q); m.hasMatch()) {
        if (m.captured(2) != a)
            return nullptr;
        auto t = std::make_unique<GraphDraw>(q, m);
        return t->valid() ? std::move(t) : nullptr;
    }
    if (const auto m = general.match(q); m.hasMatch()) {
        const auto l = gen::readLine(a);
        if (!l)
            return nullptr;
        auto t = std::make_unique<GeneralForm>(q, m, *l);
        return t->valid() ? std::move(t) : nullptr;
    }
    return nullptr;
}

Made pointOnLine(const QString &q, const QString &a)
{
    static const QRegularExpression re(
        uR"(^(\s*)(y=\S+)(\s+の上の点\()(□|-?\d+),(□|-?\d+)(\)の([xy])座標を求め))"_qs);
    const auto m = re.match(q);
    if (!m.hasMatch())
        return nullptr;
    const bool hideX = m.captured(7) == u"x";
    if (m.captured(hideX ? 4 : 5) != u"□" || m.captured(hideX ? 5 : 4) == u"□")
        return nullptr;
    const auto line = gen::readLine(m.captured(2));
    const auto answer = parseFrac(a);
    if (!line || !answer)
        return nullptr;
    return std::make_unique<PointOnLine>(q, m, *line, *answer);
}

Made describedLine(const QString &q, const QString &a)
{
    if (q.contains(u'#') || (!q.contains(u"グラフを書いて"_qs) && !q.contains(u"直線の式を求め"_qs)))
        return nullptr;
    return DescribedLine::make(q, a);
}

} // namespace variants::families
