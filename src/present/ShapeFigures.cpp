// Circles, sectors, segments, quadrilaterals and triangles. The circle
// figures are schematic (always the same size, the measures printed as
// labels); the figures on the plane are exact, one grid unit a unit.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "present/Params.h"

#include <cmath>

namespace {
constexpr int32_t kBlue = conv::rgb(0, 0, 255);
constexpr int32_t kGreen = conv::rgb(0, 255, 0);
constexpr double kPi = 3.14159265;

bool has(const QString &q, const char16_t *word) { return q.contains(QString::fromUtf16(word)); }

void printAt(Canvas &c, double x, double y, const QString &text)
{
    c.CurrentX = x;
    c.CurrentY = y;
    c.print(text);
}

// "A(" 3 "," -2 ")": the numbers are print items with their blanks.
void printPoint(Canvas &c, double x, double y, const QString &name, int px, int py)
{
    c.CurrentX = x;
    c.CurrentY = y;
    c.print(name + u'(', true);
    c.printNumber(px, true);
    c.print(u","_qs, true);
    c.printNumber(py, true);
    c.print(u")"_qs);
}
} // namespace

void Form1::drawCircleFrame()
{
    keyboardLayout();
    Picture6.setScale(-9, 9, 9, -9);
    Picture6.DrawWidth = 1;
    printAt(Picture6, 3, 9, QStringLiteral("単位はcmとする"));
    printAt(Picture6, 3, 8, QStringLiteral("πは P を使用する"));
}

void Form1::presentCircleUnknownRadius(const QString &text, const QString &params)
{
    Canvas &c = Picture6;
    drawCircleFrame();
    const Params p(params);
    figure.cornerAx = p.number(1);
    figure.cornerAy = p.number(2);
    figure.cornerBx = p.number(3);
    figure.cornerBy = p.number(4);
    if (has(text, u"円の面積が")) {
        figure.givenMeasure = p.after(4);
        figure.circleKind = 5;
    }
    if (has(text, u"円周が")) {
        figure.givenCircumference = p.after(4);
        figure.circleKind = 6;
    }
    const double cx = figure.cornerAx, cy = figure.cornerAy + 2;
    c.circle(cx, cy, 0.1);
    c.circle(cx, cy, 5);
    if (has(text, u"半径を求め")) {
        c.line(cx, cy, 5, cy);
        c.FontSize = 20;
        printAt(c, (cx + 6) / 2 - 1.5, 3.5, QStringLiteral("xcm"));
    } else {
        c.line(-5, cy, 5, cy);
        c.FontSize = 20;
        printAt(c, -0.8, 3.5, QStringLiteral("2xcm"));
    }
    if (has(text, u"円の面積が")) {
        c.CurrentX = -3.8;
        c.CurrentY = 0;
        c.print(QStringLiteral("面積="), true);
        c.print(figure.givenMeasure);
        c.FontSize = 12;
    }
    if (has(text, u"円周が")) {
        c.CurrentX = -4.8;
        c.CurrentY = 0;
        c.print(QStringLiteral("円周 "), true);
        c.print(figure.givenCircumference);
        c.FontSize = 12;
    }
}

void Form1::presentCircleOrSector(const QString &text, const QString &params)
{
    Canvas &c = Picture6;
    drawCircleFrame();
    const Params p(params);
    figure.cornerAx = p.number(1);
    figure.cornerAy = p.number(2);
    figure.cornerBx = p.number(3);
    const double cx = figure.cornerAx, cy = figure.cornerAy + 2;
    const int r = figure.cornerBx;
    c.circle(cx, cy, 0.1);
    if (has(text, u"おうぎ形")) {
        figure.cornerBy = p.number(4);
        figure.cornerCx = p.number(5);
        const double a = conv::numericPrefix(p.field(4));
        const double b = conv::numericPrefix(p.field(5));
        c.arc(cx, cy, 6, figure.cornerBy, figure.cornerCx);
        const double ra = a * kPi / 180;
        c.line(cx, cy, 6.1 * std::cos(ra), 6.1 * std::sin(ra) + 2);
        // The second radius stops two degrees short of the arc's end, so the
        // two do not merge into one thick stroke, except on the axes.
        const double rb = (b == 180 || b == 90 ? b : b - 2) * kPi / 180;
        c.line(cx, cy, 6.2 * std::cos(rb), 6.2 * std::sin(rb) + 2);
        c.FontSize = 20;
        c.CurrentX = (cx + 6) / 2;
        c.CurrentY = 3;
        c.printNumber(r);
        c.FontSize = 12;
        c.CurrentX = 0.2;
        c.CurrentY = 3;
        c.printNumber(b - a, true);
        c.print(QStringLiteral("°"));
    } else {
        c.circle(cx, cy, 5);
        const int d = int(2 * s_.random.next()) + 1;
        if (d == 2) {
            c.line(-5, cy, 5, cy);
            c.FontSize = 20;
            c.CurrentX = -0.8;
            c.CurrentY = 3.5;
            c.printNumber(2 * r);
        } else {
            c.line(0, cy, 5, cy);
            c.FontSize = 20;
            c.CurrentX = (cx + 6) / 2 - 1.5;
            c.CurrentY = 3.5;
            c.printNumber(r);
        }
        c.FontSize = 12;
    }
    showQuestionTextAgain(text);
    if (has(text, u"円周を求め"))
        figure.circleKind = 2;
    if (has(text, u"面積を求め"))
        figure.circleKind = 1;
    if (has(text, u"面積を求め") && has(text, u"おうぎ形"))
        figure.circleKind = 3;
    if (has(text, u"弧を求め") && has(text, u"おうぎ形"))
        figure.circleKind = 4;
}

void Form1::presentSegment(const QString &params)
{
    Canvas &c = Picture6;
    const Params p(params);
    figure.cornerAx = p.number(1);
    figure.cornerAy = p.number(2);
    figure.cornerBx = p.number(3);
    figure.cornerBy = p.number(4);
    const int x1 = figure.cornerAx, y1 = figure.cornerAy, x2 = figure.cornerBx, y2 = figure.cornerBy;
    // A is the point further right; on a vertical segment, the second point.
    const bool firstIsA = x1 > x2;
    const int ax = firstIsA ? x1 : x2, ay = firstIsA ? y1 : y2;
    const int bx = firstIsA ? x2 : x1, by = firstIsA ? y2 : y1;
    c.ForeColor = kBlue;
    printPoint(c, ax + 0.2, ay + 0.2, QStringLiteral("A"), ax, ay);
    c.ForeColor = 0;
    c.circle(ax, ay, 0.1);
    c.line(ax, ay, bx, by);
    c.ForeColor = kBlue;
    printPoint(c, bx - 3, by + 0.2, QStringLiteral("B"), bx, by);
    c.ForeColor = 0;
    c.circle(bx, by, 0.1);
    if (x1 != x2 && y1 != y2) {
        // C: the right-angle corner under or over A at the height of B.
        c.line(ax, ay, ax, by);
        c.line(bx, by, ax, by);
        c.circle(ax, by, 0.1);
        c.ForeColor = kBlue;
        printAt(c, ax + 0.4, by + 0.2, QStringLiteral("C"));
        c.ForeColor = 0;
    }
}

void Form1::presentQuadrilateral(const QString &text, const QString &params)
{
    Canvas &c = Picture6;
    const Params p(params);
    int16_t *corners[8] = {&figure.cornerAx, &figure.cornerAy, &figure.cornerBx, &figure.cornerBy,
                           &figure.cornerCx, &figure.cornerCy, &figure.cornerDx, &figure.cornerDy};
    for (int k = 0; k < 8; ++k)
        *corners[k] = p.number(k + 1);
    const int xA = figure.cornerAx, yA = figure.cornerAy, xB = figure.cornerBx, yB = figure.cornerBy;
    const int xC = figure.cornerCx, yC = figure.cornerCy, xD = figure.cornerDx, yD = figure.cornerDy;
    auto blueLabel = [&](double x, double y, const char16_t *name, int px, int py) {
        c.ForeColor = kBlue;
        printPoint(c, x, y, QString::fromUtf16(name), px, py);
        c.ForeColor = 0;
    };
    c.DrawWidth = 1;
    blueLabel(xA - 3, yA, u"A", xA, yA);
    c.line(xB, yB, xC, yC);
    blueLabel(xC + 0.6, yC + 0.2, u"C", xC, yC);
    c.line(xA, yA, xB, yB);
    blueLabel(xB - 3.1, yB + 0.8, u"B", xB, yB);
    c.line(xC, yC, xD, yD);
    blueLabel(xD + 0.2, yD + 0.8, u"D", xD, yD);
    c.line(xA, yA, xD, yD);
    showQuestionTextAgain(text);
    figure.explainQuadArea = 1;
}

void Form1::presentTriangle(const QString &params)
{
    Canvas &c = Picture6;
    keyboardLayout();
    figure.explainTriangleArea = 1;
    const Params p(params);
    figure.cornerAx = p.number(1);
    figure.cornerAy = p.number(2);
    figure.cornerBx = p.number(3);
    figure.cornerBy = p.number(4);
    figure.cornerCx = p.number(5);
    figure.cornerCy = p.number(6);
    const int xA = figure.cornerAx, yA = figure.cornerAy, xB = figure.cornerBx, yB = figure.cornerBy;
    const int xC = figure.cornerCx, yC = figure.cornerCy;
    drawPlaneAxesTicksLabels();
    // Guides from the axes to A: across in blue, up or down in green.
    c.line(0, yA, xA, yA, kBlue);
    c.line(xA, 0, xA, yA, kGreen);
    c.line(xA, yA, xC, yC);
    printPoint(c, xC + 0.6, yC + 0.2, QStringLiteral("C"), xC, yC);
    c.line(xC, yC, xB, yB);
    printPoint(c, xB + 0.4, yB - 0.1, QStringLiteral("B"), xB, yB);
    c.line(xB, yB, xA, yA);
    if (yA == 0)
        printPoint(c, xA + 0.4, yA - 0.1, QStringLiteral("A"), xA, yA);
    else
        printPoint(c, xA - 0.8, yA + 0.2, QStringLiteral("A"), xA, yA);
}
