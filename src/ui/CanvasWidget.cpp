#include "ui/CanvasWidget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>
#include <utility>

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
    dropKept();
    paintedOnce_ = false;
    overlayAt_ = QRectF();
}

void CanvasWidget::dropKept()
{
    base_ = RunImage();
    baseStale_ = QRegion();
    bandRows_ = {};
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
            dropKept(); // the plane takes no answer now: no copy kept
    }
    const double dpr = devicePixelRatioF();
    if (!base_.isNull() && base_.size() != size() * dpr) {
        // Another screen or size: the kept picture is of no use.
        dropKept();
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
    std::size_t newFrom = 0;
    QRegion changed = scene_ ? next.changedSince(*scene_, &newFrom) : QRegion(rect());
    if (QRegion(next.boxPixels()).subtracted(changed).isEmpty() || size() != sceneSize_)
        changed = QRegion(rect());
    if (scene_ && !base_.isNull() && !changed.isEmpty()) {
        // The kept part holds what is taken to stand still: everything under
        // the last run of lines and shapes that changed. While the learner
        // draws, that is all that lies under the point and the line that
        // follow the pointer. A change that reaches into the kept part (the
        // next question, the first point drawn first as a drag begins)
        // paints it again at the next paint, up to the new last change; a
        // change of the labels alone keeps it as long as it holds.
        const std::size_t shared = next.sharedWith(*scene_);
        const std::size_t still = newFrom < next.pieceCount() ? newFrom : std::min(baseEnd_, shared);
        if (still != baseEnd_ || shared < baseEnd_) {
            // Painted again only where the two still parts differ: the
            // first point drawn first as a drag begins changes the kept
            // part round the point, not across the plane.
            const QRegion stale = next.firstChangedSince(*scene_, still, baseEnd_);
            // Shapes that have come to stand still above the kept part (a
            // line drawn, now that a later shape follows the pointer) may
            // as well stay over it, painted where a paint falls, as they
            // were: they are taken in only where that costs a band or two,
            // not a long line's every band in the middle of a drag.
            const bool onlyGrows = shared >= baseEnd_ && still > baseEnd_;
            if (!onlyGrows || bandsMet(stale) <= 2) {
                baseStale_ += stale;
                baseEnd_ = still;
            }
        }
    }
    // A line across the plane changes a staircase of some forty small
    // rectangles; painted and sent as they are, each costs more than the
    // few pixels it holds.
    update(fewerRects(changed, 64, 32));
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
    // The plane, while it takes an answer (the keyboard's cursor is drawn
    // over it), also keeps its still part at the screen's pixels: a move of
    // the learner's line or of the cursor copies what lies under them and
    // paints only the line and the labels again, not every grid line the
    // line crosses. Other boxes keep no copy, which would cost a
    // screen-sized buffer per box (several megabytes on a large screen) and
    // save little, since they change whole or in small places.
    const double dpr = devicePixelRatioF();
    // (At a fractional ratio a box's rectangles do not fall on whole device
    // pixels: nothing is kept, the box paints from its scene.)
    if (base_.isNull() && paintedOnce_ && overlay && !overlayAt_.isEmpty() && dpr == std::floor(dpr)) {
        // Until something changes, the shapes stand still; the labels,
        // which move aside from the learner's line, are painted over them.
        baseEnd_ = scene_->shapeCount();
        paintBase();
    } else if (!base_.isNull() && !baseStale_.isEmpty()) {
        paintBase();
    }
    if (!base_.isNull()) {
        // Rectangle by rectangle: a region along a slanted line is many small
        // rectangles in a large bounding one.
        // A large rectangle goes a band of rows at a time, so that it is
        // never read back whole into one image.
        const int d = int(dpr);
        const qsizetype stride = base_.size().width();
        bandRows_.resize(std::size_t(stride) * kBandRows * d);
        for (const QRect &r : e->region())
            for (int top = r.top(); top <= r.bottom(); top += kBandRows) {
                const QRect band(r.left(), top, r.width(), std::min(kBandRows, r.bottom() + 1 - top));
                const QSize got = base_.read(QRect(band.topLeft() * d, band.size() * d), bandRows_.data(), stride);
                if (got.isEmpty())
                    continue;
                QImage kept(reinterpret_cast<const uchar *>(bandRows_.data()), got.width(), got.height(),
                            stride * 4, base_.format());
                kept.setDevicePixelRatio(dpr);
                p.drawImage(band.topLeft(), kept);
            }
        scene_->paintOver(p, e->region(), baseEnd_);
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

void CanvasWidget::paintBase()
{
    const QRegion stale = std::exchange(baseStale_, QRegion());
    const int d = int(devicePixelRatioF());
    const QSize pixels = size() * d;
    const bool whole = stale.isEmpty() || base_.isNull() || base_.size() != pixels;
    RunImage fresh;
    if (whole) {
        base_ = RunImage(); // not two of them at once
        fresh = RunImage(pixels);
    }
    // A band of rows at a time, each painted as a part of the whole picture
    // (the same painter, the same coordinates, clipped to the band): the
    // image is as large as the picture but has memory only for the band's
    // rows, which are all that a painter clipped to them touches. A band
    // painted as a picture of its own, moved up, is not the same to the
    // last bit of every smoothed edge. The bands are those a paint reads
    // back, so that one changed place paints one or two of them again.
    const int kBand = kBandRows * d;
    const qsizetype stride = qsizetype(pixels.width()) * 4;
    bandRows_.resize(std::size_t(pixels.width()) * kBand);
    const QColor ground = toQColor(canvas_.BackColor);
    for (int top = 0; top < pixels.height(); top += kBand) {
        const int height = std::min(kBand, pixels.height() - top);
        const QRect bandRect(0, top / d, width(), (height + d - 1) / d);
        if (!whole && !stale.intersects(bandRect))
            continue;
        uchar *first = reinterpret_cast<uchar *>(bandRows_.data()) - top * stride;
        QImage picture(first, pixels.width(), pixels.height(), stride, QImage::Format_ARGB32_Premultiplied);
        picture.setDevicePixelRatio(d);
        QPainter bp(&picture);
        bp.setClipRect(bandRect);
        bp.fillRect(rect(), ground); // as a whole paint starts
        scene_->paintBase(bp, baseEnd_, QRegion(bandRect));
        bp.end();
        const QImage band(reinterpret_cast<const uchar *>(bandRows_.data()), pixels.width(), height, stride,
                          QImage::Format_ARGB32_Premultiplied);
        if (whole) {
            fresh.append(band);
        } else if (!base_.replace(top, band)) {
            paintBase(); // bands of another height: all of it
            return;
        }
    }
    if (whole) {
        fresh.squeeze();
        base_ = std::move(fresh);
    }
}

int CanvasWidget::bandsMet(const QRegion &region)
{
    std::vector<bool> met;
    for (const QRect &r : region)
        for (int band = std::max(0, r.top()) / kBandRows; band <= r.bottom() / kBandRows; ++band) {
            if (std::size_t(band) >= met.size())
                met.resize(std::size_t(band) + 1, false);
            met[std::size_t(band)] = true;
        }
    return int(std::count(met.begin(), met.end(), true));
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
