// Text with powers written with a caret (5-(-3)^2): each exponent is printed
// in a smaller font right after its base, at the same top, so it stands
// raised.
#include "form/Form1.h"

namespace {

QString trimBlanks(const QString &s)
{
    int a = 0, b = int(s.size());
    while (a < b && s[a] == u' ')
        ++a;
    while (b > a && s[b - 1] == u' ')
        --b;
    return s.mid(a, b - a);
}

} // namespace

void Form1::drawMath(Canvas &box, double large, double small, bool setLargeFirst)
{
    QString s = math.mathText;
    // A coefficient 1 is not shown: 1x^2 is drawn as x^2, but 12 keeps its 1.
    if (s.startsWith(u'1') && !(s.size() > 1 && s[1].isDigit() && s[1].unicode() < 128))
        s.remove(0, 1);

    int carets[4] = {0, 0, 0, 0}; // 1-based positions, 0 when absent
    int from = 0;
    int count = 0;
    for (int j = 0; j < 4; ++j) {
        const int at = s.indexOf(u'^', from);
        if (at < 0)
            break;
        carets[j] = at + 1;
        from = at + 1;
        ++count;
    }

    struct Piece {
        QString text;
        bool small;
    };
    std::vector<Piece> pieces;
    if (count == 0) {
        pieces.push_back({s, false});
    } else {
        pieces.push_back({trimBlanks(s.left(carets[0] - 1)), false});
        const int shown = std::min(count, 3);
        for (int j = 0; j < shown; ++j) {
            const int c = carets[j]; // caret at c, exponent at c + 1
            pieces.push_back({trimBlanks(s.mid(c, 1)), true});
            if (j + 1 < count) {
                const int next = carets[j + 1];
                pieces.push_back({trimBlanks(s.mid(c + 1, std::max(0, next - c - 2))), false});
            } else {
                pieces.push_back({trimBlanks(s.mid(c + 1)), false});
            }
        }
        if (count >= 4)
            pieces.push_back({trimBlanks(s.mid(carets[3])), true});
    }

    if (setLargeFirst)
        box.FontSize = large;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const bool last = i + 1 == pieces.size();
        if (i > 0) {
            if (pieces[i].small)
                box.FontName = QStringLiteral("ＭＳ Ｐゴシック");
            box.FontSize = pieces[i].small ? small : large;
        }
        box.print(pieces[i].text, !last || math.mathSameLine == 1);
    }
    math.mathSameLine = 0;
}

void Form1::drawMathCanvas() { drawMath(Picture6, 48, 20, false); }
void Form1::drawMathPicture3() { drawMath(Picture3, 48, 20, false); }
void Form1::drawMathPicture5() { drawMath(Picture5, 20, 10, true); }
void Form1::drawMathPicture4() { drawMath(Picture4, 18, 8, true); }
