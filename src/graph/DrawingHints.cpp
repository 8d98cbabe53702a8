// What the plane tells the learner while an answer is drawn on it: the
// first point of a line stands out, with a note where the line starts at
// the origin whatever was clicked; and the check button, pressed before the
// answer is complete, says what is missing instead of doing nothing.
#include "form/Form1.h"

#include "controls/DrawKit.h"

namespace {

// Notes stand in the strips above and below the grid, clear of its lines.
constexpr double kTopStrip = 8.95;
constexpr double kBottomStrip = -8.05;
constexpr double kNoteSize = 10;

void note(Canvas &c, double y, const QString &text, int32_t color)
{
    const double size = c.FontSize;
    const int32_t fore = c.ForeColor;
    c.FontSize = kNoteSize;
    kit::printAt(c, -8.8, y, text, color);
    c.FontSize = size;
    c.ForeColor = fore;
}

} // namespace

void Form1::markFirstPoint()
{
    // Only while a line is being drawn: its first point is down and the
    // second is not.
    if (graph.keyboardAnswerMode == 1 || figure.graphKind == 0 || graph.firstPointSet != -1)
        return;
    Canvas &c = Picture6;
    kit::filledCircle(c, graph.pointX, graph.pointY, 0.15, kit::kRed);
    c.circle(graph.pointX, graph.pointY, 0.35, kit::kRed);
    if (eq.graphIntercept == 0 && graph.pointX == 0 && graph.pointY == 0)
        note(c, kTopStrip, QStringLiteral("この直線は原点を通るので、1点目は原点です"), kit::kRed);
}

bool Form1::hintBeforeCheck()
{
    // Answers on the plane only: a typed answer is judged as it is.
    if (graph.keyboardAnswerMode == 1 || Text2.Visible || !graph.clickAnswer.isEmpty())
        return false;
    QString hint;
    if (figure.graphKind == 0)
        hint = QStringLiteral("点をクリックしよう");
    else if (graph.firstPointSet == -1)
        hint = QStringLiteral("もう1点クリックしよう");
    else
        hint = QStringLiteral("2点をクリックしよう");
    note(Picture6, kBottomStrip, hint, kit::kRed);
    return true;
}
