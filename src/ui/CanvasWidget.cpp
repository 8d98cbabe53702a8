#include "ui/CanvasWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <cmath>

CanvasWidget::CanvasWidget(Canvas &canvas, QWidget *parent) : QWidget(parent), canvas_(canvas)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::refresh()
{
    if (!isVisible()) {
        // Painted whole when it shows again; nothing to keep meanwhile.
        forget();
        return;
    }
    catchUp();
}

void CanvasWidget::forget()
{
    scene_.reset();
    layer_ = QPixmap();
    paintedOnce_ = false;
    overlayAt_ = QRectF();
}

void CanvasWidget::catchUp()
{
    const QRectF overlayNow = overlayBounds ? overlayBounds(*this) : QRectF();
    if (overlayNow != overlayAt_) {
        for (const QRectF &r : {overlayAt_, overlayNow})
            if (!r.isEmpty())
                update(r.toAlignedRect().adjusted(-2, -2, 2, 2));
        overlayAt_ = overlayNow;
        if (overlayNow.isEmpty())
            layer_ = QPixmap(); // nothing drawn over the picture: no copy kept
    }
    const double dpr = devicePixelRatioF();
    if (!layer_.isNull() && (layer_.devicePixelRatio() != dpr || layer_.size() != size() * dpr)) {
        // Another screen or size: the kept picture is of no use.
        layer_ = QPixmap();
        paintedOnce_ = false;
    }
    const uint64_t count = canvas_.changeCount();
    if (scene_ && count == sceneCount_ && size() == sceneSize_ && ppt_ == scenePpt_)
        return;
    PaintOptions options = paintOptionsFor(canvas_, boxTwips());
    options.caption = caption;
    CanvasScene next(canvas_, ppt_, options);
    // The whole widget when the box, its scale or its colour changed (the
    // scenes say so by a change of the whole box).
    QRegion changed = scene_ ? next.changedSince(*scene_) : QRegion(rect());
    if (QRegion(next.boxPixels()).subtracted(changed).isEmpty() || size() != sceneSize_)
        changed = QRegion(rect());
    if (!layer_.isNull() && !changed.isEmpty()) {
        QPainter lp(&layer_);
        next.mend(lp, changed);
    }
    update(changed);
    scene_.emplace(std::move(next));
    sceneCount_ = count;
    sceneSize_ = size();
    scenePpt_ = ppt_;
}

void CanvasWidget::changeEvent(QEvent *e)
{
    // Another font or style may set the labels out otherwise: painted whole.
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        forget();
        update();
    }
    QWidget::changeEvent(e);
}

void CanvasWidget::paintEvent(QPaintEvent *e)
{
    // A change that came by another way than the window's catching up (the
    // driver's own steps) is painted too: here where it falls in this
    // event's region, and in a paint of its own where it does not.
    catchUp();
    QPainter p(this);
    // A box paints straight from its scene, only the region that changed.
    // The plane, while the keyboard's cursor is drawn over it, also keeps
    // its picture at the screen's pixels, mended where it changes: the
    // cursor moves without any change beneath it, and a copy is the
    // cheapest way to put back what it covered. Other boxes keep no copy,
    // which would cost a screen-sized buffer per box (several megabytes on
    // a large screen) and save nothing, since their changes are painted
    // from the scene either way.
    if (layer_.isNull() && paintedOnce_ && overlay && !overlayAt_.isEmpty()) {
        const double dpr = devicePixelRatioF();
        layer_ = QPixmap(size() * dpr);
        layer_.setDevicePixelRatio(dpr);
        QPainter lp(&layer_);
        scene_->mend(lp, QRegion(rect()));
    }
    if (!layer_.isNull()) {
        // Rectangle by rectangle: a region along a slanted line is many small
        // rectangles in a large bounding one.
        // (At a fractional ratio a rectangle does not fall on whole device
        // pixels: the pixmap is laid whole, clipped to the region.)
        const double dpr = layer_.devicePixelRatio();
        if (dpr == std::floor(dpr))
            for (const QRect &r : e->region())
                p.drawPixmap(r, layer_, QRect(r.topLeft() * int(dpr), r.size() * int(dpr)));
        else
            p.drawPixmap(0, 0, layer_);
    } else {
        p.fillRect(rect(), toQColor(canvas_.BackColor));
        scene_->paint(p, e->region());
        paintedOnce_ = true;
    }
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
