// Answers on the plane: presses snap to lattice points, a line is checked as
// it is completed, the check button counts and explains. And the worked
// explanations of areas and circles after a typed miss.
#include "Learner.h"
#include "TestForm.h"
#include "graph/LineEquation.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace {

// One question at position 1 of the draw order, presented, and a point
// question after it.
Form1 &present(TestForm &t, const QString &q, const QString &a)
{
    return t.present(q, a, u"ここの点の座標を求めて。"_qs, u"(1,1)"_qs);
}

QString lineAnswer(const QString &answer, std::pair<double, double> first, std::pair<double, double> second)
{
    TestForm t;
    Form1 &f = present(t, answer.left(answer.size()) + u"のグラフを書いてください。"_qs, answer);
    tap(f, first.first, first.second);
    tap(f, second.first, second.second);
    return f.graph.clickAnswer;
}

} // namespace

TEST(GraphInput, PointQuestionsSnapAndKeepTheLatestPress)
{
    TestForm t;
    Form1 &f = present(t, u"(3,-1)の点を書き入れてください。"_qs, u"(3,-1)"_qs);
    EXPECT_TRUE(f.Command5.Visible);
    EXPECT_FALSE(f.Text2.Visible);
    const struct {
        double x, y;
        const char16_t *answer;
    } presses[] = {{2.5, -0.5, u"(3,0)"}, {-2.5, 0.49, u"(-2,0)"}, {1, 1, u"(1,1)"}, {3, -1, u"(3,-1)"}};
    for (const auto &p : presses) {
        tap(f, p.x, p.y);
        EXPECT_EQ(f.graph.clickAnswer, QString::fromUtf16(p.answer));
    }
    // Only the latest point is on the plane.
    int marks = 0;
    for (const CanvasOp *op : opsOf(f.Picture6, CanvasOp::Circle))
        marks += op->r == 0.15;
    EXPECT_EQ(marks, 1);
}

TEST(GraphInput, ALineIsJudgedAsItIsCompleted)
{
    // Through the origin the first press counts as the origin.
    EXPECT_EQ(lineAnswer(u"y=2x"_qs, {3, 3}, {1, 2}), u"y=2x"_qs);
    EXPECT_EQ(lineAnswer(u"y=2x"_qs, {5, -1}, {-2, -4}), u"y=2x"_qs);
    EXPECT_EQ(lineAnswer(u"y=2x"_qs, {3, 3}, {1, 3}), u"tigau"_qs);
    EXPECT_EQ(lineAnswer(u"y=-1/2x+3"_qs, {0, 3}, {2, 2}), u"y=-1/2x+3"_qs);
    EXPECT_EQ(lineAnswer(u"y=-1/2x+3"_qs, {0, 3}, {2, 3}), QString()); // not apart: no line yet
    // Only points exactly on the line: (3, 2) and (3, 1) lie beside y = x/2.
    EXPECT_EQ(lineAnswer(u"y=1/2x"_qs, {4, 4}, {2, 1}), u"y=1/2x"_qs);
    EXPECT_EQ(lineAnswer(u"y=1/2x"_qs, {4, 4}, {3, 2}), u"tigau"_qs);
    EXPECT_EQ(lineAnswer(u"y=1/2x"_qs, {4, 4}, {3, 1}), u"tigau"_qs);
    // The cases learners met: y=1/2x taken for y=1/3x, y=-2x for y=-5/2x, and
    // a line one below y=1/3x+1 at x=2.
    EXPECT_EQ(lineAnswer(u"y=1/3x"_qs, {0, 0}, {2, 1}), u"tigau"_qs);
    EXPECT_EQ(lineAnswer(u"y=-5/2x"_qs, {0, 0}, {1, -2}), u"tigau"_qs);
    EXPECT_EQ(lineAnswer(u"y=1/3x+1"_qs, {0, 1}, {2, 2}), u"tigau"_qs);
    EXPECT_EQ(lineAnswer(u"y=1/3x+1"_qs, {0, 1}, {3, 2}), u"y=1/3x+1"_qs);
}

TEST(GraphInput, PointsOnAGraphAreFoundInWholeNumbers)
{
    const struct {
        const char16_t *equation;
        int x, y;
        bool on;
    } rows[] = {
        {u"y=x", 3, 3, true},          {u"y=-x+4", 1, 3, true},      {u"y=-x+4", 1, 4, false},
        {u"y=2/3x", 3, 2, true},       {u"y=2/3x", 1, 1, false},     {u"y=2/3x", 2, 1, false},
        {u"y=-5/2x", -2, 5, true},     {u"y=-5/2x", 1, -2, false},   {u"y=-5/2x", 1, -3, false},
        {u"y=-3/2x-9", -4, -3, true},  {u"y=-3/2x-9", -3, -4, false}, {u"y=7/11x", 11, 7, true},
        {u"y=2/3x+4/3", 1, 2, true},   {u"y=2/3x+4/3", 2, 3, false},  {u"y=x+2.5", 1, 3, false},
        {u"y=6/x", 2, 3, true},        {u"y=-8/x", 2, -4, true},      {u"y=-8/x", 3, -3, false},
        {u"y=-8/x", 0, 0, false},      {u"y=2x\uE000", 2, 8, true},  {u"y=ax+3", 0, 3, false},
        {u"", 0, 0, false},            {u"y=", 0, 0, false},          {u"x=3", 3, 0, false},
    };
    for (const auto &r : rows) {
        const QString e = QString::fromUtf16(r.equation);
        EXPECT_EQ(lines::passesThrough(e, r.x, r.y), r.on) << e.toStdString() << " at " << r.x << "," << r.y;
    }
}

TEST(GraphInput, KeyboardQuestionsIgnoreTheMouse)
{
    TestForm t;
    Form1 &f = present(t, u"ここの点のx座標を求めて。"_qs, u"(-4,-2)"_qs);
    const std::size_t before = f.Picture6.ops().size();
    tap(f, 1, 1);
    EXPECT_EQ(f.Picture6.ops().size(), before);
    EXPECT_TRUE(f.graph.clickAnswer.isEmpty());
}

TEST(GraphJudge, RightCountsOnceWrongTwiceAndExplains)
{
    TestForm t;
    Form1 &f = present(t, u"y=2xのグラフを書いてください。"_qs, u"y=2x"_qs);
    f.buttonClick(u"Command5"_qs); // nothing on the plane, nothing typed
    EXPECT_TRUE(t.sounds.isEmpty());
    tap(f, 3, 3);
    tap(f, 1, 2);
    f.buttonClick(u"Command5"_qs);
    EXPECT_EQ(t.sounds, QStringList{u"Maru.wav"_qs});
    EXPECT_EQ(f.Label3.Caption, u"1"_qs);
    EXPECT_EQ(f.bank.mondaiNo, 2);
    // The next question starts without the last question's clicked answer.
    EXPECT_TRUE(f.graph.clickAnswer.isEmpty());

    TestForm w;
    Form1 &g = present(w, u"y=2xのグラフを書いてください。"_qs, u"y=2x"_qs);
    tap(g, 3, 3);
    tap(g, 1, 3);
    g.buttonClick(u"Command5"_qs);
    EXPECT_EQ(w.sounds, QStringList{u"SD05.wav"_qs});
    EXPECT_EQ(g.Label4.Caption, u"2"_qs);
    EXPECT_EQ(g.Label5.Caption, u"-2"_qs);
    EXPECT_TRUE(g.Command3.Visible);
    EXPECT_FALSE(g.Command5.Visible);
    EXPECT_EQ(g.graph.keyboardAnswerMode, 1);
    bool redGraph = false, unitStep = false;
    for (const CanvasOp &op : g.Picture6.ops()) {
        redGraph = redGraph || (op.kind == CanvasOp::Polyline && op.color == 255);
        unitStep = unitStep || (op.kind == CanvasOp::Line && op.color == 65280);
    }
    EXPECT_TRUE(redGraph);
    EXPECT_TRUE(unitStep);
}

TEST(GraphJudge, AMissedPointShowsTheExpectedPoint)
{
    TestForm t;
    Form1 &f = present(t, u"点(-3,5)のx軸対称な点を書き入れて"_qs, u"(-3,-5)"_qs);
    tap(f, 1, 1);
    f.buttonClick(u"Command5"_qs);
    const QStringList texts = TestForm::printed(f.Picture6);
    EXPECT_TRUE(texts.contains(u"(-3,-5)"_qs));
    EXPECT_TRUE(texts.contains(u"(-3,5)"_qs)); // the given point before the reflection
}

// What a typed miss adds to the figure, item by item: the measures labelled
// on it, the formula, the formula with the question's numbers and the result.
TEST(Explanations, AreasAndCirclesAfterATypedMiss)
{
    struct Row {
        const char16_t *question, *answer;
        std::vector<const char16_t *> added; // print items the miss adds to Picture6, in order
        const char16_t *placed;              // the item that starts the formula ...
        double x, y;                         // ... and where
    };
    const Row rows[] = {
        // Quadrilaterals, by the rule their corners fit.
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#1,6,1,1,5,1,5,6", u"20",
         {u" 5 ", u" 4 ", u"長方形の面積=たて×よこ=", u" 5 ", u"×", u" 4 "}, u"長方形の面積=たて×よこ=", -9, -7},
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#-3,5,-3,-1,3,-1,3,5", u"36",
         {u" 6 ", u" 6 ", u"正方形の面積=一辺×一辺=", u" 6 ", u"×", u" 6 "}, u"正方形の面積=一辺×一辺=", -9, -7},
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#-4,7,-4,-3,3,-5,3,5", u"70",
         {u"平行四辺形の面積=底辺×高さ=", u" 10 ", u"×", u" 7 "}, u"平行四辺形の面積=底辺×高さ=", -9, -7},
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#-2,6,-4,2,3,2,5,6", u"28",
         {u" 4 ", u"平行四辺形の面積=底辺×高さ=", u" 7 ", u"×", u" 4 "}, u"平行四辺形の面積=底辺×高さ=", -9, -7},
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#-2,6,-4,2,5,2,3,6", u"28",
         {u" 4 ", u"台形の面積=(上底＋下底)×高さ÷２", u"           =(", u" 5 ", u"+", u" 9 ", u")×", u" 4 ", u"÷２"},
         u"           =(", -9, -8},
        {u"四角形ABCDの面積を求めると{   }c㎡となる。#-3,0,0,3,3,0,0,-3", u"18",
         {u" 6 ", u" 6 ", u"ひし形の面積=対角線１×対角線２÷２", u"           =", u" 6 ", u"×", u" 6 ", u"÷２"},
         u"ひし形の面積=対角線１×対角線２÷２", -9, -7},
        // Circles and sectors, numbers as plain text.
        {u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1", u"36π",
         {u"円の面積＝半×半×π", u"6", u"×", u"6", u"×π", u"=", u"36", u"π"}, u"円の面積＝半×半×π", -8, -4},
        {u"左の円の円周を求めてみると{   }cmとなる。#0,0,10,1", u"20π",
         {u"円周＝２×半×π", u"2×", u"10", u"×π", u"=", u"20", u"π"}, u"円周＝２×半×π", -8, -4},
        {u"左の円の円周を求めてみると{   }cmとなる。#0,0,3,1", u"6π",
         {u"円周＝２×半×π", u"2×", u"3", u"×π", u"=", u"6", u"π"}, u"円周＝２×半×π", -8, -4},
        {u"左のおうぎ形の面積を求めてみると{   }c㎡となる。#0,0,6,0,60", u"6π",
         {u"6", u"×", u"6", u"×π×", u"60", u"360", u"=", u"6", u"π"}, u"=", -8, -6},
        {u"左のおうぎ形の弧を求めると{   }cmとなる。#0,0,6,0,60", u"2π",
         {u"2×", u"6", u"×π×", u"60", u"360", u"=", u"2", u"π"}, u"2×", -8, -4},
        {u"左のおうぎ形の面積を求めると{   }c㎡となる。#0,0,4,0,270", u"12π",
         {u"4", u"×", u"4", u"×π×", u"270", u"360", u"=", u"12", u"π"}, u"270", 1, -3.3},
        {u"円の面積が49πc㎡の円の半径を求めてください。#0,0,7,1,49π", u"7",
         {u"円の面積＝半×半×π", u"x×x×π= 49π", u"   x = 7"}, u"円の面積＝半×半×π", -8, -4},
        // Asked for the diameter, x is half the stored answer.
        {u"円の面積が64πc㎡の円の直径を求めてください。#0,0,8,1,64π", u"16",
         {u"円の面積＝半×半×π", u"x×x×π= 64π", u"   x = 8"}, u"円の面積＝半×半×π", -8, -4},
        {u"円周が20πcmの円の半径を求めてください。#0,0,10,1,20π", u"10",
         {u"円周＝２×半×π", u"２×x×π= 20π", u"   x = 10"}, u"円周＝２×半×π", -8, -4},
        {u"円周が40πcmの円の直径を求めてください。#0,0,20,1,40π", u"40",
         {u"円周＝２×半×π", u"２×x×π= 40π", u"   x = 20"}, u"円周＝２×半×π", -8, -4},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(QString::fromUtf16(r.question).toStdString());
        TestForm t;
        t.random.queue(0.1);
        Form1 &f = present(t, QString::fromUtf16(r.question), QString::fromUtf16(r.answer));
        const qsizetype before = TestForm::printed(f.Picture6).size();
        t.type(u"1\r"_qs);
        ASSERT_EQ(f.scoreState.answerLocked, 1);
        QStringList expected;
        for (const char16_t *item : r.added)
            expected << QString::fromUtf16(item);
        EXPECT_EQ(TestForm::printed(f.Picture6).mid(before), expected);
        const CanvasOp *placed = printOp(f.Picture6, QString::fromUtf16(r.placed));
        ASSERT_TRUE(placed);
        EXPECT_NEAR(placed->x1, r.x, 1e-9);
        EXPECT_NEAR(placed->y1, r.y, 1e-9);
    }
    // A quadrilateral that fits no rule gets no explanation.
    TestForm t;
    Form1 &f = present(t, u"四角形ABCDの面積を求めると{   }c㎡となる。#0,0,1,3,4,4,2,1"_qs, u"9"_qs);
    const std::size_t before = f.Picture6.ops().size();
    t.type(u"1\r"_qs);
    EXPECT_EQ(f.Picture6.ops().size(), before);
}

// Every line of a circle's explanation starts again at x = -8 in font size
// 20 and blue; the fraction of a sector stands over its bar at (1, -3.3) and
// (1, -4.8), and its result line at (-8, -6).
TEST(Explanations, CircleLinesStartAtTheLeftAndTheSectorFractionStandsOverItsBar)
{
    TestForm t;
    Form1 &f = present(t, u"左のおうぎ形の弧を求めると{   }cmとなる。#0,0,6,0,60"_qs, u"2π"_qs);
    const std::size_t before = f.Picture6.ops().size();
    t.type(u"1\r"_qs);
    std::vector<const CanvasOp *> added;
    for (std::size_t i = before; i < f.Picture6.ops().size(); ++i)
        added.push_back(&f.Picture6.ops()[i]);
    const auto at = [&added](const QString &text) -> const CanvasOp * {
        for (const CanvasOp *op : added)
            if (op->kind == CanvasOp::Print && op->text == text)
                return op;
        return nullptr;
    };
    for (const auto &[text, x, y] : {std::tuple{u"2×"_qs, -8.0, -4.0}, std::tuple{u"60"_qs, 1.0, -3.3},
                                     std::tuple{u"360"_qs, 1.0, -4.8}, std::tuple{u"="_qs, -8.0, -6.0}}) {
        const CanvasOp *op = at(text);
        ASSERT_TRUE(op) << text.toStdString();
        EXPECT_NEAR(op->x1, x, 1e-9) << text.toStdString();
        EXPECT_NEAR(op->y1, y, 1e-9) << text.toStdString();
        EXPECT_EQ(op->fontSize, 20);
        EXPECT_EQ(op->color, 16711680);
    }
    const auto bar = std::find_if(added.begin(), added.end(), [](const CanvasOp *op) {
        return op->kind == CanvasOp::Line && op->x1 == 1.5 && op->y1 == -4.7 && op->x2 == 3.8 && op->y2 == -4.7;
    });
    EXPECT_NE(bar, added.end());

    // Three lines of a circle area: each begins at -8, one under another.
    TestForm u;
    Form1 &g = present(u, u"左の円の面積を求めてみると{   }c㎡となる。#0,0,6,1"_qs, u"36π"_qs);
    u.type(u"1\r"_qs);
    std::vector<double> rows;
    for (const char16_t *first : {u"円の面積＝半×半×π", u"×π", u"="}) {
        const CanvasOp *op = printOp(g.Picture6, QString::fromUtf16(first));
        ASSERT_TRUE(op);
        rows.push_back(op->y1);
    }
    EXPECT_NEAR(printOp(g.Picture6, u"円の面積＝半×半×π"_qs)->x1, -8, 1e-9); // found above
    EXPECT_NEAR(printOp(g.Picture6, u"="_qs)->x1, -8, 1e-9);
    EXPECT_GT(rows[0], rows[1]);
    EXPECT_GT(rows[1], rows[2]);
}

// What one question leaves on the plane never reaches the next one: a typed
// question before a drawing one, a line begun and abandoned, an anchor.
TEST(GraphInput, EachQuestionStartsTheAnswerAfresh)
{
    TestForm t;
    Form1 &f = t.start();
    f.bank.mondaiCount = 3;
    const QString questions[] = {u"このグラフの式を求めてください。"_qs, u"y=3x+3のグラフを書いてください。"_qs,
                                 u"y=2/3xのグラフを書いてください。"_qs};
    const QString answers[] = {u"y=x"_qs, u"y=3x+3"_qs, u"y=2/3x"_qs};
    for (int i = 0; i < 3; ++i) {
        f.bank.shuffledMondai[i + 1] = questions[i];
        f.bank.shuffledKotae[i + 1] = answers[i];
    }
    f.bank.mondaiNo = 1;
    f.presentQuestion();
    EXPECT_EQ(f.graph.keyboardAnswerMode, 1);
    t.type(u"y=x\r"_qs);
    ASSERT_EQ(f.scoreState.correctCount, 1);

    // A drawing question right after a typed one takes the presses.
    EXPECT_EQ(f.graph.keyboardAnswerMode, 0);
    EXPECT_TRUE(f.Command5.Visible);
    EXPECT_FALSE(f.Text2.Visible);
    tap(f, 0, 3);
    tap(f, -1, 0);
    EXPECT_EQ(f.graph.clickAnswer, u"y=3x+3"_qs);
    f.buttonClick(u"Command5"_qs);
    ASSERT_EQ(f.scoreState.correctCount, 2);

    // Two presses at one spot with no move between them: the line starts at
    // the origin, not where the last question's line began.
    f.Picture6_MouseDown(1, 0, 3, 2);
    f.Picture6_Click();
    f.Picture6_MouseDown(1, 0, 3, 2);
    f.Picture6_Click();
    EXPECT_EQ(f.graph.clickAnswer, u"y=2/3x"_qs);
}

// A set chosen after a finished run shows its plane again and can be
// answered on it.
TEST(GraphInput, ASetAfterAFinishedRunShowsItsPlane)
{
    TestForm t;
    Form1 &f = t.start();
    f.menuClick(u"nagasa"_qs);
    t.runOutClock();
    ASSERT_EQ(f.run.categoryActive, 0);
    ASSERT_TRUE(f.Picture1.Visible);
    f.menuClick(u"thahyo1"_qs);
    EXPECT_FALSE(f.Picture1.Visible);
    EXPECT_FALSE(f.Command2.Visible);
    EXPECT_TRUE(f.Picture6.Visible);
    ASSERT_TRUE(f.Command5.Visible);
    const auto p = *learner::pointOf(f.currentAnswer());
    tap(f, p.first, p.second);
    f.buttonClick(u"Command5"_qs);
    EXPECT_EQ(f.scoreState.correctCount, 1);
}

// The clicked-point list of a graph question whose line misses the origin,
// or of a midpoint question: up to three points, the count falling back to
// 2 when it would pass 3, a point already listed never added twice. The
// listed points are marked green after every click.
namespace {

struct Click {
    int x, y;
    int count;                                // clickCount after the click
    std::vector<std::pair<int, int>> listed;  // entries 1..count after it
};

void expectListed(const Form1 &f, const Click &c)
{
    ASSERT_EQ(f.graph.clickCount, c.count);
    for (int i = 1; i <= c.count; ++i) {
        EXPECT_EQ(f.graph.clickedX[i], c.listed[i - 1].first) << "entry " << i;
        EXPECT_EQ(f.graph.clickedY[i], c.listed[i - 1].second) << "entry " << i;
    }
    // The click's own marks come last: one green disc for each listed point.
    const auto circles = opsOf(f.Picture6, CanvasOp::Circle);
    ASSERT_GE(circles.size(), size_t(c.count));
    for (int i = 0; i < c.count; ++i) {
        const CanvasOp *mark = circles[circles.size() - c.count + i];
        EXPECT_EQ(mark->x1, c.listed[i].first);
        EXPECT_EQ(mark->y1, c.listed[i].second);
        EXPECT_EQ(mark->r, 0.15);
        EXPECT_EQ(mark->fill, std::optional<int32_t>(65280));
    }
}

} // namespace

TEST(GraphInput, ClickedPointsOfALineOffTheOriginWrapAfterThree)
{
    TestForm t;
    Form1 &f = present(t, u"y=2x+1のグラフを書いてください。"_qs, u"y=2x+1"_qs);
    ASSERT_NE(f.eq.graphIntercept, 0);
    const Click clicks[] = {
        {1, 3, 1, {{1, 3}}},
        {2, 5, 2, {{1, 3}, {2, 5}}},                    // the first line is complete
        {-1, -1, 3, {{1, 3}, {2, 5}, {-1, -1}}},
        {0, 1, 2, {{1, 3}, {0, 1}}},                    // a fourth falls back to 2
        {1, 3, 2, {{1, 3}, {0, 1}}},                    // listed already: not again
        {-1, -1, 3, {{1, 3}, {0, 1}, {-1, -1}}},        // past the count: listed anew
        {2, 5, 2, {{1, 3}, {2, 5}}},
    };
    for (const Click &c : clicks) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        tap(f, c.x, c.y);
        expectListed(f, c);
    }
}

TEST(GraphInput, ClickedPointsOfAMidpointQuestionWrapAfterThree)
{
    TestForm t;
    Form1 &f = present(t, u"点(-2,5)(4,-3)の中点を書き入れて"_qs, u"(1,1)"_qs);
    ASSERT_EQ(f.figure.midpointQuestion, 1);
    ASSERT_EQ(f.figure.graphKind, 0);
    const Click clicks[] = {
        {2, 3, 1, {{2, 3}}},
        {4, 7, 2, {{2, 3}, {4, 7}}},
        {2, 3, 2, {{2, 3}, {4, 7}}},
        {0, 0, 3, {{2, 3}, {4, 7}, {0, 0}}},
        {5, 5, 2, {{2, 3}, {5, 5}}},
        {4, 7, 3, {{2, 3}, {5, 5}, {4, 7}}},
    };
    for (const Click &c : clicks) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        // The click lists the point of the last press as lastX and lastY
        // hold it.
        f.graph.lastX = int16_t(c.x);
        f.graph.lastY = int16_t(c.y);
        f.Picture6_Click();
        expectListed(f, c);
    }
    // A press on the point question itself keeps its point for the list.
    TestForm u;
    Form1 &g = present(u, u"点(-2,5)(4,-3)の中点を書き入れて"_qs, u"(1,1)"_qs);
    tap(g, 2, 3);
    tap(g, 4, 7);
    expectListed(g, {4, 7, 2, {{2, 3}, {4, 7}}});
}

// A line through the origin starts its list afresh at the origin with every
// click; a plain point question keeps no list at all.
TEST(GraphInput, ClickedPointsThroughTheOriginOrOfAPointQuestion)
{
    TestForm t;
    Form1 &f = present(t, u"y=2xのグラフを書いてください。"_qs, u"y=2x"_qs);
    for (const auto &[x, y] : {std::pair{3, 3}, std::pair{1, 2}, std::pair{-2, -4}}) {
        tap(f, x, y);
        expectListed(f, {x, y, 1, {{0, 0}}});
        const auto circles = opsOf(f.Picture6, CanvasOp::Circle);
        EXPECT_TRUE(std::any_of(circles.begin(), circles.end(),
                                [](const CanvasOp *op) { return op->x1 == 0 && op->y1 == 0 && op->r == 0.2; }));
    }

    TestForm u;
    Form1 &g = present(u, u"(3,-2)の点を書き入れてください。"_qs, u"(3,-2)"_qs);
    tap(g, 3, -2);
    tap(g, 1, 1);
    EXPECT_EQ(g.graph.clickCount, 0);
    EXPECT_EQ(opsOf(g.Picture6, CanvasOp::Circle).size(), 1u); // only the point itself
}
