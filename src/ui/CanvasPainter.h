#pragma once
#include "controls/Canvas.h"
#include "ui/LabelPlacement.h"
#include "ui/ResultsChart.h"

#include <QColor>
#include <QPainter>
#include <QSizeF>

struct PaintOptions {
    // The box's size in twips as the window shows it; the designed size
    // when not given.
    QSizeF boxTwips;
    // The results chart: read from the display list and set out at the
    // window's text size (ui/ResultsChart.h), its sets named by `caption`.
    bool chart = false;
    chart::CaptionOf caption;
    // Labels on halos of the background, kept inside the box, and moved a
    // little aside where they would fall on another label or cut a stroke
    // of the figure (the figures and the chart, whose labels sit near axis
    // numbers, lines and each other; see ui/LabelPlacement.h); the typeset
    // answers keep their exact layout.
    bool nudgeLabels = false;
    // The text panels: all their lines made smaller together where they do
    // not fit the box.
    bool fitText = false;
    // What is painted over the background: the shapes (lines, boxes,
    // circles), the labels (each on its halo), or both. A view that keeps
    // the shapes of a box can paint its labels apart.
    enum Layer { Shapes = 1, Labels = 2 };
    int layers = Shapes | Labels;
    // On paper (the worksheets): grid lines in grey and axes at least twice
    // as heavy and never thinner than a few device pixels, so the axes stand
    // out of the grid at any resolution.
    bool paper = false;
};

// Paints a picture box's background and display list. The painter's
// coordinates are pixels of the box; pixelsPerTwip maps the box's twips.
// Every label is drawn to be read, placed as ui/LabelPlacement.h says.
void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip, const PaintOptions &options = {});

// The labels of a canvas where paintCanvas shows them in a box of that size
// (twips), with their halos: what a test measures, and what a view that
// keeps its shapes apart paints again.
std::vector<labels::Label> placedLabels(const Canvas &canvas, QSizeF boxTwips, const PaintOptions &options);

// The paint options the window uses for each picture box.
PaintOptions paintOptionsFor(const Canvas &canvas, QSizeF boxTwips);

// A colour with red in the lowest byte.
QColor toQColor(int32_t bgr);
