#pragma once
// Where the figures' printed labels lie on the drawing area, so that new
// numbers never put one label over another or out of the picture. A label
// is printed with its top left at a point; the box of its ink is estimated
// from the widths of the program's Japanese Gothic (a digit a little under
// two thirds of an em, a full-width character a whole em), in the units of
// an 18 by 18 plane on the drawing area of 5175 by 4935 twips.
#include <QString>

#include <vector>

namespace variants::labels {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0; // top > bottom: y grows upwards
};

// The box of a text printed at (x, y) in a font of that size in points.
Box textBox(double x, double y, const QString &text, double points);

// A number as the figures print it: " 4 " or "-3 ".
QString numberItem(long long v);
// "A( 4 ,-3 )": a point's name and its coordinates as the figures print them.
QString pointLabel(const QString &name, long long x, long long y);

bool overlap(const Box &a, const Box &b);
// Wholly inside the visible plane.
bool inside(const Box &b, double left, double top, double right, double bottom);

struct Plane {
    double left, top, right, bottom;
};
inline constexpr Plane kCoordinatePlane{-9, 9, 9, -9};

// Every label inside the plane and clear of the others and of the fixed
// texts (the plane's own numbers and caption).
bool apart(const std::vector<Box> &boxes, const Plane &plane, const std::vector<Box> &fixed = {});

// The coordinate plane's own marks: its axis numbers, its caption and the
// axes.
const std::vector<Box> &coordinatePlaneMarks();
// The numbers on the axes of the application planes (5, 10, -5), of the
// x-axis, the y-axis or both.
const std::vector<Box> &applicationPlaneNumbers(bool xAxis, bool yAxis);

} // namespace variants::labels
