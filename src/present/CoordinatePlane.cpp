// The square coordinate plane of the questions answered by typing: axes from
// -8 to 8 with a tick at every unit, only 5 and -5 labelled.
#include "form/Form1.h"

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
    for (const auto &l : labels) {
        c.CurrentX = l.x;
        c.CurrentY = l.y;
        c.print(QString::fromUtf16(l.text));
    }
}
