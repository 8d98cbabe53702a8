#include "ui/CanvasPainter.h"

#include "ui/Fonts.h"
#include "ui/LabelPlacement.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

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

namespace {

// A key for what decides a piece's pixels: equal keys paint equal pixels
// (a 64-bit mix; two different pieces sharing one is not to be met).
class Key {
public:
    Key &add(uint64_t v)
    {
        h_ = mix(h_ ^ mix(v + 0x9E3779B97F4A7C15ull));
        return *this;
    }
    Key &add(double v)
    {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return add(bits);
    }
    Key &add(int v) { return add(uint64_t(uint32_t(v))); }
    Key &add(bool v) { return add(uint64_t(v)); }
    Key &add(const QString &s) { return add(uint64_t(qHash(s))).add(uint64_t(s.size())); }
    Key &add(const QRectF &r) { return add(r.x()).add(r.y()).add(r.width()).add(r.height()); }
    Key &add(const CanvasScale &s) { return add(s.left).add(s.top).add(s.width).add(s.height); }
    Key &add(const CanvasOp &op)
    {
        add(int(op.kind)).add(op.scale).add(op.x1).add(op.y1).add(op.x2).add(op.y2).add(op.r).add(op.start).add(op.end);
        add(op.filled).add(op.fill.has_value()).add(op.fill.value_or(0)).add(op.color).add(op.width);
        add(op.text).add(op.fontName).add(op.fontSize).add(op.bold);
        add(uint64_t(op.points.size()));
        for (const QPointF &p : op.points)
            add(p.x()).add(p.y());
        add(op.area.has_value());
        if (op.area)
            add(*op.area);
        return *this;
    }
    uint64_t value() const { return h_; }

private:
    static uint64_t mix(uint64_t x)
    {
        x ^= x >> 30;
        x *= 0xBF58476D1CE4E5B9ull;
        x ^= x >> 27;
        x *= 0x94D049BB133111EBull;
        return x ^ (x >> 31);
    }
    uint64_t h_ = 0x243F6A8885A308D3ull;
};

// How far a long stroke is cut up for the parts of the box it touches: a
// line across the plane touches a narrow band, not its bounding box.
constexpr double kPartTwips = 450;

QRectF around(QPointF a, QPointF b, double half)
{
    return QRectF(a, b).normalized().adjusted(-half, -half, half, half);
}

// The parts of the box (twips) a shape of the display list can touch: its
// geometry, the pen's reach round it, and no more than the plane's drawing
// area where it is held inside that.
std::vector<QRectF> shapeParts(const CanvasOp &op, const BoxMap &map)
{
    const double half = std::max(1, op.width) * 15.0 / 2;
    std::vector<QRectF> parts;
    switch (op.kind) {
    case CanvasOp::Line: {
        const QPointF a = map(op.x1, op.y1), b = map(op.x2, op.y2);
        const int n = std::clamp(int(std::ceil(QLineF(a, b).length() / kPartTwips)), 1, 256);
        for (int i = 0; i < n; ++i)
            parts.push_back(around(a + (b - a) * (double(i) / n), a + (b - a) * (double(i + 1) / n), half));
        break;
    }
    case CanvasOp::Polyline: {
        // Runs of points no wider and no taller than a part; a segment
        // belongs whole to the run it ends.
        double l = 0, t = 0, r = 0, b = 0;
        QPointF previous;
        bool started = false;
        auto flush = [&] { parts.push_back(QRectF(QPointF(l, t), QPointF(r, b)).adjusted(-half, -half, half, half)); };
        for (const QPointF &p : op.points) {
            const QPointF q(std::clamp(map(p.x(), p.y()).x(), -1e6, 1e6), std::clamp(map(p.x(), p.y()).y(), -1e6, 1e6));
            if (!started) {
                l = r = q.x();
                t = b = q.y();
                started = true;
            } else if (std::max(r, q.x()) - std::min(l, q.x()) > kPartTwips
                       || std::max(b, q.y()) - std::min(t, q.y()) > kPartTwips) {
                flush();
                l = std::min(previous.x(), q.x());
                r = std::max(previous.x(), q.x());
                t = std::min(previous.y(), q.y());
                b = std::max(previous.y(), q.y());
            } else {
                l = std::min(l, q.x());
                r = std::max(r, q.x());
                t = std::min(t, q.y());
                b = std::max(b, q.y());
            }
            previous = q;
        }
        if (started)
            flush();
        break;
    }
    case CanvasOp::Box:
        parts.push_back(op.filled ? map.corners(op) : map.corners(op).adjusted(-half, -half, half, half));
        break;
    case CanvasOp::Circle:
    case CanvasOp::Arc: {
        const double r = map.radius(op.r) + half;
        const QPointF c = map(op.x1, op.y1);
        parts.push_back(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
        break;
    }
    case CanvasOp::Point: {
        const double d = std::max(1, op.width) * 15.0;
        const QPointF p = map(op.x1, op.y1);
        parts.push_back(QRectF(p.x() - d / 2, p.y() - d / 2, d, d));
        break;
    }
    case CanvasOp::Print:
        break;
    }
    if (op.area && (op.kind == CanvasOp::Line || op.kind == CanvasOp::Polyline)) {
        const double pen = 2 * half;
        const QRectF area = map.rect(*op.area).adjusted(-pen, -pen, pen, pen);
        for (QRectF &r : parts)
            r = r.intersected(area);
    }
    return parts;
}

// A rectangle of box pixels grown to whole pixels, with a pixel to spare
// for the smoothed edges round it.
QRect wholePixels(const QRectF &r) { return r.isEmpty() ? QRect() : r.toAlignedRect().adjusted(-2, -2, 2, 2); }

} // namespace

CanvasScene::CanvasScene(const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options)
    : canvas_(&canvas), ppt_(pixelsPerTwip), options_(options)
{
    const QSizeF box = options.boxTwips;
    box_ = QSizeF(box.isValid() ? box.width() : canvas.Width, box.isValid() ? box.height() : canvas.Height);
    base_ = BoxMap{canvas.scale(), box_.width(), box_.height()};
    frame_ = Key()
                 .add(ppt_)
                 .add(box_.width())
                 .add(box_.height())
                 .add(canvas.BackColor)
                 .add(options.chart)
                 .add(options.nudgeLabels)
                 .add(options.fitText)
                 .add(options.layers)
                 .add(options.paper)
                 .value();
    if (options.chart) {
        Key key;
        for (const CanvasOp &op : canvas.ops())
            key.add(op);
        pieces_.push_back({Piece::Chart, 0, key.value(), QRectF(QPointF(), box_ * ppt_), {}});
        return;
    }
    if (options.layers & PaintOptions::Shapes)
        for (std::size_t i = 0; i < canvas.ops().size(); ++i) {
            const CanvasOp &op = canvas.ops()[i];
            if (op.kind != CanvasOp::Print)
                addShape(i, shapeParts(op, base_.forOp(op)));
        }
    if (!(options.layers & PaintOptions::Labels))
        return;
    labels_ = placedLabels(canvas, box_, options);
    const QRectF inside(QPointF(), box_);
    auto shown = [&inside](const labels::Label &l) { return !l.hidden && inside.intersects(l.placed()); };
    std::vector<QRectF> halos;
    if (options.nudgeLabels) {
        for (std::size_t i = 0; i < labels_.size(); ++i)
            if (shown(labels_[i])) {
                const QRectF h = labels_[i].halo();
                halos.push_back(h);
                pieces_.push_back({Piece::Halo, uint32_t(i), Key().add(h).value(), QRectF(h.topLeft() * ppt_, h.size() * ppt_), {}});
            }
        if (options.layers & PaintOptions::Shapes)
            stubs_ = axisStubs(canvas, base_, halos);
        for (std::size_t i = 0; i < stubs_.size(); ++i) {
            const QRectF &r = stubs_[i];
            pieces_.push_back({Piece::Stub, uint32_t(i), Key().add(r).value(), QRectF(r.topLeft() * ppt_, r.size() * ppt_), {}});
        }
    }
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        const labels::Label &l = labels_[i];
        if (!shown(l))
            continue;
        Key key;
        key.add(l.shift.x()).add(l.shift.y()).add(l.scale);
        for (std::size_t op : l.ops)
            key.add(canvas.ops()[op]);
        // The items' advance and line height where printed, with their ink,
        // moved and scaled as the label is shown.
        const QRectF at = QRectF(l.origin, QSizeF(l.width, l.height)).united(l.ink).translated(-l.origin);
        const QRectF shownAt(at.topLeft() * l.scale + l.origin + l.shift, at.size() * l.scale);
        const QRectF r = shownAt.adjusted(-l.pad, -l.pad, l.pad, l.pad);
        pieces_.push_back({Piece::Text, uint32_t(i), key.value(), QRectF(r.topLeft() * ppt_, r.size() * ppt_), {}});
    }
}

void CanvasScene::addShape(std::size_t index, const std::vector<QRectF> &partsInTwips)
{
    Piece piece{Piece::Shape, uint32_t(index), Key().add(canvas_->ops()[index]).value(), QRectF(), {}};
    const QRectF inside(QPointF(), box_);
    for (const QRectF &t : partsInTwips) {
        const QRectF r = t.intersected(inside);
        if (r.isEmpty())
            continue;
        const QRectF px(r.topLeft() * ppt_, r.size() * ppt_);
        piece.bounds = piece.bounds.isNull() ? px : piece.bounds.united(px);
        piece.parts.push_back(px);
    }
    if (piece.parts.size() == 1)
        piece.parts.clear(); // the bounds say it all
    if (!piece.bounds.isNull())
        pieces_.push_back(std::move(piece));
}

QRect CanvasScene::boxPixels() const { return QRectF(QPointF(), box_ * ppt_).toAlignedRect(); }

void CanvasScene::paintPiece(QPainter &painter, const Piece &piece) const
{
    const Canvas &canvas = *canvas_;
    switch (piece.kind) {
    case Piece::Shape: {
        const CanvasOp &op = canvas.ops()[piece.index];
        paintShape(painter, op, base_.forOp(op), options_.paper);
        break;
    }
    case Piece::Halo:
        painter.fillRect(labels_[piece.index].halo(), toQColor(canvas.BackColor));
        break;
    case Piece::Stub:
        painter.fillRect(stubs_[piece.index], toQColor(canvas.BackColor));
        break;
    case Piece::Text:
        paintText(painter, canvas, labels_[piece.index], base_);
        break;
    case Piece::Chart:
        chart::paint(painter, chart::readRuns(canvas), box_, options_.caption);
        break;
    }
}

void CanvasScene::paint(QPainter &painter, const QRegion &only) const
{
    paintPieces(painter, only, 0, pieces_.size(), true);
}

std::size_t CanvasScene::shapeCount() const
{
    std::size_t n = 0;
    while (n < pieces_.size() && pieces_[n].kind == Piece::Shape)
        ++n;
    return n;
}

void CanvasScene::paintBase(QPainter &painter, std::size_t end, const QRegion &only) const
{
    paintPieces(painter, only, 0, std::min(end, pieces_.size()), true);
}

void CanvasScene::paintOver(QPainter &painter, const QRegion &only, std::size_t from) const
{
    if (from < pieces_.size())
        paintPieces(painter, only, from, pieces_.size(), false);
}

void CanvasScene::paintPieces(QPainter &painter, const QRegion &only, std::size_t from, std::size_t to, bool background) const
{
    painter.save();
    painter.scale(ppt_, ppt_);
    if (background)
        painter.fillRect(QRectF(QPointF(), box_), toQColor(canvas_->BackColor));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(QRectF(QPointF(), box_), Qt::IntersectClip);
    // Lines and shapes first, then the halos, then every label's text: a
    // label is read whole even where a segment or a tick was drawn after
    // it, and no halo covers another label. The pieces come in that order.
    for (std::size_t i = from; i < to; ++i) {
        const Piece &piece = pieces_[i];
        if (!only.isEmpty()) {
            bool touches = false;
            if (piece.parts.empty())
                touches = only.intersects(piece.bounds.toAlignedRect());
            else
                for (const QRectF &part : piece.parts)
                    if ((touches = only.intersects(part.toAlignedRect())))
                        break;
            if (!touches)
                continue;
        }
        paintPiece(painter, piece);
    }
    painter.restore();
}

namespace {

// Which pieces of two scenes paint alike: the longest run of keys both
// paint in the same order (a piece drawn first now and last before, as the
// plane's first point is once a drag begins, leaves the rest matched). The
// ends both share are matched straight; the middle by a table of common
// lengths while it stays small, and first-come otherwise.
void matchKeys(const std::vector<uint64_t> &a, const std::vector<uint64_t> &b, std::vector<bool> &keptA,
               std::vector<bool> &keptB)
{
    keptA.assign(a.size(), false);
    keptB.assign(b.size(), false);
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        keptA[head] = keptB[head] = true;
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        keptA[a.size() - 1 - tail] = keptB[b.size() - 1 - tail] = true;
        ++tail;
    }
    const std::size_t n = a.size() - head - tail, m = b.size() - head - tail;
    if (n == 0 || m == 0)
        return;
    if (n * m <= (std::size_t(1) << 18)) {
        // common[i][j]: the longest common run of a[i..] and b[j..].
        std::vector<uint16_t> common((n + 1) * (m + 1), 0);
        auto at = [&](std::size_t i, std::size_t j) -> uint16_t & { return common[i * (m + 1) + j]; };
        for (std::size_t i = n; i-- > 0;)
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = a[head + i] == b[head + j] ? uint16_t(at(i + 1, j + 1) + 1) : std::max(at(i + 1, j), at(i, j + 1));
        for (std::size_t i = 0, j = 0; i < n && j < m;) {
            if (a[head + i] == b[head + j]) {
                keptA[head + i] = keptB[head + j] = true;
                ++i;
                ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
        return;
    }
    std::unordered_map<uint64_t, std::vector<std::size_t>> places;
    for (std::size_t i = head; i < head + n; ++i)
        places[a[i]].push_back(i);
    std::unordered_map<uint64_t, std::size_t> next; // the first of `places` not yet passed
    long last = -1;
    for (std::size_t j = head; j < head + m; ++j) {
        const auto found = places.find(b[j]);
        if (found == places.end())
            continue;
        std::size_t &k = next[b[j]];
        while (k < found->second.size() && long(found->second[k]) <= last)
            ++k;
        if (k < found->second.size()) {
            last = long(found->second[k]);
            keptA[found->second[k]] = keptB[j] = true;
            ++k;
        }
    }
}

} // namespace

QRegion CanvasScene::changedSince(const CanvasScene &before, std::size_t *newShapesFrom) const
{
    return differs(before, pieces_.size(), before.pieces_.size(), newShapesFrom);
}

QRegion CanvasScene::firstChangedSince(const CanvasScene &before, std::size_t end, std::size_t beforeEnd) const
{
    return differs(before, std::min(end, pieces_.size()), std::min(beforeEnd, before.pieces_.size()), nullptr);
}

QRegion CanvasScene::differs(const CanvasScene &before, std::size_t end, std::size_t beforeEnd,
                             std::size_t *newShapesFrom) const
{
    if (newShapesFrom)
        *newShapesFrom = pieces_.size();
    if (frame_ != before.frame_)
        return QRegion(boxPixels().united(before.boxPixels()));
    // The pieces both pictures paint, in the same order, paint the same
    // pixels: only the others can make the pictures differ, where they lie.
    std::vector<uint64_t> a, b;
    a.reserve(beforeEnd);
    b.reserve(end);
    for (std::size_t i = 0; i < beforeEnd; ++i)
        a.push_back(before.pieces_[i].key);
    for (std::size_t i = 0; i < end; ++i)
        b.push_back(pieces_[i].key);
    std::vector<bool> keptA, keptB;
    matchKeys(a, b, keptA, keptB);
    std::vector<QRect> changed;
    auto add = [&changed](const Piece &p) {
        if (p.parts.empty())
            changed.push_back(wholePixels(p.bounds));
        else
            for (const QRectF &part : p.parts)
                changed.push_back(wholePixels(part));
    };
    std::size_t lastNew = end;
    for (std::size_t i = 0; i < end; ++i)
        if (!keptB[i]) {
            add(pieces_[i]);
            if (pieces_[i].kind == Piece::Shape)
                lastNew = i;
        }
    if (newShapesFrom && lastNew < end) {
        while (lastNew > 0 && !keptB[lastNew - 1] && pieces_[lastNew - 1].kind == Piece::Shape)
            --lastNew;
        *newShapesFrom = lastNew;
    }
    for (std::size_t i = 0; i < beforeEnd; ++i)
        if (!keptA[i])
            add(before.pieces_[i]);
    QRegion region;
    for (const QRect &r : changed)
        region += r;
    return region.intersected(boxPixels());
}

std::size_t CanvasScene::sharedWith(const CanvasScene &before) const
{
    if (frame_ != before.frame_)
        return 0;
    std::size_t n = 0;
    while (n < pieces_.size() && n < before.pieces_.size() && pieces_[n].key == before.pieces_[n].key)
        ++n;
    return n;
}

QRegion fewerRects(const QRegion &region, int band, int gap)
{
    if (region.rectCount() <= 2 || band <= 0)
        return region;
    const QRect all = region.boundingRect();
    QRegion out;
    std::vector<QRect> parts;
    // Bands fall on multiples of `band`, so that the same place is covered
    // the same way whatever else changed with it.
    const int first = all.top() - ((all.top() % band) + band) % band;
    for (int top = first; top <= all.bottom(); top += band) {
        const QRegion inBand = region.intersected(QRect(all.left(), top, all.width(), band));
        parts.assign(inBand.begin(), inBand.end());
        if (parts.empty())
            continue;
        std::sort(parts.begin(), parts.end(), [](const QRect &a, const QRect &b) { return a.left() < b.left(); });
        QRect joined = parts.front();
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (parts[i].left() <= joined.right() + 1 + gap) {
                joined |= parts[i];
            } else {
                out += joined;
                joined = parts[i];
            }
        }
        out += joined;
    }
    return out;
}

void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options)
{
    CanvasScene(canvas, pixelsPerTwip, options).paint(painter);
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
