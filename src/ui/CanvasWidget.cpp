#include "ui/CanvasWidget.h"

#include "ui/CanvasPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

CanvasWidget::CanvasWidget(Canvas &canvas, QWidget *parent) : QWidget(parent), canvas_(canvas)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), toQColor(canvas_.BackColor));
    PaintOptions options = paintOptionsFor(canvas_, boxTwips());
    options.caption = caption;
    paintCanvas(p, canvas_, ppt_, options);
    if (overlay)
        overlay(p, *this);
    // A picture box has a sunken frame, as the answer boxes do.
    qDrawShadePanel(&p, rect(), palette(), true, 1);
}

QSizeF CanvasWidget::boxTwips() const { return QSizeF(width() / ppt_, height() / ppt_); }

QPointF CanvasWidget::toPixels(double x, double y) const
{
    const CanvasScale &s = canvas_.scale();
    const QSizeF box = boxTwips();
    return {(x - s.left) / s.width * box.width() * ppt_, (y - s.top) / s.height * box.height() * ppt_};
}

QPointF CanvasWidget::toUser(const QPointF &px) const
{
    const CanvasScale &s = canvas_.scale();
    const QSizeF box = boxTwips();
    const double tx = px.x() / ppt_, ty = px.y() / ppt_;
    return {s.left + tx / box.width() * s.width, s.top + ty / box.height() * s.height};
}

void CanvasWidget::mousePressEvent(QMouseEvent *e)
{
    if (onMouseDown) {
        const QPointF u = toUser(e->position());
        onMouseDown(u.x(), u.y());
    }
}

void CanvasWidget::mouseMoveEvent(QMouseEvent *e)
{
    if (onMouseMove) {
        const QPointF u = toUser(e->position());
        onMouseMove(u.x(), u.y(), e->buttons() & Qt::LeftButton);
    }
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent *e)
{
    if (onMouseUp) {
        const QPointF u = toUser(e->position());
        onMouseUp(u.x(), u.y(), rect().contains(e->position().toPoint()));
    }
}
