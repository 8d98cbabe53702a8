// Reading equations such as "y=-5/3x-4", "y=6/x" and "3x-5y-15=0": slope and
// intercept, the plotted graph, common divisors, and the general form turned
// into the slope-intercept form step by step. Every routine accepts any text:
// one outside the shapes it knows leaves its outputs as they were.
#include "form/Form1.h"

#include "controls/Convert.h"
#include "graph/LineEquation.h"
#include "graph/Plot.h"

#include <cmath>

namespace {

// The square sign of the square function, written after the "x".
constexpr char16_t kSquareSign = 0xE000;

} // namespace

void Form1::parseLineEquation()
{
    const auto parts = lines::readLine(eq.lineText);
    if (!parts)
        return; // a text outside the accepted shapes changes nothing
    const int16_t pi = conv::toInt16(parts->num), qi = conv::toInt16(parts->den);
    eq.interceptText = conv::singleText(parts->intercept);
    eq.intercept = conv::toInt16(parts->intercept);
    if (qi != 0)
        eq.slopeText = conv::doubleText(double(pi) / double(qi));
    eq.slopeDenText = QString::number(qi);
    eq.slopeDen = qi;
    eq.slopeNumText = QString::number(pi);
    eq.slopeNum = pi;
}

void Form1::setGraphKindFrom(const QString &equation)
{
    const bool square = equation.contains(QChar(kSquareSign));
    if (equation.contains(u'x') && square && equation.contains(u"x"_qs + QChar(kSquareSign)))
        figure.graphKind = 3;
    if (equation.contains(u'x') && !square)
        figure.graphKind = 1;
    if (equation.contains(u"/x"_qs))
        figure.graphKind = 2;
}

void Form1::drawEquationGraph()
{
    eq.lineText = eq.graphEquation;
    parseLineEquation();
    eq.graphIntercept = conv::textToInt16(eq.interceptText);
    setGraphKindFrom(eq.graphEquation);

    const double p = eq.slopeNum, q = eq.slopeDen;
    const double slope = q != 0 ? p / q : 0;
    double b = eq.graphIntercept;
    if (!eq.interceptNumText.isEmpty() && eq.graphIntercept == 0) {
        const double den = conv::numericPrefix(eq.interceptDenText);
        b = den != 0 ? conv::numericPrefix(eq.interceptNumText) / den : 0;
    }
    plot::Walk walk{-8, 14, 0.01};
    walk.twoBranches = figure.graphKind == 2;
    plot::curve(Picture6, walk, plot::graphOf(figure.graphKind, slope, b, p));
}

void Form1::findGcdLcm()
{
    if (eq.gcdArgA == 0 || eq.gcdArgB == 0)
        return;
    int a = eq.gcdArgA, b = eq.gcdArgB;
    int g = 1;
    for (int found = 0; found < 29; ++found) {
        int prime = 0;
        for (int i = 1; i <= 17; ++i) {
            const int pr = run.primeTable[i];
            if (pr > 1 && a % pr == 0 && b % pr == 0) {
                prime = pr;
                break;
            }
        }
        if (prime == 0)
            break;
        a /= prime;
        b /= prime;
        g *= prime;
    }
    eq.gcdValue = conv::toInt16(g);
    eq.lcmValue = conv::toInt16(double(a) * double(b) * double(g));
}

void Form1::splitTerms()
{
    for (int i = 1; i <= 5; ++i)
        eq.equationTerms[i].clear();
    const QString &t = run.equationText;
    int count = 0;
    int start = 0; // 0-based start of the current term
    bool inBrackets = false;
    bool afterEquals = false;
    auto addTerm = [&](const QString &term) {
        if (count < 5)
            eq.equationTerms[++count] = term;
    };
    for (int i = 0; i < t.size(); ++i) {
        const QChar ch = t[i];
        if (ch == u'(')
            inBrackets = true;
        else if (ch == u')')
            inBrackets = false;
        if (i == 0 || inBrackets)
            continue;
        const bool splitter = ch == u'+' || ch == u'-' || ch == u'=' || ch == u'×' || ch == u'÷';
        if (!splitter)
            continue;
        // "=-" stays the head of one term.
        if (ch == u'-' && afterEquals && i == start + 1)
            continue;
        addTerm(t.mid(start, i - start));
        start = i;
        afterEquals = ch == u'=';
    }
    if (start < t.size())
        addTerm(t.mid(start));
}
