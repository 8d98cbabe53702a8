// How a picture box's labels reach the screen: each one readable.
#include "controls/Canvas.h"
#include "ui/CanvasPainter.h"
#include "ui/QtTextMetrics.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr double kPpt = 0.1; // pixels per twip

QImage render(const Canvas &c, const PaintOptions &options = {})
{
    QImage image(int(c.Width * kPpt), int(c.Height * kPpt), QImage::Format_RGB32);
    QPainter p(&image);
    paintCanvas(p, c, kPpt, options);
    return image;
}

// The columns and rows holding ink.
QRect inkBounds(const QImage &image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

struct Plane {
    QtTextMetrics metrics;
    Canvas c{u"Picture6"_qs, 120, 0, 5175, 4935, 0xFFFFFF, 10};
    Plane()
    {
        c.setMetrics(&metrics);
        c.setScale(-9, 9, 9, -9);
    }
    void printAt(double x, double y, const QString &text, double size)
    {
        c.FontSize = size;
        c.CurrentX = x;
        c.CurrentY = y;
        c.print(text);
    }
};

} // namespace

// The same label drawn twice at one place, in two sizes (a figure presented
// twice), shows as the later one alone.
TEST(Painter, ALabelDrawnTwiceAtOnePlaceShowsOnce)
{
    Plane twice, once;
    twice.printAt(4.8, 0, u" 5 "_qs, 10);
    twice.printAt(4.8, 0, u" 5 "_qs, 12);
    once.printAt(4.8, 0, u" 5 "_qs, 12);
    EXPECT_EQ(render(twice.c), render(once.c));
}

// A label that runs out of its box is scaled into it; one that starts
// outside is clipped as the box clips it.
TEST(Painter, ALabelRunningOutOfTheBoxIsScaledIntoIt)
{
    Plane p;
    p.printAt(6.5, 0, u"A( 8 , 5 )"_qs, 18);
    const QImage image = render(p.c);
    const QRect ink = inkBounds(image);
    EXPECT_LT(ink.right(), image.width() - 1);
    EXPECT_GT(ink.width(), 20);
}

// A label falling on one drawn before it moves a little aside on the
// figures; the two are then both seen whole.
TEST(Painter, CollidingLabelsMoveApartOnTheFigures)
{
    Plane p;
    p.printAt(4.8, 0, u" 5 "_qs, 10);
    p.printAt(2, -0.3, u" B ( 3 ,0)"_qs, 18);
    PaintOptions figure;
    figure.nudgeLabels = true;
    const QImage nudged = render(p.c, figure);

    Plane axis, label;
    axis.printAt(4.8, 0, u" 5 "_qs, 10);
    label.printAt(2, -0.3, u" B ( 3 ,0)"_qs, 18);
    const QImage axisAlone = render(axis.c);
    const QRect five = inkBounds(axisAlone);
    const QRect b = inkBounds(render(label.c));
    ASSERT_TRUE(five.intersects(b)); // they do collide where they are placed
    // The axis number stays where it was, whole; the later label moved.
    for (int y = five.top(); y <= five.bottom(); ++y) {
        for (int x = five.left(); x <= five.right(); ++x) {
            if (qGray(axisAlone.pixel(x, y)) < 128) {
                EXPECT_LT(qGray(nudged.pixel(x, y)), 160) << x << "," << y;
            }
        }
    }
    EXPECT_NE(inkBounds(nudged), five.united(b));
}

// The results chart shows every bar, however many runs it holds.
TEST(Painter, TheChartSqueezesToShowEveryBar)
{
    Canvas chart(u"Picture1"_qs, 480, 240, 8775, 7095, 0xFFFFFF, 5.25);
    chart.setScale(0, 200, 100, 0);
    for (int i = 1; i <= 41; ++i)
        chart.box(5 * i + 13, 60, 5 * i + 17, 40, i == 41);
    EXPECT_GT(contentWidthFit(chart), 2.0);
    PaintOptions o;
    o.fitContentWidth = true;
    const QImage image = render(chart, o);
    // The last (filled) bar is inside the box.
    const QRect ink = inkBounds(image);
    EXPECT_LT(ink.right(), image.width() - 2);
    EXPECT_GT(ink.right(), image.width() * 3 / 4);
}
