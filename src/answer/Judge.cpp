// Enter in the answer box: the typed answer is compared with the stored one,
// exactly, character for character. A right answer moves on at once; a wrong
// one locks the box, shows the correct answer beside the learner's and
// explains it on the figure.
#include "form/Form1.h"

#include "answer/AnswerForm.h"
#include "controls/Convert.h"
#include "graph/Points.h"

void Form1::typeKey(int key)
{
    int code = key;
    Text2_KeyPress(code);
    if (code != 0 && code != 13)
        defaultKey(Text2, code);
}

QString Form1::expectedAnswer()
{
    const QString &q = currentQuestion();
    const QString &k = currentAnswer();
    if (q.contains(u'□') || q.contains(u"三角形OAD"_qs))
        return k;
    if (!q.contains(u"座標を求め"_qs))
        return k;
    // A point answer "(x,y)": the question may ask for one coordinate.
    QString expected;
    const points::PointParts parts = points::partsOf(k);
    bool matched = false;
    if (q.contains(u"x座標を求め"_qs)) {
        expected = parts.x;
        matched = true;
    }
    if (q.contains(u"y座標を求め"_qs)) {
        expected = parts.y;
        matched = true;
    }
    if (q.contains(u"の座標を求め"_qs)) {
        expected = k;
        matched = true;
    }
    if (matched)
        keepAnswerCoordinates(k);
    return expected;
}

void Form1::keepAnswerCoordinates(const QString &k)
{
    const points::PointParts parts = points::partsOf(k);
    scoreState.answerX = conv::textToInt16(parts.x);
    scoreState.answerY = conv::textToInt16(parts.y);
}

void Form1::judgeTypedAnswer()
{
    if (Text2.Text.isEmpty())
        return;
    // Past the last question of a finished set there is nothing to judge; a
    // miss there would lead on to questions beyond the set.
    if (currentAnswer().isEmpty())
        return;
    setFocus(Text2);
    const QString expected = expectedAnswer();
    // An angle may be typed without its degree sign: 240 for "240°".
    const bool angle = expected.endsWith(u'°') && Text2.Text + u'°' == expected;
    const bool right = Text2.Text == expected || angle
                       || (!graph.clickAnswer.isEmpty() && graph.clickAnswer == expected);
    if (right) {
        answerRight();
        return;
    }
    // Right in value, not yet in form: the learner is told what to change
    // and answers again, with nothing counted and nothing heard.
    const QString hint = answerform::hintFor(Text2.Text, expected);
    if (!hint.isEmpty()) {
        Picture3.Cls();
        Picture3.print(hint);
        return;
    }
    answerWrong(currentQuestion(), currentAnswer());
}

void Form1::answerRight()
{
    typing.typedExpr.clear();
    typing.fracUpper.clear();
    countRightAnswer();
    nextQuestion();
}

void Form1::answerWrong(const QString &q, const QString &k)
{
    startMiss();
    Picture4.Visible = true;
    Picture5.Visible = true;
    Label12.Visible = true;
    Label13.Visible = true;
    scoreState.answerLocked = 1;
    Command3.Visible = true;
    // The miss lists hold 100 entries; later misses share the last one.
    const int slot = std::clamp<int>(scoreState.missCount, 0, 100);
    scoreState.missedMondai[slot] = q;
    scoreState.missedKotae[slot] = k;
    Label4.Caption = QString::number(scoreState.missCount);

    showCorrectAnswer(q, k);

    // The learner's answer as the preview showed it: powers raised, a
    // fraction stacked (beside the correct answer set the same way).
    const QString typed = Text2.Text;
    Picture5.Cls();
    if (typed.contains(u'^')) {
        math.mathText = typed;
        math.mathSameLine = 1;
        drawMathPicture5();
        Picture5.print(QStringLiteral("  "));
    } else if (typing.fractionMode == 1 && typed == typing.typedExpr) {
        drawAnswerPieces(Picture5, typing.fracPrefix, typing.fracUpper, typing.fracLower, typing.fracTail);
    } else {
        Picture5.print(typed);
    }
    Text2.Text.clear();
    explainWrongAnswer();
}

void Form1::showCorrectAnswer(const QString &q, const QString &k)
{
    Picture4.Cls();
    if (q.contains(u'^')) {
        // The question, an equals sign and the answer: a power and its value.
        math.mathText = q;
        math.mathSameLine = 1;
        drawMathPicture4();
        Picture4.print(QStringLiteral(" = "), true);
        math.mathText = k;
        drawMathPicture4();
        return;
    }
    Picture4.CurrentX = 0;
    Picture4.CurrentY = 0;
    if (k.contains(u'/')) {
        showCorrectFraction(k);
        return;
    }
    if (k.contains(u',')) {
        for (const char16_t *word : {u"x座標を求め", u"y座標を求め", u"の座標を求め", u"x座標を", u"y座標を"}) {
            if (q.contains(QString::fromUtf16(word))) {
                keepAnswerCoordinates(k);
                break;
            }
        }
        // A question for one coordinate shows that coordinate, the value the
        // answer was compared with; the point follows in smaller print.
        const QString asked = expectedAnswer();
        if (!asked.isEmpty() && asked != k) {
            Picture4.print(asked, true);
            const double size = Picture4.FontSize;
            // Smaller, on the same line as the value (a point is 20 twips).
            Picture4.FontSize = size * 0.6;
            Picture4.CurrentY += (size - Picture4.FontSize) * 20 * 0.75;
            const QString which = q.contains(u"x座標を求め"_qs) && !q.contains(u"y座標を求め"_qs) ? u"x"_qs : u"y"_qs;
            Picture4.print(u"　点"_qs + k + u"の"_qs + which + u"座標"_qs);
            Picture4.FontSize = size;
            return;
        }
    }
    Picture4.print(k);
}

void Form1::showCorrectFraction(const QString &k)
{
    QString prefix, upper, lower, tail;
    if (k.contains(u'x')) {
        // A line with a fractional slope: its sign or "y=", the slope's
        // parts, and the x term with its intercept after the fraction.
        eq.lineText = k;
        parseLineEquation();
        if (eq.intercept == 0)
            tail = QStringLiteral("x");
        else if (eq.intercept > 0)
            tail = QStringLiteral("x+") + eq.interceptText.trimmed();
        else
            tail = u'x' + eq.interceptText.trimmed();
        upper = eq.slopeNumText.trimmed();
        if (upper.startsWith(u'-'))
            upper.remove(0, 1);
        lower = eq.slopeDenText.trimmed();
        if (k.contains(u"/x"_qs)) {
            lower = QStringLiteral("x");
            tail.clear();
        }
        if (k.contains(u"y=-"_qs))
            prefix = k.left(3);
        else if (k.contains(u"y="_qs))
            prefix = k.left(2);
    } else {
        // A plain fraction such as "-9/2" is drawn stacked with its sign in
        // front; read as a line equation it would come out garbled.
        const qsizetype slash = k.indexOf(u'/');
        upper = k.left(slash);
        lower = k.mid(slash + 1);
        if (upper.startsWith(u'-')) {
            prefix = QStringLiteral("-");
            upper.remove(0, 1);
        }
    }
    drawAnswerPieces(Picture4, prefix, upper, lower, tail);
}
