// Worked explanations for areas of quadrilaterals and for circles and
// sectors: the measures are labelled on the figure, then the formula, the
// formula with the question's numbers and the result are written in the
// lower left of the plane.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"

namespace {

using kit::kBlue;
using kit::kGreen;
using kit::kRed;
using kit::num;

// A side's length on the figure, in a large font.
void sideLabel(Canvas &c, double x, double y, int value, int32_t color)
{
    c.FontSize = 20;
    c.ForeColor = color;
    kit::printNumberAt(c, x, y, value);
}

// The formula starts in red at the lower left of the plane.
void startFormula(Canvas &c, double size)
{
    c.FontSize = size;
    c.ForeColor = kRed;
    c.CurrentX = -9;
    c.CurrentY = -7;
}

// The formula's second line, with the numbers, starts under the first.
void numbersLine(Canvas &c, const QString &lead)
{
    c.CurrentX = -9;
    c.CurrentY = -8;
    c.print(lead, true);
}

// "words a × b" on one line, which it ends.
void product(Canvas &c, const QString &words, int a, int b)
{
    c.print(words, true);
    c.printNumber(a, true);
    c.print(QStringLiteral("×"), true);
    c.printNumber(b);
}

// "(上底＋下底)×高さ÷２" with the numbers on the line below.
void trapezoid(Canvas &c, int top, int bottom, int height)
{
    startFormula(c, 14);
    c.print(QStringLiteral("台形の面積=(上底＋下底)×高さ÷２"));
    numbersLine(c, QStringLiteral("           =("));
    c.printNumber(top, true);
    c.print(QStringLiteral("+"), true);
    c.printNumber(bottom, true);
    c.print(QStringLiteral(")×"), true);
    c.printNumber(height, true);
    c.print(QStringLiteral("÷２"));
}

// Two parallel sides a and b, `apart` between them: a parallelogram where
// they are equal, else a trapezoid.
void parallelSides(Canvas &c, int a, int b, int apart)
{
    if (a == b) {
        startFormula(c, 14);
        product(c, QStringLiteral("平行四辺形の面積=底辺×高さ="), a, apart);
    } else {
        trapezoid(c, a, b, apart);
    }
}

// A rhombus: its diagonals drawn and labelled, and its formula.
void rhombus(Canvas &c, int Ax, int Ay, int Bx, int By, int Cx, int Cy, int Dx, int Dy)
{
    const int d1 = Cx - Ax, d2 = By - Dy;
    c.line(Ax, Ay, Cx, Cy, kBlue);
    c.line(Bx, By, Dx, Dy, kGreen);
    sideLabel(c, (Cx + Ax) / 2.0, (By + Dy) / 2.0 + Dy / 4.0, d1, conv::paletteColor(2));
    sideLabel(c, Bx + 0.3, (By + Dy) / 2.0 + 1.5, d2, kGreen);
    startFormula(c, 12);
    c.print(QStringLiteral("ひし形の面積=対角線１×対角線２÷２"));
    numbersLine(c, QStringLiteral("           ="));
    c.printNumber(d1, true);
    c.print(QStringLiteral("×"), true);
    c.printNumber(d2, true);
    c.print(QStringLiteral("÷２"));
}

// Items on one line of a circle explanation; the last one ends it and the
// next line starts at -8.
void circleLine(Canvas &c, std::initializer_list<QString> items)
{
    const int n = int(items.size());
    int i = 0;
    for (const QString &item : items)
        c.print(item, ++i < n);
    c.CurrentX = -8;
}

// The central angle over 360, stacked, beside the line it belongs to.
void overThreeSixty(Canvas &c, double angle)
{
    kit::printAt(c, 1, -3.3, num(angle));
    kit::printAt(c, 1, -4.8, QStringLiteral("360"));
    c.line(1.5, -4.7, 3.8, -4.7);
    c.CurrentX = -8;
    c.CurrentY = -6;
}

} // namespace

void Form1::explainQuadrilateralArea()
{
    Canvas &c = Picture6;
    const int Ax = figure.cornerAx, Ay = figure.cornerAy, Bx = figure.cornerBx, By = figure.cornerBy;
    const int Cx = figure.cornerCx, Cy = figure.cornerCy, Dx = figure.cornerDx, Dy = figure.cornerDy;
    if (Ax == Bx && Ay == Dy) {
        // A rectangle or a square.
        const int h = Ay - By, w = Dx - Ax;
        sideLabel(c, Ax, (By + Ay) / 2.0, h, conv::paletteColor(2));
        sideLabel(c, (Cx + Ax) / 2.0, By + 1.5, w, kBlue);
        startFormula(c, 14);
        product(c, h == w ? QStringLiteral("正方形の面積=一辺×一辺=") : QStringLiteral("長方形の面積=たて×よこ="), h, w);
    } else if (Ax == Bx && Ay != Dy && Cx == Dx) {
        // Upright parallel sides.
        parallelSides(c, Ay - By, Dy - Cy, Dx - Ax);
    } else if (Ax != Bx && Ay == Dy && Cy == By) {
        // Level parallel sides, and the height drawn between them.
        const int hx = std::max(Ax, Bx);
        c.line(hx, By, hx, Ay, kBlue);
        sideLabel(c, hx + 0.3, (By + Ay) / 2.0 + 1.5, Ay - By, kBlue);
        parallelSides(c, Dx - Ax, Cx - Bx, Ay - By);
    } else if (Ay == Cy && Bx == Dx) {
        rhombus(c, Ax, Ay, Bx, By, Cx, Cy, Dx, Dy);
    } else {
        return; // a shape none of the rules knows gets no explanation
    }
    c.FontSize = 10;
    c.ForeColor = 0;
    c.DrawWidth = 1;
}

void Form1::explainCircle()
{
    Canvas &c = Picture6;
    const double r = figure.cornerBx;
    const double a = figure.cornerCx;
    c.FontSize = 20;
    c.ForeColor = kBlue;
    c.CurrentX = -8;
    c.CurrentY = -4;
    // The radius from the stored answer; half of it when the diameter is asked.
    const double stored = conv::numericPrefix(currentAnswer());
    const QString radius = currentQuestion().contains(u"直径を求め"_qs) ? num(stored / 2) : currentAnswer();
    const QString times = QStringLiteral("×"), pi = QStringLiteral("π");
    switch (figure.circleKind) {
    case 1:
        circleLine(c, {QStringLiteral("円の面積＝半×半×π")});
        circleLine(c, {num(r), times, num(r), QStringLiteral("×π")});
        circleLine(c, {QStringLiteral("="), num(r * r), pi});
        break;
    case 2:
        circleLine(c, {QStringLiteral("円周＝２×半×π")});
        circleLine(c, {QStringLiteral("2×"), num(r), QStringLiteral("×π")});
        circleLine(c, {QStringLiteral("="), num(2 * r), pi});
        break;
    case 3:
        circleLine(c, {num(r), times, num(r), QStringLiteral("×π×")});
        overThreeSixty(c, a);
        circleLine(c, {QStringLiteral("="), num(r * r * a / 360), pi});
        break;
    case 4:
        circleLine(c, {QStringLiteral("2×"), num(r), QStringLiteral("×π×")});
        overThreeSixty(c, a);
        circleLine(c, {QStringLiteral("="), num(2 * r * a / 360), pi});
        break;
    case 5:
        circleLine(c, {QStringLiteral("円の面積＝半×半×π")});
        circleLine(c, {QStringLiteral("x×x×π= ") + figure.givenMeasure});
        circleLine(c, {QStringLiteral("   x = ") + radius});
        break;
    case 6:
        // The circumference given in the question (the area's field would
        // show another question's measure here).
        circleLine(c, {QStringLiteral("円周＝２×半×π")});
        circleLine(c, {QStringLiteral("２×x×π= ") + figure.givenCircumference});
        circleLine(c, {QStringLiteral("   x = ") + radius});
        break;
    default:
        break;
    }
}
