#include "ui/CanvasPainter.h"

#include "ui/Fonts.h"
#include "ui/LabelPlacement.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

QColor toQColor(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

using labels::BoxMap;

QPen penFor(const CanvasOp &op)
{
    // Line widths are pixels at the designed size: 15 twips each.
    QPen pen(toQColor(op.color), std::max(1, op.width) * 15.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QFont fontOf(const CanvasOp &op) { return fonts::twipsFont(op.fontName, op.fontSize, op.bold); }

// A label's items, each at its place relative to the label's first.
void paintText(QPainter &painter, const Canvas &canvas, const labels::Label &label, const BoxMap &base)
{
    painter.save();
    painter.translate(label.origin + label.shift);
    painter.scale(label.scale, label.scale);
    for (std::size_t i : label.ops) {
        const CanvasOp &op = canvas.ops()[i];
        const BoxMap map = base.forOp(op);
        const QFont font = fontOf(op);
        const QFontMetricsF fm(font);
        const QPointF at = map(op.x1, op.y1) - label.origin;
        painter.setFont(font);
        painter.setPen(toQColor(op.color));
        painter.drawText(QPointF(at.x(), at.y() + fm.ascent()), op.text);
    }
    painter.restore();
}

} // namespace

namespace {

void paintPolyline(QPainter &painter, const CanvasOp &op, const BoxMap &map)
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

void paintArc(QPainter &painter, const CanvasOp &op, const BoxMap &map)
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

// What a line is on its plane: an axis or a grid line (level or upright
// across nearly the whole scale, on zero or off it), or anything else.
enum class LineRole { Axis, Grid, Other };

LineRole roleOf(const CanvasOp &op)
{
    if (op.kind != CanvasOp::Line)
        return LineRole::Other;
    const bool level = op.y1 == op.y2, upright = op.x1 == op.x2;
    const double length = std::abs(op.x2 - op.x1) + std::abs(op.y2 - op.y1);
    const double extent = level ? std::abs(op.scale.width) : std::abs(op.scale.height);
    if ((!level && !upright) || length < 0.85 * extent)
        return LineRole::Other;
    return (level ? op.y1 : op.x1) == 0 ? LineRole::Axis : LineRole::Grid;
}

// The pen of a line on paper.
QPen paperPen(QPen pen, LineRole role, double devicePerTwip)
{
    if (role == LineRole::Grid) {
        pen.setColor(QColor(150, 150, 150));
        pen.setWidthF(15);
    } else if (role == LineRole::Axis) {
        pen.setWidthF(std::max({pen.widthF(), 30.0, 2.6 / std::max(devicePerTwip, 1e-9)}));
    }
    return pen;
}

// One line, box, circle, arc or dot of the display list. A line or curve
// drawn on a plane stays inside the plane's drawing area (the round end of
// an axis is kept whole).
void paintShape(QPainter &painter, const CanvasOp &op, const BoxMap &map, bool paper)
{
    const bool clip = op.area && (op.kind == CanvasOp::Line || op.kind == CanvasOp::Polyline);
    if (clip) {
        const double pen = std::max(1, op.width) * 15.0;
        painter.save();
        painter.setClipRect(map.rect(*op.area).adjusted(-pen, -pen, pen, pen), Qt::IntersectClip);
    }
    switch (op.kind) {
    case CanvasOp::Line: {
        const QPen pen = penFor(op);
        painter.setPen(paper ? paperPen(pen, roleOf(op), painter.transform().m11()) : pen);
        painter.drawLine(map(op.x1, op.y1), map(op.x2, op.y2));
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
    if (clip)
        painter.restore();
}

// The ends of the axes that labels' halos cut off: a short piece of an
// axis left between a halo and the axis's end (with the ticks on it) reads
// as a stray mark, so it goes with the piece the halo hides.
std::vector<QRectF> axisStubs(const Canvas &canvas, const BoxMap &base, const std::vector<QRectF> &halos)
{
    std::vector<QRectF> stubs;
    for (const CanvasOp &op : canvas.ops()) {
        if (roleOf(op) != LineRole::Axis)
            continue;
        const BoxMap map = base.forOp(op);
        const QLineF axis(map(op.x1, op.y1), map(op.x2, op.y2));
        const bool level = std::abs(axis.dy()) < 1e-9;
        const double pen = std::max(1, op.width) * 15.0;
        // The stretches of the axis under halos, along it.
        const double from = level ? std::min(axis.x1(), axis.x2()) : std::min(axis.y1(), axis.y2());
        const double to = level ? std::max(axis.x1(), axis.x2()) : std::max(axis.y1(), axis.y2());
        const double at = level ? axis.y1() : axis.x1();
        std::vector<std::pair<double, double>> hidden;
        for (const QRectF &h : halos) {
            const double a0 = level ? h.top() : h.left(), a1 = level ? h.bottom() : h.right();
            if (at + pen / 2 < a0 || at - pen / 2 > a1)
                continue;
            const double s0 = std::max(from, level ? h.left() : h.top()), s1 = std::min(to, level ? h.right() : h.bottom());
            if (s0 < s1)
                hidden.emplace_back(s0, s1);
        }
        if (hidden.empty())
            continue;
        const double first = std::min_element(hidden.begin(), hidden.end())->first;
        double last = 0;
        for (const auto &h : hidden)
            last = std::max(last, h.second);
        // A tick's reach across the axis, and what counts as short: a little
        // more than a grid unit of the plane.
        const double across = std::abs(map.radius(0.35)), shortPiece = std::abs(map.radius(1.2));
        auto stub = [&](double a, double b) {
            return level ? QRectF(a - 1, at - across, b - a + 2, 2 * across) : QRectF(at - across, a - 1, 2 * across, b - a + 2);
        };
        if (first - from > 0 && first - from < shortPiece)
            stubs.push_back(stub(from - pen, first));
        if (to - last > 0 && to - last < shortPiece)
            stubs.push_back(stub(last, to + pen));
    }
    return stubs;
}

} // namespace

void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options)
{
    const QSizeF box = options.boxTwips;
    const double w = box.isValid() ? box.width() : canvas.Width;
    const double h = box.isValid() ? box.height() : canvas.Height;
    painter.save();
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    painter.fillRect(QRectF(0, 0, w, h), toQColor(canvas.BackColor));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(QRectF(0, 0, w, h));
    if (options.chart) {
        chart::paint(painter, chart::readRuns(canvas), QSizeF(w, h), options.caption);
        painter.restore();
        return;
    }

    const BoxMap base{canvas.scale(), w, h};
    const std::vector<labels::Label> placed = placedLabels(canvas, QSizeF(w, h), options);
    // Lines and shapes first, then the halos, then every label's text: a
    // label is read whole even where a segment or a tick was drawn after
    // it, and no halo covers another label.
    if (options.layers & PaintOptions::Shapes)
        for (const CanvasOp &op : canvas.ops()) {
            const BoxMap map = base.forOp(op);
            paintShape(painter, op, map, options.paper);
        }
    if (!(options.layers & PaintOptions::Labels)) {
        painter.restore();
        return;
    }
    const QRectF inside(0, 0, w, h);
    auto shown = [&inside](const labels::Label &l) { return !l.hidden && inside.intersects(l.placed()); };
    if (options.nudgeLabels) {
        const QColor back = toQColor(canvas.BackColor);
        std::vector<QRectF> halos;
        for (const labels::Label &l : placed)
            if (shown(l)) {
                painter.fillRect(l.halo(), back);
                halos.push_back(l.halo());
            }
        if (options.layers & PaintOptions::Shapes)
            for (const QRectF &stub : axisStubs(canvas, base, halos))
                painter.fillRect(stub, back);
    }
    for (const labels::Label &l : placed)
        if (shown(l))
            paintText(painter, canvas, l, base);
    painter.restore();
}

std::vector<labels::Label> placedLabels(const Canvas &canvas, QSizeF boxTwips, const PaintOptions &options)
{
    labels::Options placing;
    placing.nudge = options.nudgeLabels;
    placing.fitBlock = options.fitText;
    return labels::placeLabels(canvas, BoxMap{canvas.scale(), boxTwips.width(), boxTwips.height()}, placing);
}

PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips)
{
    PaintOptions o;
    o.boxTwips = boxTwips;
    o.chart = canvas.Name == u"Picture1";
    o.nudgeLabels = canvas.Name == u"Picture6";
    o.fitText = canvas.Name == u"Picture2" || canvas.Name == u"Picture7";
    return o;
}
