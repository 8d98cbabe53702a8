#pragma once
#include <QString>

// Size of printed text in twips, so a picture box can move its print position
// after each item. The program measures with the real font; unit tests use the
// fixed-width stand-in below so their expectations do not depend on fonts.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual double widthTwips(const QString &text, const QString &fontName, double sizePt,
                              bool bold) const = 0;
    virtual double heightTwips(const QString &fontName, double sizePt, bool bold) const = 0;
};

// Every half-width character is half an em wide, every full-width one a whole
// em; a line is 1.2 em high.
class FixedMetrics : public TextMetrics {
public:
    double widthTwips(const QString &text, const QString &, double sizePt, bool) const override
    {
        double w = 0;
        for (QChar c : text)
            w += (c.unicode() < 0x0100 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F)) ? 0.5 : 1.0;
        return w * sizePt * 20.0;
    }
    double heightTwips(const QString &, double sizePt, bool) const override { return sizePt * 24.0; }
};
