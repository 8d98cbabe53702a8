// The answer box: how keys become the canonical answer text and its typeset
// preview, in each typing state, through the form and through the real box.
#include "TestForm.h"

#include "ui/MainWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace {

// Each character is one key press; '\b' is Backspace and '\r' Enter.
void type(Form1 &f, const QString &keys)
{
    for (QChar c : keys)
        f.typeKey(c.unicode());
}

// A started form showing a question that is answered by typing.
Form1 &ready(TestForm &t)
{
    Form1 &f = t.start();
    f.menuClick(u"nagasa"_qs);
    EXPECT_TRUE(f.Text2.Visible);
    EXPECT_TRUE(f.Text2.Text.isEmpty());
    return f;
}

const CanvasOp *printOp(const Canvas &c, const QString &text)
{
    for (const CanvasOp &op : c.ops())
        if (op.kind == CanvasOp::Print && op.text == text)
            return &op;
    return nullptr;
}

std::vector<const CanvasOp *> lines(const Canvas &c)
{
    std::vector<const CanvasOp *> out;
    for (const CanvasOp &op : c.ops())
        if (op.kind == CanvasOp::Line)
            out.push_back(&op);
    return out;
}

// The box shows the handler's text.
void expectShown(const Form1 &f, const QString &text)
{
    EXPECT_EQ(f.typing.typedExpr.toStdString(), text.toStdString());
    EXPECT_EQ(f.Text2.Text.toStdString(), text.toStdString());
}

} // namespace

TEST(KeyEntry, LettersDigitsAndPowers)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"X"_qs);
    expectShown(f, u"x"_qs);
    EXPECT_EQ(f.typing.letterTyped, 1);

    // A digit right after x is an exponent: x, then a smaller 2 on the same
    // line, starting where the x ends.
    type(f, u"2"_qs);
    expectShown(f, u"x^2"_qs);
    EXPECT_EQ(f.typing.letterTyped, 0);
    ASSERT_EQ(TestForm::printed(f.Picture3), (QStringList{u"x"_qs, u"2"_qs}));
    const CanvasOp &x = f.Picture3.ops()[0], &two = f.Picture3.ops()[1];
    EXPECT_EQ(x.fontSize, 48);
    EXPECT_EQ(two.fontSize, 20);
    EXPECT_DOUBLE_EQ(two.y1, x.y1);
    EXPECT_DOUBLE_EQ(two.x1, x.x1 + t.metrics.widthTwips(u"x"_qs, x.fontName, 48, false));

    // Backspace takes the whole power back.
    type(f, u"\b"_qs);
    expectShown(f, QString());
    EXPECT_TRUE(TestForm::printed(f.Picture3).isEmpty());

    // ... and only the power: what stood before the letter stays.
    type(f, u"2Y3"_qs);
    expectShown(f, u"2y^3"_qs);
    type(f, u"\b"_qs);
    expectShown(f, u"2"_qs);

    // Only the key right after the letter is raised.
    type(f, u"x23p"_qs);
    expectShown(f, u"2x^23π"_qs);
    EXPECT_EQ(f.Text4.Text, f.run.dataFolder);
}

TEST(KeyEntry, KeysOutsideTheSetAreSwallowedInThePlainState)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"(3,-2)"_qs);
    expectShown(f, u"(3,-2)"_qs);
    for (char16_t key : {u'q', u'!', u' ', u'Z', u'ａ', u'３', u'あ', u'\x1b', u'\t'}) {
        f.typeKey(key);
        expectShown(f, u"(3,-2)"_qs);
        EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"(3,-2)"_qs});
    }
}

TEST(KeyEntry, FractionsAreTypedDenominatorFirst)
{
    TestForm t;
    Form1 &f = ready(t);
    // Each digit after the slash replaces the one-digit upper part.
    type(f, u"4/1"_qs);
    expectShown(f, u"1/4"_qs);
    type(f, u"2"_qs);
    expectShown(f, u"2/4"_qs);
    EXPECT_EQ(f.typing.fractionMode, 1);
    EXPECT_EQ(f.typing.fracLower, u"4"_qs);
    EXPECT_EQ(f.typing.fracUpper, u"2"_qs);

    // Drawn stacked: the upper part above the bar, the lower part below it.
    const auto bars = lines(f.Picture3);
    ASSERT_EQ(bars.size(), 1u);
    const CanvasOp *upper = printOp(f.Picture3, u" 2 "_qs);
    const CanvasOp *lower = printOp(f.Picture3, u"4"_qs);
    ASSERT_TRUE(upper && lower);
    EXPECT_DOUBLE_EQ(bars[0]->y1, bars[0]->y2);
    EXPECT_LT(upper->y1, bars[0]->y1);
    EXPECT_GT(lower->y1, bars[0]->y1);
    EXPECT_GT(lower->x1, bars[0]->x1);
    EXPECT_LT(lower->x1, bars[0]->x2);

    // A second slash is not handled: it reaches the box, the text stays.
    type(f, u"/"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"2/4"_qs);
    EXPECT_EQ(f.Text2.Text, u"2/4/"_qs);
    // The next handled key writes the handler's text back.
    type(f, u"3"_qs);
    expectShown(f, u"3/4"_qs);
}

TEST(KeyEntry, SlashIntoAnEmptyBoxOnlyStartsTheFraction)
{
    TestForm t;
    Form1 &f = ready(t);
    // A fraction on the question before.
    type(f, u"y=4/3\r"_qs);
    f.buttonClick(u"Command3"_qs);

    type(f, u"/"_qs);
    expectShown(f, QString());
    EXPECT_EQ(f.typing.fractionMode, 1);
    EXPECT_TRUE(f.Picture3.ops().empty());
    // Nothing of the earlier fraction comes back with the next digit.
    type(f, u"5"_qs);
    expectShown(f, u"5/"_qs);
}

TEST(KeyEntry, LineEquationWithFractionalSlope)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"y=4/3"_qs);
    expectShown(f, u"y=3/4"_qs);
    EXPECT_EQ(f.typing.fracPrefix, u"y="_qs);
    EXPECT_EQ(f.typing.fracLower, u"4"_qs);
    const CanvasOp prefix = *printOp(f.Picture3, u"y="_qs);
    const CanvasOp bar = *lines(f.Picture3).at(0);
    EXPECT_LT(prefix.x1, bar.x1);

    // The x term follows the fraction; the fraction keeps its place.
    type(f, u"x"_qs);
    expectShown(f, u"y=3/4x"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x"_qs);
    const auto samePlace = [&f, &prefix, &bar] {
        const CanvasOp *p = printOp(f.Picture3, u"y="_qs);
        ASSERT_NE(p, nullptr);
        EXPECT_DOUBLE_EQ(p->x1, prefix.x1);
        EXPECT_DOUBLE_EQ(p->y1, prefix.y1);
        const auto bars = lines(f.Picture3);
        ASSERT_FALSE(bars.empty());
        EXPECT_DOUBLE_EQ(bars[0]->x1, bar.x1);
        EXPECT_DOUBLE_EQ(bars[0]->x2, bar.x2);
    };
    samePlace();
    const CanvasOp *x = printOp(f.Picture3, u"x"_qs);
    ASSERT_NE(x, nullptr);
    EXPECT_DOUBLE_EQ(x->x1, bar.x2 + 40);

    type(f, u"+"_qs);
    expectShown(f, u"y=3/4x+"_qs);
    samePlace();
    type(f, u"1"_qs);
    expectShown(f, u"y=3/4x+1"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x+1"_qs);
    samePlace();
    const CanvasOp *term = printOp(f.Picture3, u"x+1"_qs);
    ASSERT_NE(term, nullptr);
    EXPECT_DOUBLE_EQ(term->x1, bar.x2 + 40);
    EXPECT_TRUE(printOp(f.Picture3, u" 3 "_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"4"_qs));
}

TEST(KeyEntry, SignsBeforeTheFraction)
{
    {
        // As the help text teaches: y = - 3 / 2 x - 4.
        TestForm t;
        Form1 &f = ready(t);
        type(f, u"y=-3/2x-4"_qs);
        expectShown(f, u"y=-2/3x-4"_qs);
        EXPECT_EQ(f.typing.fracPrefix, u"y=-"_qs);
        EXPECT_EQ(f.typing.fracTail, u"x-4"_qs);
        EXPECT_TRUE(printOp(f.Picture3, u"y=-"_qs));
        EXPECT_TRUE(printOp(f.Picture3, u"x-4"_qs));
    }
    {
        TestForm t;
        Form1 &f = ready(t);
        type(f, u"-3/4"_qs);
        expectShown(f, u"-4/3"_qs);
        EXPECT_EQ(f.typing.previewSign, u"-"_qs);
        EXPECT_TRUE(printOp(f.Picture3, u"-"_qs));
        EXPECT_TRUE(printOp(f.Picture3, u" 4 "_qs));
        EXPECT_TRUE(printOp(f.Picture3, u"3"_qs));
        // A further digit replaces the upper part, as without the sign.
        type(f, u"5"_qs);
        expectShown(f, u"-5/3"_qs);
        // The x term and its constant keep the sign and the fraction whole.
        type(f, u"x+1"_qs);
        expectShown(f, u"-5/3x+1"_qs);
        EXPECT_TRUE(printOp(f.Picture3, u"-"_qs));
        EXPECT_TRUE(printOp(f.Picture3, u" 5 "_qs));
        type(f, u"\b"_qs);
        expectShown(f, u"-5/3x+"_qs);
    }
}

TEST(KeyEntry, BackspaceInTheFractionState)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"y=4/3x+1"_qs);
    // With a tail, Backspace shortens the tail and keeps the fraction.
    type(f, u"\b"_qs);
    expectShown(f, u"y=3/4x+"_qs);
    EXPECT_EQ(f.typing.fracTail, u"x+"_qs);
    type(f, u"\b\b"_qs);
    expectShown(f, u"y=3/4"_qs);
    EXPECT_TRUE(f.typing.fracTail.isEmpty());
    EXPECT_EQ(f.typing.fractionMode, 1);
    // The fraction is open again: a digit replaces its upper part.
    type(f, u"2"_qs);
    expectShown(f, u"y=2/4"_qs);
    EXPECT_TRUE(printOp(f.Picture3, u"y="_qs));

    // With an empty tail the fraction is abandoned: what stood before it is
    // kept, and the key itself reaches the box.
    type(f, u"\b"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y="_qs);
    EXPECT_EQ(f.typing.fractionMode, 0);
    EXPECT_TRUE(f.typing.fracUpper.isEmpty());
    EXPECT_TRUE(f.typing.fracLower.isEmpty());
    EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"y="_qs});
    EXPECT_EQ(f.Text2.Text, u"y=2"_qs);
    // Typing on starts from the kept prefix, and the box follows again.
    type(f, u"2x"_qs);
    expectShown(f, u"y=2x"_qs);
}

TEST(KeyEntry, OtherKeysInTheFractionState)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"y=4/3x-2"_qs);
    // Any key outside the set takes back a character of the tail.
    type(f, u"q"_qs);
    expectShown(f, u"y=3/4x-"_qs);
    type(f, u"!!"_qs);
    expectShown(f, u"y=3/4"_qs);
    // With the tail empty, a letter reaches the box and changes nothing ...
    type(f, u"q"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=3/4"_qs);
    EXPECT_EQ(f.Text2.Text, u"y=3/4q"_qs);
    EXPECT_EQ(f.typing.fractionMode, 1);
    // ... and a control key or sign outside the set abandons the fraction.
    type(f, u"!"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y="_qs);
    EXPECT_EQ(f.typing.fractionMode, 0);
}

TEST(KeyEntry, LockedBoxTakesKeysAsTheyCome)
{
    TestForm t;
    Form1 &f = ready(t);
    type(f, u"99\r"_qs);
    ASSERT_EQ(f.scoreState.answerLocked, 1);
    const QString expr = f.typing.typedExpr;
    const int16_t question = f.bank.mondaiNo;
    const QStringList sounds = t.sounds;

    type(f, u"X/4p"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4p"_qs);
    type(f, u"\b"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4"_qs);
    type(f, u"\r"_qs);
    EXPECT_EQ(f.Text2.Text, u"X/4"_qs);
    EXPECT_EQ(f.typing.typedExpr, expr);
    EXPECT_EQ(f.typing.fractionMode, 0);
    EXPECT_EQ(f.bank.mondaiNo, question);
    EXPECT_EQ(t.sounds, sounds);
    EXPECT_EQ(f.scoreState.answerLocked, 1);

    f.buttonClick(u"Command3"_qs);
    type(f, u"7"_qs);
    expectShown(f, u"7"_qs);
}

namespace {

// The keys that type a stored answer, where the box can take it: fractions
// lower part first, "π" as p, and a power without its caret.
QString keysFor(const QString &answer)
{
    QString a = answer;
    a.remove(u'^');
    a.replace(u'π', u'p');
    const int slash = a.indexOf(u'/');
    if (slash < 0)
        return a;
    QString prefix;
    for (const char16_t *p : {u"y=-", u"y=", u"-"})
        if (a.startsWith(QString::fromUtf16(p))) {
            prefix = QString::fromUtf16(p);
            break;
        }
    const QString upper = a.mid(prefix.size(), slash - prefix.size());
    int end = slash + 1;
    while (end < a.size() && a[end].isDigit())
        ++end;
    return prefix + a.mid(slash + 1, end - slash - 1) + u'/' + upper + a.mid(end);
}

// Counts of keys handled in each typing state.
struct StateVisits {
    int plain = 0, exponent = 0, fraction = 0, fractionTail = 0, locked = 0;
    void note(const Form1 &f)
    {
        if (f.scoreState.answerLocked == 1)
            ++locked;
        else if (f.typing.fractionMode == 1)
            ++(f.typing.fracTail.isEmpty() ? fraction : fractionTail);
        else if (f.typing.letterTyped == 1)
            ++exponent;
        else
            ++plain;
    }
};

// What holds after any key, whatever was typed before.
::testing::AssertionResult saneState(const Form1 &f)
{
    const auto fail = [&f](const char *what) {
        return ::testing::AssertionFailure()
               << what << " (typedExpr " << f.typing.typedExpr.toStdString() << ", fracPrefix "
               << f.typing.fracPrefix.toStdString() << ", mondaiNo " << f.bank.mondaiNo << ")";
    };
    if (f.bank.mondaiNo < 0 || f.bank.mondaiNo > 200 || f.bank.mondaiNo > f.bank.mondaiCount + 1)
        return fail("question number outside the draw order");
    if (f.scoreState.missCount < 0 || f.scoreState.missCount >= int(f.scoreState.missedMondai.size()))
        return fail("miss count outside the miss lists");
    if ((f.typing.fractionMode != 0 && f.typing.fractionMode != 1)
        || (f.typing.letterTyped != 0 && f.typing.letterTyped != 1))
        return fail("typing flags other than 0 and 1");
    if (f.run.categoryActive == 0)
        return ::testing::AssertionSuccess(); // the run is over: nothing more is typed
    // The canonical text holds at most one fraction, after its prefix.
    if (f.typing.typedExpr.count(u'/') > 1)
        return fail("more than one fraction");
    if (f.typing.fractionMode == 1 && !f.typing.typedExpr.startsWith(f.typing.fracPrefix))
        return fail("fraction without its prefix");
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(KeyEntry, RandomKeysKeepTheStateWithinItsBounds)
{
    const std::vector<char16_t> keySet = {
        u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u'x', u'X', u'y', u'Y', u'=',
        u'/', u'/', u'-', u'+', u'.', u',', u'p', u'(', u')', u'a', u'b', u';', 8, 8, 8, 8,
        u'q', u'!', u' ', u'Z', u'ａ', u'３', u'あ', 27, 13};
    constexpr int kKeysPerSet = 1500;
    StateVisits visits;
    int right = 0, wrong = 0;
    unsigned seed = 1;
    for (const QString &set : {u"nagasa"_qs, u"thahyou2"_qs, u"graread2"_qs, u"gra2write"_qs}) {
        std::mt19937 rng(seed++);
        std::uniform_int_distribution<std::size_t> pick(0, keySet.size() - 1);
        std::uniform_int_distribution<int> percent(0, 99);
        int n = 0;
        while (n < kKeysPerSet) {
            // A fresh program for each run of the set: once a run has ended
            // the learner can only close the window.
            TestForm t;
            Form1 &f = t.start();
            ASSERT_TRUE(f.menuClick(set));
            QString recent; // the keys of this run, for a failure message
            // One key as the box delivers it; returns whether the handler
            // swallowed it.
            const auto press = [&f, &visits, &recent](char16_t key) {
                visits.note(f);
                recent += key == 8 ? QChar(u'←') : key == 13 ? QChar(u'⏎') : key < 32 ? QChar(u'·') : QChar(key);
                int code = key;
                f.Text2_KeyPress(code);
                if (code == 8 && !f.Text2.Text.isEmpty())
                    f.Text2.Text.chop(1);
                else if (code >= 32)
                    f.Text2.Text += QChar(char16_t(code));
                return code == 0;
            };
            for (; n < kKeysPerSet && f.run.categoryActive == 1; ++n) {
                SCOPED_TRACE(set.toStdString() + " step " + std::to_string(n) + " after "
                             + recent.right(40).toStdString());
                if (f.scoreState.answerLocked == 1 && percent(rng) < 20) {
                    ++wrong;
                    f.buttonClick(u"Command3"_qs);
                } else if (f.scoreState.answerLocked == 0 && percent(rng) < 3) {
                    ASSERT_TRUE(f.Text2.Visible);
                    // Clear the box and type the expected answer.
                    for (int i = 0; i < 80 && !(f.typing.typedExpr.isEmpty() && f.typing.fractionMode == 0); ++i)
                        press(8);
                    const int16_t before = f.scoreState.correctCount;
                    for (QChar c : keysFor(f.expectedAnswer()))
                        press(c.unicode());
                    press(13);
                    right += f.scoreState.correctCount - before;
                } else {
                    ASSERT_TRUE(f.Text2.Visible);
                    const char16_t key = keySet[pick(rng)];
                    const bool swallowed = press(key);
                    if (swallowed && key != 13) {
                        ASSERT_EQ(f.Text2.Text.toStdString(), f.typing.typedExpr.toStdString());
                    }
                }
                ASSERT_TRUE(saneState(f));
            }
        }
    }
    // The walk went through every typing state and both verdicts.
    EXPECT_GT(visits.plain, 100);
    EXPECT_GT(visits.exponent, 50);
    EXPECT_GT(visits.fraction, 100);
    EXPECT_GT(visits.fractionTail, 50);
    EXPECT_GT(visits.locked, 50);
    EXPECT_GT(right, 20);
    EXPECT_GT(wrong, 20);
}

TEST(AnswerBoxWidget, KeysPasteAndInputMethodGoThroughTheHandler)
{
    TestForm t;
    Form1 &f = t.make();
    MainWindow w(f, 1.0);
    w.dispatch([&f] { f.Form_Load(); });
    w.show();
    w.dispatch([&f] { f.menuClick(u"nagasa"_qs); });
    QLineEdit *box = w.answerBox();
    ASSERT_TRUE(box->isVisible());

    QTest::keyClicks(box, u"y=4/3X"_qs);
    EXPECT_EQ(box->text(), u"y=3/4x"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=3/4x"_qs);
    EXPECT_FALSE(lines(f.Picture3).empty());
    EXPECT_TRUE(printOp(f.Picture3, u"y="_qs));
    EXPECT_TRUE(printOp(f.Picture3, u"x"_qs));

    // The caret keys cannot edit behind the handler's back.
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), u"y=3/4"_qs);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(f.typing.typedExpr, u"y="_qs);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier); // select all: ignored
    QTest::keyClicks(box, u"2x"_qs);
    EXPECT_EQ(box->text(), u"y=2x"_qs);
    QTest::keyClicks(box, u"\b\b\b\b"_qs);
    EXPECT_EQ(box->text(), QString());

    // A paste is fed through the handler one character at a time, made
    // half-width, without its line end.
    QGuiApplication::clipboard()->setText(u"ｙ＝３\n"_qs);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), u"y=3"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=3"_qs);
    EXPECT_EQ(TestForm::printed(f.Picture3), QStringList{u"y=3"_qs});

    // An input method's commit arrives half-width too.
    QInputMethodEvent commit;
    commit.setCommitString(u"３"_qs);
    QCoreApplication::sendEvent(box, &commit);
    EXPECT_EQ(box->text(), u"y=33"_qs);
    EXPECT_EQ(f.typing.typedExpr, u"y=33"_qs);
    QInputMethodEvent preedit(u"ｘ"_qs, {});
    QCoreApplication::sendEvent(box, &preedit);
    EXPECT_EQ(box->text(), u"y=33"_qs);

    // Enter judges: a wrong answer locks the box and shows the panels.
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(f.scoreState.answerLocked, 1);
    EXPECT_EQ(box->text(), QString());
    EXPECT_TRUE(w.controlWidget(u"Command3"_qs)->isVisible());
    EXPECT_EQ(t.sounds, QStringList{u"SD05.wav"_qs});
}
