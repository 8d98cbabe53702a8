#include "variants/Exact.h"

#include <cmath>
#include <numeric>

namespace variants {

Frac::Frac(long long num, long long den) : n(num), d(den)
{
    if (d < 0) {
        n = -n;
        d = -d;
    }
    const long long g = std::gcd(n, d);
    if (g > 1) {
        n /= g;
        d /= g;
    }
}

std::optional<Frac> parseFrac(const QString &text)
{
    // By hand rather than by pattern: the check reads thousands of numbers
    // a second.
    const QStringView t = QStringView(text).trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    auto digits = [&](long long &out) {
        const qsizetype from = i;
        out = 0;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') {
            if (out < 100000000000000000LL)
                out = out * 10 + (t[i].unicode() - u'0');
            ++i;
        }
        return i > from;
    };
    long long n = 0, d = 1;
    if (!digits(n))
        return std::nullopt;
    if (i < t.size() && t[i] == u'/') {
        ++i;
        if (!digits(d) || d == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    return Frac(negative ? -n : n, d);
}

std::optional<Frac> squareRoot(Frac f)
{
    const auto root = [](long long v) -> std::optional<long long> {
        if (v < 0)
            return std::nullopt;
        const auto r = std::llround(std::sqrt(double(v)));
        return r * r == v ? std::optional(r) : std::nullopt;
    };
    const auto n = root(f.n), d = root(f.d);
    return n && d ? std::optional(Frac(*n, *d)) : std::nullopt;
}

} // namespace variants
