#pragma once
#include "controls/Canvas.h"
#include "ui/CanvasPainter.h"
#include "ui/ResultsChart.h"
#include "ui/RunImage.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QPainter;

// A picture box on the screen: paints its canvas and reports mouse events in
// the canvas's user scale. It paints only what changes: the window asks it
// to catch up after every event, and it repaints the parts of the box where
// the new picture differs from the one it painted (nothing when its canvas
// has not changed since), and where the overlay was and now is.
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    CanvasWidget(Canvas &canvas, QWidget *parent);
    void setPixelsPerTwip(double ppt) { ppt_ = ppt; }
    double pixelsPerTwip() const { return ppt_; }
    Canvas &canvas() { return canvas_; }

    // Brings the box up to date with its canvas and its overlay.
    void refresh();

    // Mouse press, move (with the button held or not) and release in user
    // units; the release says whether it ended over the box.
    std::function<void(double, double)> onMouseDown;
    std::function<void(double, double, bool)> onMouseMove, onMouseUp;
    // Drawn over the display list by the window itself (the keyboard's
    // cursor on the plane), in the widget's pixels, and the part of the
    // widget it covers (empty when it shows nothing).
    std::function<void(QPainter &, const CanvasWidget &)> overlay;
    std::function<QRectF(const CanvasWidget &)> overlayBounds;
    // The results chart's names for the sets of its runs.
    chart::CaptionOf caption;

    // A point of the box's user scale in the widget's pixels.
    QPointF toPixels(double x, double y) const;

protected:
    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QPointF toUser(const QPointF &px) const;
    QSizeF boxTwips() const;
    // Sets the canvas out again when it or the box has changed, and asks
    // for a paint where the picture changed.
    void catchUp();
    // Drops what is kept: the next paint is a whole one.
    void forget();
    // Drops the kept still part and its buffer.
    void dropKept();
    // Paints the kept part again from the scene, a band of rows at a time:
    // the bands that meet baseStale_, or all of it when there is none kept
    // (or it is stale nowhere, as when it is first made).
    void paintBase();
    // How many of those bands `region` meets.
    static int bandsMet(const QRegion &region);
    Canvas &canvas_;
    double ppt_ = 1.0 / 15.0;
    // What was set out last, for which canvas count, size and scale.
    std::optional<CanvasScene> scene_;
    uint64_t sceneCount_ = 0;
    QSize sceneSize_;
    double scenePpt_ = 0;
    QRectF overlayAt_; // where the overlay was last asked to be painted
    // The plane's still part while it takes an answer, at the screen's
    // pixels, as runs of equal pixels: the background and the scene's first
    // `baseEnd_` pieces, those taken to stand still (the grid, the axes, the
    // figure: all that lies under the learner's line). A paint reads it back
    // where it is asked and paints only the later pieces over it.
    RunImage base_;
    std::size_t baseEnd_ = 0;
    QRegion baseStale_; // where it no longer holds what it should
    // Rows of the box it is painted and read back by, at a time.
    static constexpr int kBandRows = 32;
    // A band of its rows, painted or read back, kept while it is: a buffer
    // taken afresh at each paint is fresh pages for the system to map at
    // each move.
    std::vector<uint32_t> bandRows_;
    bool paintedOnce_ = false;
};
