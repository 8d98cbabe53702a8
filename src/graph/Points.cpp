#include "graph/Points.h"

#include "controls/Convert.h"

namespace points {

PointParts partsOf(const QString &text)
{
    // As the judge reads a stored point: the first comma, with the first
    // character before it taken as "(" and the last of the text as ")".
    PointParts parts;
    const int c = int(text.indexOf(u',')) + 1;
    if (c >= 3)
        parts.x = text.mid(1, c - 2);
    if (c > 0 && text.size() - c - 1 > 0)
        parts.y = text.mid(c, text.size() - c - 1);
    return parts;
}

std::vector<PointParts> bracketsIn(const QString &text)
{
    std::vector<PointParts> found;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = text.indexOf(u'(', from);
        if (open < 0)
            break;
        const qsizetype comma = text.indexOf(u',', open);
        const qsizetype close = text.indexOf(u')', open);
        if (comma < 0 || close < 0 || comma > close)
            break;
        found.push_back({text.mid(open + 1, comma - open - 1), text.mid(comma + 1, close - comma - 1)});
        from = close + 1;
    }
    return found;
}

std::vector<Point> pointsIn(const QString &text)
{
    std::vector<Point> found;
    for (const PointParts &p : bracketsIn(text))
        found.push_back({conv::textToInt16(p.x), conv::textToInt16(p.y)});
    return found;
}

QString pointText(double x, double y)
{
    return u'(' + conv::doubleText(x) + u',' + conv::doubleText(y) + u')';
}

} // namespace points
