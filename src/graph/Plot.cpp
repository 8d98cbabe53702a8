#include "graph/Plot.h"

#include <algorithm>
#include <cmath>

namespace plot {

void curve(Canvas &c, const Walk &walk, const std::function<double(double)> &y,
           const std::function<void(double, double)> &visit)
{
    bool started = false;
    bool leftSide = false;
    for (double x = walk.from; x <= walk.to + walk.slack; x += walk.step) {
        if (walk.twoBranches) {
            if (std::abs(x) < 1e-9) {
                started = false;
                continue;
            }
            // The walk crosses the y-axis between two steps: a new branch.
            if (started && leftSide && x > 0)
                started = false;
            leftSide = x < 0;
        }
        double v = y(x);
        v = std::isnan(v) ? 0 : std::clamp(v, -walk.limit, walk.limit);
        if (!started) {
            c.pset(x, v);
            started = true;
        } else if (walk.keepWithin <= 0 || std::abs(v) <= walk.keepWithin) {
            c.lineTo(x, v);
        } else {
            continue;
        }
        if (visit)
            visit(x, v);
    }
}

std::function<double(double)> graphOf(int kind, double slope, double intercept, double k)
{
    switch (kind) {
    case 1:
        return [=](double x) { return x * slope + intercept; };
    case 2:
        return [=](double x) { return k / x; };
    case 3:
        return [=](double x) { return x * slope * x; };
    default:
        return [](double) { return 0.0; };
    }
}

} // namespace plot
