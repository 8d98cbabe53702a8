#pragma once
// Where the labels of a picture box are shown so that each can be read. The
// display list keeps every label where the figure code printed it; here the
// view decides, for the box's size on the screen or the page:
//   - a label drawn twice at one place shows once;
//   - a label is kept wholly inside the box: moved inward where it runs
//     over an edge, made smaller only when it is larger than the box, and
//     left out when its middle lies outside (an axis number past the
//     visible plane);
//   - on the figures and the chart, a label stands on a halo of the
//     background, so that axes, ticks, grid lines and strokes never run
//     through its glyphs; and a label that would fall on another label, or
//     whose halo would cut a stroke of the figure, is moved a little aside
//     to the nearest place where it does neither.
// Everything here is in twips of the box. The painter paints the shapes,
// then every halo, then every label's text, so no halo covers a label.
#include "controls/Canvas.h"

#include <QLineF>
#include <QRectF>
#include <QSizeF>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace labels {

// Maps a display list's user coordinates to the box's twips.
struct BoxMap {
    CanvasScale s;
    double w = 0, h = 0;
    QPointF operator()(double x, double y) const { return {(x - s.left) / s.width * w, (y - s.top) / s.height * h}; }
    double radius(double r) const { return std::abs(r / s.width * w); }
    // The same box under the scale an op was drawn with.
    BoxMap forOp(const CanvasOp &op) const
    {
        BoxMap m = *this;
        m.s = op.scale;
        return m;
    }
    // The rectangle between an op's two corners.
    QRectF corners(const CanvasOp &op) const { return QRectF((*this)(op.x1, op.y1), (*this)(op.x2, op.y2)).normalized(); }
    // A rectangle given in user units.
    QRectF rect(const QRectF &user) const
    {
        return QRectF((*this)(user.left(), user.top()), (*this)(user.right(), user.bottom())).normalized();
    }
};

// What a label's halo may fall on: a stroke of the figure (a segment, a
// curve, a circle or a marker), which it should leave whole, or the plane's
// furniture (axes, ticks, grid lines), which it may hide.
struct Obstacle {
    QLineF line;
    bool furniture = false;
    double width = 15; // the stroke's width
};

// One label: the print items that are read as one ("A(", 3, ",", -2, ")"
// on one line, each starting where the last ended).
struct Label {
    std::vector<std::size_t> ops; // its items in the display list
    QString text;                 // the items' texts joined
    QPointF origin;               // top-left of its first item, as printed
    double width = 0, height = 0; // advance and line height at the origin
    QRectF ink;                   // the glyphs' extent at the origin
    double pad = 0;               // the halo's margin round the glyphs
    QPointF shift;                // how far the view moves it
    double scale = 1;             // below 1 only for a label larger than the box
    bool hidden = false;
    // The next line of the label before it (printed at the same x, a line
    // lower): the lines of one block move together and keep their order.
    bool nextLine = false;
    // A stroke that runs between the lines of a block (the bar of a
    // fraction written as two labels) stays clear of their halos: the halo
    // ends short of it.
    double haloTop = -1e300, haloBottom = 1e300;
    // The glyphs where they are shown, and the halo under them.
    QRectF placed() const { return placedAt(shift); }
    QRectF halo() const { return haloAt(shift); }
    // The same were the view to move it by `moved` instead (the places a
    // label is tried at, without a copy of it for each).
    QRectF placedAt(QPointF moved) const;
    QRectF haloAt(QPointF moved) const
    {
        QRectF r = placedAt(moved).adjusted(-pad, -pad, pad, pad);
        r.setTop(std::max(r.top(), haloTop));
        r.setBottom(std::min(r.bottom(), haloBottom));
        return r;
    }
};

struct Options {
    // Halos, and labels moved aside from each other and from the strokes.
    bool nudge = false;
    // The text panels (the question, the explanation): lines that do not
    // all fit are made smaller together, as one block, keeping their layout.
    bool fitBlock = false;
    // How close to the box's edge a label's glyphs may come.
    double edge = 20;
};

// Places labels whose ink is known among the obstacles of a box of size
// `box`, in drawing order (a later label gives way to an earlier one).
void place(std::vector<Label> &labels, const std::vector<Obstacle> &obstacles, QSizeF box, const Options &options);

// The labels of a canvas as its printed items make them, measured in the
// window's fonts, at their places in the box.
std::vector<Label> labelsOf(const Canvas &canvas, const BoxMap &map);

// The lines, curves, circles and boxes of a canvas as obstacles, in twips.
std::vector<Obstacle> obstaclesOf(const Canvas &canvas, const BoxMap &map);

// labelsOf, obstaclesOf and place in one: the labels of the canvas where
// the view shows them in a box of that size.
std::vector<Label> placeLabels(const Canvas &canvas, const BoxMap &map, const Options &options);

} // namespace labels
