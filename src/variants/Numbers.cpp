#include "variants/Numbers.h"

#include <QRegularExpression>

namespace variants::gen {

std::optional<Slope> slopeLike(Rng &rng, Slope original, long long mostWhole, long long mostNum, long long mostDen)
{
    const long long s = original.p < 0 ? -1 : 1;
    if (original.whole())
        return Slope{s * rng.between(1, mostWhole), 1};
    const long long q = rng.between(2, mostDen), p = rng.between(1, mostNum);
    if (gcd(p, q) != 1)
        return std::nullopt;
    return Slope{s * p, q};
}

std::optional<LineText> readLine(const QString &equation)
{
    static const QRegularExpression re(uR"(^y=(-?)(\d*)(?:/(\d+))?x([+-]\d+)?$)"_qs);
    const auto m = re.match(equation.trimmed());
    if (!m.hasMatch() || (m.captured(2).isEmpty() && m.hasCaptured(3)))
        return std::nullopt;
    LineText l;
    const long long p = m.captured(2).isEmpty() ? 1 : m.captured(2).toLongLong();
    const long long q = m.hasCaptured(3) ? m.captured(3).toLongLong() : 1;
    if (p == 0 || q == 0 || gcd(p, q) != 1)
        return std::nullopt;
    l.m = {m.captured(1) == u"-" ? -p : p, q};
    l.b = m.hasCaptured(4) ? m.captured(4).toLongLong() : 0;
    return l;
}

QString number(long long v) { return QString::number(v); }

QString number(Frac f) { return f.isInt() ? QString::number(f.n) : QStringLiteral("%1/%2").arg(f.n).arg(f.d); }

QString slopeText(Slope m) { return m.whole() ? QString::number(m.p) : QStringLiteral("%1/%2").arg(m.p).arg(m.q); }

namespace {
QString xTerm(Slope m)
{
    if (m.whole() && m.p == 1)
        return QStringLiteral("x");
    if (m.whole() && m.p == -1)
        return QStringLiteral("-x");
    return slopeText(m) + u'x';
}
} // namespace

QString lineText(Slope m, long long b)
{
    QString s = u"y="_qs + xTerm(m);
    if (b > 0)
        s += u'+' + QString::number(b);
    else if (b < 0)
        s += QString::number(b);
    return s;
}

QString lineWithLetters(std::optional<Slope> m, std::optional<long long> b)
{
    QString s = u"y="_qs + (m ? xTerm(*m) : u"ax"_qs);
    if (!b)
        s += u"+b"_qs;
    else if (*b > 0)
        s += u'+' + QString::number(*b);
    else if (*b < 0)
        s += QString::number(*b);
    return s;
}

QString inverseText(long long k) { return QStringLiteral("y=%1/x").arg(k); }

QString pointText(Frac x, Frac y) { return u'(' + number(x) + u',' + number(y) + u')'; }

QString piText(long long k) { return QString::number(k) + u"π"_qs; }

QString measureText(Frac f)
{
    if (f.isInt())
        return QString::number(f.n);
    long long d = f.d;
    int twos = 0, fives = 0;
    while (d % 2 == 0) {
        d /= 2;
        ++twos;
    }
    while (d % 5 == 0) {
        d /= 5;
        ++fives;
    }
    if (d != 1)
        return number(f);
    // A decimal that ends: as many places as the larger power.
    const int places = std::max(twos, fives);
    long long scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    const long long scaled = f.n * (scale / f.d);
    const long long whole = std::llabs(scaled) / scale, part = std::llabs(scaled) % scale;
    return (f.n < 0 ? u"-"_qs : QString()) + QString::number(whole) + u'.'
           + QStringLiteral("%1").arg(part, places, 10, QLatin1Char('0'));
}

int latticePoints(Slope m, long long b)
{
    int n = 0;
    for (long long x = -8; x <= 8; ++x) {
        const long long num = m.p * x + b * m.q;
        if (num % m.q == 0 && std::llabs(num / m.q) <= 8)
            ++n;
    }
    return n;
}

int latticePointsInverse(long long k)
{
    int n = 0;
    for (long long x = -8; x <= 8; ++x)
        if (x != 0 && k % x == 0 && std::llabs(k / x) <= 8)
            ++n;
    return n;
}

} // namespace variants::gen
