#include "ui/QtTextMetrics.h"

#include "ui/Fonts.h"

#include <cmath>

const QFontMetricsF &QtTextMetrics::metrics(const QString &fontName, double sizePt, bool bold) const
{
    const auto key = std::make_tuple(fontName, int(std::lround(sizePt * 100)), bold);
    auto it = cache_.find(key);
    if (it == cache_.end())
        it = cache_.emplace(key, std::make_unique<QFontMetricsF>(fonts::twipsFont(fontName, sizePt, bold)))
                 .first;
    return *it->second;
}

double QtTextMetrics::widthTwips(const QString &text, const QString &fontName, double sizePt,
                                 bool bold) const
{
    return metrics(fontName, sizePt, bold).horizontalAdvance(text);
}

double QtTextMetrics::heightTwips(const QString &fontName, double sizePt, bool bold) const
{
    return metrics(fontName, sizePt, bold).height();
}
