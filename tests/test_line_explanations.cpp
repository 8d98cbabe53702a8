// The explanations for points and lines, as a learner meets them after a
// miss: the sentences on the explanation panel and what is added to the
// figure. Each question is reached as in class, in bank order with every
// question before it answered right; where the banks hold no question of a
// kind, one is written in the banks' own words.
#include "Learner.h"
#include "TestForm.h"

#include "app/SetTable.h"
#include "controls/Convert.h"

#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>

namespace {

// The panel's text one line at a time: the items printed at one height
// joined, from the top down.
QStringList panelLines(const Canvas &c)
{
    QStringList lines;
    std::optional<double> y;
    for (const CanvasOp *op : opsOf(c, CanvasOp::Print)) {
        if (!y || std::abs(op->y1 - *y) > 1e-9)
            lines << QString();
        y = op->y1;
        lines.last() += op->text;
    }
    return lines;
}

QStringList texts(std::initializer_list<const char16_t *> items)
{
    QStringList out;
    for (const char16_t *item : items)
        out << QString::fromUtf16(item);
    return out;
}

// What a miss leaves: the panel's lines, and the labels and other ops the
// miss added to the figure.
struct AfterMiss {
    bool panelShown = false;
    QStringList panel;
    QStringList added;                      // labels added to Picture6, in order
    std::vector<CanvasOp> addedOps;         // everything added to Picture6
};

// The print items that read as one label, joined: each item that starts
// where the one before it ended, on its line ("A(", " 3 ", ",", " 6 ", ")").
QStringList labelsOf(const Canvas &c, const std::vector<CanvasOp> &ops)
{
    const FixedMetrics metrics;
    QStringList labels;
    const CanvasOp *last = nullptr;
    for (const CanvasOp &op : ops) {
        if (op.kind != CanvasOp::Print)
            continue;
        bool joins = false;
        if (last) {
            const double end = last->x1 + metrics.widthTwips(last->text, last->fontName, last->fontSize, last->bold)
                                              * last->scale.width / c.Width;
            joins = std::abs(op.y1 - last->y1) < 1e-9 && std::abs(op.x1 - end) < 1e-6;
        }
        if (joins)
            labels.last() += op.text;
        else
            labels << op.text;
        last = &op;
    }
    return labels;
}

AfterMiss typedMiss(TestForm &t)
{
    Form1 &f = *t.form;
    const std::size_t before = f.Picture6.ops().size();
    t.type(u"99\r"_qs);
    EXPECT_EQ(f.scoreState.answerLocked, 1) << f.currentQuestion().toStdString();
    AfterMiss m;
    m.panelShown = f.Picture7.Visible;
    m.panel = panelLines(f.Picture7);
    for (std::size_t i = before; i < f.Picture6.ops().size(); ++i)
        m.addedOps.push_back(f.Picture6.ops()[i]);
    m.added = labelsOf(f.Picture6, m.addedOps);
    return m;
}

// A miss on question n of a set in bank order.
AfterMiss missInBankOrder(const QString &set, int n)
{
    TestForm t;
    t.allSets = true;
    t.putInBankOrder(findSet(set)->resultsFileName);
    Form1 &f = t.start();
    f.menuClick(set);
    EXPECT_TRUE(TestForm::inBankOrder(f));
    EXPECT_TRUE(learner::answerRightUntil(f, n)) << "question " << f.bank.mondaiNo;
    EXPECT_EQ(f.scoreState.correctCount, n - 1);
    return typedMiss(t);
}

// A miss on a question the banks do not hold, asked first in a set of the
// application sets' kind.
AfterMiss missOn(const QString &q, const QString &k)
{
    TestForm t;
    t.start().run.applicationSetFlag = 1;
    t.present(q, k);
    return typedMiss(t);
}

struct PanelRow {
    const char16_t *set;
    int n;
    QStringList panel; // the explanation panel, line by line
    QStringList added; // the print items added to the figure
};

void expectRows(const std::vector<PanelRow> &rows)
{
    for (const PanelRow &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.set).toStdString() + " " + std::to_string(r.n));
        const AfterMiss m = missInBankOrder(QString::fromUtf16(r.set), r.n);
        EXPECT_TRUE(m.panelShown);
        EXPECT_EQ(m.panel, r.panel);
        EXPECT_EQ(m.added, r.added);
    }
}

const CanvasOp *addedLine(const AfterMiss &m, double x1, double y1, double x2, double y2)
{
    for (const CanvasOp &op : m.addedOps)
        if (op.kind == CanvasOp::Line && std::abs(op.x1 - x1) < 1e-9 && std::abs(op.y1 - y1) < 1e-9
            && std::abs(op.x2 - x2) < 1e-9 && std::abs(op.y2 - y2) < 1e-9)
            return &op;
    return nullptr;
}

// The added print item with this text; when there is none, a failure and an
// empty item in its place.
const CanvasOp &addedPrint(const AfterMiss &m, const QString &text)
{
    static const CanvasOp none = [] {
        CanvasOp op;
        op.kind = CanvasOp::Print;
        return op;
    }();
    for (const CanvasOp &op : m.addedOps)
        if (op.kind == CanvasOp::Print && op.text == text)
            return op;
    ADD_FAILURE() << "nothing added reads \"" << text.toStdString() << "\"";
    return none;
}

} // namespace

// ---------------------------------------------------------------------------
// Triangle OAD and the line m

TEST(LineExplanations, TriangleOnOneLineFromTheBanks)
{
    const QStringList baseAndHeight = texts({u"底　辺", u"高", u"さ"});
    expectRows({
        // OAC: the base OC is A's x.
        {u"ouyou3", 1,
         texts({u"底辺OCは点Aのx座標", u"高さACは点Aのy座標", u"y座標は式 y=x に x=4 を代入",
                u"三角形の面積= 4×4÷2=8"}),
         baseAndHeight},
        {u"ouyou3", 9,
         texts({u"底辺OCは点Aのx座標", u"高さACは点Aのy座標", u"y座標は式 y=3/4x に x=12 を代入",
                u"三角形の面積= 12×9÷2=54"}),
         baseAndHeight},
        // OAD: the base OD is D's x.
        {u"ouyou3", 3,
         texts({u"底辺ODは点Dのx座標", u"高さACは点Aのy座標", u"y座標は式 y=2x に x=4 を代入",
                u"三角形の面積= 6×8÷2=24"}),
         baseAndHeight},
        {u"ouyou3", 8,
         texts({u"底辺ODは点Dのx座標", u"高さACは点Aのy座標", u"y座標は式 y=3/4x に x=8 を代入",
                u"三角形の面積= 5×6÷2=15"}),
         baseAndHeight},
        // The area given, D asked for: still the area's sentences.
        {u"ouyou3", 11,
         texts({u"底辺ODは点Dのx座標", u"高さACは点Aのy座標", u"y座標は式 y=x に x=6 を代入",
                u"三角形の面積= 8×6÷2=24"}),
         baseAndHeight},
        // The line m: the height from the area, then the rise over the run,
        // ending in the form the learner types.
        {u"ouyou3", 14,
         texts({u"△OAD=12 高さACはAのy座標", u"底辺ODは4高さACを h とすると", u"4× h =12×2   h = 6",
                u"mは右に6進むと上に6進む直線", u"y=x"}),
         baseAndHeight},
        {u"ouyou3", 15,
         texts({u"△OAD=24 高さACはAのy座標", u"底辺ODは4高さACを h とすると", u"4× h =24×2   h = 12",
                u"mは右に6進むと上に12進む直線", u"y=2x"}),
         baseAndHeight},
        {u"ouyou3", 17,
         texts({u"△OAD=27 高さACはAのy座標", u"底辺ODは6高さACを h とすると", u"6× h =27×2   h = 9",
                u"mは右に12進むと上に9進む直線", u"y=3/4x"}),
         baseAndHeight},
        {u"ouyou3", 20,
         texts({u"△OAD=45 高さACはAのy座標", u"底辺ODは10高さACを h とすると", u"10× h =45×2   h = 9",
                u"mは右に8進むと上に9進む直線", u"y=9/8x"}),
         baseAndHeight},
    });
}

// The banks ask neither for the length AC nor, with the area given, for A
// or the height: these are the same figures with those questions.
TEST(LineExplanations, TriangleOnOneLineAskingForALengthOrThePointA)
{
    const struct {
        const char16_t *question, *answer;
        QStringList panel, added;
    } rows[] = {
        {u"直線y=1/2xに引かれたx=6上の直線ACがある。直線ACの長さを求めなさい。#y=1/2x,6", u"3",
         texts({u"ACの長さは点Aのy座標です", u"点Aのｙ座標は式 y=1/2x に x=6 を代入"}), texts({u" 3 "})},
        {u"直線y=2xに引かれたx=4上の直線ACがある。直線ACの長さを求めなさい。#y=2x,4", u"8",
         texts({u"ACの長さは点Aのy座標です", u"点Aのｙ座標は式 y=2x に x=4 を代入"}), texts({u" 8 "})},
        {u"直線 m に引かれたx=6上の直線ACがある。点Ｄは(4,0)である。三角形OADの面積が12c㎡の時、ACの長さを求めなさい。#y=x,6,4,12",
         u"6", texts({u"△OAD=12 高さACはAのy座標", u"底辺ODは4高さACを h とすると", u"4× h =12×2   h = 6"}),
         texts({u"底　辺", u"高", u"さ"})},
        {u"直線 m に引かれたx=6上の直線ACがある。点Ｄは(4,0)である。三角形OADの面積が24c㎡の時、点Aのy座標を求めなさい。#y=2x,6,4,24",
         u"12", texts({u"△OAD=24 高さACはAのy座標", u"底辺ODは4高さACを h とすると", u"4× h =24×2   h = 12"}),
         texts({u"底　辺", u"高", u"さ"})},
        {u"直線 m に引かれたx=6上の直線ACがある。点Ｄは(4,0)である。三角形OADの面積が24c㎡の時、点Aの座標を求めなさい。#y=2x,6,4,24",
         u"(6,12)", texts({u"△OAD=24 高さACはAのy座標", u"底辺ODは4高さACを h とすると", u"4× h =24×2   h = 12"}),
         texts({u"底　辺", u"高", u"さ"})},
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.question).toStdString());
        const AfterMiss m = missOn(QString::fromUtf16(r.question), QString::fromUtf16(r.answer));
        EXPECT_TRUE(m.panelShown);
        EXPECT_EQ(m.panel, r.panel);
        EXPECT_EQ(m.added, r.added);
    }
    // The length AC: the segment drawn thick, A's height beside it in red.
    const AfterMiss m = missOn(u"直線y=1/2xに引かれたx=6上の直線ACがある。直線ACの長さを求めなさい。#y=1/2x,6"_qs, u"3"_qs);
    const CanvasOp *ac = addedLine(m, 6, 3, 6, 0);
    ASSERT_TRUE(ac);
    EXPECT_EQ(ac->width, 3);
    EXPECT_EQ(addedPrint(m, u" 3 "_qs).color, 255);
}

// The base on the x-axis in dark green, the height AC in dark blue, named in
// those colours; thick when the area itself is asked.
TEST(LineExplanations, TriangleOnOneLineMarksItsBaseAndHeight)
{
    for (const auto &[n, width, base] : {std::tuple{3, 3, 6.0}, std::tuple{1, 3, 4.0}, std::tuple{14, 1, 4.0}}) {
        SCOPED_TRACE(n);
        const AfterMiss m = missInBankOrder(u"ouyou3"_qs, n);
        const CanvasOp *od = addedLine(m, 0, 0, base, 0);
        ASSERT_TRUE(od);
        EXPECT_EQ(od->color, 32768);
        EXPECT_EQ(od->width, width);
        EXPECT_EQ(addedPrint(m, u"底　辺"_qs).color, 32768);
        EXPECT_EQ(addedPrint(m, u"底　辺"_qs).fontSize, 18);
        for (const char16_t *h : {u"高", u"さ"})
            EXPECT_EQ(addedPrint(m, QString::fromUtf16(h)).color, 12582912);
        EXPECT_GT(addedPrint(m, u"高"_qs).y1, addedPrint(m, u"さ"_qs).y1); // one under the other
    }
}

// ---------------------------------------------------------------------------
// Segments between two lines

TEST(LineExplanations, SegmentsBetweenTwoLines)
{
    expectRows({
        // AB on a vertical line, both ends above the x-axis.
        {u"ouyou2", 1,
         texts({u"AB= AC - BC", u"ACは式 y=2x に x=4 を代入", u"BCは式 y=x に x=4 を代入"}),
         texts({u" 8 ", u" 4 ", u" 4 ", u"C"})},
        {u"ouyou2", 8,
         texts({u"AB= AC - BC", u"ACは式 y=2x に x=6 を代入", u"BCは式 y=2/3x に x=6 を代入"}),
         texts({u" 12 ", u" 4 ", u" 8 ", u"C"})},
        // The ends on either side of the x-axis.
        {u"ouyou2", 11,
         texts({u"AB= AC + BC", u"ACは式 y=2x に x=4 を代入", u"BCは式 y=-x に x=4 を代入"}),
         texts({u" 8 ", u" 4 ", u" 12 ", u"C"})},
        {u"ouyou2", 15,
         texts({u"AB= AC + BC", u"ACは式 y=6/5x に x=10 を代入", u"BCは式 y=-1/2x に x=10 を代入"}),
         texts({u" 12 ", u" 5 ", u" 17 ", u"C"})},
        // BC on a horizontal line.
        {u"ouyou2", 12,
         texts({u"BC= AC - BC", u"ABは式 y=2x に y=6 を代入", u"ACは式 y=x に y=6 を代入"}),
         texts({u" 3 ", u" 6 ", u" 3 ", u"A"})},
        {u"ouyou2", 16,
         texts({u"BC= AC - BC", u"ABは式 y=4/3x に y=8 を代入", u"ACは式 y=2/3x に y=8 を代入"}),
         texts({u" 6 ", u" 12 ", u" 6 ", u"A"})},
    });
}

// Three measures in three colours, thick, each with its length beside it
// in its colour at font size 18: the whole on one side of the figure's
// segment, the two parts that make it up on the other; none on the
// segment itself, where they would lie over one another. The point the
// question names in olive.
TEST(LineExplanations, SegmentsBetweenTwoLinesAreMeasuredBesideTheFigure)
{
    const struct {
        int n;
        bool upright; // AB on x = at (else BC on y = at)
        double at, whole;
        const char16_t *point;
    } rows[] = {
        {1, true, 4, 8, u"C"},   // A (4, 8), B (4, 4): AC the whole
        {11, true, 4, 12, u"C"}, // A (4, 8), B (4, -4): AB the whole
        {12, false, 6, 6, u"A"}, // B (3, 6), C (6, 6): AC the whole
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(r.n);
        const AfterMiss m = missInBankOrder(u"ouyou2"_qs, r.n);
        std::vector<const CanvasOp *> measures;
        for (const CanvasOp &op : m.addedOps)
            if (op.kind == CanvasOp::Line && op.width == 3)
                measures.push_back(&op);
        ASSERT_EQ(measures.size(), 3u);
        std::set<int32_t> colours;
        int wholeSide = 0, partsSide = 0;
        for (const CanvasOp *op : measures) {
            colours.insert(op->color);
            const double across = r.upright ? op->x1 : op->y1;
            EXPECT_EQ(across, r.upright ? op->x2 : op->y2); // parallel to the segment
            EXPECT_NEAR(std::abs(across - r.at), 0.35, 1e-9);
            const double length = r.upright ? std::abs(op->y2 - op->y1) : std::abs(op->x2 - op->x1);
            (length == r.whole ? wholeSide : partsSide) += across < r.at ? -1 : 1;
            // Its length in its colour, next to its middle.
            const CanvasOp &label = addedPrint(m, conv::printItem(length));
            bool beside = false;
            for (const CanvasOp &p : m.addedOps)
                if (p.kind == CanvasOp::Print && p.text == conv::printItem(length) && p.color == op->color) {
                    const double mid = r.upright ? (op->y1 + op->y2) / 2 : (op->x1 + op->x2) / 2;
                    const double near = r.upright ? std::abs(p.x1 - across) : std::abs(p.y1 - across);
                    const double along = r.upright ? std::abs(p.y1 - mid) : std::abs(p.x1 - mid);
                    beside = beside || (near < 3.5 && along < 1.5 && p.fontSize == 18);
                }
            EXPECT_TRUE(beside) << label.text.toStdString();
        }
        EXPECT_EQ(colours, (std::set<int32_t>{32768, 12582912, 192}));
        EXPECT_EQ(std::abs(wholeSide), 1);
        EXPECT_EQ(std::abs(partsSide), 2);
        EXPECT_NE(wholeSide > 0, partsSide > 0);
        EXPECT_EQ(addedPrint(m, QString::fromUtf16(r.point)).color, 32896);
    }
}

// ---------------------------------------------------------------------------
// Between two lines: the square under a line

TEST(LineExplanations, TheSquareUnderALine)
{
    // The height of A worked out on the figure, and the points with their values.
    const QStringList y2x3 = texts({u" y= 2× 3 ", u" y=  6 ", u"A( 3 , 6 )", u"C( 9 , 6 )"});
    expectRows({
        {u"ouyou1", 1, texts({u"点Aはy=2x直線上の点である", u"xに3代入する。", u" y= 2×3", u"y= 6"}), y2x3},
        {u"ouyou1", 2, texts({u"三角形の面積＝底辺×高さ÷２", u"  =3×6÷2", u"  = 9"}), y2x3 + texts({u"底辺", u"高さ"})},
        // Point C: the figure only, an empty panel.
        {u"ouyou1", 3, {}, y2x3},
        {u"ouyou1", 4, texts({u"三角形の面積＝底辺×高さ÷２", u"  =9×6÷2", u"  = 27"}), y2x3 + texts({u"底辺", u"高さ"})},
        {u"ouyou1", 5, texts({u"台形＝(上底＋下底)×高さ÷２", u"  =(6+9)×6÷2", u"  = 45"}),
         y2x3 + texts({u"上底", u"下底", u"高さ"})},
        {u"ouyou1", 6, texts({u"傾き=yの増加量÷xの増加量", u"y=6÷9x"}), y2x3 + texts({u"xの増加量", u"yの増加量"})},
        // A fractional slope, and a half in the area.
        {u"ouyou1", 7, texts({u"点Aはy=3/2x直線上の点である", u"xに4代入する。", u" y= 3/2×4", u"y= 6"}),
         texts({u" y= 3/2× 4 ", u" y=  6 ", u"A( 4 , 6 )", u"C( 10 , 6 )"})},
        {u"ouyou1", 28, texts({u"三角形の面積＝底辺×高さ÷２", u"  =11×7÷2", u"  = 38.5"}),
         texts({u" y= 7/4× 4 ", u" y=  7 ", u"A( 4 , 7 )", u"C( 11 , 7 )", u"底辺", u"高さ"})},
        {u"ouyou1", 23, texts({u"台形＝(上底＋下底)×高さ÷２", u"  =(4+10)×4÷2", u"  = 28"}),
         texts({u" y= 2/3× 6 ", u" y=  4 ", u"A( 6 , 4 )", u"C( 10 , 4 )", u"上底", u"下底", u"高さ"})},
    });
}

// The worked height in blue at font size 18, the points in red, the measured
// sides as thick green lines named in dark green; then black at size 12.
TEST(LineExplanations, TheSquareUnderALineIsMarkedInItsColours)
{
    TestForm t;
    t.putInBankOrder(findSet(u"ouyou1"_qs)->resultsFileName);
    Form1 &f = t.start();
    f.menuClick(u"ouyou1"_qs);
    ASSERT_TRUE(learner::answerRightUntil(f, 5));
    const AfterMiss m = typedMiss(t);
    EXPECT_EQ(addedPrint(m, u" y= 2×"_qs).color, 16711680);
    EXPECT_EQ(addedPrint(m, u" y= 2×"_qs).fontSize, 18);
    EXPECT_EQ(addedPrint(m, u"A("_qs).color, 255);
    EXPECT_EQ(addedPrint(m, u"上底"_qs).color, 32768);
    for (const auto &[x1, y1, x2, y2] : {std::array{3.0, 6.0, 9.0, 6.0}, std::array{0.0, 0.0, 9.0, 0.0},
                                         std::array{9.0, 0.0, 9.0, 6.0}}) {
        const CanvasOp *side = addedLine(m, x1, y1, x2, y2);
        ASSERT_TRUE(side) << x1 << "," << y1 << " " << x2 << "," << y2;
        EXPECT_EQ(side->color, 65280);
        EXPECT_EQ(side->width, 3);
    }
    EXPECT_EQ(f.Picture6.ForeColor, 0);
    EXPECT_EQ(f.Picture6.FontSize, 12);
    EXPECT_EQ(f.Picture6.DrawWidth, 1);
}

// ---------------------------------------------------------------------------
// A triangle on the grid

TEST(LineExplanations, GridTriangleBaseHeightAndFormula)
{
    const struct {
        const char16_t *set;
        int n;
        const char16_t *base;
        double bx, by;
        const char16_t *height;
        double hx, hy;
        double fx, fy; // where the height meets the base
    } rows[] = {
        {u"sanmen", 1, u"4", 3.2, 0, u"6", 3, 4.5, 3, 0},       // #1,0,5,0,3,6: AB along the x-axis
        {u"sanmen", 3, u"4", 0.2, 4, u"4", 2, 4.5, 0, 3},       // #0,6,0,2,4,3: AB upright
        {u"menseki1", 12, u"3", 2.7, 2, u"4", 5, 5.5, 5, 2},    // #5,6,1,2,4,2: BC the base
        {u"menseki1", 18, u"12", 5.2, 0, u"10", 0, 2.5, 5, 1},  // #5,6,-5,1,5,-6: AC the base
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.set).toStdString() + " " + std::to_string(r.n));
        const AfterMiss m = missInBankOrder(QString::fromUtf16(r.set), r.n);
        const QString base = QString::fromUtf16(r.base), height = QString::fromUtf16(r.height);
        EXPECT_FALSE(m.panelShown);
        // The measures are print items, with their blanks.
        const QString b0 = u' ' + base + u' ', h0 = u' ' + height + u' ';
        ASSERT_EQ(m.added, (QStringList{b0, h0, u"三角形の面積=底辺×高さ÷2"_qs, u"="_qs + b0 + u"×"_qs + h0 + u"÷２"_qs}));
        std::vector<const CanvasOp *> prints;
        for (const CanvasOp &op : m.addedOps)
            if (op.kind == CanvasOp::Print)
                prints.push_back(&op);
        const CanvasOp *b = prints[0], *h = prints[1], *formula = prints[2], *numbers = prints[3];
        EXPECT_NEAR(b->x1, r.bx, 1e-9);
        EXPECT_NEAR(b->y1, r.by, 1e-9);
        EXPECT_EQ(b->color, conv::paletteColor(2));
        EXPECT_EQ(b->fontSize, 20);
        EXPECT_NEAR(h->x1, r.hx, 1e-9);
        EXPECT_NEAR(h->y1, r.hy, 1e-9);
        EXPECT_EQ(h->color, 16711680);
        EXPECT_EQ(h->fontSize, 20);
        EXPECT_NEAR(formula->x1, -9, 1e-9);
        EXPECT_NEAR(formula->y1, -6, 1e-9);
        EXPECT_NEAR(numbers->x1, -3, 1e-9);
        EXPECT_NEAR(numbers->y1, -7, 1e-9);
        EXPECT_EQ(formula->fontSize, 14);
        EXPECT_EQ(numbers->fontSize, 14);
        // The height in blue down to the base, and the right-angle mark:
        // two short strokes of width 2 at the foot.
        int strokes = 0;
        bool heightDrawn = false;
        for (const CanvasOp &op : m.addedOps) {
            if (op.kind != CanvasOp::Line)
                continue;
            heightDrawn = heightDrawn
                          || (op.color == 16711680 && std::abs(op.x2 - r.fx) < 1e-9 && std::abs(op.y2 - r.fy) < 1e-9);
            if (op.width == 2) {
                ++strokes;
                EXPECT_NEAR(std::hypot(op.x2 - op.x1, op.y2 - op.y1), 0.1, 1e-9);
                EXPECT_LE(std::hypot(op.x1 - r.fx, op.y1 - r.fy), 0.15);
                EXPECT_LE(std::hypot(op.x2 - r.fx, op.y2 - r.fy), 0.15);
            }
        }
        EXPECT_TRUE(heightDrawn);
        EXPECT_EQ(strokes, 2);
    }
}

// ---------------------------------------------------------------------------
// Coordinate questions

// A point on a line with one coordinate hidden: a red line from the point to
// the axis of the asked coordinate, and its value beside the foot.
TEST(LineExplanations, APointOnALineShowsTheAskedCoordinate)
{
    const struct {
        const char16_t *set;
        int n;
        double px, py;       // the point
        bool x;              // the x coordinate asked (else y)
        const char16_t *value;
        double vx, vy;       // where the value stands
    } rows[] = {
        {u"senza1", 1, 6, 6, true, u"6", 5.3, -0.2},       // (□,6) on y=x
        {u"senza1", 3, -3, -3, true, u"-3", -3.7, 1.5},    // below the axis: above the foot
        {u"senza1", 24, -4.5, 3, true, u"-4.5", -5.2, -0.2},  // a fractional answer
        {u"senza1", 2, 3, 6, false, u"6", -2, 6.5},        // (3,□) on y=2x
        {u"senza1", 4, -4, 4, false, u"4", 0.3, 4.5},      // left of the axis: right of it
        {u"tyosenten2", 6, 4, 1, false, u"1", -2, 1.5},    // y=-1/2x+3
        {u"tyosenten2", 13, 7, -3, true, u"7", 6.3, 1.5},  // y=-x+4
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.set).toStdString() + " " + std::to_string(r.n));
        const AfterMiss m = missInBankOrder(QString::fromUtf16(r.set), r.n);
        EXPECT_FALSE(m.panelShown);
        const QString value = conv::printItem(conv::numericPrefix(QString::fromUtf16(r.value)));
        EXPECT_EQ(m.added, QStringList{value});
        const CanvasOp *guide = r.x ? addedLine(m, r.px, r.py, r.px, 0) : addedLine(m, r.px, r.py, 0, r.py);
        ASSERT_TRUE(guide);
        EXPECT_EQ(guide->color, 255);
        const CanvasOp &item = addedPrint(m, value);
        EXPECT_NEAR(item.x1, r.vx, 1e-9);
        EXPECT_NEAR(item.y1, r.vy, 1e-9);
        EXPECT_EQ(item.color, 255);
        EXPECT_EQ(item.fontSize, 20);
    }
}

// A point read off the grid: guides from the edge of the grid through the
// point to each axis, green across and blue up or down, width 2.
TEST(LineExplanations, APointReadOffTheGridGetsItsGuides)
{
    const struct {
        const char16_t *set;
        int n;
        double x, y;
    } rows[] = {
        {u"thahyou2", 1, -4, -2},  // ここの点のx座標
        {u"thahyou2", 2, -1, 4},   // ここの点のy座標
        {u"zahyou3", 9, 3, -1},    // the point itself is read, then reflected
    };
    for (const auto &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.set).toStdString() + " " + std::to_string(r.n));
        const AfterMiss m = missInBankOrder(QString::fromUtf16(r.set), r.n);
        EXPECT_TRUE(m.added.isEmpty());
        const double edgeX = r.x >= 0 ? 8 : -8, edgeY = r.y >= 0 ? 8 : -8;
        for (const auto &[seg, color] :
             {std::pair{std::array{edgeX, r.y, r.x, r.y}, 65280}, std::pair{std::array{r.x, r.y, 0.0, r.y}, 65280},
              std::pair{std::array{r.x, edgeY, r.x, r.y}, 16711680}, std::pair{std::array{r.x, r.y, r.x, 0.0}, 16711680}}) {
            const CanvasOp *guide = addedLine(m, seg[0], seg[1], seg[2], seg[3]);
            ASSERT_TRUE(guide) << seg[0] << "," << seg[1] << " " << seg[2] << "," << seg[3];
            EXPECT_EQ(guide->color, color);
            EXPECT_EQ(guide->width, 2);
        }
    }
}

// The banks hold no midpoint with a hidden coordinate, nor a blank that is
// no coordinate: in their words, the two points joined with the midpoint
// marked red, and the clicked points joined by two legs with their lengths.
TEST(LineExplanations, AHiddenMidpointAndClickedPoints)
{
    const AfterMiss mid = missOn(u"点(2,□)と(4,7)の中点のx座標を求めて。"_qs, u"3"_qs);
    EXPECT_TRUE(mid.added.isEmpty());
    ASSERT_TRUE(addedLine(mid, 2, 3, 4, 7));
    bool ends = false, middle = false;
    for (const CanvasOp &op : mid.addedOps) {
        if (op.kind != CanvasOp::Circle)
            continue;
        ends = ends || (op.x1 == 4 && op.y1 == 7 && op.r == 0.1);
        middle = middle || (op.x1 == 3 && op.y1 == 5 && op.r == 0.15 && op.fill == std::optional<int32_t>(255));
    }
    EXPECT_TRUE(ends);
    EXPECT_TRUE(middle);

    for (const char16_t *answer : {u"5", u"5/2"}) {
        SCOPED_TRACE(QString::fromUtf16(answer).toStdString());
        TestForm t;
        Form1 &f = t.present(u"□に入る数を求めなさい。"_qs, QString::fromUtf16(answer));
        f.graph.clickCount = 2;
        f.graph.clickedX[1] = 1;
        f.graph.clickedY[1] = 1;
        f.graph.clickedX[2] = 4;
        f.graph.clickedY[2] = 5;
        const AfterMiss m = typedMiss(t);
        int marks = 0;
        for (const CanvasOp &op : m.addedOps)
            marks += op.kind == CanvasOp::Circle && op.r == 0.1 && op.fill == std::optional<int32_t>(255);
        EXPECT_EQ(marks, 2);
        if (answer == std::u16string_view(u"5/2")) {
            // A fraction: the points only.
            EXPECT_TRUE(m.added.isEmpty());
            continue;
        }
        const CanvasOp *across = addedLine(m, 1, 1, 4, 1), *up = addedLine(m, 4, 1, 4, 5);
        ASSERT_TRUE(across && up);
        EXPECT_EQ(across->color, 255);
        EXPECT_EQ(up->color, 255);
        ASSERT_EQ(m.added, (QStringList{u" 3 "_qs, u" 4 "_qs}));
        EXPECT_NEAR(addedPrint(m, u" 3 "_qs).x1, 2, 1e-9);
        EXPECT_NEAR(addedPrint(m, u" 3 "_qs).y1, 2.2, 1e-9);
    }
}

// ---------------------------------------------------------------------------
// A line in general form, missed on the plane

// The graph judge works a general-form equation out to the slope-intercept
// form on the explanation panel. It does so only for a question with "y="
// after its start and without "グラフを書"; every drawing question of the
// banks says "グラフを書いて", which is also what puts the check button up,
// so here the judge is called on the plane's answer "tigau" directly.
TEST(LineExplanations, GeneralFormWorkedToSlopeIntercept)
{
    const struct {
        const char16_t *question, *answer;
        QStringList panel;
    } rows[] = {
        {u"2x+y=6のグラフをかいてください。", u"y=-2x+6", texts({u"xと数を右へ移項して y=-2x+6", u"y=-2x+6"})},
        {u"3x+2y=6のグラフをかいてください。", u"y=-3/2x+3",
         texts({u"xと数を右へ移項して 2y=-3x+6", u"両辺を2でわると", u"y=-3/2x+3"})},
        {u"2y=x+6のグラフをかいてください。", u"y=1/2x+3",
         texts({u"xと数を右へ移項して 2y=x+6", u"両辺を2でわると", u"y=1/2x+3"})},
        {u"x-3y=9のグラフをかいてください。", u"y=1/3x-3",
         texts({u"xと数を右へ移項して -3y=-x+9", u"両辺を-3でわると", u"y=1/3x-3"})},
        // "y=" at the very start: nothing to work out.
        {u"y=2x+1のグラフをかいてください。", u"y=2x+1", {}},
    };
    for (const auto &r : rows) {
        const QString q = QString::fromUtf16(r.question), k = QString::fromUtf16(r.answer);
        SCOPED_TRACE(q.toStdString());
        TestForm t;
        Form1 &f = t.present(q, k);
        f.Picture7.Visible = r.panel.isEmpty(); // the judge must show or hide it itself
        f.graph.keyboardAnswerMode = 0;
        f.figure.graphKind = 1;
        f.graph.clickAnswer = u"tigau"_qs;
        f.Command5_Click();
        ASSERT_TRUE(f.Command3.Visible);
        EXPECT_EQ(f.Picture7.Visible, !r.panel.isEmpty());
        if (!r.panel.isEmpty()) {
            EXPECT_EQ(panelLines(f.Picture7), r.panel);
        }
    }
}

// The banks' own general-form questions are drawing questions: missed on the
// plane, they show the correct line and keep the panel hidden.
TEST(LineExplanations, GeneralFormQuestionsOfTheBanksKeepThePanelHidden)
{
    for (const int n : {17, 21, 26, 33}) {
        SCOPED_TRACE(n);
        TestForm t;
        t.putInBankOrder(findSet(u"gura2wri3"_qs)->resultsFileName);
        Form1 &f = t.start();
        f.menuClick(u"gura2wri3"_qs);
        ASSERT_TRUE(learner::answerRightUntil(f, n));
        ASSERT_TRUE(f.currentQuestion().contains(u"=0 のグラフを書いて"_qs)) << f.currentQuestion().toStdString();
        f.Picture7.Visible = true;
        learner::Hands hands = learner::handsOn(f);
        ASSERT_TRUE(learner::answer(f, hands, false));
        ASSERT_TRUE(f.Command3.Visible);
        EXPECT_FALSE(f.Picture7.Visible);
    }
}

// An application question answered right leaves no explanation behind: a
// miss in the next set is explained as that set's own question.
TEST(LineExplanations, NoExplanationOutlivesItsQuestion)
{
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"ouyou2"_qs);
    t.type(learner::keysFor(f.currentAnswer()) + u'\r');
    ASSERT_EQ(f.scoreState.correctCount, 1);
    t.runOutClock();
    f.menuClick(u"nagasa"_qs);
    EXPECT_EQ(f.figure.appTwoLines, 0);
    t.type(u"99\r"_qs);
    ASSERT_EQ(f.scoreState.answerLocked, 1);
    EXPECT_FALSE(f.Picture7.Visible);
    EXPECT_TRUE(TestForm::printed(f.Picture7).isEmpty());
}
