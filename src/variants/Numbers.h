#pragma once
// The generators' own arithmetic and writing of numbers, slopes, lines and
// measures. The independent check reads these texts with code of its own,
// so a slip here is caught there.
#include "variants/Exact.h"
#include "variants/Rng.h"

#include <QString>

#include <cstdlib>
#include <optional>

namespace variants::gen {

inline int sign(long long v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

// A whole number like the bank's: 0 stays 0, otherwise the same sign and a
// size from 1 to most.
inline long long like(Rng &rng, long long original, long long most)
{
    if (original == 0)
        return 0;
    const long long v = rng.between(1, most);
    return original < 0 ? -v : v;
}

inline long long gcd(long long a, long long b)
{
    a = std::llabs(a);
    b = std::llabs(b);
    while (b) {
        const long long t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// A slope p/q in lowest terms, q > 0.
struct Slope {
    long long p = 1, q = 1;
    bool whole() const { return q == 1; }
    Frac value() const { return Frac(p, q); }
};

// A slope of the same sign and kind (whole or a fraction) as the bank's:
// whole ones up to mostWhole, fractions with a denominator from 2 to
// mostDen and a numerator up to mostNum.
std::optional<Slope> slopeLike(Rng &rng, Slope original, long long mostWhole, long long mostNum, long long mostDen);

// Reads "y=-2/3x+5", "y=x", "y=-x", "y=4x-7"; the intercept must be whole.
struct LineText {
    Slope m;
    long long b = 0;
};
std::optional<LineText> readLine(const QString &equation);

// The texts.
QString number(long long v);
QString number(Frac f);                        // "3", "-9/2"
QString slopeText(Slope m);                    // "2", "-1/2" (as the texts give a slope)
QString lineText(Slope m, long long b);        // "y=-1/2x+3", "y=x", "y=-x-5"
QString lineWithLetters(std::optional<Slope> m, std::optional<long long> b); // "y=ax-4", "y=3x+b"
QString inverseText(long long k);              // "y=6/x"
QString pointText(Frac x, Frac y);             // "(3,-2)"
QString piText(long long k);                   // "20π" (k >= 2)
QString measureText(Frac f);                   // "12", "38.5"; a fraction where no decimal ends

// The lattice points of y = m x + b on the plane's grid, -8..8 both ways.
int latticePoints(Slope m, long long b);
int latticePointsInverse(long long k);

} // namespace variants::gen
