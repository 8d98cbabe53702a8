// Answering on the plane with the mouse: presses snap to lattice points; a
// point question takes the latest point, a graph question a line through two
// points that differ in both coordinates, drawn as the learner's graph and
// checked against the expected line at once.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"
#include "graph/LineEquation.h"
#include "graph/Plot.h"
#include "graph/Points.h"

#include <cmath>

namespace {

using kit::kGreen;
using kit::kRed;
using points::pointText;

int16_t snap(double v) { return conv::toInt16(std::floor(v + 0.5)); }

// The walk of the learner's curves: a point at its first x, then joined
// segments, nothing held back but what `limit` says.
plot::Walk walk(double from, double to, double step, double limit = 1e300)
{
    plot::Walk w{from, to, step};
    w.slack = 1e-9;
    w.limit = limit;
    return w;
}

// An inverse proportion: its two branches, never joined across the y-axis.
void plotInverse(Canvas &c, double k, double limit)
{
    const auto y = [k](double x) { return k / x; };
    plot::curve(c, walk(-8.0, -0.1, 0.05, limit), y);
    plot::curve(c, walk(0.1, 8.0, 0.05, limit), y);
}

} // namespace

void Form1::redrawPlaneForAnswer()
{
    drawPlaneAxes();
    drawGridOrTicks(figure.ticksOnly == 0, 0.3);
}

void Form1::redrawPlaneWithNumbers()
{
    redrawPlaneForAnswer();
    Canvas &c = Picture6;
    const struct {
        const char16_t *text;
        double x, y;
    } labels[] = {{u"0", 0.2, -0.1}, {u"5", 4.8, -0.1}, {u"-5", -5.2, -0.1}, {u"5", 0.3, 5.1}, {u"-5", 0.2, -4.8}};
    for (const auto &l : labels) {
        c.CurrentX = l.x;
        c.CurrentY = l.y;
        c.print(QString::fromUtf16(l.text));
    }
}

void Form1::Picture6_MouseDown(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    if (graph.keyboardAnswerMode == 1)
        return;
    Canvas &c = Picture6;
    graph.mouseHeld = -1;
    if (graph.firstPointSet == -1) {
        graph.secondX = snap(x);
        graph.secondY = snap(y);
        graph.pointsApart = (graph.secondX != graph.pointX && graph.secondY != graph.pointY) ? -1 : 0;
        c.Cls();
        redrawPlaneWithNumbers();
    }
    graph.pointX = snap(x);
    graph.pointY = snap(y);

    if (figure.graphKind == 0) {
        // A point question: every press replaces the point. The press is
        // kept for the click list too (a midpoint question lists it).
        c.circle(graph.pointX, graph.pointY, 0.15);
        graph.clickAnswer = pointText(graph.pointX, graph.pointY);
        graph.firstPointSet = -1;
        graph.lastX = graph.pointX;
        graph.lastY = graph.pointY;
        return;
    }

    graph.firstPointSet = -1;
    kit::filledCircle(Picture6, graph.pointX, graph.pointY, 0.1, kRed);
    if (eq.graphIntercept == 0) {
        // A line through the origin starts at the origin whatever the press.
        graph.pointX = 0;
        graph.pointY = 0;
        c.circle(0, 0, 0.2);
        graph.clickedX[1] = 0;
        graph.clickedY[1] = 0;
    }
    graph.lastX = graph.pointX;
    graph.lastY = graph.pointY;
    if (graph.pointsApart == -1) {
        completeLine();
    } else {
        // The line starts here. A move copies the point to the anchor too,
        // but a press needs no move before it (a second press at the same
        // spot): without this the line would start at a stale anchor.
        graph.anchorX = graph.pointX;
        graph.anchorY = graph.pointY;
        markFirstPoint();
    }
}

void Form1::completeLine()
{
    Picture6.circle(graph.secondX, graph.secondY, 0.1);
    redrawPlaneForAnswer();
    drawLearnersGraph();
    // Right only when both points lie exactly on the expected line. The
    // line's value rounded to a whole number would accept the lattice points
    // beside a line of fractional slope (y=1/2x through (2,1)... and (3,2)).
    eq.lineText = currentAnswer();
    parseLineEquation();
    const bool onLine = lines::passesThrough(currentAnswer(), graph.anchorX, graph.anchorY)
                        && lines::passesThrough(currentAnswer(), graph.secondX, graph.secondY);
    graph.clickAnswer = onLine ? currentAnswer() : QStringLiteral("tigau");
    // The next press starts a new line.
    graph.mouseHeld = 0;
    graph.firstPointSet = 0;
    graph.pointsApart = 0;
}

void Form1::drawLearnersGraph()
{
    Canvas &c = Picture6;
    const double ax = graph.anchorX, ay = graph.anchorY;
    const double sx = graph.secondX, sy = graph.secondY;
    if (figure.graphKind == 2) {
        plotInverse(c, sx * sy, 16);
        return;
    }
    const double m = sx != ax ? (sy - ay) / (sx - ax) : 0;
    const double b = ay - m * ax;
    const double a = sx != 0 ? sy / (sx * sx) : 0;
    // Points off the plane are left out of the stroke.
    plot::Walk w = walk(-8, 8, 0.1);
    w.keepWithin = 8;
    const int kind = figure.graphKind;
    plot::curve(c, w, [=](double x) { return kind == 3 ? a * x * x : m * x + b; });
}

void Form1::Picture6_MouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    if (graph.keyboardAnswerMode == 1 || figure.graphKind == 0 || graph.mouseHeld != -1)
        return;
    Canvas &c = Picture6;
    c.Cls();
    if (eq.graphIntercept == 0) {
        graph.firstPointSet = -1;
        graph.pointX = 0;
        graph.pointY = 0;
    }
    if (graph.firstPointSet == -1) {
        kit::filledCircle(Picture6, graph.pointX, graph.pointY, 0.1, kRed);
        graph.anchorX = graph.pointX;
        graph.anchorY = graph.pointY;
        if (graph.pointsApart == -1)
            kit::filledCircle(Picture6, graph.secondX, graph.secondY, 0.1, kRed);
    }
    if (figure.ticksOnly == 0)
        redrawPlaneWithNumbers();
    else
        redrawPlaneForAnswer();
    markFirstPoint();

    graph.secondX = conv::toInt16(x);
    graph.secondY = conv::toInt16(y);
    if (graph.secondX == graph.pointX)
        graph.secondX = conv::add16(graph.pointX, 1);
    const double dx = graph.secondX - graph.pointX;
    const double m = (graph.secondY - graph.pointY) / dx;
    const double b = graph.pointY - m * graph.pointX;
    const double k = double(graph.secondX) * graph.secondY;
    const double a = std::clamp(double(graph.secondY) / (double(graph.secondX) * graph.secondX), -20.0, 20.0);
    if (graph.pointsApart != 0)
        return;
    // The preview follows the mouse.
    if (figure.graphKind == 2)
        plotInverse(c, k, 100);
    else if (figure.graphKind == 3)
        plot::curve(c, walk(-8.0, 8.0, 0.05), [a](double x) { return a * x * x; });
    else
        plot::curve(c, walk(-8.0, 8.0, 0.1), [m, b](double x) { return m * x + b; });
}

void Form1::Picture6_Click()
{
    if (graph.keyboardAnswerMode == 1)
        return;
    if (figure.graphKind == 0 && figure.midpointQuestion == 0)
        return;
    Canvas &c = Picture6;
    const int16_t x = graph.lastX, y = graph.lastY;
    if (eq.graphIntercept != 0 || figure.midpointQuestion == 1) {
        bool known = false;
        for (int i = 1; i <= graph.clickCount; ++i)
            known = known || (graph.clickedX[i] == x && graph.clickedY[i] == y);
        if (!known) {
            graph.clickCount = graph.clickCount + 1 > 3 ? 2 : graph.clickCount + 1;
            graph.clickedX[graph.clickCount] = x;
            graph.clickedY[graph.clickCount] = y;
        }
    } else {
        graph.clickCount = 1;
        graph.clickedX[1] = 0;
        graph.clickedY[1] = 0;
        c.circle(0, 0, 0.2);
    }
    for (int i = 1; i <= graph.clickCount; ++i)
        kit::filledCircle(Picture6, graph.clickedX[i], graph.clickedY[i], 0.15, kGreen);
}

void Form1::Picture6_DblClick() {}
