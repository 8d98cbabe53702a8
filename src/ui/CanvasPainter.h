#pragma once
#include "controls/Canvas.h"

#include <QColor>
#include <QPainter>

// Paints a picture box's background and display list. The painter's
// coordinates are pixels of the box; pixelsPerTwip maps the box's twips.
void paintCanvas(QPainter &painter, const Canvas &canvas, double pixelsPerTwip);

// A colour with red in the lowest byte.
QColor toQColor(int32_t bgr);
