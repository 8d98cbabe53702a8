// The check button "あってるかな？": the point or line on the plane, or the
// typed text, against the stored answer. A miss shows the correct graph or
// point with its explanation; it counts as two misses on the score panel.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "controls/DrawKit.h"
#include "graph/Points.h"

#include <cmath>

namespace {

using kit::kBlue;
using kit::kGreen;
using kit::kLightGreen;
using kit::kRed;
using points::pointText;

} // namespace

void Form1::Command5_Click()
{
    if (hintBeforeCheck())
        return;
    const QString k = currentAnswer();
    const QString q = currentQuestion();
    if (Text2.Text.isEmpty() && graph.clickAnswer.isEmpty())
        return;
    // Past the last question of a finished set there is nothing to judge: the
    // empty stored answer would equal an empty box and count as right.
    if (k.isEmpty())
        return;
    const bool right = k == Text2.Text || k == graph.clickAnswer;
    // What the learner answered: the text typed, the point, or the line
    // through the two points drawn.
    QString answered = Text2.Text;
    if (answered.isEmpty())
        answered = figure.graphKind == 0 || graph.clickAnswer.isEmpty()
                       ? graph.clickAnswer
                       : pointText(graph.anchorX, graph.anchorY) + u'-' + pointText(graph.secondX, graph.secondY);
    recordAnswer(right, answered);
    if (right) {
        typing.fracUpper.clear();
        typing.fracPrefix.clear();
        typing.fracLower.clear();
        typing.typedExpr.clear();
        countRightAnswer();
        nextQuestion();
        return;
    }

    startMiss();
    Command5.Visible = false;
    if (graph.keyboardAnswerMode == 1) {
        markClickedPoints();
    } else if (figure.graphKind != 0) {
        showCorrectGraph();
        explainGeneralForm(q);
    } else {
        explainPointAnswer();
    }
    graph.keyboardAnswerMode = 1;
    Command3.Visible = true;
    scoreState.missCount = conv::add16(scoreState.missCount, 1);
    scoreState.score = conv::add16(scoreState.correctCount, -scoreState.missCount);
    Label5.Caption = QString::number(scoreState.score);
    Label4.Caption = QString::number(scoreState.missCount);
    Picture3.Cls();
    typing.typedExpr.clear();
}

void Form1::explainGeneralForm(const QString &q)
{
    const int p = q.indexOf(u"y="_qs) + 1;
    const int g = q.indexOf(u"グラフを書"_qs) + 1;
    const int n = q.indexOf(u"のグラフ"_qs);
    if (p != 0 && p != 1 && g == 0 && n >= 0) {
        eq.standardEquation = q.left(n).trimmed();
        Picture7.Visible = true;
        explainStandardForm();
        Picture7.Cls();
        for (int i = 1; i <= 4; ++i)
            if (!eq.explainLines[i].isEmpty())
                Picture7.print(eq.explainLines[i]);
    } else {
        Picture7.Visible = false;
    }
}

void Form1::showCorrectGraph()
{
    Canvas &c = Picture6;
    for (int i = 1; i <= graph.clickCount; ++i)
        kit::filledCircle(Picture6, graph.clickedX[i], graph.clickedY[i], 0.1, kRed);
    kit::filledCircle(Picture6, graph.anchorX, graph.anchorY, 0.1, kRed);
    kit::filledCircle(Picture6, graph.secondX, graph.secondY, 0.1, kRed);
    const QString k = currentAnswer();
    eq.graphEquation = k;
    c.ForeColor = kRed;
    drawEquationGraph();
    c.ForeColor = 0;
    if (k.contains(u'/'))
        return;
    // One unit step of the line: one to the right, the slope up (or down),
    // from a lattice point of the line near the middle of the plane.
    const int m = eq.slopeNum;
    const int b = eq.graphIntercept;
    int x0 = 0;
    while (x0 > -7 && std::abs(m * x0 + b) > 6)
        x0 += (m * b > 0) ? -1 : 1;
    const int y0 = m * x0 + b;
    c.line(x0, y0, x0 + 1, y0, kGreen);
    c.line(x0 + 1, y0, x0 + 1, y0 + m, kGreen);
    const double size = c.FontSize;
    c.FontSize = 10;
    c.ForeColor = kGreen;
    c.CurrentX = x0 + 0.2;
    c.CurrentY = y0 - (m >= 0 ? 0.1 : -0.9);
    c.print(u"1"_qs);
    c.ForeColor = kBlue;
    c.CurrentX = x0 + 1.2;
    c.CurrentY = y0 + m / 2.0 + 0.4;
    c.print(QString::number(std::abs(m)));
    c.ForeColor = 0;
    c.FontSize = size;
}

void Form1::explainPointAnswer()
{
    Canvas &c = Picture6;
    const QString q = currentQuestion();
    const QString k = currentAnswer();
    const auto answer = points::pointsIn(k);
    const int x = answer.empty() ? 0 : answer[0].x;
    const int y = answer.empty() ? 0 : answer[0].y;
    if (q.contains(u"中点"_qs)) {
        const auto given = points::pointsIn(q);
        if (given.size() >= 2) {
            const int x1 = given[0].x, y1 = given[0].y;
            const int x2 = given[1].x, y2 = given[1].y;
            c.circle(x1, y1, 0.1);
            c.circle(x2, y2, 0.1);
            c.line(x1, y1, x2, y2);
            kit::filledCircle(Picture6, (x1 + x2) / 2.0, (y1 + y2) / 2.0, 0.15, kRed);
            c.FillColor = 0;
        }
    } else if (q.contains(u"x軸対称"_qs) || q.contains(u"y軸対称"_qs) || q.contains(u"原点対称"_qs)) {
        int gx = x, gy = y;
        if (q.contains(u"x軸対称"_qs))
            gy = -y;
        else if (q.contains(u"y軸対称"_qs))
            gx = -x;
        else {
            gx = -x;
            gy = -y;
        }
        c.circle(gx, gy, 0.1);
        kit::filledCircle(Picture6, x, y, 0.2, kRed);
        c.line(gx, gy, x, y, kRed);
        c.CurrentX = gx + 0.3;
        c.CurrentY = gy + 0.8;
        c.print(pointText(gx, gy));
        c.FillColor = kLightGreen;
    }
    // In every case the expected point, marked and named.
    c.circle(x, y, 0.2, kRed);
    const double size = c.FontSize;
    c.FontSize = 20;
    c.CurrentX = x + 0.3;
    c.CurrentY = y + 0.3;
    c.print(pointText(x, y));
    c.FontSize = size;
}
