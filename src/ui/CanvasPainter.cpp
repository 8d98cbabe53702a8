#include "ui/CanvasPainter.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <cmath>

QColor toQColor(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

// Maps one op's user coordinates to the box's twips.
struct Mapper {
    CanvasScale s;
    double w, h;
    QPointF operator()(double x, double y) const
    {
        return {(x - s.left) / s.width * w, (y - s.top) / s.height * h};
    }
    double radius(double r) const { return std::abs(r / s.width * w); }
};

QPen penFor(const CanvasOp &op)
{
    // Line widths are pixels at the designed size: 15 twips each.
    QPen pen(toQColor(op.color), std::max(1, op.width) * 15.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

} // namespace

void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip)
{
    painter.save();
    painter.scale(pixelsPerTwip, pixelsPerTwip);
    painter.fillRect(QRectF(0, 0, canvas.Width, canvas.Height), toQColor(canvas.BackColor));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(QRectF(0, 0, canvas.Width, canvas.Height));

    for (const CanvasOp &op : canvas.ops()) {
        const Mapper map{op.scale, double(canvas.Width), double(canvas.Height)};
        switch (op.kind) {
        case CanvasOp::Line:
            painter.setPen(penFor(op));
            painter.drawLine(map(op.x1, op.y1), map(op.x2, op.y2));
            break;
        case CanvasOp::Polyline: {
            painter.setPen(penFor(op));
            QPolygonF poly;
            poly.reserve(qsizetype(op.points.size()));
            for (const QPointF &p : op.points) {
                // Clamped plot values lie far outside the box; keep them
                // finite for the rasteriser.
                QPointF q = map(p.x(), p.y());
                q.setY(std::clamp(q.y(), -1e6, 1e6));
                q.setX(std::clamp(q.x(), -1e6, 1e6));
                poly << q;
            }
            painter.drawPolyline(poly);
            break;
        }
        case CanvasOp::Box: {
            const QRectF r = QRectF(map(op.x1, op.y1), map(op.x2, op.y2)).normalized();
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
        case CanvasOp::Arc: {
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
            break;
        }
        case CanvasOp::Point: {
            const double d = std::max(1, op.width) * 15.0;
            const QPointF p = map(op.x1, op.y1);
            painter.fillRect(QRectF(p.x() - d / 2, p.y() - d / 2, d, d), toQColor(op.color));
            break;
        }
        case CanvasOp::Print: {
            const QFont font = fonts::twipsFont(op.fontName, op.fontSize, op.bold);
            painter.setFont(font);
            painter.setPen(toQColor(op.color));
            const QPointF topLeft = map(op.x1, op.y1);
            painter.drawText(QPointF(topLeft.x(), topLeft.y() + QFontMetricsF(font).ascent()), op.text);
            break;
        }
        }
    }
    painter.restore();
}
