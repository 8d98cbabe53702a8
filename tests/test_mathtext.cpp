// Text with powers: each exponent printed small right after its base, on the
// same line and at the same top, by the four renderers.
#include "TestForm.h"

namespace {

struct Piece {
    QString text;
    double size;
};

std::vector<Piece> pieces(const Canvas &c)
{
    std::vector<Piece> out;
    for (const CanvasOp &op : c.ops())
        if (op.kind == CanvasOp::Print)
            out.push_back({op.text, op.fontSize});
    return out;
}

// Draws a text on Picture6 starting from a cleared box at 10 pt.
std::vector<Piece> onCanvas(Form1 &f, const QString &text, int sameLine = 0)
{
    f.Picture6.Cls();
    f.Picture6.FontSize = 10;
    f.math.mathText = text;
    f.math.mathSameLine = int16_t(sameLine);
    f.drawMathCanvas();
    return pieces(f.Picture6);
}

void expectPieces(const std::vector<Piece> &got, const std::vector<Piece> &want, const QString &what)
{
    ASSERT_EQ(got.size(), want.size()) << what.toStdString();
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << what.toStdString() << " piece " << i;
        EXPECT_EQ(got[i].size, want[i].size) << what.toStdString() << " piece " << i;
    }
}

// A form made but not loaded.
struct MathText : ::testing::Test {
    TestForm t;
    Form1 &f = t.make();
};

} // namespace

TEST_F(MathText, PowersOnTheCanvasStandOnOneLine)
{
    expectPieces(onCanvas(f, u"(-3)^2-2^2"_qs),
                 {{u"(-3)"_qs, 10}, {u"2"_qs, 20}, {u"-2"_qs, 48}, {u"2"_qs, 20}}, u"(-3)^2-2^2"_qs);

    // Every piece starts where the one before it ended, at the same top: the
    // exponent is raised only by being smaller.
    const auto &ops = f.Picture6.ops();
    double x = 0;
    for (const CanvasOp &op : ops) {
        EXPECT_DOUBLE_EQ(op.x1, x) << op.text.toStdString();
        EXPECT_DOUBLE_EQ(op.y1, 0);
        EXPECT_EQ(op.fontName, u"ＭＳ Ｐゴシック"_qs);
        x += t.metrics.widthTwips(op.text, op.fontName, op.fontSize, false);
    }
    // The line is ended after the (empty) rest, which is at the large size.
    EXPECT_DOUBLE_EQ(f.Picture6.CurrentX, 0);
    EXPECT_DOUBLE_EQ(f.Picture6.CurrentY, t.metrics.heightTwips(QString(), 48, false));
    EXPECT_EQ(f.Picture6.FontSize, 48);
}

TEST_F(MathText, PiecesAndSizesByCaretCount)
{
    struct Case {
        QString text;
        std::vector<Piece> want;
    };
    const Case cases[] = {
        // No caret: the text as it is, at the box's size, blanks kept.
        {u"y = 2x "_qs, {{u"y = 2x "_qs, 10}}},
        // A coefficient 1 is not shown; 12 keeps its 1.
        {u"1x^2"_qs, {{u"x"_qs, 10}, {u"2"_qs, 20}}},
        {u"1x"_qs, {{u"x"_qs, 10}}},
        {u"12^2"_qs, {{u"12"_qs, 10}, {u"2"_qs, 20}}},
        // Pieces are trimmed of blanks; only the character after a caret is
        // the exponent.
        {u"  5-(-3)^2 +1 "_qs, {{u"5-(-3)"_qs, 10}, {u"2"_qs, 20}, {u"+1"_qs, 48}}},
        {u"x^12"_qs, {{u"x"_qs, 10}, {u"1"_qs, 20}, {u"2"_qs, 48}}},
        // A caret as the last character: an empty exponent, nothing fails.
        {u"x^"_qs, {{u"x"_qs, 10}}},
        {u"^"_qs, {}},
        {u"a^2+b^3+c^4"_qs,
         {{u"a"_qs, 10}, {u"2"_qs, 20}, {u"+b"_qs, 48}, {u"3"_qs, 20}, {u"+c"_qs, 48}, {u"4"_qs, 20}}},
        // From the fourth caret on, everything is one small piece, later
        // carets included.
        {u"a^2b^3c^4d^5"_qs,
         {{u"a"_qs, 10}, {u"2"_qs, 20}, {u"b"_qs, 48}, {u"3"_qs, 20}, {u"c"_qs, 48}, {u"4"_qs, 20},
          {u"d"_qs, 48}, {u"5"_qs, 20}}},
        {u"a^2+b^2+c^2+d^2+e^2"_qs,
         {{u"a"_qs, 10}, {u"2"_qs, 20}, {u"+b"_qs, 48}, {u"2"_qs, 20}, {u"+c"_qs, 48}, {u"2"_qs, 20},
          {u"+d"_qs, 48}, {u"2+e^2"_qs, 20}}},
    };
    for (const Case &c : cases)
        expectPieces(onCanvas(f, c.text), c.want, c.text);
}

TEST_F(MathText, SameLineKeepsThePositionOnceAndIsReset)
{
    onCanvas(f, u"x^2"_qs, 1);
    const double after =
        t.metrics.widthTwips(u"x"_qs, {}, 10, false) + t.metrics.widthTwips(u"2"_qs, {}, 20, false);
    EXPECT_DOUBLE_EQ(f.Picture6.CurrentX, after);
    EXPECT_DOUBLE_EQ(f.Picture6.CurrentY, 0);
    EXPECT_EQ(f.math.mathSameLine, 0);

    // A following print continues the line; the next drawing ends it.
    f.Picture6.print(u"+1"_qs, true);
    EXPECT_DOUBLE_EQ(f.Picture6.ops().back().x1, after);
    f.math.mathText = u"y^3"_qs;
    f.drawMathCanvas();
    EXPECT_DOUBLE_EQ(f.Picture6.ops().back().y1, 0);
    EXPECT_DOUBLE_EQ(f.Picture6.CurrentX, 0);
    EXPECT_GT(f.Picture6.CurrentY, 0);

    // Without carets the flag is honoured and reset too.
    onCanvas(f, u"abc"_qs, 1);
    EXPECT_GT(f.Picture6.CurrentX, 0);
    EXPECT_EQ(f.math.mathSameLine, 0);
}

TEST_F(MathText, EachRendererHasItsBoxAndSizes)
{
    struct Case {
        void (Form1::*draw)();
        Canvas Form1::*box;
        double base, small;
    };
    // Picture6 and Picture3 print the base at whatever size the box has;
    // Picture5 and Picture4 set their large size first.
    const Case cases[] = {{&Form1::drawMathCanvas, &Form1::Picture6, 12, 20},
                          {&Form1::drawMathPicture3, &Form1::Picture3, 12, 20},
                          {&Form1::drawMathPicture5, &Form1::Picture5, 20, 10},
                          {&Form1::drawMathPicture4, &Form1::Picture4, 18, 8}};
    for (const Case &c : cases) {
        TestForm u;
        Form1 &g = u.make();
        Canvas &box = g.*c.box;
        box.Cls();
        box.FontSize = 12;
        g.math.mathText = u"x^2"_qs;
        (g.*c.draw)();
        expectPieces(pieces(box), {{u"x"_qs, c.base}, {u"2"_qs, c.small}}, box.Name);
        // Nothing lands on another box.
        for (Canvas *other : g.canvases()) {
            if (other != &box) {
                EXPECT_TRUE(TestForm::printed(*other).isEmpty()) << other->Name.toStdString();
            }
        }
    }
}
