#include "ui/QtTextMetrics.h"

#include "ui/Fonts.h"

#include <cmath>

QtTextMetrics::Font &QtTextMetrics::font(const QString &fontName, double sizePt, bool bold) const
{
    const auto key = std::make_tuple(fontName, int(std::lround(sizePt * 100)), bold);
    auto it = cache_.find(key);
    if (it == cache_.end())
        it = cache_.emplace(key, Font{std::make_unique<QFontMetricsF>(fonts::twipsFont(fontName, sizePt, bold)), {}})
                 .first;
    return it->second;
}

const QFontMetricsF &QtTextMetrics::metrics(const QString &fontName, double sizePt, bool bold) const
{
    return *font(fontName, sizePt, bold).metrics;
}

double QtTextMetrics::widthTwips(const QString &text, const QString &fontName, double sizePt,
                                 bool bold) const
{
    Font &f = font(fontName, sizePt, bold);
    if (const auto known = f.widths.find(text); known != f.widths.end())
        return known->second;
    if (f.widths.size() > 4096)
        f.widths.clear();
    const double w = f.metrics->horizontalAdvance(text);
    f.widths.emplace(text, w);
    return w;
}

double QtTextMetrics::heightTwips(const QString &fontName, double sizePt, bool bold) const
{
    return metrics(fontName, sizePt, bold).height();
}
