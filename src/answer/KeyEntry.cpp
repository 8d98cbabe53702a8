// The answer box: every key goes through here. The handler keeps its own
// canonical answer text, writes it back into the box, and draws a typeset
// preview: a digit after x or y becomes an exponent, a fraction is typed
// denominator first and drawn stacked, and the x term of a line follows its
// fractional slope.
#include "form/Form1.h"

namespace {
// π and ° are taken as they are, so that an answer pasted or typed with
// them ("20π", "240°") reads as the stored one; p gives π too.
constexpr int kPi = 0x03C0;
constexpr int kDegree = 0x00B0;

bool accepted(int key)
{
    return (key >= 43 && key <= 57) || key == 'x' || key == 'y' || key == ';' || key == '='
           || key == 'a' || key == 'b' || key == 'p' || key == '(' || key == ')' || key == kPi
           || key == kDegree;
}

// What an accepted key adds to the answer text.
QString keyText(int key) { return key == 'p' ? QStringLiteral("π") : QString(QChar(char16_t(key))); }

QString trimmed(const QString &s) { return s.trimmed(); }
} // namespace

void Form1::defaultKey(TextBox &box, int key)
{
    // A key the handler lets through edits the box as a plain text box would,
    // at its end.
    if (key == 8) {
        if (!box.Text.isEmpty())
            box.Text.chop(1);
    } else if (key >= 32) {
        box.Text += QChar(char16_t(key));
    }
}

void Form1::showTypedExpr()
{
    Text2.Text = typing.typedExpr;
}

void Form1::drawFractionAndTail(const QString &tail)
{
    typing.previewSign = typing.fracPrefix;
    typing.previewLower = typing.fracLower;
    typing.previewUpper = typing.fracUpper;
    drawTypedFraction();
    typing.previewTop = 200;
    typing.previewTermFlag = 1;
    typing.previewSign = tail;
    typing.previewUpper.clear();
    typing.previewLower.clear();
    drawTypedFraction();
}

void Form1::Text2_KeyPress(int &key)
{
    if (scoreState.answerLocked == 1)
        return; // while locked every key reaches the box as it is
    if (key == 13) {
        judgeTypedAnswer();
        key = 0;
        return;
    }
    if (key == 'Y')
        key = 'y';
    if (key == 'X')
        key = 'x';
    // The figures tell the learner to type P for π.
    if (key == 'P')
        key = 'p';
    if (key == '/' && typing.fractionMode == 1) {
        // A second slash is not handled; let into the box, it would make the
        // box say something the preview and the judge do not.
        key = 0;
        return;
    }
    if (!accepted(key)) {
        keyOutsideTheSet(key);
        return;
    }
    if (key == 'x' || key == 'y')
        typing.letterTyped = 1;
    else if (key == '=' || key == '/')
        typing.letterTyped = 0;

    // A digit (or "." or "/") may finish the key on its own: an exponent, or
    // a digit of the upper part once the x is typed.
    if (key >= 46 && key <= 57 && digitKey(key))
        return;
    if (key != 'x' && key != 'y' && key != '=' && key != '/')
        termKey(key);
    else
        letterInFraction(key);
    if (key == '/')
        slashKey();
    else if (typing.fractionMode == 0)
        typing.typedExpr += keyText(key);
    key = 0; // every accepted key is swallowed
    displayTypedExpr();
}

bool Form1::digitKey(int &key)
{
    const QString k = keyText(key);
    if (typing.fractionMode == 1)
        return fractionDigit(key, k);
    if (typing.letterTyped != 1)
        return false;
    // A digit right after x or y is an exponent.
    typing.typedExpr += u'^' + k;
    Picture3.Cls();
    math.mathText = typing.typedExpr;
    drawMathPicture3();
    showTypedExpr();
    key = 0;
    setFocus(Text2);
    typing.letterTyped = 0;
    return true;
}

bool Form1::fractionDigit(int &key, const QString &k)
{
    Picture3.Cls();
    typing.previewLeft = 40;
    typing.previewTop = 200;
    // The slash has made the text prefix, "/", lower part (a leading minus is
    // the prefix), so the digit goes into the upper part between them.
    if (!typing.typedExpr.contains(u'x')) {
        // The upper part takes every digit typed: 4 / 2 5 is 25/4.
        // (Keeping one digit made answers such as 25/4 untypeable.)
        typing.fracUpper += k;
        typing.previewLower = trimmed(typing.fracLower);
        typing.previewUpper = typing.fracUpper;
        typing.previewSign = typing.fracPrefix;
        typing.typedExpr = typing.fracPrefix + typing.fracUpper + u'/' + typing.fracLower;
        drawTypedFraction();
    } else if (typing.fracTail.isEmpty()) {
        // A digit of the upper part of "y = x / 6": the key is done here.
        typing.fracUpper += k;
        typing.previewUpper += k;
        typing.previewLower = trimmed(typing.fracLower);
        typing.previewSign = typing.fracPrefix;
        typing.typedExpr = typing.fracPrefix + typing.fracUpper + u'/' + typing.fracLower;
        key = 0;
        showTypedExpr();
        drawTypedFraction();
        return true;
    } else {
        // The constant of the x term that follows the fraction.
        const QString tail = typing.fracTail + k;
        drawFractionAndTail(tail);
        typing.fracTail = tail;
        typing.typedExpr += k;
    }
    return false;
}

void Form1::termKey(int key)
{
    typing.letterTyped = 0;
    const bool digit = key >= 46 && key <= 57;
    if (typing.fractionMode == 1 && (typing.typedExpr.endsWith(u'x') || (!digit && typing.fracTail.size() > 1))) {
        // The x term after a fraction: its sign, then its constant. A
        // letter constant ("y=-2/3x+b") is kept as a digit is.
        typing.fracTail = (typing.typedExpr.endsWith(u'x') ? QStringLiteral("x") : typing.fracTail) + keyText(key);
        typing.typedExpr += keyText(key);
        Picture3.Cls();
        typing.previewLeft = 40;
        typing.previewTop = 200;
        drawFractionAndTail(typing.fracTail);
    }
}

void Form1::letterInFraction(int key)
{
    if (typing.fractionMode == 1) {
        typing.letterTyped = 1;
        Picture3.Cls();
        if (key == 'x') {
            // The x after the fraction: the fraction stays where the digits
            // drew it, the x after it. An upper part not typed yet stays an
            // empty place: a 1 there would show y=-1/8x for what the box and
            // the judge read as y=-/8x.
            typing.fracTail = QStringLiteral("x");
            typing.previewLeft = 40;
            typing.previewTop = 200;
            typing.previewSign = typing.fracPrefix;
            typing.previewLower = typing.fracLower;
            typing.previewUpper = typing.fracUpper;
            drawTypedFraction();
            typing.previewTop = 200;
            typing.previewTermFlag = 1;
            typing.previewSign = QStringLiteral("x");
            typing.previewUpper.clear();
            typing.previewLower.clear();
            drawTypedFraction();
            typing.typedExpr += u'x';
        }
    }
    if (key == '=')
        typing.letterTyped = 0;
}

void Form1::slashKey()
{
    typing.fractionMode = 1;
    // A new fraction starts with an empty upper part, whatever an earlier
    // one left.
    typing.fracUpper.clear();
    if (typing.typedExpr.isEmpty()) {
        // Nothing typed yet: no part of an earlier fraction carries over.
        typing.fracPrefix.clear();
        typing.fracLower.clear();
        typing.previewSign.clear();
        return;
    }
    // What was typed so far becomes the lower part, after its prefix.
    Picture3.Cls();
    typing.previewLeft = 40;
    const QString &t = typing.typedExpr;
    if (t.startsWith(u'-')) {
        typing.fracPrefix = QStringLiteral("-");
        typing.fracLower = t.mid(1);
        typing.previewTop = 200;
    } else {
        const int prefix = t.contains(u"y=-"_qs) ? 3 : t.contains(u"y="_qs) ? 2 : 0;
        typing.fracPrefix = t.left(prefix);
        typing.fracLower = t.mid(prefix);
        typing.previewTop = 280;
    }
    typing.previewSign = typing.fracPrefix;
    typing.previewLower = typing.fracLower;
    typing.previewUpper.clear();
    drawTypedFraction();
    // The box reads as the preview does: the fraction with its upper part
    // still empty.
    typing.typedExpr = typing.fracPrefix + u'/' + typing.fracLower;
}

void Form1::displayTypedExpr()
{
    if (typing.typedExpr.contains(u'^')) {
        Picture3.Cls();
        math.mathText = typing.typedExpr;
        drawMathPicture3();
        showTypedExpr();
    } else if (typing.fractionMode == 0) {
        Picture3.Cls();
        Picture3.CurrentX = 0;
        Picture3.CurrentY = 0;
        Picture3.print(typing.typedExpr);
        showTypedExpr();
    }
    if (Text2.Visible)
        setFocus(Text2);
    Text4.Text = run.dataFolder;
    if (Text2.Visible) {
        showTypedExpr();
        setFocus(Text2);
    }
}

void Form1::keyOutsideTheSet(int &key)
{
    if (key == 8) {
        typing.letterTyped = 0;
        if (!typing.typedExpr.isEmpty()) {
            typing.typedExpr.chop(1);
            if (typing.fracPrefix.size() > typing.typedExpr.size())
                typing.fracPrefix = typing.typedExpr;
            // Undoing an exponent removes the whole power: caret and letter.
            if (typing.typedExpr.endsWith(u'^'))
                typing.typedExpr.chop(std::min<qsizetype>(2, typing.typedExpr.size()));
        }
        showTypedExpr();
    }
    if (typing.fractionMode == 0) {
        key = 0;
        displayTypedExpr();
    } else if (!typing.fracTail.isEmpty()) {
        typing.fracTail.chop(1);
        Picture3.Cls();
        typing.previewLeft = 40;
        typing.previewTop = 200;
        drawFractionAndTail(typing.fracTail);
        typing.typedExpr = typing.fracPrefix + typing.fracUpper + u'/' + typing.fracLower + typing.fracTail;
        key = 0;
        displayTypedExpr();
    } else if (key < 58) {
        // The fraction is abandoned: what stood before it is kept, in the
        // box as in the preview.
        Picture3.Cls();
        typing.fracUpper.clear();
        typing.fracLower.clear();
        Picture3.print(typing.fracPrefix);
        typing.fractionMode = 0;
        typing.typedExpr = typing.fracPrefix;
        key = 0;
        showTypedExpr();
    } else {
        // Any other key changes nothing, in the box either.
        key = 0;
    }
}
