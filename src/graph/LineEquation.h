#pragma once
// A line equation read into its parts: "y=", a coefficient, "x" and an
// intercept ("y=x", "y=-x+3", "y=-5/3x-4", "y=2/3x+4/3"; "y=6/x" for an
// inverse proportion, whose slope has no denominator). Value functions,
// without a form; the form's procedures copy their results into its state.
#include <QString>

#include <optional>

namespace lines {

struct LineParts {
    double num = 0;   // the slope's numerator as read ("-" gives -1, nothing 1)
    double den = 1;   // its denominator (1 without "/"; 0 for "y=6/x")
    float intercept = 0; // single precision, a fraction divided out
};

// The parts of a text in the accepted shape; nothing for any other text
// (no "=" before an "x", a "/" where none may stand, a fourth "/").
std::optional<LineParts> readLine(const QString &text);

// The intercept written as a fraction after the "x" ("y=2/3x+4/3" gives
// "+4" and "3"); nothing when the intercept is no fraction.
struct InterceptFraction {
    QString num, den;
};
std::optional<InterceptFraction> interceptFraction(const QString &text);

// The coefficient written between "=" and "x": numerator and denominator as
// numbers, "-" giving -1 and nothing 1. Reads any text, as far as it goes.
struct Coefficient {
    double num = 1, den = 1;
};
Coefficient coefficientOf(const QString &text);

// Whether the lattice point (x, y) lies exactly on the graph of the equation:
// a line "y=p/qx+n/d" (q·d·y = p·d·x + n·q, in whole numbers, never rounded),
// an inverse proportion "y=k/x" (x·y = k) or a parabola "y=ax²". False for a
// text that is none of these.
bool passesThrough(const QString &equation, int x, int y);

} // namespace lines
