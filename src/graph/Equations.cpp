// Reading equations such as "y=-5/3x-4", "y=6/x" and "3x-5y-15=0": slope and
// intercept, the plotted graph, common divisors, and the general form turned
// into the slope-intercept form step by step. Every routine accepts any text:
// one outside the shapes it knows leaves its outputs as they were.
#include "form/Form1.h"

#include "controls/Convert.h"

#include <cmath>

namespace {

// Characters strictly between two 1-based positions.
QString between(const QString &s, int from, int to)
{
    return to - from - 1 > 0 ? s.mid(from, to - from - 1) : QString();
}

// The square sign of the square function, written after the "x".
constexpr char16_t kSquareSign = 0xE000;

double clampPlot(double y) { return std::clamp(y, -100000.0, 100000.0); }

} // namespace

void Form1::parseLineEquation()
{
    const QString &t = eq.lineText;
    if (t.isEmpty())
        return;
    int e = 0, x = 0, slashes[3] = {0, 0, 0}, slashCount = 0;
    for (int i = 1; i <= t.size(); ++i) {
        const QChar ch = t[i - 1];
        if (ch == u'=')
            e = i;
        else if (ch == u'x')
            x = i;
        else if (ch == u'/') {
            if (slashCount == 3)
                return; // a fourth "/"
            slashes[slashCount++] = i;
        }
    }
    const int s1 = slashes[0], s2 = slashes[1];
    // "y=", a coefficient, "x", an intercept; a "/" after the "x" belongs to a
    // fractional intercept only when the slope has its own "/" first.
    if (e == 0 || x <= e)
        return;
    if (s1 != 0 && (s1 < e || s1 > x))
        return;
    if (s2 != 0 && s2 < x)
        return;

    double p, q;
    if (s1 == 0) {
        p = conv::numericPrefix(between(t, e, x));
        q = 1;
    } else {
        p = conv::numericPrefix(between(t, e, s1));
        q = conv::numericPrefix(between(t, s1, x));
    }
    const QString coefficient = between(t, e, x);
    if (coefficient == u"-")
        p = -1;
    else if (coefficient.isEmpty())
        p = 1;

    // Held within single range: a longer number is no intercept of ours.
    float b = float(std::clamp(conv::numericPrefix(t.mid(x)), -3.0e38, 3.0e38));
    if (s2 != 0) {
        const int16_t num = conv::textToInt16(between(t, x, s2));
        const int16_t den = conv::textToInt16(t.mid(s2));
        b = den != 0 ? float(num) / float(den) : 0.0f;
    }
    const int16_t pi = conv::toInt16(p), qi = conv::toInt16(q);
    eq.interceptText = conv::singleText(b);
    eq.intercept = conv::toInt16(b);
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

    Canvas &c = Picture6;
    const double p = eq.slopeNum, q = eq.slopeDen;
    const double slope = q != 0 ? p / q : 0;
    double b = eq.graphIntercept;
    if (!eq.interceptNumText.isEmpty() && eq.graphIntercept == 0) {
        const double den = conv::numericPrefix(eq.interceptDenText);
        b = den != 0 ? conv::numericPrefix(eq.interceptNumText) / den : 0;
    }
    bool started = false;
    double y = 0;
    for (double x = -8; x <= 14; x += 0.01) {
        switch (figure.graphKind) {
        case 1:
            y = x * slope + b;
            break;
        case 2:
            // The two branches of an inverse proportion are drawn apart: a
            // stroke joining them along the y-axis would be a false line.
            if (std::abs(x) < 1e-9) {
                started = false;
                continue;
            }
            if (started && c.CurrentX < 0 && x > 0)
                started = false;
            y = p / x;
            break;
        case 3:
            y = x * slope * x;
            break;
        default:
            break;
        }
        y = clampPlot(y);
        if (!started) {
            c.pset(x, y);
            started = true;
        } else {
            c.lineTo(x, y);
        }
    }
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
