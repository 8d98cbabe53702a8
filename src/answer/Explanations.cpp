// After a wrong typed answer: the worked explanation of the question's kind.
// The presenter marks the kind with flags; the first flag that applies picks
// the explanation, except that the area of a quadrilateral still lets the
// segment test run, and the grid triangle and every unmarked question go on
// to the coordinate explanation.
#include "form/Form1.h"

void Form1::explainWrongAnswer()
{
    if (figure.appOneLine == 1) {
        explainTriangleOAD();
        figure.appOneLine = 0;
        figure.appTwoLines = 0;
        return;
    }
    if (figure.explainQuadArea == 1)
        explainQuadrilateralArea();
    if (figure.appTwoLines == 1) {
        explainSegmentsBetweenLines();
        figure.appTwoLines = 0;
        return;
    }
    if (figure.explainQuadArea == 1)
        return;
    if (figure.appSquare == 1) {
        explainBetweenLines();
        return;
    }
    if (figure.circleKind >= 1 && figure.circleKind <= 6) {
        explainCircle();
        return;
    }
    if (figure.explainTriangleArea == 1)
        explainGridTriangle();
    explainCoordinates();
}
