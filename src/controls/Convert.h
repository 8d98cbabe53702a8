#pragma once
// The program's one place for turning numbers into text and back, and for
// colours. Every rule here is one the learner can see: a score on a label, a
// coordinate printed beside a point, a number read from a results file.
#include <QString>
#include <cstdint>

namespace conv {

// The number at the start of a text, after leading blanks: "20π" gives 20,
// "-" and "" give 0, "+1/" gives 1, "1e3x" gives 1000. Never fails.
double numericPrefix(const QString &text);

// Rounds to the nearest integer, halves to the even neighbour, and clamps to
// the 16-bit range. A value that does not fit is held at the limit rather than
// stopping the program; NaN gives 0.
int16_t toInt16(double value);

// numericPrefix followed by toInt16.
int16_t textToInt16(const QString &text);

// Adds with the 16-bit limit held rather than wrapped.
int16_t add16(int16_t a, int b);

// Shortest text of a number at single precision (7 significant digits) and
// double precision (15): 2/3 gives "0.6666667" and "0.666666666666667",
// -0.5 gives "-0.5", 3 gives "3". No leading blank.
QString singleText(float value);
QString doubleText(double value);

// A number printed as a print item: one blank before a number that is not
// negative, one blank after it (" 5 ", "-5 ").
QString printItem(double value);

// The standard 16-colour palette as 24-bit values with red in the lowest byte.
int32_t paletteColor(int index);

// A colour from its three components, red in the lowest byte.
constexpr int32_t rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

} // namespace conv
