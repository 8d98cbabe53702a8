// Questions on graphs of functions and on points of the plane: read or draw a
// graph, read or plot a point, and a point on a line with one coordinate
// hidden behind "□".
#include "app/Form1.h"

#include "controls/Convert.h"

#include <cmath>

namespace {
bool has(const QString &q, const char16_t *word) { return q.contains(QString::fromUtf16(word)); }

// The shape of an answer: 0 a point, 1 a line, 2 an inverse proportion.
int16_t answerGraphKind(const QString &a)
{
    int16_t kind = a.contains(u'x') ? 1 : 0;
    if (a.contains(u"/x"_qs))
        kind = 2;
    return kind;
}

// Text between two 1-based positions, exclusive of both; "" where none.
QString between(const QString &s, int from, int to)
{
    return to - from - 1 > 0 ? s.mid(from, to - from - 1) : QString();
}
} // namespace

void Form1::drawPlaneAxes()
{
    Canvas &c = Picture6;
    c.setScale(-9, 9, 9, -9);
    c.DrawWidth = 2;
    c.line(-8, 0, 8, 0);
    c.line(0, 8, 0, -8);
    c.DrawWidth = 1;
}

void Form1::drawGridOrTicks(bool grid, double tick)
{
    Canvas &c = Picture6;
    for (int k = -8; k <= 8; ++k) {
        if (grid) {
            c.line(-8, k, 8, k);
            c.line(k, -8, k, 8);
        } else {
            c.line(-tick, k, tick, k);
            c.line(k, -tick, k, tick);
        }
    }
}

void Form1::drawGraphPlane()
{
    drawPlaneAxes();
    drawGridOrTicks(run.applicationSetFlag != 1, 0.3);
    drawGraphPlaneLabels();
}

void Form1::drawGraphPlaneLabels()
{
    Canvas &c = Picture6;
    const struct {
        int value;
        double x, y;
    } labels[] = {{5, 5, 0}, {-5, -5, 0}, {5, 0, 5}, {-5, 0, -5}};
    for (const auto &l : labels) {
        c.CurrentX = l.x;
        c.CurrentY = l.y;
        c.printNumber(l.value);
    }
}

void Form1::presentGraphOrPoint(const QString &q)
{
    Canvas &c = Picture6;
    const QString a = currentAnswer();

    if (has(q, u")のx座標を求め") || has(q, u")のy座標を求め")) {
        Command5.Visible = false;
        presentPointOnLine(q);
        return;
    }
    if (has(q, u"グラフの式を求め") || has(q, u"座標を求め")) {
        graph.keyboardAnswerMode = 1;
        if (run.applicationSetFlag == 1) {
            figure.ticksOnly = 1;
        } else if (bank.mondaiNo >= 3 && has(q, u"グラフの式を求め")) {
            // From the third question on, about two reading questions in
            // three lose their grid lines.
            const int r = int(6 * s_.random.next()) + 1;
            if (r >= 5)
                figure.ticksOnly = 0;
            else if (figure.graphKind != 2)
                figure.ticksOnly = 1;
        }
        Picture3.Visible = true;
        Text2.Visible = true;
        Command5.Visible = false;
    }
    if (has(q, u"グラフを書いて") || has(q, u"点を書き")) {
        Picture3.Visible = false;
        Text2.Visible = false;
        Command5.Visible = true;
        // Answered on the plane, so the plane takes the mouse, whatever the
        // question before left: after a typed answer it would ignore every
        // press, and with the box hidden the question could not be answered.
        graph.keyboardAnswerMode = 0;
    }
    if (has(q, u")の点を書き") || has(q, u"グラフを書いて") || has(q, u"の上の点を3つ")) {
        figure.ticksOnly = 0;
    } else if (has(q, u"直線の式を求め")) {
        Picture3.Visible = true;
        Text2.Visible = true;
        Command5.Visible = false;
    }
    figure.graphKind = answerGraphKind(a);

    if (figure.graphKind == 0) {
        figure.midpointQuestion = has(q, u"中点") ? 1 : 0;
        figure.ticksOnly = 0;
        // The first point of the answer "(x,y)(x,y)…".
        int16_t x1 = 0, y1 = 0;
        const int open = a.indexOf(u'('), comma = a.indexOf(u',', open + 1);
        const int close = a.indexOf(u')', comma + 1);
        if (open >= 0 && comma > open) {
            x1 = conv::textToInt16(a.mid(open + 1, comma - open - 1));
            if (close > comma)
                y1 = conv::textToInt16(a.mid(comma + 1, close - comma - 1));
        }
        drawPlaneAxes();
        if (has(q, u"座標を求め")) {
            // The answer is the symmetric point, so the plane shows the point
            // before the reflection.
            int px = x1, py = y1;
            if (has(q, u"x軸対称"))
                py = -py;
            if (has(q, u"y軸対称"))
                px = -px;
            if (has(q, u"原点対称")) {
                px = -x1;
                py = -y1;
            }
            c.circle(px, py, 0.25);
        }
        drawGridOrTicks(true, 0);
        drawGraphPlaneLabels();
        Command1_Click();
        return;
    }

    // An equation: slope between "=" and "x", intercept after "x".
    const int e = a.indexOf(u'=') + 1, x = a.indexOf(u'x') + 1;
    const QString coef = between(a, e, x);
    double num = 1, den = 1;
    if (coef == u"-") {
        num = -1;
    } else if (!coef.isEmpty()) {
        const int slash = coef.indexOf(u'/');
        num = conv::numericPrefix(slash >= 0 ? coef.left(slash) : coef);
        den = slash >= 0 ? conv::numericPrefix(coef.mid(slash + 1)) : 1;
    }
    // The intercept is left for the answers on the plane: a fraction in its
    // two parts, and rounded to a whole number.
    double intercept = 0;
    eq.interceptNumText.clear();
    eq.interceptDenText.clear();
    if (x > 0 && x < a.size()) {
        const QString tail = a.mid(x);
        const int slash = tail.indexOf(u'/');
        if (slash >= 0) {
            eq.interceptNumText = tail.left(slash);
            eq.interceptDenText = tail.mid(slash + 1);
            const double d = conv::numericPrefix(eq.interceptDenText);
            intercept = d != 0 ? conv::toInt16(conv::numericPrefix(eq.interceptNumText) / d) : 0;
        } else {
            intercept = conv::numericPrefix(tail);
        }
    }
    eq.graphIntercept = conv::toInt16(intercept);

    drawPlaneAxes();
    drawGridOrTicks(figure.ticksOnly == 0, 0.2);
    drawGraphPlaneLabels();

    if (has(q, u"グラフの式を求めて") || has(q, u"座標を求め")) {
        // Only a reading question shows its graph; a drawing question never
        // shows its answer. An inverse proportion is drawn as two branches
        // with nothing joining them across the y-axis.
        c.ForeColor = 0;
        c.DrawWidth = 1;
        const double slope = den != 0 ? num / den : 0;
        bool started = false;
        for (double xx = -8; xx <= 8; xx += 0.01) {
            double y;
            if (figure.graphKind == 2) {
                if (std::abs(xx) < 1e-9) {
                    started = false;
                    continue;
                }
                y = num / xx;
            } else {
                y = slope * xx + intercept;
            }
            y = std::clamp(y, -100000.0, 100000.0);
            if (!started) {
                c.pset(xx, y);
                started = true;
            } else if (figure.graphKind == 2 && c.CurrentX < 0 && xx > 0) {
                c.pset(xx, y);
            } else {
                c.lineTo(xx, y);
            }
        }
    }
    Command1_Click();
}

void Form1::presentPointOnLine(const QString &q)
{
    Text2.Visible = true;
    // The equation runs from "y=" to the next blank.
    QString equation;
    const int start = q.indexOf(u"y="_qs);
    if (start >= 0) {
        const int blank = q.indexOf(u' ', start);
        if (blank >= 0)
            equation = q.mid(start, blank - start);
    }
    eq.lineText = equation;
    parseLineEquation();
    drawGraphPlane();
    eq.graphEquation = equation;
    drawEquationGraph();
}
