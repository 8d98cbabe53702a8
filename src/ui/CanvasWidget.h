#pragma once
#include "controls/Canvas.h"
#include "ui/ResultsChart.h"

#include <QWidget>

#include <functional>

class QPainter;

// A picture box on the screen: paints its canvas and reports mouse events in
// the canvas's user scale.
class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    CanvasWidget(Canvas &canvas, QWidget *parent);
    void setPixelsPerTwip(double ppt) { ppt_ = ppt; }
    Canvas &canvas() { return canvas_; }

    // Mouse press, move (with the button held or not) and release in user
    // units; the release says whether it ended over the box.
    std::function<void(double, double)> onMouseDown;
    std::function<void(double, double, bool)> onMouseMove, onMouseUp;
    // Drawn over the display list by the window itself (the keyboard's
    // cursor on the plane), in the widget's pixels.
    std::function<void(QPainter &, const CanvasWidget &)> overlay;
    // The results chart's names for the sets of its runs.
    chart::CaptionOf caption;

    // A point of the box's user scale in the widget's pixels.
    QPointF toPixels(double x, double y) const;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    QPointF toUser(const QPointF &px) const;
    QSizeF boxTwips() const;
    Canvas &canvas_;
    double ppt_ = 1.0 / 15.0;
};
