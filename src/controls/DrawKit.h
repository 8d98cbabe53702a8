#pragma once
// The small drawing kit of the figures and explanations: the palette's named
// colours (24-bit values with red in the lowest byte), labels printed at a
// point, and the plain texts the figures print.
#include "controls/Canvas.h"
#include "controls/Convert.h"

#include <QString>

#include <optional>

namespace kit {

inline constexpr int32_t kBlack = 0;
inline constexpr int32_t kRed = 255;
inline constexpr int32_t kDarkRed = 192;
inline constexpr int32_t kGreen = 65280;
inline constexpr int32_t kDarkGreen = 32768;
inline constexpr int32_t kOlive = 32896;
inline constexpr int32_t kBlue = 16711680;
inline constexpr int32_t kDarkBlue = 12582912;
inline constexpr int32_t kLightGreen = 12648384;
inline constexpr int32_t kPaleYellow = 8454143;

// Whether a question holds a keyword.
inline bool has(const QString &text, const char16_t *word) { return text.contains(QString::fromUtf16(word)); }

// A number as the explanations write it: plain, shortest.
inline QString num(double v) { return conv::doubleText(v); }

// A text item printed with its top left at (x, y), in a colour if given.
inline void printAt(Canvas &c, double x, double y, const QString &text, std::optional<int32_t> color = {})
{
    if (color)
        c.ForeColor = *color;
    c.CurrentX = x;
    c.CurrentY = y;
    c.print(text);
}

// A number printed as a print item at (x, y): a blank before it when it is
// not negative, and one after it.
inline void printNumberAt(Canvas &c, double x, double y, double value, std::optional<int32_t> color = {})
{
    if (color)
        c.ForeColor = *color;
    c.CurrentX = x;
    c.CurrentY = y;
    c.printNumber(value);
}

// A named point as print items, "A(" 3 "," -2 ")": each number with its
// blanks, as the figures label their points.
inline void printPointAt(Canvas &c, double x, double y, const QString &name, double px, double py)
{
    c.CurrentX = x;
    c.CurrentY = y;
    c.print(name + u'(', true);
    c.printNumber(px, true);
    c.print(QStringLiteral(","), true);
    c.printNumber(py, true);
    c.print(QStringLiteral(")"));
}

// A circle filled with a colour, the box's fill style left as it was.
inline void filledCircle(Canvas &c, double x, double y, double r, int32_t fill)
{
    const int style = c.FillStyle;
    c.FillColor = fill;
    c.FillStyle = 0;
    c.circle(x, y, r);
    c.FillStyle = style;
}

} // namespace kit
