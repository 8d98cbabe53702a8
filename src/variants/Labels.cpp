#include "variants/Labels.h"

namespace variants::labels {

namespace {

// Widths in ems of the program's proportional Gothic, rounded up a little.
double emWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return 0.58;
    if (u == u' ')
        return 0.32;
    if (u == u',' || u == u'.')
        return 0.3;
    if (u == u'(' || u == u')' || u == u'-' || u == u'/')
        return 0.42;
    if (u >= u'A' && u <= u'Z')
        return 0.72;
    if (u < 0x100)
        return 0.6;
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
    return {x, y, x + w * em * kUnitX, y - 1.0 * em * kUnitY};
}

QString numberItem(long long v) { return (v >= 0 ? u" "_qs : QString()) + QString::number(v) + u' '; }

QString pointLabel(const QString &name, long long x, long long y)
{
    return name + u'(' + numberItem(x) + u',' + numberItem(y) + u')';
}

bool overlap(const Box &a, const Box &b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

bool inside(const Box &b, double left, double top, double right, double bottom)
{
    return b.left >= left && b.right <= right && b.top <= top && b.bottom >= bottom;
}

bool apart(const std::vector<Box> &boxes, const Plane &plane, const std::vector<Box> &fixed)
{
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (!inside(boxes[i], plane.left, plane.top, plane.right, plane.bottom))
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

const std::vector<Box> &coordinatePlaneTexts()
{
    static const std::vector<Box> texts = {
        textBox(0.2, -0.1, u"0"_qs, 10),  textBox(4.8, -0.1, u"5"_qs, 10), textBox(-5.2, -0.1, u"-5"_qs, 10),
        textBox(0.3, 5.1, u"5"_qs, 10),   textBox(0.2, -4.8, u"-5"_qs, 10),
        textBox(3, -8, u"1めもりを1cmとする"_qs, 10),
    };
    return texts;
}

} // namespace variants::labels
