#pragma once
// Plotting a curve on a picture box: x walks from one bound to the other in
// even steps (a running sum, as the figures have always walked it); the
// first point is set as a dot and every further one joined to the last by a
// segment, so that the curve is one stroke in the display list.
#include "controls/Canvas.h"

#include <functional>

namespace plot {

struct Walk {
    double from = -8, to = 8, step = 0.01;
    double slack = 0;      // how far past `to` a step may still fall (rounding of the sum)
    double limit = 100000; // y is held within ±limit
    // An inverse proportion: x = 0 is stepped over and the two branches are
    // drawn apart; a stroke joining them along the y-axis would be false.
    bool twoBranches = false;
    // Only points whose y lies within ±keepWithin are joined (the learner's
    // own line); 0 joins every point.
    double keepWithin = 0;
};

// Plots y(x) on the canvas in its current colour and width. `visit` sees
// every point that was plotted, in order (the figures place their labels by
// it). A y that is not a number (0 ÷ 0) is plotted as 0.
void curve(Canvas &c, const Walk &walk, const std::function<double(double)> &y,
           const std::function<void(double, double)> &visit = {});

// y of a graph of a kind: 1 a line, slope × x + intercept; 2 an inverse
// proportion, k ÷ x; 3 a square function, slope × x × x; any other kind 0.
std::function<double(double)> graphOf(int kind, double slope, double intercept, double k);

} // namespace plot
