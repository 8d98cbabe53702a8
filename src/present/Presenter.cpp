// Turns the current question into what the learner sees: the family of the
// question is recognised from keywords, its parameters are read, its figure
// drawn, and keyboard or graph answering chosen. The order of the families
// matters: a question can hold the keywords of more than one.
#include "app/Form1.h"

#include "present/Params.h"

namespace {
bool has(const QString &q, const char16_t *word) { return q.contains(QString::fromUtf16(word)); }

// The application questions are answered by typing, so the box and its
// preview are shown whatever the question or run before left hidden: after
// a graph drawn on the plane, or a run ended, neither would be, and the
// question could not be answered at all.
void showAnswerBox(Form1 &f)
{
    f.Picture3.Visible = true;
    f.Text2.Visible = true;
}
} // namespace

void Form1::showQuestionTextAgain(const QString &text)
{
    Picture2.Cls();
    if (text.size() > 15) {
        Picture2.print(text.left(15));
        Picture2.print(text.mid(15));
    } else {
        Picture2.print(text);
    }
}

void Form1::presentQuestion()
{
    Picture6.ForeColor = 0;
    const QString q = currentQuestion();
    QString text, params;
    splitQuestion(q, text, params);

    // 1: a segment between a line and the x-axis, or between two lines.
    if (has(q, u"上の直線ABがある。") || has(q, u"上の直線ACがある。") || has(q, u"上の直線BCがある。")) {
        Command5.Visible = false;
        showAnswerBox(*this);
        const Params p(params);
        figure.appLine1 = p.field(1);
        if (p.commas() == 1) {
            figure.appXValue = p.number(2);
            figure.appOneLine = 1;
            figure.appFigureLine = figure.appLine1;
            drawOneLineFigure();
        } else if (text.contains(u"OAD"_qs)) {
            figure.appXValue = p.number(2);
            figure.cornerDx = p.number(3);
            if (p.commas() >= 3)
                figure.appFourthValue1 = p.number(4);
            figure.appOneLine = 1;
            figure.appFigureLine = figure.appLine1;
            drawOneLineFigure();
        } else {
            figure.appLine2 = p.field(2);
            figure.appXValue = p.number(3);
            drawTwoLineFigure();
            figure.appTwoLines = 1;
            graph.keyboardAnswerMode = 1;
            Command5.Visible = false;
            if (p.commas() >= 4)
                figure.appFourthValue = p.number(4);
        }
        return;
    }

    // 2: a square standing under a line.
    if (has(q, u"正方形")) {
        graph.keyboardAnswerMode = 1;
        Command5.Visible = false;
        showAnswerBox(*this);
        const Params p(params);
        figure.appFigureLine = p.field(1);
        figure.squareStartX = p.number(2);
        drawSquareFigure();
        figure.appSquare = 1;
        return;
    }
    figure.appSquare = 0;

    // 3: a circle whose area or circumference is given.
    if ((has(q, u"半径を求め") || has(q, u"直径を求め")) && (has(q, u"円の面積が") || has(q, u"円周が"))) {
        presentCircleUnknownRadius(text, params);
        return;
    }
    // 4: a circle or a sector.
    if ((has(q, u"円") && has(q, u"面積を求め")) || (has(q, u"おうぎ形") && has(q, u"面積を求め"))
        || (has(q, u"円") && has(q, u"円周を求め")) || (has(q, u"おうぎ形") && has(q, u"弧を求め"))) {
        presentCircleOrSector(text, params);
        return;
    }
    // 5: the length of a segment on the plane.
    if (has(q, u"#")
        && (has(q, u"直線ABの長さを求める") || has(q, u"直線ACの長さを求める") || has(q, u"直線BCの長さを求め"))) {
        drawCoordinatePlane();
        presentSegment(params);
        return;
    }
    // 6: a quadrilateral on the plane.
    if (has(q, u"#") && has(q, u"四角形") && has(q, u"面積を求め")) {
        drawCoordinatePlane();
        presentQuadrilateral(text, params);
        return;
    }
    // 7: a triangle on the plane.
    if (has(q, u"#") && has(q, u"三角形") && has(q, u"面積を求め")) {
        presentTriangle(params);
        return;
    }
    // 8: graphs of functions and points of the plane.
    showQuestionTextAgain(text);
    presentGraphOrPoint(text);
}
