// Questions on graphs of functions and on points of the plane: read or draw a
// graph, read or plot a point, and a point on a line with one coordinate
// hidden behind "□".
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"
#include "graph/LineEquation.h"
#include "graph/Plot.h"
#include "graph/Points.h"

#include <cmath>

namespace {

using kit::has;

// The shape of an answer: 0 a point, 1 a line, 2 an inverse proportion.
int16_t answerGraphKind(const QString &a)
{
    int16_t kind = a.contains(u'x') ? 1 : 0;
    if (a.contains(u"/x"_qs))
        kind = 2;
    return kind;
}

} // namespace

void Form1::presentGraphOrPoint(const QString &q)
{
    if (has(q, u")のx座標を求め") || has(q, u")のy座標を求め")) {
        Command5.Visible = false;
        presentPointOnLine(q);
        return;
    }
    chooseGraphLayout(q);
    figure.graphKind = answerGraphKind(currentAnswer());
    if (figure.graphKind == 0)
        presentPointAnswer(q);
    else
        presentLineAnswer(q);
    Command1_Click(); // the mode buttons step aside
    // In a ten-in-a-row run the streak is what the learner is building: its
    // panel stays in sight on every kind of question.
    if (scoreState.tenInARowMode != 0)
        Picture8.Visible = true;
}

void Form1::chooseGraphLayout(const QString &q)
{
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
        graph.keyboardAnswerMode = 0; // the plane takes the answer
    }
    if (has(q, u")の点を書き") || has(q, u"グラフを書いて") || has(q, u"の上の点を3つ")) {
        figure.ticksOnly = 0;
    } else if (has(q, u"直線の式を求め")) {
        Picture3.Visible = true;
        Text2.Visible = true;
        Command5.Visible = false;
    }
}

void Form1::presentPointAnswer(const QString &q)
{
    figure.midpointQuestion = has(q, u"中点") ? 1 : 0;
    figure.ticksOnly = 0;
    const auto answer = points::pointsIn(currentAnswer());
    const points::Point p = answer.empty() ? points::Point{} : answer.front();
    drawPlaneAxes();
    if (has(q, u"座標を求め")) {
        // The answer is the symmetric point, so the plane shows the point
        // before the reflection.
        int px = p.x, py = p.y;
        if (has(q, u"x軸対称"))
            py = -py;
        if (has(q, u"y軸対称"))
            px = -px;
        if (has(q, u"原点対称")) {
            px = -p.x;
            py = -p.y;
        }
        Picture6.circle(px, py, 0.25);
    }
    drawGridOrTicks(true, 0);
    drawGraphPlaneLabels();
}

void Form1::presentLineAnswer(const QString &q)
{
    const QString a = currentAnswer();
    const lines::Coefficient slope = lines::coefficientOf(a);
    // The intercept is left for the answers on the plane: a fraction in its
    // two parts, and rounded to a whole number.
    double intercept = 0;
    eq.interceptNumText.clear();
    eq.interceptDenText.clear();
    const qsizetype x = a.indexOf(u'x') + 1;
    if (x > 0 && x < a.size()) {
        if (const auto fraction = lines::interceptFraction(a)) {
            eq.interceptNumText = fraction->num;
            eq.interceptDenText = fraction->den;
            const double d = conv::numericPrefix(fraction->den);
            intercept = d != 0 ? conv::toInt16(conv::numericPrefix(fraction->num) / d) : 0;
        } else {
            intercept = conv::numericPrefix(a.mid(x));
        }
    }
    eq.graphIntercept = conv::toInt16(intercept);

    drawPlaneAxes();
    drawGridOrTicks(figure.ticksOnly == 0, 0.2);
    drawGraphPlaneLabels();
    if (!has(q, u"グラフの式を求めて") && !has(q, u"座標を求め"))
        return; // a drawing question never shows its answer
    // A reading question shows its graph; an inverse proportion as two
    // branches with nothing joining them across the y-axis.
    Canvas &c = Picture6;
    c.ForeColor = 0;
    c.DrawWidth = 1;
    plot::Walk walk{-8, 8, 0.01};
    walk.twoBranches = figure.graphKind == 2;
    const double m = slope.den != 0 ? slope.num / slope.den : 0;
    plot::curve(c, walk, plot::graphOf(figure.graphKind == 2 ? 2 : 1, m, intercept, slope.num));
}

void Form1::presentPointOnLine(const QString &q)
{
    Text2.Visible = true;
    // The equation runs from "y=" to the next blank.
    QString equation;
    const qsizetype start = q.indexOf(u"y="_qs);
    if (start >= 0) {
        const qsizetype blank = q.indexOf(u' ', start);
        if (blank >= 0)
            equation = q.mid(start, blank - start);
    }
    eq.lineText = equation;
    parseLineEquation();
    drawGraphPlane();
    eq.graphEquation = equation;
    drawEquationGraph();
}
