// The explanation shown after a wrong drawing of a line given in general
// form ("3x-5y-15=0"): move the x term and the number to the other side,
// divide by the coefficient of y, and read off the slope-intercept form.
#include "form/Form1.h"

#include "controls/Convert.h"

#include <numeric>

namespace {

struct Side {
    long x = 0, y = 0, c = 0;
};

// "3x" → 3, "-x" → -1, "+y" → 1.
long coefficient(const QString &term, QChar letter)
{
    const QString head = term.left(term.indexOf(letter)).trimmed();
    if (head.isEmpty() || head == u"+")
        return 1;
    if (head == u"-")
        return -1;
    return conv::toInt16(conv::numericPrefix(head));
}

// A fraction in lowest terms with the sign on the numerator: "3/5", "-2", "4/3".
QString fraction(long num, long den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const long g = std::gcd(num, den);
    if (g > 1) {
        num /= g;
        den /= g;
    }
    return den == 1 ? QString::number(num) : QString::number(num) + u'/' + QString::number(den);
}

// "y=" followed by the slope and "x", then the intercept with its sign.
QString slopeIntercept(long xNum, long cNum, long den)
{
    QString s;
    const QString slope = fraction(xNum, den);
    if (xNum != 0) {
        if (slope == u"1")
            s = QStringLiteral("y=x");
        else if (slope == u"-1")
            s = QStringLiteral("y=-x");
        else if (slope.startsWith(u'-'))
            s = QStringLiteral("y=-") + slope.mid(1) + u'x';
        else
            s = QStringLiteral("y=") + slope + u'x';
    } else {
        s = QStringLiteral("y=");
    }
    if (cNum != 0 || xNum == 0) {
        const QString c = fraction(cNum, den);
        if (xNum == 0)
            s += c;
        else
            s += c.startsWith(u'-') ? c : QStringLiteral("+") + c;
    }
    return s;
}

QString term(long coef, const QString &letter, bool first)
{
    if (coef == 0)
        return QString();
    QString s;
    if (coef == 1)
        s = letter;
    else if (coef == -1)
        s = u'-' + letter;
    else
        s = QString::number(coef) + letter;
    if (!first && coef > 0)
        s.prepend(u'+');
    return s;
}

} // namespace

void Form1::explainStandardForm()
{
    for (int i = 1; i <= 4; ++i) {
        eq.equationTerms[i].clear();
        eq.explainLines[i].clear();
    }
    run.equationText = eq.standardEquation;
    splitTerms();
    const int used = eq.equationTerms[4].isEmpty() ? 3 : 4;

    // Terms before the one that starts with "=" stand on the left side.
    Side left, right;
    bool onRight = false;
    bool sawY = false;
    for (int i = 1; i <= used; ++i) {
        QString t = eq.equationTerms[i];
        if (t.isEmpty())
            continue;
        if (t.startsWith(u'=')) {
            onRight = true;
            t.remove(0, 1);
        }
        Side &side = onRight ? right : left;
        if (t.contains(u'y')) {
            side.y += coefficient(t, u'y');
            sawY = true;
        } else if (t.contains(u'x')) {
            side.x += coefficient(t, u'x');
        } else {
            side.c += conv::toInt16(conv::numericPrefix(t));
        }
    }
    const long by = left.y - right.y;
    const long ax = right.x - left.x;
    const long c = right.c - left.c;
    if (!onRight || !sawY || by == 0)
        return; // not a general-form equation of a line

    QString moved = term(by, QStringLiteral("y"), true) + u'=' + term(ax, QStringLiteral("x"), true);
    if (c != 0 || ax == 0)
        moved += (ax == 0 ? QString::number(c) : (c > 0 ? u"+"_qs : QString()) + QString::number(c));
    eq.explainLines[1] = QStringLiteral("xと数を右へ移項して ") + moved;
    if (by != 1) {
        eq.explainLines[2] = QStringLiteral("両辺を") + QString::number(by) + QStringLiteral("でわると");
        eq.explainLines[3] = slopeIntercept(ax, c, by);
    } else {
        eq.explainLines[2] = slopeIntercept(ax, c, 1);
    }
}
