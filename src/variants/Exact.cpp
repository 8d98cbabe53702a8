#include "variants/Exact.h"

#include <QRegularExpression>

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

std::optional<Frac> parseFrac(const QString &t)
{
    static const QRegularExpression re(uR"(^([+-]?)(\d+)(?:/(\d+))?$)"_qs);
    const auto m = re.match(t.trimmed());
    if (!m.hasMatch() || (m.hasCaptured(3) && m.captured(3).toLongLong() == 0))
        return std::nullopt;
    const long long n = m.captured(2).toLongLong();
    return Frac(m.captured(1) == u"-" ? -n : n, m.hasCaptured(3) ? m.captured(3).toLongLong() : 1);
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
