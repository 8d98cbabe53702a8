#include "variants/Labels.h"

namespace variants::labels {

namespace {

// Widths in ems of the program's proportional Gothic (IPAPGothic),
// measured, rounded up a little.
double emWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return 0.64;
    if (u == u' ' || u == u',' || u == u'.')
        return 0.29;
    if (u == u'(' || u == u')')
        return 0.35;
    if (u == u'-')
        return 0.38;
    if (u == u'/' || u == u'y' || u == u'x')
        return 0.52;
    if (u == u'm' || u == u'w')
        return 0.85;
    if (u >= u'A' && u <= u'Z')
        return 0.82;
    if (u < 0x100)
        return 0.66;
    return 1.0;
}

// One twip in plane units, across and down.
constexpr double kUnitX = 18.0 / 5175.0;
constexpr double kUnitY = 18.0 / 4935.0;

} // namespace

Box textBox(double x, double y, const QString &text, double points)
{
    const double em = points * 20; // twips
    double w = 0;
    for (QChar c : text)
        w += emWidth(c);
    // The ink of a line of text: from a little under its top to the foot of
    // its lowest glyphs; the line's leading is no part of it.
    return {x, y - 0.08 * em * kUnitY, x + w * em * kUnitX, y - 0.95 * em * kUnitY};
}

QString numberItem(long long v) { return (v >= 0 ? u" "_qs : QString()) + QString::number(v) + u' '; }

QString pointLabel(const QString &name, long long x, long long y)
{
    return name + u'(' + numberItem(x) + u',' + numberItem(y) + u')';
}

bool overlap(const Box &a, const Box &b)
{
    // Labels that only touch are read as one: keep a little gap.
    constexpr double gap = 0.25;
    return a.left < b.right + gap && b.left < a.right + gap && a.bottom < b.top + gap && b.bottom < a.top + gap;
}

bool inside(const Box &b, double left, double top, double right, double bottom)
{
    return b.left >= left && b.right <= right && b.top <= top && b.bottom >= bottom;
}

bool apart(const std::vector<Box> &boxes, const Plane &plane, const std::vector<Box> &fixed)
{
    // Not against the picture's edge either.
    constexpr double margin = 0.15;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!inside(boxes[i], plane.left + margin, plane.top - margin, plane.right - margin, plane.bottom + margin))
            return false;
        for (size_t j = i + 1; j < boxes.size(); ++j)
            if (overlap(boxes[i], boxes[j]))
                return false;
        for (const Box &f : fixed)
            if (overlap(boxes[i], f))
                return false;
    }
    return true;
}

const std::vector<Box> &coordinatePlaneMarks()
{
    static const std::vector<Box> marks = {
        textBox(0.2, -0.1, u"0"_qs, 10),  textBox(4.8, -0.1, u"5"_qs, 10), textBox(-5.2, -0.1, u"-5"_qs, 10),
        textBox(0.3, 5.1, u"5"_qs, 10),   textBox(0.2, -4.8, u"-5"_qs, 10),
        textBox(3, -8, u"1めもりを1cmとする"_qs, 10),
        // The axes themselves: a label across one is hard to read.
        Box{-0.05, 8, 0.05, -8}, Box{-8, 0.05, 8, -0.05},
    };
    return marks;
}

const std::vector<Box> &applicationPlaneNumbers(bool xAxis, bool yAxis)
{
    // As the application planes print them, at the largest size the plane
    // has then.
    static const std::vector<Box> both = {
        textBox(4.8, 0, u" 5 "_qs, 12),   textBox(9.6, 0, u" 10 "_qs, 12),  textBox(-5.2, 0, u"-5 "_qs, 12),
        textBox(0, 5.2, u" 5 "_qs, 12),   textBox(0, 10.2, u" 10 "_qs, 12), textBox(0, -4.6, u"-5 "_qs, 12),
    };
    static const std::vector<Box> xs(both.begin(), both.begin() + 3), ys(both.begin() + 3, both.end());
    static const std::vector<Box> none;
    return xAxis && yAxis ? both : xAxis ? xs : yAxis ? ys : none;
}

} // namespace variants::labels
