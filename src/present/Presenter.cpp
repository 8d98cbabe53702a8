// Turns the current question into what the learner sees: the family of the
// question is recognised from keywords, its parameters are read, its figure
// drawn, and keyboard or graph answering chosen. The order of the families
// matters: a question can hold the keywords of more than one.
#include "form/Form1.h"

#include "controls/DrawKit.h"
#include "present/Params.h"
#include "wrap/LineBreak.h"

#include <algorithm>

using kit::has;

void Form1::showQuestionTextAgain(const QString &text)
{
    // Fifteen characters, then the rest, each break where a Japanese line
    // may end (as the question cycle prints it).
    Picture2.Cls();
    for (const QString &line : wrap::panelLines(text, {15}, 15))
        Picture2.print(line);
}

void Form1::startQuestionInput()
{
    // Nothing typed or clicked for an earlier question reaches this one:
    // keys pressed while the box was locked after a miss, a half-typed
    // fraction, a line begun on the plane, an anchor, a clicked answer.
    Text2.Text.clear();
    typing.clearEntry();
    graph.mouseHeld = 0;
    graph.firstPointSet = 0;
    graph.pointsApart = 0;
    graph.pointX = graph.pointY = 0;
    graph.secondX = graph.secondY = 0;
    graph.anchorX = graph.anchorY = 0;
    graph.lastX = graph.lastY = 0;
    graph.clickAnswer.clear();
    graph.clickCount = 0;
    std::fill(graph.clickedX.begin(), graph.clickedX.end(), 0);
    std::fill(graph.clickedY.begin(), graph.clickedY.end(), 0);
    // The explanation flags of the application figures belong to the question
    // that set them: left over after a right answer, they explained the next
    // set's figures (a segment between lines drawn on a triangle).
    figure.appOneLine = 0;
    figure.appTwoLines = 0;
    // Typed unless the question turns out to be answered on the plane.
    graph.keyboardAnswerMode = 1;
}

void Form1::settleAnswerLayout()
{
    // The question alone decides how it is answered: the answer box for a
    // typed answer, the plane and the check button for a drawn one. A
    // family that does not set its layout itself (the applications, a
    // question that matches no figure) would otherwise keep the last
    // question's, and a drawing question after a typed one would ignore
    // every press.
    const bool typed = graph.keyboardAnswerMode == 1;
    Text2.Visible = typed;
    Picture3.Visible = typed;
    Command5.Visible = !typed;
}

void Form1::presentQuestion()
{
    if (review.reviewMode == 1)
        applyReviewContext();
    startQuestionInput();
    presentFamily();
    settleAnswerLayout();
}

namespace {

// The question families, tried in this order; the first that matches is
// the only one carried out (a question can hold the keywords of more than
// one: the square's "台形AODC", the OAC triangle's "三角形"). Each family
// leaves the flags that pick its explanation after a miss (explainWrongAnswer).
struct Family {
    const char *name;
    bool (*matches)(const QString &q);
    void (Form1::*present)(const QString &text, const QString &params);
};

bool onLines(const QString &q)
{
    return has(q, u"上の直線ABがある。") || has(q, u"上の直線ACがある。") || has(q, u"上の直線BCがある。");
}
bool square(const QString &q) { return has(q, u"正方形"); }
bool circleFromMeasure(const QString &q)
{
    return (has(q, u"半径を求め") || has(q, u"直径を求め")) && (has(q, u"円の面積が") || has(q, u"円周が"));
}
bool circleOrSector(const QString &q)
{
    return (has(q, u"円") && has(q, u"面積を求め")) || (has(q, u"おうぎ形") && has(q, u"面積を求め"))
           || (has(q, u"円") && has(q, u"円周を求め")) || (has(q, u"おうぎ形") && has(q, u"弧を求め"));
}
bool segment(const QString &q)
{
    return has(q, u"#")
           && (has(q, u"直線ABの長さを求める") || has(q, u"直線ACの長さを求める") || has(q, u"直線BCの長さを求め"));
}
bool quadrilateral(const QString &q) { return has(q, u"#") && has(q, u"四角形") && has(q, u"面積を求め"); }
bool triangle(const QString &q) { return has(q, u"#") && has(q, u"三角形") && has(q, u"面積を求め"); }
bool anyOther(const QString &) { return true; }

const Family kFamilies[] = {
    {"application on lines", onLines, &Form1::presentApplication},           // explained on the panel
    {"square application", square, &Form1::presentSquareApplication},        // between lines
    {"circle from a measure", circleFromMeasure, &Form1::presentCircleUnknownRadius}, // circle 5, 6
    {"circle or sector", circleOrSector, &Form1::presentCircleOrSector},     // circle 1 to 4
    {"segment", segment, &Form1::presentSegmentOnPlane},                    // coordinates
    {"quadrilateral", quadrilateral, &Form1::presentQuadrilateralOnPlane},   // quadrilateral area
    {"triangle", triangle, &Form1::presentTriangleOnPlane},                  // grid triangle
    {"graph or point", anyOther, &Form1::presentGraphOrPointQuestion},       // coordinates, graphs
};

} // namespace

void Form1::presentFamily()
{
    Picture6.ForeColor = 0;
    const QString q = currentQuestion();
    QString text, params;
    splitQuestion(q, text, params);
    for (const Family &family : kFamilies) {
        // Every question but the two application kinds is no square one.
        if (family.matches == circleFromMeasure)
            figure.appSquare = 0;
        if (family.matches(q)) {
            (this->*family.present)(text, params);
            return;
        }
    }
}

void Form1::presentApplication(const QString &text, const QString &params)
{
    // A segment between a line and the x-axis, or between two lines.
    Command5.Visible = false;
    const Params p(params);
    figure.appLine1 = p.field(1);
    if (p.commas() == 1 || text.contains(u"OAD"_qs)) {
        figure.appXValue = p.number(2);
        if (p.commas() != 1) {
            figure.cornerDx = p.number(3);
            if (p.commas() >= 3)
                figure.appFourthValue1 = p.number(4);
        }
        figure.appOneLine = 1;
        figure.appFigureLine = figure.appLine1;
        drawOneLineFigure();
        return;
    }
    figure.appLine2 = p.field(2);
    figure.appXValue = p.number(3);
    drawTwoLineFigure();
    figure.appTwoLines = 1;
    graph.keyboardAnswerMode = 1;
    Command5.Visible = false;
    if (p.commas() >= 4)
        figure.appFourthValue = p.number(4);
}

void Form1::presentSquareApplication(const QString &, const QString &params)
{
    graph.keyboardAnswerMode = 1;
    Command5.Visible = false;
    const Params p(params);
    figure.appFigureLine = p.field(1);
    figure.squareStartX = p.number(2);
    drawSquareFigure();
    figure.appSquare = 1;
}

void Form1::presentSegmentOnPlane(const QString &, const QString &params)
{
    drawCoordinatePlane();
    presentSegment(params);
}

void Form1::presentQuadrilateralOnPlane(const QString &text, const QString &params)
{
    drawCoordinatePlane();
    presentQuadrilateral(text, params);
}

void Form1::presentTriangleOnPlane(const QString &, const QString &params) { presentTriangle(params); }

void Form1::presentGraphOrPointQuestion(const QString &text, const QString &)
{
    showQuestionTextAgain(text);
    presentGraphOrPoint(text);
}
