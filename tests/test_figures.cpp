// What a question puts on the drawing area: the family chosen from the
// question's keywords, the figure built from its parameters, the graph or
// point plane, and the application figures with the points they leave for
// the explanations.
#include "DriveRunner.h"
#include "TestForm.h"
#include "figure_kinds.h"

#include "app/SetTable.h"
#include "controls/Convert.h"

#include <QJsonArray>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kTol = 1e-6;
constexpr int32_t kBlue = conv::rgb(0, 0, 255);
constexpr int32_t kGreen = conv::rgb(0, 255, 0);

bool near(double a, double b, double tol = kTol) { return std::abs(a - b) <= tol; }

// Presents one question at a position of the draw order, on a cleared area.
void show(Form1 &f, const QString &q, const QString &a = QString(), int no = 1)
{
    f.bank.shuffledMondai[no] = q;
    f.bank.shuffledKotae[no] = a;
    f.bank.mondaiNo = int16_t(no);
    f.bank.mondaiCount = int16_t(std::max<int>(no, f.bank.mondaiCount));
    f.Picture6.Cls();
    f.presentQuestion();
}

const CanvasOp *lineOp(const Canvas &c, double x1, double y1, double x2, double y2, double tol = kTol)
{
    for (const CanvasOp *op : opsOf(c, CanvasOp::Line))
        if (near(op->x1, x1, tol) && near(op->y1, y1, tol) && near(op->x2, x2, tol) && near(op->y2, y2, tol))
            return op;
    return nullptr;
}

const CanvasOp *circleOp(const Canvas &c, double x, double y, double r)
{
    for (const CanvasOp *op : opsOf(c, CanvasOp::Circle))
        if (near(op->x1, x) && near(op->y1, y) && near(op->r, r))
            return op;
    return nullptr;
}

// The print items that follow the one with this text, up to and including
// `count` items: a label such as "A(" 3 "," 5 ")".
QStringList itemsFrom(const Canvas &c, const QString &first, int count)
{
    QStringList out;
    const auto prints = opsOf(c, CanvasOp::Print);
    for (size_t i = 0; i < prints.size(); ++i) {
        if (prints[i]->text != first)
            continue;
        for (size_t k = i; k < prints.size() && int(out.size()) < count; ++k)
            out << prints[k]->text;
        break;
    }
    return out;
}

// Some print item with this text starts at (x, y).
::testing::AssertionResult printedAt(const Canvas &c, const QString &text, double x, double y)
{
    std::string seen;
    for (const CanvasOp *op : opsOf(c, CanvasOp::Print)) {
        if (op->text != text)
            continue;
        if (near(op->x1, x) && near(op->y1, y))
            return ::testing::AssertionSuccess();
        seen += " (" + std::to_string(op->x1) + ", " + std::to_string(op->y1) + ")";
    }
    return ::testing::AssertionFailure() << "\"" << text.toStdString() << "\" not at (" << x << ", " << y
                                         << "); printed at" << (seen.empty() ? std::string(" nowhere") : seen);
}

// Any thin line across the plane away from the axes is a grid line.
bool hasAnyGridLine(const Canvas &c)
{
    for (int k = -8; k <= 8; ++k)
        if (k != 0 && (lineOp(c, -8, k, 8, k) || lineOp(c, k, -8, k, 8)))
            return true;
    return false;
}

// Each text is printed at its place.
struct At {
    const char16_t *text;
    double x, y;
};

void expectPrintedAt(const Canvas &c, std::initializer_list<At> items)
{
    for (const At &a : items)
        EXPECT_TRUE(printedAt(c, QString::fromUtf16(a.text), a.x, a.y));
}

// Each segment is drawn.
void expectLines(const Canvas &c, std::initializer_list<std::array<double, 4>> segments)
{
    for (const auto &[x1, y1, x2, y2] : segments)
        EXPECT_TRUE(lineOp(c, x1, y1, x2, y2)) << x1 << "," << y1 << " " << x2 << "," << y2;
}

// The corners the figure leaves for the explanations.
void expectCorners(const Form1 &f, float x1, float y1, float x2, float y2)
{
    EXPECT_FLOAT_EQ(f.figure.figureX1, x1);
    EXPECT_FLOAT_EQ(f.figure.figureY1, y1);
    EXPECT_FLOAT_EQ(f.figure.figureX2, x2);
    EXPECT_FLOAT_EQ(f.figure.figureY2, y2);
}

// Lines across the plane at every k from -8 to 8 both ways, `half` long on
// each side of the axis: 8 for the full grid, less for ticks.
bool hasTicks(const Canvas &c, double half)
{
    for (int k = -8; k <= 8; ++k)
        if (!lineOp(c, -half, k, half, k) || !lineOp(c, k, -half, k, half))
            return false;
    return true;
}

bool hasGrid(const Canvas &c) { return hasTicks(c, 8); }

// Every plotted segment: pairs of consecutive points of each polyline.
std::vector<std::pair<QPointF, QPointF>> plottedSegments(const Canvas &c)
{
    std::vector<std::pair<QPointF, QPointF>> out;
    for (const CanvasOp *op : opsOf(c, CanvasOp::Polyline))
        for (size_t i = 1; i < op->points.size(); ++i)
            out.emplace_back(op->points[i - 1], op->points[i]);
    return out;
}

// A started form, and its drawing area.
struct Figures : ::testing::Test {
    TestForm t;
    Form1 &f = t.start();
    const Canvas &c = f.Picture6;
};

} // namespace

using PresenterFamily = Figures;
using ShapeFigures = Figures;
using GraphQuestions = Figures;
using AppFigures = Figures;
using FigureBanks = Figures;

// ---------------------------------------------------------------------------
// Which family a question goes to

TEST_F(PresenterFamily, KeywordsPickTheFirstFamilyThatApplies)
{
    // A segment: "#" and "直線ABの長さを求める", drawn on the coordinate plane.
    f.Picture2.Cls();
    show(f, u"直線ABの長さを求めると{   }cmとなる。#3,4,3,1"_qs, u"3"_qs);
    EXPECT_EQ(f.figure.cornerBy, 1);
    EXPECT_TRUE(printOp(f.Picture6, u"1めもりを1cmとする"_qs));
    EXPECT_TRUE(f.Picture2.ops().empty()) << "the segment family does not show its text again";
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);

    // A circle: "円" and "円周を求め".
    show(f, u"左の円の円周を求めてみると{   }cmとなる。#0,0,10,1"_qs, u"20π"_qs);
    EXPECT_EQ(f.figure.circleKind, 2);
    EXPECT_EQ(f.figure.cornerBx, 10);
    EXPECT_TRUE(circleOp(f.Picture6, 0, 2, 5));

    // A circle whose circumference is given: field 5 is kept as text.
    show(f, u"円周が20πcmの円の半径を求めてください。#0,0,10,1,20π"_qs, u"10"_qs);
    EXPECT_EQ(f.figure.circleKind, 6);
    EXPECT_EQ(f.figure.givenCircumference, u"20π"_qs);

    // "正方形" wins over "台形" and the area keywords.
    f.graph.keyboardAnswerMode = 0;
    f.Command5.Visible = true;
    show(f, u"y=2xに図のようにx=3から正方形を書きました。台形AODCの面積をもとめて。#y=2x,3"_qs, u"45"_qs);
    EXPECT_EQ(f.figure.appSquare, 1);
    EXPECT_EQ(f.figure.squareStartX, 3);
    EXPECT_EQ(f.figure.appFigureLine, u"y=2x"_qs);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    EXPECT_FALSE(f.Command5.Visible);

    // Any later question that is not a square clears the square flag.
    show(f, u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1"_qs, u"36π"_qs);
    EXPECT_EQ(f.figure.appSquare, 0);
    EXPECT_EQ(f.figure.circleKind, 1);

    // An application on a line also holds "三角形" and "面積を求め", but the
    // application family comes first.
    f.figure.explainTriangleArea = 0;
    show(f, u"直線y=xに引かれたx=4上の直線ACがある。三角形OACの面積を求めなさい。#y=x,4"_qs, u"8"_qs);
    EXPECT_EQ(f.figure.appOneLine, 1);
    EXPECT_EQ(f.figure.appXValue, 4);
    EXPECT_EQ(f.figure.appLine1, u"y=x"_qs);
    EXPECT_EQ(f.figure.explainTriangleArea, 0);
}

TEST_F(PresenterFamily, QuestionTextIsShownAgainInLinesOfFifteen)
{
    const QString fifteen = u"あいうえおかきくけこさしすせそ"_qs;
    ASSERT_EQ(fifteen.size(), 15);

    show(f, fifteen);
    EXPECT_EQ(TestForm::printed(f.Picture2), QStringList{fifteen});

    show(f, fifteen + u"た"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture2), (QStringList{fifteen, u"た"_qs}));
    // The second line lies under the first.
    const auto &ops = f.Picture2.ops();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_DOUBLE_EQ(ops[0].x1, ops[1].x1);
    EXPECT_NE(ops[0].y1, ops[1].y1);

    // Parameters after "#" are never shown.
    show(f, u"ここの点のx座標を求めて。#1,2"_qs, u"(1,2)"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture2), QStringList{u"ここの点のx座標を求めて。"_qs});
}

// ---------------------------------------------------------------------------
// Shape and circle figures

TEST_F(ShapeFigures, SegmentNamesTheRightPointAAndAddsCornerC)
{
    // A vertical segment: A is the second point, and there is no corner C.
    show(f, u"直線ABの長さを求めると{   }cmとなる。#3,4,3,1"_qs, u"3"_qs);
    EXPECT_EQ(itemsFrom(c, u"A("_qs, 5), (QStringList{u"A("_qs, u" 3 "_qs, u","_qs, u" 1 "_qs, u")"_qs}));
    EXPECT_TRUE(printedAt(c, u"A("_qs, 3.2, 1.2));
    EXPECT_EQ(itemsFrom(c, u"B("_qs, 5), (QStringList{u"B("_qs, u" 3 "_qs, u","_qs, u" 4 "_qs, u")"_qs}));
    EXPECT_TRUE(printedAt(c, u"B("_qs, 0, 4.2));
    EXPECT_TRUE(lineOp(c, 3, 1, 3, 4));
    EXPECT_TRUE(circleOp(c, 3, 1, 0.1));
    EXPECT_TRUE(circleOp(c, 3, 4, 0.1));
    EXPECT_EQ(opsOf(c, CanvasOp::Circle).size(), 2u);
    EXPECT_FALSE(printOp(c, u"C"_qs));

    // A slanted segment: A has the larger x; C is the corner at A's x and B's y.
    show(f, u"直線ACの長さを求めると{   }cmとなる。#3,5,0,0"_qs, u"5"_qs);
    EXPECT_EQ(itemsFrom(c, u"A("_qs, 5), (QStringList{u"A("_qs, u" 3 "_qs, u","_qs, u" 5 "_qs, u")"_qs}));
    EXPECT_TRUE(printedAt(c, u"A("_qs, 3.2, 5.2));
    EXPECT_EQ(printOp(c, u"A("_qs)->color, kBlue);
    EXPECT_EQ(itemsFrom(c, u"B("_qs, 5), (QStringList{u"B("_qs, u" 0 "_qs, u","_qs, u" 0 "_qs, u")"_qs}));
    EXPECT_TRUE(printedAt(c, u"B("_qs, -3, 0.2));
    expectLines(c, {{3, 5, 0, 0}, {3, 5, 3, 0}, {0, 0, 3, 0}});
    EXPECT_TRUE(circleOp(c, 3, 0, 0.1));
    EXPECT_TRUE(printedAt(c, u"C"_qs, 3.4, 0.2));
    EXPECT_EQ(printOp(c, u"C"_qs)->color, kBlue);
    // The segments and markers stay black.
    for (const CanvasOp *op : opsOf(c, CanvasOp::Line))
        EXPECT_EQ(op->color, 0);

    // A to the left in the parameters still becomes A when its x is larger.
    show(f, u"直線BCの長さを求めると{   }cmとなる。#-4,6,4,-2"_qs, u"8"_qs);
    EXPECT_EQ(itemsFrom(c, u"A("_qs, 5), (QStringList{u"A("_qs, u" 4 "_qs, u","_qs, u"-2 "_qs, u")"_qs}));
    EXPECT_TRUE(circleOp(c, 4, 6, 0.1)); // C = (4, 6), above A
}

TEST_F(ShapeFigures, SectorArcRadiiAndLabels)
{
    const double deg = 3.14159265 / 180;

    show(f, u"左のおうぎ形の面積を求めてみると{   }c㎡となる。#0,0,4,0,180"_qs, u"8π"_qs);
    EXPECT_EQ(f.figure.circleKind, 3);
    const auto arcs = opsOf(c, CanvasOp::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_DOUBLE_EQ(arcs[0]->x1, 0);
    EXPECT_DOUBLE_EQ(arcs[0]->y1, 2);
    EXPECT_DOUBLE_EQ(arcs[0]->r, 6);
    EXPECT_DOUBLE_EQ(arcs[0]->start, 0);
    EXPECT_DOUBLE_EQ(arcs[0]->end, 180);
    EXPECT_TRUE(circleOp(c, 0, 2, 0.1));
    EXPECT_TRUE(lineOp(c, 0, 2, 6.1, 2));
    // At 180 the second radius runs to the arc's very end.
    EXPECT_TRUE(lineOp(c, 0, 2, -6.2, 6.2 * std::sin(180 * deg) + 2));
    expectPrintedAt(c, {{u" 4 ", 3, 3}, {u" 180 ", 0.2, 3}, {u"πは P を使用する", 3, 8}});
    EXPECT_EQ(printOp(c, u" 4 "_qs)->fontSize, 20);
    EXPECT_EQ(printOp(c, u" 180 "_qs)->fontSize, 12);
    EXPECT_EQ(itemsFrom(c, u" 180 "_qs, 2), (QStringList{u" 180 "_qs, u"°"_qs}));

    // Any other end angle: the second radius stops two degrees short.
    show(f, u"左のおうぎ形の弧を求めると{   }cmとなる。#0,0,8,0,45"_qs, u"2π"_qs);
    EXPECT_EQ(f.figure.circleKind, 4);
    EXPECT_TRUE(lineOp(c, 0, 2, 6.2 * std::cos(43 * deg), 6.2 * std::sin(43 * deg) + 2));
    EXPECT_FALSE(lineOp(c, 0, 2, 6.2 * std::cos(45 * deg), 6.2 * std::sin(45 * deg) + 2));
    EXPECT_TRUE(printedAt(c, u" 8 "_qs, 3, 3));
    EXPECT_TRUE(printOp(c, u" 45 "_qs));
}

// A draw below one half shows the radius r, from the centre to the right;
// from one half on, the diameter across, labelled 2r. Whatever the question
// asks for, area or circumference.
TEST_F(ShapeFigures, CircleShowsRadiusOrDiameterByTheDraw)
{
    const struct {
        const char16_t *question, *answer;
        double draw;
        bool diameter;
        const char16_t *label;
        double x, y;
    } rows[] = {
        {u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1", u"36π", 0.4999, false, u" 6 ", 1.5, 3.5},
        {u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1", u"36π", 0.5, true, u" 12 ", -0.8, 3.5},
        {u"左の円の円周を求めてみると{   }cmとなる。#0,0,10,1", u"20π", 0.2, false, u" 10 ", 1.5, 3.5},
        {u"左の円の円周を求めてみると{   }cmとなる。#0,0,10,1", u"20π", 0.7, true, u" 20 ", -0.8, 3.5},
        {u"左の円の円周を求めてみると{   }cmとなる。#0,0,3,1", u"6π", 0.99, true, u" 6 ", -0.8, 3.5},
    };
    for (const auto &r : rows) {
        const QString q = QString::fromUtf16(r.question);
        SCOPED_TRACE(q.toStdString() + " draw " + std::to_string(r.draw));
        t.random.queue(r.draw);
        show(f, q, QString::fromUtf16(r.answer));
        EXPECT_EQ(t.random.queued(), 0u);
        EXPECT_EQ(bool(lineOp(c, -5, 2, 5, 2)), r.diameter);
        EXPECT_EQ(bool(lineOp(c, 0, 2, 5, 2)), !r.diameter);
        // The one measure printed on the figure.
        const auto prints = opsOf(c, CanvasOp::Print);
        const auto measures = std::count_if(prints.begin(), prints.end(),
                                            [](const CanvasOp *op) { return op->fontSize == 20; });
        EXPECT_EQ(measures, 1);
        EXPECT_TRUE(printedAt(c, QString::fromUtf16(r.label), r.x, r.y));
        const CanvasOp *label = printOp(c, QString::fromUtf16(r.label));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->fontSize, 20);
        EXPECT_EQ(f.Picture6.FontSize, 12);
        EXPECT_EQ(TestForm::printed(f.Picture2).join(QString()), q.left(q.indexOf(u'#')));
    }
}

TEST_F(ShapeFigures, CircleWithAGivenMeasure)
{
    show(f, u"円の面積が49πc㎡の円の半径を求めてください。#0,0,7,1,49π"_qs, u"7"_qs);
    EXPECT_EQ(f.figure.circleKind, 5);
    EXPECT_EQ(f.figure.givenMeasure, u"49π"_qs);
    EXPECT_TRUE(circleOp(c, 0, 2, 5));
    EXPECT_TRUE(lineOp(c, 0, 2, 5, 2));
    expectPrintedAt(c, {{u"xcm", 1.5, 3.5}, {u"面積=", -3.8, 0}});
    EXPECT_EQ(itemsFrom(c, u"面積="_qs, 2), (QStringList{u"面積="_qs, u"49π"_qs}));
    EXPECT_EQ(f.Picture6.FontSize, 12);

    show(f, u"円周が40πcmの円の直径を求めてください。#0,0,20,1,40π"_qs, u"40"_qs);
    EXPECT_EQ(f.figure.circleKind, 6);
    EXPECT_EQ(f.figure.givenCircumference, u"40π"_qs);
    EXPECT_TRUE(lineOp(c, -5, 2, 5, 2));
    expectPrintedAt(c, {{u"2xcm", -0.8, 3.5}, {u"円周 ", -4.8, 0}});
    EXPECT_TRUE(printOp(c, u"40π"_qs));
}

TEST_F(ShapeFigures, QuadrilateralLabelsAndSides)
{
    show(f, u"四角形ABCDの面積を求めると{   }c㎡となる。#-2,6,-4,2,3,2,5,6"_qs, u"28"_qs);
    EXPECT_EQ(f.figure.explainQuadArea, 1);
    EXPECT_EQ(f.figure.cornerDy, 6);
    expectPrintedAt(c, {{u"A(", -5, 6}, {u"B(", -7.1, 2.8}, {u"C(", 3.6, 2.2}, {u"D(", 5.2, 6.8}});
    EXPECT_EQ(itemsFrom(c, u"B("_qs, 5), (QStringList{u"B("_qs, u"-4 "_qs, u","_qs, u" 2 "_qs, u")"_qs}));
    for (const char16_t *name : {u"A(", u"B(", u"C(", u"D("})
        EXPECT_EQ(printOp(c, QString::fromUtf16(name))->color, kBlue);
    for (auto [x1, y1, x2, y2] : {std::array{-4, 2, 3, 2}, std::array{-2, 6, -4, 2}, std::array{3, 2, 5, 6},
                                  std::array{-2, 6, 5, 6}}) {
        const CanvasOp *side = lineOp(c, x1, y1, x2, y2);
        ASSERT_TRUE(side) << x1 << "," << y1 << " " << x2 << "," << y2;
        EXPECT_EQ(side->color, 0);
        EXPECT_EQ(side->width, 1);
    }
    EXPECT_EQ(TestForm::printed(f.Picture2).join(QString()), u"四角形ABCDの面積を求めると{   }c㎡となる。"_qs);
}

TEST_F(ShapeFigures, TriangleGuidesAndLabelPlaces)
{
    show(f, u"三角形ABCの面積を求めると{   }c㎡となる。#5,6,1,2,4,2"_qs, u"6"_qs);
    EXPECT_EQ(f.figure.explainTriangleArea, 1);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    EXPECT_TRUE(f.Text2.Visible);
    const CanvasOp *across = lineOp(c, 0, 6, 5, 6);
    const CanvasOp *down = lineOp(c, 5, 0, 5, 6);
    ASSERT_TRUE(across && down);
    EXPECT_EQ(across->color, kBlue);
    EXPECT_EQ(down->color, kGreen);
    expectLines(c, {{5, 6, 4, 2}, {4, 2, 1, 2}, {1, 2, 5, 6}});
    expectPrintedAt(c, {{u"C(", 4.6, 2.2}, {u"B(", 1.4, 1.9}, {u"A(", 4.2, 6.2}});
    EXPECT_EQ(printOp(c, u"A("_qs)->color, 0);
    EXPECT_TRUE(printOp(c, u"1めもりを1cmとする"_qs));
    EXPECT_TRUE(lineOp(c, -0.2, 8, 0.2, 8)); // the coordinate plane's ticks

    // A on the x axis: its label goes right of and below it.
    show(f, u"三角形ABCの面積を求めると{   }c㎡となる。#1,0,5,0,3,6"_qs, u"12"_qs);
    EXPECT_TRUE(printedAt(c, u"A("_qs, 1.4, -0.1));
    EXPECT_EQ(itemsFrom(c, u"A("_qs, 5), (QStringList{u"A("_qs, u" 1 "_qs, u","_qs, u" 0 "_qs, u")"_qs}));
}

// ---------------------------------------------------------------------------
// Graph and point questions

TEST_F(GraphQuestions, ReadingAPointMarksThePointBeforeAnyReflection)
{
    f.Command5.Visible = true;
    show(f, u"ここの点のx座標を求めて。"_qs, u"(-4,-2)"_qs);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    EXPECT_TRUE(f.Text2.Visible);
    EXPECT_TRUE(f.Picture3.Visible);
    EXPECT_FALSE(f.Command5.Visible);
    EXPECT_FALSE(f.Command1.Visible);
    EXPECT_EQ(f.figure.graphKind, 0);
    EXPECT_EQ(f.figure.ticksOnly, 0);
    EXPECT_TRUE(hasGrid(c));
    ASSERT_EQ(opsOf(c, CanvasOp::Circle).size(), 1u);
    EXPECT_TRUE(circleOp(c, -4, -2, 0.25));
    expectPrintedAt(c, {{u" 5 ", 5, 0}, {u"-5 ", -5, 0}});

    // The point shown is the answer reflected back.
    const struct {
        const char16_t *question, *answer;
        double x, y;
    } reflected[] = {
        {u"この点のy軸対称な点のy座標を求めて。", u"(1,4)", -1, 4},
        {u"この点の原点対称な点のx座標を求めて。", u"(1,-4)", -1, 4},
        {u"この点のx軸対称な点のy座標を求めて。", u"(2,3)", 2, -3},
    };
    for (const auto &r : reflected) {
        show(f, QString::fromUtf16(r.question), QString::fromUtf16(r.answer));
        EXPECT_TRUE(circleOp(c, r.x, r.y, 0.25)) << QString::fromUtf16(r.question).toStdString();
    }

    // A midpoint question is flagged; the grid stays.
    show(f, u"2点の中点の座標を求めて。"_qs, u"(3,5)"_qs);
    EXPECT_EQ(f.figure.midpointQuestion, 1);
    show(f, u"ここの点のx座標を求めて。"_qs, u"(3,5)"_qs);
    EXPECT_EQ(f.figure.midpointQuestion, 0);
}

TEST_F(GraphQuestions, DrawingQuestionsUseTheGraphLayoutAndShowNoAnswer)
{
    f.graph.keyboardAnswerMode = 0;
    f.figure.ticksOnly = 1;
    show(f, u"(3,-2)の点を書き入れてください。"_qs, u"(3,-2)"_qs);
    EXPECT_TRUE(f.Command5.Visible);
    EXPECT_FALSE(f.Text2.Visible);
    EXPECT_FALSE(f.Picture3.Visible);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 0);
    EXPECT_EQ(f.figure.ticksOnly, 0);
    EXPECT_TRUE(hasGrid(c));
    EXPECT_TRUE(opsOf(c, CanvasOp::Circle).empty());

    show(f, u"y=xのグラフを書いてください。"_qs, u"y=x"_qs);
    EXPECT_EQ(f.figure.graphKind, 1);
    EXPECT_TRUE(f.Command5.Visible);
    EXPECT_TRUE(hasGrid(c));
    EXPECT_TRUE(opsOf(c, CanvasOp::Polyline).empty());
    EXPECT_TRUE(opsOf(c, CanvasOp::Point).empty());

    show(f, u"y=6/xのグラフを書いてください。"_qs, u"y=6/x"_qs);
    EXPECT_EQ(f.figure.graphKind, 2);
    EXPECT_TRUE(opsOf(c, CanvasOp::Polyline).empty());
}

TEST_F(GraphQuestions, ReadingAGraphPlotsTheAnswer)
{
    show(f, u"このグラフの式を求めてください。"_qs, u"y=-1/2x"_qs);
    EXPECT_EQ(f.figure.graphKind, 1);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    const auto lines = opsOf(c, CanvasOp::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    const auto &pts = lines[0]->points;
    EXPECT_NEAR(pts.front().x(), -8, 1e-9);
    EXPECT_GT(pts.back().x(), 7.98);
    EXPECT_LE(pts.back().x(), 8);
    for (const QPointF &p : pts)
        ASSERT_NEAR(p.y(), -0.5 * p.x(), 1e-9);

    // A fractional intercept is rounded to a whole number.
    show(f, u"このグラフの式を求めてください。"_qs, u"y=-x+7/3"_qs);
    for (const QPointF &p : opsOf(c, CanvasOp::Polyline)[0]->points)
        ASSERT_NEAR(p.y(), -p.x() + 2, 1e-9);

    // An inverse proportion: two branches, nothing joining them.
    show(f, u"このグラフの式を求めて｡"_qs, u"y=6/x"_qs);
    EXPECT_EQ(f.figure.graphKind, 2);
    bool left = false, right = false;
    for (const auto &[a, b] : plottedSegments(c)) {
        ASSERT_FALSE((a.x() < 0 && b.x() > 0) || (a.x() > 0 && b.x() < 0))
            << "joined " << a.x() << " to " << b.x();
        left = left || a.x() < 0;
        right = right || a.x() > 0;
        if (std::abs(b.x()) > 0.001) {
            ASSERT_NEAR(b.y(), std::clamp(6 / b.x(), -100000.0, 100000.0), 1e-6);
        }
    }
    EXPECT_TRUE(left && right);
}

TEST_F(GraphQuestions, TicksOrGridOnReadingQuestions)
{
    const QString read = u"このグラフの式を求めて。"_qs;

    // The first two questions of a set never draw: the grid stays.
    f.figure.ticksOnly = 0;
    show(f, read, u"y=2x"_qs, 2);
    EXPECT_EQ(t.random.queued(), 0u);
    EXPECT_EQ(f.figure.ticksOnly, 0);
    EXPECT_TRUE(hasGrid(c));

    // From the third on: r = int(6 * rnd) + 1; 1 to 4 take the grid away
    // unless the previous answer was an inverse proportion, 5 and 6 bring it back.
    struct Case {
        double draw;
        int16_t previousKind, ticksBefore, ticksAfter;
    } cases[] = {{0.0, 1, 0, 1},  {0.66, 1, 0, 1}, {0.67, 1, 1, 0}, {0.99, 1, 1, 0},
                 {0.0, 2, 0, 0},  {0.0, 2, 1, 1},  {0.9, 2, 1, 0}};
    for (const Case &k : cases) {
        f.figure.graphKind = k.previousKind;
        f.figure.ticksOnly = k.ticksBefore;
        t.random.queue(k.draw);
        show(f, read, u"y=2x"_qs, 3);
        EXPECT_EQ(t.random.queued(), 0u);
        EXPECT_EQ(f.figure.ticksOnly, k.ticksAfter) << "draw " << k.draw << " after kind " << k.previousKind;
        EXPECT_EQ(hasTicks(c, 0.2), k.ticksAfter == 1);
        EXPECT_EQ(hasAnyGridLine(c), k.ticksAfter == 0);
        EXPECT_EQ(opsOf(c, CanvasOp::Polyline).size(), 1u);
    }

    // A point reading question at position 3 draws nothing.
    show(f, u"ここの点のy座標を求めて。"_qs, u"(1,1)"_qs, 3);
    EXPECT_EQ(t.random.queued(), 0u);

    // In a set opened from an application item, reading questions show ticks only.
    f.run.applicationSetFlag = 1;
    f.figure.ticksOnly = 0;
    show(f, read, u"y=-3/4x"_qs, 5);
    EXPECT_EQ(f.figure.ticksOnly, 1);
    EXPECT_TRUE(hasTicks(c, 0.2));
    EXPECT_FALSE(hasAnyGridLine(c));
}

TEST_F(GraphQuestions, PointOnALineParsesAndPlotsTheLine)
{
    f.Text2.Visible = false;
    f.Command5.Visible = true;
    show(f, u" y=2/3x の上の点(-3,□)のy座標を求めて。"_qs, u"-2"_qs);
    EXPECT_EQ(f.eq.lineText, u"y=2/3x"_qs);
    EXPECT_EQ(f.eq.graphEquation, u"y=2/3x"_qs);
    EXPECT_EQ(f.eq.slopeNum, 2);
    EXPECT_EQ(f.eq.slopeDen, 3);
    EXPECT_EQ(f.figure.graphKind, 1);
    EXPECT_TRUE(f.Text2.Visible);
    EXPECT_FALSE(f.Command5.Visible);
    EXPECT_TRUE(hasGrid(c));
    const auto lines = opsOf(c, CanvasOp::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_GT(lines[0]->points.back().x(), 13.9);
    for (const QPointF &p : lines[0]->points)
        ASSERT_NEAR(p.y(), 2.0 / 3.0 * p.x(), 1e-9);

    // In an application set the plane has ticks 0.3 long instead of a grid.
    f.run.applicationSetFlag = 1;
    show(f, u" y=-3/4x の上の点(-5,□)のy座標を求めて。"_qs, u"15/4"_qs);
    EXPECT_EQ(f.eq.slopeNum, -3);
    EXPECT_EQ(f.eq.slopeDen, 4);
    EXPECT_TRUE(hasTicks(c, 0.3));
    EXPECT_FALSE(hasAnyGridLine(c));
    expectPrintedAt(c, {{u" 5 ", 0, 5}, {u"-5 ", 0, -5}});
}

// ---------------------------------------------------------------------------
// Application figures

TEST_F(AppFigures, SquareUnderALine)
{
    show(f, u"y=2xに図のようにx=3から正方形を書きました。台形AODCの面積をもとめて。#y=2x,3"_qs, u"45"_qs);
    expectCorners(f, 3, 6, 9, 6);
    EXPECT_EQ(f.figure.ticksOnly, 1);
    EXPECT_EQ(f.figure.graphKind, 1);
    EXPECT_EQ(c.scale(), (CanvasScale{-3, 15, 18, -18}));
    const auto boxes = opsOf(c, CanvasOp::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_FALSE(boxes[0]->filled);
    EXPECT_DOUBLE_EQ(boxes[0]->x1, 3);
    EXPECT_DOUBLE_EQ(boxes[0]->y1, 0);
    EXPECT_DOUBLE_EQ(boxes[0]->x2, 9);
    EXPECT_DOUBLE_EQ(boxes[0]->y2, 6);
    const CanvasOp *corner = circleOp(c, 9, 6, 0.15);
    ASSERT_TRUE(corner);
    ASSERT_TRUE(corner->fill.has_value());
    EXPECT_EQ(*corner->fill, 255);
    EXPECT_EQ(f.Picture6.FillStyle, 1); // only that circle is filled
    expectPrintedAt(c, {{u" C", 9, 6}, {u" D", 9, -0.3}, {u" B (", 2, -0.3}});
    EXPECT_EQ(printOp(c, u" C"_qs)->fontSize, 18);
    EXPECT_EQ(itemsFrom(c, u" B ("_qs, 3), (QStringList{u" B ("_qs, u" 3 "_qs, u",0)"_qs}));
    EXPECT_EQ(f.Picture6.FontSize, 12);
    // The line through the origin, its label where it leaves the corner region.
    const auto lines = opsOf(c, CanvasOp::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0]->points.front().x(), -2, 1e-9);
    for (const QPointF &p : lines[0]->points)
        ASSERT_NEAR(p.y(), 2 * p.x(), 1e-9);
    EXPECT_TRUE(printedAt(c, u"y=2x"_qs, 4, 14));

    // A fractional slope.
    show(f, u"y=3/2xに図のようにx=4から正方形を書きました。点Cの座標をもとめて。#y=3/2x,4"_qs, u"(10,6)"_qs);
    ASSERT_EQ(opsOf(c, CanvasOp::Box).size(), 1u);
    const CanvasOp *box = opsOf(c, CanvasOp::Box)[0];
    EXPECT_DOUBLE_EQ(box->x1, 4);
    EXPECT_DOUBLE_EQ(box->x2, 10);
    EXPECT_DOUBLE_EQ(box->y2, 6);
    EXPECT_FLOAT_EQ(f.figure.figureX2, 10);
    EXPECT_TRUE(printedAt(c, u" C"_qs, 10, 6));

    // Reaching x = 12 or more: the letter still stands at C itself.
    show(f, u"y=2xに図のようにx=4から正方形を書きました。点Cの座標をもとめて。#y=2x,4"_qs, u"(12,8)"_qs);
    EXPECT_FLOAT_EQ(f.figure.figureX2, 12);
    EXPECT_TRUE(circleOp(c, 12, 8, 0.15));
    EXPECT_TRUE(printedAt(c, u" C"_qs, 12, 8));
}

TEST_F(AppFigures, OneLineWithSegmentAC)
{
    show(f, u"直線y=2xに引かれたx=4上の直線ACがある。点Dは(6,0)である。三角形OADの面積を求めなさい。#y=2x,4,6"_qs,
         u"24"_qs);
    EXPECT_EQ(f.figure.appOneLine, 1);
    EXPECT_EQ(f.figure.cornerDx, 6);
    expectCorners(f, 4, 8, 6, 0);
    EXPECT_EQ(f.figure.figureSlopeNum, 2);
    EXPECT_EQ(f.eq.slopeDen, 1);
    EXPECT_FALSE(f.Command5.Visible);
    const CanvasOp *ac = lineOp(c, 4, 8, 4, 0);
    const CanvasOp *ad = lineOp(c, 4, 8, 6, 0);
    ASSERT_TRUE(ac && ad);
    EXPECT_EQ(ac->width, 1);
    EXPECT_EQ(ad->width, 2);
    expectPrintedAt(c, {{u" 4 ", 4, 0}, {u"A", 2.8, 9.2}, {u"C", 4.2, 1.4}, {u"O", -0.9, 1.3}, {u"D", 6.2, 1.4}});
    EXPECT_EQ(printOp(c, u"D"_qs)->fontSize, 18);
    EXPECT_EQ(c.scale(), (CanvasScale{-3, 15, 18, -18}));
    EXPECT_TRUE(lineOp(c, 14, -0.1, 14, 0.1));
    // A fourth field is kept when there is one.
    EXPECT_EQ(f.figure.appFourthValue1, 0);
    show(f, u"直線y=xに引かれたx=6上の直線ACがある。三角形OADの面積が24c㎡の時、Dの座標を求めなさい。#y=x,6,8,24"_qs,
         u"(8,0)"_qs);
    EXPECT_EQ(f.figure.appFourthValue1, 24);
    EXPECT_FLOAT_EQ(f.figure.figureX2, 8);

    // A minus sign in the equation centres the plane on (3, 3).
    show(f, u"直線y=-xに引かれたx=4上の直線ACがある。三角形OACの面積を求めなさい。#y=-x,4"_qs, u"8"_qs);
    EXPECT_EQ(c.scale(), (CanvasScale{-6, 12, 18, -18}));
    EXPECT_FLOAT_EQ(f.figure.figureY1, -4);
    const CanvasOp *thick = lineOp(c, 4, -4, 4, 0);
    ASSERT_TRUE(thick);
    EXPECT_EQ(thick->width, 2);
    expectPrintedAt(c, {{u"A", 4, -4}, {u"C", 4, 0}, {u"O", -0.9, 1.3}});
    const auto lines = opsOf(c, CanvasOp::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0]->points.front().x(), -2, 1e-9);
    EXPECT_GT(lines[0]->points.back().x(), 12.98); // the walk runs to c + 10
    for (const QPointF &p : lines[0]->points)
        ASSERT_NEAR(p.y(), -p.x(), 1e-9);
    // The one-line figure prints no equation label.
    EXPECT_FALSE(printOp(c, u"y=-x"_qs));

    // The length of AC: no "O".
    show(f, u"直線y=1/2xに引かれたx=6上の直線ACがある。直線ACの長さを求めなさい。#y=1/2x,6"_qs, u"3"_qs);
    EXPECT_FLOAT_EQ(f.figure.figureY1, 3);
    EXPECT_TRUE(printedAt(c, u"A"_qs, 6, 3));
    EXPECT_FALSE(printOp(c, u"O"_qs));
}

TEST_F(AppFigures, TwoLinesAndTheSegmentBetween)
{
    f.graph.keyboardAnswerMode = 0;
    show(f, u"直線y=2xとy=-xに引かれたx=4上の直線ABがある。直線ABの長さを求めよ#y=2x,y=-x,4"_qs, u"12"_qs);
    EXPECT_EQ(f.figure.appTwoLines, 1);
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    EXPECT_EQ(f.figure.appLine2, u"y=-x"_qs);
    EXPECT_EQ(c.scale(), (CanvasScale{-6, 12, 18, -18}));
    expectCorners(f, 4, 8, 4, -4);
    EXPECT_EQ(f.figure.figureSlopeNum, -1); // of the line read last
    const CanvasOp *ab = lineOp(c, 4, 8, 4, -4);
    ASSERT_TRUE(ab);
    EXPECT_EQ(ab->width, 2);
    expectPrintedAt(c, {{u"A", 4, 8}, {u"B", 4, -4}, {u"O", -1, 1.5}});
    EXPECT_EQ(f.Picture6.FontSize, 12);

    show(f, u"直線y=xとy=1/2xに引かれたx=6上の直線ABがある。直線ABの長さを求めよ#y=x,y=1/2x,6"_qs, u"3"_qs);
    EXPECT_EQ(c.scale(), (CanvasScale{-3, 15, 18, -18}));
    EXPECT_FLOAT_EQ(f.figure.figureY1, 6);
    EXPECT_FLOAT_EQ(f.figure.figureY2, 3);
    EXPECT_EQ(f.eq.slopeDen, 2);
    // Each label stands where its own line leaves the 14 x 14 corner.
    expectPrintedAt(c, {{u"y=x", 12, 14}, {u"y=1/2x", 12, 8}});

    // A horizontal segment BC at the height given.
    show(f, u"直線y=2xとy=xに引かれたy=6上の直線BCがある。直線BCの長さを求めよ#y=2x,y=x,6"_qs, u"3"_qs);
    expectCorners(f, 3, 6, 6, 6);
    EXPECT_TRUE(lineOp(c, 3, 6, 6, 6));
    expectPrintedAt(c, {{u"B", 2.3, 7.2}, {u"C", 6, 6}});

    // An inverse proportion as the second line: B lies on the hyperbola, and
    // its two branches are not joined along the y-axis.
    show(f, u"直線y=xとy=6/xに引かれたx=2上の直線ABがある。直線ABの長さを求めよ#y=x,y=6/x,2"_qs, u"1"_qs);
    EXPECT_EQ(f.figure.graphKind, 2);
    EXPECT_FLOAT_EQ(f.figure.figureY1, 2);
    EXPECT_FLOAT_EQ(f.figure.figureY2, 3);
    bool left = false, right = false;
    for (const auto &[a, b] : plottedSegments(c)) {
        if (std::abs(a.y() - a.x()) < 1e-6 && std::abs(b.y() - b.x()) < 1e-6)
            continue; // a stroke of y = x
        ASSERT_FALSE((a.x() < 0 && b.x() > 0) || (a.x() > 0 && b.x() < 0))
            << "joined " << a.x() << " to " << b.x();
        left = left || a.x() < 0;
        right = right || a.x() > 0;
    }
    EXPECT_TRUE(left && right);
}

// Each equation label stands where the walk along its line first comes
// within 0.02 of x = 14 (at x 12, a row above the line's height there) or of
// y = 14 (two left of the line's x there). Steep lines step past y = 14 in
// strides of more than 0.02 and are labelled at x = 14 instead; a walk that
// meets neither keeps the position before it. The rows run in order on one
// form: that position carries over from one figure to the next.
TEST_F(AppFigures, EquationLabelsStandWhereTheirLinesLeaveTheCorner)
{
    const struct {
        const char16_t *params; // "#line1,line2,value", or "#line,x0" for a square
        double x1, y1, x2, y2;  // the labels of line 1 and line 2 (one for a square)
    } rows[] = {
        // Neither line reaches 14 on a plane centred on (3, 3): (0, 0) on a
        // fresh form, then wherever the last label stood.
        {u"y=1/2x,y=-1/3x,6", 0, 0, 0, 0},
        {u"y=2x,y=x,6", 4, 14, 12, 14},
        {u"y=1/2x,y=-1/3x,6", 12, 14, 12, 14},
        // The bank's lines.
        {u"y=3x,y=x,3", 2, 14, 12, 14},
        {u"y=x,y=1/2x,6", 12, 14, 12, 8},
        {u"y=x,y=1/3x,3", 12, 14, 12, 6},
        {u"y=2x,y=2/3x,6", 4, 14, 12, 10},
        {u"y=4/3x,y=2/3x,8", 8, 14, 12, 10},
        {u"y=6/5x,y=-1/2x,10", 9, 14, 9, 14},
        {u"y=3/2x,y=-1/6x,6", 7, 14, 7, 14},
        // Lines whose labels a looser or tighter tolerance, or another
        // stride, would move.
        {u"y=25/9x,y=x,3", 3, 14, 12, 14},
        {u"y=6x,y=1/2x,2", 12, 84, 12, 8},
        {u"y=15/4x,y=x,2", 1, 14, 12, 14},
        {u"y=-13/10x,y=x,4", 12, -18, 12, 14},
        // Squares, whose walk strides 0.02 up to x = 16.
        {u"y=2x,3", 4, 14, 0, 0},
        {u"y=3/2x,4", 7, 14, 0, 0},
        {u"y=4/5x,5", 12, 12, 0, 0},
        {u"y=2/3x,6", 12, 10, 0, 0},
        {u"y=7/4x,4", 5, 14, 0, 0},
        {u"y=11/4x,1", 12, 40, 0, 0},
    };
    for (const auto &r : rows) {
        const QStringList p = QString::fromUtf16(r.params).split(u',');
        SCOPED_TRACE(QString::fromUtf16(r.params).toStdString());
        if (p.size() == 2) {
            show(f, u"%1に図のようにx=%2から正方形を書きました。点Cの座標をもとめて。#%1,%2"_qs.arg(p[0], p[1]));
            ASSERT_EQ(f.figure.appSquare, 1);
            EXPECT_TRUE(printedAt(c, p[0], r.x1, r.y1));
            continue;
        }
        show(f, u"直線%1と%2に引かれたx=%3上の直線ABがある。直線ABの長さを求めよ#%1,%2,%3"_qs.arg(p[0], p[1], p[2]));
        ASSERT_EQ(f.figure.appTwoLines, 1);
        EXPECT_TRUE(printedAt(c, p[0], r.x1, r.y1));
        EXPECT_TRUE(printedAt(c, p[1], r.x2, r.y2));
    }
}

// ---------------------------------------------------------------------------
// Every question of every bank

TEST_F(FigureBanks, EveryQuestionDrawsAFiniteFigure)
{
    // Figures whose measures disagree with the answer stored beside them.
    QStringList disagreeing;
    for (const SetInfo &set : setTable()) {
        SCOPED_TRACE(set.item.toStdString());
        f.run.applicationSetFlag = set.activation != Activation::Standard && set.activation != Activation::PointOnLine;
        ASSERT_TRUE(f.runBankRoutine(set.bankRoutine));
        const int count = std::min<int>(f.bank.mondaiCount, 200);
        for (int i = 1; i <= count; ++i) {
            const QString q = f.bank.mondai[i];
            const QString a = f.bank.kotae[i];
            SCOPED_TRACE(q.toStdString());
            f.figure.appTwoLines = 0;
            show(f, q, a, i);
            ASSERT_FALSE(c.ops().empty());
            for (const CanvasOp &op : c.ops()) {
                ASSERT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2)
                            && std::isfinite(op.y2) && std::isfinite(op.r));
                for (const QPointF &p : op.points)
                    ASSERT_TRUE(std::isfinite(p.x()) && std::isfinite(p.y()));
            }
            // The answer of a drawing question is never on the plane.
            if (q.contains(u"グラフを書いて"_qs) || q.contains(u"点を書き"_qs)) {
                EXPECT_TRUE(opsOf(c, CanvasOp::Polyline).empty());
                EXPECT_TRUE(opsOf(c, CanvasOp::Circle).empty());
            }
            // A square's corner C is the answer of its C question.
            if (q.contains(u"正方形"_qs) && q.contains(u"点Cの座標"_qs)
                && u"(%1,%2)"_qs.arg(double(f.figure.figureX2)).arg(double(f.figure.figureY2)) != a)
                disagreeing << set.item + u' ' + QString::number(i);
            // The segment between two lines is as long as the answer says.
            if (f.figure.appTwoLines == 1) {
                const double length = std::hypot(f.figure.figureX2 - f.figure.figureX1,
                                                  f.figure.figureY2 - f.figure.figureY1);
                if (std::abs(length - conv::numericPrefix(a)) > 1e-4)
                    disagreeing << set.item + u' ' + QString::number(i);
            }
        }
    }
    EXPECT_EQ(disagreeing, QStringList());
}

// ---------------------------------------------------------------------------
// One figure of each kind, through the driver

TEST(FigureDumps, OneOfEachKindThroughTheDriver)
{
    for (const FigureKind &k : kFigureKinds) {
        SCOPED_TRACE(figureKindName(k));
        DriveRun d;
        ASSERT_EQ(d.run(figureKindScript(k, u"dump @/d.json\n"_qs), {u"--all-sets"_qs}), 0)
            << d.stdErr.toStdString();
        const QJsonObject dump = d.json(u"d.json"_qs);
        const QJsonArray ops = dump[u"canvases"][u"Picture6"][u"ops"].toArray();
        ASSERT_FALSE(ops.isEmpty());
        const auto drawn = [&ops](const QJsonValue &want) {
            return std::any_of(ops.begin(), ops.end(),
                               [&want](const QJsonValue &op) { return jsonHolds(op, want); });
        };
        for (const char *list : {k.drawn, k.notDrawn}) {
            ASSERT_FALSE(QJsonDocument::fromJson(list).isNull()) << list;
            for (const QJsonValue &want : parsedJson(list).toArray()) {
                EXPECT_EQ(drawn(want), list == k.drawn)
                    << QJsonDocument(want.toObject()).toJson(QJsonDocument::Compact).toStdString();
            }
        }
        ASSERT_FALSE(QJsonDocument::fromJson(k.dump).isNull()) << k.dump;
        EXPECT_TRUE(jsonHolds(dump, parsedJson(k.dump))) << k.dump;
        const auto isPolyline = [](const QJsonValue &op) { return op[u"op"] == u"polyline"_qs; };
        if (k.polylines >= 0) {
            EXPECT_EQ(std::count_if(ops.begin(), ops.end(), isPolyline), k.polylines);
        }
    }
}
