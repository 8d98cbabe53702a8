#include "ui/LabelPlacement.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace labels {

QRectF Label::placedAt(QPointF moved) const
{
    QRectF r = ink.translated(-origin);
    r = QRectF(r.topLeft() * scale, r.size() * scale);
    return r.translated(origin + moved);
}

namespace {

QFont fontOf(const CanvasOp &op) { return fonts::twipsFont(op.fontName, op.fontSize, op.bold); }

// A printed item as its font sets it: the same few texts (axis numbers,
// point names) are set out again at every change of a figure, and every
// pointer move on the plane changes it, so each is measured once.
struct Measure {
    double advance, height, ascent;
    QRectF ink; // about the baseline's start
};

Measure measure(const CanvasOp &op)
{
    thread_local std::unordered_map<QString, Measure> known;
    const QFont font = fontOf(op);
    // The font's own description holds the family the name resolved to.
    const QString key = font.key() + QChar(0x1F) + op.text;
    if (const auto found = known.find(key); found != known.end())
        return found->second;
    if (known.size() > 4096)
        known.clear();
    const QFontMetricsF fm(font);
    const Measure m{fm.horizontalAdvance(op.text), fm.height(), fm.ascent(), fm.tightBoundingRect(op.text)};
    known.emplace(key, m);
    return m;
}

// Where a segment lies inside a rectangle, as the parameters t0..t1 along
// it (Liang-Barsky); false when no part of it does.
bool insideRange(const QLineF &l, const QRectF &r, double &t0, double &t1)
{
    const double dx = l.dx(), dy = l.dy();
    t0 = 0;
    t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {l.x1() - r.left(), r.right() - l.x1(), l.y1() - r.top(), r.bottom() - l.y1()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

// The length of a segment that lies inside a rectangle.
double lengthInside(const QLineF &l, const QRectF &r)
{
    double t0, t1;
    return insideRange(l, r, t0, t1) ? (t1 - t0) * l.length() : 0;
}

// The part of a segment inside a rectangle; a null line when none is.
QLineF clipped(const QLineF &l, const QRectF &r)
{
    double t0, t1;
    return insideRange(l, r, t0, t1) ? QLineF(l.pointAt(t0), l.pointAt(t1)) : QLineF();
}

double overlapArea(const QRectF &a, const QRectF &b)
{
    const QRectF c = a.intersected(b);
    return c.isEmpty() ? 0 : c.width() * c.height();
}

// What a line is to a label: the grid, which a halo hides as it may (it is
// everywhere on a grid plane, so no place is better than another for it);
// the axes and their ticks, which a label may hide a little of but would
// rather not; or a stroke of the figure, which it should leave whole.
enum class Role { Grid, Furniture, Figure };

Role roleOf(const CanvasOp &op)
{
    const double extentX = std::abs(op.scale.width), extentY = std::abs(op.scale.height);
    const double lx = std::abs(op.x2 - op.x1), ly = std::abs(op.y2 - op.y1);
    const bool level = ly < 1e-9 && extentX > 0, upright = lx < 1e-9 && extentY > 0;
    if (!level && !upright)
        return Role::Figure;
    const double length = level ? lx : ly, extent = level ? extentX : extentY;
    if (length <= 0.04 * extent)
        return Role::Furniture; // a tick
    if (length < 0.85 * extent)
        return Role::Figure;
    return (level ? op.y1 : op.x1) == 0 ? Role::Furniture : Role::Grid;
}

// A circle or an arc as the segments of a polygon round it.
void addRound(std::vector<QLineF> &out, QPointF c, double r, double startDeg, double spanDeg)
{
    const int n = std::max(8, int(std::ceil(std::abs(spanDeg) / 15)));
    QPointF last;
    for (int i = 0; i <= n; ++i) {
        const double a = (startDeg + spanDeg * i / n) * M_PI / 180;
        // Counter-clockwise on the screen, where y grows downwards.
        const QPointF p(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        if (i > 0)
            out.emplace_back(last, p);
        last = p;
    }
}

constexpr double kFigureWeight = 10;   // per twip of a stroke under a halo
constexpr double kFurnitureWeight = 0.3;
constexpr double kCollisionWeight = 1e4; // per square twip of two labels overlapping

struct Costs {
    double figure = 0, furniture = 0, collision = 0;
    double total(double moved) const
    {
        return kFigureWeight * figure + kFurnitureWeight * furniture + kCollisionWeight * collision + moved;
    }
};

} // namespace

std::vector<Label> labelsOf(const Canvas &canvas, const BoxMap &base)
{
    std::vector<Label> out;
    const auto &ops = canvas.ops();
    double runEnd = 0, runTop = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const CanvasOp &op = ops[i];
        if (op.kind != CanvasOp::Print)
            continue;
        const BoxMap map = base.forOp(op);
        const QPointF at = map(op.x1, op.y1);
        const Measure fm = measure(op);
        const double advance = fm.advance;
        const QRectF ink = fm.ink.translated(at.x(), at.y() + fm.ascent);
        const bool continues = !out.empty() && out.back().ops.back() + 1 == i
                               && std::abs(at.x() - runEnd) < 25 && std::abs(at.y() - runTop) < 25;
        if (continues) {
            Label &r = out.back();
            r.ops.push_back(i);
            r.text += op.text;
            r.width = at.x() + advance - r.origin.x();
            r.height = std::max(r.height, fm.height);
            r.ink = r.ink.isEmpty() ? ink : (ink.isEmpty() ? r.ink : r.ink.united(ink));
        } else {
            Label r;
            if (!out.empty()) {
                const Label &last = out.back();
                const double down = at.y() - last.origin.y();
                r.nextLine = std::abs(at.x() - last.origin.x()) < 2 && down > 0.5 * last.height && down < 1.3 * last.height;
            }
            r.ops = {i};
            r.text = op.text;
            r.origin = at;
            r.width = advance;
            r.height = fm.height;
            r.ink = ink;
            out.push_back(r);
        }
        Label &r = out.back();
        r.pad = std::clamp(r.height * 0.12, 20.0, 60.0);
        runEnd = at.x() + advance;
        runTop = at.y();
    }
    return out;
}

std::vector<Obstacle> obstaclesOf(const Canvas &canvas, const BoxMap &base)
{
    std::vector<Obstacle> out;
    const QRectF box(0, 0, base.w, base.h);
    double width = 15;
    auto add = [&](QLineF l, bool furniture, const std::optional<QRectF> &area) {
        if (l.length() < 1) // a dot: a short stroke across it
            l = QLineF(l.p1() - QPointF(8, 0), l.p1() + QPointF(8, 0));
        QLineF c = clipped(l, box);
        if (!c.isNull() && area)
            c = clipped(c, area->adjusted(-1, -1, 1, 1));
        if (!c.isNull())
            out.push_back({c, furniture, width});
    };
    std::vector<QLineF> round;
    for (const CanvasOp &op : canvas.ops()) {
        const BoxMap map = base.forOp(op);
        const std::optional<QRectF> area = op.area ? std::optional<QRectF>(map.rect(*op.area)) : std::nullopt;
        width = std::max(1, op.width) * 15.0; // as the painter strokes it
        switch (op.kind) {
        case CanvasOp::Line: {
            const Role role = roleOf(op);
            if (role != Role::Grid)
                add(QLineF(map(op.x1, op.y1), map(op.x2, op.y2)), role == Role::Furniture, area);
            break;
        }
        case CanvasOp::Polyline: {
            // Values held far outside the box (a curve near its pole) stay
            // finite. A plotted curve has a point every hundredth of a unit:
            // runs that bend less than a pixel's worth are one segment.
            auto at = [&](QPointF p) {
                const QPointF q = map(p.x(), p.y());
                return QPointF(std::clamp(q.x(), -1e6, 1e6), std::clamp(q.y(), -1e6, 1e6));
            };
            if (op.points.empty())
                break;
            QPointF start = at(op.points.front()), last = start;
            for (std::size_t k = 1; k < op.points.size(); ++k) {
                const QPointF p = at(op.points[k]);
                const QLineF chord(start, p);
                // How far the point before this one lies off the chord.
                const double off = chord.length() > 0
                                       ? std::abs((p.x() - start.x()) * (start.y() - last.y())
                                                  - (start.x() - last.x()) * (p.y() - start.y()))
                                             / chord.length()
                                       : 0;
                if (off > 4 || chord.length() > 600) {
                    add(QLineF(start, last), false, area);
                    start = last;
                }
                last = p;
            }
            add(QLineF(start, last), false, area);
            break;
        }
        case CanvasOp::Box: {
            const QRectF r = map.corners(op);
            add(QLineF(r.topLeft(), r.topRight()), false, {});
            add(QLineF(r.topRight(), r.bottomRight()), false, {});
            add(QLineF(r.bottomRight(), r.bottomLeft()), false, {});
            add(QLineF(r.bottomLeft(), r.topLeft()), false, {});
            break;
        }
        case CanvasOp::Circle:
        case CanvasOp::Arc: {
            round.clear();
            double span = 360;
            double start = 0;
            if (op.kind == CanvasOp::Arc) {
                start = op.start;
                span = op.end - op.start;
                while (span <= 0)
                    span += 360;
            }
            addRound(round, map(op.x1, op.y1), map.radius(op.r), start, span);
            for (const QLineF &l : round)
                add(l, false, {});
            break;
        }
        case CanvasOp::Point: {
            const QPointF p = map(op.x1, op.y1);
            add(QLineF(p - QPointF(8, 0), p + QPointF(8, 0)), false, {});
            break;
        }
        case CanvasOp::Print:
            break;
        }
    }
    return out;
}

namespace {

// Where a label (or a block of lines, as one label) is best shown: where it
// is, moved inward by `in`, unless it falls there on another label or cuts
// a stroke (or covers the plane's furniture more than a small move would);
// then the nearest place where it falls on no other label and cuts the
// fewest strokes: a little aside (within a label's height or so), or wholly
// beside where it was printed.
QPointF bestPlace(const Label &r, QPointF in, const std::vector<Obstacle> &obstacles, const std::vector<QRectF> &shown,
                  QSizeF box, double edge)
{
    const double w = box.width(), h = box.height();
    Label at = r;
    at.shift = in;
    // What lies near enough to matter wherever it may move.
    const double step = std::max(15.0, at.placed().height() * 0.2);
    constexpr int kSteps = 6;
    const QRectF halo0 = at.halo();
    // (the candidates below reach two of its widths or heights away).
    const double reachX = std::max(kSteps * step, 2 * halo0.width() + 4 * step);
    const double reachY = std::max(kSteps * step, 2 * halo0.height() + 4 * step);
    const QRectF reach = halo0.adjusted(-reachX, -reachY, reachX, reachY);
    std::vector<const Obstacle *> near;
    for (const Obstacle &o : obstacles)
        if (QRectF(o.line.p1(), o.line.p2()).normalized().adjusted(-1, -1, 1, 1).intersects(reach))
            near.push_back(&o);
    std::vector<QRectF> nearLabels;
    for (const QRectF &s : shown)
        if (s.intersects(reach))
            nearLabels.push_back(s);

    auto costsAt = [&](QPointF shift) {
        const QRectF halo = r.haloAt(shift);
        const double gap = r.pad / 2;
        const QRectF glyphs = r.placedAt(shift).adjusted(-gap, -gap, gap, gap);
        Costs c;
        // A stroke counts where any of its width (and its smoothed edge)
        // would fall under the halo.
        for (const Obstacle *o : near) {
            const double m = o->width / 2 + 8;
            (o->furniture ? c.furniture : c.figure) += lengthInside(o->line, halo.adjusted(-m, -m, m, m));
        }
        for (const QRectF &s : nearLabels)
            c.collision += overlapArea(glyphs, s);
        return c;
    };
    const Costs here = costsAt(in);
    if (here.figure == 0 && here.furniture == 0 && here.collision == 0)
        return in;
    // How far a place is from where the label was printed: the printed
    // point stands next to what the label names, so a place that still
    // touches it (the label turned to another side of its point) is near,
    // and a place a little aside is nearer than one far away.
    const QPointF printed = r.origin;
    auto away = [&](const QRectF &p, QPointF move) {
        const double dx = std::max({p.left() - printed.x(), 0.0, printed.x() - p.right()});
        const double dy = std::max({p.top() - printed.y(), 0.0, printed.y() - p.bottom()});
        return std::hypot(dx, dy) + 0.25 * std::hypot(move.x(), move.y());
    };
    // Every place is taken down first with how far it is, and tried nearest
    // first: no place costs less than its distance, so once the distance
    // alone reaches the best cost found, none further on can beat it. The
    // one chosen is the one of least cost, the first taken down among equals.
    struct Candidate {
        double distance;
        int order;
        QPointF shift;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(400);
    auto consider = [&](QPointF move) {
        const QPointF shift = in + move;
        const QRectF p2 = r.placedAt(shift);
        if (p2.left() < edge - 0.5 || p2.top() < edge - 0.5 || p2.right() > w - edge + 0.5 || p2.bottom() > h - edge + 0.5)
            return;
        candidates.push_back({away(p2, move), int(candidates.size()), shift});
    };
    // A little aside.
    for (int dy = -kSteps; dy <= kSteps; ++dy)
        for (int dx = -kSteps; dx <= kSteps; ++dx)
            if (dx != 0 || dy != 0)
                consider(QPointF(dx * step, dy * step));
    // On another side of the printed point: a corner or the middle of a
    // side of the label at the point, a few steps off it.
    const QRectF ink = at.placed();
    const double gapX = halo0.width() - ink.width(), gapY = halo0.height() - ink.height();
    for (int sx = -1; sx <= 1; ++sx)
        for (int sy = -1; sy <= 1; ++sy) {
            if (sx == 0 && sy == 0)
                continue;
            for (int g = 0; g <= 4; ++g) {
                const double left = sx < 0 ? printed.x() - ink.width() - gapX / 2 - g * step
                                    : sx > 0 ? printed.x() + gapX / 2 + g * step
                                             : printed.x() - ink.width() / 2;
                const double top = sy < 0 ? printed.y() - ink.height() - gapY / 2 - g * step
                                   : sy > 0 ? printed.y() + gapY / 2 + g * step
                                            : printed.y() - ink.height() / 2;
                consider(QPointF(left, top) - ink.topLeft());
            }
        }
    // Wholly beside: one or two of its own widths or heights away.
    for (int a = -2; a <= 2; ++a)
        for (int d = -2; d <= 2; ++d)
            for (int fine = -3; fine <= 3; ++fine) {
                if (a == 0 && d == 0)
                    continue;
                const double across = a * halo0.width(), down = d * halo0.height();
                consider(QPointF(across + (d != 0 ? fine * step : 0), down + (a != 0 ? fine * step : 0)));
            }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.distance < b.distance || (a.distance == b.distance && a.order < b.order);
    });
    double best = here.total(away(at.placed(), {}));
    QPointF bestShift = in;
    int bestOrder = -1;
    for (const Candidate &c : candidates) {
        if (c.distance > best)
            break;
        const double cost = costsAt(c.shift).total(c.distance);
        if (cost < best || (cost == best && bestOrder >= 0 && c.order < bestOrder)) {
            best = cost;
            bestShift = c.shift;
            bestOrder = c.order;
        }
    }
    return bestShift;
}

} // namespace

void place(std::vector<Label> &labels, const std::vector<Obstacle> &obstacles, QSizeF boxSize, const Options &options)
{
    const double w = boxSize.width(), h = boxSize.height();
    const double edge = options.edge;
    // The same label drawn twice at one place (a figure presented twice)
    // shows once: the later one.
    for (std::size_t i = 0; i < labels.size(); ++i)
        for (std::size_t j = i + 1; j < labels.size(); ++j)
            if (labels[j].text == labels[i].text && std::abs(labels[j].origin.x() - labels[i].origin.x()) < 40
                && std::abs(labels[j].origin.y() - labels[i].origin.y()) < 40) {
                labels[i].hidden = true;
                break;
            }

    if (options.fitBlock) {
        // The block's right and bottom edges; made smaller about the box's
        // top-left corner until both are inside.
        double right = 0, bottom = 0;
        for (const Label &r : labels)
            if (!r.hidden && !r.ink.isEmpty()) {
                right = std::max(right, r.origin.x() + r.width);
                bottom = std::max(bottom, r.origin.y() + r.height);
            }
        double s = 1;
        if (right > w)
            s = std::min(s, (w - edge) / right);
        if (bottom > h)
            s = std::min(s, (h - edge / 2) / bottom);
        s = std::max(s, 0.3);
        for (Label &r : labels) {
            r.scale = s;
            r.shift = r.origin * s - r.origin;
        }
        return;
    }

    std::vector<QRectF> shown;
    if (!options.nudge) {
        for (Label &r : labels) {
            if (r.hidden || r.ink.isEmpty())
                continue;
            // Scaled to fit a box it starts in and runs out of.
            const QPointF o = r.origin;
            if (o.x() >= -1 && o.x() < w && o.y() >= -1 && o.y() < h) {
                double s = 1;
                if (o.x() + r.width > w + 10)
                    s = std::min(s, (w - o.x()) / r.width);
                if (o.y() + r.height > h + 10)
                    s = std::min(s, (h - o.y()) / r.height);
                r.scale = std::clamp(s, 0.55, 1.0);
            }
        }
        return;
    }

    // The lines of one block are placed as one: their glyphs together.
    for (std::size_t first = 0; first < labels.size();) {
        std::size_t last = first + 1;
        while (last < labels.size() && labels[last].nextLine)
            ++last;
        std::vector<Label *> members;
        for (std::size_t k = first; k < last; ++k)
            if (!labels[k].hidden && !labels[k].ink.isEmpty())
                members.push_back(&labels[k]);
        first = last;
        if (members.empty())
            continue;
        // Each line of a block below the one before it, however close the
        // two were printed ("高" over "さ" one unit apart in a large font).
        std::vector<double> drop(members.size(), 0);
        for (std::size_t k = 1; k < members.size(); ++k) {
            const double gap = members[k]->pad / 2;
            const double above = members[k - 1]->ink.bottom() + drop[k - 1];
            drop[k] = std::max(0.0, above + gap - members[k]->ink.top());
        }
        Label r = *members.front();
        for (std::size_t k = 0; k < members.size(); ++k)
            r.ink = r.ink.united(members[k]->ink.translated(0, drop[k]));

        // Larger than the box: made smaller to fit it (a single label).
        if (members.size() == 1)
            r.scale = std::min({1.0, (w - 2 * edge) / std::max(1.0, r.ink.width()),
                                (h - 2 * edge) / std::max(1.0, r.ink.height())});
        QRectF p = r.placed();
        // A label whose middle lies outside the box belongs to what the box
        // does not show (an axis number past the visible plane).
        if (!QRectF(0, 0, w, h).contains(p.center())) {
            for (Label *m : members)
                m->hidden = true;
            continue;
        }
        // Moved inward where it runs over an edge.
        QPointF in;
        if (p.left() < edge)
            in.rx() = edge - p.left();
        else if (p.right() > w - edge)
            in.rx() = std::max(edge - p.left(), w - edge - p.right());
        if (p.top() < edge)
            in.ry() = edge - p.top();
        else if (p.bottom() > h - edge)
            in.ry() = std::max(edge - p.top(), h - edge - p.bottom());
        r.shift = in;
        // A level stroke between the lines of a block is part of what the
        // block writes (a fraction's bar): the block keeps its place by it,
        // and the halos stop short of it.
        std::vector<const Obstacle *> bars;
        if (members.size() > 1)
            for (const Obstacle &o : obstacles) {
                const QRectF span = QRectF(o.line.p1(), o.line.p2()).normalized();
                const double y = span.center().y();
                const bool between = std::any_of(members.begin(), members.end() - 1, [&](const Label *m) {
                    return m->placed().bottom() + in.y() <= y && y <= m->placed().bottom() + in.y() + m->height;
                });
                if (!o.furniture && span.height() < 1 && between && span.left() < r.placed().right() && span.right() > r.placed().left())
                    bars.push_back(&o);
            }
        const QPointF bestShift = bars.empty() ? bestPlace(r, in, obstacles, shown, QSizeF(w, h), edge) : in;
        for (const Obstacle *bar : bars) {
            const double y = bar->line.p1().y(), half = bar->width / 2 + 8;
            for (Label *m : members) {
                Label t = *m;
                t.shift = bestShift;
                if (t.placed().bottom() <= y)
                    m->haloBottom = std::min(m->haloBottom, y - half);
                else if (t.placed().top() >= y)
                    m->haloTop = std::max(m->haloTop, y + half);
            }
        }
        for (std::size_t k = 0; k < members.size(); ++k) {
            Label *m = members[k];
            m->scale = r.scale;
            m->shift = bestShift + QPointF(0, drop[k]);
            shown.push_back(m->placed());
        }
    }
}

std::vector<Label> placeLabels(const Canvas &canvas, const BoxMap &map, const Options &options)
{
    std::vector<Label> out = labelsOf(canvas, map);
    const std::vector<Obstacle> obstacles = options.nudge ? obstaclesOf(canvas, map) : std::vector<Obstacle>{};
    place(out, obstacles, QSizeF(map.w, map.h), options);
    return out;
}

} // namespace labels
