#include "worksheet/AnswerTypeset.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace worksheet {

namespace {

bool digit(QChar c) { return (c >= u'0' && c <= u'9') || c == u'.'; }
bool latinLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool operand(QChar c) { return digit(c) || latinLetter(c) || c == u'π'; }

// The run of characters from i on that satisfy the test.
qsizetype runEnd(const QString &s, qsizetype i, bool (*test)(QChar))
{
    while (i < s.size() && test(s[i]))
        ++i;
    return i;
}

void flush(std::vector<MathPiece> &out, QString &text)
{
    if (!text.isEmpty())
        out.push_back({MathPiece::Text, text, {}});
    text.clear();
}

// The denominator after the "/" at i: digits, or else one letter ("6/x").
qsizetype denominatorEnd(const QString &s, qsizetype i)
{
    const qsizetype digits = runEnd(s, i + 1, digit);
    if (digits > i + 1)
        return digits;
    return i + 1 < s.size() && latinLetter(s[i + 1]) ? i + 2 : i + 1;
}

QFont scaled(const QFont &font, double factor)
{
    QFont f = font;
    f.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * factor))));
    return f;
}

QFont fractionFont(const QFont &f) { return scaled(f, 0.85); }
QFont powerFont(const QFont &f) { return scaled(f, 0.6); }

double capHeight(const QFontMetricsF &fm)
{
    const double cap = fm.capHeight();
    return cap > 0 ? cap : fm.ascent() * 0.7;
}

// Where a fraction's bar and its two lines stand, relative to the baseline
// (negative is up).
struct FractionGeometry {
    double bar, barWidth, numBase, denBase, padding;
};

FractionGeometry fractionGeometry(const QFont &font)
{
    const QFontMetricsF fm(font), sub(fractionFont(font));
    const double em = font.pixelSize();
    FractionGeometry g;
    g.bar = -capHeight(fm) * 0.5;
    g.barWidth = std::max(1.0, em * 0.05);
    g.numBase = g.bar - em * 0.16;
    g.denBase = g.bar + em * 0.16 + capHeight(sub);
    g.padding = em * 0.14;
    return g;
}

double raise(const QFont &font) { return capHeight(QFontMetricsF(font)) * 0.55; }

} // namespace

std::vector<MathPiece> parseMath(const QString &s)
{
    std::vector<MathPiece> out;
    QString text;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'/') {
            qsizetype start = text.size();
            while (start > 0 && operand(text[start - 1]))
                --start;
            const qsizetype end = denominatorEnd(s, i);
            if (start < text.size() && end > i + 1) {
                const QString upper = text.mid(start);
                text.truncate(start);
                flush(out, text);
                out.push_back({MathPiece::Fraction, upper, s.mid(i + 1, end - i - 1)});
                i = end;
                continue;
            }
        } else if (c == u'^' && i + 1 < s.size()) {
            qsizetype end = runEnd(s, i + 1, digit);
            if (end == i + 1)
                end = i + 2;
            flush(out, text);
            out.push_back({MathPiece::Power, s.mid(i + 1, end - i - 1), {}});
            i = end;
            continue;
        }
        text += c;
        ++i;
    }
    flush(out, text);
    return out;
}

QString typedKeys(const QString &answer)
{
    QString keys;
    for (const MathPiece &p : parseMath(answer)) {
        switch (p.kind) {
        case MathPiece::Text:
            keys += p.text;
            break;
        case MathPiece::Fraction:
            keys += p.lower + u'/' + p.text;
            break;
        case MathPiece::Power:
            keys += p.text;
            break;
        }
    }
    keys.replace(u'π', u'P');
    return keys;
}

bool isTypeset(const std::vector<MathPiece> &pieces)
{
    return std::any_of(pieces.begin(), pieces.end(), [](const MathPiece &p) { return p.kind != MathPiece::Text; });
}

MathBox measureMath(const std::vector<MathPiece> &pieces, const QFont &font)
{
    const QFontMetricsF fm(font), sub(fractionFont(font)), sup(powerFont(font));
    MathBox box;
    box.ascent = fm.ascent();
    box.descent = fm.descent();
    for (const MathPiece &p : pieces) {
        switch (p.kind) {
        case MathPiece::Text:
            box.width += fm.horizontalAdvance(p.text);
            break;
        case MathPiece::Fraction: {
            const FractionGeometry g = fractionGeometry(font);
            box.width += std::max(sub.horizontalAdvance(p.text), sub.horizontalAdvance(p.lower)) + 2 * g.padding;
            box.ascent = std::max(box.ascent, -g.numBase + sub.ascent());
            box.descent = std::max(box.descent, g.denBase + sub.descent());
            break;
        }
        case MathPiece::Power:
            box.width += sup.horizontalAdvance(p.text);
            box.ascent = std::max(box.ascent, raise(font) + sup.ascent());
            break;
        }
    }
    return box;
}

void drawMath(QPainter &painter, QPointF at, const std::vector<MathPiece> &pieces, const QFont &font)
{
    const QFont subFont = fractionFont(font), supFont = powerFont(font);
    const QFontMetricsF fm(font), sub(subFont), sup(supFont);
    double x = at.x();
    for (const MathPiece &p : pieces) {
        switch (p.kind) {
        case MathPiece::Text:
            painter.setFont(font);
            painter.drawText(QPointF(x, at.y()), p.text);
            x += fm.horizontalAdvance(p.text);
            break;
        case MathPiece::Fraction: {
            const FractionGeometry g = fractionGeometry(font);
            const double upper = sub.horizontalAdvance(p.text), lower = sub.horizontalAdvance(p.lower);
            const double w = std::max(upper, lower) + 2 * g.padding;
            painter.setFont(subFont);
            painter.drawText(QPointF(x + (w - upper) / 2, at.y() + g.numBase), p.text);
            painter.drawText(QPointF(x + (w - lower) / 2, at.y() + g.denBase), p.lower);
            painter.fillRect(QRectF(x + g.padding * 0.4, at.y() + g.bar - g.barWidth / 2, w - g.padding * 0.8, g.barWidth),
                             painter.pen().color());
            x += w;
            break;
        }
        case MathPiece::Power:
            painter.setFont(supFont);
            painter.drawText(QPointF(x, at.y() - raise(font)), p.text);
            x += sup.horizontalAdvance(p.text);
            break;
        }
    }
}

} // namespace worksheet
