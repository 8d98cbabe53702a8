// Worked explanations for areas of quadrilaterals and for circles and
// sectors: the measures are labelled on the figure, then the formula, the
// formula with the question's numbers and the result are written in the
// lower left of the plane.
#include "form/Form1.h"

#include "controls/Convert.h"

namespace {
constexpr int32_t kRed = 255;
constexpr int32_t kGreen = 65280;
constexpr int32_t kBlue = 16711680;

QString num(double v) { return conv::doubleText(v); }
} // namespace

void Form1::explainQuadrilateralArea()
{
    Canvas &c = Picture6;
    const int Ax = figure.cornerAx, Ay = figure.cornerAy, Bx = figure.cornerBx, By = figure.cornerBy;
    const int Cx = figure.cornerCx, Cy = figure.cornerCy, Dx = figure.cornerDx, Dy = figure.cornerDy;
    auto label = [&c](double x, double y, int value, int32_t color) {
        c.FontSize = 20;
        c.ForeColor = color;
        c.CurrentX = x;
        c.CurrentY = y;
        c.printNumber(value);
    };
    auto formula = [&c](double size) {
        c.FontSize = size;
        c.ForeColor = kRed;
        c.CurrentX = -9;
        c.CurrentY = -7;
    };
    // The formula's second line, with the numbers, starts under the first.
    auto numbersLine = [&c](const QString &lead) {
        c.CurrentX = -9;
        c.CurrentY = -8;
        c.print(lead, true);
    };
    // "(上底＋下底)×高さ÷２" with the numbers on the line below.
    auto trapezoid = [&c, &formula, &numbersLine](int top, int bottom, int height) {
        formula(14);
        c.print(QStringLiteral("台形の面積=(上底＋下底)×高さ÷２"));
        numbersLine(QStringLiteral("           =("));
        c.printNumber(top, true);
        c.print(QStringLiteral("+"), true);
        c.printNumber(bottom, true);
        c.print(QStringLiteral(")×"), true);
        c.printNumber(height, true);
        c.print(QStringLiteral("÷２"));
    };
    auto product = [&c](const QString &words, int a, int b) {
        c.print(words, true);
        c.printNumber(a, true);
        c.print(QStringLiteral("×"), true);
        c.printNumber(b);
    };

    if (Ax == Bx && Ay == Dy) {
        const int h = Ay - By, w = Dx - Ax;
        label(Ax, (By + Ay) / 2.0, h, conv::paletteColor(2));
        label((Cx + Ax) / 2.0, By + 1.5, w, kBlue);
        formula(14);
        product(h == w ? QStringLiteral("正方形の面積=一辺×一辺=") : QStringLiteral("長方形の面積=たて×よこ="), h, w);
    } else if (Ax == Bx && Ay != Dy && Cx == Dx) {
        const int a = Ay - By, b = Dy - Cy, d = Dx - Ax;
        if (a == b) {
            formula(14);
            product(QStringLiteral("平行四辺形の面積=底辺×高さ="), a, d);
        } else {
            trapezoid(a, b, d);
        }
    } else if (Ax != Bx && Ay == Dy && Cy == By) {
        const int t = Dx - Ax, u = Cx - Bx, h = Ay - By;
        const int hx = std::max(Ax, Bx);
        c.line(hx, By, hx, Ay, kBlue);
        label(hx + 0.3, (By + Ay) / 2.0 + 1.5, h, kBlue);
        if (t == u) {
            formula(14);
            product(QStringLiteral("平行四辺形の面積=底辺×高さ="), u, h);
        } else {
            trapezoid(t, u, h);
        }
    } else if (Ay == Cy && Bx == Dx) {
        const int d1 = Cx - Ax, d2 = By - Dy;
        c.line(Ax, Ay, Cx, Cy, kBlue);
        c.line(Bx, By, Dx, Dy, kGreen);
        label((Cx + Ax) / 2.0, (By + Dy) / 2.0 + Dy / 4.0, d1, conv::paletteColor(2));
        label(Bx + 0.3, (By + Dy) / 2.0 + 1.5, d2, kGreen);
        formula(12);
        c.print(QStringLiteral("ひし形の面積=対角線１×対角線２÷２"));
        numbersLine(QStringLiteral("           ="));
        c.printNumber(d1, true);
        c.print(QStringLiteral("×"), true);
        c.printNumber(d2, true);
        c.print(QStringLiteral("÷２"));
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
    // Items on one line; the last one ends it and the next line starts at -8.
    auto line = [&c](std::initializer_list<QString> items) {
        const int n = int(items.size());
        int i = 0;
        for (const QString &item : items)
            c.print(item, ++i < n);
        c.CurrentX = -8;
    };
    auto overThreeSixty = [&c, a]() {
        c.CurrentX = 1;
        c.CurrentY = -3.3;
        c.print(num(a));
        c.CurrentX = 1;
        c.CurrentY = -4.8;
        c.print(QStringLiteral("360"));
        c.line(1.5, -4.7, 3.8, -4.7);
        c.CurrentX = -8;
        c.CurrentY = -6;
    };
    // The radius from the stored answer; half of it when the diameter is asked.
    auto radiusText = [this]() {
        const double v = conv::numericPrefix(currentAnswer());
        return currentQuestion().contains(u"直径を求め"_qs) ? num(v / 2) : currentAnswer();
    };
    switch (figure.circleKind) {
    case 1:
        line({QStringLiteral("円の面積＝半×半×π")});
        line({num(r), QStringLiteral("×"), num(r), QStringLiteral("×π")});
        line({QStringLiteral("="), num(r * r), QStringLiteral("π")});
        break;
    case 2:
        line({QStringLiteral("円周＝２×半×π")});
        line({QStringLiteral("2×"), num(r), QStringLiteral("×π")});
        line({QStringLiteral("="), num(2 * r), QStringLiteral("π")});
        break;
    case 3:
        line({num(r), QStringLiteral("×"), num(r), QStringLiteral("×π×")});
        overThreeSixty();
        line({QStringLiteral("="), num(r * r * a / 360), QStringLiteral("π")});
        break;
    case 4:
        line({QStringLiteral("2×"), num(r), QStringLiteral("×π×")});
        overThreeSixty();
        line({QStringLiteral("="), num(2 * r * a / 360), QStringLiteral("π")});
        break;
    case 5:
        line({QStringLiteral("円の面積＝半×半×π")});
        line({QStringLiteral("x×x×π= ") + figure.givenMeasure});
        line({QStringLiteral("   x = ") + radiusText()});
        break;
    case 6:
        // The circumference given in the question (the area's field would
        // show another question's measure here).
        line({QStringLiteral("円周＝２×半×π")});
        line({QStringLiteral("２×x×π= ") + figure.givenCircumference});
        line({QStringLiteral("   x = ") + radiusText()});
        break;
    default:
        break;
    }
}
