// The picture-box model: scale, pen, display list.
#include "controls/Canvas.h"
#include "controls/Controls.h"

#include <gtest/gtest.h>

namespace {
Canvas plane()
{
    Canvas c(u"Picture6"_qs, 120, 0, 5175, 4935, 0, 10);
    c.setScale(-9, 9, 9, -9);
    return c;
}
} // namespace

TEST(Canvas, ScaleIsLeftTopWidthHeight)
{
    Canvas c = plane();
    EXPECT_DOUBLE_EQ(c.ScaleLeft(), -9);
    EXPECT_DOUBLE_EQ(c.ScaleTop(), 9);
    EXPECT_DOUBLE_EQ(c.ScaleWidth(), 18);
    EXPECT_DOUBLE_EQ(c.ScaleHeight(), -18);
    c.resetScale();
    EXPECT_DOUBLE_EQ(c.ScaleWidth(), 5175);
    EXPECT_DOUBLE_EQ(c.ScaleHeight(), 4935);
}

TEST(Canvas, OpsKeepUserCoordinatesAndTheScaleInForce)
{
    Canvas c = plane();
    c.DrawWidth = 2;
    c.line(-8, 0, 8, 0);
    c.DrawWidth = 1;
    c.circle(-4, -2, 0.25);
    ASSERT_EQ(c.ops().size(), 2u);
    const CanvasOp &axis = c.ops()[0];
    EXPECT_EQ(axis.kind, CanvasOp::Line);
    EXPECT_EQ(axis.width, 2);
    EXPECT_DOUBLE_EQ(axis.x1, -8);
    EXPECT_DOUBLE_EQ(axis.scale.height, -18);
    const CanvasOp &mark = c.ops()[1];
    EXPECT_EQ(mark.kind, CanvasOp::Circle);
    EXPECT_DOUBLE_EQ(mark.r, 0.25);
    EXPECT_FALSE(mark.fill.has_value());
    // The pen ends where the last figure left it: the circle's centre.
    EXPECT_DOUBLE_EQ(c.CurrentX, -4);
    EXPECT_DOUBLE_EQ(c.CurrentY, -2);
}

TEST(Canvas, PrintMovesThePenAlongOrDownALine)
{
    Canvas c(u"Picture2"_qs, 0, 0, 2000, 1000, 0, 10); // twips scale
    c.print(u"ab"_qs, true);
    // Fixed-width metrics: half an em (100 twips at 10 pt) per half-width character.
    EXPECT_DOUBLE_EQ(c.CurrentX, 200);
    EXPECT_DOUBLE_EQ(c.CurrentY, 0);
    c.printNumber(5, true);
    EXPECT_EQ(c.ops().back().text, u" 5 "_qs);
    EXPECT_DOUBLE_EQ(c.ops().back().x1, 200);
    c.print(u"ｃ"_qs);
    EXPECT_DOUBLE_EQ(c.CurrentX, 0);
    EXPECT_DOUBLE_EQ(c.CurrentY, 240);

    // In a plane whose y grows upwards the next line lies lower, so y falls.
    Canvas p = plane();
    p.CurrentX = 3;
    p.CurrentY = -8;
    p.print(u"1めもりを1cmとする"_qs);
    EXPECT_DOUBLE_EQ(p.CurrentX, -9);
    EXPECT_LT(p.CurrentY, -8);
    EXPECT_DOUBLE_EQ(p.ops().back().x1, 3);
}

TEST(Canvas, JoinedSegmentsBecomeOnePolyline)
{
    Canvas c = plane();
    c.pset(-8, -16);
    for (double x = -7.5; x <= 8; x += 0.5)
        c.lineTo(x, 2 * x);
    ASSERT_EQ(c.ops().size(), 2u);
    EXPECT_EQ(c.ops()[0].kind, CanvasOp::Point);
    EXPECT_EQ(c.ops()[1].kind, CanvasOp::Polyline);
    EXPECT_EQ(c.ops()[1].points.size(), 33u);
    // A new colour starts a new run.
    c.ForeColor = 255;
    c.lineTo(9, 9);
    EXPECT_EQ(c.ops().size(), 3u);
}

TEST(Canvas, ClearEmptiesTheListAndHomesThePen)
{
    Canvas c = plane();
    c.FillStyle = 0;
    c.FillColor = 255;
    c.circle(1, 1, 0.15);
    EXPECT_EQ(c.ops().back().fill.value_or(-1), 255);
    c.box(0, 0, 2, 2, true);
    c.Cls();
    EXPECT_TRUE(c.ops().empty());
    EXPECT_DOUBLE_EQ(c.CurrentX, 0);
    EXPECT_DOUBLE_EQ(c.CurrentY, 0);
    // The scale survives a clear.
    EXPECT_DOUBLE_EQ(c.ScaleWidth(), 18);
}

// A view that keeps the count it showed last repaints only when the count
// has grown: every change to what a box or a label shows must grow it, and
// nothing else may.
TEST(Canvas, ChangeCountsGrowWithWhatIsShownAndOnlyWithIt)
{
    Canvas c = plane();
    uint64_t n = c.changeCount();
    EXPECT_EQ(c.changeCount(), n);
    auto grew = [&n](uint64_t now) {
        const bool g = now > n;
        n = now;
        return g;
    };
    c.setScale(-5, 5, 5, -5); // nothing drawn yet: nothing shows otherwise
    c.FontSize = 14;
    EXPECT_FALSE(grew(c.changeCount()));
    c.line(0, 0, 1, 1);
    EXPECT_TRUE(grew(c.changeCount()));
    c.lineTo(2, 3); // joins the line's polyline
    EXPECT_TRUE(grew(c.changeCount()));
    c.lineTo(4, 1);
    EXPECT_TRUE(grew(c.changeCount()));
    c.print(u"A"_qs);
    EXPECT_TRUE(grew(c.changeCount()));
    c.BackColor = 0x00FFFF;
    EXPECT_TRUE(grew(c.changeCount()));
    EXPECT_FALSE(grew(c.changeCount()));
    c.Cls();
    EXPECT_TRUE(grew(c.changeCount()));
    c.Cls(); // already clear
    EXPECT_FALSE(grew(c.changeCount()));

    Label l;
    l.Caption = u"0:00"_qs;
    n = l.changeCount();
    l.Caption = u"0:00"_qs; // the clock set to the text it shows
    EXPECT_FALSE(grew(l.changeCount()));
    l.Caption = u"0:01"_qs;
    EXPECT_TRUE(grew(l.changeCount()));
    l.ForeColor = 0x0000FF;
    EXPECT_TRUE(grew(l.changeCount()));
    l.Visible = false;
    EXPECT_TRUE(grew(l.changeCount()));
    Label copy = l; // a copy counts on from where it was made
    EXPECT_FALSE(grew(copy.changeCount()));

    TextBox t;
    n = t.changeCount();
    t.Text = u"12"_qs;
    EXPECT_TRUE(grew(t.changeCount()));
    t.Focused = true; // the window moves the focus itself
    EXPECT_FALSE(grew(t.changeCount()));
}
