#pragma once
#include "controls/TextMetrics.h"

#include <QFontMetricsF>

#include <map>
#include <memory>
#include <tuple>

// Text sizes measured with the real fonts, in twips.
class QtTextMetrics : public TextMetrics {
public:
    double widthTwips(const QString &text, const QString &fontName, double sizePt,
                      bool bold) const override;
    double heightTwips(const QString &fontName, double sizePt, bool bold) const override;

private:
    const QFontMetricsF &metrics(const QString &fontName, double sizePt, bool bold) const;
    mutable std::map<std::tuple<QString, int, bool>, std::unique_ptr<QFontMetricsF>> cache_;
};
