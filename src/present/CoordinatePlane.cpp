// The square planes of the questions: x and y from -9 to 9, axes from -8 to
// 8. The coordinate plane has a tick at every unit and only 5 and -5
// labelled; the graph plane has grid lines or ticks and its own labels.
#include "form/Form1.h"

#include "controls/DrawKit.h"

void Form1::keyboardLayout()
{
    graph.keyboardAnswerMode = 1;
    Picture3.Visible = true;
    Text2.Visible = true;
    Command5.Visible = false;
}

void Form1::drawCoordinatePlane()
{
    keyboardLayout();
    drawPlaneAxesTicksLabels();
}

void Form1::drawPlaneAxesTicksLabels()
{
    Canvas &c = Picture6;
    drawPlaneAxes();
    for (int k = -8; k <= 8; ++k)
        c.line(-0.2, k, 0.2, k);
    for (int k = -8; k <= 8; ++k)
        c.line(k, -0.2, k, 0.2);
    const struct {
        const char16_t *text;
        double x, y;
    } labels[] = {{u"0", 0.2, -0.1},  {u"5", 4.8, -0.1}, {u"-5", -5.2, -0.1},
                  {u"5", 0.3, 5.1},   {u"-5", 0.2, -4.8}, {u"1めもりを1cmとする", 3, -8}};
    for (const auto &l : labels)
        kit::printAt(c, l.x, l.y, QString::fromUtf16(l.text));
}

void Form1::drawPlaneAxes()
{
    Canvas &c = Picture6;
    c.setScale(-9, 9, 9, -9);
    c.setDrawingArea(-8, 8, 8, -8);
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
    const struct {
        int value;
        double x, y;
    } labels[] = {{5, 5, 0}, {-5, -5, 0}, {5, 0, 5}, {-5, 0, -5}};
    for (const auto &l : labels)
        kit::printNumberAt(Picture6, l.x, l.y, l.value);
}
