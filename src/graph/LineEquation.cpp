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

} // namespace lines
