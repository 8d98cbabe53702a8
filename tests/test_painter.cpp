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

// The results chart is read back from what the question cycle draws, in
// slot order: each bar's score, whether it is the run just finished, its
// date and its set; and set out inside its box however many runs it holds.
TEST(Painter, TheChartReadsItsRunsAndKeepsThemInsideTheBox)
{
    QtTextMetrics metrics;
    Canvas chart(u"Picture1"_qs, 480, 240, 8775, 7095, 0xFFFFFF, 5.25);
    chart.setMetrics(&metrics);
    chart.setScale(0, 200, 100, 0);
    auto run = [&](int i, int score, const QString &date, const QString &set, bool current) {
        chart.box(5 * i + 13, score + 40, 5 * i + 17, 40, current);
        for (int part = 0; part < 3; ++part) {
            chart.CurrentX = 5 * i + 13;
            chart.CurrentY = 39 - 3 * part;
            chart.print(date.mid(2 * part, 2));
        }
        for (int k = 1; k <= set.size(); ++k) {
            chart.CurrentX = 5 * i + 13;
            chart.CurrentY = 33 - 3 * k;
            chart.print(set.mid(k - 1, 1));
        }
    };
    for (int i = 1; i <= 40; ++i)
        run(i, 100 + i, u"261201"_qs, u"長さ面積1.txt"_qs, false);
    run(41, 0, u"261208"_qs, u"長さ面積1"_qs, true);
    const std::vector<chart::Run> runs = chart::readRuns(chart);
    ASSERT_EQ(runs.size(), 41u);
    EXPECT_EQ(runs[0].score, 101);
    EXPECT_EQ(runs[0].date, u"261201"_qs);
    EXPECT_EQ(runs[0].set, u"長さ面積1.txt"_qs);
    EXPECT_FALSE(runs[0].current);
    EXPECT_EQ(runs[40].score, 0); // a run of no score is a bar of no height
    EXPECT_TRUE(runs[40].current);
    EXPECT_EQ(chart::shortDate(runs[40].date), u"12/8"_qs);
    EXPECT_EQ(chart::shortDate(u"261301"_qs), u"261301"_qs); // no such month: as it is
    EXPECT_EQ(chart::shortDate(u"0"_qs), u"0"_qs);

    const auto caption = [](const QString &name) { return name.startsWith(u"長さ面積1"_qs) ? u"長さ"_qs : QString(); };
    for (const QSizeF box : {QSizeF(7560, 5880), QSizeF(4000, 3000)}) {
        const chart::Layout l = chart::layoutFor(runs, box, caption);
        EXPECT_TRUE(QRectF(QPointF(), box).contains(l.plot)) << box.width();
        EXPECT_GE(l.slot * 41, l.plot.width() - 1);
        EXPECT_TRUE(l.turned); // 41 runs leave no room for upright labels
        EXPECT_GE(l.high, 140);
    }
    // Few runs: the labels stand upright under their bars.
    Canvas few(u"Picture1"_qs, 480, 240, 8775, 7095, 0xFFFFFF, 5.25);
    few.setScale(0, 200, 100, 0);
    few.box(18, 52, 22, 40, true);
    EXPECT_FALSE(chart::layoutFor(chart::readRuns(few), QSizeF(7560, 5880), caption).turned);

    // Painted, the chart's ink stays inside the box, the last bar included.
    PaintOptions o;
    o.chart = true;
    o.caption = caption;
    const QImage image = render(chart, o);
    const QRect ink = inkBounds(image);
    EXPECT_GE(ink.left(), 0);
    EXPECT_LT(ink.right(), image.width() - 1);
    EXPECT_LT(ink.bottom(), image.height() - 1);
    EXPECT_GT(ink.right(), image.width() * 3 / 4);
}
