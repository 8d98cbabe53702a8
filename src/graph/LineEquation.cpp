#include "graph/LineEquation.h"

#include "controls/Convert.h"

#include <algorithm>

namespace lines {

namespace {

// Characters strictly between two 1-based positions.
QString between(const QString &s, int from, int to)
{
    return to - from - 1 > 0 ? s.mid(from, to - from - 1) : QString();
}

// A number written as the banks write them ("3", "-2", "+4", "2.5", "-2/5",
// "4/3"), as a whole-number fraction; nothing for any other text.
struct Exact {
    long long num = 0, den = 1;
};

std::optional<long long> wholeNumber(const QString &s, long long *scale = nullptr)
{
    int i = 0;
    long long sign = 1;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        sign = s[i++] == u'-' ? -1 : 1;
    long long value = 0, tens = 1;
    bool digits = false, point = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'.' && !point && scale) {
            point = true;
            continue;
        }
        if (c < u'0' || c > u'9' || value > 1000000000LL)
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (point)
            tens *= 10;
        digits = true;
    }
    if (!digits)
        return std::nullopt;
    if (scale)
        *scale = tens;
    return sign * value;
}

std::optional<Exact> exactNumber(const QString &s)
{
    const qsizetype slash = s.indexOf(u'/');
    if (slash >= 0) {
        const auto n = wholeNumber(s.left(slash));
        const auto d = wholeNumber(s.mid(slash + 1));
        if (!n || !d || *d <= 0 || s.mid(slash + 1).startsWith(u'+'))
            return std::nullopt;
        return Exact{*n, *d};
    }
    long long tens = 1;
    const auto n = wholeNumber(s, &tens);
    if (!n)
        return std::nullopt;
    return Exact{*n, tens};
}

} // namespace

std::optional<LineParts> readLine(const QString &t)
{
    if (t.isEmpty())
        return std::nullopt;
    // One pass: the last "=", the last "x", and up to three "/".
    int e = 0, x = 0, slashes[3] = {0, 0, 0}, slashCount = 0;
    for (int i = 1; i <= t.size(); ++i) {
        const QChar ch = t[i - 1];
        if (ch == u'=')
            e = i;
        else if (ch == u'x')
            x = i;
        else if (ch == u'/') {
            if (slashCount == 3)
                return std::nullopt; // a fourth "/"
            slashes[slashCount++] = i;
        }
    }
    const int s1 = slashes[0], s2 = slashes[1];
    // "y=", a coefficient, "x", an intercept; a "/" after the "x" belongs to a
    // fractional intercept only when the slope has its own "/" first.
    if (e == 0 || x <= e || (s1 != 0 && (s1 < e || s1 > x)) || (s2 != 0 && s2 < x))
        return std::nullopt;

    LineParts parts;
    if (s1 == 0) {
        parts.num = conv::numericPrefix(between(t, e, x));
        parts.den = 1;
    } else {
        parts.num = conv::numericPrefix(between(t, e, s1));
        parts.den = conv::numericPrefix(between(t, s1, x));
    }
    const QString coefficient = between(t, e, x);
    if (coefficient == u"-")
        parts.num = -1;
    else if (coefficient.isEmpty())
        parts.num = 1;

    // Held within single range: a longer number is no intercept of ours.
    parts.intercept = float(std::clamp(conv::numericPrefix(t.mid(x)), -3.0e38, 3.0e38));
    if (s2 != 0) {
        const int16_t num = conv::textToInt16(between(t, x, s2));
        const int16_t den = conv::textToInt16(t.mid(s2));
        parts.intercept = den != 0 ? float(num) / float(den) : 0.0f;
    }
    return parts;
}

std::optional<InterceptFraction> interceptFraction(const QString &text)
{
    const qsizetype x = text.lastIndexOf(u'x');
    const QString tail = x >= 0 ? text.mid(x + 1) : QString();
    const qsizetype slash = tail.indexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return InterceptFraction{tail.left(slash), tail.mid(slash + 1)};
}

Coefficient coefficientOf(const QString &text)
{
    const int e = int(text.indexOf(u'=')) + 1, x = int(text.indexOf(u'x')) + 1;
    const QString coef = between(text, e, x);
    Coefficient c;
    if (coef == u"-") {
        c.num = -1;
    } else if (!coef.isEmpty()) {
        const qsizetype slash = coef.indexOf(u'/');
        c.num = conv::numericPrefix(slash >= 0 ? coef.left(slash) : coef);
        c.den = slash >= 0 ? conv::numericPrefix(coef.mid(slash + 1)) : 1;
    }
    return c;
}

bool passesThrough(const QString &equation, int x, int y)
{
    const qsizetype e = equation.indexOf(u'=');
    if (!equation.startsWith(u"y=") || e != 1)
        return false;
    const QString right = equation.mid(2);
    const long long X = x, Y = y;
    if (right.endsWith(u"/x")) {
        const auto k = wholeNumber(right.chopped(2));
        return k && X != 0 && X * Y == *k;
    }
    const qsizetype at = right.indexOf(u'x');
    if (at < 0 || right.indexOf(u'x', at + 1) >= 0)
        return false;
    // The coefficient before the x: nothing is 1, "-" is -1.
    const QString coefficient = right.left(at);
    std::optional<Exact> slope;
    if (coefficient.isEmpty() || coefficient == u"+")
        slope = Exact{1, 1};
    else if (coefficient == u"-")
        slope = Exact{-1, 1};
    else
        slope = exactNumber(coefficient);
    if (!slope)
        return false;
    QString rest = right.mid(at + 1);
    // y = a·x² (the banks' own square sign, ², or ^2): y·q = p·x².
    for (const QString &square : {QString(QChar(0xE000)), QString(QChar(0x00B2)), QStringLiteral("^2")})
        if (rest == square)
            return Y * slope->den == slope->num * X * X;
    Exact intercept{0, 1};
    if (!rest.isEmpty()) {
        if (rest[0] != u'+' && rest[0] != u'-')
            return false;
        const auto b = exactNumber(rest);
        if (!b)
            return false;
        intercept = *b;
    }
    // y = p/q·x + n/d  <=>  q·d·y = p·d·x + n·q.
    const long long q = slope->den, d = intercept.den;
    return q * d * Y == slope->num * d * X + intercept.num * q;
}

} // namespace lines
