#pragma once
// Exact fractions, for answers that must be right to the last digit: a
// slope of -2/3, an area of 38.5, a hidden x of 25/4. Always kept reduced,
// the denominator positive.
#include <QString>

#include <optional>

namespace variants {

struct Frac {
    long long n = 0, d = 1;
    Frac() = default;
    Frac(long long num, long long den = 1);
    bool isInt() const { return d == 1; }
    bool isZero() const { return n == 0; }
    friend Frac operator+(Frac a, Frac b) { return {a.n * b.d + b.n * a.d, a.d * b.d}; }
    friend Frac operator-(Frac a, Frac b) { return {a.n * b.d - b.n * a.d, a.d * b.d}; }
    friend Frac operator*(Frac a, Frac b) { return {a.n * b.n, a.d * b.d}; }
    // The callers keep divisors away from 0; one that slipped through would
    // leave d = 0 and a text such as "1/0", which matches no answer.
    friend Frac operator/(Frac a, Frac b) { return {a.n * b.d, a.d * b.n}; }
    friend bool operator==(Frac a, Frac b) { return a.n == b.n && a.d == b.d; }
    friend bool operator<(Frac a, Frac b) { return a.n * b.d < b.n * a.d; }
    Frac abs() const { return {n < 0 ? -n : n, d}; }
    double value() const { return double(n) / double(d); }
};

// "3", "-5", "+2", "-9/2"; nothing for any other text or a zero denominator.
std::optional<Frac> parseFrac(const QString &text);

// The exact square root, when both parts are perfect squares.
std::optional<Frac> squareRoot(Frac f);

} // namespace variants
