#pragma once
#include "controls/Canvas.h"

#include <QColor>
#include <QPainter>
#include <QSizeF>

struct PaintOptions {
    // The box's size in twips as the window shows it; the designed size
    // when not given.
    QSizeF boxTwips;
    // Squeeze the x axis so that every box drawn is seen (the results chart).
    bool fitContentWidth = false;
    // Move a label a little aside where it would fall on one drawn before it
    // (the figures and the chart, whose labels the Parts place near axis
    // numbers and each other); the typeset answers keep their exact layout.
    bool nudgeLabels = false;
};

// Paints a picture box's background and display list. The painter's
// coordinates are pixels of the box; pixelsPerTwip maps the box's twips.
// Every label is drawn to be read: a label drawn twice at one place shows
// once, one that runs out of the box is scaled into it, and a thin rim of
// the background keeps lines that pass under a label from striking it out.
void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options = {});

// How much the x axis must be squeezed for every box of the canvas to show.
double contentWidthFit(const Canvas &canvas);

// The paint options the window uses for each picture box.
PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips);

// A colour with red in the lowest byte.
QColor toQColor(int32_t bgr);
