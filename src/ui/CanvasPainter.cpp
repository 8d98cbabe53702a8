#include "ui/CanvasPainter.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

QColor toQColor(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

// Maps one op's user coordinates to the box's twips. xFit squeezes the x
// axis when a box's content runs past its scale (the results chart holds
// more bars than its scale shows).
struct Mapper {
    CanvasScale s;
    double w, h;
    double xFit = 1;
    QPointF operator()(double x, double y) const
    {
        return {(x - s.left) / s.width * w / xFit, (y - s.top) / s.height * h};
    }
    double radius(double r) const { return std::abs(r / s.width * w / xFit); }
    // The same box under the scale the op was drawn with.
    Mapper forOp(const CanvasOp &op) const
    {
        Mapper m = *this;
        m.s = op.scale;
        return m;
    }
    // The rectangle between an op's two corners.
    QRectF corners(const CanvasOp &op) const { return QRectF((*this)(op.x1, op.y1), (*this)(op.x2, op.y2)).normalized(); }
};

QPen penFor(const CanvasOp &op)
{
    // Line widths are pixels at the designed size: 15 twips each.
    QPen pen(toQColor(op.color), std::max(1, op.width) * 15.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

// A run of printed items: the items of one label ("A(", 3, ",", -2, ")")
// follow one another on a line, each starting where the last one ended.
// Runs are what a learner reads as one label, so they are placed as one.
struct TextRun {
    std::vector<std::size_t> ops;
    QString text;   // the items' texts joined
    QPointF origin; // top-left of the first item, twips
    double width = 0, height = 0;
    QRectF ink;     // the glyphs' extent at the origin, twips
    QPointF shift;  // where the window moves it to be read
    double scale = 1;
    bool hidden = false;
    bool boxed = false; // drawn on a background of its own
    QRectF placed() const
    {
        QRectF r = ink.translated(-origin);
        r = QRectF(r.topLeft() * scale, r.size() * scale);
        return r.translated(origin + shift);
    }
};

QFont fontOf(const CanvasOp &op) { return fonts::twipsFont(op.fontName, op.fontSize, op.bold); }

std::vector<TextRun> textRuns(const Canvas &canvas, const Mapper &base)
{
    std::vector<TextRun> runs;
    const auto &ops = canvas.ops();
    double runEnd = 0, runTop = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const CanvasOp &op = ops[i];
        if (op.kind != CanvasOp::Print)
            continue;
        const Mapper map = base.forOp(op);
        const QPointF at = map(op.x1, op.y1);
        const QFontMetricsF fm(fontOf(op));
        const double advance = fm.horizontalAdvance(op.text);
        QRectF ink = fm.tightBoundingRect(op.text);
        ink.translate(at.x(), at.y() + fm.ascent());
        const bool continues = !runs.empty() && runs.back().ops.back() + 1 == i
                               && std::abs(at.x() - runEnd) < 25 && std::abs(at.y() - runTop) < 25;
        if (continues) {
            TextRun &r = runs.back();
            r.ops.push_back(i);
            r.text += op.text;
            r.width = at.x() + advance - r.origin.x();
            r.height = std::max(r.height, fm.height());
            r.ink = r.ink.isEmpty() ? ink : (ink.isEmpty() ? r.ink : r.ink.united(ink));
        } else {
            TextRun r;
            r.ops = {i};
            r.text = op.text;
            r.origin = at;
            r.width = advance;
            r.height = fm.height();
            r.ink = ink;
            runs.push_back(r);
        }
        runEnd = at.x() + advance;
        runTop = at.y();
    }
    return runs;
}

bool collides(const QRectF &a, const QRectF &b)
{
    const QRectF c = a.intersected(b);
    if (c.isEmpty())
        return false;
    const double smaller = std::min(a.width() * a.height(), b.width() * b.height());
    return smaller > 0 && c.width() * c.height() > 0.12 * smaller;
}

// Decides how each label is shown so that every one can be read: the same
// label drawn twice at one place shows once; a label that runs past the
// box is scaled to fit it; a label that would fall on one drawn before it is
// moved a little aside, or, where no room is near, drawn on a background.
void placeRuns(std::vector<TextRun> &runs, double w, double h, bool nudge)
{
    for (std::size_t i = 0; i < runs.size(); ++i)
        for (std::size_t j = i + 1; j < runs.size(); ++j)
            if (runs[j].text == runs[i].text && std::abs(runs[j].origin.x() - runs[i].origin.x()) < 40
                && std::abs(runs[j].origin.y() - runs[i].origin.y()) < 40) {
                runs[i].hidden = true;
                break;
            }

    std::vector<QRectF> shown;
    for (TextRun &r : runs) {
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
        auto clear = [&](const QRectF &rect) {
            return std::none_of(shown.begin(), shown.end(), [&](const QRectF &s) { return collides(rect, s); });
        };
        if (nudge && !clear(r.placed())) {
            const double step = r.ink.height() * 0.5;
            const QPointF moves[] = {{0, step},     {0, -step},     {step, 0},        {0, 2 * step},
                                     {0, -2 * step}, {-step, 0},    {2 * step, 0},    {step, step},
                                     {step, -step}, {0, 3 * step},  {0, -3 * step},   {-2 * step, 0}};
            bool found = false;
            for (const QPointF &m : moves) {
                r.shift = m;
                const QRectF p = r.placed();
                if (p.left() >= 0 && p.top() >= 0 && p.right() <= w && p.bottom() <= h && clear(p)) {
                    found = true;
                    break;
                }
            }
            if (!found) {
                r.shift = {};
                r.boxed = true;
            }
        }
        shown.push_back(r.placed());
    }
}

void paintText(QPainter &painter, const Canvas &canvas, const TextRun &run, const Mapper &base, bool overLines)
{
    const QColor back = toQColor(canvas.BackColor);
    if (run.boxed)
        painter.fillRect(run.placed().adjusted(-20, -10, 20, 10), back);
    painter.save();
    painter.translate(run.origin + run.shift);
    painter.scale(run.scale, run.scale);
    for (std::size_t i : run.ops) {
        const CanvasOp &op = canvas.ops()[i];
        const Mapper map = base.forOp(op);
        const QFont font = fontOf(op);
        const QFontMetricsF fm(font);
        const QPointF at = map(op.x1, op.y1) - run.origin;
        const QPointF baseline(at.x(), at.y() + fm.ascent());
        if (!overLines) {
            painter.setFont(font);
            painter.setPen(toQColor(op.color));
            painter.drawText(baseline, op.text);
            continue;
        }
        QPainterPath path;
        path.addText(baseline, font, op.text);
        // A thin rim of the background round the glyphs keeps a label
        // legible where a tick, an axis or a graph line passes under it.
        const double rim = std::clamp(fm.height() * 0.12, 30.0, 60.0);
        painter.strokePath(path, QPen(back, rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, toQColor(op.color));
    }
    painter.restore();
}

// Where the box's lines and shapes lie, in twips: a label that meets none
// of them needs no rim.
std::vector<QRectF> shapeAreas(const Canvas &canvas, const Mapper &base)
{
    std::vector<QRectF> areas;
    for (const CanvasOp &op : canvas.ops()) {
        const Mapper map = base.forOp(op);
        QRectF r;
        switch (op.kind) {
        case CanvasOp::Line:
        case CanvasOp::Box:
            r = map.corners(op);
            break;
        case CanvasOp::Circle:
        case CanvasOp::Arc: {
            const double rad = map.radius(op.r);
            const QPointF c = map(op.x1, op.y1);
            r = QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad);
            break;
        }
        case CanvasOp::Point:
            r = QRectF(map(op.x1, op.y1), QSizeF(1, 1));
            break;
        case CanvasOp::Polyline:
            for (const QPointF &p : op.points) {
                const QPointF q = map(p.x(), p.y());
                r = r.isNull() ? QRectF(q, QSizeF(1, 1)) : r.united(QRectF(q, QSizeF(1, 1)));
            }
            break;
        case CanvasOp::Print:
            continue;
        }
        areas.push_back(r.adjusted(-30, -30, 30, 30));
    }
    return areas;
}

bool meetsAny(const QRectF &r, const std::vector<QRectF> &areas)
{
    return std::any_of(areas.begin(), areas.end(), [&r](const QRectF &a) { return a.intersects(r); });
}

} // namespace

double contentWidthFit(const Canvas &canvas)
{
    // Only boxes count: the chart's axis runs on far past its scale by
    // design, but every bar is meant to be seen.
    const CanvasScale &s = canvas.scale();
    double right = s.left + s.width;
    bool any = false;
    for (const CanvasOp &op : canvas.ops())
        if (op.kind == CanvasOp::Box && op.scale == s) {
            right = std::max({right, op.x1, op.x2});
            any = true;
        }
    if (!any || s.width <= 0)
        return 1;
    const double needed = right + 3 - s.left;
    return needed > s.width ? needed / s.width : 1;
}

namespace {

void paintPolyline(QPainter &painter, const CanvasOp &op, const Mapper &map)
{
    painter.setPen(penFor(op));
    QPolygonF poly;
    poly.reserve(qsizetype(op.points.size()));
    for (const QPointF &p : op.points) {
        // Clamped plot values lie far outside the box; keep them finite for
        // the rasteriser.
        QPointF q = map(p.x(), p.y());
        q.setY(std::clamp(q.y(), -1e6, 1e6));
        q.setX(std::clamp(q.x(), -1e6, 1e6));
        poly << q;
    }
    painter.drawPolyline(poly);
}

void paintArc(QPainter &painter, const CanvasOp &op, const Mapper &map)
{
    const double r = map.radius(op.r);
    const QPointF c = map(op.x1, op.y1);
    // Angles run counter-clockwise on the screen whatever the scale.
    double span = op.end - op.start;
    while (span <= 0)
        span += 360;
    painter.setPen(penFor(op));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), int(std::lround(op.start * 16)),
                    int(std::lround(span * 16)));
}

// One line, box, circle, arc or dot of the display list.
void paintShape(QPainter &painter, const CanvasOp &op, const Mapper &map, double boxWidth)
{
    switch (op.kind) {
    case CanvasOp::Line: {
        painter.setPen(penFor(op));
        QPointF a = map(op.x1, op.y1), b = map(op.x2, op.y2);
        // With the x axis squeezed, a grid line across the whole scale
        // still spans the whole box.
        if (map.xFit != 1 && op.y1 == op.y2 && op.x1 <= op.scale.left && op.x2 >= op.scale.left + op.scale.width)
            b.setX(boxWidth);
        painter.drawLine(a, b);
        break;
    }
    case CanvasOp::Polyline:
        paintPolyline(painter, op, map);
        break;
    case CanvasOp::Box: {
        const QRectF r = map.corners(op);
        if (op.filled) {
            painter.fillRect(r, toQColor(op.color));
        } else {
            painter.setPen(penFor(op));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
        }
        break;
    }
    case CanvasOp::Circle: {
        const double r = map.radius(op.r);
        painter.setPen(penFor(op));
        painter.setBrush(op.fill ? QBrush(toQColor(*op.fill)) : QBrush(Qt::NoBrush));
        painter.drawEllipse(map(op.x1, op.y1), r, r);
        painter.setBrush(Qt::NoBrush);
        break;
    }
    case CanvasOp::Arc:
        paintArc(painter, op, map);
        break;
    case CanvasOp::Point: {
        const double d = std::max(1, op.width) * 15.0;
        const QPointF p = map(op.x1, op.y1);
        painter.fillRect(QRectF(p.x() - d / 2, p.y() - d / 2, d, d), toQColor(op.color));
        break;
    }
    case CanvasOp::Print:
        break; // labels are painted last, over the shapes
    }
}

// The chart's own run (its one filled bar) stands on a pale band, so that it
// is found at a glance among the past runs, even with a score of 0.
void paintCurrentRunBand(QPainter &painter, const Canvas &canvas, const Mapper &base, double h)
{
    for (const CanvasOp &op : canvas.ops())
        if (op.kind == CanvasOp::Box && op.filled) {
            const Mapper map = base.forOp(op);
            const QRectF bar = map.corners(op);
            const double margin = bar.width() * 0.3;
            painter.fillRect(QRectF(bar.left() - margin, 0, bar.width() + 2 * margin, h), QColor(255, 255, 192));
        }
}

} // namespace

void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options)
{
    const QSizeF box = options.boxTwips;
    const double w = box.isValid() ? box.width() : canvas.Width;
    const double h = box.isValid() ? box.height() : canvas.Height;
    const double xFit = options.fitContentWidth ? contentWidthFit(canvas) : 1.0;
    painter.save();
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    painter.fillRect(QRectF(0, 0, w, h), toQColor(canvas.BackColor));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(QRectF(0, 0, w, h));

    const Mapper base{canvas.scale(), w, h, xFit};
    std::vector<TextRun> runs = textRuns(canvas, base);
    placeRuns(runs, w, h, options.nudgeLabels);
    if (options.fitContentWidth)
        paintCurrentRunBand(painter, canvas, base, h);
    // Lines and shapes first, then every label over them: a label is read
    // whole even where a segment or a tick was drawn after it.
    for (const CanvasOp &op : canvas.ops()) {
        const Mapper map = base.forOp(op);
        paintShape(painter, op, map, w);
    }
    // A label wholly outside the box (an axis number past the visible
    // plane) is not drawn at all: clipped, it would still be text in a
    // printed page.
    const std::vector<QRectF> areas = shapeAreas(canvas, base);
    const QRectF inside(0, 0, w, h);
    for (const TextRun &run : runs)
        if (!run.hidden && inside.intersects(run.placed()))
            paintText(painter, canvas, run, base, meetsAny(run.placed(), areas));
    painter.restore();
}

PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips)
{
    PaintOptions o;
    o.boxTwips = boxTwips;
    o.fitContentWidth = canvas.Name == u"Picture1";
    o.nudgeLabels = canvas.Name == u"Picture6" || canvas.Name == u"Picture1";
    return o;
}
