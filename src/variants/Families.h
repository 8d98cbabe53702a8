#pragma once
// The families of question templates, one maker each: it reads a bank's
// question and answer and gives its template, or nothing when the question
// is not of its family (or has nothing that can vary safely).
#include "variants/Template.h"

namespace variants::families {

using Made = std::unique_ptr<Template>;

// ApplicationTemplates.cpp: the square under a line, the segment AC with the
// triangles OAC and OAD, the segment between two lines.
Made application(const QString &q, const QString &a);
// CircleTemplates.cpp: circles, half circles and sectors.
Made circle(const QString &q, const QString &a);
// PlaneTemplates.cpp: segments, quadrilaterals and triangles on the
// coordinate plane.
Made segment(const QString &q, const QString &a);
Made polygon(const QString &q, const QString &a);
// LineTemplates.cpp: graphs to read and to draw, lines in general form and
// in words, points on a line.
Made pointOnLine(const QString &q, const QString &a);
Made graphToRead(const QString &q, const QString &a);
Made graphToDraw(const QString &q, const QString &a);
Made describedLine(const QString &q, const QString &a);
// PointTemplates.cpp: points to plot (given, symmetric, midpoints, moved)
// and points to read off the plane.
Made pointToPlot(const QString &q, const QString &a);
Made pointToRead(const QString &q, const QString &a);

} // namespace variants::families
