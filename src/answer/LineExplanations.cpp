// Worked explanations for points and lines: the application figures (the
// triangle OAD, segments between lines, the square under a line), triangles
// on the grid and coordinate questions. Marks go on the figure; for the
// applications, sentences go to the explanation panel.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"
#include "graph/Points.h"

#include <QLineF>

#include <cmath>
#include <numeric>

namespace {

using kit::has;
using kit::kBlue;
using kit::kDarkBlue;
using kit::kDarkGreen;
using kit::kDarkRed;
using kit::kGreen;
using kit::kOlive;
using kit::kRed;
using kit::num;
using kit::printAt;

// The slope rise/run as an answer is written: reduced, a whole number
// without its bar and 1 without itself, so that what the explanation ends
// on is what the learner types (6 up over 6 right is "y=x", not "y=6/6x").
QString slopeOf(double rise, double run)
{
    const bool whole = rise == std::round(rise) && run == std::round(run) && run != 0;
    if (!whole)
        return num(rise) + u'/' + num(run);
    long p = std::lround(rise), q = std::lround(run);
    if (q < 0) {
        p = -p;
        q = -q;
    }
    const long g = std::gcd(std::labs(p), q);
    p /= g;
    q /= g;
    const QString sign = p < 0 ? QStringLiteral("-") : QString();
    const long a = std::labs(p);
    if (q == 1)
        return sign + (a == 1 ? QString() : QString::number(a));
    return sign + QString::number(a) + u'/' + QString::number(q);
}

} // namespace

void Form1::explainLine(const QString &text)
{
    Picture7.print(text);
}

void Form1::explainTriangleOAD()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    const double ax = figure.figureX1, ay = figure.figureY1, dx = figure.figureX2;
    const double s = figure.appFourthValue1;
    const QString substitute = QStringLiteral(" に x=") + num(figure.appXValue) + QStringLiteral(" を代入");
    Picture7.Visible = true;
    Picture7.Cls();
    const double fontSize = c.FontSize;

    // The base on the x-axis (OD, or OC under A) and the height AC, named on
    // the figure.
    auto baseAndHeight = [&](int width, double baseEnd) {
        c.DrawWidth = width;
        c.line(0, 0, baseEnd, 0, kDarkGreen);
        c.line(ax, ay, ax, 0, kDarkBlue);
        c.DrawWidth = 1;
        c.FontSize = 18;
        printAt(c, baseEnd / 2 - 1, -0.3, QStringLiteral("底　辺"), kDarkGreen);
        printAt(c, ax + 0.3, ay / 2 + 1, QStringLiteral("高"), kDarkBlue);
        printAt(c, ax + 0.3, ay / 2, QStringLiteral("さ"), kDarkBlue);
    };

    if (has(q, u"直線ACの長さ")) {
        c.DrawWidth = 3;
        c.line(ax, ay, ax, 0);
        c.DrawWidth = 1;
        c.FontSize = 18;
        c.ForeColor = kRed;
        kit::printNumberAt(c, ax + 0.3, ay / 2 + 0.5, ay);
        explainLine(QStringLiteral("ACの長さは点Aのy座標です"));
        explainLine(QStringLiteral("点Aのｙ座標は式 ") + figure.appLine1 + substitute);
    } else if (has(q, u"OADの面積")
               && (has(q, u"ACの長さを求め") || has(q, u"直線mの式を求め") || has(q, u"Aのy座標を求め")
                   || has(q, u"Aの座標を求め"))) {
        baseAndHeight(1, dx);
        const double h = dx != 0 ? 2 * s / dx : 0;
        explainLine(QStringLiteral("△OAD=") + num(s) + u' ' + QStringLiteral("高さACはAのy座標"));
        explainLine(QStringLiteral("底辺ODは") + num(dx) + QStringLiteral("高さACを h とすると"));
        explainLine(num(dx) + QStringLiteral("×") + QStringLiteral(" h =") + num(s) + QStringLiteral("×2")
                    + QStringLiteral("   h = ") + num(h));
        if (has(q, u"直線mの式を求め")) {
            explainLine(QStringLiteral("mは右に") + num(ax) + QStringLiteral("進むと上に") + num(h)
                        + QStringLiteral("進む直線"));
            explainLine(QStringLiteral("y=") + slopeOf(h, ax) + u'x');
        }
    } else {
        // The area itself: the base OD of triangle OAD, or OC under A.
        const bool oad = has(q, u"OADの面積");
        const double base = oad ? dx : ax;
        baseAndHeight(3, base);
        explainLine(oad ? QStringLiteral("底辺ODは点Dのx座標") : QStringLiteral("底辺OCは点Aのx座標"));
        explainLine(QStringLiteral("高さACは点Aのy座標"));
        explainLine(QStringLiteral("y座標は式 ") + figure.appLine1 + substitute);
        explainLine(QStringLiteral("三角形の面積= ") + num(base) + QStringLiteral("×") + num(ay)
                    + QStringLiteral("÷2=") + num(ay * base / 2));
    }
    c.ForeColor = 0;
    c.FontSize = fontSize;
}

namespace {

// One measure of a segment explanation: from one place to another along
// the segment's line, in its colour.
struct Measure {
    double from = 0, to = 0;
    int32_t color = 0;
    double length() const { return std::abs(to - from); }
    double middle() const { return (from + to) / 2; }
};

// The three measures drawn beside the figure's own line, as a measure is
// drawn beside a side: the whole on one side of the line, the two parts
// that make it up on the other, each with its length next to it in its
// colour. On the figure's line itself they would lie one over another and
// the learner could not tell which length belongs to which. `upright`: the
// line is x = at (else y = at); positions along it are y (else x).
void drawMeasures(Canvas &c, bool upright, double at, const Measure &first, const Measure &second,
                  const Measure &between)
{
    // Both points on one side of the axis: the longer measure from the axis
    // is the whole. On either side: the measure between them is.
    const double a = first.to, b = second.to;
    const bool oneSide = a == 0 || b == 0 || (a > 0) == (b > 0);
    const Measure *whole = &between;
    if (oneSide)
        whole = first.length() >= second.length() ? &first : &second;
    constexpr double kApart = 0.35; // from the figure's line
    constexpr double kGap = 0.25;   // between a measure and its length
    for (const Measure *m : {&first, &second, &between}) {
        const double side = m == whole ? -kApart : kApart;
        const QString text = conv::printItem(m->length());
        c.ForeColor = m->color;
        const double w = c.textWidth(text), h = std::abs(c.textHeight());
        if (upright) {
            c.line(at + side, m->from, at + side, m->to, m->color);
            const double x = m == whole ? at + side - kGap - w : at + side + kGap;
            kit::printNumberAt(c, x, m->middle() + h / 2, m->length());
        } else {
            c.line(m->from, at + side, m->to, at + side, m->color);
            const double y = m == whole ? at + side - kGap : at + side + kGap + h;
            kit::printNumberAt(c, m->middle() - w / 2, y, m->length());
        }
    }
}

} // namespace

void Form1::explainSegmentsBetweenLines()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    const double x1 = figure.figureX1, y1 = figure.figureY1, x2 = figure.figureX2, y2 = figure.figureY2;
    const QString v = num(figure.appXValue);
    Picture7.Visible = true;
    Picture7.Cls();
    c.DrawWidth = 3;
    c.FontSize = 18;
    if (has(q, u"直線BCの長さ")) {
        // B and C lie on a level line; A is where it meets the y-axis.
        const double ay = y1;
        drawMeasures(c, false, ay, {0, x1, kDarkGreen}, {0, x2, kDarkBlue}, {x1, x2, kDarkRed});
        printAt(c, -1, ay + 0.6, QStringLiteral("A"), kOlive);
        explainLine(QStringLiteral("BC= AC - BC"));
        explainLine(QStringLiteral("ABは式 ") + figure.appLine1 + QStringLiteral(" に y=") + v + QStringLiteral(" を代入"));
        explainLine(QStringLiteral("ACは式 ") + figure.appLine2 + QStringLiteral(" に y=") + v + QStringLiteral(" を代入"));
    } else {
        // A and B lie on an upright line; C is where it meets the x-axis.
        const double cx = x1;
        drawMeasures(c, true, cx, {0, y1, kDarkGreen}, {0, y2, kDarkBlue}, {y1, y2, kDarkRed});
        printAt(c, cx + 0.3, -0.3, QStringLiteral("C"), kOlive);
        const bool opposite = (y1 > 0) != (y2 > 0) && y1 != 0 && y2 != 0;
        explainLine(opposite ? QStringLiteral("AB= AC + BC") : QStringLiteral("AB= AC - BC"));
        explainLine(QStringLiteral("ACは式 ") + figure.appLine1 + QStringLiteral(" に x=") + v + QStringLiteral(" を代入"));
        explainLine(QStringLiteral("BCは式 ") + figure.appLine2 + QStringLiteral(" に x=") + v + QStringLiteral(" を代入"));
    }
    c.DrawWidth = 1;
    c.ForeColor = 0;
}

namespace {

// A base and a height (or the run and the rise, or the two parallel sides)
// drawn in green and named.
void markPair(Canvas &c, const QLineF &base, const QLineF &height, const QString &baseName,
              const QString &heightName)
{
    c.line(base.x1(), base.y1(), base.x2(), base.y2(), kGreen);
    c.line(height.x1(), height.y1(), height.x2(), height.y2(), kGreen);
    printAt(c, (base.x1() + base.x2()) / 2 - 1, (base.y1() + base.y2()) / 2 - 0.3, baseName, kDarkGreen);
    printAt(c, (height.x1() + height.x2()) / 2 + 0.3, (height.y1() + height.y2()) / 2 + 0.5, heightName, kDarkGreen);
}

// The panel's sentences for a triangle of that base and height.
void triangleSentences(Canvas &panel, double base, double height)
{
    panel.print(QStringLiteral("三角形の面積＝底辺×高さ÷２"));
    panel.print(QStringLiteral("  =") + num(base) + QStringLiteral("×") + num(height) + QStringLiteral("÷2"));
    panel.print(QStringLiteral("  = ") + num(base * height / 2));
}

} // namespace

void Form1::explainBetweenLines()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    const double x0 = figure.figureX1, s = figure.figureY1, right = figure.figureX2;
    const QString line = figure.appFigureLine;
    // The coefficient as written in the equation: "2", "3/2", "-1".
    QString coef = line.mid(line.indexOf(u'=') + 1);
    coef.truncate(std::max<qsizetype>(0, coef.indexOf(u'x')));
    if (coef.isEmpty())
        coef = QStringLiteral("1");
    else if (coef == u"-")
        coef = QStringLiteral("-1");
    const QString times = QString(line.contains(u"/x"_qs) ? u'/' : u'×');
    const QString substituted = QStringLiteral(" y= ") + coef + times + num(x0);

    // The height of A worked out on the figure, the numbers as print items,
    // and the points named.
    c.FontSize = 18;
    c.ForeColor = kBlue;
    c.CurrentX = x0 + 0.3;
    c.CurrentY = s + 3;
    c.print(QStringLiteral(" y= ") + coef + times, true);
    c.printNumber(x0);
    c.CurrentX = x0 + 0.3;
    c.print(QStringLiteral(" y= "), true);
    c.printNumber(s);
    c.ForeColor = kRed;
    kit::printPointAt(c, x0 - 4, s + 1.5, QStringLiteral("A"), x0, s);
    kit::printPointAt(c, right - 1, s + 2.5, QStringLiteral("C"), right, s);

    Picture7.Visible = true;
    Picture7.Cls();
    c.DrawWidth = 3;
    const QString baseName = QStringLiteral("底辺"), heightName = QStringLiteral("高さ");
    if (has(q, u"△AOB")) {
        markPair(c, {0, 0, x0, 0}, {x0, 0, x0, s}, baseName, heightName);
        triangleSentences(Picture7, x0, s);
    } else if (has(q, u"△COD")) {
        markPair(c, {0, 0, right, 0}, {right, 0, right, s}, baseName, heightName);
        triangleSentences(Picture7, right, s);
    } else if (has(q, u"台形AODC")) {
        markPair(c, {x0, s, right, s}, {0, 0, right, 0}, QStringLiteral("上底"), QStringLiteral("下底"));
        c.line(right, 0, right, s, kGreen);
        printAt(c, right + 0.3, s / 2, heightName, kDarkGreen);
        explainLine(QStringLiteral("台形＝(上底＋下底)×高さ÷２"));
        explainLine(QStringLiteral("  =(") + num(right - x0) + u'+' + num(right) + u')' + QStringLiteral("×") + num(s)
                    + QStringLiteral("÷2"));
        explainLine(QStringLiteral("  = ") + num((right - x0 + right) * s / 2));
    } else if (has(q, u"直線の式")) {
        markPair(c, {0, 0, right, 0}, {right, 0, right, s}, QStringLiteral("xの増加量"), QStringLiteral("yの増加量"));
        explainLine(QStringLiteral("傾き=yの増加量÷xの増加量"));
        explainLine(QStringLiteral("y=") + num(s) + QStringLiteral("÷") + num(right) + u'x');
    } else if (has(q, u"点Aの座標")) {
        explainLine(QStringLiteral("点Aは") + line + QStringLiteral("直線上の点である"));
        explainLine(QStringLiteral("xに") + num(x0) + QStringLiteral("代入する。"));
        explainLine(substituted);
        explainLine(QStringLiteral("y= ") + num(s));
    }
    c.DrawWidth = 1;
    c.ForeColor = 0;
    c.FontSize = 12;
}

void Form1::explainGridTriangle()
{
    Canvas &c = Picture6;
    const double P[3][2] = {{double(figure.cornerAx), double(figure.cornerAy)},
                            {double(figure.cornerBx), double(figure.cornerBy)},
                            {double(figure.cornerCx), double(figure.cornerCy)}};
    // The first pair of corners on one vertical or horizontal line is the base.
    int i = -1, j = -1;
    bool vertical = false;
    for (int a = 0; a < 3 && i < 0; ++a)
        for (int b = a + 1; b < 3 && i < 0; ++b)
            if (P[a][0] == P[b][0] || P[a][1] == P[b][1]) {
                i = a;
                j = b;
                vertical = P[a][0] == P[b][0];
            }
    if (i < 0)
        return; // no side along the grid: no base to measure from
    const int k = 3 - i - j;
    const double base = vertical ? std::abs(P[i][1] - P[j][1]) : std::abs(P[i][0] - P[j][0]);
    const double height = vertical ? std::abs(P[k][0] - P[i][0]) : std::abs(P[k][1] - P[i][1]);
    // Where the height meets the base's line.
    const double fx = vertical ? P[i][0] : P[k][0];
    const double fy = vertical ? P[k][1] : P[i][1];
    const double mx = (P[i][0] + P[j][0]) / 2, my = (P[i][1] + P[j][1]) / 2;

    c.FontSize = 20;
    kit::printNumberAt(c, mx + 0.2, my, base, conv::paletteColor(2));
    c.line(P[k][0], P[k][1], fx, fy, kBlue);
    kit::printNumberAt(c, (P[k][0] + fx) / 2, (P[k][1] + fy) / 2 + 1.5, height, kBlue);
    c.FontSize = 10;
    c.ForeColor = 0;
    c.DrawWidth = 2;
    const double sx = P[k][0] > fx ? 0.1 : -0.1, sy = P[k][1] > fy ? 0.1 : -0.1;
    if (vertical) {
        c.line(fx + sx, fy, fx + sx, fy + 0.1);
        c.line(fx, fy + 0.1, fx + sx, fy + 0.1);
    } else {
        c.line(fx, fy + sy, fx + 0.1, fy + sy);
        c.line(fx + 0.1, fy, fx + 0.1, fy + sy);
    }
    c.DrawWidth = 1;
    c.FontSize = 14;
    printAt(c, -9, -6, QStringLiteral("三角形の面積=底辺×高さ÷2"), 0);
    c.CurrentX = -3;
    c.CurrentY = -7;
    c.print(u"="_qs, true);
    c.printNumber(base, true);
    c.print(QStringLiteral("×"), true);
    c.printNumber(height, true);
    c.print(QStringLiteral("÷２"));
    c.FontSize = 10;
    c.ForeColor = 0;
}

void Form1::explainCoordinates()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    double x = scoreState.answerX, y = scoreState.answerY;
    if (q.contains(u'□') && q.contains(u"座標を"_qs)) {
        // The point of the line: its given coordinate from the question, the
        // hidden one from the answer.
        const auto given = points::bracketsIn(q);
        if (!given.empty()) {
            const QString &xs = given[0].x, &ys = given[0].y;
            const double answer = conv::numericPrefix(currentAnswer());
            const qsizetype slash = currentAnswer().indexOf(u'/');
            const double value = slash >= 0 ? answer / conv::numericPrefix(currentAnswer().mid(slash + 1)) : answer;
            x = xs == u"□" ? value : conv::numericPrefix(xs);
            y = ys == u"□" ? value : conv::numericPrefix(ys);
        }
        if (has(q, u"x座標") && has(q, u"中点")) {
            if (given.size() >= 2) {
                const double x2 = conv::numericPrefix(given[1].x);
                const double y2 = conv::numericPrefix(given[1].y);
                c.circle(x, y, 0.1);
                c.circle(x2, y2, 0.1);
                c.line(x, y, x2, y2);
                kit::filledCircle(Picture6, (x + x2) / 2, (y + y2) / 2, 0.15, kRed);
            }
        } else if (has(q, u"x座標")) {
            c.line(x, y, x, 0, kRed);
            c.FontSize = 20;
            c.ForeColor = kRed;
            kit::printNumberAt(c, x - 0.7, y >= 0 ? -0.2 : 1.5, x);
            c.FontSize = 10;
            c.ForeColor = 0;
        }
        if (has(q, u"y座標")) {
            c.line(x, y, 0, y, kRed);
            c.FontSize = 20;
            c.ForeColor = kRed;
            kit::printNumberAt(c, x >= 0 ? -2 : 0.3, y + 0.5, y);
            c.FontSize = 10;
            c.ForeColor = 0;
        }
        return;
    }
    if (q.contains(u'□')) {
        if (figure.explainTriangleArea == 0 && figure.explainQuadArea == 0)
            markClickedPoints();
        return;
    }
    if (has(q, u"y座標") || has(q, u"x座標")) {
        // Guides from the edge of the grid through the point to the axes.
        c.DrawWidth = 2;
        c.line(x >= 0 ? 8 : -8, y, x, y, kGreen);
        c.line(x, y, 0, y, kGreen);
        c.line(x, y >= 0 ? 8 : -8, x, y, kBlue);
        c.line(x, y, x, 0, kBlue);
        c.DrawWidth = 1;
    }
}

void Form1::markClickedPoints()
{
    Canvas &c = Picture6;
    for (int i = 1; i <= graph.clickCount && i < int(graph.clickedX.size()); ++i)
        kit::filledCircle(Picture6, graph.clickedX[i], graph.clickedY[i], 0.1, kRed);
    if (currentAnswer().contains(u'/') || graph.clickCount < 2)
        return;
    const double x1 = graph.clickedX[1], y1 = graph.clickedY[1];
    const double x2 = graph.clickedX[2], y2 = graph.clickedY[2];
    // Two legs at a right angle: across at the height of the first point,
    // then up or down to the second.
    c.line(x1, y1, x2, y1, kRed);
    c.line(x2, y1, x2, y2, kRed);
    c.ForeColor = kRed;
    kit::printNumberAt(c, (x1 + x2) / 2 - 0.5, y1 + 1.2, std::abs(x2 - x1));
    kit::printNumberAt(c, x2 + 0.3, (y1 + y2) / 2 + 0.5, std::abs(y2 - y1));
    c.ForeColor = 0;
}
