// The equation routines: slope and intercept read from "y=ax+b" texts, the
// plotted graph of an equation, common divisors, and the general form turned
// into the slope-intercept form.
#include "TestForm.h"

#include <cmath>
#include <random>

namespace {

// Every output of the line parser, so that "unchanged" can be compared whole.
struct ParsedLine {
    int16_t slopeNum, slopeDen, intercept;
    QString slopeNumText, slopeDenText, slopeText, interceptText;
    bool operator==(const ParsedLine &) const = default;
};

ParsedLine outputs(const Form1 &f)
{
    const EquationState &e = f.eq;
    return {e.slopeNum, e.slopeDen, e.intercept, e.slopeNumText, e.slopeDenText, e.slopeText, e.interceptText};
}

void setSentinels(Form1 &f)
{
    f.eq.slopeNum = 111;
    f.eq.slopeDen = 222;
    f.eq.intercept = 333;
    f.eq.slopeNumText = u"num?"_qs;
    f.eq.slopeDenText = u"den?"_qs;
    f.eq.slopeText = u"slope?"_qs;
    f.eq.interceptText = u"b?"_qs;
}

void parse(Form1 &f, const QString &text)
{
    f.eq.lineText = text;
    f.parseLineEquation();
}

std::vector<QPointF> plottedPoints(const Canvas &c)
{
    std::vector<QPointF> out;
    for (const CanvasOp &op : c.ops())
        if (op.kind == CanvasOp::Polyline)
            out.insert(out.end(), op.points.begin(), op.points.end());
    return out;
}

QString randomText(std::mt19937 &gen, const QString &alphabet, int maxLength)
{
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, int(alphabet.size()) - 1);
    QString s;
    for (int n = length(gen); n > 0; --n)
        s += alphabet[pick(gen)];
    return s;
}

} // namespace

using LineEquation = StartedForm;
using EquationGraph = StartedForm;
using GcdLcm = StartedForm;
using StandardForm = StartedForm;

// ---------------------------------------------------------------------------
// parseLineEquation

TEST_F(LineEquation, SlopeAndInterceptOfTheAcceptedShapes)
{
    const struct {
        const char16_t *text;
        int16_t num, den, intercept;
        const char16_t *slopeText, *interceptText;
    } cases[] = {
        {u"y=x", 1, 1, 0, u"1", u"0"},
        {u"y=-x", -1, 1, 0, u"-1", u"0"},
        {u"y=-x+3", -1, 1, 3, u"-1", u"3"},
        {u"y=5x-2", 5, 1, -2, u"5", u"-2"},
        {u"y=-1/2x-3", -1, 2, -3, u"-0.5", u"-3"},
        {u"y=-5/3x-4", -5, 3, -4, u"-1.66666666666667", u"-4"},
        {u"y=2/3x+4/3", 2, 3, 1, u"0.666666666666667", u"1.333333"},
        {u"y=2/3x-4/3", 2, 3, -1, u"0.666666666666667", u"-1.333333"},
        {u"y=1/2x+5/2", 1, 2, 2, u"0.5", u"2.5"}, // 2.5 rounds to the even 2
        {u"y=1/2x+7/2", 1, 2, 4, u"0.5", u"3.5"}, // 3.5 rounds to the even 4
    };
    for (const auto &k : cases) {
        const QString text = QString::fromUtf16(k.text);
        SCOPED_TRACE(text.toStdString());
        setSentinels(f);
        parse(f, text);
        EXPECT_EQ(f.eq.slopeNum, k.num);
        EXPECT_EQ(f.eq.slopeDen, k.den);
        EXPECT_EQ(f.eq.slopeNumText, QString::number(k.num));
        EXPECT_EQ(f.eq.slopeDenText, QString::number(k.den));
        EXPECT_EQ(f.eq.slopeText, QString::fromUtf16(k.slopeText));
        EXPECT_EQ(f.eq.intercept, k.intercept);
        EXPECT_EQ(f.eq.interceptText, QString::fromUtf16(k.interceptText));
    }
}

TEST_F(LineEquation, InverseProportionKeepsTheConstantAndLeavesTheSlopeText)
{
    setSentinels(f);
    parse(f, u"y=12/x"_qs);
    EXPECT_EQ(f.eq.slopeNum, 12);
    EXPECT_EQ(f.eq.slopeDen, 0);
    EXPECT_EQ(f.eq.slopeDenText, u"0"_qs);
    EXPECT_EQ(f.eq.slopeText, u"slope?"_qs);
    EXPECT_EQ(f.eq.intercept, 0);

    parse(f, u"y=-6/x"_qs);
    EXPECT_EQ(f.eq.slopeNum, -6);
    EXPECT_EQ(f.eq.slopeText, u"slope?"_qs);
}

TEST_F(LineEquation, TextOutsideTheShapesLeavesEveryOutput)
{
    setSentinels(f);
    const ParsedLine before = outputs(f);
    for (const char16_t *text : {u"", u"abc", u"y=5", u"=", u"x", u"x=y", u"x=2y+1", u"y=2x+4/3", u"y=1/2/3/4x",
                                 u"y=1/2x+1/3/4/5", u"y/2=x"}) {
        parse(f, QString::fromUtf16(text));
        EXPECT_EQ(outputs(f), before) << QString::fromUtf16(text).toStdString();
    }

    // Random texts from the characters of equations: never a crash, and a text
    // without "=" or without an "x" after the last "=" changes nothing.
    std::mt19937 gen(20261208);
    const QString alphabet = u"y=x-+/0123456789. e"_qs;
    for (int i = 0; i < 5000; ++i) {
        const QString text = randomText(gen, alphabet, 14);
        setSentinels(f);
        parse(f, text);
        const int e = int(text.lastIndexOf(u'='));
        if (e < 0 || text.lastIndexOf(u'x') < e) {
            ASSERT_EQ(outputs(f), before) << text.toStdString();
        }
    }
}

// ---------------------------------------------------------------------------
// drawEquationGraph

TEST_F(EquationGraph, KindOfGraphAndItsPoints)
{
    Canvas &c = f.Picture6;
    c.setScale(-9, 9, 9, -9);
    // Draws an equation on the cleared plane; returns the plotted points.
    const auto plot = [&](const QString &equation) {
        c.Cls();
        f.eq.graphEquation = equation;
        f.drawEquationGraph();
        return plottedPoints(c);
    };

    // A line with its intercept.
    std::vector<QPointF> pts = plot(u"y=2x+1"_qs);
    EXPECT_EQ(f.figure.graphKind, 1);
    EXPECT_EQ(f.eq.graphIntercept, 1);
    EXPECT_EQ(f.eq.lineText, u"y=2x+1"_qs);
    ASSERT_FALSE(pts.empty());
    EXPECT_NEAR(pts.front().x(), -8, 1e-9);
    EXPECT_GT(pts.back().x(), 13.98);
    EXPECT_LE(pts.back().x(), 14);
    for (const QPointF &p : pts)
        ASSERT_NEAR(p.y(), 2 * p.x() + 1, 1e-9);

    // A fractional intercept given in two parts stands in for a zero one.
    f.eq.interceptNumText = u"4"_qs;
    f.eq.interceptDenText = u"3"_qs;
    for (const QPointF &p : plot(u"y=2/3x"_qs))
        ASSERT_NEAR(p.y(), 2.0 / 3.0 * p.x() + 4.0 / 3.0, 1e-9);
    f.eq.interceptNumText.clear();
    f.eq.interceptDenText.clear();

    // The square function: "x" followed by the square sign.
    pts = plot(u"y=-3x"_qs + QChar(0xE000));
    EXPECT_EQ(f.figure.graphKind, 3);
    ASSERT_FALSE(pts.empty());
    for (const QPointF &p : pts)
        ASSERT_NEAR(p.y(), -3 * p.x() * p.x(), 1e-6);

    // An inverse proportion: two branches, none of its strokes crosses x = 0.
    plot(u"y=12/x"_qs);
    EXPECT_EQ(f.figure.graphKind, 2);
    const auto branches = opsOf(c, CanvasOp::Polyline);
    for (const CanvasOp *op : branches) {
        const bool negative = op->points.front().x() < 0;
        for (const QPointF &p : op->points) {
            ASSERT_EQ(p.x() < 0, negative) << "a stroke joins the branches at x = " << p.x();
            ASSERT_NEAR(p.y(), std::clamp(12 / p.x(), -100000.0, 100000.0), 1e-6);
        }
    }
    EXPECT_EQ(branches.size(), 2u);

    // A text that names no graph keeps the previous kind.
    f.eq.graphEquation = u"abc"_qs;
    f.drawEquationGraph();
    EXPECT_EQ(f.figure.graphKind, 2);
}

// ---------------------------------------------------------------------------
// findGcdLcm

TEST_F(GcdLcm, CommonPrimeFactorsUpTo59)
{
    const struct {
        int16_t a, b, gcd, lcm;
    } cases[] = {
        {12, 18, 6, 36},   {7, 5, 1, 35},     {18, 12, 6, 36},  {64, 48, 16, 192},
        {118, 177, 59, 354}, // 59 is the last prime looked at
        {122, 183, 1, 22326}, // 61 is beyond it: no common factor is found
    };
    for (const auto &k : cases) {
        f.eq.gcdArgA = k.a;
        f.eq.gcdArgB = k.b;
        f.findGcdLcm();
        EXPECT_EQ(f.eq.gcdValue, k.gcd) << k.a << ", " << k.b;
        EXPECT_EQ(f.eq.lcmValue, k.lcm) << k.a << ", " << k.b;
    }

    f.eq.gcdValue = 77;
    f.eq.lcmValue = 88;
    for (auto [a, b] : {std::pair<int16_t, int16_t>{0, 5}, {5, 0}, {0, 0}}) {
        f.eq.gcdArgA = a;
        f.eq.gcdArgB = b;
        f.findGcdLcm();
        EXPECT_EQ(f.eq.gcdValue, 77);
        EXPECT_EQ(f.eq.lcmValue, 88);
    }
}

// ---------------------------------------------------------------------------
// splitTerms and explainStandardForm

TEST_F(StandardForm, SplitTermsAtSignsOutsideBrackets)
{
    const struct {
        const char16_t *text;
        QStringList terms;
    } cases[] = {
        {u"3x-5y-15=0", {u"3x"_qs, u"-5y"_qs, u"-15"_qs, u"=0"_qs}},
        {u"2y-x=6", {u"2y"_qs, u"-x"_qs, u"=6"_qs}},
        {u"y=-2x+3", {u"y"_qs, u"=-2x"_qs, u"+3"_qs}},
        {u"-x+y=1", {u"-x"_qs, u"+y"_qs, u"=1"_qs}},
        {u"2(x-3)=y", {u"2(x-3)"_qs, u"=y"_qs}},
        {u"3×4÷2", {u"3"_qs, u"×4"_qs, u"÷2"_qs}},
        {u"y=x--1", {u"y"_qs, u"=x"_qs, u"-"_qs, u"-1"_qs}},
        {u"1+2+3+4+5+6+7", {u"1"_qs, u"+2"_qs, u"+3"_qs, u"+4"_qs, u"+5"_qs}},
        {u"", {}},
    };
    // Start from five stale terms: a shorter equation must not keep them.
    f.run.equationText = u"a+b+c+d+e"_qs;
    f.splitTerms();
    for (const auto &k : cases) {
        const QString text = QString::fromUtf16(k.text);
        f.run.equationText = text;
        f.splitTerms();
        QStringList got;
        for (int i = 1; i <= 5; ++i)
            got << f.eq.equationTerms[i];
        QStringList want = k.terms;
        while (want.size() < 5)
            want << QString();
        EXPECT_EQ(got, want) << text.toStdString();
    }
}

TEST_F(StandardForm, ExplanationEndsInSlopeInterceptForm)
{
    const struct {
        const char16_t *equation, *result;
    } cases[] = {
        {u"3x-5y-15=0", u"y=3/5x-3"}, {u"2y-x=6", u"y=1/2x+3"},   {u"2y=x+6", u"y=1/2x+3"},
        {u"y-2x-3=0", u"y=2x+3"},     {u"x+y-4=0", u"y=-x+4"},     {u"4x+2y=8", u"y=-2x+4"},
        {u"3y-2x=0", u"y=2/3x"},      {u"-3y+6x-9=0", u"y=2x-3"}, {u"2x-4y+2=0", u"y=1/2x+1/2"},
    };
    for (const auto &k : cases) {
        const QString eq = QString::fromUtf16(k.equation);
        SCOPED_TRACE(eq.toStdString());
        f.eq.standardEquation = eq;
        f.explainStandardForm();
        QString last;
        for (int i = 1; i <= 4; ++i)
            if (!f.eq.explainLines[i].isEmpty())
                last = f.eq.explainLines[i];
        EXPECT_EQ(last, QString::fromUtf16(k.result));
    }
}

TEST_F(StandardForm, TextThatIsNoEquationLeavesNoExplanation)
{
    for (const char16_t *text : {u"", u"abc", u"=", u"y", u"x+1", u"+++", u"=-=-", u"((((", u"y=y", u"2y-2y=x"}) {
        f.eq.explainLines[1] = u"stale"_qs;
        f.eq.standardEquation = QString::fromUtf16(text);
        f.explainStandardForm();
        for (int i = 1; i <= 4; ++i)
            EXPECT_TRUE(f.eq.explainLines[i].isEmpty()) << QString::fromUtf16(text).toStdString() << " line " << i;
    }

    // Random texts from the characters of equations never crash it.
    std::mt19937 gen(8122026);
    const QString alphabet = u"xy=+-0123456789()×÷ e"_qs;
    for (int i = 0; i < 5000; ++i) {
        f.eq.standardEquation = randomText(gen, alphabet, 16);
        f.explainStandardForm();
        const bool sayable = f.eq.standardEquation.contains(u'=') && f.eq.standardEquation.contains(u'y');
        if (!sayable) {
            ASSERT_TRUE(f.eq.explainLines[1].isEmpty()) << f.eq.standardEquation.toStdString();
        }
    }
}
