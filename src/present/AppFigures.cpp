// The figures of the application sets, built on lines through the origin: a
// square standing under a line, a segment AC with the triangles OAC and OAD,
// and a segment between two lines. Each leaves its main points for the
// explanations.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"
#include "graph/LineEquation.h"
#include "graph/Plot.h"

#include <cmath>

namespace {

using kit::has;
using kit::printAt;
using kit::printNumberAt;

// The axis numbers of the application planes; those outside the visible
// plane are clipped.
void axisNumbers(Canvas &c)
{
    const struct {
        int v;
        double x, y;
    } n[] = {{5, 4.8, 0},   {-5, -5.2, 0},   {5, 0, 5.2},   {-5, 0, -4.6},
             {10, 9.6, 0},  {-10, -10.5, 0}, {10, 0, 10.2}, {-10, 0, -9.6}};
    for (const auto &k : n)
        printNumberAt(c, k.x, k.y, k.v);
}

// Where an equation's label goes: where its line leaves the 14 x 14 corner.
bool labelHere(double x, double y, double &lx, double &ly)
{
    if (std::abs(14 - x) < 0.02) {
        lx = 12;
        ly = conv::toInt16(std::floor(y) + 1.5);
        return true;
    }
    if (std::abs(14 - y) < 0.02) {
        lx = std::floor(x) - 2;
        ly = 14;
        return true;
    }
    return false;
}

// A visit of the plot that fixes the label where the line first leaves the
// corner.
std::function<void(double, double)> labelVisit(bool &labelled, double &lx, double &ly)
{
    return [&labelled, &lx, &ly](double x, double y) {
        if (!labelled)
            labelled = labelHere(x, y, lx, ly);
    };
}

} // namespace

void Form1::readFigureEquation(const QString &equation)
{
    eq.lineText = equation;
    parseLineEquation();
    figure.figureSlopeNum = eq.slopeNum;
    // A fractional intercept is kept as its two parts, a whole one as a number.
    if (const auto fraction = lines::interceptFraction(equation)) {
        eq.interceptNumText = fraction->num;
        eq.interceptDenText = fraction->den;
        eq.graphIntercept = 0;
    } else {
        eq.interceptNumText.clear();
        eq.interceptDenText.clear();
        eq.graphIntercept = conv::textToInt16(eq.interceptText);
    }
    setGraphKindFrom(equation);
}

void Form1::drawApplicationPlane(const QString &equation)
{
    Canvas &c = Picture6;
    const double k0 = equation.contains(u'-') ? 3 : 6;
    c.setScale(k0 - 9, k0 + 9, k0 + 9, k0 - 9);
    c.setDrawingArea(k0 - 8, k0 + 8, k0 + 8, k0 - 8);
    c.DrawWidth = 2;
    c.line(0, k0 + 8, 0, k0 - 8);
    c.line(k0 - 8, 0, k0 + 8, 0);
    c.DrawWidth = 1;
    figure.ticksOnly = 1;
    for (int k = int(k0) - 8; k <= int(k0) + 8; ++k) {
        c.line(k, -0.1, k, 0.1);
        c.line(-0.1, k, 0.1, k);
    }
    axisNumbers(c);
    figurePlaneCentre_ = k0;
}

void Form1::plotFigureLine()
{
    const double p = figure.figureSlopeNum, q = eq.slopeDen;
    const double b = (!eq.interceptNumText.isEmpty() && eq.graphIntercept == 0)
                         ? conv::numericPrefix(eq.interceptNumText) / conv::numericPrefix(eq.interceptDenText)
                         : double(eq.graphIntercept);
    const int kind = figure.graphKind;
    plot::Walk walk{-2, figurePlaneCentre_ + 10, 0.01};
    walk.twoBranches = kind == 2;
    bool labelled = false;
    plot::curve(
        Picture6, walk,
        [=](double x) { return kind == 1 ? x * p / q + b : kind == 2 ? p / x : kind == 3 ? x * p / q * x : 0.0; },
        labelVisit(labelled, figureLabelX_, figureLabelY_));
}

void Form1::drawSquareFigure()
{
    Canvas &c = Picture6;
    c.setScale(-3, 15, 15, -3);
    c.setDrawingArea(-2, 14, 14, -2);
    c.DrawWidth = 2;
    c.line(-2, 0, 14, 0);
    c.line(0, 14, 0, -2);
    figure.ticksOnly = 1;
    c.DrawWidth = 1;
    for (int k = -2; k <= 14; ++k) {
        c.line(-0.1, k, 0.1, k);
        c.line(k, -0.1, k, 0.1);
    }
    axisNumbers(c);

    figure.graphKind = 1;
    const int x0 = figure.squareStartX;
    eq.lineText = figure.appFigureLine;
    parseLineEquation();
    const double p = eq.slopeNum, q = eq.slopeDen;
    const double intercept = eq.intercept;

    double lx = 0, ly = 0;
    bool labelled = false;
    plot::curve(c, plot::Walk{-2, 16, 0.02}, [=](double x) { return x * p / q + intercept; },
                labelVisit(labelled, lx, ly));
    printAt(c, lx, ly, figure.appFigureLine);

    const float s = float(p * x0 / q);
    figure.figureX1 = float(x0);
    figure.figureY1 = s;
    figure.figureY2 = s;
    figure.figureX2 = float(x0) + s;
    const double right = double(x0) + double(s);
    c.box(x0, 0, right, s, false);
    if (right >= 12) {
        c.CurrentX = right - 3;
        c.CurrentY = double(s) + 1.5;
    } else {
        c.CurrentX = right;
        c.CurrentY = double(s) + 0.5;
    }
    c.FillStyle = 0;
    c.FillColor = 255;
    c.circle(right, s, 0.15);
    c.FillStyle = 1;
    c.FillColor = 8454143;
    c.FontSize = 18;
    c.print(QStringLiteral(" C"));
    printAt(c, right, -0.3, QStringLiteral(" D"));
    printAt(c, x0 - 1, double(s) + 0.5, QStringLiteral("A"));
    c.CurrentX = x0 - 1;
    c.CurrentY = -0.3;
    c.print(QStringLiteral(" B ("), true);
    c.printNumber(x0, true);
    c.print(QStringLiteral(",0)"));
    printAt(c, -1.2, 1.5, QStringLiteral("O"));
    c.FontSize = 12;
}

void Form1::drawOneLineFigure()
{
    Canvas &c = Picture6;
    drawApplicationPlane(figure.appLine1);
    readFigureEquation(figure.appLine1);
    plotFigureLine();

    const double xA = figure.appXValue;
    const float yA = float(figure.figureSlopeNum) * float(xA) / float(eq.slopeDen);
    figure.figureX1 = float(xA);
    figure.figureY1 = yA;
    figure.figureY2 = 0;
    const QString q = currentQuestion();
    if (has(q, u"三角形OADの面積")) {
        figure.figureX2 = figure.cornerDx;
        c.DrawWidth = 1;
        c.line(xA, yA, xA, 0);
        c.FontSize = 18;
        printAt(c, xA - 1.2, double(yA) + 1.2, QStringLiteral("A"));
        printNumberAt(c, xA, 0, xA);
        printAt(c, xA + 0.2, 1.4, QStringLiteral("C"));
        printAt(c, -0.9, 1.3, QStringLiteral("O"));
        c.DrawWidth = 2;
        c.line(xA, yA, figure.cornerDx, 0);
        c.DrawWidth = 1;
        c.FontSize = 18;
        printAt(c, figure.cornerDx + 0.2, 1.4, QStringLiteral("D"));
    } else if (has(q, u"三角形OACの面積") || has(q, u"直線ACの長さ")) {
        c.DrawWidth = 2;
        c.line(xA, yA, xA, 0);
        c.DrawWidth = 1;
        c.FontSize = 18;
        printAt(c, xA, yA, QStringLiteral("A"));
        printAt(c, xA, 0, QStringLiteral("C"));
        if (has(q, u"三角形OACの面積"))
            printAt(c, -0.9, 1.3, QStringLiteral("O"));
    }
}

void Form1::drawTwoLineFigure()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    const bool ab = has(q, u"直線ABの長さ");
    const bool bc = has(q, u"直線BCの長さ");
    const double v = figure.appXValue;
    drawApplicationPlane(figure.appLine2);

    readFigureEquation(figure.appLine1);
    plotFigureLine();
    const double p1 = figure.figureSlopeNum, q1 = eq.slopeDen;
    if (ab) {
        figure.figureX1 = float(v);
        figure.figureY1 = float(p1 * v / q1);
    } else if (bc) {
        figure.figureX1 = float(q1 * v / p1);
        figure.figureY1 = float(v);
    }
    printAt(c, figureLabelX_, figureLabelY_, figure.appLine1);

    readFigureEquation(figure.appLine2);
    plotFigureLine();
    const double p2 = figure.figureSlopeNum, q2 = eq.slopeDen;
    if (ab) {
        figure.figureX2 = float(v);
        figure.figureY2 = float(figure.graphKind == 2 ? p2 / v : p2 * v / q2);
    } else if (bc) {
        figure.figureX2 = float(v * q2 / p2);
        figure.figureY2 = float(v);
    }
    printAt(c, figureLabelX_, figureLabelY_, figure.appLine2);

    c.DrawWidth = 2;
    c.line(figure.figureX1, figure.figureY1, figure.figureX2, figure.figureY2);
    c.DrawWidth = 1;
    c.FontSize = 18;
    if (ab) {
        printAt(c, figure.figureX1, figure.figureY1, QStringLiteral("A"));
        printAt(c, figure.figureX2, figure.figureY2, QStringLiteral("B"));
    } else if (bc) {
        printAt(c, double(figure.figureX1) - 0.7, double(figure.figureY1) + 1.2, QStringLiteral("B"));
        printAt(c, figure.figureX2, figure.figureY2, QStringLiteral("C"));
    }
    printAt(c, -1, 1.5, QStringLiteral("O"));
    c.FontSize = 12;
}
