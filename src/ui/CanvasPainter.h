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
    // Labels on halos of the background, kept inside the box, and moved a
    // little aside where they would fall on another label or cut a stroke
    // of the figure (the figures and the chart, whose labels sit near axis
    // numbers, lines and each other; see ui/LabelPlacement.h); the typeset
    // answers keep their exact layout.
    bool nudgeLabels = false;
    // The text panels: all their lines made smaller together where they do
    // not fit the box.
    bool fitText = false;
};

// Paints a picture box's background and display list. The painter's
// coordinates are pixels of the box; pixelsPerTwip maps the box's twips.
// Every label is drawn to be read, placed as ui/LabelPlacement.h says.
void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options = {});

// How much the x axis must be squeezed for every box of the canvas to show.
double contentWidthFit(const Canvas &canvas);

// The paint options the window uses for each picture box.
PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips);

// A colour with red in the lowest byte.
QColor toQColor(int32_t bgr);
