#pragma once
#include "controls/TextMetrics.h"

#include <QFontMetricsF>

#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>

// Text sizes measured with the real fonts, in twips.
class QtTextMetrics : public TextMetrics {
public:
    double widthTwips(const QString &text, const QString &fontName, double sizePt,
                      bool bold) const override;
    double heightTwips(const QString &fontName, double sizePt, bool bold) const override;

private:
    const QFontMetricsF &metrics(const QString &fontName, double sizePt, bool bold) const;
    struct Font {
        std::unique_ptr<QFontMetricsF> metrics;
        // Widths of texts measured in it: a figure prints the same few
        // texts again at every change, and the plane changes at every
        // pointer move while the learner draws.
        std::unordered_map<QString, double> widths;
    };
    Font &font(const QString &fontName, double sizePt, bool bold) const;
    mutable std::map<std::tuple<QString, int, bool>, Font> cache_;
};
