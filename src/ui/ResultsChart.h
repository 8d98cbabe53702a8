#pragma once
// The results chart as the learner reads it. The question cycle draws the
// chart into its box in the chart's own units (a bar of 4 units a run, the
// date two digits a line and the set's name one character a line below the
// axis); drawn so on a screen, the date and the name are a stack of kanji
// too small to read. The window reads the runs back from that drawing and
// sets them out at the window's text size: each bar with its score, under
// it the date as M/D and the set as its menu caption, upright where the
// slots are wide enough and turned a quarter where they are not; the run
// just finished on a pale band. Everything stays inside the box.
#include "controls/Canvas.h"

#include <QPainter>
#include <QSizeF>
#include <QString>

#include <functional>
#include <vector>

namespace chart {

struct Run {
    double score = 0;
    bool current = false; // the run just finished (the filled bar)
    int32_t color = 0;
    QString date;         // yymmdd as recorded
    QString set;          // the set's name as recorded
    QString label;        // the number printed above the bar, if any
    // What stands above the bar: its own number, or else its height.
    QString labelText() const { return label.isEmpty() ? QString::number(score) : label; }
};

// The runs of a chart, read from the box's display list in slot order.
std::vector<Run> readRuns(const Canvas &canvas);

// "261208" → "12/8"; anything else as it is.
QString shortDate(const QString &yymmdd);

// The name a run's set is shown under: its menu caption where the caller
// knows one ("長さ面積1.txt" → "長さ"), the name without ".txt" otherwise.
using CaptionOf = std::function<QString(const QString &)>;

// Where the parts of a chart stand in a box of that size, in twips.
struct Layout {
    QRectF plot;             // the bars' area: the axes are its left and bottom edges
    double low = 0, high = 0; // the scores at the plot's bottom and top
    double tick = 10;        // between two numbered grid lines
    double slot = 0;         // one run's width
    bool turned = false;     // labels under the bars a quarter turned
    bool scoresTurned = false; // scores above the bars a quarter turned
    double textSize = 9;     // points
};
Layout layoutFor(const std::vector<Run> &runs, QSizeF box, const CaptionOf &caption);

// Paints the chart over the box's background.
void paint(QPainter &painter, const std::vector<Run> &runs, QSizeF box, const CaptionOf &caption);

} // namespace chart
