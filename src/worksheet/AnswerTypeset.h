#pragma once
// Stored answers set as a teacher writes them on paper: "y=-2/3x+4" with the
// 2 over the 3 and a bar between, "x^2" with the 2 raised. The text is drawn
// as real text, so a PDF keeps every character searchable.
#include <QFont>
#include <QPainter>
#include <QString>

#include <vector>

namespace worksheet {

struct MathPiece {
    enum Kind { Text, Fraction, Power };
    Kind kind = Text;
    QString text;  // the plain text, the numerator, or the exponent
    QString lower; // the denominator of a fraction
    bool operator==(const MathPiece &) const = default;
};

// Cuts an answer into plain runs, fractions and exponents. A fraction is the
// run of digits or letters just before a "/" over the digits after it (or,
// with no digits there, the one letter: "6/x"); an exponent is the digits
// after a "^" (or the one character there). A "/" or "^" with nothing to
// stand on stays plain text.
std::vector<MathPiece> parseMath(const QString &answer);

// The keys a learner presses for an answer, as the answer box takes them: a
// fraction denominator first ("y=-5/2x" is typed y=-2/5x), an exponent as the
// digit after its letter ("x^2" is x2), π as P.
QString typedKeys(const QString &answer);

// True when the set form differs from the plain text (a fraction or a power).
bool isTypeset(const std::vector<MathPiece> &pieces);

struct MathBox {
    double width = 0;
    double ascent = 0;  // above the baseline
    double descent = 0; // below the baseline
};

// The size of the pieces set in this font, in the font's pixel units.
MathBox measureMath(const std::vector<MathPiece> &pieces, const QFont &font);

// Draws the pieces with the baseline starting at the given point, in the
// painter's current pen colour.
void drawMath(QPainter &painter, QPointF baseline, const std::vector<MathPiece> &pieces, const QFont &font);

} // namespace worksheet
