// Draws a short expression in textbook form: a prefix (a sign, "y=", or the
// x term after a fraction), then a fraction with its upper part over a bar and
// its lower part under it, with a root sign over a part holding "√".
// Positions are twips in the box; one character counts as 200 twips.
#include "form/Form1.h"

#include "controls/Convert.h"

#include <algorithm>
#include <cmath>

namespace {

// A root sign over the characters after "√": a short rising stroke before
// them and a line over them.
void drawRadical(Canvas &c, double textLeft, int rootIndex, int charsAfter, double y, int32_t color)
{
    const double root = textLeft + (rootIndex - 1) * 200.0;
    const double end = root + 200.0 + charsAfter * 200.0;
    c.line(root, y + 150, root + 60, y + 230, color);
    c.line(root + 60, y + 230, root + 140, y, color);
    c.line(root + 140, y, end, y, color);
}

} // namespace

void Form1::drawFraction(Canvas &c, int plainUpperOffset, bool typed, int w)
{
    const QString U = typing.previewUpper;
    const QString L = typing.previewLower;
    const int X0 = typing.previewLeft;
    const int Y0 = typing.previewTop;
    const int T = typing.previewTermFlag;

    // The prefix, tidied: "-0" is "-", "0" nothing.
    QString S = typing.previewSign;
    if (S == u"0")
        S.clear();
    else if (S == u"-0" || S == u"+0" || S == u"=0")
        S.chop(1);
    typing.previewSign = S;
    c.CurrentX = X0 + 40;
    c.CurrentY = Y0 + 300;
    c.print(S, true);
    const int p = int(std::lround(c.CurrentX - X0));

    c.CurrentX = T == 1 ? X0 + p - 140 : X0 + p + 100;
    c.CurrentY = L == u"0" ? Y0 + 300 : Y0 + 10;
    drawUpperPart(c, p + plainUpperOffset, (L == u"0" ? 290 : 0) + Y0 + 10, T == 1 ? 255 : 0);
    if (L != u"0")
        drawBarAndLowerPart(c, p, typed ? 500 : Y0, w, T == 1 ? 255 : 0);
}

void Form1::drawUpperPart(Canvas &c, double plainNumberX, double radicalY, int32_t radicalColor)
{
    const QString &U = typing.previewUpper;
    const int root = int(U.indexOf(u'√')) + 1;
    if (root > 0) {
        // A root: the text, and the sign over the characters after "√".
        const double left = c.CurrentX;
        c.print(U, true);
        drawRadical(c, left, root, int(U.size()) - root, radicalY, radicalColor);
    } else if (!U.isEmpty() && (U.contains(u'x') || U.contains(u'×') || U.contains(u'+') || U.contains(u'-'))) {
        c.print(U, true);
    } else if (!U.isEmpty()) {
        // A plain number, without its sign (the sign is the prefix's).
        c.CurrentY = 50;
        c.CurrentX = plainNumberX;
        c.printNumber(std::abs(conv::numericPrefix(U)), true);
    }
}

void Form1::drawBarAndLowerPart(Canvas &c, int p, int top, int w, int32_t radicalColor)
{
    const int termFlag = typing.previewTermFlag;
    const QString &U = typing.previewUpper;
    const QString &L = typing.previewLower;
    typing.previewTop = int16_t(top);
    // The bar spans the wider part: a two-digit upper part over a one-digit
    // lower part would otherwise stand past its end.
    const QString u = U.startsWith(u'-') ? U.mid(1) : U;
    const double barEnd = p + std::max(L.size(), u.size()) * w + 140;
    // The x term after a fraction comes with an empty lower part: it has no
    // fraction, and a bar would stand under "y=" like a minus sign. A
    // fraction with a part still empty has its bar, with an empty place over
    // or under it, as the box shows "3/" or "y=/".
    if (!L.isEmpty() || termFlag == 0)
        c.line(p + 50, top + 450, barEnd, top + 450, 0);
    c.CurrentX = p + L.size() * 80 + 100;
    c.CurrentY = top + 500;
    const double lowerLeft = c.CurrentX;
    c.print(L, true);
    const int lowerRoot = int(L.indexOf(u'√')) + 1;
    if (lowerRoot > 0)
        drawRadical(c, lowerLeft, lowerRoot, int(L.size()) - lowerRoot, top + 530, radicalColor);
    typing.previewTermFlag = 0;
    typing.previewLeft = conv::toInt16(barEnd);
}

void Form1::drawTypedFraction() { drawFraction(Picture3, -100, true, 580); }

void Form1::drawAnswerFraction() { drawFraction(Picture4, 50, false, 300); }

void Form1::drawAnswerPieces(Canvas &c, const QString &sign, const QString &upper, const QString &lower,
                             const QString &tail)
{
    typing.previewLeft = 0;
    typing.previewTop = 0;
    typing.previewSign = sign;
    typing.previewUpper = upper;
    typing.previewLower = lower;
    drawFraction(c, 50, false, 300);
    c.CurrentX = typing.previewLeft;
    c.CurrentY = typing.previewTop + 240;
    c.print(tail);
}
